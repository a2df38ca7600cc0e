// Ellipsoidal distances (notation in ellipsoid.h).
//
//   t        distance along the arc's great circle from A, radians
//   z, w     z components of the arc's point P at t and of Pole x P, the
//            direction of increasing t; (z, w) turns by the angle t from
//            (z0, w0) = (Az, StartDir z) as t grows, so z^2 + w^2 stays
//            z0^2 + w0^2
//   m        the second eccentricity squared, (a/b)^2 - 1
//   v        m z^2
//   h        the spacing of the Romberg nodes; d the step of z from one node
//            to the next; kappa = 2 (cos h - 1) = -4 sin^2(h/2)
//   b1, b2   reduced latitudes of A and B
//   L        longitude difference of B and A, not reduced (it enters only
//            through sine and cosine)
//   dLambda  lambda - L, within f pi
//   c2m      cos(2 sigma_m), sigma_m the angular midpoint of the line
//   cos2a    cos^2 alpha
//   u2       cos^2 alpha times the second eccentricity squared
//   Ak, Bk   Vincenty's series coefficients in the form of k1
#include "geometry/ellipsoid.h"

#include <cmath>
#include <limits>

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

// Angles up to this size (rad) take the short series below.
constexpr long double SmallAngle = 0x1p-6L;

// The arc integrand at the Romberg nodes. F(t) is the advance of the
// surface curve per radian of t: the surface point's distance from the
// centre divided by the sine of the angle between the radius and the curve,
// taken from the surface normal; exact on meridians and on the equator,
// elsewhere the normal's small tilt out of the arc's plane is neglected.
// With the normal S = k (Px, Py, (a/b)^2 Pz) and the unit direction
// W = Pole x P (so P.W = 0 and S.W = k m z w), it depends on z and w alone,
// and with w^2 = z0^2 + w0^2 - z^2 on z alone. In v = m z^2:
//   F^2 = (a/R)^2 (1 + (m + 2) v) / ((1 + v)(1 + beta v + v^2)),
//   beta = m + 2 - m (z0^2 + w0^2),
// one division and one square root per node.
//
// The nodes of a level are equally spaced, so z follows the second-order
// recurrence z(i+1) - 2 z(i) + z(i-1) = kappa z(i), taken in its
// differences (d(i+1) = d(i) + kappa z(i), z(i+1) = z(i) + d(i+1)) so that a
// small step loses no digits. Every level halves the step, and the sine and
// cosine of each new half step come from the previous ones by the half-angle
// formulas; only the first step of a call takes a SinCos.
class TArcNodes {
 public:
  // The arc from A of length arcLen whose direction of travel at A is
  // StartDir; zEnd is the z component of its end.
  TArcNodes(const EarthShape& e, long double arcLen, const TTriV& A, const TTriV& StartDir, long double zEnd)
      : arcLen_(arcLen), z0_(A.z), w0_(StartDir.z), zEnd_(zEnd) {
    const long double m = e.SecondEcc2;
    const long double scale = e.EquatRadius / e.SpherRadius;
    m_ = m;
    gamma_ = m + 2.0L;
    beta_ = m + 2.0L - m * (z0_ * z0_ + w0_ * w0_);
    scale2_ = scale * scale;
  }

  long double At(long double t) {
    if (t == 0.0L) return F(z0_);
    if (t == arcLen_) return F(zEnd_);
    const TTurn turn = ExactTurn(t);
    return F(turn.cos * z0_ + turn.sin * w0_);
  }

  long double Sum(long double S, long double x, long double h, long n) {
    if (!(h == step_.angle)) {
      // A new level halves the step: its half step is known from the last one.
      step_ = h == half_.angle ? half_ : ExactTurn(h);
      half_ = HalfTurn(step_);
    }
    const long double a = x + h;  // the first node: h at the first call, then h/2
    const TTurn first = a == step_.angle ? step_ : a == half_.angle ? half_ : ExactTurn(a);
    const long double kappa = -4.0L * half_.sin * half_.sin;
    long double z = first.cos * z0_ + first.sin * w0_;
    const long double w = first.cos * w0_ - first.sin * z0_;
    // z(t + h) - z(t) = (cos h - 1) z + sin h w, with cos h - 1 = kappa / 2.
    long double d = 0.5L * kappa * z + step_.sin * w;
    S = S + F(z);
    for (long i = 2; i <= n; ++i) {
      z = z + d;
      d = d + kappa * z;
      S = S + F(z);
    }
    return S;
  }

 private:
  struct TTurn {
    long double angle;
    long double cos;
    long double sin;
  };

  long double F(long double z) const {
    const long double v = m_ * (z * z);
    return std::sqrt(scale2_ * (1.0L + gamma_ * v) / ((1.0L + v) * (1.0L + v * (beta_ + v))));
  }

  static TTurn ExactTurn(long double angle) {
    TTurn turn{angle, 0.0L, 0.0L};
    SinCos(angle, turn.sin, turn.cos);
    return turn;
  }
  // Half the angle of t, for t in (0, pi].
  static TTurn HalfTurn(const TTurn& t) {
    const long double c = std::sqrt((1.0L + t.cos) * 0.5L);
    return {t.angle * 0.5L, c, t.sin / (2.0L * c)};
  }

  long double arcLen_;
  long double z0_, w0_, zEnd_;
  long double m_, gamma_, beta_, scale2_;  // m, m + 2, beta, (a/R)^2
  // The step of the current level and its half; no angle equals NaN, so
  // both start empty.
  TTurn step_{std::numeric_limits<long double>::quiet_NaN(), 1.0L, 0.0L};
  TTurn half_ = step_;
};

// sin c and cos c - 1 for |c| <= SmallAngle by their Taylor series; the
// first terms left out are below 2^-66 |c| and 2^-72.
void SmallSinCos(long double c, long double& s, long double& cm1) {
  const long double z = c * c;
  s = c + c * z * (-1.0L / 6.0L + z * (1.0L / 120.0L + z * (-1.0L / 5040.0L + z * (1.0L / 362880.0L))));
  cm1 = z * (-0.5L + z * (1.0L / 24.0L + z * (-1.0L / 720.0L + z * (1.0L / 40320.0L - z * (1.0L / 3628800.0L)))));
}

// atan t for |t| <= SmallAngle by its series; the first term left out is
// below 2^-81.
long double SmallAtan(long double t) {
  const long double z = t * t;
  return t + t * z * (-1.0L / 3.0L + z * (1.0L / 5.0L + z * (-1.0L / 7.0L + z * (1.0L / 9.0L - z * (1.0L / 11.0L)))));
}

// Vincenty's inverse method (the rules in ellipsoid.h), in a form that needs
// no sine-cosine and no arctangent in most of its steps. L is the difference
// of the two longitudes as before: where it is 0 or a rounding away from it
// (both fixes on one meridian) its sign decides the sign of an azimuth of 0
// or 180 degrees, which is shown. lambda stays within f pi (about 0.011 rad)
// of L, so its sine and cosine follow from those of L and short series in
// dLambda = lambda - L; dLambda is exact (Sterbenz's lemma) or rounded only
// at its own size, so the rounding of lambda itself counts as it did when
// its sine and cosine were evaluated directly. sigma is the first step's
// arctangent plus the arctangent of the small turn from that step's
// (cos sigma, sin sigma) to the current one. Without WithAzimuth the
// azimuth's arctangent is skipped (its field stays 0).
template <bool WithAzimuth>
TGeodesic Vincenty(const EarthShape& e, const TTriV& A, const TTriV& B) {
  const long double f = e.Flattening;
  const auto [cosB1, sinB1] = ReducedLat(e, A);
  const auto [cosB2, sinB2] = ReducedLat(e, B);
  const long double L = TriLon(B) - TriLon(A);
  long double sinL, cosL;
  SinCos(L, sinL, cosL);

  long double lambda = L;
  long double sinLambda = sinL, cosLambda = cosL;
  long double sigma1 = 0.0L, sinSigma1 = 0.0L, cosSigma1 = 1.0L;
  long double sigma = 0.0L, sinSigma = 0.0L, cosSigma = 1.0L, cos2a = 1.0L, c2m = 0.0L;
  for (int count = 0;;) {
    const long double dLambda = lambda - L;
    if (dLambda == 0.0L) {
      sinLambda = sinL;
      cosLambda = cosL;
    } else if (std::fabs(dLambda) <= SmallAngle) {
      long double sinD, cosDm1;
      SmallSinCos(dLambda, sinD, cosDm1);
      sinLambda = sinL + (sinL * cosDm1 + cosL * sinD);
      cosLambda = cosL + (cosL * cosDm1 - sinL * sinD);
    } else {
      SinCos(lambda, sinLambda, cosLambda);  // a strongly flattened model
    }
    sinSigma = Hypot(sinB1 * cosB2 * cosLambda - cosB1 * sinB2, cosB2 * sinLambda);
    // Coincident fixes leave the quotient for sin alpha undefined; so do
    // exactly antipodal ones, where every geodesic is equally short.
    if (sinSigma == 0.0L) throw Error(msg::SameOrOpposing);
    cosSigma = sinB1 * sinB2 + cosB1 * cosB2 * cosLambda;
    if (count == 0) {
      sigma1 = std::atan2(sinSigma, cosSigma);
      sinSigma1 = sinSigma;
      cosSigma1 = cosSigma;
      sigma = sigma1;
    } else {
      const long double y = sinSigma * cosSigma1 - cosSigma * sinSigma1;
      const long double x = cosSigma * cosSigma1 + sinSigma * sinSigma1;
      sigma = std::fabs(y) <= SmallAngle * x ? sigma1 + SmallAtan(y / x) : std::atan2(sinSigma, cosSigma);
    }
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
  if constexpr (WithAzimuth) {
    g.azimuth = std::atan2(cosB2 * sinLambda, cosB1 * sinB2 - sinB1 * cosB2 * cosLambda);
  }
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

}  // namespace

long double EllipticArcDist(const EarthShape& E, const TTriV& A, const TTriV& B) {
  // The arc as MakeArc builds it (the one test for coincident or antipodal
  // fixes first), without the midpoint, which the integral does not use.
  if (SameOrOpposite(A, B, TCoincidence::Either)) throw Error(msg::SameOrOpposing);
  const long double arcLen = VectorAngle(A, B);
  if (arcLen < EllipticArcFloor) return 0.0L;
  TTriV pole = TriCross(A, B);
  TriNormalize(pole);
  TTriV startDir = TriCross(pole, A);
  TriNormalize(startDir);
  // Romberg over the whole arc at once: the adaptive split at depth 0.
  TArcNodes nodes(E, arcLen, A, startDir, B.z);
  return RequireFinite(RombergWithNodes(nodes, 0.0L, arcLen, EllipticArcEps));
}

TReducedLat ReducedLat(const EarthShape& E, const TTriV& P) {
  const long double zs = E.AxisRatio * P.z;
  const long double rho = Hypot(P.x, P.y);
  const long double h = Hypot(zs, rho);
  return {rho / h, zs / h};
}

TGeodesic GeodesicInverse(const EarthShape& E, const TTriV& A, const TTriV& B) {
  return Vincenty<true>(E, A, B);
}

long double GeodesicDist(const EarthShape& E, const TTriV& A, const TTriV& B) {
  return Vincenty<false>(E, A, B).distance;
}

long double GeodesicAzimuth(const EarthShape& E, const TTriV& A, const TTriV& B) {
  return GeodesicInverse(E, A, B).azimuth;
}

}  // namespace navorix
