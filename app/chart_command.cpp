#include "app/chart_command.h"

#include <charconv>
#include <filesystem>

#include "geometry/error.h"
#include "stores/chart_settings.h"

namespace navorix {

namespace {

bool ReadSide(std::string_view text, int& side) {
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), side);
  return failure == std::errc{} && end == text.data() + text.size() && side >= MinChartSide &&
         side <= MaxChartCoordinate;
}

}  // namespace

std::optional<ChartCommand> ParseChartCommand(const std::vector<std::string>& args) {
  if (args.empty() || args[0] != "--chart") return std::nullopt;
  if (args.size() != 2 && args.size() != 4) throw Error(ChartUsage);
  ChartCommand command;
  if (args[1].empty() || args[1][0] == '-') throw Error(ChartUsage);
  command.file = std::filesystem::absolute(args[1]).string();
  if (args.size() == 4) {
    const std::string& size = args[3];
    const std::size_t x = size.find('x');
    if (args[2] != "--size" || x == std::string::npos ||
        !ReadSide(std::string_view(size).substr(0, x), command.width) ||
        !ReadSide(std::string_view(size).substr(x + 1), command.height)) {
      throw Error(ChartUsage);
    }
  }
  return command;
}

}  // namespace navorix
