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
long double PosLat(const TEarthModel& E, const TTriV& P);

// The decimal reader: the syntax check, then the short exact quotient or the
// library's conversion.
bool ReadDecimal(std::string_view Text, long double& Value);
// Trimmed, blank runs squashed and, with ToUpper, small letters made capitals.
std::string SquashBlanks(std::string_view Text, bool ToUpper);
// The fix name cut to a storable one.
void FitFixName(std::string& Name);

// The coordinate readers.
bool ParseDMS(std::string_view Text, long double& Degrees);
bool ParseCoord(TPlusDir PlusDir, std::string_view Text, TAxis Axis, long double& Radians);
bool ParseLatLon(TPlusDir PlusDir, const TEarthModel& E, FixRecord& Fix, std::string_view Text);
void ParseFixLine(TPlusDir PlusDir, const TEarthModel& E, FixRecord& Fix, std::string_view Line);

// The coordinate texts, with previous::PosLat.
std::string FormatAngle(TAngleFormat Format, TAccuracy Accuracy, long double Angle);
std::string FormatLatLon(const TDisplayOptions& Options, const TEarthModel& E, const FixRecord& Fix,
                         TAccuracy Accuracy);
std::string FixText(const TDisplayOptions& Options, const TEarthModel& E, const FixRecord& Fix);
std::string FixFileLine(const TDisplayOptions& Options, const TEarthModel& E, const FixRecord& Fix);

// x >= 0 rounded to the nearest integer, an exact half to the even one, as
// the coordinate texts count their units.
std::int64_t RoundHalfEven(long double x);

}  // namespace navorix::previous
