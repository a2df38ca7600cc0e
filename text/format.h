// Formatting of angles, positions, azimuths, distances and fix rows.
//
// Notation:
//   F  format (the LatLonFormat or AzimFormat of the display options)
//   P  accuracy, Low .. High
//   S  AngleScale[F][P], counting units per degree
//   N  the angle as a whole number of units, rounded once, half to even
//
// Angles are radians (80-bit); distances are central angles on the
// reference sphere. Every routine takes the options it reads as arguments;
// option values outside their enumeration (only a cast can make them) are
// clamped to the nearest valid one, so no table is indexed out of bounds.
#pragma once

#include <cstdint>
#include <string>

#include "geometry/earth_model.h"
#include "text/display_options.h"
#include "text/fix_record.h"

namespace navorix {

// Decimal digits of value right-aligned in Width; with zeros the padding is
// "0" (after a "-" sign). Wider numbers are never cut.
std::string NumText(std::int32_t value, int minWidth, bool zeros);

// The unsigned text of |angle| (radians) in format at accuracy, e.g. 29.55
// deg in (DegFrac, Low) -> "29.55\xB0", in (InfixDMS, Medium) -> "29\xB0" "3300".
// The angle is rounded once, so no field ever shows 60. Angles whose count
// does not fit 63 bits, and NaN, give "?".
std::string FormatAngle(AngleFormat format, Accuracy accuracy, long double angle);

// Coordinate text of the fix in options.LatLonFormat at accuracy, its
// latitude shown under the Earth model E: latitude right-aligned in 14
// characters, longitude in 15 (29 in all). The hemisphere letter follows the
// sign of the unrounded value, a zero's sign included, so that "0.00\xB0W"
// reads back as W.
std::string FormatLatLon(const DisplayOptions& options, const EarthModel& E, const FixRecord& fix,
                         Accuracy accuracy);

// Azimuth text (radians) in AzimFormat at Precision; in the range 0..360 a
// negative azimuth is shown plus 360 degrees, in -180..+180 it keeps "-".
std::string FormatAzimuth(const DisplayOptions& options, long double angle);

// Distance text of a central angle (radians) in DistUnits (lengths with the
// sphere radius of E), correctly rounded to 2*Precision decimals
// (2*Precision + 2 for degrees); withUnit appends " km", " mi", " nm" or the
// degree sign.
std::string FormatDistance(const DisplayOptions& options, const EarthModel& E, long double angle,
                           bool withUnit);

// The fix name as text.
std::string FixName(const FixRecord& fix);
// The 45-character fix-list row: the name in 16 columns (a suffix after "/"
// right-aligned, the "/" not shown) and FormatLatLon at Precision. An invalid
// fix gives "".
std::string FixText(const DisplayOptions& options, const EarthModel& E, const FixRecord& fix);
// One fix-file line: FormatLatLon at High accuracy, a blank, the name.
std::string FixFileLine(const DisplayOptions& options, const EarthModel& E, const FixRecord& fix);

}  // namespace navorix
