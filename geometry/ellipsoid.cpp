// Ellipsoidal distances (notation in ellipsoid.h).
//
//   b1, b2   reduced latitudes of A and B
//   L        longitude difference of B and A, not reduced (it enters only
//            through sine and cosine)
//   c2m      cos(2 sigma_m), sigma_m the angular midpoint of the line
//   cos2a    cos^2 alpha
//   u2       cos^2 alpha times the second eccentricity squared
//   Ak, Bk   Vincenty's series coefficients in the form of k1
#include "geometry/ellipsoid.h"

#include <cmath>

#include "geometry/earth_model.h"
#include "geometry/error.h"
#include "geometry/sincos.h"
#include "geometry/great_circle.h"
#include "geometry/romberg.h"

namespace navorix {
namespace {

// sqrt(a^2 + b^2). Every argument here is a component of a unit vector or a
// product of sines and cosines, so no scaling against overflow is needed,
// and the library's scaled hypot would cost more than the rest of a
// geodesic iteration.
long double Hypot(long double a, long double b) { return std::sqrt(a * a + b * b); }

// Advance of the surface curve per radian of t along the arc: the
// surface point's distance from the centre divided by the sine of the angle
// between the radius and the curve, taken from the surface normal. Exact on
// meridians and on the equator; elsewhere the normal's small tilt out of the
// arc's plane is neglected.
long double ArcIntegrand(const EarthShape& e, const TArc& arc, long double t) {
  const TTriV P = PointOnArc(arc, t);
  const long double k = EllipsoidRadius(e, P) / e.SpherRadius;
  TTriV S = TriScale(P, k);
  S.z = S.z * (e.AxisRatio * e.AxisRatio);
  TTriV W = TriCross(arc.Pole, P);
  TriNormalize(S);
  TriNormalize(W);
  const long double c = TriDot(S, W);
  return k / std::sqrt(1.0L - c * c);
}

}  // namespace

long double EllipticArcDist(const EarthShape& E, const TTriV& A, const TTriV& B) {
  const TArc arc = MakeArc(A, B);
  if (arc.ArcLen < EllipticArcFloor) return 0.0L;
  const auto integrand = [&E, &arc](long double t) { return ArcIntegrand(E, arc, t); };
  return RequireFinite(AdaptiveRomberg(integrand, 0, 0.0L, arc.ArcLen, EllipticArcEps));
}

TReducedLat ReducedLat(const EarthShape& E, const TTriV& P) {
  const long double zs = E.AxisRatio * P.z;
  const long double rho = Hypot(P.x, P.y);
  const long double h = Hypot(zs, rho);
  return {rho / h, zs / h};
}

TGeodesic GeodesicInverse(const EarthShape& e, const TTriV& A, const TTriV& B) {
  const long double f = e.Flattening;
  const auto [cosB1, sinB1] = ReducedLat(e, A);
  const auto [cosB2, sinB2] = ReducedLat(e, B);
  const long double L = TriLon(B) - TriLon(A);

  long double lambda = L;
  long double sinLambda = 0.0L, cosLambda = 1.0L;
  long double sigma = 0.0L, sinSigma = 0.0L, cosSigma = 1.0L, cos2a = 1.0L, c2m = 0.0L;
  for (int count = 0;;) {
    SinCos(lambda, sinLambda, cosLambda);
    sinSigma = Hypot(sinB1 * cosB2 * cosLambda - cosB1 * sinB2, cosB2 * sinLambda);
    // Coincident fixes leave the quotient for sin alpha undefined; so do
    // exactly antipodal ones, where every geodesic is equally short.
    if (sinSigma == 0.0L) throw Error(msg::SameOrOpposing);
    cosSigma = sinB1 * sinB2 + cosB1 * cosB2 * cosLambda;
    sigma = std::atan2(sinSigma, cosSigma);
    const long double sinAlpha = cosB1 * cosB2 * sinLambda / sinSigma;
    cos2a = 1.0L - sinAlpha * sinAlpha;
    c2m = cos2a > 0.0L ? cosSigma - 2.0L * sinB1 * sinB2 / cos2a : 2.0L * sinB1 * sinB2;
    const long double C = f / 16.0L * cos2a * (4.0L + f * (4.0L - 3.0L * cos2a));
    const long double next =
        L + (1.0L - C) * f * sinAlpha *
                (sigma + C * sinSigma * (c2m + C * cosSigma * (-1.0L + 2.0L * c2m * c2m)));
    count = count + 1;
    if (count > GeodesicIterationLimit) throw Error(msg::LoopingIterations);
    if (std::fabs(next - lambda) < GeodesicConvergence) break;
    lambda = next;
  }

  TGeodesic g;
  g.azimuth = std::atan2(cosB2 * sinLambda, cosB1 * sinB2 - sinB1 * cosB2 * cosLambda);
  const long double u2 = cos2a * e.SecondEcc2;
  const long double root = std::sqrt(1.0L + u2);
  const long double k1 = (root - 1.0L) / (root + 1.0L);
  const long double Ak = (1.0L + k1 * k1 / 4.0L) / (1.0L - k1);
  const long double Bk = k1 * (1.0L - 3.0L * k1 * k1 / 8.0L);
  const long double deltaSigma =
      Bk * sinSigma *
      (c2m + Bk / 4.0L *
                 (cosSigma * (-1.0L + 2.0L * c2m * c2m) -
                  Bk / 6.0L * c2m * (-3.0L + 4.0L * sinSigma * sinSigma) * (-3.0L + 4.0L * c2m * c2m)));
  g.distance = e.PolarRadius * Ak * (sigma - deltaSigma) / e.SpherRadius;
  RequireFinite(g.distance);
  RequireFinite(g.azimuth);
  return g;
}

long double GeodesicDist(const EarthShape& E, const TTriV& A, const TTriV& B) {
  return GeodesicInverse(E, A, B).distance;
}

long double GeodesicAzimuth(const EarthShape& E, const TTriV& A, const TTriV& B) {
  return GeodesicInverse(E, A, B).azimuth;
}

}  // namespace navorix
