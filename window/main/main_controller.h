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

class AboutBox;
class EntryReportBox;
class AlertBox;
class ErrorBox;
class FixDialog;
class FixListModel;
class ChartWindow;
class HelpWindow;
class OperandDialog;
class MainWindow;
class SoundTable;
class Workbench;

// The web page of the program, opened by "Navorix &Web Page" in the
// system's browser: the address given at build time (the CMake cache
// variable NAVORIX_WEB_PAGE); without one the command shows the help's
// home page.
#ifndef NAVORIX_WEB_PAGE
#define NAVORIX_WEB_PAGE ""
#endif
inline constexpr const char* WebPageAddress = NAVORIX_WEB_PAGE;

class MainController : public QObject,
                       private FixPanelObserver,
                       private LogObserver,
                       private OptionsObserver,
                       private NextFixObserver,
                       private MessageObserver,
                       private ChartObserver {
  Q_OBJECT

 public:
  // Builds the windows around bench. The sounds are read from shareDir's
  // "wav" folder, the help from helpFile.
  MainController(Workbench& bench, const QString& shareDir, const QString& helpFile);
  ~MainController() override;

  // Shows the main window (the about box as a splash over it for a
  // second), loads the status and gives the fix list the focus.
  void start();

  MainWindow& window() { return *window_; }
  FixDialog& fixDialog() { return *fixDialog_; }
  OperandDialog& operandDialog() { return *operandDialog_; }
  AlertBox& questionBox() { return *alertBox_; }
  ErrorBox& errorBox() { return *errorBox_; }
  SoundTable& sounds() { return *sounds_; }
  // The box of an import's report; null before the first import.
  EntryReportBox* entryReportBox() { return reportBox_.get(); }
  HelpWindow* help() { return help_.get(); }
  // The chart window; none before it was first opened.
  ChartWindow* chart() { return chart_.get(); }
  // F2 and "&View" -> "&Chart": opens the chart, or closes it when open.
  void toggleChart();

  // The keys of the main window, seen before the focused control; true
  // when the key was used up.
  bool keyDown(int key, Qt::KeyboardModifiers modifiers);
  bool keyPress(const QString& text, Qt::KeyboardModifiers modifiers);

  // The exit question and status saving; true when the window may close.
  bool mayClose();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The observers.
  void FixPanelChanged(const FixPanelState& panel) override;
  void LogShown(const LogDisplayState& display) override;
  void OptionsChanged(const ProgramSettings& settings) override;
  void NextFixChanged(bool enabled) override;
  void ShowError(const std::string& message) override;
  void ShowReport(const std::vector<std::string>& lines) override;
  void ShowEntryReport(const std::vector<std::string>& lines) override;
  void PlaySound(Sound sound, bool wait) override;
  Answer Ask(const std::string& question, Buttons buttons) override;
  void ChartChanged() override;

  void connectFixList();
  void connectButtons();
  void connectMenu();
  void focusFixList();
  // Add and Edit: the fix input dialog, centred on the fix list's frame.
  void editFix(bool addButton);
  void runOperation(int tag);
  void showHelp(const QString& topic);
  // True to act on a workbench question: not empty, and answered Yes when
  // askFirst.
  bool mayGoOn(const std::string& question, bool askFirst);
  void deleteLogRecord(bool askFirst);
  void deleteFix(bool askFirst);
  void loadFixFile();
  void saveFixFile();
  void hideSearch();
  // Fixes of other programs (window/exchange_commands.cpp): the File and
  // Help commands, and Ctrl+C, Ctrl+Shift+C and Ctrl+V, true when Key was
  // one of them.
  void importFixes();
  void exportFixes();
  void appendSampleFixes();
  bool clipboardKey(int key, Qt::KeyboardModifiers modifiers);

  Workbench& bench_;
  QString helpFile_;
  std::unique_ptr<SoundTable> sounds_;
  std::unique_ptr<ErrorBox> errorBox_;
  std::unique_ptr<AlertBox> alertBox_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<FixListModel> model_;
  std::unique_ptr<OperandDialog> operandDialog_;
  std::unique_ptr<FixDialog> fixDialog_;
  std::unique_ptr<AboutBox> about_;
  std::unique_ptr<HelpWindow> help_;
  QString shareDir_;
  std::unique_ptr<ChartWindow> chart_;
  std::unique_ptr<EntryReportBox> reportBox_;
  QString sampleFixes_;
  bool selecting_ = false;  // the view is being moved to the workbench's row
  bool started_ = false;
};

}  // namespace navorix
