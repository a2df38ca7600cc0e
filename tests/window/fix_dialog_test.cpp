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

bool sameBits(const Vector3& A, const Vector3& B) { return A.x == B.x && A.y == B.y && A.z == B.z; }

}  // namespace

class FixDialogTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Session> s_;

 private slots:
  void initTestCase() { QApplication::setStyle(new NavorixStyle); }

  void init() {
    s_ = std::make_unique<Session>();
    QVERIFY(s_->start(Fixes));
  }
  void cleanup() {
    s_->verifyAllAnswered();
    s_.reset();
  }

  void eachFieldTakesItsOwnCharacters() {
    s_->select(2);
    QStringList shown;
    s_->answers().then([&shown](QWidget* modal) {
      auto* d = qobject_cast<FixDialog*>(modal);
      QVERIFY(d != nullptr);
      QCOMPARE(QApplication::focusWidget(), d->fieldAt(1));
      // Capitals; a blank, a degree sign and a comma are no name characters.
      type(QStringLiteral("new fix,d"));
      key(Qt::Key_D, Qt::ControlModifier);
      shown << d->fieldAt(1)->text();
      key(Qt::Key_Tab);
      // D is the degree sign; a small n is N; E belongs to longitudes.
      type(QStringLiteral("29d33'10\"n"));
      type(QStringLiteral("Ee wW"));
      shown << d->fieldAt(2)->text();
      key(Qt::Key_Tab);
      type(QStringLiteral("-12"));
      key(Qt::Key_D, Qt::ControlModifier);
      type(QStringLiteral("5.5'snw"));
      shown << d->fieldAt(3)->text();
      // The buttons are not in the Tab order.
      key(Qt::Key_Tab);
      shown << QApplication::focusWidget()->objectName();
      key(Qt::Key_Escape);  // clears the name
      shown << d->fieldAt(1)->text();
      key(Qt::Key_Escape);  // cancels
    });
    s_->press(Qt::Key_Insert);
    QCOMPARE(shown, (QStringList{"NEWFIXD", QString::fromUtf8("29°33'10\"N"), QString::fromUtf8("-12°5.5'W"),
                                 "fixNameField", ""}));
    QCOMPARE(s_->bench().Fixes().Count(), 2);
  }

  void sixteenCharactersAtMost() {
    s_->answers().then([](QWidget* modal) {
      auto* d = qobject_cast<FixDialog*>(modal);
      type(QStringLiteral("ABCDEFGHIJKLMNOPQR"));
      QCOMPARE(d->fieldAt(1)->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
      key(Qt::Key_Tab);
      // The degree sign that the filter puts in counts as well.
      type(QStringLiteral("12.3456789012345d"));
      QCOMPARE(d->fieldAt(2)->text(), QStringLiteral("12.3456789012345"));
      key(Qt::Key_Escape);
      key(Qt::Key_Escape);
    });
    s_->press(Qt::Key_Insert);
  }

  void badFieldsTurnRedAndTheFirstGetsTheFocusAfter200Ms() {
    s_->select(2);
    QElapsedTimer sinceOk;
    QList<QColor> atOk, afterFlash;
    int focusAfter = 0;
    QString selected;
    s_->answers().then([&](QWidget* modal) {
      auto* d = qobject_cast<FixDialog*>(modal);
      type(QStringLiteral("GOOD"));
      key(Qt::Key_Tab);
      // One minute digit; a number with two points.
      type(QStringLiteral("29d3N"));
      key(Qt::Key_Tab);
      type(QStringLiteral("1.2.3E"));
      sinceOk.start();
      key(Qt::Key_Return);
      for (int n = 1; n <= 3; ++n) atOk << ground(d->fieldAt(n));
      // The caret stands after the text, nothing selected.
      QCOMPARE(d->fieldAt(2)->cursorPosition(), 5);
      QVERIFY(!d->fieldAt(2)->hasSelectedText());
      QVERIFY(d->isVisible());
      QTRY_VERIFY_WITH_TIMEOUT(ground(d->fieldAt(2)) != Red, 3000);
      for (int n = 1; n <= 3; ++n) afterFlash << ground(d->fieldAt(n));
      for (int n = 1; n <= 3; ++n) {
        if (QApplication::focusWidget() == d->fieldAt(n)) focusAfter = n;
      }
      selected = d->fieldAt(2)->selectedText();
      // Mended, the fix is taken.
      type(QStringLiteral("45N"));
      key(Qt::Key_Tab);
      type(QStringLiteral("7E"));
      key(Qt::Key_Return);
    });
    s_->press(Qt::Key_Insert);
    QCOMPARE(atOk, (QList<QColor>{Normal, Red, Red}));
    QVERIFY2(sinceOk.elapsed() >= 180, "the flash came early");
    QCOMPARE(afterFlash, (QList<QColor>{Normal, White, Normal}));
    QCOMPARE(focusAfter, 2);
    QCOMPARE(selected, QString::fromUtf8("29°3N"));
    QCOMPARE(s_->bench().Fixes().Count(), 3);
    QCOMPARE(s_->fixName(3), QStringLiteral("GOOD"));
  }

  void anEmptyNameIsTheFirstBadField() {
    int focusAfter = 0;
    s_->answers().then([&](QWidget* modal) {
      auto* d = qobject_cast<FixDialog*>(modal);
      key(Qt::Key_Tab);
      type(QStringLiteral("x"));  // dropped: the latitude stays empty
      key(Qt::Key_Tab);
      type(QStringLiteral("1E"));
      key(Qt::Key_Return);
      QCOMPARE(ground(d->fieldAt(1)), Red);
      QCOMPARE(ground(d->fieldAt(2)), Red);
      QCOMPARE(ground(d->fieldAt(3)), White);
      QTRY_COMPARE(ground(d->fieldAt(1)), White);
      QCOMPARE(ground(d->fieldAt(2)), Normal);
      if (QApplication::focusWidget() == d->fieldAt(1)) focusAfter = 1;
      QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
    });
    s_->press(Qt::Key_Insert);
    QCOMPARE(focusAfter, 1);
    QCOMPARE(s_->bench().Fixes().Count(), 2);
  }

  void aNameInUseIsShownAndNothingTurnsRed() {
    QList<QColor> grounds;
    s_->answers().then([&](QWidget* modal) {
      auto* d = qobject_cast<FixDialog*>(modal);
      // In use even with a latitude that does not read.
      type(QStringLiteral("bravo"));
      key(Qt::Key_Tab);
      type(QStringLiteral("29d3"));
      key(Qt::Key_Return);
      QTRY_VERIFY(QApplication::activeWindow() == d);
      for (int n = 1; n <= 3; ++n) grounds << ground(d->fieldAt(n));
      // Another name: the latitude is checked now.
      QTest::mouseClick(d->fieldAt(1), Qt::LeftButton);
      d->fieldAt(1)->selectAll();
      type(QStringLiteral("CHARLIE"));
      key(Qt::Key_Return);
      QCOMPARE(ground(d->fieldAt(2)), Red);
      QTest::mouseClick(d->fieldAt(2), Qt::LeftButton);
      d->fieldAt(2)->selectAll();
      type(QStringLiteral("5S"));
      key(Qt::Key_Tab);
      type(QStringLiteral("5W"));
      key(Qt::Key_Return);
    });
    s_->answers().then(closeErrorBox());
    s_->press(Qt::Key_Insert);
    QCOMPARE(s_->answers().seen(), (QStringList{"fix: New Fix", "error: This fix name is already in use"}));
    QCOMPARE(grounds.size(), 3);
    QVERIFY(!grounds.contains(Red));
    QCOMPARE(s_->bench().Fixes().Count(), 3);
    // Above the current row, the first.
    QCOMPARE(s_->rows().at(0).left(7), QStringLiteral("CHARLIE"));
  }

  void anEditedFixMayKeepItsNameButNotTakeAnother() {
    s_->select(1);
    QString title;
    s_->answers().then([&title](QWidget* modal) {
      auto* d = qobject_cast<FixDialog*>(modal);
      title = d->windowTitle();
      type(QStringLiteral("ALPHA"));
      key(Qt::Key_Return);
      // Back from the error box: the dialog is still open with its texts.
      QTRY_VERIFY(QApplication::activeWindow() == d);
      QCOMPARE(d->fieldAt(1)->text(), QStringLiteral("ALPHA"));
      key(Qt::Key_Escape);
      QCOMPARE(d->fieldAt(1)->text(), QString());
      type(QStringLiteral("BRAVO"));
      key(Qt::Key_Return);
    });
    s_->answers().then(closeErrorBox());
    s_->press(Qt::Key_Return);
    QCOMPARE(title, QStringLiteral(" Edit Fix"));
    QCOMPARE(s_->answers().seen(), (QStringList{"fix: Edit Fix", "error: This fix name is already in use"}));
    QCOMPARE(s_->bench().Fixes().Count(), 2);
    QCOMPARE(s_->fixName(2), QStringLiteral("BRAVO"));
  }

  void changingOnlyTheNameKeepsThePositionBitForBit() {
    const Vector3 alpha = s_->bench().Fixes().Get(1).position;
    s_->select(0);
    QStringList prefilled;
    s_->answers().then([&](QWidget* modal) {
      auto* d = qobject_cast<FixDialog*>(modal);
      for (int n = 1; n <= 3; ++n) prefilled << d->fieldAt(n)->text();
      QCOMPARE(d->fieldAt(1)->selectedText(), QStringLiteral("ALPHA"));
      type(QStringLiteral("ALPHA1"));
      key(Qt::Key_Return);
    });
    s_->press(Qt::Key_Return);
    QCOMPARE(prefilled, (QStringList{"ALPHA", QString::fromUtf8("10.12°N"), QString::fromUtf8("20.99°E")}));
    QCOMPARE(s_->fixName(1), QStringLiteral("ALPHA1"));
    QVERIFY(sameBits(s_->bench().Fixes().Get(1).position, alpha));

    // The same latitude typed in another format is a typed position.
    s_->answers().then([](QWidget*) {
      key(Qt::Key_Tab);
      type(QStringLiteral("10d07.4074'N"));
      key(Qt::Key_Return);
    });
    s_->press(Qt::Key_Return);
    const Vector3 retyped = s_->bench().Fixes().Get(1).position;
    QVERIFY(!sameBits(retyped, alpha));
    QVERIFY(s_->rows().at(0).contains(QString::fromUtf8("10.12°N")));
  }

  void aNewFixAboveARowTakesThePendingFixOneAtTheEndLeavesIt() {
    // A midpoint proposes a fix.
    s_->answers().then(fillOperands({"al ", "br "}));
    QTest::mouseClick(s_->opButton(OperationTag::Midpoint), Qt::LeftButton);
    QVERIFY(s_->bench().PendingFix().valid);
    const Vector3 mid = s_->bench().PendingFix().position;

    // Stored above ALPHA under a name of its own: the proposal is used up.
    s_->select(0);
    QStringList prefilled;
    const auto noteAnd = [&prefilled](std::function<void()> then) {
      return [&prefilled, then](QWidget* modal) {
        auto* d = qobject_cast<FixDialog*>(modal);
        prefilled.clear();
        for (int n = 1; n <= 3; ++n) prefilled << d->fieldAt(n)->text();
        then();
      };
    };
    s_->answers().then(noteAnd([] {
      type(QStringLiteral("MID1"));
      key(Qt::Key_Return);
    }));
    s_->press(Qt::Key_Insert);
    QCOMPARE(prefilled.at(0), QStringLiteral("MIDPOINT/NEW"));
    QCOMPARE(s_->fixName(1), QStringLiteral("MID1"));
    QVERIFY(sameBits(s_->bench().Fixes().Get(1).position, mid));
    QVERIFY(!s_->bench().PendingFix().valid);
    s_->answers().then(noteAnd([] { key(Qt::Key_Escape); }));
    s_->press(Qt::Key_Insert);
    QCOMPARE(prefilled, (QStringList{"", "", ""}));

    // Another midpoint, stored at the end under its proposed name: the
    // proposal stays and comes again with the next new fix, whose name is
    // then in use.
    s_->answers().then(fillOperands({"ALPHA", "BRAVO"}));
    QTest::mouseClick(s_->opButton(OperationTag::Midpoint), Qt::LeftButton);
    s_->select(3);
    s_->answers().then(noteAnd([] { key(Qt::Key_Return); }));
    s_->press(Qt::Key_Return);
    QCOMPARE(s_->bench().Fixes().Count(), 4);
    QCOMPARE(s_->fixName(4), QStringLiteral("MIDPOINT/NEW"));
    QVERIFY(s_->bench().PendingFix().valid);
    QVERIFY(sameBits(s_->bench().Fixes().Get(4).position, s_->bench().PendingFix().position));
    const QStringList firstPrefill = prefilled;
    s_->select(4);
    s_->answers().then(noteAnd([] {
      key(Qt::Key_Return);
      key(Qt::Key_Escape);
      key(Qt::Key_Escape);
    }));
    s_->answers().then(closeErrorBox());
    s_->press(Qt::Key_Insert);
    QCOMPARE(prefilled, firstPrefill);
    QCOMPARE(s_->answers().seen().last(), QStringLiteral("error: This fix name is already in use"));
    QCOMPARE(s_->bench().Fixes().Count(), 4);
    QVERIFY(s_->bench().PendingFix().valid);
  }
};

QTEST_MAIN(FixDialogTest)
#include "fix_dialog_test.moc"
