// A whole window session for the behaviour tests: a portable folder of its
// own (settings beside the program, status files in "data/"), one workbench,
// the controller with its windows, started as the program starts it; and an
// answerer for the modal windows that open on the way.
#pragma once

#include "stores/app_data.h"
#include "window/boxes/alert_box.h"
#include "window/boxes/error_box.h"
#include "window/dialogs/fix_dialog.h"
#include "window/dialogs/operand_dialog.h"
#include "window/main/main_controller.h"
#include "window/main/main_window.h"
#include "window/look/navorix_style.h"
#include "window/look/qt_text.h"
#include "window_test_support.h"
#include "workbench/workbench.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace navorix::test {

// Writes Bytes (Windows-1252, as the program writes its files) to Name.
inline bool WriteBytes(const QString& Name, const std::string& Bytes) {
  QFile file(Name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(Bytes.data(), static_cast<qint64>(Bytes.size())) == static_cast<qint64>(Bytes.size());
}

inline std::string ReadBytes(const QString& Name) {
  QFile file(Name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

// What a modal window is, for the record of what showed: "ask: " and the
// lines of a question joined by "|", "error: " and the text of the error
// box, "fix: " or "operands: " and the caption of an input dialog, "file: "
// and the caption of a file dialog.
inline QString Describe(QWidget* Modal) {
  if (auto* box = qobject_cast<TAlertBox*>(Modal)) {
    QStringList lines;
    for (int i = 0; i < 8; ++i) {
      if (box->Line(i)->isVisibleTo(box)) lines << box->Line(i)->text();
    }
    return QStringLiteral("ask: ") + lines.join(QLatin1Char('|'));
  }
  if (auto* box = qobject_cast<TErrBox*>(Modal)) return QStringLiteral("error: ") + box->TextLabel()->text();
  if (qobject_cast<TFixInp*>(Modal) != nullptr) return QStringLiteral("fix:") + Modal->windowTitle();
  if (qobject_cast<TInPan*>(Modal) != nullptr) return QStringLiteral("operands:") + Modal->windowTitle();
  if (qobject_cast<QFileDialog*>(Modal) != nullptr) return QStringLiteral("file");
  return QStringLiteral("other: ") + Modal->metaObject()->className();
}

// Answers modal windows in the order in which they show: every showing of a
// modal window takes the next step, which runs inside the window's own
// event loop once the window is active (keys go where its focus is). A
// modal window that shows when no step is left, or that stays open from one
// look of the watchdog to the next (StuckMs apart), is recorded as
// unexpected and closed, so that a test fails instead of hanging. As a
// window manager does, it activates the window beneath a modal window that
// closed (the offscreen platform leaves no window active), and gives the
// keyboard to a modal window whose owner became active.
class TModalAnswers : public QObject {
 public:
  using TStep = std::function<void(QWidget* Modal)>;
  static constexpr int StuckMs = 10000;

  // Home: the window that becomes active when no modal window is left.
  explicit TModalAnswers(QWidget* Home = nullptr) : home_(Home) {
    qApp->installEventFilter(this);
    watchdog_.setInterval(StuckMs);
    QObject::connect(&watchdog_, &QTimer::timeout, this, [this] { Watch(); });
    watchdog_.start();
  }
  ~TModalAnswers() override { qApp->removeEventFilter(this); }

  void Then(TStep Step) { steps_.push_back(std::move(Step)); }
  // Drops the steps no window came for (a step for a window that may or
  // may not show).
  void DropSteps() { steps_.clear(); }
  // Every modal window that showed, described, in order.
  const QStringList& Seen() const { return seen_; }
  const QStringList& Unexpected() const { return unexpected_; }
  bool AllAnswered() const { return steps_.empty() && pending_ == 0; }
  void Forget() {
    seen_.clear();
    unexpected_.clear();
  }

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Event->type() != QEvent::Show && Event->type() != QEvent::Hide) return false;
    auto* widget = qobject_cast<QWidget*>(Watched);
    if (widget == nullptr || !widget->isWindow() || !widget->isModal()) return false;
    if (Event->type() == QEvent::Hide) {
      QTimer::singleShot(0, this, [this] { ActivateNext(); });
      return false;
    }
    ++pending_;
    ++showings_;
    QPointer<QWidget> modal(widget);
    QTimer::singleShot(0, this, [this, modal] { Run(modal, 0); });
    return false;
  }

 private:
  static constexpr int PollMs = 5;

  void Run(const QPointer<QWidget>& Modal, int Waited) {
    if (!Modal.isNull() && Modal->isVisible() && QApplication::activeWindow() != Modal &&
        Waited < StuckMs) {
      // A window beneath a modal one that becomes active hands the keyboard
      // to the modal window, as a window manager does.
      if (QApplication::activeWindow() != nullptr && QApplication::activeModalWidget() == Modal) {
        Modal->activateWindow();
      }
      QTimer::singleShot(PollMs, this, [this, Modal, Waited] { Run(Modal, Waited + PollMs); });
      return;
    }
    --pending_;
    if (Modal.isNull() || !Modal->isVisible()) return;
    seen_ << Describe(Modal);
    if (steps_.empty()) {
      unexpected_ << seen_.last();
      Close(Modal);
      return;
    }
    TStep step = std::move(steps_.front());
    steps_.pop_front();
    step(Modal);
  }

  static void Close(QWidget* Modal) {
    if (auto* dialog = qobject_cast<QDialog*>(Modal)) {
      dialog->reject();
    } else {
      Modal->hide();
    }
  }

  void ActivateNext() {
    if (QApplication::activeWindow() != nullptr) return;
    QWidget* next = QApplication::activeModalWidget();
    if (next == nullptr) next = home_;
    if (next != nullptr && next->isVisible()) next->activateWindow();
  }

  // The same showing of a modal window at two looks is stuck.
  void Watch() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal == last_modal_ && showings_ == last_showings_) {
      unexpected_ << QStringLiteral("left open: ") + Describe(modal);
      Close(modal);
      modal = nullptr;
    }
    last_modal_ = modal;
    last_showings_ = showings_;
  }

  std::deque<TStep> steps_;
  QStringList seen_;
  QStringList unexpected_;
  int pending_ = 0;
  QPointer<QWidget> home_;
  QTimer watchdog_;
  QPointer<QWidget> last_modal_;
  unsigned showings_ = 0;
  unsigned last_showings_ = 0;
};

// The widget that keys go to: an open menu, or the focus widget of the
// active window, once
// a window is active again (after a modal window closes, the window beneath
// it becomes active a moment later, as a user sees it come back).
inline QWidget* KeyTarget() {
  // An open menu takes the keys, as it grabs the keyboard.
  if (QWidget* popup = QApplication::activePopupWidget()) return popup;
  if (!QTest::qWaitFor([] { return QApplication::activeWindow() != nullptr; }, 5000)) return nullptr;
  QWidget* focus = QApplication::focusWidget();
  return focus != nullptr ? focus : QApplication::activeWindow();
}

// Sends a key to the widget that has the focus, as a keyboard does.
inline void Key(Qt::Key K, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
  QWidget* target = KeyTarget();
  if (target != nullptr) QTest::keyClick(target, K, Modifiers);
}

// Types Text into the focused widget, one key per character; the degree
// sign is typed as Ctrl+D, as the input dialogs offer it.
inline void Type(const QString& Text) {
  for (const QChar c : Text) {
    QWidget* target = KeyTarget();
    if (target == nullptr) return;
    if (c == QChar(0xB0)) {
      QTest::keyClick(target, Qt::Key_D, Qt::ControlModifier);
    } else {
      QTest::keyClick(target, c.toLatin1());
    }
  }
}

// Steps that answer the question box: Yes with Enter (the default button),
// No with Tab and Enter, Cancel with Esc.
inline TModalAnswers::TStep Answer(TAnswer A) {
  return [A](QWidget* Modal) {
    auto* box = qobject_cast<TAlertBox*>(Modal);
    if (box == nullptr) return;
    QWidget* focus = box->focusWidget() != nullptr ? box->focusWidget() : box;
    switch (A) {
      case TAnswer::Yes:
        QTest::keyClick(focus, Qt::Key_Return);
        break;
      case TAnswer::No:
        QTest::keyClick(focus, Qt::Key_Tab);
        QTest::keyClick(box->focusWidget(), Qt::Key_Return);
        break;
      case TAnswer::Cancel:
        QTest::keyClick(focus, Qt::Key_Escape);
        break;
    }
  };
}

// Closes the error box with a key.
inline TModalAnswers::TStep CloseErrorBox() {
  return [](QWidget* Modal) { QTest::keyClick(Modal, Qt::Key_Space); };
}

// Types File into the file name field of a file dialog and presses Enter,
// as a user does; an empty File cancels the dialog.
inline TModalAnswers::TStep ChooseFile(const QString& File) {
  return [File](QWidget* Modal) {
    auto* dialog = qobject_cast<QFileDialog*>(Modal);
    if (dialog == nullptr) return;
    if (File.isEmpty()) {
      dialog->reject();
      return;
    }
    auto* name = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (name == nullptr) return;
    name->clear();
    QTest::keyClicks(name, File);
    QTest::keyClick(name, Qt::Key_Return);
  };
}

// The Tab order of the operation dialog's fields.
inline constexpr int OperandTabOrder[] = {1, 2, 3, 5, 4, 6};

// Fills the operation dialog as a user does: the first field has the focus
// with its text selected, Tab goes on in the dialog's order (which selects
// the next field's text), and Enter confirms. Operands holds what is typed
// into each shown field, in the order of the field numbers (the order of
// the operands); a blank in a name field asks for completion, the degree
// sign is Ctrl+D. Shown, when given, gets the texts the fields show before
// Enter, in the same order.
inline TModalAnswers::TStep FillOperands(const QStringList& Operands, QStringList* Shown = nullptr) {
  return [Operands, Shown](QWidget* Modal) {
    auto* pan = qobject_cast<TInPan*>(Modal);
    if (pan == nullptr) return;
    QList<int> by_number;
    for (int n = 1; n <= 6; ++n) {
      if (pan->Field(n)->isVisible()) by_number << n;
    }
    if (by_number.size() != Operands.size()) {
      pan->reject();
      return;
    }
    bool first = true;
    for (const int n : OperandTabOrder) {
      if (!by_number.contains(n)) continue;
      if (!first) Key(Qt::Key_Tab);
      first = false;
      if (QApplication::focusWidget() != pan->Field(n)) {
        pan->reject();
        return;
      }
      Type(Operands.at(by_number.indexOf(n)));
    }
    if (Shown != nullptr) {
      Shown->clear();
      for (const int n : by_number) *Shown << pan->Field(n)->text();
    }
    Key(Qt::Key_Return);
  };
}

// One run of the window program on a folder of its own.
class TSession {
 public:
  TSession() {
    QDir(dir_.path()).mkpath(QStringLiteral("data"));
    paths_.ProgramDir = FromQString(dir_.path()) + "/";
    paths_.SettingsDir = paths_.ProgramDir;
    paths_.DataDir = paths_.ProgramDir + "data/";
    paths_.ShareDir = std::string(NAVORIX_SOURCE_DIR) + "/";
    paths_.HelpFile = std::string(NAVORIX_SOURCE_DIR) + "/help/navorix.hlp";
    paths_.Portable = true;
  }
  TSession(const TSession&) = delete;
  TSession& operator=(const TSession&) = delete;
  ~TSession() {
    if (controller_) controller_->Window().hide();
  }

  QString Path(const QString& Name) const { return dir_.filePath(Name); }
  QString DataPath(const QString& Name) const { return dir_.filePath(QStringLiteral("data/") + Name); }

  // Status files read at the start: the fixes, the history.
  bool WriteFixes(const std::string& Fixes) { return WriteBytes(DataPath(QStringLiteral("navorix.fix")), Fixes); }
  bool WriteHistory(const std::string& Lines) { return WriteBytes(DataPath(QStringLiteral("navorix.his")), Lines); }

  // Starts as the program does, with Fixes and History as its status files
  // when they are given, and waits until the fix list has the focus and the
  // splash has gone; then Answers() takes the modal windows. Files are read
  // and written through Calls, which must outlive the session.
  bool Start(const char* Fixes = nullptr, const char* History = nullptr,
             const TFileSystemCalls& Calls = SystemCalls()) {
    if (Fixes != nullptr && !WriteFixes(Fixes)) return false;
    if (History != nullptr && !WriteHistory(History)) return false;
    bench_ = std::make_unique<TWorkbench>(paths_, Calls);
    controller_ = std::make_unique<TMainController>(*bench_, ToQString(paths_.ShareDir),
                                                    ToQString(paths_.HelpFile));
    controller_->Start();
    // Generous limits: the sound system may be slow to answer on a busy
    // machine.
    if (!QTest::qWaitForWindowExposed(&Window(), 20000)) return false;
    if (!QTest::qWaitFor(
            [this] { return QApplication::focusWidget() == List() && QApplication::activeWindow() == &Window(); },
            20000)) {
      return false;
    }
    answers_ = std::make_unique<TModalAnswers>(&Window());
    return true;
  }

  // The end of a test: every modal window that showed had its step, and no
  // step is left over.
  void VerifyAllAnswered() {
    if (!answers_) return;
    QVERIFY2(answers_->Unexpected().isEmpty(), qPrintable(answers_->Unexpected().join(QLatin1Char('\n'))));
    QVERIFY(answers_->AllAnswered());
  }

  TWorkbench& Bench() { return *bench_; }
  TMainController& Controller() { return *controller_; }
  TMainWindow& Window() { return controller_->Window(); }
  TModalAnswers& Answers() { return *answers_; }
  const TMainMenu& Menu() { return Window().Menu(); }
  const TMainControls& Controls() { return Window().Controls(); }
  QListView* List() { return Window().Controls().xList; }
  QPushButton* OpButton(TOpTag Tag) { return Window().OperationButton(static_cast<std::uint8_t>(Tag)); }

  // The texts of every row the list shows, the blank row included.
  QStringList Rows() {
    QStringList rows;
    const QAbstractItemModel* model = List()->model();
    for (int r = 0; r < model->rowCount(); ++r) rows << model->index(r, 0).data().toString();
    return rows;
  }
  int ListRow() { return List()->currentIndex().row(); }
  void Select(int Row) { List()->setCurrentIndex(List()->model()->index(Row, 0)); }
  // Sends a key to the fix list.
  void Press(Qt::Key K, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) { QTest::keyClick(List(), K, Modifiers); }

  // The name of the fix at Pos (from 1), and the names of all in order.
  QString FixName(std::uint16_t Pos) { return ToQString(std::string(Bench().Fixes().Get(Pos).Name.View())); }
  QStringList FixNames() {
    QStringList names;
    for (std::uint16_t pos = 1; pos <= Bench().Fixes().Count(); ++pos) names << FixName(pos);
    return names;
  }
  // The three lines of the log display.
  QStringList LogLines() {
    const auto& c = Controls();
    return {c.xOut[0]->text(), c.xOut[1]->text(), c.xOut[2]->text()};
  }

 private:
  QTemporaryDir dir_;
  TAppData paths_;
  std::unique_ptr<TWorkbench> bench_;
  std::unique_ptr<TMainController> controller_;
  // Declared last so that it goes first, before the windows it watches.
  std::unique_ptr<TModalAnswers> answers_;
};

}  // namespace navorix::test
