// The question box's text and layout arithmetic, apart from the widgets.
//
// Notation:
//   n     number of message lines shown (1..8)
//   Row   height of a line label + 5
//   B     number of buttons (1..3), bw x bh the size of one button
//   W     the least window width that holds the buttons: B (bw + 6) + 6
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace navorix {

inline constexpr int AlertMaxLines = 8;
inline constexpr int AlertTextLeft = 8;

// The lines of message: "|" and the characters with codes 1 to 8 end a
// line; a message with k separators has k + 1 lines, of which the first
// eight are kept.
std::vector<std::string> alertLines(std::string_view message);

struct AlertLayout {
  int lineCount = 0;
  std::array<int, AlertMaxLines> lineTop{};  // left is always AlertTextLeft
  int buttonTop = 0;
  std::array<int, 3> buttonLeft{};  // Yes, No, Cancel
  int clientWidth = 0;
  int clientHeight = 0;
};

// Places lineWidths.size() (1..8) lines of height lineHeight and B buttons
// of buttonWidth x buttonHeight. frameWidth is what the window's border
// adds to the client width; the window width it gives is what the button
// arithmetic centres on.
//   Row = lineHeight + 5; line 1 at Row - 2n, each further line Row lower;
//   buttons at the last line's top + Row + 8; client height = button top +
//   bh + 6; client width = 8 + widest line + 6, widened so that the window
//   is at least W; Yes at (window width - B (bw + 6) + 6) / 2 - 3, rounded
//   toward zero, No and Cancel 6 pixels right of the one before.
AlertLayout layoutAlert(const std::vector<int>& lineWidths, int lineHeight, int buttons, int buttonWidth,
                        int buttonHeight, int frameWidth);

}  // namespace navorix
