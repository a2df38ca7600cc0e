// The Earth model and the latitude conversions (notation in earth_model.h).
#include "geometry/earth_model.h"

#include <cmath>

namespace navorix {
namespace {

constexpr long double PoleZLimit = 0.99999999999999995L;

// Both latitude conversions: tan(out) = (1 - e2) tan(in) toward geocentric,
// tan(out) = tan(in) / (1 - e2) toward geodetic, using the tangent of the
// complement from pi/4 up so that it never grows large. The branch looks at
// the argument, not at the result.
long double ConvertLatitude(const EarthShape& E, long double in, bool toGeocentric) {
  const long double x = std::fabs(in);
  const long double k = E.oneMinusEcc2;
  long double out;
  if (x < QuarterPi) {
    const long double t = std::tan(x);
    out = std::atan2(toGeocentric ? t * k : t / k, 1.0L);
  } else {
    const long double t = std::tan(HalfPi - x);
    out = HalfPi - std::atan2(toGeocentric ? t / k : t * k, 1.0L);
  }
  // copysign also keeps the sign of a zero, so "0 S" stays south.
  return std::copysign(out, in);
}

}  // namespace

bool IsUsableEarthModel(long double spherRadius, long double polarRadius, long double equatRadius) {
  // The comparisons are false for NaN, so NaN and infinities are refused too.
  const auto inRange = [](long double r) { return r >= MinEarthRadius && r <= MaxEarthRadius; };
  return inRange(spherRadius) && inRange(polarRadius) && inRange(equatRadius) && polarRadius <= equatRadius &&
         (equatRadius - polarRadius) * InverseMaxFlattening <= equatRadius;
}

long double GeodToGeoc(const EarthShape& E, long double phi) { return ConvertLatitude(E, phi, true); }

long double GeocToGeod(const EarthShape& E, long double psi) { return ConvertLatitude(E, psi, false); }

Vector3 PosFromLatLon(const EarthModel& E, long double lat, long double lon) {
  return TriFromAngles(E.ellipticLat ? GeodToGeoc(E.shape, lat) : lat, lon);
}

long double PosLat(const EarthModel& E, const Vector3& P) {
  const long double psi = TriLat(P);
  return E.ellipticLat ? GeocToGeod(E.shape, psi) : psi;
}

long double PosLatDirect(const EarthModel& E, const Vector3& P) {
  if (!E.ellipticLat) return TriLat(P);
  // tan psi = Pz / c and tan phi = tan psi / (1 - e2): one quotient inside
  // the arctangent instead of a tangent and two arctangents.
  return std::atan2(P.z, E.shape.oneMinusEcc2 * TriCosLat(P));
}

long double PosLon(const Vector3& P) { return TriLon(P); }

void RebuildPos(const EarthModel& E, Vector3& P) {
  const long double psi = TriLat(P);
  const long double lon = std::atan2(P.y, P.x);
  // Switched off: the vector was built from a geodetic latitude, which is the
  // latitude the fix showed and must keep showing on the sphere.
  const long double lat = E.ellipticLat ? psi : GeocToGeod(E.shape, psi);
  P = PosFromLatLon(E, lat, lon);
}

bool IsPole(const Vector3& P) { return std::fabs(P.z) >= PoleZLimit; }

long double EllipsoidRadius(const EarthShape& E, const Vector3& u) {
  return E.polarRadius / std::sqrt(1.0L - E.ecc2 * (u.x * u.x + u.y * u.y));
}

}  // namespace navorix
