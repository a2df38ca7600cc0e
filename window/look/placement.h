// Where dialog windows go: centred on the active window or on a control,
// then kept inside the screen with a margin of 4 pixels. Plain rectangles
// so that the arithmetic can be checked without a screen.
//
// Notation:
//   W       the window being placed (its outer rectangle)
//   Screen  the screen's rectangle; SW, SH its width and height. The rules
//           count from the screen's own origin, normally (0, 0).
//   half    integer halves, rounded toward zero
#pragma once

namespace navorix {

struct TRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline constexpr int ScreenMargin = 4;

// W moved inside Screen: a left edge above 3 is pulled back to at most
// SW - (width + 4), a left edge of 3 or less is put at 4; the same for the
// top with SH and the height. A window larger than the screen keeps its
// right (bottom) margin and may then start outside on the left (top).
TRect KeepOnScreen(TRect W, const TRect& Screen);

// W centred on the active window Active (nullptr when no window is active,
// then on the screen's centre), then KeepOnScreen.
TRect CentreOnActiveForm(TRect W, const TRect* Active, const TRect& Screen);

// W centred on the control whose screen rectangle is Control, 2 pixels up
// and left of the exact centre, then KeepOnScreen.
TRect CentreOnControl(TRect W, const TRect& Control, const TRect& Screen);

// W beside the window Main, so that it covers none of it: to its right with
// a gap of WindowGap pixels when W fits there within the screen's margin,
// else to its left, else on the side with more room; tops level with
// Main's; then KeepOnScreen (a W too wide for either side then covers part
// of Main).
inline constexpr int WindowGap = 8;
TRect BesideWindow(TRect W, const TRect& Main, const TRect& Screen);

}  // namespace navorix
