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

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

inline constexpr int ScreenMargin = 4;

// W moved inside screen: a left edge above 3 is pulled back to at most
// SW - (width + 4), a left edge of 3 or less is put at 4; the same for the
// top with SH and the height. A window larger than the screen keeps its
// right (bottom) margin and may then start outside on the left (top).
Rect keepOnScreen(Rect W, const Rect& screen);

// W centred on the active window active (nullptr when no window is active,
// then on the screen's centre), then KeepOnScreen.
Rect centreOnActiveForm(Rect W, const Rect* active, const Rect& screen);

// W centred on the control whose screen rectangle is control, 2 pixels up
// and left of the exact centre, then KeepOnScreen.
Rect centreOnControl(Rect W, const Rect& control, const Rect& screen);

// W beside the window Main, so that it covers none of it: to its right with
// a gap of WindowGap pixels when W fits there within the screen's margin,
// else to its left, else on the side with more room; tops level with
// Main's; then KeepOnScreen (a W too wide for either side then covers part
// of Main).
inline constexpr int WindowGap = 8;
Rect besideWindow(Rect W, const Rect& main, const Rect& screen);

}  // namespace navorix
