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
  const long double k = E.OneMinusEcc2;
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

bool IsUsableEarthModel(long double SpherRadius, long double PolarRadius, long double EquatRadius) {
  // The comparisons are false for NaN, so NaN and infinities are refused too.
  const auto inRange = [](long double r) { return r >= MinEarthRadius && r <= MaxEarthRadius; };
  return inRange(SpherRadius) && inRange(PolarRadius) && inRange(EquatRadius) &&
         PolarRadius <= EquatRadius &&
         (EquatRadius - PolarRadius) * InverseMaxFlattening <= EquatRadius;
}

long double GeodToGeoc(const EarthShape& E, long double phi) { return ConvertLatitude(E, phi, true); }

long double GeocToGeod(const EarthShape& E, long double psi) { return ConvertLatitude(E, psi, false); }

TTriV PosFromLatLon(const TEarthModel& E, long double Lat, long double Lon) {
  return TriFromAngles(E.EllipticLat ? GeodToGeoc(E.Shape, Lat) : Lat, Lon);
}

long double PosLat(const TEarthModel& E, const TTriV& P) {
  const long double psi = TriLat(P);
  return E.EllipticLat ? GeocToGeod(E.Shape, psi) : psi;
}

long double PosLatDirect(const TEarthModel& E, const TTriV& P) {
  if (!E.EllipticLat) return TriLat(P);
  // tan psi = Pz / c and tan phi = tan psi / (1 - e2): one quotient inside
  // the arctangent instead of a tangent and two arctangents.
  return std::atan2(P.z, E.Shape.OneMinusEcc2 * TriCosLat(P));
}

long double PosLon(const TTriV& P) { return TriLon(P); }

void RebuildPos(const TEarthModel& E, TTriV& P) {
  const long double psi = TriLat(P);
  const long double lon = std::atan2(P.y, P.x);
  // Switched off: the vector was built from a geodetic latitude, which is the
  // latitude the fix showed and must keep showing on the sphere.
  const long double lat = E.EllipticLat ? psi : GeocToGeod(E.Shape, psi);
  P = PosFromLatLon(E, lat, lon);
}

bool IsPole(const TTriV& P) { return std::fabs(P.z) >= PoleZLimit; }

long double EllipsoidRadius(const EarthShape& E, const TTriV& u) {
  return E.PolarRadius / std::sqrt(1.0L - E.Ecc2 * (u.x * u.x + u.y * u.y));
}

}  // namespace navorix
