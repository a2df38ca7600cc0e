#include "window/look/placement.h"

namespace navorix {

namespace {

// The upper-left corner moved 2 pixels off the exact centre; dialogs placed
// on a control sit that much up and left of it.
constexpr int ControlCentreOffset = 2;

// The Left of one axis; Size is the window's extent and ScreenSize the
// screen's, both on the same axis, Left relative to the screen's origin.
int KeepAxis(int Left, int Size, int ScreenSize) {
  constexpr int LowestKept = ScreenMargin - 1;
  if (Left > LowestKept) {
    const int highest = ScreenSize - (Size + ScreenMargin);
    return Left > highest ? highest : Left;
  }
  return ScreenMargin;
}

}  // namespace

TRect KeepOnScreen(TRect W, const TRect& Screen) {
  W.Left = Screen.Left + KeepAxis(W.Left - Screen.Left, W.Width, Screen.Width);
  W.Top = Screen.Top + KeepAxis(W.Top - Screen.Top, W.Height, Screen.Height);
  return W;
}

TRect CentreOnActiveForm(TRect W, const TRect* Active, const TRect& Screen) {
  int cx = Screen.Left + Screen.Width / 2;
  int cy = Screen.Top + Screen.Height / 2;
  if (Active != nullptr) {
    cx = Active->Left + Active->Width / 2;
    cy = Active->Top + Active->Height / 2;
  }
  W.Left = cx - W.Width / 2;
  W.Top = cy - W.Height / 2;
  return KeepOnScreen(W, Screen);
}

TRect CentreOnControl(TRect W, const TRect& Control, const TRect& Screen) {
  const int cx = Control.Left + Control.Width / 2;
  const int cy = Control.Top + Control.Height / 2;
  W.Left = cx - W.Width / 2 - ControlCentreOffset;
  W.Top = cy - W.Height / 2 - ControlCentreOffset;
  return KeepOnScreen(W, Screen);
}

TRect BesideWindow(TRect W, const TRect& Main, const TRect& Screen) {
  const int rightLeft = Main.Left + Main.Width + WindowGap;
  const int leftLeft = Main.Left - WindowGap - W.Width;
  const int roomRight = Screen.Left + Screen.Width - ScreenMargin - rightLeft;
  const int roomLeft = Main.Left - WindowGap - (Screen.Left + ScreenMargin);
  if (W.Width <= roomRight) {
    W.Left = rightLeft;
  } else if (W.Width <= roomLeft) {
    W.Left = leftLeft;
  } else {
    // Too wide for either side: on the roomier one, pulled back onto the
    // screen, so that it covers as little of Main as it can.
    W.Left = roomRight >= roomLeft ? rightLeft : leftLeft;
  }
  W.Top = Main.Top;
  return KeepOnScreen(W, Screen);
}

}  // namespace navorix
