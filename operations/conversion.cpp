// Conversion of typed distances and azimuths.
//
// Notation: V typed value, k km per unit, R SpherRadius (km), D radians.
//
// The comparisons are written as !(x < limit) so that a NaN or an infinity
// from an absurd typed exponent is refused as well. With the extended pi/180
// of numeric.h, 180 degrees gives exactly the extended pi, so 180 is refused
// and 179.9 accepted; likewise 360 degrees gives exactly 2 pi.
#include "operations/conversion.h"

#include <cmath>

#include "geometry/error.h"
#include "geometry/numeric.h"
#include "operations/messages.h"

namespace navorix {

long double DistanceToAngle(DistUnits units, long double spherRadius, long double typed) {
  if (units == DistUnits::Degrees) return typed * DegToRad;
  return typed * UnitInfo(units).kmPerUnit / spherRadius;
}

long double AzimuthToAngle(long double typedDegrees) { return typedDegrees * DegToRad; }

long double CheckedDistance(DistUnits units, long double spherRadius, long double typed) {
  const long double D = DistanceToAngle(units, spherRadius, typed);
  if (!(D < Pi)) throw Error(msg::DistanceTooLarge);
  return D;
}

long double CheckedAzimuth(long double typedDegrees) {
  const long double az = AzimuthToAngle(typedDegrees);
  if (!(std::fabs(az) < TwoPi)) throw Error(msg::IllegalAzimuth);
  return az;
}

}  // namespace navorix
