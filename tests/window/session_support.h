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
#include "window/look/navorix_style.h"
#include "window/look/qt_text.h"
#include "window/main/main_controller.h"
#include "window/main/main_window.h"
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

// Writes bytes (Windows-1252, as the program writes its files) to name.
inline bool writeBytes(const QString& name, const std::string& bytes) {
  QFile file(name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

inline std::string readBytes(const QString& name) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

// What a modal window is, for the record of what showed: "ask: " and the
// lines of a question joined by "|", "error: " and the text of the error
// box, "fix: " or "operands: " and the caption of an input dialog, "file: "
// and the caption of a file dialog.
inline QString describe(QWidget* modal) {
  if (auto* box = qobject_cast<AlertBox*>(modal)) {
    QStringList lines;
    for (int i = 0; i < 8; ++i) {
      if (box->line(i)->isVisibleTo(box)) lines << box->line(i)->text();
    }
    return QStringLiteral("ask: ") + lines.join(QLatin1Char('|'));
  }
  if (auto* box = qobject_cast<ErrorBox*>(modal)) return QStringLiteral("error: ") + box->textLabel()->text();
  if (qobject_cast<FixDialog*>(modal) != nullptr) return QStringLiteral("fix:") + modal->windowTitle();
  if (qobject_cast<OperandDialog*>(modal) != nullptr)
    return QStringLiteral("operands:") + modal->windowTitle();
  if (qobject_cast<QFileDialog*>(modal) != nullptr) return QStringLiteral("file");
  return QStringLiteral("other: ") + modal->metaObject()->className();
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
class ModalAnswers : public QObject {
 public:
  using Step = std::function<void(QWidget* modal)>;
  static constexpr int StuckMs = 10000;

  // home: the window that becomes active when no modal window is left.
  explicit ModalAnswers(QWidget* home = nullptr) : home_(home) {
    qApp->installEventFilter(this);
    watchdog_.setInterval(StuckMs);
    QObject::connect(&watchdog_, &QTimer::timeout, this, [this] { watch(); });
    watchdog_.start();
  }
  ~ModalAnswers() override { qApp->removeEventFilter(this); }

  void then(Step step) { steps_.push_back(std::move(step)); }
  // Drops the steps no window came for (a step for a window that may or
  // may not show).
  void dropSteps() { steps_.clear(); }
  // Every modal window that showed, described, in order.
  const QStringList& seen() const { return seen_; }
  const QStringList& unexpected() const { return unexpected_; }
  bool allAnswered() const { return steps_.empty() && pending_ == 0; }
  void forget() {
    seen_.clear();
    unexpected_.clear();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show && event->type() != QEvent::Hide) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || !widget->isWindow() || !widget->isModal()) return false;
    if (event->type() == QEvent::Hide) {
      QTimer::singleShot(0, this, [this] { activateNext(); });
      return false;
    }
    ++pending_;
    ++showings_;
    QPointer<QWidget> modal(widget);
    QTimer::singleShot(0, this, [this, modal] { run(modal, 0); });
    return false;
  }

 private:
  static constexpr int PollMs = 5;

  void run(const QPointer<QWidget>& modal, int waited) {
    if (!modal.isNull() && modal->isVisible() && QApplication::activeWindow() != modal && waited < StuckMs) {
      // A window beneath a modal one that becomes active hands the keyboard
      // to the modal window, as a window manager does.
      if (QApplication::activeWindow() != nullptr && QApplication::activeModalWidget() == modal) {
        modal->activateWindow();
      }
      QTimer::singleShot(PollMs, this, [this, modal, waited] { run(modal, waited + PollMs); });
      return;
    }
    --pending_;
    if (modal.isNull() || !modal->isVisible()) return;
    seen_ << describe(modal);
    if (steps_.empty()) {
      unexpected_ << seen_.last();
      close(modal);
      return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step(modal);
  }

  static void close(QWidget* modal) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->hide();
    }
  }

  void activateNext() {
    if (QApplication::activeWindow() != nullptr) return;
    QWidget* next = QApplication::activeModalWidget();
    if (next == nullptr) next = home_;
    if (next != nullptr && next->isVisible()) next->activateWindow();
  }

  // The same showing of a modal window at two looks is stuck.
  void watch() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal == lastModal_ && showings_ == lastShowings_) {
      unexpected_ << QStringLiteral("left open: ") + describe(modal);
      close(modal);
      modal = nullptr;
    }
    lastModal_ = modal;
    lastShowings_ = showings_;
  }

  std::deque<Step> steps_;
  QStringList seen_;
  QStringList unexpected_;
  int pending_ = 0;
  QPointer<QWidget> home_;
  QTimer watchdog_;
  QPointer<QWidget> lastModal_;
  unsigned showings_ = 0;
  unsigned lastShowings_ = 0;
};

// The widget that keys go to: an open menu, or the focus widget of the
// active window, once
// a window is active again (after a modal window closes, the window beneath
// it becomes active a moment later, as a user sees it come back).
inline QWidget* keyTarget() {
  // An open menu takes the keys, as it grabs the keyboard.
  if (QWidget* popup = QApplication::activePopupWidget()) return popup;
  if (!QTest::qWaitFor([] { return QApplication::activeWindow() != nullptr; }, 5000)) return nullptr;
  QWidget* focus = QApplication::focusWidget();
  return focus != nullptr ? focus : QApplication::activeWindow();
}

// Sends a key to the widget that has the focus, as a keyboard does.
inline void key(Qt::Key K, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* target = keyTarget();
  if (target != nullptr) QTest::keyClick(target, K, modifiers);
}

// Types text into the focused widget, one key per character; the degree
// sign is typed as Ctrl+D, as the input dialogs offer it.
inline void type(const QString& text) {
  for (const QChar c : text) {
    QWidget* target = keyTarget();
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
inline ModalAnswers::Step answerWith(Answer A) {
  return [A](QWidget* modal) {
    auto* box = qobject_cast<AlertBox*>(modal);
    if (box == nullptr) return;
    QWidget* focus = box->focusWidget() != nullptr ? box->focusWidget() : box;
    switch (A) {
      case Answer::Yes:
        QTest::keyClick(focus, Qt::Key_Return);
        break;
      case Answer::No:
        QTest::keyClick(focus, Qt::Key_Tab);
        QTest::keyClick(box->focusWidget(), Qt::Key_Return);
        break;
      case Answer::Cancel:
        QTest::keyClick(focus, Qt::Key_Escape);
        break;
    }
  };
}

// Closes the error box with a key.
inline ModalAnswers::Step closeErrorBox() {
  return [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Space); };
}

// Types file into the file name field of a file dialog and presses Enter,
// as a user does; an empty file cancels the dialog.
inline ModalAnswers::Step chooseFile(const QString& file) {
  return [file](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) return;
    if (file.isEmpty()) {
      dialog->reject();
      return;
    }
    auto* name = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (name == nullptr) return;
    name->clear();
    QTest::keyClicks(name, file);
    QTest::keyClick(name, Qt::Key_Return);
  };
}

// The Tab order of the operation dialog's fields.
inline constexpr int OperandTabOrder[] = {1, 2, 3, 5, 4, 6};

// Fills the operation dialog as a user does: the first field has the focus
// with its text selected, Tab goes on in the dialog's order (which selects
// the next field's text), and Enter confirms. operands holds what is typed
// into each shown field, in the order of the field numbers (the order of
// the operands); a blank in a name field asks for completion, the degree
// sign is Ctrl+D. shown, when given, gets the texts the fields show before
// Enter, in the same order.
inline ModalAnswers::Step fillOperands(const QStringList& operands, QStringList* shown = nullptr) {
  return [operands, shown](QWidget* modal) {
    auto* pan = qobject_cast<OperandDialog*>(modal);
    if (pan == nullptr) return;
    QList<int> byNumber;
    for (int n = 1; n <= 6; ++n) {
      if (pan->fieldAt(n)->isVisible()) byNumber << n;
    }
    if (byNumber.size() != operands.size()) {
      pan->reject();
      return;
    }
    bool first = true;
    for (const int n : OperandTabOrder) {
      if (!byNumber.contains(n)) continue;
      if (!first) key(Qt::Key_Tab);
      first = false;
      if (QApplication::focusWidget() != pan->fieldAt(n)) {
        pan->reject();
        return;
      }
      type(operands.at(byNumber.indexOf(n)));
    }
    if (shown != nullptr) {
      shown->clear();
      for (const int n : byNumber) *shown << pan->fieldAt(n)->text();
    }
    key(Qt::Key_Return);
  };
}

// One run of the window program on a folder of its own.
class Session {
 public:
  Session() {
    QDir(dir_.path()).mkpath(QStringLiteral("data"));
    paths_.programDir = fromQString(dir_.path()) + "/";
    paths_.settingsDir = paths_.programDir;
    paths_.dataDir = paths_.programDir + "data/";
    paths_.shareDir = std::string(NAVORIX_SOURCE_DIR) + "/";
    paths_.helpFile = std::string(NAVORIX_SOURCE_DIR) + "/help/navorix.hlp";
    paths_.portable = true;
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session() {
    if (controller_) controller_->window().hide();
  }

  QString path(const QString& name) const { return dir_.filePath(name); }
  QString dataPath(const QString& name) const { return dir_.filePath(QStringLiteral("data/") + name); }

  // Status files read at the start: the fixes, the history.
  bool writeFixes(const std::string& fixes) {
    return writeBytes(dataPath(QStringLiteral("navorix.fix")), fixes);
  }
  bool writeHistory(const std::string& lines) {
    return writeBytes(dataPath(QStringLiteral("navorix.his")), lines);
  }

  // Starts as the program does, with fixes and history as its status files
  // when they are given, and waits until the fix list has the focus and the
  // splash has gone; then Answers() takes the modal windows. Files are read
  // and written through calls, which must outlive the session.
  bool start(const char* fixes = nullptr, const char* history = nullptr,
             const FileSystemCalls& calls = SystemCalls()) {
    if (fixes != nullptr && !writeFixes(fixes)) return false;
    if (history != nullptr && !writeHistory(history)) return false;
    bench_ = std::make_unique<Workbench>(paths_, calls);
    controller_ =
        std::make_unique<MainController>(*bench_, toQString(paths_.shareDir), toQString(paths_.helpFile));
    controller_->start();
    // Generous limits: the sound system may be slow to answer on a busy
    // machine.
    if (!QTest::qWaitForWindowExposed(&window(), 20000)) return false;
    if (!QTest::qWaitFor(
            [this] {
              return QApplication::focusWidget() == list() && QApplication::activeWindow() == &window();
            },
            20000)) {
      return false;
    }
    answers_ = std::make_unique<ModalAnswers>(&window());
    return true;
  }

  // The end of a test: every modal window that showed had its step, and no
  // step is left over.
  void verifyAllAnswered() {
    if (!answers_) return;
    QVERIFY2(answers_->unexpected().isEmpty(), qPrintable(answers_->unexpected().join(QLatin1Char('\n'))));
    QVERIFY(answers_->allAnswered());
  }

  Workbench& bench() { return *bench_; }
  MainController& controller() { return *controller_; }
  MainWindow& window() { return controller_->window(); }
  ModalAnswers& answers() { return *answers_; }
  const MainMenu& menu() { return window().menu(); }
  const MainControls& controls() { return window().controls(); }
  QListView* list() { return window().controls().fixList; }
  QPushButton* opButton(OperationTag tag) { return window().operationButton(static_cast<std::uint8_t>(tag)); }

  // The texts of every row the list shows, the blank row included.
  QStringList rows() {
    QStringList rows;
    const QAbstractItemModel* model = list()->model();
    for (int r = 0; r < model->rowCount(); ++r) rows << model->index(r, 0).data().toString();
    return rows;
  }
  int listRow() { return list()->currentIndex().row(); }
  void select(int row) { list()->setCurrentIndex(list()->model()->index(row, 0)); }
  // Sends a key to the fix list.
  void press(Qt::Key K, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(list(), K, modifiers);
  }

  // The name of the fix at pos (from 1), and the names of all in order.
  QString fixName(std::uint16_t pos) { return toQString(std::string(bench().Fixes().Get(pos).name.View())); }
  QStringList fixNames() {
    QStringList names;
    for (std::uint16_t pos = 1; pos <= bench().Fixes().Count(); ++pos) names << fixName(pos);
    return names;
  }
  // The three lines of the log display.
  QStringList logLines() {
    const auto& c = controls();
    return {c.logLines[0]->text(), c.logLines[1]->text(), c.logLines[2]->text()};
  }

 private:
  QTemporaryDir dir_;
  AppData paths_;
  std::unique_ptr<Workbench> bench_;
  std::unique_ptr<MainController> controller_;
  // Declared last so that it goes first, before the windows it watches.
  std::unique_ptr<ModalAnswers> answers_;
};

}  // namespace navorix::test
