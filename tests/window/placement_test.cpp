// Window placement: the margin of 4 pixels at every screen edge, the
// 2-pixel offset of CentreOnControl, halves rounded toward zero.
#include "window/look/placement.h"
#include "window/look/qt_placement.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTest>

using navorix::Rect;

namespace QTest {
template <>
char* toString(const Rect& R) {
  return qstrdup(QStringLiteral("(%1, %2, %3 x %4)")
                     .arg(R.left)
                     .arg(R.top)
                     .arg(R.width)
                     .arg(R.height)
                     .toLatin1()
                     .constData());
}
}  // namespace QTest

class PlacementTest : public QObject {
  Q_OBJECT

  const Rect screen_{0, 0, 1024, 768};

 private slots:
  void keepOnScreenLeftEdge() {
    // 4 and more stays; 3 or less is put at 4, negative values too.
    QCOMPARE(navorix::keepOnScreen({4, 100, 200, 100}, screen_).left, 4);
    QCOMPARE(navorix::keepOnScreen({3, 100, 200, 100}, screen_).left, 4);
    QCOMPARE(navorix::keepOnScreen({0, 100, 200, 100}, screen_).left, 4);
    QCOMPARE(navorix::keepOnScreen({-250, 100, 200, 100}, screen_).left, 4);
  }

  void keepOnScreenRightEdge() {
    // The right edge stays 4 pixels inside: left at most 1024 - (200 + 4).
    QCOMPARE(navorix::keepOnScreen({820, 100, 200, 100}, screen_).left, 820);
    QCOMPARE(navorix::keepOnScreen({821, 100, 200, 100}, screen_).left, 820);
    QCOMPARE(navorix::keepOnScreen({1000, 100, 200, 100}, screen_).left, 820);
  }

  void keepOnScreenTopAndBottom() {
    QCOMPARE(navorix::keepOnScreen({100, 3, 200, 100}, screen_).top, 4);
    QCOMPARE(navorix::keepOnScreen({100, 4, 200, 100}, screen_).top, 4);
    QCOMPARE(navorix::keepOnScreen({100, 664, 200, 100}, screen_).top, 664);
    QCOMPARE(navorix::keepOnScreen({100, 700, 200, 100}, screen_).top, 664);
    // Both axes at once, a corner.
    QCOMPARE(navorix::keepOnScreen({2000, 2000, 200, 100}, screen_), (Rect{820, 664, 200, 100}));
  }

  void keepOnScreenWindowLargerThanScreen() {
    // The right margin wins over the left one: the window starts off screen.
    QCOMPARE(navorix::keepOnScreen({10, 10, 1100, 100}, screen_).left, 1024 - 1104);
    // From a left edge of 3 or less it is put at 4 and left so.
    QCOMPARE(navorix::keepOnScreen({0, 10, 1100, 100}, screen_).left, 4);
  }

  void keepOnScreenCountsFromTheScreenOrigin() {
    const Rect second{1024, 0, 800, 600};
    QCOMPARE(navorix::keepOnScreen({1026, 50, 100, 100}, second).left, 1028);
    QCOMPARE(navorix::keepOnScreen({1800, 50, 100, 100}, second).left, 1024 + 800 - 104);
  }

  void centreOnActiveFormHalvesTowardZero() {
    const Rect active{100, 100, 401, 301};  // centre (300, 250)
    const Rect placed = navorix::centreOnActiveForm({0, 0, 201, 101}, &active, screen_);
    QCOMPARE(placed, (Rect{300 - 100, 250 - 50, 201, 101}));
  }

  void centreOnActiveFormWithoutActiveWindowUsesTheScreen() {
    const Rect placed = navorix::centreOnActiveForm({0, 0, 300, 200}, nullptr, screen_);
    QCOMPARE(placed, (Rect{512 - 150, 384 - 100, 300, 200}));
  }

  void centreOnActiveFormNearTheEdgeIsKeptOnScreen() {
    const Rect active{-50, 700, 100, 100};
    const Rect placed = navorix::centreOnActiveForm({0, 0, 300, 200}, &active, screen_);
    QCOMPARE(placed, (Rect{4, 768 - 204, 300, 200}));
  }

  void centreOnControlIsTwoPixelsUpAndLeft() {
    // The fix list frame at (14, 117) on the screen, 488 x 296.
    const Rect control{14, 117, 488, 296};
    const Rect placed = navorix::centreOnControl({0, 0, 281, 151}, control, screen_);
    // Centre (14 + 244, 117 + 148) = (258, 265); halves of 281 and 151 are
    // 140 and 75.
    QCOMPARE(placed, (Rect{258 - 140 - 2, 265 - 75 - 2, 281, 151}));
  }

  void centreOnControlNearTheRightEdgeIsPushedLeft() {
    const Rect control{900, 300, 488, 296};
    const Rect placed = navorix::centreOnControl({0, 0, 300, 200}, control, screen_);
    QCOMPARE(placed.left, 1024 - 304);
  }

  void centreOnControlNearTheLeftEdge() {
    // Centre x 150: left 150 - 150 - 2 = -2, which is 3 or less: put at 4.
    const Rect control{100, 300, 100, 100};
    QCOMPARE(navorix::centreOnControl({0, 0, 300, 200}, control, screen_).left, 4);
    // Centre x 157: left 5 stays.
    const Rect control2{107, 300, 100, 100};
    QCOMPARE(navorix::centreOnControl({0, 0, 300, 200}, control2, screen_).left, 5);
  }

  // A window opened beside the main window covers none of it: right of it
  // when it fits to the screen's margin (exactly fitting counts), else left
  // of it, else on the roomier side, pulled back onto the screen.
  void besideWindowRightThenLeftThenCentred() {
    const Rect main{100, 150, 500, 430};
    // Right: 100 + 500 + 8 = 608, and 608 + 412 = 1020 = 1024 - 4 still fits.
    QCOMPARE(navorix::besideWindow({0, 0, 412, 300}, main, screen_), (Rect{608, 150, 412, 300}));
    // One pixel wider fits on neither side (412 pixels of room on the
    // right, 88 on the left): the right, pulled back to the margin.
    QCOMPARE(navorix::besideWindow({0, 0, 413, 300}, main, screen_), (Rect{1024 - 4 - 413, 150, 413, 300}));
    const Rect mainRightish{300, 150, 500, 430};
    // 212 pixels of room on the right, 288 on the left: the left.
    QCOMPARE(navorix::besideWindow({0, 0, 600, 300}, mainRightish, screen_), (Rect{4, 150, 600, 300}));
    // A main window on the right half: the chart goes to its left.
    const Rect rightMain{520, 150, 500, 430};
    QCOMPARE(navorix::besideWindow({0, 0, 400, 300}, rightMain, screen_), (Rect{112, 150, 400, 300}));
    // Level with the main window's top, but kept on the screen.
    const Rect lowMain{10, 600, 300, 160};
    QCOMPARE(navorix::besideWindow({0, 0, 400, 300}, lowMain, screen_).top, 768 - 304);
  }

  // The wrappers place a window by its outer rectangle, the frame the
  // platform reports included.
  void qtWrapperPlacesTheFrame() {
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
    navorix::centreOnControl(dialog, *control);
    const QPoint origin = control->mapToGlobal(QPoint(0, 0));
    const QRect outer = dialog.frameGeometry();
    const Rect expected =
        navorix::centreOnControl({0, 0, outer.width(), outer.height()}, {origin.x(), origin.y(), 200, 100},
                                 navorix::screenRectOf(dialog));
    QCOMPARE(outer.topLeft(), QPoint(expected.left, expected.top));
    QCOMPARE(dialog.size(), QSize(120, 60));
  }

  // Just after a dialog has gone no window may be active: a box is then
  // centred on the window it belongs to, not on the screen.
  void withoutActiveWindowABoxIsCentredOnItsOwner() {
    QWidget main;
    main.setGeometry(40, 30, 300, 200);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QApplication::setActiveWindow(nullptr);
    QDialog box(&main);
    box.resize(100, 50);
    QCOMPARE(navorix::workingWindow(box), &main);
    navorix::centreOnActiveForm(box);
    const QRect frame = main.frameGeometry();
    const Rect owner{frame.x(), frame.y(), frame.width(), frame.height()};
    const Rect expected =
        navorix::centreOnActiveForm({0, 0, box.frameGeometry().width(), box.frameGeometry().height()}, &owner,
                                    navorix::screenRectOf(box));
    QCOMPARE(box.frameGeometry().topLeft(), QPoint(expected.left, expected.top));
    // A hidden owner is no working window: the screen is.
    main.hide();
    QCOMPARE(navorix::workingWindow(box), nullptr);
  }
};

QTEST_MAIN(PlacementTest)
#include "placement_test.moc"
