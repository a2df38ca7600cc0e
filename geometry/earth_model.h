// The Earth model: a reference sphere for the great-circle geometry and an
// ellipsoid of revolution for geodetic latitude and ellipsoidal distances.
//
// Notation:
//   a     EquatRadius, equatorial semi-axis, km
//   b     PolarRadius, polar semi-axis, km
//   R     SpherRadius, radius of the reference sphere, km (independent of a, b)
//   f     flattening (a - b) / a
//   e2    first eccentricity squared (2 - f) f
//   phi   geodetic latitude; psi geocentric latitude; tan psi = (1 - e2) tan phi
//   P     a stored position: the unit geocentric direction of the fix
//
// With EllipticLat on, a typed latitude is geodetic and P is the geocentric
// direction of that surface point; with it off the latitude is taken on the
// sphere. Latitude and longitude are recomputed from P whenever shown.
#pragma once

#include "geometry/vector.h"

namespace navorix {

inline constexpr long double DefaultSpherRadius = 6367.4357L;
inline constexpr long double DefaultPolarRadius = 6356.7523L;
inline constexpr long double DefaultEquatRadius = 6378.137L;

// The radii and the values derived from them. Build it from the three radii
// only, so that the derived values always belong to the radii; the default
// is the built-in model.
struct EarthShape {
  long double spherRadius;   // R, km
  long double polarRadius;   // b, km
  long double equatRadius;   // a, km
  long double flattening;    // f = (a - b) / a
  long double ecc2;          // e2 = (2 - f) f
  long double oneMinusEcc2;  // 1 - e2
  long double axisRatio;     // a / b
  long double secondEcc2;    // e2 / (1 - e2)

  constexpr EarthShape() : EarthShape(DefaultSpherRadius, DefaultPolarRadius, DefaultEquatRadius) {}
  // Stores the three radii (km, unchecked) and derives, in this order, f,
  // e2, 1 - e2, a/b and e2/(1 - e2).
  constexpr EarthShape(long double R, long double b, long double a)
      : spherRadius(R),
        polarRadius(b),
        equatRadius(a),
        flattening((a - b) / a),
        ecc2((2.0L - flattening) * flattening),
        oneMinusEcc2(1.0L - ecc2),
        axisRatio(a / b),
        secondEcc2(ecc2 / oneMinusEcc2) {}
};

// Bounds of a usable model. They admit every body a navigator might take,
// from a small moon to Jupiter (equatorial radius 71492 km) and Saturn, the
// flattest planet (f = 1/10.2), and refuse slips of typing (6.378 for 6378)
// and values that wreck the arithmetic: radii like 1e4000 km make distance
// texts thousands of digits long, and a flattening near 1 leaves the
// latitude conversions no accuracy. The ellipsoidal formulas (Vincenty's
// series, the elliptic arc) are built for small flattening.
inline constexpr long double MinEarthRadius = 1.0L;         // km
inline constexpr long double MaxEarthRadius = 100000.0L;    // km
inline constexpr long double InverseMaxFlattening = 10.0L;  // f <= 1/10

// True when the radii make a usable model: all within [MinEarthRadius,
// MaxEarthRadius], and 0 <= f <= 1/InverseMaxFlattening (polarRadius <=
// equatRadius). NaN and infinities are refused.
bool IsUsableEarthModel(long double spherRadius, long double polarRadius, long double equatRadius);

// The Earth model: the shape and the three switches. EllipticArc and
// GeoDistance are read only by the distance and azimuth operations, and only
// while EllipticLat is on.
struct EarthModel {
  EarthShape shape;
  bool ellipticLat = true;   // latitudes are geodetic
  bool ellipticArc = false;  // also give the elliptic great-arc distance
  bool geoDistance = false;  // also give the geodesic distance and azimuth
};

inline constexpr Vector3 NorthPoleVec{0.0L, 0.0L, 1.0L};
inline constexpr Vector3 SouthPoleVec{0.0L, 0.0L, -1.0L};

// Geocentric latitude psi of the geodetic latitude phi (radians). Uses the
// tangent of |phi| below pi/4 and of its complement from pi/4 up, so the
// tangent never grows large; 0 and +-pi/2 map to themselves exactly.
long double GeodToGeoc(const EarthShape& E, long double phi);
// The inverse of GeodToGeoc: geodetic latitude of geocentric latitude psi.
long double GeocToGeod(const EarthShape& E, long double psi);

// The stored position of a fix typed at lat, lon (radians): lat is converted
// with GeodToGeoc first when EllipticLat is on.
Vector3 PosFromLatLon(const EarthModel& E, long double lat, long double lon);
// Latitude of position P as shown (geodetic when EllipticLat is on), radians.
long double PosLat(const EarthModel& E, const Vector3& P);
// The latitude PosLat gives, from a single arctangent: with EllipticLat on
// atan2(Pz, (1 - e2) c), c = TriCosLat(P), which is the geocentric latitude
// atan2(Pz, c) converted to geodetic in one step; with it off PosLat itself.
// It costs a third of PosLat but is not always the same in the last bits:
// the two differ by less than DirectLatBound(E.Shape), so a caller that
// rounds the latitude must ask PosLat whenever a value within that bound of
// this one would round differently.
long double PosLatDirect(const EarthModel& E, const Vector3& P);
// The bound on |PosLatDirect - PosLat| in radians: 1e-15 / (1 - e2). Both
// are within a few units of the last place of pi/2 (about 1e-19 rad) of
// atan2(Pz, (1 - e2) c) times the largest gain of the conversion, below
// 1 / (1 - e2); the bound is ten thousand times that.
inline long double DirectLatBound(const EarthShape& E) { return 1e-15L / E.oneMinusEcc2; }
// Longitude of position P, radians in [-pi, +pi]; 0 only when Px = Py = 0.
long double PosLon(const Vector3& P);
// Re-expresses P in place after EllipticLat has just been switched (E is the
// model after the switch), so that PosLat and PosLon give the values they
// gave before the switch.
void RebuildPos(const EarthModel& E, Vector3& P);
// True when |Pz| >= 0.99999999999999995: within about 1e-8 rad of a pole.
bool IsPole(const Vector3& P);
// Distance from the Earth's centre to the ellipsoid surface in the direction
// of the unit vector u, km: b / sqrt(1 - e2 (ux^2 + uy^2)).
long double EllipsoidRadius(const EarthShape& E, const Vector3& u);

}  // namespace navorix
