// Typed distances and azimuths of the operation input dialog, turned into
// the radians the executors take, and their range checks.
//
// Notation:
//   V     the number typed, in the distance unit Units
//   k     kilometres per unit (km 1, mi 1.609344, nm 1.852)
//   R     SpherRadius of the Earth model, km
//   D     central angle on the reference sphere, radians
//   Az    azimuth, radians clockwise from North
#pragma once

#include "text/display_options.h"

namespace navorix {

// D = V k / R for km, mi and nm; D = V pi/180 for Degrees (R not used).
// Any value is converted, negative ones included.
long double DistanceToAngle(DistUnits units, long double spherRadius, long double typed);
// Az = typed degrees times pi/180.
long double AzimuthToAngle(long double typedDegrees);

// DistanceToAngle, refused with Error "Distance too large (>pi)" unless the
// result is smaller than pi. Only this upper limit is checked: a negative
// distance passes unchanged.
long double CheckedDistance(DistUnits units, long double spherRadius, long double typed);
// AzimuthToAngle, refused with Error "Illegal azimuth value (>2pi)" unless
// the absolute value of the result is smaller than 2 pi.
long double CheckedAzimuth(long double typedDegrees);

}  // namespace navorix
