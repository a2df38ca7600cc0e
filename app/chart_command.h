// navorix --chart FILE.png|FILE.svg [--size WxH]: the chart of the saved
// session (its fixes and its last log record) drawn into a picture file
// without opening a window.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace navorix {

struct ChartCommand {
  std::string file;  // made absolute before the program changes directory
  int width = 800;
  int height = 600;
};

// The command of the arguments after the program's name; none when they do
// not ask for a chart. Throws Error with the usage text when they ask for
// one wrongly.
std::optional<ChartCommand> ParseChartCommand(const std::vector<std::string>& args);

inline constexpr const char* ChartUsage = "usage: navorix --chart FILE.png|FILE.svg [--size WxH]";

}  // namespace navorix
