#include "window/boxes/alert_layout.h"

#include <algorithm>

namespace navorix {

namespace {

constexpr char LineEnd = '|';
constexpr int RowGap = 5;
constexpr int LineShift = 2;
constexpr int ButtonGap = 6;
constexpr int ButtonsBelowLastLine = 8;
constexpr int BottomMargin = 6;
constexpr int RightMargin = 6;
constexpr int ButtonCentring = 3;

bool endsLine(char C) { return C == LineEnd || (C >= '\x01' && C <= '\x08'); }

}  // namespace

std::vector<std::string> alertLines(std::string_view message) {
  std::vector<std::string> lines;
  std::string line;
  // The message gets a final "|": every line, the last too, ends with one.
  for (std::size_t i = 0; i <= message.size() && lines.size() < AlertMaxLines; ++i) {
    if (i == message.size() || endsLine(message[i])) {
      lines.push_back(line);
      line.clear();
    } else {
      line += message[i];
    }
  }
  return lines;
}

AlertLayout layoutAlert(const std::vector<int>& lineWidths, int lineHeight, int buttons, int buttonWidth,
                        int buttonHeight, int frameWidth) {
  AlertLayout out;
  out.lineCount = static_cast<int>(std::min<std::size_t>(lineWidths.size(), AlertMaxLines));
  const int row = lineHeight + RowGap;
  int widest = 0;
  for (int i = 0; i < out.lineCount; ++i) {
    out.lineTop[static_cast<std::size_t>(i)] = row - LineShift * out.lineCount + i * row;
    widest = std::max(widest, lineWidths[static_cast<std::size_t>(i)]);
  }
  const int lastTop = out.lineCount > 0 ? out.lineTop[static_cast<std::size_t>(out.lineCount - 1)] : row;
  out.buttonTop = lastTop + row + ButtonsBelowLastLine;
  out.clientHeight = out.buttonTop + buttonHeight + BottomMargin;
  out.clientWidth = AlertTextLeft + widest + RightMargin;

  const int buttonsSpan = buttons * (buttonWidth + ButtonGap);
  const int least = buttonsSpan + ButtonGap;
  int windowWidth = out.clientWidth + frameWidth;
  if (windowWidth < least) {
    windowWidth = least;
    out.clientWidth = least - frameWidth;
  }
  out.buttonLeft[0] = (windowWidth - buttonsSpan + ButtonGap) / 2 - ButtonCentring;
  out.buttonLeft[1] = out.buttonLeft[0] + buttonWidth + ButtonGap;
  out.buttonLeft[2] = out.buttonLeft[1] + buttonWidth + ButtonGap;
  return out;
}

}  // namespace navorix
