// Reading typed or stored coordinate, distance and azimuth text.
//
// Notation:
//   D    degree separator: DegreeSign, or "D" when the text has none
//   P/Q  the positive/negative hemisphere letter of an axis: N/S, E/W
//   Axis latitude or longitude
//
// Every reader returns false for text it cannot read and never throws;
// output arguments are unspecified after a failure. Numbers use "." whatever
// the process locale (see text/decimal.h). Latitudes and longitudes are not
// range-checked.
#pragma once

#include <cstdint>
#include <string_view>

#include "geometry/earth_model.h"
#include "text/display_options.h"
#include "text/fix_record.h"

namespace navorix {

enum class Axis : std::uint8_t { Latitude, Longitude };

// Degrees of a DMS text: "29.552867", "29\xB0", "29\xB0" "33.172'",
// "29\xB0" "33'10.32\"", "29\xB0" "33", "29\xB0" "3310", "29\xB0" "331032". Minutes / 60,
// seconds / 3600 and the fraction of a second are added to the degrees one
// at a time, in that order, on the magnitude; a sign of the degrees then
// applies to the whole angle.
bool ParseDMS(std::string_view text, long double& Degrees);

// Radians of a latitude or longitude text in any display format, with a
// leading sign, a trailing or infix hemisphere letter, or none; plusDir
// decides what a sign or a bare number means.
bool ParseCoord(PlusDir plusDir, std::string_view text, Axis axis, long double& Radians);

// "LAT LON" (split at the first blank): on success sets fix.Position with
// PosFromLatLon under E; the name and valid flag are not touched.
bool ParseLatLon(PlusDir plusDir, const EarthModel& E, FixRecord& fix, std::string_view text);

// One fix-file line "LAT LON NAME [ignored...]": clears the valid flag; with
// at least three tokens and a FitFixName(NAME) that IsValidFixName accepts
// unchanged, stores that name and sets the valid flag to the result of
// ParseLatLon.
void ParseFixLine(PlusDir plusDir, const EarthModel& E, FixRecord& fix, std::string_view line);

// The distance field: one decimal number, in the current distance unit.
bool ParseDistanceText(std::string_view text, long double& value);

// The azimuth field: an optional sign and a DMS text, in signed degrees.
bool ParseAzimuthText(std::string_view text, long double& Degrees);

}  // namespace navorix
