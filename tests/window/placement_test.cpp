// Window placement: the margin of 4 pixels at every screen edge, the
// 2-pixel offset of CentreOnControl, halves rounded toward zero.
#include "window/look/placement.h"
#include "window/look/qt_placement.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTest>

using navorix::TRect;

namespace QTest {
template <>
char* toString(const TRect& R) {
  return qstrdup(QStringLiteral("(%1, %2, %3 x %4)").arg(R.Left).arg(R.Top).arg(R.Width).arg(R.Height).toLatin1().constData());
}
}  // namespace QTest

class PlacementTest : public QObject {
  Q_OBJECT

  const TRect screen_{0, 0, 1024, 768};

 private slots:
  void KeepOnScreenLeftEdge() {
    // 4 and more stays; 3 or less is put at 4, negative values too.
    QCOMPARE(navorix::KeepOnScreen({4, 100, 200, 100}, screen_).Left, 4);
    QCOMPARE(navorix::KeepOnScreen({3, 100, 200, 100}, screen_).Left, 4);
    QCOMPARE(navorix::KeepOnScreen({0, 100, 200, 100}, screen_).Left, 4);
    QCOMPARE(navorix::KeepOnScreen({-250, 100, 200, 100}, screen_).Left, 4);
  }

  void KeepOnScreenRightEdge() {
    // The right edge stays 4 pixels inside: left at most 1024 - (200 + 4).
    QCOMPARE(navorix::KeepOnScreen({820, 100, 200, 100}, screen_).Left, 820);
    QCOMPARE(navorix::KeepOnScreen({821, 100, 200, 100}, screen_).Left, 820);
    QCOMPARE(navorix::KeepOnScreen({1000, 100, 200, 100}, screen_).Left, 820);
  }

  void KeepOnScreenTopAndBottom() {
    QCOMPARE(navorix::KeepOnScreen({100, 3, 200, 100}, screen_).Top, 4);
    QCOMPARE(navorix::KeepOnScreen({100, 4, 200, 100}, screen_).Top, 4);
    QCOMPARE(navorix::KeepOnScreen({100, 664, 200, 100}, screen_).Top, 664);
    QCOMPARE(navorix::KeepOnScreen({100, 700, 200, 100}, screen_).Top, 664);
    // Both axes at once, a corner.
    QCOMPARE(navorix::KeepOnScreen({2000, 2000, 200, 100}, screen_), (TRect{820, 664, 200, 100}));
  }

  void KeepOnScreenWindowLargerThanScreen() {
    // The right margin wins over the left one: the window starts off screen.
    QCOMPARE(navorix::KeepOnScreen({10, 10, 1100, 100}, screen_).Left, 1024 - 1104);
    // From a left edge of 3 or less it is put at 4 and left so.
    QCOMPARE(navorix::KeepOnScreen({0, 10, 1100, 100}, screen_).Left, 4);
  }

  void KeepOnScreenCountsFromTheScreenOrigin() {
    const TRect second{1024, 0, 800, 600};
    QCOMPARE(navorix::KeepOnScreen({1026, 50, 100, 100}, second).Left, 1028);
    QCOMPARE(navorix::KeepOnScreen({1800, 50, 100, 100}, second).Left, 1024 + 800 - 104);
  }

  void CentreOnActiveFormHalvesTowardZero() {
    const TRect active{100, 100, 401, 301};  // centre (300, 250)
    const TRect placed = navorix::CentreOnActiveForm({0, 0, 201, 101}, &active, screen_);
    QCOMPARE(placed, (TRect{300 - 100, 250 - 50, 201, 101}));
  }

  void CentreOnActiveFormWithoutActiveWindowUsesTheScreen() {
    const TRect placed = navorix::CentreOnActiveForm({0, 0, 300, 200}, nullptr, screen_);
    QCOMPARE(placed, (TRect{512 - 150, 384 - 100, 300, 200}));
  }

  void CentreOnActiveFormNearTheEdgeIsKeptOnScreen() {
    const TRect active{-50, 700, 100, 100};
    const TRect placed = navorix::CentreOnActiveForm({0, 0, 300, 200}, &active, screen_);
    QCOMPARE(placed, (TRect{4, 768 - 204, 300, 200}));
  }

  void CentreOnControlIsTwoPixelsUpAndLeft() {
    // The fix list frame at (14, 117) on the screen, 488 x 296.
    const TRect control{14, 117, 488, 296};
    const TRect placed = navorix::CentreOnControl({0, 0, 281, 151}, control, screen_);
    // Centre (14 + 244, 117 + 148) = (258, 265); halves of 281 and 151 are
    // 140 and 75.
    QCOMPARE(placed, (TRect{258 - 140 - 2, 265 - 75 - 2, 281, 151}));
  }

  void CentreOnControlNearTheRightEdgeIsPushedLeft() {
    const TRect control{900, 300, 488, 296};
    const TRect placed = navorix::CentreOnControl({0, 0, 300, 200}, control, screen_);
    QCOMPARE(placed.Left, 1024 - 304);
  }

  void CentreOnControlNearTheLeftEdge() {
    // Centre x 150: left 150 - 150 - 2 = -2, which is 3 or less: put at 4.
    const TRect control{100, 300, 100, 100};
    QCOMPARE(navorix::CentreOnControl({0, 0, 300, 200}, control, screen_).Left, 4);
    // Centre x 157: left 5 stays.
    const TRect control2{107, 300, 100, 100};
    QCOMPARE(navorix::CentreOnControl({0, 0, 300, 200}, control2, screen_).Left, 5);
  }

  // A window opened beside the main window covers none of it: right of it
  // when it fits to the screen's margin (exactly fitting counts), else left
  // of it, else on the roomier side, pulled back onto the screen.
  void BesideWindowRightThenLeftThenCentred() {
    const TRect main{100, 150, 500, 430};
    // Right: 100 + 500 + 8 = 608, and 608 + 412 = 1020 = 1024 - 4 still fits.
    QCOMPARE(navorix::BesideWindow({0, 0, 412, 300}, main, screen_), (TRect{608, 150, 412, 300}));
    // One pixel wider fits on neither side (412 pixels of room on the
    // right, 88 on the left): the right, pulled back to the margin.
    QCOMPARE(navorix::BesideWindow({0, 0, 413, 300}, main, screen_), (TRect{1024 - 4 - 413, 150, 413, 300}));
    const TRect mainRightish{300, 150, 500, 430};
    // 212 pixels of room on the right, 288 on the left: the left.
    QCOMPARE(navorix::BesideWindow({0, 0, 600, 300}, mainRightish, screen_), (TRect{4, 150, 600, 300}));
    // A main window on the right half: the chart goes to its left.
    const TRect rightMain{520, 150, 500, 430};
    QCOMPARE(navorix::BesideWindow({0, 0, 400, 300}, rightMain, screen_), (TRect{112, 150, 400, 300}));
    // Level with the main window's top, but kept on the screen.
    const TRect lowMain{10, 600, 300, 160};
    QCOMPARE(navorix::BesideWindow({0, 0, 400, 300}, lowMain, screen_).Top, 768 - 304);
  }

  // The wrappers place a window by its outer rectangle, the frame the
  // platform reports included.
  void QtWrapperPlacesTheFrame() {
    QWidget main;
    main.setGeometry(100, 80, 600, 400);
    auto* control = new QWidget(&main);
    control->setGeometry(10, 20, 200, 100);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QDialog dialog(&main);
    dialog.resize(120, 60);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    navorix::CentreOnControl(dialog, *control);
    const QPoint origin = control->mapToGlobal(QPoint(0, 0));
    const QRect outer = dialog.frameGeometry();
    const TRect expected = navorix::CentreOnControl({0, 0, outer.width(), outer.height()},
                                                    {origin.x(), origin.y(), 200, 100},
                                                    navorix::ScreenRectOf(dialog));
    QCOMPARE(outer.topLeft(), QPoint(expected.Left, expected.Top));
    QCOMPARE(dialog.size(), QSize(120, 60));
  }

  // Just after a dialog has gone no window may be active: a box is then
  // centred on the window it belongs to, not on the screen.
  void WithoutActiveWindowABoxIsCentredOnItsOwner() {
    QWidget main;
    main.setGeometry(40, 30, 300, 200);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QApplication::setActiveWindow(nullptr);
    QDialog box(&main);
    box.resize(100, 50);
    QCOMPARE(navorix::WorkingWindow(box), &main);
    navorix::CentreOnActiveForm(box);
    const QRect frame = main.frameGeometry();
    const TRect owner{frame.x(), frame.y(), frame.width(), frame.height()};
    const TRect expected = navorix::CentreOnActiveForm(
        {0, 0, box.frameGeometry().width(), box.frameGeometry().height()}, &owner, navorix::ScreenRectOf(box));
    QCOMPARE(box.frameGeometry().topLeft(), QPoint(expected.Left, expected.Top));
    // A hidden owner is no working window: the screen is.
    main.hide();
    QCOMPARE(navorix::WorkingWindow(box), nullptr);
  }
};

QTEST_MAIN(PlacementTest)
#include "placement_test.moc"
