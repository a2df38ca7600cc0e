// Display options and the fixed tables of coordinate text.
//
// Notation:
//   Format    0 Deg/Frac, 1 Deg/Min/Frac, 2 Deg/Min/Sec, 3 Infix DMS
//   Accuracy  0 Low, 1 Medium, 2 High
//   unit      the counting unit of an angle text: 1/AngleScale[F][P] degree
//
// Text is single-byte Windows-1252; the degree sign is the byte 0xB0.
#pragma once

#include <cstdint>

namespace navorix {

// The six program-wide display settings, one byte each, with the values they
// have before the settings file is read.
struct TDisplayOptions {
  std::uint8_t LatLonFormat = 2;  // Format of latitudes and longitudes, 0..3
  std::uint8_t AzimFormat = 0;    // Format of azimuths, 0..2 (3 prints infix without letter)
  std::uint8_t PlusDir = 0;       // meaning of "+", "-" and bare numbers, 0..3
  std::uint8_t Precision = 0;     // display Accuracy, 0..2
  std::uint8_t DistUnits = 0;     // index into DistUnitTable, 0..3
  std::uint8_t AzimRange = 0;     // 0: -180..+180, 1: 0..360
};

extern TDisplayOptions DisplayOptions;

// Number of values of each option (the valid values are 0 .. count - 1).
inline constexpr std::uint8_t LatLonFormatCount = 4;
inline constexpr std::uint8_t AzimFormatCount = 3;
inline constexpr std::uint8_t PlusDirCount = 4;
inline constexpr std::uint8_t PrecisionCount = 3;
inline constexpr std::uint8_t DistUnitsCount = 4;
inline constexpr std::uint8_t AzimRangeCount = 2;

// Menu names, indexed by the option value. FormatNames serves both
// LatLonFormat and AzimFormat (the menu offers only 0..2 for azimuths).
inline constexpr const char* FormatNames[4] = {"Deg/Frac", "Deg/Min/Frac", "Deg/Min/Sec",
                                               "Infix DMS"};
inline constexpr const char* PlusDirNames[4] = {"North-East", "North-West", "South-East",
                                                "South-West"};
inline constexpr const char* AzimRangeNames[2] = {"-180\xB0..+180\xB0", "0\xB0..+360\xB0"};

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

struct TDistUnit {
  const char* Suffix;      // appended by FormatDistance
  const char* Name;        // shown in the Options menu caption
  long double KmPerUnit;   // 0 for degrees of arc, which do not use the radius
};

// Indexed by DistUnits. Degrees of arc convert with pi/180 per degree.
inline constexpr TDistUnit DistUnitTable[4] = {
    {"km", "Kilometers", 1.0L},
    {"mi", "Miles", 1.609344L},
    {"nm", "Naut.Miles", 1.852L},
    {"\xB0", "Degrees", 0.0L},
};
inline constexpr std::uint8_t DegreesUnit = 3;

}  // namespace navorix
