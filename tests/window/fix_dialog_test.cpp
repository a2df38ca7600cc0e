// The fix input dialog driven by keys: what each field lets through, the
// red marks and their 200 ms flash, a name in use, the position kept when
// the coordinates are left as shown, and where a proposed fix goes.
#include "session_support.h"

#include <QElapsedTimer>

using namespace navorix;
using namespace navorix::test;

namespace {

// Coordinates with more digits than any display accuracy shows.
constexpr const char* Fixes =
    "10.123456789 20.987654321 ALPHA\r\n"
    "-33.3333333333 151.2222222222 BRAVO\r\n";

bool SameBits(const TTriV& A, const TTriV& B) { return A.x == B.x && A.y == B.y && A.z == B.z; }

}  // namespace

class FixDialogTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TSession> s_;

 private slots:
  void initTestCase() { QApplication::setStyle(new TNavorixStyle); }

  void init() {
    s_ = std::make_unique<TSession>();
    QVERIFY(s_->Start(Fixes));
  }
  void cleanup() {
    s_->VerifyAllAnswered();
    s_.reset();
  }

  void EachFieldTakesItsOwnCharacters() {
    s_->Select(2);
    QStringList shown;
    s_->Answers().Then([&shown](QWidget* Modal) {
      auto* d = qobject_cast<TFixInp*>(Modal);
      QVERIFY(d != nullptr);
      QCOMPARE(QApplication::focusWidget(), d->Field(1));
      // Capitals; a blank, a degree sign and a comma are no name characters.
      Type(QStringLiteral("new fix,d"));
      Key(Qt::Key_D, Qt::ControlModifier);
      shown << d->Field(1)->text();
      Key(Qt::Key_Tab);
      // D is the degree sign; a small n is N; E belongs to longitudes.
      Type(QStringLiteral("29d33'10\"n"));
      Type(QStringLiteral("Ee wW"));
      shown << d->Field(2)->text();
      Key(Qt::Key_Tab);
      Type(QStringLiteral("-12"));
      Key(Qt::Key_D, Qt::ControlModifier);
      Type(QStringLiteral("5.5'snw"));
      shown << d->Field(3)->text();
      // The buttons are not in the Tab order.
      Key(Qt::Key_Tab);
      shown << QApplication::focusWidget()->objectName();
      Key(Qt::Key_Escape);  // clears the name
      shown << d->Field(1)->text();
      Key(Qt::Key_Escape);  // cancels
    });
    s_->Press(Qt::Key_Insert);
    QCOMPARE(shown, (QStringList{"NEWFIXD", QString::fromUtf8("29°33'10\"N"),
                                 QString::fromUtf8("-12°5.5'W"), "xEName", ""}));
    QCOMPARE(s_->Bench().Fixes().Count(), 2);
  }

  void SixteenCharactersAtMost() {
    s_->Answers().Then([](QWidget* Modal) {
      auto* d = qobject_cast<TFixInp*>(Modal);
      Type(QStringLiteral("ABCDEFGHIJKLMNOPQR"));
      QCOMPARE(d->Field(1)->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
      Key(Qt::Key_Tab);
      // The degree sign that the filter puts in counts as well.
      Type(QStringLiteral("12.3456789012345d"));
      QCOMPARE(d->Field(2)->text(), QStringLiteral("12.3456789012345"));
      Key(Qt::Key_Escape);
      Key(Qt::Key_Escape);
    });
    s_->Press(Qt::Key_Insert);
  }

  void BadFieldsTurnRedAndTheFirstGetsTheFocusAfter200Ms() {
    s_->Select(2);
    QElapsedTimer since_ok;
    QList<QColor> at_ok, after_flash;
    int focus_after = 0;
    QString selected;
    s_->Answers().Then([&](QWidget* Modal) {
      auto* d = qobject_cast<TFixInp*>(Modal);
      Type(QStringLiteral("GOOD"));
      Key(Qt::Key_Tab);
      // One minute digit; a number with two points.
      Type(QStringLiteral("29d3N"));
      Key(Qt::Key_Tab);
      Type(QStringLiteral("1.2.3E"));
      since_ok.start();
      Key(Qt::Key_Return);
      for (int n = 1; n <= 3; ++n) at_ok << Ground(d->Field(n));
      // The caret stands after the text, nothing selected.
      QCOMPARE(d->Field(2)->cursorPosition(), 5);
      QVERIFY(!d->Field(2)->hasSelectedText());
      QVERIFY(d->isVisible());
      QTRY_VERIFY_WITH_TIMEOUT(Ground(d->Field(2)) != Red, 3000);
      for (int n = 1; n <= 3; ++n) after_flash << Ground(d->Field(n));
      for (int n = 1; n <= 3; ++n) {
        if (QApplication::focusWidget() == d->Field(n)) focus_after = n;
      }
      selected = d->Field(2)->selectedText();
      // Mended, the fix is taken.
      Type(QStringLiteral("45N"));
      Key(Qt::Key_Tab);
      Type(QStringLiteral("7E"));
      Key(Qt::Key_Return);
    });
    s_->Press(Qt::Key_Insert);
    QCOMPARE(at_ok, (QList<QColor>{Normal, Red, Red}));
    QVERIFY2(since_ok.elapsed() >= 180, "the flash came early");
    QCOMPARE(after_flash, (QList<QColor>{Normal, White, Normal}));
    QCOMPARE(focus_after, 2);
    QCOMPARE(selected, QString::fromUtf8("29°3N"));
    QCOMPARE(s_->Bench().Fixes().Count(), 3);
    QCOMPARE(s_->FixName(3), QStringLiteral("GOOD"));
  }

  void AnEmptyNameIsTheFirstBadField() {
    int focus_after = 0;
    s_->Answers().Then([&](QWidget* Modal) {
      auto* d = qobject_cast<TFixInp*>(Modal);
      Key(Qt::Key_Tab);
      Type(QStringLiteral("x"));  // dropped: the latitude stays empty
      Key(Qt::Key_Tab);
      Type(QStringLiteral("1E"));
      Key(Qt::Key_Return);
      QCOMPARE(Ground(d->Field(1)), Red);
      QCOMPARE(Ground(d->Field(2)), Red);
      QCOMPARE(Ground(d->Field(3)), White);
      QTRY_COMPARE(Ground(d->Field(1)), White);
      QCOMPARE(Ground(d->Field(2)), Normal);
      if (QApplication::focusWidget() == d->Field(1)) focus_after = 1;
      QTest::mouseClick(d->CancelButton(), Qt::LeftButton);
    });
    s_->Press(Qt::Key_Insert);
    QCOMPARE(focus_after, 1);
    QCOMPARE(s_->Bench().Fixes().Count(), 2);
  }

  void ANameInUseIsShownAndNothingTurnsRed() {
    QList<QColor> grounds;
    s_->Answers().Then([&](QWidget* Modal) {
      auto* d = qobject_cast<TFixInp*>(Modal);
      // In use even with a latitude that does not read.
      Type(QStringLiteral("bravo"));
      Key(Qt::Key_Tab);
      Type(QStringLiteral("29d3"));
      Key(Qt::Key_Return);
      QTRY_VERIFY(QApplication::activeWindow() == d);
      for (int n = 1; n <= 3; ++n) grounds << Ground(d->Field(n));
      // Another name: the latitude is checked now.
      QTest::mouseClick(d->Field(1), Qt::LeftButton);
      d->Field(1)->selectAll();
      Type(QStringLiteral("CHARLIE"));
      Key(Qt::Key_Return);
      QCOMPARE(Ground(d->Field(2)), Red);
      QTest::mouseClick(d->Field(2), Qt::LeftButton);
      d->Field(2)->selectAll();
      Type(QStringLiteral("5S"));
      Key(Qt::Key_Tab);
      Type(QStringLiteral("5W"));
      Key(Qt::Key_Return);
    });
    s_->Answers().Then(CloseErrorBox());
    s_->Press(Qt::Key_Insert);
    QCOMPARE(s_->Answers().Seen(), (QStringList{"fix: New Fix", "error: This fix name is already in use"}));
    QCOMPARE(grounds.size(), 3);
    QVERIFY(!grounds.contains(Red));
    QCOMPARE(s_->Bench().Fixes().Count(), 3);
    // Above the current row, the first.
    QCOMPARE(s_->Rows().at(0).left(7), QStringLiteral("CHARLIE"));
  }

  void AnEditedFixMayKeepItsNameButNotTakeAnother() {
    s_->Select(1);
    QString title;
    s_->Answers().Then([&title](QWidget* Modal) {
      auto* d = qobject_cast<TFixInp*>(Modal);
      title = d->windowTitle();
      Type(QStringLiteral("ALPHA"));
      Key(Qt::Key_Return);
      // Back from the error box: the dialog is still open with its texts.
      QTRY_VERIFY(QApplication::activeWindow() == d);
      QCOMPARE(d->Field(1)->text(), QStringLiteral("ALPHA"));
      Key(Qt::Key_Escape);
      QCOMPARE(d->Field(1)->text(), QString());
      Type(QStringLiteral("BRAVO"));
      Key(Qt::Key_Return);
    });
    s_->Answers().Then(CloseErrorBox());
    s_->Press(Qt::Key_Return);
    QCOMPARE(title, QStringLiteral(" Edit Fix"));
    QCOMPARE(s_->Answers().Seen(), (QStringList{"fix: Edit Fix", "error: This fix name is already in use"}));
    QCOMPARE(s_->Bench().Fixes().Count(), 2);
    QCOMPARE(s_->FixName(2), QStringLiteral("BRAVO"));
  }

  void ChangingOnlyTheNameKeepsThePositionBitForBit() {
    const TTriV alpha = s_->Bench().Fixes().Get(1).Position;
    s_->Select(0);
    QStringList prefilled;
    s_->Answers().Then([&](QWidget* Modal) {
      auto* d = qobject_cast<TFixInp*>(Modal);
      for (int n = 1; n <= 3; ++n) prefilled << d->Field(n)->text();
      QCOMPARE(d->Field(1)->selectedText(), QStringLiteral("ALPHA"));
      Type(QStringLiteral("ALPHA1"));
      Key(Qt::Key_Return);
    });
    s_->Press(Qt::Key_Return);
    QCOMPARE(prefilled, (QStringList{"ALPHA", QString::fromUtf8("10.12°N"), QString::fromUtf8("20.99°E")}));
    QCOMPARE(s_->FixName(1), QStringLiteral("ALPHA1"));
    QVERIFY(SameBits(s_->Bench().Fixes().Get(1).Position, alpha));

    // The same latitude typed in another format is a typed position.
    s_->Answers().Then([](QWidget*) {
      Key(Qt::Key_Tab);
      Type(QStringLiteral("10d07.4074'N"));
      Key(Qt::Key_Return);
    });
    s_->Press(Qt::Key_Return);
    const TTriV retyped = s_->Bench().Fixes().Get(1).Position;
    QVERIFY(!SameBits(retyped, alpha));
    QVERIFY(s_->Rows().at(0).contains(QString::fromUtf8("10.12°N")));
  }

  void ANewFixAboveARowTakesThePendingFixOneAtTheEndLeavesIt() {
    // A midpoint proposes a fix.
    s_->Answers().Then(FillOperands({"al ", "br "}));
    QTest::mouseClick(s_->OpButton(TOpTag::Midpoint), Qt::LeftButton);
    QVERIFY(s_->Bench().PendingFix().Valid);
    const TTriV mid = s_->Bench().PendingFix().Position;

    // Stored above ALPHA under a name of its own: the proposal is used up.
    s_->Select(0);
    QStringList prefilled;
    const auto note_and = [&prefilled](std::function<void()> Then) {
      return [&prefilled, Then](QWidget* Modal) {
        auto* d = qobject_cast<TFixInp*>(Modal);
        prefilled.clear();
        for (int n = 1; n <= 3; ++n) prefilled << d->Field(n)->text();
        Then();
      };
    };
    s_->Answers().Then(note_and([] {
      Type(QStringLiteral("MID1"));
      Key(Qt::Key_Return);
    }));
    s_->Press(Qt::Key_Insert);
    QCOMPARE(prefilled.at(0), QStringLiteral("MIDPOINT/NEW"));
    QCOMPARE(s_->FixName(1), QStringLiteral("MID1"));
    QVERIFY(SameBits(s_->Bench().Fixes().Get(1).Position, mid));
    QVERIFY(!s_->Bench().PendingFix().Valid);
    s_->Answers().Then(note_and([] { Key(Qt::Key_Escape); }));
    s_->Press(Qt::Key_Insert);
    QCOMPARE(prefilled, (QStringList{"", "", ""}));

    // Another midpoint, stored at the end under its proposed name: the
    // proposal stays and comes again with the next new fix, whose name is
    // then in use.
    s_->Answers().Then(FillOperands({"ALPHA", "BRAVO"}));
    QTest::mouseClick(s_->OpButton(TOpTag::Midpoint), Qt::LeftButton);
    s_->Select(3);
    s_->Answers().Then(note_and([] { Key(Qt::Key_Return); }));
    s_->Press(Qt::Key_Return);
    QCOMPARE(s_->Bench().Fixes().Count(), 4);
    QCOMPARE(s_->FixName(4), QStringLiteral("MIDPOINT/NEW"));
    QVERIFY(s_->Bench().PendingFix().Valid);
    QVERIFY(SameBits(s_->Bench().Fixes().Get(4).Position, s_->Bench().PendingFix().Position));
    const QStringList first_prefill = prefilled;
    s_->Select(4);
    s_->Answers().Then(note_and([] {
      Key(Qt::Key_Return);
      Key(Qt::Key_Escape);
      Key(Qt::Key_Escape);
    }));
    s_->Answers().Then(CloseErrorBox());
    s_->Press(Qt::Key_Insert);
    QCOMPARE(prefilled, first_prefill);
    QCOMPARE(s_->Answers().Seen().last(), QStringLiteral("error: This fix name is already in use"));
    QCOMPARE(s_->Bench().Fixes().Count(), 4);
    QVERIFY(s_->Bench().PendingFix().Valid);
  }
};

QTEST_MAIN(FixDialogTest)
#include "fix_dialog_test.moc"
