// Vector algebra of the Earth-centred frame (notation in vector.h).
#include "geometry/vector.h"

#include <cmath>

#include "geometry/error.h"
#include "geometry/sincos.h"

namespace navorix {

void TriNormalizeFailure(long double L) {
  if (std::isnan(L) || std::isinf(L)) throw Error(msg::NotANumber);
  throw Error(msg::NullVector);
}

Vector3 TriFromAngles(long double lat, long double lon) {
  long double sinLat, cosLat, sinLon, cosLon;
  SinCos(lat, sinLat, cosLat);
  SinCos(lon, sinLon, cosLon);
  // The 80-bit pi/2 lies above the true pi/2, so cos(pi/2) comes out as a tiny
  // negative number that would swing a pole position to the far meridian.
  if (std::fabs(lat) <= HalfPi) cosLat = std::fabs(cosLat);
  // Likewise sin(pi) has the wrong sign: keep the hemisphere that was typed.
  if (std::fabs(lon) == Pi) sinLon = std::copysign(0.0L, lon);
  return {cosLat * cosLon, cosLat * sinLon, sinLat};
}

long double TriLat(const Vector3& V) { return std::atan2(V.z, TriCosLat(V)); }

long double TriLon(const Vector3& V) {
  if (V.x == 0.0L && V.y == 0.0L) return 0.0L;
  return std::atan2(V.y, V.x);
}

}  // namespace navorix
