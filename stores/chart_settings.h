// The chart window's place, size and projection, kept in the settings file
// in a section of their own:
//   [Chart] Left, Top, Width, Height (pixels of the screen; taken only when
//           Width and Height are 100..16384 and Left and Top within
//           +-16384), Projection 0 globe, 1 Mercator (default 0)
// The section is written only once the chart has been opened, so a settings
// file of someone who never opened it keeps its lines as they were.
#pragma once

#include <cstdint>

namespace navorix {

class ProfileFile;

enum class ChartProjection : std::uint8_t { Globe = 0, Mercator = 1 };

struct ChartSettings {
  bool placed = false;  // Left, Top, Width and Height hold a place
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  ChartProjection projection = ChartProjection::Globe;
  friend bool operator==(const ChartSettings&, const ChartSettings&) = default;
};

inline constexpr int MinChartSide = 100;
inline constexpr int MaxChartCoordinate = 16384;

ChartSettings ReadChartSettings(const ProfileFile& ini);
// Writes the section when chart is placed; nothing otherwise.
void WriteChartSettings(ProfileFile& ini, const ChartSettings& chart);

}  // namespace navorix
