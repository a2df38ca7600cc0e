// The keyboard map of the main window: every key is seen by the window
// before the focused control, and Enter, Ins, Del, Backspace, the arrows and
// their Shift forms do what the buttons and the log display do.
#include "session_support.h"

using namespace navorix;
using namespace navorix::test;

namespace {

constexpr const char* Fixes =
    "10 10 ALPHA\r\n"
    "20 20 BRAVO\r\n"
    "30 30 CHARLIE\r\n";

constexpr const char* History =
    "first one\r\n\r\n(S) 1 km\r\n"
    "second one\r\n\r\n(S) 2 km\r\n"
    "third one\r\n\r\n(S) 3 km\r\n";

// Closes the fix input dialog with its Cancel button, noting its caption
// and the name it was prefilled with.
ModalAnswers::Step noteAndCancelFixDialog(QString& caption, QString& name) {
  return [&caption, &name](QWidget* modal) {
    auto* dialog = qobject_cast<FixDialog*>(modal);
    if (dialog == nullptr) return;
    caption = dialog->windowTitle();
    name = dialog->fieldAt(1)->text();
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
  };
}

}  // namespace

class KeysTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Session> s_;

  void select(int row) {
    s_->select(row);
    QCOMPARE(s_->bench().CurrentRow(), row);
  }

 private slots:
  void initTestCase() { QApplication::setStyle(new NavorixStyle); }

  void init() {
    s_ = std::make_unique<Session>();
    QVERIFY(s_->start(Fixes, History));
  }
  void cleanup() {
    s_->verifyAllAnswered();
    s_.reset();
  }

  void enterOnTheBlankRowOpensNewFix() {
    select(3);
    QString caption, name;
    s_->answers().then(noteAndCancelFixDialog(caption, name));
    s_->press(Qt::Key_Return);
    QCOMPARE(s_->answers().seen(), QStringList{"fix: New Fix"});
    QCOMPARE(caption, QStringLiteral(" New Fix"));
    QCOMPARE(name, QString());
    QCOMPARE(s_->bench().Fixes().Count(), 3);
    QTRY_COMPARE(QApplication::focusWidget(), s_->list());
  }

  void enterOnAFixEditsItShiftEnterAddsAboveIt() {
    select(1);
    QString caption, name;
    s_->answers().then(noteAndCancelFixDialog(caption, name));
    s_->press(Qt::Key_Enter);  // the keypad's Enter as well
    QCOMPARE(caption, QStringLiteral(" Edit Fix"));
    QCOMPARE(name, QStringLiteral("BRAVO"));

    s_->answers().then(noteAndCancelFixDialog(caption, name));
    s_->press(Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(caption, QStringLiteral(" New Fix"));
    QCOMPARE(name, QString());
  }

  void enterOnAnEmptyDatabaseOpensNewFix() {
    s_->bench().ClearFixes();
    QString caption, name;
    s_->answers().then(noteAndCancelFixDialog(caption, name));
    s_->press(Qt::Key_Return);
    QCOMPARE(caption, QStringLiteral(" New Fix"));
  }

  void delOnTheBlankRowDoesNothing() {
    select(3);
    s_->press(Qt::Key_Delete);
    s_->press(Qt::Key_Delete, Qt::ShiftModifier);
    QVERIFY(s_->answers().seen().isEmpty());
    QCOMPARE(s_->bench().Fixes().Count(), 3);
    QVERIFY(!s_->controls().undeleteButton->isEnabled());
  }

  void delAsksFirst() {
    select(1);
    s_->answers().then(answerWith(Answer::No));
    s_->press(Qt::Key_Delete);
    QCOMPARE(s_->answers().seen(), QStringList{"ask: Delete fix BRAVO from the database?"});
    QCOMPARE(s_->fixNames(), (QStringList{"ALPHA", "BRAVO", "CHARLIE"}));
    QCOMPARE(s_->listRow(), 1);

    s_->answers().then(answerWith(Answer::Yes));
    s_->press(Qt::Key_Delete);
    QCOMPARE(s_->fixNames(), (QStringList{"ALPHA", "CHARLIE"}));
    // The fix that followed is current; the deleted one can come back.
    QCOMPARE(s_->listRow(), 1);
    QCOMPARE(s_->controls().fixCountLabel->text(), QStringLiteral("N = 2"));
    QVERIFY(s_->controls().undeleteButton->isEnabled());
  }

  void shiftDelDeletesWithoutAQuestion() {
    select(2);
    s_->press(Qt::Key_Delete, Qt::ShiftModifier);
    QVERIFY(s_->answers().seen().isEmpty());
    QCOMPARE(s_->fixNames(), (QStringList{"ALPHA", "BRAVO"}));
    QCOMPARE(s_->listRow(), 2);  // the blank row
  }

  void backspaceAsksBeforeTheShownRecordGoes() {
    QCOMPARE(s_->controls().recordNumberLabel->text(), QStringLiteral("3"));
    s_->press(Qt::Key_Left);
    QCOMPARE(s_->controls().recordNumberLabel->text(), QStringLiteral("2"));
    s_->answers().then(answerWith(Answer::No));
    s_->press(Qt::Key_Backspace);
    QCOMPARE(s_->answers().seen(), QStringList{"ask: Delete log record No. 2?"});
    QCOMPARE(s_->bench().Log().Count(), 3);

    s_->answers().then(answerWith(Answer::Yes));
    s_->press(Qt::Key_Backspace);
    QCOMPARE(s_->bench().Log().Count(), 2);
    // The record that followed, under the same number.
    QCOMPARE(s_->controls().recordNumberLabel->text(), QStringLiteral("2"));
    QCOMPARE(s_->logLines(), (QStringList{"third one", "", "(S) 3 km"}));
  }

  void shiftBackspaceDeletesWithoutAQuestion() {
    s_->press(Qt::Key_Backspace, Qt::ShiftModifier);
    s_->press(Qt::Key_Backspace, Qt::ShiftModifier);
    QVERIFY(s_->answers().seen().isEmpty());
    QCOMPARE(s_->bench().Log().Count(), 1);
    QCOMPARE(s_->logLines(), (QStringList{"first one", "", "(S) 1 km"}));
    s_->press(Qt::Key_Backspace, Qt::ShiftModifier);
    QCOMPARE(s_->controls().recordNumberLabel->text(), QStringLiteral("0"));
    QCOMPARE(s_->logLines(), (QStringList{"", "", ""}));
    // An empty log: nothing to ask about.
    s_->press(Qt::Key_Backspace);
    QVERIFY(s_->answers().seen().isEmpty());
  }

  void leftAndRightStepThroughTheLogAndNotTheList() {
    select(1);
    s_->press(Qt::Key_Left);
    s_->press(Qt::Key_Left);
    QCOMPARE(s_->controls().recordNumberLabel->text(), QStringLiteral("1"));
    QCOMPARE(s_->logLines().at(0), QStringLiteral("first one"));
    QVERIFY(!s_->controls().previousRecordButton->isEnabled());
    s_->press(Qt::Key_Left);
    QCOMPARE(s_->controls().recordNumberLabel->text(), QStringLiteral("1"));
    s_->press(Qt::Key_Right);
    QCOMPARE(s_->controls().recordNumberLabel->text(), QStringLiteral("2"));
    s_->press(Qt::Key_Right);
    s_->press(Qt::Key_Right);
    QCOMPARE(s_->controls().recordNumberLabel->text(), QStringLiteral("3"));
    QVERIFY(!s_->controls().nextRecordButton->isEnabled());
    QCOMPARE(s_->listRow(), 1);
    // From a fix button too; the focus goes back to the list.
    s_->controls().editButton->setFocus();
    QTest::keyClick(s_->controls().editButton, Qt::Key_Left);
    QCOMPARE(s_->controls().recordNumberLabel->text(), QStringLiteral("2"));
    QCOMPARE(QApplication::focusWidget(), s_->list());
  }

  void shiftUpAndDownMoveTheFixPlainArrowsTheSelection() {
    select(0);
    s_->press(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(s_->fixNames(), (QStringList{"BRAVO", "ALPHA", "CHARLIE"}));
    QCOMPARE(s_->listRow(), 1);
    s_->press(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(s_->fixNames(), (QStringList{"BRAVO", "CHARLIE", "ALPHA"}));
    QCOMPARE(s_->listRow(), 2);
    // The last fix cannot go below the blank row.
    s_->press(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(s_->fixNames(), (QStringList{"BRAVO", "CHARLIE", "ALPHA"}));
    QCOMPARE(s_->listRow(), 2);
    s_->press(Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(s_->fixNames(), (QStringList{"BRAVO", "ALPHA", "CHARLIE"}));
    QCOMPARE(s_->listRow(), 1);
    QCOMPARE(s_->rows().at(1).left(5), QStringLiteral("ALPHA"));
    s_->press(Qt::Key_Up);
    QCOMPARE(s_->listRow(), 0);
    QCOMPARE(s_->bench().CurrentRow(), 0);
    s_->press(Qt::Key_Down);
    s_->press(Qt::Key_Down);
    s_->press(Qt::Key_Down);
    QCOMPARE(s_->bench().CurrentRow(), 3);
    // Shift+Up on the blank row moves nothing.
    s_->press(Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(s_->fixNames(), (QStringList{"BRAVO", "ALPHA", "CHARLIE"}));
  }

  void insAddsAboveTheCurrentRowShiftInsUndeletes() {
    select(1);
    s_->answers().then([](QWidget* modal) {
      auto* dialog = qobject_cast<FixDialog*>(modal);
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->windowTitle(), QStringLiteral(" New Fix"));
      type(QStringLiteral("delta"));
      key(Qt::Key_Tab);
      type(QStringLiteral("45n"));
      key(Qt::Key_Tab);
      type(QStringLiteral("7e"));
      key(Qt::Key_Return);
    });
    s_->press(Qt::Key_Insert);
    QCOMPARE(s_->fixNames(), (QStringList{"ALPHA", "DELTA", "BRAVO", "CHARLIE"}));
    QCOMPARE(s_->listRow(), 1);

    s_->press(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(s_->fixNames(), (QStringList{"ALPHA", "BRAVO", "CHARLIE"}));
    select(3);
    s_->press(Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(s_->fixNames(), (QStringList{"ALPHA", "BRAVO", "CHARLIE", "DELTA"}));
    QVERIFY(!s_->controls().undeleteButton->isEnabled());
    // Nothing left to undelete: Shift+Ins does nothing, and asks nothing.
    s_->press(Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(s_->bench().Fixes().Count(), 4);
    QCOMPARE(s_->answers().seen(), QStringList{"fix: New Fix"});
    // Any other Ins, Ctrl+Ins included, is Add.
    s_->answers().then([](QWidget* modal) {
      QVERIFY(qobject_cast<FixDialog*>(modal) != nullptr);
      key(Qt::Key_Escape);
      key(Qt::Key_Escape);
    });
    s_->press(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(s_->answers().seen(), (QStringList{"fix: New Fix", "fix: New Fix"}));
    QCOMPARE(s_->bench().Fixes().Count(), 4);
  }

  void keysAreTheWindowsWhateverControlHasTheFocus() {
    select(0);
    QPushButton* down = s_->controls().moveDownButton;
    down->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), down);
    // Space or Enter would press the button; the window takes Enter first.
    QString caption, name;
    s_->answers().then(noteAndCancelFixDialog(caption, name));
    QTest::keyClick(down, Qt::Key_Return);
    QCOMPARE(caption, QStringLiteral(" Edit Fix"));
    QCOMPARE(name, QStringLiteral("ALPHA"));
    QCOMPARE(s_->fixNames(), (QStringList{"ALPHA", "BRAVO", "CHARLIE"}));
    QTRY_COMPARE(QApplication::focusWidget(), s_->list());
  }
};

QTEST_MAIN(KeysTest)
#include "keys_test.moc"
