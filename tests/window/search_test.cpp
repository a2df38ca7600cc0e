// The type-ahead search of the fix list: letters typed at the main window
// select the first fix whose name begins with them, the yellow panel shows
// the text and hides 1600 ms after a hit or 2400 ms after a miss.
#include "session_support.h"

using namespace navorix;
using namespace navorix::test;

namespace {

constexpr const char* Fixes =
    "10 10 ALPHA\r\n"
    "20 20 ABLE\r\n"
    "30 30 ALPHA2\r\n"
    "40 40 ABCDEFGHIJKLMNOP\r\n"
    "50 50 ABCDEFGHIJKLMNOQ\r\n"
    "60 60 ZULU/A\r\n";

// Qt's coarse timers, the kind every QTimer is unless told otherwise, may
// fire up to 5 % early.
constexpr qint64 earliest(qint64 ms) { return ms * 95 / 100; }

}  // namespace

class SearchTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Session> s_;

  QLabel* panel() { return s_->controls().searchLabel; }
  QTimer* timer() { return s_->controls().searchTimer; }
  void typeAtList(char C) { QTest::keyClick(s_->list(), C); }

 private slots:
  void initTestCase() { QApplication::setStyle(new NavorixStyle); }

  void init() {
    s_ = std::make_unique<Session>();
    QVERIFY(s_->start(Fixes));
    QCOMPARE(s_->bench().Fixes().Count(), 6);
  }
  void cleanup() {
    s_->verifyAllAnswered();
    s_.reset();
  }

  void alphaAbleX() {
    QVERIFY(!panel()->isVisible());
    typeAtList('a');
    QCOMPARE(s_->listRow(), 0);
    QVERIFY(panel()->isVisible());
    QCOMPARE(panel()->text(), QStringLiteral("A"));
    QVERIFY(timer()->isActive());
    QCOMPARE(timer()->interval(), 1600);

    typeAtList('B');
    QCOMPARE(s_->listRow(), 1);
    QCOMPARE(panel()->text(), QStringLiteral("AB"));
    QCOMPARE(timer()->interval(), 1600);
    QCOMPARE(s_->bench().CurrentRow(), 1);

    // A miss keeps the text and the row and lets the panel stay longer.
    QElapsedTimer sinceMiss;
    sinceMiss.start();
    typeAtList('x');
    QCOMPARE(s_->listRow(), 1);
    QCOMPARE(panel()->text(), QStringLiteral("AB"));
    QVERIFY(panel()->isVisible());
    QCOMPARE(timer()->interval(), 2400);
    QTest::qWait(1900);
    QVERIFY2(panel()->isVisible() || sinceMiss.elapsed() >= earliest(2400), "hidden before 2400 ms");
    QTRY_VERIFY_WITH_TIMEOUT(!panel()->isVisible(), 6000);
    QVERIFY(sinceMiss.elapsed() >= earliest(2400));
    // The row stays; the next letter starts again from the first fix.
    QCOMPARE(s_->listRow(), 1);
    typeAtList('A');
    QCOMPARE(s_->listRow(), 0);
    QCOMPARE(panel()->text(), QStringLiteral("A"));
  }

  void aHitHidesThePanelAfter1600Ms() {
    QElapsedTimer sinceHit;
    sinceHit.start();
    typeAtList('Z');
    QCOMPARE(s_->listRow(), 5);
    QTest::qWait(1200);
    QVERIFY2(panel()->isVisible() || sinceHit.elapsed() >= earliest(1600), "hidden before 1600 ms");
    QTRY_VERIFY_WITH_TIMEOUT(!panel()->isVisible(), 5000);
    QVERIFY(sinceHit.elapsed() >= earliest(1600));
    QCOMPARE(timer()->interval(), 1600);
  }

  void eachKeyRestartsTheTimer() {
    typeAtList('A');
    QTest::qWait(1000);
    typeAtList('L');
    QElapsedTimer sinceSecond;
    sinceSecond.start();
    QTest::qWait(900);
    // 1900 ms after the first key, 900 after the second: still shown.
    QVERIFY(panel()->isVisible() || sinceSecond.elapsed() >= earliest(1600));
    QCOMPARE(panel()->text(), QStringLiteral("AL"));
  }

  void escHidesThePanelAtOnce() {
    typeAtList('A');
    QVERIFY(panel()->isVisible());
    s_->press(Qt::Key_Escape);
    QVERIFY(!panel()->isVisible());
    // Hidden: the next letter starts a new search.
    typeAtList('Z');
    QCOMPARE(panel()->text(), QStringLiteral("Z"));
    QCOMPARE(s_->listRow(), 5);
  }

  void digitsOnlyWhileThePanelShows() {
    s_->select(4);
    QCOMPARE(s_->bench().CurrentRow(), 4);
    // Hidden panel: a digit starts nothing and goes nowhere.
    typeAtList('2');
    QVERIFY(!panel()->isVisible());
    QCOMPARE(s_->listRow(), 4);
    QCOMPARE(s_->bench().CurrentRow(), 4);
    // Shown: digits are appended like letters.
    for (char c : std::string("ALPHA2")) typeAtList(c);
    QCOMPARE(panel()->text(), QStringLiteral("ALPHA2"));
    QCOMPARE(s_->listRow(), 2);
  }

  void theSeventeenthCharacterIsNotAdded() {
    for (char c : std::string("ABCDEFGHIJKLMNOQ")) typeAtList(c);
    QCOMPARE(panel()->text(), QStringLiteral("ABCDEFGHIJKLMNOQ"));
    QCOMPARE(s_->listRow(), 4);
    // The search is repeated with the sixteen: still a hit, no longer wait.
    typeAtList('R');
    QCOMPARE(panel()->text(), QStringLiteral("ABCDEFGHIJKLMNOQ"));
    QCOMPARE(s_->listRow(), 4);
    QCOMPARE(timer()->interval(), 1600);
  }

  void slashStartsASearchOtherCharactersDoNot() {
    QVERIFY(!timer()->isActive());
    typeAtList('/');
    QVERIFY(!panel()->isVisible());  // no name begins with "/"
    // Searched for all the same: a miss.
    QVERIFY(timer()->isActive());
    QCOMPARE(timer()->interval(), 2400);
    typeAtList('-');
    QVERIFY(!panel()->isVisible());
    QCOMPARE(s_->listRow(), 0);
    // In a search the slash is a name character and the minus is none: it
    // is no miss, it is not searched for at all.
    for (char c : std::string("ZULU/")) typeAtList(c);
    QCOMPARE(panel()->text(), QStringLiteral("ZULU/"));
    QCOMPARE(s_->listRow(), 5);
    typeAtList('-');
    QCOMPARE(panel()->text(), QStringLiteral("ZULU/"));
    QCOMPARE(timer()->interval(), 1600);
    QCOMPARE(s_->listRow(), 5);
    typeAtList('A');
    QCOMPARE(panel()->text(), QStringLiteral("ZULU/A"));
  }

  void theWindowSearchesWhateverControlHasTheFocus() {
    QWidget* add = s_->controls().addButton;
    add->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), add);
    QTest::keyClick(add, 'z');
    QCOMPARE(s_->listRow(), 5);
    QCOMPARE(panel()->text(), QStringLiteral("Z"));
  }

  void noSearchInAnEmptyDatabase() {
    s_->bench().ClearFixes();
    typeAtList('A');
    QVERIFY(!panel()->isVisible());
    QCOMPARE(s_->listRow(), 0);
  }
};

QTEST_MAIN(SearchTest)
#include "search_test.moc"
