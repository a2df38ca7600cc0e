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
TModalAnswers::TStep NoteAndCancelFixDialog(QString& Caption, QString& Name) {
  return [&Caption, &Name](QWidget* Modal) {
    auto* dialog = qobject_cast<TFixInp*>(Modal);
    if (dialog == nullptr) return;
    Caption = dialog->windowTitle();
    Name = dialog->Field(1)->text();
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
  };
}

}  // namespace

class KeysTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TSession> s_;

  void Select(int Row) {
    s_->Select(Row);
    QCOMPARE(s_->Bench().CurrentRow(), Row);
  }

 private slots:
  void initTestCase() { QApplication::setStyle(new TNavorixStyle); }

  void init() {
    s_ = std::make_unique<TSession>();
    QVERIFY(s_->Start(Fixes, History));
  }
  void cleanup() {
    s_->VerifyAllAnswered();
    s_.reset();
  }

  void EnterOnTheBlankRowOpensNewFix() {
    Select(3);
    QString caption, name;
    s_->Answers().Then(NoteAndCancelFixDialog(caption, name));
    s_->Press(Qt::Key_Return);
    QCOMPARE(s_->Answers().Seen(), QStringList{"fix: New Fix"});
    QCOMPARE(caption, QStringLiteral(" New Fix"));
    QCOMPARE(name, QString());
    QCOMPARE(s_->Bench().Fixes().Count(), 3);
    QTRY_COMPARE(QApplication::focusWidget(), s_->List());
  }

  void EnterOnAFixEditsItShiftEnterAddsAboveIt() {
    Select(1);
    QString caption, name;
    s_->Answers().Then(NoteAndCancelFixDialog(caption, name));
    s_->Press(Qt::Key_Enter);  // the keypad's Enter as well
    QCOMPARE(caption, QStringLiteral(" Edit Fix"));
    QCOMPARE(name, QStringLiteral("BRAVO"));

    s_->Answers().Then(NoteAndCancelFixDialog(caption, name));
    s_->Press(Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(caption, QStringLiteral(" New Fix"));
    QCOMPARE(name, QString());
  }

  void EnterOnAnEmptyDatabaseOpensNewFix() {
    s_->Bench().ClearFixes();
    QString caption, name;
    s_->Answers().Then(NoteAndCancelFixDialog(caption, name));
    s_->Press(Qt::Key_Return);
    QCOMPARE(caption, QStringLiteral(" New Fix"));
  }

  void DelOnTheBlankRowDoesNothing() {
    Select(3);
    s_->Press(Qt::Key_Delete);
    s_->Press(Qt::Key_Delete, Qt::ShiftModifier);
    QVERIFY(s_->Answers().Seen().isEmpty());
    QCOMPARE(s_->Bench().Fixes().Count(), 3);
    QVERIFY(!s_->Controls().xUndel->isEnabled());
  }

  void DelAsksFirst() {
    Select(1);
    s_->Answers().Then(Answer(TAnswer::No));
    s_->Press(Qt::Key_Delete);
    QCOMPARE(s_->Answers().Seen(), QStringList{"ask: Delete fix BRAVO from the database?"});
    QCOMPARE(s_->FixNames(), (QStringList{"ALPHA", "BRAVO", "CHARLIE"}));
    QCOMPARE(s_->ListRow(), 1);

    s_->Answers().Then(Answer(TAnswer::Yes));
    s_->Press(Qt::Key_Delete);
    QCOMPARE(s_->FixNames(), (QStringList{"ALPHA", "CHARLIE"}));
    // The fix that followed is current; the deleted one can come back.
    QCOMPARE(s_->ListRow(), 1);
    QCOMPARE(s_->Controls().xNoFix->text(), QStringLiteral("N = 2"));
    QVERIFY(s_->Controls().xUndel->isEnabled());
  }

  void ShiftDelDeletesWithoutAQuestion() {
    Select(2);
    s_->Press(Qt::Key_Delete, Qt::ShiftModifier);
    QVERIFY(s_->Answers().Seen().isEmpty());
    QCOMPARE(s_->FixNames(), (QStringList{"ALPHA", "BRAVO"}));
    QCOMPARE(s_->ListRow(), 2);  // the blank row
  }

  void BackspaceAsksBeforeTheShownRecordGoes() {
    QCOMPARE(s_->Controls().xLinePan->text(), QStringLiteral("3"));
    s_->Press(Qt::Key_Left);
    QCOMPARE(s_->Controls().xLinePan->text(), QStringLiteral("2"));
    s_->Answers().Then(Answer(TAnswer::No));
    s_->Press(Qt::Key_Backspace);
    QCOMPARE(s_->Answers().Seen(), QStringList{"ask: Delete log record No. 2?"});
    QCOMPARE(s_->Bench().Log().Count(), 3);

    s_->Answers().Then(Answer(TAnswer::Yes));
    s_->Press(Qt::Key_Backspace);
    QCOMPARE(s_->Bench().Log().Count(), 2);
    // The record that followed, under the same number.
    QCOMPARE(s_->Controls().xLinePan->text(), QStringLiteral("2"));
    QCOMPARE(s_->LogLines(), (QStringList{"third one", "", "(S) 3 km"}));
  }

  void ShiftBackspaceDeletesWithoutAQuestion() {
    s_->Press(Qt::Key_Backspace, Qt::ShiftModifier);
    s_->Press(Qt::Key_Backspace, Qt::ShiftModifier);
    QVERIFY(s_->Answers().Seen().isEmpty());
    QCOMPARE(s_->Bench().Log().Count(), 1);
    QCOMPARE(s_->LogLines(), (QStringList{"first one", "", "(S) 1 km"}));
    s_->Press(Qt::Key_Backspace, Qt::ShiftModifier);
    QCOMPARE(s_->Controls().xLinePan->text(), QStringLiteral("0"));
    QCOMPARE(s_->LogLines(), (QStringList{"", "", ""}));
    // An empty log: nothing to ask about.
    s_->Press(Qt::Key_Backspace);
    QVERIFY(s_->Answers().Seen().isEmpty());
  }

  void LeftAndRightStepThroughTheLogAndNotTheList() {
    Select(1);
    s_->Press(Qt::Key_Left);
    s_->Press(Qt::Key_Left);
    QCOMPARE(s_->Controls().xLinePan->text(), QStringLiteral("1"));
    QCOMPARE(s_->LogLines().at(0), QStringLiteral("first one"));
    QVERIFY(!s_->Controls().xLineUp->isEnabled());
    s_->Press(Qt::Key_Left);
    QCOMPARE(s_->Controls().xLinePan->text(), QStringLiteral("1"));
    s_->Press(Qt::Key_Right);
    QCOMPARE(s_->Controls().xLinePan->text(), QStringLiteral("2"));
    s_->Press(Qt::Key_Right);
    s_->Press(Qt::Key_Right);
    QCOMPARE(s_->Controls().xLinePan->text(), QStringLiteral("3"));
    QVERIFY(!s_->Controls().xLineDown->isEnabled());
    QCOMPARE(s_->ListRow(), 1);
    // From a fix button too; the focus goes back to the list.
    s_->Controls().xEdit->setFocus();
    QTest::keyClick(s_->Controls().xEdit, Qt::Key_Left);
    QCOMPARE(s_->Controls().xLinePan->text(), QStringLiteral("2"));
    QCOMPARE(QApplication::focusWidget(), s_->List());
  }

  void ShiftUpAndDownMoveTheFixPlainArrowsTheSelection() {
    Select(0);
    s_->Press(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(s_->FixNames(), (QStringList{"BRAVO", "ALPHA", "CHARLIE"}));
    QCOMPARE(s_->ListRow(), 1);
    s_->Press(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(s_->FixNames(), (QStringList{"BRAVO", "CHARLIE", "ALPHA"}));
    QCOMPARE(s_->ListRow(), 2);
    // The last fix cannot go below the blank row.
    s_->Press(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(s_->FixNames(), (QStringList{"BRAVO", "CHARLIE", "ALPHA"}));
    QCOMPARE(s_->ListRow(), 2);
    s_->Press(Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(s_->FixNames(), (QStringList{"BRAVO", "ALPHA", "CHARLIE"}));
    QCOMPARE(s_->ListRow(), 1);
    QCOMPARE(s_->Rows().at(1).left(5), QStringLiteral("ALPHA"));
    s_->Press(Qt::Key_Up);
    QCOMPARE(s_->ListRow(), 0);
    QCOMPARE(s_->Bench().CurrentRow(), 0);
    s_->Press(Qt::Key_Down);
    s_->Press(Qt::Key_Down);
    s_->Press(Qt::Key_Down);
    QCOMPARE(s_->Bench().CurrentRow(), 3);
    // Shift+Up on the blank row moves nothing.
    s_->Press(Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(s_->FixNames(), (QStringList{"BRAVO", "ALPHA", "CHARLIE"}));
  }

  void InsAddsAboveTheCurrentRowShiftInsUndeletes() {
    Select(1);
    s_->Answers().Then([](QWidget* Modal) {
      auto* dialog = qobject_cast<TFixInp*>(Modal);
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->windowTitle(), QStringLiteral(" New Fix"));
      Type(QStringLiteral("delta"));
      Key(Qt::Key_Tab);
      Type(QStringLiteral("45n"));
      Key(Qt::Key_Tab);
      Type(QStringLiteral("7e"));
      Key(Qt::Key_Return);
    });
    s_->Press(Qt::Key_Insert);
    QCOMPARE(s_->FixNames(), (QStringList{"ALPHA", "DELTA", "BRAVO", "CHARLIE"}));
    QCOMPARE(s_->ListRow(), 1);

    s_->Press(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(s_->FixNames(), (QStringList{"ALPHA", "BRAVO", "CHARLIE"}));
    Select(3);
    s_->Press(Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(s_->FixNames(), (QStringList{"ALPHA", "BRAVO", "CHARLIE", "DELTA"}));
    QVERIFY(!s_->Controls().xUndel->isEnabled());
    // Nothing left to undelete: Shift+Ins does nothing, and asks nothing.
    s_->Press(Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(s_->Bench().Fixes().Count(), 4);
    QCOMPARE(s_->Answers().Seen(), QStringList{"fix: New Fix"});
    // Any other Ins, Ctrl+Ins included, is Add.
    s_->Answers().Then([](QWidget* Modal) {
      QVERIFY(qobject_cast<TFixInp*>(Modal) != nullptr);
      Key(Qt::Key_Escape);
      Key(Qt::Key_Escape);
    });
    s_->Press(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(s_->Answers().Seen(), (QStringList{"fix: New Fix", "fix: New Fix"}));
    QCOMPARE(s_->Bench().Fixes().Count(), 4);
  }

  void KeysAreTheWindowsWhateverControlHasTheFocus() {
    Select(0);
    QPushButton* down = s_->Controls().xDown;
    down->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), down);
    // Space or Enter would press the button; the window takes Enter first.
    QString caption, name;
    s_->Answers().Then(NoteAndCancelFixDialog(caption, name));
    QTest::keyClick(down, Qt::Key_Return);
    QCOMPARE(caption, QStringLiteral(" Edit Fix"));
    QCOMPARE(name, QStringLiteral("ALPHA"));
    QCOMPARE(s_->FixNames(), (QStringList{"ALPHA", "BRAVO", "CHARLIE"}));
    QTRY_COMPARE(QApplication::focusWidget(), s_->List());
  }
};

QTEST_MAIN(KeysTest)
#include "keys_test.moc"
