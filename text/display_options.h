// Display options and the fixed tables of coordinate text.
//
// Notation:
//   Format    AngleFormat: Deg/Frac, Deg/Min/Frac, Deg/Min/Sec, Infix DMS
//   Accuracy  Accuracy: Low, Medium, High
//   unit      the counting unit of an angle text: 1/AngleScale[F][P] degree
//
// Every option is a closed set of values numbered from 0 in the order of the
// Options menu; the settings file stores those numbers. Text is single-byte
// Windows-1252; the degree sign is the byte 0xB0.
#pragma once

#include <cstdint>
#include <string>

namespace navorix {

enum class AngleFormat : std::uint8_t { DegFrac, DegMinFrac, DegMinSec, InfixDMS };
// What "+", "-" and a bare number mean for latitude and longitude.
enum class PlusDir : std::uint8_t { NorthEast, NorthWest, SouthEast, SouthWest };
enum class Accuracy : std::uint8_t { Low, Medium, High };
enum class DistUnits : std::uint8_t { Kilometers, Miles, NautMiles, Degrees };
// Azimuths shown in -180..+180 or in 0..360 degrees.
enum class AzimRange : std::uint8_t { PlusMinus180, Zero360 };

// Number of values of each option (the valid numbers are 0 .. count - 1).
// The azimuth format offers only the first three angle formats.
inline constexpr int LatLonFormatCount = 4;
inline constexpr int AzimFormatCount = 3;
inline constexpr int PlusDirCount = 4;
inline constexpr int PrecisionCount = 3;
inline constexpr int DistUnitsCount = 4;
inline constexpr int AzimRangeCount = 2;

// The number of an option value.
template <typename E>
constexpr int Index(E value) {
  return static_cast<int>(value);
}

// Value with number N when N is 0 .. count - 1; false (value untouched)
// otherwise.
template <typename E>
constexpr bool FromIndex(int N, int count, E& value) {
  if (N < 0 || N >= count) return false;
  value = static_cast<E>(N);
  return true;
}

// The six display settings, with the values they have before a settings
// file is read.
struct DisplayOptions {
  AngleFormat latLonFormat = AngleFormat::DegMinSec;
  AngleFormat azimFormat = AngleFormat::DegFrac;
  PlusDir plusDir = PlusDir::NorthEast;
  Accuracy precision = Accuracy::Low;
  DistUnits distUnits = DistUnits::Kilometers;
  AzimRange azimRange = AzimRange::PlusMinus180;
  friend bool operator==(const DisplayOptions&, const DisplayOptions&) = default;
};

// Menu names, indexed by the option value. FormatNames serves both
// LatLonFormat and AzimFormat.
inline constexpr const char* FormatNames[4] = {"Deg/Frac", "Deg/Min/Frac", "Deg/Min/Sec", "Infix DMS"};
inline constexpr const char* PlusDirNames[4] = {"North-East", "North-West", "South-East", "South-West"};
inline constexpr const char* PrecisionNames[3] = {"Low", "Medium", "High"};
inline constexpr const char* DistUnitsNames[4] = {"Kilometers", "Miles", "Naut.Miles", "Degrees"};
inline constexpr const char* AzimRangeNames[2] = {"-180\xB0..+180\xB0", "0\xB0..+360\xB0"};

// The display options by name, in the order of the settings file.
enum class DisplayOption : std::uint8_t {
  LatLonFormat,
  AzimFormat,
  PlusDir,
  Precision,
  DistUnits,
  AzimRange,
};
inline constexpr int DisplayOptionCount = 6;

// What a new value changes besides the option itself.
enum class OptionEffect : std::uint8_t {
  None,
  Rows,       // the fix list's rows are written anew
  NextFixOn,  // "&Next Fix" is enabled unless the value is Degrees
};

// One display option: everything the settings file, the Options menu, the
// captions and navorix-batch's `set` know of it.
struct DisplayOptionInfo {
  DisplayOption option;
  const char* key;            // settings key, also the keyword of `set`
  int count;                  // values 0 .. Count - 1
  const char* const* names;   // the value names of the caption
  const char* captionPrefix;  // the submenu's caption before the value name
  OptionEffect effect;
  int (*get)(const DisplayOptions&);
  void (*set)(DisplayOptions&, int);
};

// Indexed by DisplayOption.
extern const DisplayOptionInfo DisplayOptionTable[DisplayOptionCount];

inline const DisplayOptionInfo& OptionInfo(DisplayOption option) { return DisplayOptionTable[Index(option)]; }

// The caption of the options submenu of option for the value in options,
// e.g. "Lat/Lon &Format: " followed by "Deg/Frac". A value outside its
// enumeration (only a cast makes one) shows the first name.
std::string OptionCaption(DisplayOption option, const DisplayOptions& options);

// The mark characters of coordinate text.
inline constexpr char DegreeSign = '\xB0';
inline constexpr char MinuteMark = '\'';
inline constexpr char SecondMark = '"';

// Counting units per degree, by Format and Accuracy: an angle is rounded once
// to a whole number of these units and the count is then split.
inline constexpr std::int32_t AngleScale[4][3] = {
    {100, 10000, 1000000},  // 0.01, 0.0001, 0.000001 degree
    {60, 6000, 600000},     // 1, 0.01, 0.0001 minute
    {60, 3600, 360000},     // 1 minute, 1 second, 0.01 second
    {60, 3600, 360000},     // the same counts, infix layout
};

struct DistUnitInfo {
  const char* suffix;     // appended by FormatDistance
  long double kmPerUnit;  // 0 for degrees of arc, which do not use the radius
};

// Indexed by DistUnits. Degrees of arc convert with pi/180 per degree.
inline constexpr DistUnitInfo DistUnitTable[4] = {
    {"km", 1.0L},
    {"mi", 1.609344L},
    {"nm", 1.852L},
    {"\xB0", 0.0L},
};

inline constexpr const DistUnitInfo& UnitInfo(DistUnits units) { return DistUnitTable[Index(units) & 3]; }

}  // namespace navorix
