#include "window/main/main_controller.h"

#include "stores/app_data.h"
#include "stores/load_report.h"
#include "window/dialogs/about_box.h"
#include "window/boxes/alert_box.h"
#include "window/chart/chart_window.h"
#include "window/boxes/error_box.h"
#include "window/exchange/exchange_commands.h"
#include "window/dialogs/fix_file_dialog.h"
#include "window/dialogs/fix_dialog.h"
#include "window/main/fix_list_model.h"
#include "window/look/fonts.h"
#include "window/dialogs/help_window.h"
#include "window/dialogs/operand_dialog.h"
#include "window/main/main_window.h"
#include "window/look/qt_placement.h"
#include "window/look/qt_text.h"
#include "window/sound/sound_table.h"
#include "workbench/texts.h"
#include "workbench/workbench.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace navorix {

namespace {

constexpr int SplashMs = 1000;
constexpr const char* MainPanelTopic = "Main_Panel";
constexpr const char* WelcomeTopic = "Welcome";

bool Shift(Qt::KeyboardModifiers Modifiers) { return (Modifiers & Qt::ShiftModifier) != 0; }

// The modifiers a key may carry and still be the plain or the shifted key.
bool PlainOrShift(Qt::KeyboardModifiers Modifiers) {
  return (Modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
}

}  // namespace

TMainController::TMainController(TWorkbench& Bench, const QString& ShareDir,
                                 const QString& HelpFile)
    : bench_(Bench),
      helpFile_(HelpFile),
      shareDir_(ShareDir),
      sampleFixes_(ShareDir + QLatin1String(SampleFixesFile)) {
  // Sounds and boxes first, as the windows that use them come after.
  sounds_ = std::make_unique<TSoundTable>();
  LoadStandardSounds(*sounds_, ShareDir);
  errorBox_ = std::make_unique<TErrBox>();
  errorBox_->Set_Font(QString::fromLatin1(ErrorFontFamily));
  alertBox_ = std::make_unique<TAlertBox>();

  window_ = std::make_unique<TMainWindow>();
  // Every box belongs to the main window: the window manager keeps it above
  // that window and never shows or hides it apart from it.
  errorBox_->setParent(window_.get(), errorBox_->windowFlags());
  alertBox_->setParent(window_.get(), alertBox_->windowFlags());
  model_ = std::make_unique<TFixListModel>(Bench);
  operandDialog_ = std::make_unique<TInPan>(window_.get());
  fixDialog_ = std::make_unique<TFixInp>(window_.get());
  operandDialog_->Attach(Bench, *window_->Controls().xListPan);
  errorBox_->SetSound(sounds_.get(), SoundSlot(TSound::Error));
  alertBox_->SetSound(sounds_.get(), SoundSlot(TSound::Question));

  TObservers observers;
  observers.FixList = model_.get();
  observers.FixPanel = this;
  observers.Log = this;
  observers.Options = this;
  observers.NextFix = this;
  observers.Messages = this;
  observers.Chart = this;
  Bench.Attach(observers);

  ConnectFixList();
  ConnectButtons();
  ConnectMenu();
  // The window previews every key before the focused control. The
  // application's filter sees the main window's own events too (its close
  // request among them); a second filter on the window would see each of
  // them again and ask the exit question twice.
  qApp->installEventFilter(this);

  FixPanelChanged(Bench.FixPanel());
  LogShown(Bench.LogDisplay());
  OptionsChanged(Bench.Settings());
  NextFixChanged(Bench.NextFixEnabled());
}

TMainController::~TMainController() {
  qApp->removeEventFilter(this);
  // The help window closes with the program.
  if (help_) help_->close();
  if (chart_) chart_->close();
  // The boxes go before the main window, which would delete its children.
  alertBox_.reset();
  errorBox_.reset();
}

void TMainController::ChartChanged() {
  if (chart_ && chart_->isVisible()) chart_->Refresh();
}

void TMainController::ToggleChart() {
  if (chart_ && chart_->isVisible()) {
    chart_->close();
    window_->activateWindow();
    return;
  }
  if (!chart_) {
    chart_ = std::make_unique<TChartWindow>(bench_, LoadChartLand(shareDir_));
    connect(chart_.get(), &TChartWindow::ToggleRequested, this, &TMainController::ToggleChart);
    // Opened for the first time: beside the main window, not over it.
    if (!bench_.Settings().Chart.Placed) PlaceBeside(*chart_, *window_);
  }
  chart_->Refresh();
  chart_->show();
  chart_->raise();
  chart_->activateWindow();
}

void TMainController::Start() {
  about_ = std::make_unique<TAboutBox>(QString::fromLatin1(VersionText));
  about_->ShowSplash();
  window_->show();
  window_->raise();
  window_->activateWindow();
  about_->CloseAfter(SplashMs);
  started_ = true;
  const QSize size = window_->size();
  bench_.LoadStatus();
  // The menu font of the settings may have changed the window's height.
  if (window_->size() != size) CentreOnScreen(*window_);
  FocusFixList();
}

// ---------------------------------------------------------------- observers

void TMainController::FixPanelChanged(const TFixPanel& Panel) {
  const TMainControls& c = window_->Controls();
  c.xNoFix->setText(ToQString(Panel.Counter));
  c.xUp->setEnabled(Panel.Buttons.Up);
  c.xDown->setEnabled(Panel.Buttons.Down);
  c.xDelete->setEnabled(Panel.Buttons.Delete);
  c.xEdit->setEnabled(Panel.Buttons.Edit);
  c.xUndel->setEnabled(Panel.Buttons.Undelete);
}

void TMainController::LogShown(const TLogDisplay& Display) {
  const TMainControls& c = window_->Controls();
  c.xOut[0]->setText(ToQString(Display.Line1));
  c.xOut[1]->setText(ToQString(Display.Line2));
  c.xOut[2]->setText(ToQString(Display.Line3));
  c.xLinePan->setText(ToQString(Display.Number));
  c.xLineUp->setEnabled(Display.PreviousEnabled);
  c.xLineDown->setEnabled(Display.NextEnabled);
}

void TMainController::OptionsChanged(const TSettings& Settings) {
  window_->Menu().ShowSettings(Settings);
  window_->SetHintsShown(Settings.Interface.Hints);
  window_->SetMenuFontSize(Settings.Interface.MenuFontSize);
  window_->SetPropFontSize(Settings.Interface.PropFontSize);
  fixDialog_->SetPropFontSize(Settings.Interface.PropFontSize);
  operandDialog_->SetPropFontSize(Settings.Interface.PropFontSize);
  alertBox_->SetPropFontSize(Settings.Interface.PropFontSize);
  sounds_->SetSoundOn(Settings.Interface.Sound);
}

void TMainController::NextFixChanged(bool Enabled) {
  window_->OperationButton(TOpTag::NextFix)->setEnabled(Enabled);
}

// A message the box would cut (a long file name in it) ends in "..." where
// it is cut, so that nobody takes the rest for the whole.
void TMainController::ShowError(const std::string& Message) {
  errorBox_->Show_Text(FitMessage(Message));
}

void TMainController::ShowReport(const std::vector<std::string>& Lines) {
  std::vector<std::string> fitted;
  for (const std::string& line : Lines) fitted.push_back(FitMessage(line));
  errorBox_->Show_Lines(fitted);
}

void TMainController::PlaySound(TSound Sound, bool Wait) {
  sounds_->PlaySnd(SoundSlot(Sound), Wait);
}

TAnswer TMainController::Ask(const std::string& Question, TButtons Buttons) {
  return alertBox_->Ask(Question, Buttons == TButtons::YesNoCancel ? 3 : 2);
}

// ------------------------------------------------------------ the fix list

void TMainController::ConnectFixList() {
  QListView* list = window_->Controls().xList;
  list->setModel(model_.get());
  // The workbench's current row is the list's selected row, both ways.
  connect(model_.get(), &TFixListModel::CurrentRowMoved, this, [this, list](int Row) {
    selecting_ = true;
    list->setCurrentIndex(model_->index(Row));
    list->scrollTo(model_->index(Row));
    selecting_ = false;
  });
  // A reset of the model (loading, sorting, a new format) forgets the
  // selection; the workbench's row is selected again.
  connect(model_.get(), &QAbstractItemModel::modelReset, this, [this, list] {
    selecting_ = true;
    list->setCurrentIndex(model_->index(bench_.CurrentRow()));
    selecting_ = false;
  });
  connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& Current) {
            if (!selecting_ && Current.isValid()) bench_.SelectRow(Current.row());
          });
  connect(list, &QListView::clicked, this,
          [this](const QModelIndex& Index) { bench_.SelectRow(Index.row()); });
  connect(list, &QListView::doubleClicked, this, [this] { EditFix(false); });
  list->setCurrentIndex(model_->index(bench_.CurrentRow()));
  connect(window_->Controls().xTimer, &QTimer::timeout, this, &TMainController::HideSearch);
}

void TMainController::FocusFixList() { window_->Controls().xList->setFocus(Qt::OtherFocusReason); }

void TMainController::HideSearch() { window_->Controls().xSearch->hide(); }

void TMainController::EditFix(bool AddButton) {
  FocusFixList();
  CentreOnControl(*fixDialog_, *window_->Controls().xListPan);
  fixDialog_->EditFix(bench_, AddButton);
  FocusFixList();
}

bool TMainController::MayGoOn(const std::string& Question, bool AskFirst) {
  // An empty question: nothing to act on (the blank row, an empty log).
  if (Question.empty()) return false;
  return !AskFirst || Ask(Question, TButtons::YesNo) == TAnswer::Yes;
}

void TMainController::DeleteFix(bool AskFirst) {
  if (MayGoOn(bench_.DeleteFixQuestion(), AskFirst)) bench_.DeleteFix();
}

void TMainController::DeleteLogRecord(bool AskFirst) {
  if (MayGoOn(bench_.DeleteRecordQuestion(), AskFirst)) bench_.DeleteShownRecord();
}

// ------------------------------------------------------------------ buttons

void TMainController::ConnectButtons() {
  const TMainControls& c = window_->Controls();
  connect(c.xAdd, &QPushButton::clicked, this, [this] { EditFix(true); });
  connect(c.xEdit, &QPushButton::clicked, this, [this] { EditFix(false); });
  // The Delete button deletes without a question; the question is the Del
  // key's.
  connect(c.xDelete, &QPushButton::clicked, this, [this] {
    FocusFixList();
    bench_.DeleteFix();
  });
  connect(c.xUndel, &QPushButton::clicked, this, [this] {
    FocusFixList();
    bench_.UndeleteFix();
  });
  connect(c.xUp, &QPushButton::clicked, this, [this] {
    bench_.MoveFixUp();
    FocusFixList();
  });
  connect(c.xDown, &QPushButton::clicked, this, [this] {
    bench_.MoveFixDown();
    FocusFixList();
  });
  connect(c.xLineUp, &QPushButton::clicked, this, [this] {
    FocusFixList();
    bench_.ShowPreviousRecord();
  });
  connect(c.xLineDown, &QPushButton::clicked, this, [this] {
    FocusFixList();
    bench_.ShowNextRecord();
  });
  for (QPushButton* button : c.OpButtons) {
    const int tag = button->property("tag").toInt();
    connect(button, &QPushButton::clicked, this, [this, tag] { RunOperation(tag); });
  }
}

void TMainController::RunOperation(int Tag) {
  FocusFixList();
  if (FindOperation(static_cast<std::uint8_t>(Tag)) == nullptr) return;
  bench_.RunOperation(static_cast<TOpTag>(Tag), *operandDialog_);
  FocusFixList();
}

// --------------------------------------------------------------------- menu

void TMainController::ConnectMenu() {
  const TMainMenu& m = window_->Menu();
  connect(m.mReload, &QAction::triggered, this, [this] {
    const std::string question = bench_.ReloadStatusQuestion();
    if (!question.empty() && Ask(question, TButtons::YesNo) != TAnswer::Yes) return;
    bench_.LoadStatus();
    FocusFixList();
  });
  connect(m.mSaveStat, &QAction::triggered, this, [this] { bench_.SaveStatus(); });
  connect(m.mLoad, &QAction::triggered, this, &TMainController::LoadFixFile);
  connect(m.mSave, &QAction::triggered, this, &TMainController::SaveFixFile);
  connect(m.mImport, &QAction::triggered, this, &TMainController::ImportFixes);
  connect(m.mExport, &QAction::triggered, this, &TMainController::ExportFixes);
  connect(m.mExit, &QAction::triggered, window_.get(), &QWidget::close);
  connect(m.mChart, &QAction::triggered, this, &TMainController::ToggleChart);

  connect(m.mDelRec, &QAction::triggered, this, [this] { DeleteLogRecord(false); });
  connect(m.mClrLog, &QAction::triggered, this, [this] {
    if (MayGoOn(bench_.ClearLogQuestion(), true)) bench_.ClearLog();
  });
  connect(m.mClrFix, &QAction::triggered, this, [this] {
    if (MayGoOn(bench_.ClearFixesQuestion(), true)) bench_.ClearFixes();
  });
  connect(m.mClear, &QAction::triggered, this, [this] {
    if (MayGoOn(bench_.ClearAllQuestion(), true)) bench_.ClearAll();
  });

  for (QAction* sort : {m.mSortName, m.mSortSuffix, m.mSortDist}) {
    connect(sort, &QAction::triggered, this, [this, sort] {
      bench_.SortFixes(static_cast<TSortOrder>(sort->data().toInt()));
      FocusFixList();
    });
  }

  for (const TDisplayOptionInfo& info : DisplayOptionTable) {
    connect(m.OptionMenus[Index(info.Option)].Group, &QActionGroup::triggered, this,
            [this, option = info.Option](QAction* A) {
              bench_.SetDisplayOption(option, A->data().toInt());
            });
  }
  // The switches invert the workbench's value; the check marks then follow
  // the settings, whatever Qt did to them on the click.
  connect(m.mEllArc, &QAction::triggered, this, [this] { bench_.ToggleEllipticArc(); });
  connect(m.mGeodesic, &QAction::triggered, this, [this] { bench_.ToggleGeoDistance(); });
  connect(m.mEllip, &QAction::triggered, this, [this] { bench_.ToggleEllipticLat(); });
  connect(m.moHints, &QAction::triggered, this,
          [this] { bench_.SetHints(!bench_.Settings().Interface.Hints); });
  connect(m.moSound, &QAction::triggered, this,
          [this] { bench_.SetSound(!bench_.Settings().Interface.Sound); });

  connect(m.mHelp, &QAction::triggered, this, [this] { ShowHelp(QLatin1String(WelcomeTopic)); });
  connect(m.xWeb, &QAction::triggered, this, [this] {
    if (*WebPageAddress == '\0') {
      ShowHelp(QLatin1String(WelcomeTopic));
    } else if (!QDesktopServices::openUrl(QUrl(QString::fromUtf8(WebPageAddress)))) {
      errorBox_->Show_Text("Cannot open the web page in a browser");
    }
  });
  connect(m.mSamples, &QAction::triggered, this, &TMainController::AppendSampleFixes);
  connect(m.mAbout, &QAction::triggered, this, [this] {
    TAboutBox about(QString::fromLatin1(VersionText), window_.get());
    about.ShowModal();
  });
}

void TMainController::ShowHelp(const QString& Topic) {
  if (!help_) help_ = std::make_unique<THelpWindow>(helpFile_);
  // The help window shows itself at the topic.
  if (!help_->ShowTopic(Topic)) {
    errorBox_->Show_Text("Cannot read the help file " +
                         FromQString(QFileInfo(helpFile_).fileName()));
  }
}

void TMainController::LoadFixFile() {
  const QString dir = ToQString(bench_.Paths().DataDir);
  const QString name = AskFixFileName(window_.get(), dir, TFileDialogMode::Open);
  if (name.isEmpty()) return;
  bool clearFirst = false;
  if (bench_.Fixes().Count() != 0) {
    const TAnswer answer = Ask(question::ClearBeforeLoading, TButtons::YesNoCancel);
    if (answer == TAnswer::Cancel) return;
    clearFirst = answer == TAnswer::Yes;
  }
  bench_.LoadFixFile(FromQString(name), clearFirst);
  FocusFixList();
}

void TMainController::SaveFixFile() {
  const QString dir = ToQString(bench_.Paths().DataDir);
  // The dialog comes back after a No to the overwrite question.
  for (;;) {
    const QString name = AskFixFileName(window_.get(), dir, TFileDialogMode::Save);
    if (name.isEmpty()) return;
    if (QFileInfo::exists(name)) {
      const TAnswer answer = Ask(question::Overwrite, TButtons::YesNoCancel);
      if (answer == TAnswer::Cancel) return;
      if (answer == TAnswer::No) continue;
    }
    bench_.SaveFixFile(FromQString(name));
    return;
  }
}

bool TMainController::MayClose() {
  switch (Ask(question::Exit, TButtons::YesNoCancel)) {
    case TAnswer::Yes:
      return bench_.SaveStatusToLeave();
    case TAnswer::No:
      return true;
    case TAnswer::Cancel:
      return false;
  }
  return false;
}

// --------------------------------------------------------------------- keys

bool TMainController::KeyDown(int Key, Qt::KeyboardModifiers Modifiers) {
  const bool shift = Shift(Modifiers);
  switch (Key) {
    case Qt::Key_Backspace:
      DeleteLogRecord(!shift);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      EditFix(shift || bench_.Fixes().Count() == 0);
      return true;
    case Qt::Key_Escape:
      HideSearch();
      return false;
    case Qt::Key_Left:
      FocusFixList();
      bench_.ShowPreviousRecord();
      return true;
    case Qt::Key_Right:
      FocusFixList();
      bench_.ShowNextRecord();
      return true;
    case Qt::Key_Up:
      if (!shift) return false;
      bench_.MoveFixUp();
      FocusFixList();
      return true;
    case Qt::Key_Down:
      if (!shift) return false;
      bench_.MoveFixDown();
      FocusFixList();
      return true;
    case Qt::Key_Insert:
      if (Modifiers == Qt::ShiftModifier) {
        FocusFixList();
        bench_.UndeleteFix();
      } else {
        EditFix(true);
      }
      return true;
    case Qt::Key_Delete:
      FocusFixList();
      DeleteFix(!shift);
      return true;
    case Qt::Key_F1:
      ShowHelp(QLatin1String(MainPanelTopic));
      return true;
    case Qt::Key_F2:
      ToggleChart();
      return true;
    default:
      return false;
  }
}

bool TMainController::KeyPress(const QString& Text, Qt::KeyboardModifiers Modifiers) {
  if (!PlainOrShift(Modifiers) || Text.size() != 1) return false;
  const std::string typed = FromQString(Text);
  if (typed.size() != 1) return false;
  QLabel* search = window_->Controls().xSearch;
  const TSearchStep step = bench_.TypeAhead(typed[0], search->isVisible());
  if (!step.Consumed) return false;
  QTimer* timer = window_->Controls().xTimer;
  timer->start(step.IntervalMs);
  if (step.ShowPanel) search->show();
  search->setText(ToQString(step.Text));
  return true;
}

bool TMainController::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == window_.get() && Event->type() == QEvent::Close) {
    auto* close = static_cast<QCloseEvent*>(Event);
    if (!MayClose()) {
      close->ignore();
      return true;
    }
    if (help_) help_->close();
    if (chart_) chart_->close();
    return false;
  }
  if (Event->type() != QEvent::KeyPress || !started_) return false;
  // A key closes the splash at once, and still goes where it was meant.
  if (about_ && about_->isVisible() && !about_->isModal()) about_->CloseAfter(0);
  // Only keys meant for the main window itself, not for its dialogs, boxes
  // or menus.
  auto* widget = qobject_cast<QWidget*>(Watched);
  if (widget == nullptr || widget->window() != window_.get()) return false;
  if (QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr) {
    return false;
  }
  // After F10 the menu bar has the focus: the arrows and Enter move in it
  // and open its menus, they are not the fix list's or the log's keys.
  if (widget == window_->menuBar()) return false;
  auto* key = static_cast<QKeyEvent*>(Event);
  // Ins with any modifier but Shift alone is Add.
  if (key->key() == Qt::Key_Insert) return KeyDown(key->key(), key->modifiers());
  if (ClipboardKey(key->key(), key->modifiers())) return true;
  // Alt keys are the accelerators of the buttons and the menu.
  if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) return false;
  if (KeyDown(key->key(), key->modifiers())) return true;
  if (KeyPress(key->text(), key->modifiers())) return true;
  // The list's own search by typed letters would fight the type-ahead
  // search: characters stop at the list.
  const bool printable = key->text().size() == 1 && key->text().at(0).isPrint();
  return printable && Watched == window_->Controls().xList;
}

}  // namespace navorix
