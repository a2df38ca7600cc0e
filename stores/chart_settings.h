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

class TProfileFile;

enum class TChartProjection : std::uint8_t { Globe = 0, Mercator = 1 };

struct TChartSettings {
  bool Placed = false;  // Left, Top, Width and Height hold a place
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  TChartProjection Projection = TChartProjection::Globe;
  friend bool operator==(const TChartSettings&, const TChartSettings&) = default;
};

inline constexpr int MinChartSide = 100;
inline constexpr int MaxChartCoordinate = 16384;

TChartSettings ReadChartSettings(const TProfileFile& Ini);
// Writes the section when Chart is placed; nothing otherwise.
void WriteChartSettings(TProfileFile& Ini, const TChartSettings& Chart);

}  // namespace navorix
