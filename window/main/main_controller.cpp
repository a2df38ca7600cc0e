#include "window/main/main_controller.h"

#include "stores/app_data.h"
#include "stores/load_report.h"
#include "window/boxes/alert_box.h"
#include "window/boxes/error_box.h"
#include "window/chart/chart_window.h"
#include "window/dialogs/about_box.h"
#include "window/dialogs/fix_dialog.h"
#include "window/dialogs/fix_file_dialog.h"
#include "window/dialogs/help_window.h"
#include "window/dialogs/operand_dialog.h"
#include "window/exchange/exchange_commands.h"
#include "window/look/fonts.h"
#include "window/look/qt_placement.h"
#include "window/look/qt_text.h"
#include "window/main/fix_list_model.h"
#include "window/main/main_window.h"
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

bool hasShift(Qt::KeyboardModifiers modifiers) { return (modifiers & Qt::ShiftModifier) != 0; }

// The modifiers a key may carry and still be the plain or the shifted key.
bool plainOrShift(Qt::KeyboardModifiers modifiers) {
  return (modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
}

}  // namespace

MainController::MainController(Workbench& bench, const QString& shareDir, const QString& helpFile)
    : bench_(bench),
      helpFile_(helpFile),
      shareDir_(shareDir),
      sampleFixes_(shareDir + QLatin1String(SampleFixesFile)) {
  // Sounds and boxes first, as the windows that use them come after.
  sounds_ = std::make_unique<SoundTable>();
  loadStandardSounds(*sounds_, shareDir);
  errorBox_ = std::make_unique<ErrorBox>();
  errorBox_->setFontFamily(QString::fromLatin1(ErrorFontFamily));
  alertBox_ = std::make_unique<AlertBox>();

  window_ = std::make_unique<MainWindow>();
  // Every box belongs to the main window: the window manager keeps it above
  // that window and never shows or hides it apart from it.
  errorBox_->setParent(window_.get(), errorBox_->windowFlags());
  alertBox_->setParent(window_.get(), alertBox_->windowFlags());
  model_ = std::make_unique<FixListModel>(bench);
  operandDialog_ = std::make_unique<OperandDialog>(window_.get());
  fixDialog_ = std::make_unique<FixDialog>(window_.get());
  operandDialog_->attach(bench, *window_->controls().fixListFrame);
  errorBox_->setSound(sounds_.get(), soundSlot(Sound::Error));
  alertBox_->setSound(sounds_.get(), soundSlot(Sound::Question));

  Observers observers;
  observers.fixList = model_.get();
  observers.fixPanel = this;
  observers.log = this;
  observers.options = this;
  observers.nextFix = this;
  observers.messages = this;
  observers.chart = this;
  bench.Attach(observers);

  connectFixList();
  connectButtons();
  connectMenu();
  // The window previews every key before the focused control. The
  // application's filter sees the main window's own events too (its close
  // request among them); a second filter on the window would see each of
  // them again and ask the exit question twice.
  qApp->installEventFilter(this);

  FixPanelChanged(bench.FixPanel());
  LogShown(bench.LogDisplay());
  OptionsChanged(bench.Settings());
  NextFixChanged(bench.NextFixEnabled());
}

MainController::~MainController() {
  qApp->removeEventFilter(this);
  // The help window closes with the program.
  if (help_) help_->close();
  if (chart_) chart_->close();
  // The boxes go before the main window, which would delete its children.
  alertBox_.reset();
  errorBox_.reset();
}

void MainController::ChartChanged() {
  if (chart_ && chart_->isVisible()) chart_->refresh();
}

void MainController::toggleChart() {
  if (chart_ && chart_->isVisible()) {
    chart_->close();
    window_->activateWindow();
    return;
  }
  if (!chart_) {
    chart_ = std::make_unique<ChartWindow>(bench_, loadChartLand(shareDir_));
    connect(chart_.get(), &ChartWindow::toggleRequested, this, &MainController::toggleChart);
    // Opened for the first time: beside the main window, not over it.
    if (!bench_.Settings().chart.placed) placeBeside(*chart_, *window_);
  }
  chart_->refresh();
  chart_->show();
  chart_->raise();
  chart_->activateWindow();
}

void MainController::start() {
  about_ = std::make_unique<AboutBox>(QString::fromLatin1(VersionText));
  about_->showSplash();
  window_->show();
  window_->raise();
  window_->activateWindow();
  about_->closeAfter(SplashMs);
  started_ = true;
  const QSize size = window_->size();
  bench_.LoadStatus();
  // The menu font of the settings may have changed the window's height.
  if (window_->size() != size) centreOnScreen(*window_);
  focusFixList();
}

// ---------------------------------------------------------------- observers

void MainController::FixPanelChanged(const FixPanelState& panel) {
  const MainControls& c = window_->controls();
  c.fixCountLabel->setText(toQString(panel.counter));
  c.moveUpButton->setEnabled(panel.buttons.up);
  c.moveDownButton->setEnabled(panel.buttons.down);
  c.deleteButton->setEnabled(panel.buttons.remove);
  c.editButton->setEnabled(panel.buttons.edit);
  c.undeleteButton->setEnabled(panel.buttons.undelete);
}

void MainController::LogShown(const LogDisplayState& display) {
  const MainControls& c = window_->controls();
  c.logLines[0]->setText(toQString(display.line1));
  c.logLines[1]->setText(toQString(display.line2));
  c.logLines[2]->setText(toQString(display.line3));
  c.recordNumberLabel->setText(toQString(display.number));
  c.previousRecordButton->setEnabled(display.previousEnabled);
  c.nextRecordButton->setEnabled(display.nextEnabled);
}

void MainController::OptionsChanged(const ProgramSettings& settings) {
  window_->menu().showSettings(settings);
  window_->setHintsShown(settings.interface.hints);
  window_->setMenuFontSize(settings.interface.menuFontSize);
  window_->setPropFontSize(settings.interface.propFontSize);
  fixDialog_->setPropFontSize(settings.interface.propFontSize);
  operandDialog_->setPropFontSize(settings.interface.propFontSize);
  alertBox_->setPropFontSize(settings.interface.propFontSize);
  sounds_->setSoundOn(settings.interface.sound);
}

void MainController::NextFixChanged(bool enabled) {
  window_->operationButton(OperationTag::NextFix)->setEnabled(enabled);
}

// A message the box would cut (a long file name in it) ends in "..." where
// it is cut, so that nobody takes the rest for the whole.
void MainController::ShowError(const std::string& message) { errorBox_->showText(FitMessage(message)); }

void MainController::ShowReport(const std::vector<std::string>& lines) {
  std::vector<std::string> fitted;
  for (const std::string& line : lines) fitted.push_back(FitMessage(line));
  errorBox_->showLines(fitted);
}

void MainController::PlaySound(Sound sound, bool wait) { sounds_->playSound(soundSlot(sound), wait); }

Answer MainController::Ask(const std::string& question, Buttons buttons) {
  return alertBox_->ask(question, buttons == Buttons::YesNoCancel ? 3 : 2);
}

// ------------------------------------------------------------ the fix list

void MainController::connectFixList() {
  QListView* list = window_->controls().fixList;
  list->setModel(model_.get());
  // The workbench's current row is the list's selected row, both ways.
  connect(model_.get(), &FixListModel::currentRowMoved, this, [this, list](int row) {
    selecting_ = true;
    list->setCurrentIndex(model_->index(row));
    list->scrollTo(model_->index(row));
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
          [this](const QModelIndex& current) {
            if (!selecting_ && current.isValid()) bench_.SelectRow(current.row());
          });
  connect(list, &QListView::clicked, this,
          [this](const QModelIndex& index) { bench_.SelectRow(index.row()); });
  connect(list, &QListView::doubleClicked, this, [this] { editFix(false); });
  list->setCurrentIndex(model_->index(bench_.CurrentRow()));
  connect(window_->controls().searchTimer, &QTimer::timeout, this, &MainController::hideSearch);
}

void MainController::focusFixList() { window_->controls().fixList->setFocus(Qt::OtherFocusReason); }

void MainController::hideSearch() { window_->controls().searchLabel->hide(); }

void MainController::editFix(bool addButton) {
  focusFixList();
  centreOnControl(*fixDialog_, *window_->controls().fixListFrame);
  fixDialog_->editFix(bench_, addButton);
  focusFixList();
}

bool MainController::mayGoOn(const std::string& question, bool askFirst) {
  // An empty question: nothing to act on (the blank row, an empty log).
  if (question.empty()) return false;
  return !askFirst || Ask(question, Buttons::YesNo) == Answer::Yes;
}

void MainController::deleteFix(bool askFirst) {
  if (mayGoOn(bench_.DeleteFixQuestion(), askFirst)) bench_.DeleteFix();
}

void MainController::deleteLogRecord(bool askFirst) {
  if (mayGoOn(bench_.DeleteRecordQuestion(), askFirst)) bench_.DeleteShownRecord();
}

// ------------------------------------------------------------------ buttons

void MainController::connectButtons() {
  const MainControls& c = window_->controls();
  connect(c.addButton, &QPushButton::clicked, this, [this] { editFix(true); });
  connect(c.editButton, &QPushButton::clicked, this, [this] { editFix(false); });
  // The Delete button deletes without a question; the question is the Del
  // key's.
  connect(c.deleteButton, &QPushButton::clicked, this, [this] {
    focusFixList();
    bench_.DeleteFix();
  });
  connect(c.undeleteButton, &QPushButton::clicked, this, [this] {
    focusFixList();
    bench_.UndeleteFix();
  });
  connect(c.moveUpButton, &QPushButton::clicked, this, [this] {
    bench_.MoveFixUp();
    focusFixList();
  });
  connect(c.moveDownButton, &QPushButton::clicked, this, [this] {
    bench_.MoveFixDown();
    focusFixList();
  });
  connect(c.previousRecordButton, &QPushButton::clicked, this, [this] {
    focusFixList();
    bench_.ShowPreviousRecord();
  });
  connect(c.nextRecordButton, &QPushButton::clicked, this, [this] {
    focusFixList();
    bench_.ShowNextRecord();
  });
  for (QPushButton* button : c.operationButtons) {
    const int tag = button->property("tag").toInt();
    connect(button, &QPushButton::clicked, this, [this, tag] { runOperation(tag); });
  }
}

void MainController::runOperation(int tag) {
  focusFixList();
  if (FindOperation(static_cast<std::uint8_t>(tag)) == nullptr) return;
  bench_.RunOperation(static_cast<OperationTag>(tag), *operandDialog_);
  focusFixList();
}

// --------------------------------------------------------------------- menu

void MainController::connectMenu() {
  const MainMenu& m = window_->menu();
  connect(m.reloadStatusAction, &QAction::triggered, this, [this] {
    const std::string question = bench_.ReloadStatusQuestion();
    if (!question.empty() && Ask(question, Buttons::YesNo) != Answer::Yes) return;
    bench_.LoadStatus();
    focusFixList();
  });
  connect(m.saveStatusAction, &QAction::triggered, this, [this] { bench_.SaveStatus(); });
  connect(m.loadFixFileAction, &QAction::triggered, this, &MainController::loadFixFile);
  connect(m.saveFixFileAction, &QAction::triggered, this, &MainController::saveFixFile);
  connect(m.importFixesAction, &QAction::triggered, this, &MainController::importFixes);
  connect(m.exportFixesAction, &QAction::triggered, this, &MainController::exportFixes);
  connect(m.exitAction, &QAction::triggered, window_.get(), &QWidget::close);
  connect(m.chartAction, &QAction::triggered, this, &MainController::toggleChart);

  connect(m.deleteLogLineAction, &QAction::triggered, this, [this] { deleteLogRecord(false); });
  connect(m.clearLogAction, &QAction::triggered, this, [this] {
    if (mayGoOn(bench_.ClearLogQuestion(), true)) bench_.ClearLog();
  });
  connect(m.clearFixesAction, &QAction::triggered, this, [this] {
    if (mayGoOn(bench_.ClearFixesQuestion(), true)) bench_.ClearFixes();
  });
  connect(m.clearAllAction, &QAction::triggered, this, [this] {
    if (mayGoOn(bench_.ClearAllQuestion(), true)) bench_.ClearAll();
  });

  for (QAction* sort : {m.sortByNameAction, m.sortBySuffixAction, m.sortByDistanceAction}) {
    connect(sort, &QAction::triggered, this, [this, sort] {
      bench_.SortFixes(static_cast<SortOrder>(sort->data().toInt()));
      focusFixList();
    });
  }

  for (const DisplayOptionInfo& info : DisplayOptionTable) {
    connect(m.optionMenus[Index(info.option)].group, &QActionGroup::triggered, this,
            [this, option = info.option](QAction* A) { bench_.SetDisplayOption(option, A->data().toInt()); });
  }
  // The switches invert the workbench's value; the check marks then follow
  // the settings, whatever Qt did to them on the click.
  connect(m.ellipticArcAction, &QAction::triggered, this, [this] { bench_.ToggleEllipticArc(); });
  connect(m.geodesicAction, &QAction::triggered, this, [this] { bench_.ToggleGeoDistance(); });
  connect(m.ellipticLatitudeAction, &QAction::triggered, this, [this] { bench_.ToggleEllipticLat(); });
  connect(m.hintsAction, &QAction::triggered, this,
          [this] { bench_.SetHints(!bench_.Settings().interface.hints); });
  connect(m.soundAction, &QAction::triggered, this,
          [this] { bench_.SetSound(!bench_.Settings().interface.sound); });

  connect(m.helpAction, &QAction::triggered, this, [this] { showHelp(QLatin1String(WelcomeTopic)); });
  connect(m.webPageAction, &QAction::triggered, this, [this] {
    if (*WebPageAddress == '\0') {
      showHelp(QLatin1String(WelcomeTopic));
    } else if (!QDesktopServices::openUrl(QUrl(QString::fromUtf8(WebPageAddress)))) {
      errorBox_->showText("Cannot open the web page in a browser");
    }
  });
  connect(m.sampleFixesAction, &QAction::triggered, this, &MainController::appendSampleFixes);
  connect(m.aboutAction, &QAction::triggered, this, [this] {
    AboutBox about(QString::fromLatin1(VersionText), window_.get());
    about.showModal();
  });
}

void MainController::showHelp(const QString& topic) {
  if (!help_) help_ = std::make_unique<HelpWindow>(helpFile_);
  // The help window shows itself at the topic.
  if (!help_->showTopic(topic)) {
    errorBox_->showText("Cannot read the help file " + fromQString(QFileInfo(helpFile_).fileName()));
  }
}

void MainController::loadFixFile() {
  const QString dir = toQString(bench_.Paths().dataDir);
  const QString name = askFixFileName(window_.get(), dir, FileDialogMode::Open);
  if (name.isEmpty()) return;
  bool clearFirst = false;
  if (bench_.Fixes().Count() != 0) {
    const Answer answer = Ask(question::ClearBeforeLoading, Buttons::YesNoCancel);
    if (answer == Answer::Cancel) return;
    clearFirst = answer == Answer::Yes;
  }
  bench_.LoadFixFile(fromQString(name), clearFirst);
  focusFixList();
}

void MainController::saveFixFile() {
  const QString dir = toQString(bench_.Paths().dataDir);
  // The dialog comes back after a No to the overwrite question.
  for (;;) {
    const QString name = askFixFileName(window_.get(), dir, FileDialogMode::Save);
    if (name.isEmpty()) return;
    if (QFileInfo::exists(name)) {
      const Answer answer = Ask(question::Overwrite, Buttons::YesNoCancel);
      if (answer == Answer::Cancel) return;
      if (answer == Answer::No) continue;
    }
    bench_.SaveFixFile(fromQString(name));
    return;
  }
}

bool MainController::mayClose() {
  switch (Ask(question::Exit, Buttons::YesNoCancel)) {
    case Answer::Yes:
      return bench_.SaveStatusToLeave();
    case Answer::No:
      return true;
    case Answer::Cancel:
      return false;
  }
  return false;
}

// --------------------------------------------------------------------- keys

bool MainController::keyDown(int key, Qt::KeyboardModifiers modifiers) {
  const bool shift = hasShift(modifiers);
  switch (key) {
    case Qt::Key_Backspace:
      deleteLogRecord(!shift);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      editFix(shift || bench_.Fixes().Count() == 0);
      return true;
    case Qt::Key_Escape:
      hideSearch();
      return false;
    case Qt::Key_Left:
      focusFixList();
      bench_.ShowPreviousRecord();
      return true;
    case Qt::Key_Right:
      focusFixList();
      bench_.ShowNextRecord();
      return true;
    case Qt::Key_Up:
      if (!shift) return false;
      bench_.MoveFixUp();
      focusFixList();
      return true;
    case Qt::Key_Down:
      if (!shift) return false;
      bench_.MoveFixDown();
      focusFixList();
      return true;
    case Qt::Key_Insert:
      if (modifiers == Qt::ShiftModifier) {
        focusFixList();
        bench_.UndeleteFix();
      } else {
        editFix(true);
      }
      return true;
    case Qt::Key_Delete:
      focusFixList();
      deleteFix(!shift);
      return true;
    case Qt::Key_F1:
      showHelp(QLatin1String(MainPanelTopic));
      return true;
    case Qt::Key_F2:
      toggleChart();
      return true;
    default:
      return false;
  }
}

bool MainController::keyPress(const QString& text, Qt::KeyboardModifiers modifiers) {
  if (!plainOrShift(modifiers) || text.size() != 1) return false;
  const std::string typed = fromQString(text);
  if (typed.size() != 1) return false;
  QLabel* search = window_->controls().searchLabel;
  const SearchStep step = bench_.TypeAhead(typed[0], search->isVisible());
  if (!step.consumed) return false;
  QTimer* timer = window_->controls().searchTimer;
  timer->start(step.intervalMs);
  if (step.showPanel) search->show();
  search->setText(toQString(step.text));
  return true;
}

bool MainController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_.get() && event->type() == QEvent::Close) {
    auto* close = static_cast<QCloseEvent*>(event);
    if (!mayClose()) {
      close->ignore();
      return true;
    }
    if (help_) help_->close();
    if (chart_) chart_->close();
    return false;
  }
  if (event->type() != QEvent::KeyPress || !started_) return false;
  // A key closes the splash at once, and still goes where it was meant.
  if (about_ && about_->isVisible() && !about_->isModal()) about_->closeAfter(0);
  // Only keys meant for the main window itself, not for its dialogs, boxes
  // or menus.
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != window_.get()) return false;
  if (QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr) {
    return false;
  }
  // After F10 the menu bar has the focus: the arrows and Enter move in it
  // and open its menus, they are not the fix list's or the log's keys.
  if (widget == window_->menuBar()) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  // Ins with any modifier but Shift alone is Add.
  if (key->key() == Qt::Key_Insert) return keyDown(key->key(), key->modifiers());
  if (clipboardKey(key->key(), key->modifiers())) return true;
  // Alt keys are the accelerators of the buttons and the menu.
  if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) return false;
  if (keyDown(key->key(), key->modifiers())) return true;
  if (keyPress(key->text(), key->modifiers())) return true;
  // The list's own search by typed letters would fight the type-ahead
  // search: characters stop at the list.
  const bool printable = key->text().size() == 1 && key->text().at(0).isPrint();
  return printable && watched == window_->controls().fixList;
}

}  // namespace navorix
