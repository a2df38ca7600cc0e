// Vector algebra of the Earth-centred frame (notation in vector.h).
#include "geometry/vector.h"

#include <cmath>

#include "geometry/error.h"
#include "geometry/sincos.h"

namespace navorix {

TTriV TriAdd(const TTriV& A, const TTriV& B) { return {A.x + B.x, A.y + B.y, A.z + B.z}; }

TTriV TriSub(const TTriV& A, const TTriV& B) { return {A.x - B.x, A.y - B.y, A.z - B.z}; }

TTriV TriScale(const TTriV& V, long double k) { return {k * V.x, k * V.y, k * V.z}; }

void TriNeg(TTriV& V) {
  V.x = -V.x;
  V.y = -V.y;
  V.z = -V.z;
}

long double TriDot(const TTriV& A, const TTriV& B) { return A.x * B.x + A.y * B.y + A.z * B.z; }

TTriV TriCross(const TTriV& A, const TTriV& B) {
  return {A.y * B.z - A.z * B.y, A.z * B.x - A.x * B.z, A.x * B.y - A.y * B.x};
}

long double TriLength(const TTriV& V) { return std::sqrt(V.x * V.x + V.y * V.y + V.z * V.z); }

void TriNormalize(TTriV& V) {
  const long double L = TriLength(V);
  if (std::isnan(L) || std::isinf(L)) throw Error(msg::NotANumber);
  if (!(L > 0.0L)) throw Error(msg::NullVector);
  V = TriScale(V, 1.0L / L);
}

TTriV TriPositiveZeros(const TTriV& V) {
  // Adding +0 turns -0 into +0 and leaves every other value as it is.
  return {V.x + 0.0L, V.y + 0.0L, V.z + 0.0L};
}

TTriV TriFromAngles(long double Lat, long double Lon) {
  long double sinLat, cosLat, sinLon, cosLon;
  SinCos(Lat, sinLat, cosLat);
  SinCos(Lon, sinLon, cosLon);
  // The 80-bit pi/2 lies above the true pi/2, so cos(pi/2) comes out as a tiny
  // negative number that would swing a pole position to the far meridian.
  if (std::fabs(Lat) <= HalfPi) cosLat = std::fabs(cosLat);
  // Likewise sin(pi) has the wrong sign: keep the hemisphere that was typed.
  if (std::fabs(Lon) == Pi) sinLon = std::copysign(0.0L, Lon);
  return {cosLat * cosLon, cosLat * sinLon, sinLat};
}

long double TriLat(const TTriV& V) {
  // A unit vector may carry |z| one rounding above 1; the root must stay real.
  const long double c2 = 1.0L - V.z * V.z;
  return std::atan2(V.z, std::sqrt(c2 > 0.0L ? c2 : 0.0L));
}

long double TriLon(const TTriV& V) {
  if (V.x == 0.0L && V.y == 0.0L) return 0.0L;
  return std::atan2(V.y, V.x);
}

}  // namespace navorix
