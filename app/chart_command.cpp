#include "app/chart_command.h"

#include <charconv>
#include <filesystem>

#include "stores/chart_settings.h"
#include "geometry/error.h"

namespace navorix {

namespace {

bool ReadSide(std::string_view Text, int& Side) {
  const auto [end, failure] = std::from_chars(Text.data(), Text.data() + Text.size(), Side);
  return failure == std::errc{} && end == Text.data() + Text.size() && Side >= MinChartSide &&
         Side <= MaxChartCoordinate;
}

}  // namespace

std::optional<TChartCommand> ParseChartCommand(const std::vector<std::string>& Args) {
  if (Args.empty() || Args[0] != "--chart") return std::nullopt;
  if (Args.size() != 2 && Args.size() != 4) throw Error(ChartUsage);
  TChartCommand command;
  if (Args[1].empty() || Args[1][0] == '-') throw Error(ChartUsage);
  command.File = std::filesystem::absolute(Args[1]).string();
  if (Args.size() == 4) {
    const std::string& size = Args[3];
    const std::size_t x = size.find('x');
    if (Args[2] != "--size" || x == std::string::npos ||
        !ReadSide(std::string_view(size).substr(0, x), command.Width) ||
        !ReadSide(std::string_view(size).substr(x + 1), command.Height)) {
      throw Error(ChartUsage);
    }
  }
  return command;
}

}  // namespace navorix
