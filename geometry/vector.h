// Three-component vectors in the Earth-centred frame.
//
// Notation:
//   x  toward latitude 0, longitude 0
//   y  toward latitude 0, longitude 90 degrees East
//   z  toward the North Pole
//   A, B, V   general vectors; positions are unit vectors
//   Lat, Lon  latitude and longitude on the sphere, radians, East positive
//
// All components are 80-bit extended. No operation allocates.
#pragma once

#include <cmath>
#include <limits>

#include "geometry/numeric.h"

namespace navorix {

struct Vector3 {
  long double x = 0.0L;
  long double y = 0.0L;
  long double z = 0.0L;

  friend bool operator==(const Vector3&, const Vector3&) = default;
};

// The small operations are inline: they sit in the inner loops of the
// elliptic-arc integrand and the batch runs.

// (Ax + Bx, Ay + By, Az + Bz).
inline Vector3 TriAdd(const Vector3& A, const Vector3& B) { return {A.x + B.x, A.y + B.y, A.z + B.z}; }
// (Ax - Bx, Ay - By, Az - Bz).
inline Vector3 TriSub(const Vector3& A, const Vector3& B) { return {A.x - B.x, A.y - B.y, A.z - B.z}; }
// (k Vx, k Vy, k Vz).
inline Vector3 TriScale(const Vector3& V, long double k) { return {k * V.x, k * V.y, k * V.z}; }
// Negates every component of V in place.
inline void TriNeg(Vector3& V) {
  V.x = -V.x;
  V.y = -V.y;
  V.z = -V.z;
}
// Ax Bx + Ay By + Az Bz.
inline long double TriDot(const Vector3& A, const Vector3& B) { return A.x * B.x + A.y * B.y + A.z * B.z; }
// A x B, right-handed.
inline Vector3 TriCross(const Vector3& A, const Vector3& B) {
  return {A.y * B.z - A.z * B.y, A.z * B.x - A.x * B.z, A.x * B.y - A.y * B.x};
}
// sqrt(Vx^2 + Vy^2 + Vz^2), summed directly without scaling.
inline long double TriLength(const Vector3& V) { return std::sqrt(V.x * V.x + V.y * V.y + V.z * V.z); }
// Raises the failure of TriNormalize for a length L that is not a positive
// finite number.
[[noreturn]] void TriNormalizeFailure(long double L);
// Scales V in place to unit length, multiplying by the reciprocal of its
// length. Throws Error "Cannot normalize a null vector" when the length is
// not greater than 0 (and Error msg::NotANumber when it is not finite).
inline void TriNormalize(Vector3& V) {
  const long double L = TriLength(V);
  if (!(L > 0.0L) || !(L <= std::numeric_limits<long double>::max())) TriNormalizeFailure(L);
  V = TriScale(V, 1.0L / L);
}
// V with every zero component made +0. Computed positions pass through it, so
// that a point exactly on the equator or on meridian 0 shows N and E however
// the arithmetic signed its zeros; a typed "0 S" keeps the sign it was given.
// (Adding +0 turns -0 into +0 and leaves every other value as it is.)
inline Vector3 TriPositiveZeros(const Vector3& V) { return {V.x + 0.0L, V.y + 0.0L, V.z + 0.0L}; }
// The unit vector of latitude lat and longitude lon (radians) on the sphere.
// For |lat| <= pi/2 the cosine of the latitude is taken as non-negative and
// at lon = +-pi the sine of the longitude as a zero of lon's sign, so that a
// position typed at a pole keeps its longitude and one typed at 180 degrees
// keeps its hemisphere despite the rounding of the 80-bit pi.
Vector3 TriFromAngles(long double lat, long double lon);
// sqrt(1 - Vz^2), the cosine of the latitude of the unit vector V; 0 when a
// rounding has put |Vz| above 1, never NaN for a finite Vz.
inline long double TriCosLat(const Vector3& V) {
  const long double c2 = 1.0L - V.z * V.z;
  return std::sqrt(c2 > 0.0L ? c2 : 0.0L);
}
// Latitude of the unit vector V, radians in [-pi/2, +pi/2]:
// atan2(Vz, TriCosLat(V)).
long double TriLat(const Vector3& V);
// Longitude of V, radians in [-pi, +pi]: 0 when Vx = Vy = 0 exactly,
// atan2(Vy, Vx) otherwise.
long double TriLon(const Vector3& V);

}  // namespace navorix
