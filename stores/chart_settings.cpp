#include "stores/chart_settings.h"

#include <cstdlib>

#include "stores/profile_file.h"

namespace navorix {

namespace {

constexpr const char* ChartSection = "Chart";

}  // namespace

ChartSettings ReadChartSettings(const ProfileFile& ini) {
  ChartSettings chart;
  chart.projection = ini.ReadInteger(ChartSection, "Projection", 0) == 1 ? ChartProjection::Mercator
                                                                         : ChartProjection::Globe;
  const int left = ini.ReadInteger(ChartSection, "Left", 0);
  const int top = ini.ReadInteger(ChartSection, "Top", 0);
  const int width = ini.ReadInteger(ChartSection, "Width", 0);
  const int height = ini.ReadInteger(ChartSection, "Height", 0);
  const auto side = [](int length) { return length >= MinChartSide && length <= MaxChartCoordinate; };
  const auto corner = [](int coordinate) { return std::abs(coordinate) <= MaxChartCoordinate; };
  // A place is taken whole or not at all: half of one would put the window
  // where neither the user nor the program put it.
  if (side(width) && side(height) && corner(left) && corner(top)) {
    chart.placed = true;
    chart.left = left;
    chart.top = top;
    chart.width = width;
    chart.height = height;
  }
  return chart;
}

void WriteChartSettings(ProfileFile& ini, const ChartSettings& chart) {
  if (!chart.placed) return;
  ini.WriteInteger(ChartSection, "Left", chart.left);
  ini.WriteInteger(ChartSection, "Top", chart.top);
  ini.WriteInteger(ChartSection, "Width", chart.width);
  ini.WriteInteger(ChartSection, "Height", chart.height);
  ini.WriteInteger(ChartSection, "Projection", static_cast<int>(chart.projection));
}

}  // namespace navorix
