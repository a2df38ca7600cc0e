// The text routines as they were before they were made faster, kept
// unchanged as the reference that the faster ones are checked against.
//
// Notation as in text/format.h and text/parse.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "geometry/earth_model.h"
#include "text/display_options.h"
#include "text/fix_record.h"
#include "text/parse.h"

namespace navorix::previous {

// The shown latitude: the geocentric latitude atan2(Pz, sqrt(1 - Pz^2)),
// converted to geodetic by a tangent and an arctangent when EllipticLat is
// on.
long double PosLat(const EarthModel& E, const Vector3& P);

// The decimal reader: the syntax check, then the short exact quotient or the
// library's conversion.
bool ReadDecimal(std::string_view text, long double& value);
// Trimmed, blank runs squashed and, with toUpper, small letters made capitals.
std::string SquashBlanks(std::string_view text, bool toUpper);
// The fix name cut to a storable one.
void FitFixName(std::string& name);

// The coordinate readers.
bool ParseDMS(std::string_view text, long double& Degrees);
bool ParseCoord(PlusDir plusDir, std::string_view written, Axis axis, long double& result);
bool ParseLatLon(PlusDir plusDir, const EarthModel& E, FixRecord& fix, std::string_view text);
void ParseFixLine(PlusDir plusDir, const EarthModel& E, FixRecord& fix, std::string_view line);

// The coordinate texts, with previous::PosLat.
std::string FormatAngle(AngleFormat format, Accuracy accuracy, long double angle);
std::string FormatLatLon(const DisplayOptions& options, const EarthModel& E, const FixRecord& fix,
                         Accuracy accuracy);
std::string FixText(const DisplayOptions& options, const EarthModel& E, const FixRecord& fix);
std::string FixFileLine(const DisplayOptions& options, const EarthModel& E, const FixRecord& fix);

// x >= 0 rounded to the nearest integer, an exact half to the even one, as
// the coordinate texts count their units.
std::int64_t RoundHalfEven(long double x);

}  // namespace navorix::previous
