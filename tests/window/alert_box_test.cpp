// The question box: lines, layout arithmetic and answers.
#include "window/boxes/alert_box.h"
#include "window/boxes/alert_layout.h"
#include "window_test_support.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using navorix::TAlertBox;
using navorix::TAnswer;
using navorix::test::WhenModal;

Q_DECLARE_METATYPE(TAnswer)

class AlertBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void LinesEndAtBarsAndControlCodes() {
    using V = std::vector<std::string>;
    QCOMPARE(navorix::AlertLines("This file already exists.|Do you wish to overwrite it?"),
             (V{"This file already exists.", "Do you wish to overwrite it?"}));
    QCOMPARE(navorix::AlertLines("A\x01" "B\x08" "C|D"), (V{"A", "B", "C", "D"}));
    QCOMPARE(navorix::AlertLines("A\x02" "B\x05" "C"), (V{"A", "B", "C"}));
    // A tab (9) is no separator.
    QCOMPARE(navorix::AlertLines("A\tB"), (V{"A\tB"}));
    QCOMPARE(navorix::AlertLines(""), (V{""}));
    QCOMPARE(navorix::AlertLines("A|"), (V{"A", ""}));
    QCOMPARE(navorix::AlertLines("A||B"), (V{"A", "", "B"}));
  }

  void TenLinesAreCutToEight() {
    const auto lines = navorix::AlertLines("1|2|3|4|5|6|7|8|9|10");
    QCOMPARE(lines.size(), std::size_t{8});
    QCOMPARE(lines.front(), std::string("1"));
    QCOMPARE(lines.back(), std::string("8"));
  }

  void LayoutArithmetic() {
    // Two lines 14 high: Row 19, first line at 19 - 4, buttons at the last
    // line + 19 + 8.
    const auto l = navorix::LayoutAlert({100, 250}, 14, 3, 75, 25, 6);
    QCOMPARE(l.LineCount, 2);
    QCOMPARE(l.LineTop[0], 15);
    QCOMPARE(l.LineTop[1], 34);
    QCOMPARE(l.ButtonTop, 61);
    QCOMPARE(l.ClientHeight, 61 + 25 + 6);
    QCOMPARE(l.ClientWidth, 8 + 250 + 6);
    // Window 270 wide: (270 - 243 + 6) / 2 - 3 = 16 - 3 (16.5 toward zero).
    QCOMPARE(l.ButtonLeft[0], 13);
    QCOMPARE(l.ButtonLeft[1], 13 + 81);
    QCOMPARE(l.ButtonLeft[2], 13 + 162);
  }

  void LayoutWidensANarrowBoxForItsButtons() {
    const auto two = navorix::LayoutAlert({20}, 14, 2, 75, 25, 6);
    // W = 2 * 81 + 6 = 168 for the window, so the client is 162 wide and
    // the buttons stand 3 pixels in from either side.
    QCOMPARE(two.ClientWidth, 162);
    QCOMPARE(two.ButtonLeft[0], 3);
    QCOMPARE(two.ButtonLeft[1] + 75 + 3, 162);
    const auto three = navorix::LayoutAlert({20}, 14, 3, 75, 25, 6);
    QCOMPARE(three.ClientWidth, 3 * 81);
    QCOMPARE(three.ButtonLeft[2] + 75 + 3, three.ClientWidth);
  }

  void LayoutOfEightLines() {
    const auto l = navorix::LayoutAlert(std::vector<int>(8, 50), 14, 2, 75, 25, 6);
    QCOMPARE(l.LineTop[0], 19 - 16);
    QCOMPARE(l.LineTop[7], 3 + 7 * 19);
    QCOMPARE(l.ButtonTop, l.LineTop[7] + 19 + 8);
  }

  void BoxShowsTheLinesOfTheMessage() {
    TAlertBox box;
    box.Prepare("one\x01two|three|4|5|6|7|8|9|10", 2);
    int shown = 0;
    for (int i = 0; i < navorix::AlertMaxLines; ++i) shown += box.Line(i)->isVisibleTo(&box) ? 1 : 0;
    QCOMPARE(shown, 8);
    QCOMPARE(box.Line(0)->text(), QStringLiteral("one"));
    QCOMPARE(box.Line(1)->text(), QStringLiteral("two"));
    QCOMPARE(box.Line(7)->text(), QStringLiteral("8"));
    QCOMPARE(box.Line(0)->x(), navorix::AlertTextLeft);
    const int row = box.Line(0)->height() + 5;
    QCOMPARE(box.Line(0)->y(), row - 2 * 8);
    QCOMPARE(box.Line(1)->y() - box.Line(0)->y(), row);
    QCOMPARE(box.YesButton()->y(), box.Line(7)->y() + row + 8);
    QCOMPARE(box.height(), box.YesButton()->y() + 25 + 6);
    QVERIFY(box.YesButton()->isVisibleTo(&box));
    QVERIFY(box.NoButton()->isVisibleTo(&box));
    QVERIFY(!box.CancelButton()->isVisibleTo(&box));

    box.Prepare("short", 3);
    QVERIFY(box.Line(0)->isVisibleTo(&box));
    QVERIFY(!box.Line(1)->isVisibleTo(&box));
    QVERIFY(box.CancelButton()->isVisibleTo(&box));
  }

  void CaptionAndButtons() {
    TAlertBox box;
    box.Prepare("Question?", 3);
    QCOMPARE(box.windowTitle(), QStringLiteral("  Navorix "));
    QCOMPARE(box.YesButton()->text(), QStringLiteral("&Yes"));
    QCOMPARE(box.NoButton()->text(), QStringLiteral("&No"));
    QCOMPARE(box.CancelButton()->text(), QStringLiteral("&Cancel"));
    QVERIFY(box.YesButton()->isDefault());
    QVERIFY(!(box.windowFlags() & Qt::WindowCloseButtonHint));
  }

  void Answers_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<TAnswer>("answer");
    QTest::newRow("Esc with Cancel shown") << 3 << int(Qt::Key_Escape) << 0 << TAnswer::Cancel;
    QTest::newRow("Esc with two buttons") << 2 << int(Qt::Key_Escape) << 0 << TAnswer::No;
    QTest::newRow("Enter at once") << 2 << int(Qt::Key_Return) << 0 << TAnswer::Yes;
    QTest::newRow("keypad Enter") << 3 << int(Qt::Key_Enter) << 0 << TAnswer::Yes;
    QTest::newRow("Tab then Enter") << 2 << int(Qt::Key_Return) << 1 << TAnswer::No;
    QTest::newRow("two Tabs then Enter") << 3 << int(Qt::Key_Return) << 2 << TAnswer::Cancel;
    QTest::newRow("Tab round to Yes") << 2 << int(Qt::Key_Return) << 2 << TAnswer::Yes;
    // Plain letters answer as the Alt accelerators do, wherever the focus.
    QTest::newRow("Y") << 2 << int(Qt::Key_Y) << 1 << TAnswer::Yes;
    QTest::newRow("N") << 3 << int(Qt::Key_N) << 0 << TAnswer::No;
    QTest::newRow("C") << 3 << int(Qt::Key_C) << 1 << TAnswer::Cancel;
    // Without a Cancel button C is no answer; the box stays until Esc.
    QTest::newRow("C without Cancel, then Esc") << 2 << int(Qt::Key_C) << 0 << TAnswer::No;
  }

  void Answers() {
    QFETCH(int, buttons);
    QFETCH(int, key);
    QFETCH(int, tabs);
    QFETCH(TAnswer, answer);
    TAlertBox box;
    WhenModal([key, tabs](QWidget* Modal, QWidget* /*Focus*/) {
      for (int i = 0; i < tabs; ++i) QTest::keyClick(Modal->focusWidget(), Qt::Key_Tab);
      QWidget* focus = Modal->focusWidget() != nullptr ? Modal->focusWidget() : Modal;
      QTest::keyClick(focus, Qt::Key(key));
      if (Modal->isVisible()) QTest::keyClick(focus, Qt::Key_Escape);
    });
    QCOMPARE(box.Ask("You are about to leave Navorix.|Would you like to save the status?", buttons), answer);
  }

  void ClickAndAccelerator() {
    TAlertBox box;
    WhenModal([&box](QWidget*, QWidget*) { QTest::mouseClick(box.NoButton(), Qt::LeftButton); });
    QCOMPARE(box.Ask("Delete fix ALPHA from the database?", 2), TAnswer::No);
    WhenModal([](QWidget*, QWidget* Focus) { QTest::keyClick(Focus, Qt::Key_C, Qt::AltModifier); });
    QCOMPARE(box.Ask("Clear?", 3), TAnswer::Cancel);
  }
};

QTEST_MAIN(AlertBoxTest)
#include "alert_box_test.moc"
