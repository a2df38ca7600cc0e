#include "window/look/placement.h"

namespace navorix {

namespace {

// The upper-left corner moved 2 pixels off the exact centre; dialogs placed
// on a control sit that much up and left of it.
constexpr int ControlCentreOffset = 2;

// The left of one axis; size is the window's extent and screenSize the
// screen's, both on the same axis, left relative to the screen's origin.
int keepAxis(int left, int size, int screenSize) {
  constexpr int LowestKept = ScreenMargin - 1;
  if (left > LowestKept) {
    const int highest = screenSize - (size + ScreenMargin);
    return left > highest ? highest : left;
  }
  return ScreenMargin;
}

}  // namespace

Rect keepOnScreen(Rect W, const Rect& screen) {
  W.left = screen.left + keepAxis(W.left - screen.left, W.width, screen.width);
  W.top = screen.top + keepAxis(W.top - screen.top, W.height, screen.height);
  return W;
}

Rect centreOnActiveForm(Rect W, const Rect* active, const Rect& screen) {
  int cx = screen.left + screen.width / 2;
  int cy = screen.top + screen.height / 2;
  if (active != nullptr) {
    cx = active->left + active->width / 2;
    cy = active->top + active->height / 2;
  }
  W.left = cx - W.width / 2;
  W.top = cy - W.height / 2;
  return keepOnScreen(W, screen);
}

Rect centreOnControl(Rect W, const Rect& control, const Rect& screen) {
  const int cx = control.left + control.width / 2;
  const int cy = control.top + control.height / 2;
  W.left = cx - W.width / 2 - ControlCentreOffset;
  W.top = cy - W.height / 2 - ControlCentreOffset;
  return keepOnScreen(W, screen);
}

Rect besideWindow(Rect W, const Rect& main, const Rect& screen) {
  const int rightLeft = main.left + main.width + WindowGap;
  const int leftLeft = main.left - WindowGap - W.width;
  const int roomRight = screen.left + screen.width - ScreenMargin - rightLeft;
  const int roomLeft = main.left - WindowGap - (screen.left + ScreenMargin);
  if (W.width <= roomRight) {
    W.left = rightLeft;
  } else if (W.width <= roomLeft) {
    W.left = leftLeft;
  } else {
    // Too wide for either side: on the roomier one, pulled back onto the
    // screen, so that it covers as little of Main as it can.
    W.left = roomRight >= roomLeft ? rightLeft : leftLeft;
  }
  W.top = main.top;
  return keepOnScreen(W, screen);
}

}  // namespace navorix
