// The question box: lines, layout arithmetic and answers.
#include "window/boxes/alert_box.h"
#include "window/boxes/alert_layout.h"
#include "window_test_support.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using navorix::AlertBox;
using navorix::Answer;
using navorix::test::whenModal;

Q_DECLARE_METATYPE(Answer)

class AlertBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void linesEndAtBarsAndControlCodes() {
    using V = std::vector<std::string>;
    QCOMPARE(navorix::alertLines("This file already exists.|Do you wish to overwrite it?"),
             (V{"This file already exists.", "Do you wish to overwrite it?"}));
    QCOMPARE(navorix::alertLines("A\x01"
                                 "B\x08"
                                 "C|D"),
             (V{"A", "B", "C", "D"}));
    QCOMPARE(navorix::alertLines("A\x02"
                                 "B\x05"
                                 "C"),
             (V{"A", "B", "C"}));
    // A tab (9) is no separator.
    QCOMPARE(navorix::alertLines("A\tB"), (V{"A\tB"}));
    QCOMPARE(navorix::alertLines(""), (V{""}));
    QCOMPARE(navorix::alertLines("A|"), (V{"A", ""}));
    QCOMPARE(navorix::alertLines("A||B"), (V{"A", "", "B"}));
  }

  void tenLinesAreCutToEight() {
    const auto lines = navorix::alertLines("1|2|3|4|5|6|7|8|9|10");
    QCOMPARE(lines.size(), std::size_t{8});
    QCOMPARE(lines.front(), std::string("1"));
    QCOMPARE(lines.back(), std::string("8"));
  }

  void layoutArithmetic() {
    // Two lines 14 high: Row 19, first line at 19 - 4, buttons at the last
    // line + 19 + 8.
    const auto l = navorix::layoutAlert({100, 250}, 14, 3, 75, 25, 6);
    QCOMPARE(l.lineCount, 2);
    QCOMPARE(l.lineTop[0], 15);
    QCOMPARE(l.lineTop[1], 34);
    QCOMPARE(l.buttonTop, 61);
    QCOMPARE(l.clientHeight, 61 + 25 + 6);
    QCOMPARE(l.clientWidth, 8 + 250 + 6);
    // Window 270 wide: (270 - 243 + 6) / 2 - 3 = 16 - 3 (16.5 toward zero).
    QCOMPARE(l.buttonLeft[0], 13);
    QCOMPARE(l.buttonLeft[1], 13 + 81);
    QCOMPARE(l.buttonLeft[2], 13 + 162);
  }

  void layoutWidensANarrowBoxForItsButtons() {
    const auto two = navorix::layoutAlert({20}, 14, 2, 75, 25, 6);
    // W = 2 * 81 + 6 = 168 for the window, so the client is 162 wide and
    // the buttons stand 3 pixels in from either side.
    QCOMPARE(two.clientWidth, 162);
    QCOMPARE(two.buttonLeft[0], 3);
    QCOMPARE(two.buttonLeft[1] + 75 + 3, 162);
    const auto three = navorix::layoutAlert({20}, 14, 3, 75, 25, 6);
    QCOMPARE(three.clientWidth, 3 * 81);
    QCOMPARE(three.buttonLeft[2] + 75 + 3, three.clientWidth);
  }

  void layoutOfEightLines() {
    const auto l = navorix::layoutAlert(std::vector<int>(8, 50), 14, 2, 75, 25, 6);
    QCOMPARE(l.lineTop[0], 19 - 16);
    QCOMPARE(l.lineTop[7], 3 + 7 * 19);
    QCOMPARE(l.buttonTop, l.lineTop[7] + 19 + 8);
  }

  void boxShowsTheLinesOfTheMessage() {
    AlertBox box;
    box.prepare("one\x01two|three|4|5|6|7|8|9|10", 2);
    int shown = 0;
    for (int i = 0; i < navorix::AlertMaxLines; ++i) shown += box.line(i)->isVisibleTo(&box) ? 1 : 0;
    QCOMPARE(shown, 8);
    QCOMPARE(box.line(0)->text(), QStringLiteral("one"));
    QCOMPARE(box.line(1)->text(), QStringLiteral("two"));
    QCOMPARE(box.line(7)->text(), QStringLiteral("8"));
    QCOMPARE(box.line(0)->x(), navorix::AlertTextLeft);
    const int row = box.line(0)->height() + 5;
    QCOMPARE(box.line(0)->y(), row - 2 * 8);
    QCOMPARE(box.line(1)->y() - box.line(0)->y(), row);
    QCOMPARE(box.yesButton()->y(), box.line(7)->y() + row + 8);
    QCOMPARE(box.height(), box.yesButton()->y() + 25 + 6);
    QVERIFY(box.yesButton()->isVisibleTo(&box));
    QVERIFY(box.noButton()->isVisibleTo(&box));
    QVERIFY(!box.cancelButton()->isVisibleTo(&box));

    box.prepare("short", 3);
    QVERIFY(box.line(0)->isVisibleTo(&box));
    QVERIFY(!box.line(1)->isVisibleTo(&box));
    QVERIFY(box.cancelButton()->isVisibleTo(&box));
  }

  void captionAndButtons() {
    AlertBox box;
    box.prepare("Question?", 3);
    QCOMPARE(box.windowTitle(), QStringLiteral("  Navorix "));
    QCOMPARE(box.yesButton()->text(), QStringLiteral("&Yes"));
    QCOMPARE(box.noButton()->text(), QStringLiteral("&No"));
    QCOMPARE(box.cancelButton()->text(), QStringLiteral("&Cancel"));
    QVERIFY(box.yesButton()->isDefault());
    QVERIFY(!(box.windowFlags() & Qt::WindowCloseButtonHint));
  }

  void answers_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<Answer>("answer");
    QTest::newRow("Esc with Cancel shown") << 3 << int(Qt::Key_Escape) << 0 << Answer::Cancel;
    QTest::newRow("Esc with two buttons") << 2 << int(Qt::Key_Escape) << 0 << Answer::No;
    QTest::newRow("Enter at once") << 2 << int(Qt::Key_Return) << 0 << Answer::Yes;
    QTest::newRow("keypad Enter") << 3 << int(Qt::Key_Enter) << 0 << Answer::Yes;
    QTest::newRow("Tab then Enter") << 2 << int(Qt::Key_Return) << 1 << Answer::No;
    QTest::newRow("two Tabs then Enter") << 3 << int(Qt::Key_Return) << 2 << Answer::Cancel;
    QTest::newRow("Tab round to Yes") << 2 << int(Qt::Key_Return) << 2 << Answer::Yes;
    // Plain letters answer as the Alt accelerators do, wherever the focus.
    QTest::newRow("Y") << 2 << int(Qt::Key_Y) << 1 << Answer::Yes;
    QTest::newRow("N") << 3 << int(Qt::Key_N) << 0 << Answer::No;
    QTest::newRow("C") << 3 << int(Qt::Key_C) << 1 << Answer::Cancel;
    // Without a Cancel button C is no answer; the box stays until Esc.
    QTest::newRow("C without Cancel, then Esc") << 2 << int(Qt::Key_C) << 0 << Answer::No;
  }

  void answers() {
    QFETCH(int, buttons);
    QFETCH(int, key);
    QFETCH(int, tabs);
    QFETCH(Answer, answer);
    AlertBox box;
    whenModal([key, tabs](QWidget* modal, QWidget* /*Focus*/) {
      for (int i = 0; i < tabs; ++i) QTest::keyClick(modal->focusWidget(), Qt::Key_Tab);
      QWidget* focus = modal->focusWidget() != nullptr ? modal->focusWidget() : modal;
      QTest::keyClick(focus, Qt::Key(key));
      if (modal->isVisible()) QTest::keyClick(focus, Qt::Key_Escape);
    });
    QCOMPARE(box.ask("You are about to leave Navorix.|Would you like to save the status?", buttons), answer);
  }

  void clickAndAccelerator() {
    AlertBox box;
    whenModal([&box](QWidget*, QWidget*) { QTest::mouseClick(box.noButton(), Qt::LeftButton); });
    QCOMPARE(box.ask("Delete fix ALPHA from the database?", 2), Answer::No);
    whenModal([](QWidget*, QWidget* focus) { QTest::keyClick(focus, Qt::Key_C, Qt::AltModifier); });
    QCOMPARE(box.ask("Clear?", 3), Answer::Cancel);
  }
};

QTEST_MAIN(AlertBoxTest)
#include "alert_box_test.moc"
