// The window program's wiring: the main window, its two dialogs, the boxes,
// the sounds and the help window around one workbench. It turns keys,
// clicks and menu commands into workbench calls and shows what the
// workbench announces; every rule of the program lives in the workbench.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

#include "workbench/observers.h"

class QEvent;
class QModelIndex;

namespace navorix {

class TAboutBox;
class TEntryReportBox;
class TAlertBox;
class TErrBox;
class TFixInp;
class TFixListModel;
class TChartWindow;
class THelpWindow;
class TInPan;
class TMainWindow;
class TSoundTable;
class TWorkbench;

// The web page of the program, opened by "Navorix &Web Page" in the
// system's browser: the address given at build time (the CMake cache
// variable NAVORIX_WEB_PAGE); without one the command shows the help's
// home page.
#ifndef NAVORIX_WEB_PAGE
#define NAVORIX_WEB_PAGE ""
#endif
inline constexpr const char* WebPageAddress = NAVORIX_WEB_PAGE;

class TMainController : public QObject,
                        private TFixPanelObserver,
                        private TLogObserver,
                        private TOptionsObserver,
                        private TNextFixObserver,
                        private TMessageObserver,
                        private TChartObserver {
  Q_OBJECT

 public:
  // Builds the windows around Bench. The sounds are read from ShareDir's
  // "wav" folder, the help from HelpFile.
  TMainController(TWorkbench& Bench, const QString& ShareDir, const QString& HelpFile);
  ~TMainController() override;

  // Shows the main window (the about box as a splash over it for a
  // second), loads the status and gives the fix list the focus.
  void Start();

  TMainWindow& Window() { return *window_; }
  TFixInp& FixDialog() { return *fixDialog_; }
  TInPan& OperandDialog() { return *operandDialog_; }
  TAlertBox& QuestionBox() { return *alertBox_; }
  TErrBox& ErrorBox() { return *errorBox_; }
  TSoundTable& Sounds() { return *sounds_; }
  // The box of an import's report; null before the first import.
  TEntryReportBox* EntryReportBox() { return reportBox_.get(); }
  THelpWindow* Help() { return help_.get(); }
  // The chart window; none before it was first opened.
  TChartWindow* Chart() { return chart_.get(); }
  // F2 and "&View" -> "&Chart": opens the chart, or closes it when open.
  void ToggleChart();

  // The keys of the main window, seen before the focused control; true
  // when the key was used up.
  bool KeyDown(int Key, Qt::KeyboardModifiers Modifiers);
  bool KeyPress(const QString& Text, Qt::KeyboardModifiers Modifiers);

  // The exit question and status saving; true when the window may close.
  bool MayClose();

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  // The observers.
  void FixPanelChanged(const TFixPanel& Panel) override;
  void LogShown(const TLogDisplay& Display) override;
  void OptionsChanged(const TSettings& Settings) override;
  void NextFixChanged(bool Enabled) override;
  void ShowError(const std::string& Message) override;
  void ShowReport(const std::vector<std::string>& Lines) override;
  void ShowEntryReport(const std::vector<std::string>& Lines) override;
  void PlaySound(TSound Sound, bool Wait) override;
  TAnswer Ask(const std::string& Question, TButtons Buttons) override;
  void ChartChanged() override;

  void ConnectFixList();
  void ConnectButtons();
  void ConnectMenu();
  void FocusFixList();
  // Add and Edit: the fix input dialog, centred on the fix list's frame.
  void EditFix(bool AddButton);
  void RunOperation(int Tag);
  void ShowHelp(const QString& Topic);
  // True to act on a workbench question: not empty, and answered Yes when
  // AskFirst.
  bool MayGoOn(const std::string& Question, bool AskFirst);
  void DeleteLogRecord(bool AskFirst);
  void DeleteFix(bool AskFirst);
  void LoadFixFile();
  void SaveFixFile();
  void HideSearch();
  // Fixes of other programs (window/exchange_commands.cpp): the File and
  // Help commands, and Ctrl+C, Ctrl+Shift+C and Ctrl+V, true when Key was
  // one of them.
  void ImportFixes();
  void ExportFixes();
  void AppendSampleFixes();
  bool ClipboardKey(int Key, Qt::KeyboardModifiers Modifiers);

  TWorkbench& bench_;
  QString helpFile_;
  std::unique_ptr<TSoundTable> sounds_;
  std::unique_ptr<TErrBox> errorBox_;
  std::unique_ptr<TAlertBox> alertBox_;
  std::unique_ptr<TMainWindow> window_;
  std::unique_ptr<TFixListModel> model_;
  std::unique_ptr<TInPan> operandDialog_;
  std::unique_ptr<TFixInp> fixDialog_;
  std::unique_ptr<TAboutBox> about_;
  std::unique_ptr<THelpWindow> help_;
  QString shareDir_;
  std::unique_ptr<TChartWindow> chart_;
  std::unique_ptr<TEntryReportBox> reportBox_;
  QString sampleFixes_;
  bool selecting_ = false;  // the view is being moved to the workbench's row
  bool started_ = false;
};

}  // namespace navorix
