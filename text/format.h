// Formatting of angles, positions, azimuths, distances and fix rows.
//
// Notation:
//   F  format (DisplayOptions.LatLonFormat or AzimFormat), 0..3
//   P  accuracy, 0 Low .. 2 High
//   S  AngleScale[F][P], counting units per degree
//   N  the angle as a whole number of units, rounded once, half to even
//
// Angles are radians (80-bit); distances are central angles on the
// reference sphere. Out-of-range option values are clamped to the nearest
// valid one, so a damaged settings file cannot index outside a table.
#pragma once

#include <cstdint>
#include <string>

#include "text/fix_record.h"

namespace navorix {

// Decimal digits of Value right-aligned in Width; with Zeros the padding is
// "0" (after a "-" sign). Wider numbers are never cut.
std::string NumText(std::int32_t Value, int Width, bool Zeros);

// The unsigned text of |Angle| (radians) in Format 0..3 at Accuracy 0..2,
// e.g. 29.55 deg at (0, 0) -> "29.55\xB0", at (3, 1) -> "29\xB0" "3300". The
// angle is rounded once, so no field ever shows 60. Angles whose count does
// not fit 63 bits, and NaN, give "?".
std::string FormatAngle(int Format, int Accuracy, long double Angle);

// Coordinate text of the fix in DisplayOptions.LatLonFormat at Accuracy:
// latitude right-aligned in 14 characters, longitude in 15 (29 in all). The
// hemisphere letter follows the sign of the unrounded value, a zero's sign
// included, so that "0.00\xB0W" reads back as W.
std::string FormatLatLon(const FixRecord& Fix, int Accuracy);

// Azimuth text (radians) in AzimFormat at Precision; with AzimRange 1 a
// negative azimuth is shown plus 360 degrees, with AzimRange 0 it keeps "-".
std::string FormatAzimuth(long double Angle);

// Distance text of a central angle (radians) in DistUnits, correctly rounded
// to 2*Precision decimals (2*Precision + 2 for degrees); WithUnit appends
// " km", " mi", " nm" or the degree sign.
std::string FormatDistance(long double Angle, bool WithUnit);

// The fix name as text.
std::string FixName(const FixRecord& Fix);
// The 45-character fix-list row: the name in 16 columns (a suffix after "/"
// right-aligned, the "/" not shown) and FormatLatLon at Precision. An invalid
// fix gives "".
std::string FixText(const FixRecord& Fix);
// One fix-file line: FormatLatLon at High accuracy, a blank, the name.
std::string FixFileLine(const FixRecord& Fix);

}  // namespace navorix
