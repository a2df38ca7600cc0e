#include "stores/chart_settings.h"

#include <cstdlib>

#include "stores/profile_file.h"

namespace navorix {

namespace {

constexpr const char* ChartSection = "Chart";

}  // namespace

TChartSettings ReadChartSettings(const TProfileFile& Ini) {
  TChartSettings chart;
  chart.Projection = Ini.ReadInteger(ChartSection, "Projection", 0) == 1 ? TChartProjection::Mercator
                                                                          : TChartProjection::Globe;
  const int left = Ini.ReadInteger(ChartSection, "Left", 0);
  const int top = Ini.ReadInteger(ChartSection, "Top", 0);
  const int width = Ini.ReadInteger(ChartSection, "Width", 0);
  const int height = Ini.ReadInteger(ChartSection, "Height", 0);
  const auto side = [](int Side) { return Side >= MinChartSide && Side <= MaxChartCoordinate; };
  const auto corner = [](int Coordinate) { return std::abs(Coordinate) <= MaxChartCoordinate; };
  // A place is taken whole or not at all: half of one would put the window
  // where neither the user nor the program put it.
  if (side(width) && side(height) && corner(left) && corner(top)) {
    chart.Placed = true;
    chart.Left = left;
    chart.Top = top;
    chart.Width = width;
    chart.Height = height;
  }
  return chart;
}

void WriteChartSettings(TProfileFile& Ini, const TChartSettings& Chart) {
  if (!Chart.Placed) return;
  Ini.WriteInteger(ChartSection, "Left", Chart.Left);
  Ini.WriteInteger(ChartSection, "Top", Chart.Top);
  Ini.WriteInteger(ChartSection, "Width", Chart.Width);
  Ini.WriteInteger(ChartSection, "Height", Chart.Height);
  Ini.WriteInteger(ChartSection, "Projection", static_cast<int>(Chart.Projection));
}

}  // namespace navorix
