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

bool EndsLine(char C) { return C == LineEnd || (C >= '\x01' && C <= '\x08'); }

}  // namespace

std::vector<std::string> AlertLines(std::string_view Message) {
  std::vector<std::string> lines;
  std::string line;
  // The message gets a final "|": every line, the last too, ends with one.
  for (std::size_t i = 0; i <= Message.size() && lines.size() < AlertMaxLines; ++i) {
    if (i == Message.size() || EndsLine(Message[i])) {
      lines.push_back(line);
      line.clear();
    } else {
      line += Message[i];
    }
  }
  return lines;
}

TAlertLayout LayoutAlert(const std::vector<int>& LineWidths, int LineHeight, int Buttons,
                         int ButtonWidth, int ButtonHeight, int FrameWidth) {
  TAlertLayout out;
  out.LineCount = static_cast<int>(std::min<std::size_t>(LineWidths.size(), AlertMaxLines));
  const int row = LineHeight + RowGap;
  int widest = 0;
  for (int i = 0; i < out.LineCount; ++i) {
    out.LineTop[static_cast<std::size_t>(i)] = row - LineShift * out.LineCount + i * row;
    widest = std::max(widest, LineWidths[static_cast<std::size_t>(i)]);
  }
  const int last_top = out.LineCount > 0 ? out.LineTop[static_cast<std::size_t>(out.LineCount - 1)]
                                         : row;
  out.ButtonTop = last_top + row + ButtonsBelowLastLine;
  out.ClientHeight = out.ButtonTop + ButtonHeight + BottomMargin;
  out.ClientWidth = AlertTextLeft + widest + RightMargin;

  const int buttons_span = Buttons * (ButtonWidth + ButtonGap);
  const int least = buttons_span + ButtonGap;
  int window_width = out.ClientWidth + FrameWidth;
  if (window_width < least) {
    window_width = least;
    out.ClientWidth = least - FrameWidth;
  }
  out.ButtonLeft[0] = (window_width - buttons_span + ButtonGap) / 2 - ButtonCentring;
  out.ButtonLeft[1] = out.ButtonLeft[0] + ButtonWidth + ButtonGap;
  out.ButtonLeft[2] = out.ButtonLeft[1] + ButtonWidth + ButtonGap;
  return out;
}

}  // namespace navorix
