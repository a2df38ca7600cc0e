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
constexpr qint64 Earliest(qint64 Ms) { return Ms * 95 / 100; }

}  // namespace

class SearchTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TSession> s_;

  QLabel* Panel() { return s_->Controls().xSearch; }
  QTimer* Timer() { return s_->Controls().xTimer; }
  void TypeAtList(char C) { QTest::keyClick(s_->List(), C); }

 private slots:
  void initTestCase() { QApplication::setStyle(new TNavorixStyle); }

  void init() {
    s_ = std::make_unique<TSession>();
    QVERIFY(s_->Start(Fixes));
    QCOMPARE(s_->Bench().Fixes().Count(), 6);
  }
  void cleanup() {
    s_->VerifyAllAnswered();
    s_.reset();
  }

  void AlphaAbleX() {
    QVERIFY(!Panel()->isVisible());
    TypeAtList('a');
    QCOMPARE(s_->ListRow(), 0);
    QVERIFY(Panel()->isVisible());
    QCOMPARE(Panel()->text(), QStringLiteral("A"));
    QVERIFY(Timer()->isActive());
    QCOMPARE(Timer()->interval(), 1600);

    TypeAtList('B');
    QCOMPARE(s_->ListRow(), 1);
    QCOMPARE(Panel()->text(), QStringLiteral("AB"));
    QCOMPARE(Timer()->interval(), 1600);
    QCOMPARE(s_->Bench().CurrentRow(), 1);

    // A miss keeps the text and the row and lets the panel stay longer.
    QElapsedTimer since_miss;
    since_miss.start();
    TypeAtList('x');
    QCOMPARE(s_->ListRow(), 1);
    QCOMPARE(Panel()->text(), QStringLiteral("AB"));
    QVERIFY(Panel()->isVisible());
    QCOMPARE(Timer()->interval(), 2400);
    QTest::qWait(1900);
    QVERIFY2(Panel()->isVisible() || since_miss.elapsed() >= Earliest(2400), "hidden before 2400 ms");
    QTRY_VERIFY_WITH_TIMEOUT(!Panel()->isVisible(), 6000);
    QVERIFY(since_miss.elapsed() >= Earliest(2400));
    // The row stays; the next letter starts again from the first fix.
    QCOMPARE(s_->ListRow(), 1);
    TypeAtList('A');
    QCOMPARE(s_->ListRow(), 0);
    QCOMPARE(Panel()->text(), QStringLiteral("A"));
  }

  void AHitHidesThePanelAfter1600Ms() {
    QElapsedTimer since_hit;
    since_hit.start();
    TypeAtList('Z');
    QCOMPARE(s_->ListRow(), 5);
    QTest::qWait(1200);
    QVERIFY2(Panel()->isVisible() || since_hit.elapsed() >= Earliest(1600), "hidden before 1600 ms");
    QTRY_VERIFY_WITH_TIMEOUT(!Panel()->isVisible(), 5000);
    QVERIFY(since_hit.elapsed() >= Earliest(1600));
    QCOMPARE(Timer()->interval(), 1600);
  }

  void EachKeyRestartsTheTimer() {
    TypeAtList('A');
    QTest::qWait(1000);
    TypeAtList('L');
    QElapsedTimer since_second;
    since_second.start();
    QTest::qWait(900);
    // 1900 ms after the first key, 900 after the second: still shown.
    QVERIFY(Panel()->isVisible() || since_second.elapsed() >= Earliest(1600));
    QCOMPARE(Panel()->text(), QStringLiteral("AL"));
  }

  void EscHidesThePanelAtOnce() {
    TypeAtList('A');
    QVERIFY(Panel()->isVisible());
    s_->Press(Qt::Key_Escape);
    QVERIFY(!Panel()->isVisible());
    // Hidden: the next letter starts a new search.
    TypeAtList('Z');
    QCOMPARE(Panel()->text(), QStringLiteral("Z"));
    QCOMPARE(s_->ListRow(), 5);
  }

  void DigitsOnlyWhileThePanelShows() {
    s_->Select(4);
    QCOMPARE(s_->Bench().CurrentRow(), 4);
    // Hidden panel: a digit starts nothing and goes nowhere.
    TypeAtList('2');
    QVERIFY(!Panel()->isVisible());
    QCOMPARE(s_->ListRow(), 4);
    QCOMPARE(s_->Bench().CurrentRow(), 4);
    // Shown: digits are appended like letters.
    for (char c : std::string("ALPHA2")) TypeAtList(c);
    QCOMPARE(Panel()->text(), QStringLiteral("ALPHA2"));
    QCOMPARE(s_->ListRow(), 2);
  }

  void TheSeventeenthCharacterIsNotAdded() {
    for (char c : std::string("ABCDEFGHIJKLMNOQ")) TypeAtList(c);
    QCOMPARE(Panel()->text(), QStringLiteral("ABCDEFGHIJKLMNOQ"));
    QCOMPARE(s_->ListRow(), 4);
    // The search is repeated with the sixteen: still a hit, no longer wait.
    TypeAtList('R');
    QCOMPARE(Panel()->text(), QStringLiteral("ABCDEFGHIJKLMNOQ"));
    QCOMPARE(s_->ListRow(), 4);
    QCOMPARE(Timer()->interval(), 1600);
  }

  void SlashStartsASearchOtherCharactersDoNot() {
    QVERIFY(!Timer()->isActive());
    TypeAtList('/');
    QVERIFY(!Panel()->isVisible());  // no name begins with "/"
    // Searched for all the same: a miss.
    QVERIFY(Timer()->isActive());
    QCOMPARE(Timer()->interval(), 2400);
    TypeAtList('-');
    QVERIFY(!Panel()->isVisible());
    QCOMPARE(s_->ListRow(), 0);
    // In a search the slash is a name character and the minus is none: it
    // is no miss, it is not searched for at all.
    for (char c : std::string("ZULU/")) TypeAtList(c);
    QCOMPARE(Panel()->text(), QStringLiteral("ZULU/"));
    QCOMPARE(s_->ListRow(), 5);
    TypeAtList('-');
    QCOMPARE(Panel()->text(), QStringLiteral("ZULU/"));
    QCOMPARE(Timer()->interval(), 1600);
    QCOMPARE(s_->ListRow(), 5);
    TypeAtList('A');
    QCOMPARE(Panel()->text(), QStringLiteral("ZULU/A"));
  }

  void TheWindowSearchesWhateverControlHasTheFocus() {
    QWidget* add = s_->Controls().xAdd;
    add->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), add);
    QTest::keyClick(add, 'z');
    QCOMPARE(s_->ListRow(), 5);
    QCOMPARE(Panel()->text(), QStringLiteral("Z"));
  }

  void NoSearchInAnEmptyDatabase() {
    s_->Bench().ClearFixes();
    TypeAtList('A');
    QVERIFY(!Panel()->isVisible());
    QCOMPARE(s_->ListRow(), 0);
  }
};

QTEST_MAIN(SearchTest)
#include "search_test.moc"
