// Ellipsoidal distances (notation in ellipsoid.h).
//
//   t        distance along the arc's great circle from A, radians
//   z, w     z components of the arc's point P at t and of Pole x P, the
//            direction of increasing t; (z, w) turns by the angle t from
//            (z0, w0) = (Az, startDir z) as t grows, so z^2 + w^2 stays
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

#include <GeographicLib/Geodesic.hpp>

#include <cmath>
#include <cstdint>
#include <limits>

#include "geometry/earth_model.h"
#include "geometry/error.h"
#include "geometry/great_circle.h"
#include "geometry/numeric.h"
#include "geometry/romberg.h"
#include "geometry/sincos.h"

namespace navorix {
namespace {

// sqrt(a^2 + b^2). Every argument here is a component of a unit vector or a
// product of sines and cosines, so no scaling against overflow is needed,
// and the library's scaled hypot would cost more than the rest of a
// geodesic iteration.
long double Hypot(long double a, long double b) { return std::sqrt(a * a + b * b); }

// Angles up to this size (rad) take the short series below.
constexpr long double SmallAngle = 0x1p-6L;

// The search for the fixed point of Vincenty's step (Iterate): at most this
// many steps, ending when a step moves lambda by no more than
// SecantResolution; a fixed point counts as found when lambda' - lambda is
// within FixedPointResidual there, a tenth of the convergence limit.
constexpr int FixedPointSteps = 40;
constexpr long double SecantResolution = 1e-19L;
constexpr long double FixedPointResidual = 1e-17L;
constexpr long double DerivativeStep = 0x1p-30L;
// Predicted step counts up to this share of the limit settle for sure, from
// this share on they loop for sure; the prediction is within 5 % of the true
// count beyond 500 steps.
constexpr long double SureSettling = 0.8L;
constexpr long double SureLooping = 1.25L;

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
class ArcNodes {
 public:
  // The arc from A of length arcLen whose direction of travel at A is
  // startDir; zEnd is the z component of its end.
  ArcNodes(const EarthShape& e, long double arcLen, const Vector3& A, const Vector3& startDir,
           long double zEnd)
      : arcLen_(arcLen), z0_(A.z), w0_(startDir.z), zEnd_(zEnd) {
    const long double m = e.secondEcc2;
    const long double scale = e.equatRadius / e.spherRadius;
    m_ = m;
    gamma_ = m + 2.0L;
    beta_ = m + 2.0L - m * (z0_ * z0_ + w0_ * w0_);
    scale2_ = scale * scale;
  }

  long double At(long double t) {
    if (t == 0.0L) return F(z0_);
    if (t == arcLen_) return F(zEnd_);
    const Turn turn = ExactTurn(t);
    return F(turn.cos * z0_ + turn.sin * w0_);
  }

  long double Sum(long double S, long double x, long double h, long n) {
    if (!(h == step_.angle)) {
      // A new level halves the step: its half step is known from the last one.
      step_ = h == half_.angle ? half_ : ExactTurn(h);
      half_ = HalfTurn(step_);
    }
    const long double a = x + h;  // the first node: h at the first call, then h/2
    const Turn first = a == step_.angle ? step_ : a == half_.angle ? half_ : ExactTurn(a);
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
  struct Turn {
    long double angle;
    long double cos;
    long double sin;
  };

  long double F(long double z) const {
    const long double v = m_ * (z * z);
    return std::sqrt(scale2_ * (1.0L + gamma_ * v) / ((1.0L + v) * (1.0L + v * (beta_ + v))));
  }

  static Turn ExactTurn(long double angle) {
    Turn turn{angle, 0.0L, 0.0L};
    SinCos(angle, turn.sin, turn.cos);
    return turn;
  }
  // Half the angle of t, for t in (0, pi].
  static Turn HalfTurn(const Turn& t) {
    const long double c = std::sqrt((1.0L + t.cos) * 0.5L);
    return {t.angle * 0.5L, c, t.sin / (2.0L * c)};
  }

  long double arcLen_;
  long double z0_, w0_, zEnd_;
  long double m_, gamma_, beta_, scale2_;  // m, m + 2, beta, (a/R)^2
  // The step of the current level and its half; no angle equals NaN, so
  // both start empty.
  Turn step_{std::numeric_limits<long double>::quiet_NaN(), 1.0L, 0.0L};
  Turn half_ = step_;
};

// sin c and cos c - 1 for |c| <= SmallAngle by their Taylor series; the
// first terms left out are below 2^-66 |c| and 2^-72.
void SmallSinCos(long double c, long double& s, long double& cm1) {
  const long double z = c * c;
  s = c + c * z * (-1.0L / 6.0L + z * (1.0L / 120.0L + z * (-1.0L / 5040.0L + z * (1.0L / 362880.0L))));
  cm1 = z *
        (-0.5L + z * (1.0L / 24.0L + z * (-1.0L / 720.0L + z * (1.0L / 40320.0L - z * (1.0L / 3628800.0L)))));
}

// atan t for |t| <= SmallAngle by its series; the first term left out is
// below 2^-81.
long double SmallAtan(long double t) {
  const long double z = t * t;
  return t +
         t * z *
             (-1.0L / 3.0L + z * (1.0L / 5.0L + z * (-1.0L / 7.0L + z * (1.0L / 9.0L - z * (1.0L / 11.0L)))));
}

// The pair of fixes on Vincenty's auxiliary sphere and one step of his
// iteration, lambda -> lambda' (the rules in ellipsoid.h), in a form that
// needs no sine-cosine and no arctangent in most steps.
//
// lambda is L + dLambda, and only its sine and cosine matter. Those of L come
// from the horizontal components of A and B, without an arctangent for
// either longitude; lambda's follow from them and short series in dLambda,
// which stays within f pi (about 0.011 rad). Where sin L is within 2^-8 of
// 0 (both fixes on one meridian, or on opposite ones) or a fix lies within
// 2^-8 of the axis, L is taken as before, TriLon(B) - TriLon(A) with its
// SinCos, and every lambda is rounded through L as the iteration always did
// (Settle). There the last bits of L show: the sign of a rounding-sized
// sin lambda decides whether an azimuth of 0 or 180 degrees is shown with a
// minus sign, and from a pole the azimuth is 180 degrees - L, which for
// typed longitudes can be a rounding tie of the shown digits. Elsewhere L
// stays 0 and Settle changes nothing.
//
// sigma is the first step's arctangent plus the arctangent of the small turn
// from that step's (cos sigma, sin sigma) to the current one.
class Vincenty {
 public:
  Vincenty(const EarthShape& e, const Vector3& A, const Vector3& B) : f_(e.flattening) {
    const long double rhoA = Hypot(A.x, A.y), rhoB = Hypot(B.x, B.y);
    ReducedFrom(e, A, rhoA, cosB1_, sinB1_);
    ReducedFrom(e, B, rhoB, cosB2_, sinB2_);
    const long double cross = A.x * B.y - A.y * B.x;
    const long double product = rhoA * rhoB;
    if (std::fabs(cross) > NearZero * product && rhoA > NearZero && rhoB > NearZero) {
      const long double scale = 1.0L / product;
      sinL_ = cross * scale;
      cosL_ = (A.x * B.x + A.y * B.y) * scale;
    } else {
      l_ = TriLon(B) - TriLon(A);
      SinCos(l_, sinL_, cosL_);
    }
  }

  // lambda' - L from lambda = L + dLambda, and the state at lambda. NaN
  // when sin sigma is 0 at lambda.
  long double Step(long double dLambda) {
    if (dLambda == 0.0L) {
      sinLambda = sinL_;
      cosLambda = cosL_;
    } else {
      long double sinD, cosDm1;
      if (std::fabs(dLambda) <= SmallAngle) {
        SmallSinCos(dLambda, sinD, cosDm1);
      } else {
        long double cosD;
        SinCos(dLambda, sinD, cosD);  // a strongly flattened model
        cosDm1 = cosD - 1.0L;
      }
      sinLambda = sinL_ + (sinL_ * cosDm1 + cosL_ * sinD);
      cosLambda = cosL_ + (cosL_ * cosDm1 - sinL_ * sinD);
    }
    sinSigma = Hypot(sinB1_ * cosB2_ * cosLambda - cosB1_ * sinB2_, cosB2_ * sinLambda);
    if (sinSigma == 0.0L) return std::numeric_limits<long double>::quiet_NaN();
    cosSigma = sinB1_ * sinB2_ + cosB1_ * cosB2_ * cosLambda;
    if (!haveFirst_) {
      sigma1_ = std::atan2(sinSigma, cosSigma);
      sinSigma1_ = sinSigma;
      cosSigma1_ = cosSigma;
      haveFirst_ = true;
      sigma = sigma1_;
    } else {
      const long double y = sinSigma * cosSigma1_ - cosSigma * sinSigma1_;
      const long double x = cosSigma * cosSigma1_ + sinSigma * sinSigma1_;
      sigma = std::fabs(y) <= SmallAngle * x ? sigma1_ + SmallAtan(y / x) : std::atan2(sinSigma, cosSigma);
    }
    const long double sinAlpha = cosB1_ * cosB2_ * sinLambda / sinSigma;
    cos2a = 1.0L - sinAlpha * sinAlpha;
    c2m = cos2a > 0.0L ? cosSigma - 2.0L * sinB1_ * sinB2_ / cos2a : 2.0L * sinB1_ * sinB2_;
    const long double C = f_ / 16.0L * cos2a * (4.0L + f_ * (4.0L - 3.0L * cos2a));
    return Settle((1.0L - C) * f_ * sinAlpha *
                  (sigma + C * sinSigma * (c2m + C * cosSigma * (-1.0L + 2.0L * c2m * c2m))));
  }

  // The azimuth at A of the state's lambda.
  long double Azimuth() const {
    return std::atan2(cosB2_ * sinLambda, cosB1_ * sinB2_ - sinB1_ * cosB2_ * cosLambda);
  }

  // The state of the last Step.
  long double sinLambda = 0.0L, cosLambda = 1.0L;
  long double sinSigma = 0.0L, cosSigma = 1.0L, sigma = 0.0L;
  long double cos2a = 1.0L, c2m = 0.0L;

 private:
  // Below this |sin L|, or distance of a fix from the axis, L is taken
  // from the two longitudes.
  static constexpr long double NearZero = 0x1p-8L;

  static void ReducedFrom(const EarthShape& e, const Vector3& P, long double rho, long double& cosBeta,
                          long double& sinBeta) {
    const long double zs = e.axisRatio * P.z;
    const long double h = Hypot(zs, rho);
    cosBeta = rho / h;
    sinBeta = zs / h;
  }
  // (L + c) - L: c as the rounding of lambda = L + c leaves it.
  long double Settle(long double c) const { return (l_ + c) - l_; }

  long double f_;
  long double cosB1_ = 1.0L, sinB1_ = 0.0L, cosB2_ = 1.0L, sinB2_ = 0.0L;
  long double l_ = 0.0L, sinL_ = 0.0L, cosL_ = 1.0L;
  bool haveFirst_ = false;
  long double sigma1_ = 0.0L, sinSigma1_ = 0.0L, cosSigma1_ = 1.0L;
};

// Vincenty's iteration as it always ran, with dLambda the next lambda - L to
// step from after count steps, until |lambda' - lambda| <
// GeodesicConvergence (true, with the state of the last lambda) or until
// GeodesicIterationLimit steps (false; also when sin sigma becomes 0).
bool RunSteps(Vincenty& v, long double dLambda, int count) {
  while (count < GeodesicIterationLimit) {
    const long double next = v.Step(dLambda);
    count = count + 1;
    if (std::isnan(next)) return false;
    if (std::fabs(next - dLambda) < GeodesicConvergence) return true;
    dLambda = next;
  }
  return false;
}

// The fixed point lambda* of the step lambda -> lambda' and the step's
// derivative rho there.
struct FixedPoint {
  bool found = false;
  long double dLambda = 0.0L;  // lambda* - L
  long double rho = 0.0L;
};

// The root of h(lambda) = lambda' - lambda from two points with their h,
// then rho = 1 + h'(lambda*) by a central difference. Where the iteration
// swings, h changes sign between the two points, and the Illinois variant of
// regula falsi keeps the root between them; otherwise the secant method.
FixedPoint FindFixedPoint(Vincenty& v, long double x0, long double h0, long double x1, long double h1) {
  FixedPoint p;
  const bool bracketed = (h0 < 0.0L) != (h1 < 0.0L);
  for (int i = 0; i < FixedPointSteps && h1 != 0.0L && h1 != h0; ++i) {
    const long double x2 = x1 - h1 * (x1 - x0) / (h1 - h0);
    const long double h2 = v.Step(x2) - x2;
    if (!bracketed || (h2 < 0.0L) != (h1 < 0.0L)) {
      x0 = x1;
      h0 = h1;
    } else {
      h0 = 0.5L * h0;  // the end that stays, halved: no end sticks
    }
    x1 = x2;
    h1 = h2;
    if (!(std::fabs(x1 - x0) > SecantResolution)) break;
  }
  if (!(std::fabs(h1) <= FixedPointResidual)) return p;
  const long double hPlus = v.Step(x1 + DerivativeStep) - (x1 + DerivativeStep);
  const long double hMinus = v.Step(x1 - DerivativeStep) - (x1 - DerivativeStep);
  p.rho = 1.0L + (hPlus - hMinus) / (2.0L * DerivativeStep);
  p.dLambda = x1;
  p.found = std::isfinite(p.rho);
  return p;
}

// Steps the plain iteration takes in all, when the next lambda - L to step
// from is dLambda after count steps and it approaches the fixed point p
// (|rho| < 1): the distance to lambda* shrinks by |rho| per step, and the
// step that starts within 1e-16 / |1 - rho| of it ends the iteration.
long double PredictedSteps(const FixedPoint& p, long double dLambda, int count) {
  const long double e = std::fabs(dLambda - p.dLambda) * std::fabs(1.0L - p.rho);
  const long double steps = static_cast<long double>(count) + 1.0L;
  if (e < GeodesicConvergence || p.rho == 0.0L) return steps;
  return steps + std::log(GeodesicConvergence / e) / std::log(std::fabs(p.rho));
}

// Vincenty's method with its outcome known early: true with the state of
// the result in v, false where the iteration would not converge within
// GeodesicIterationLimit steps. Coincident (or exactly antipodal) fixes
// raise "Same or opposing fixes" at the first step.
//
// After GeodesicDirectSteps steps without convergence (nearly antipodal
// fixes) the iteration swings about the step's fixed point lambda*, each
// swing shrinking or growing by the factor |rho|, rho the step's derivative
// there (between -1 and 0 in practice). With |rho| < 1 it settles after the
// number of steps PredictedSteps gives; with |rho| >= 1 it never does and
// ends in a swing between two values. So the fixed point is found directly
// and: one that repels gives no result; one the iteration is approaching and
// would reach within SureSettling of the step limit gives the iteration's
// result (its last lambda would lie within 1e-16 of lambda*, which makes no
// difference that is shown); one it would reach only beyond SureLooping of
// the limit gives none. Otherwise (between the two, no fixed point found, or
// the iteration not approaching it) the plain iteration runs on and decides.
bool Iterate(Vincenty& v) {
  long double next = v.Step(0.0L);
  if (std::isnan(next)) throw Error(msg::SameOrOpposing);
  long double dLambda = 0.0L;   // the lambda - L stepped from last
  long double previous = 0.0L;  // the one before it
  int count = 1;
  for (;;) {
    if (std::fabs(next - dLambda) < GeodesicConvergence) return true;
    if (count == GeodesicDirectSteps) break;
    previous = dLambda;
    dLambda = next;
    next = v.Step(dLambda);
    count = count + 1;
    if (std::isnan(next)) return false;
  }
  const FixedPoint p = FindFixedPoint(v, previous, dLambda - previous, dLambda, next - dLambda);
  if (p.found && std::fabs(p.rho) >= 1.0L) return false;
  if (p.found && std::fabs(next - p.dLambda) < std::fabs(previous - p.dLambda)) {
    const long double steps = PredictedSteps(p, next, count);
    const long double limit = GeodesicIterationLimit;
    if (steps <= SureSettling * limit) {
      v.Step(p.dLambda);
      return true;
    }
    if (steps >= SureLooping * limit) return false;
  }
  return RunSteps(v, next, count);
}

// The length of the geodesic / SpherRadius from the state of the result.
long double VincentyDistance(const EarthShape& e, const Vincenty& v) {
  const long double u2 = v.cos2a * e.secondEcc2;
  const long double root = std::sqrt(1.0L + u2);
  const long double k1 = (root - 1.0L) / (root + 1.0L);
  const long double Ak = (1.0L + k1 * k1 / 4.0L) / (1.0L - k1);
  const long double Bk = k1 * (1.0L - 3.0L * k1 * k1 / 8.0L);
  const long double c2m = v.c2m, sinSigma = v.sinSigma;
  const long double deltaSigma =
      Bk * sinSigma *
      (c2m + Bk / 4.0L *
                 (v.cosSigma * (-1.0L + 2.0L * c2m * c2m) -
                  Bk / 6.0L * c2m * (-3.0L + 4.0L * sinSigma * sinSigma) * (-3.0L + 4.0L * c2m * c2m)));
  return e.polarRadius * Ak * (v.sigma - deltaSigma) / e.spherRadius;
}

// Karney's solution from GeographicLib for the pairs Vincenty's iteration
// cannot settle, with the same a and f. GeographicLib computes in double:
// its lengths are good to about 15 nm, and the latitudes and the longitude
// difference handed to it lose less than 1e-14 of a degree (about 1 nm).
// That is far below the 0.1 m and the millionth of a degree that are shown
// at most, so the double result, widened, prints as the exact geodesic
// would (but for a value within nanometres of a rounding boundary); it is
// not good to the 64 bits of the type, which only the running sum of Next
// Fix carries on.
GeodesicSolution KarneyInverse(const EarthShape& e, const Vector3& A, const Vector3& B, bool withAzimuth) {
  const auto latitude = [&e](const Vector3& P) {
    return static_cast<double>(std::atan2(P.z, e.oneMinusEcc2 * Hypot(P.x, P.y)) * RadToDeg);
  };
  const GeographicLib::Geodesic geodesic(static_cast<double>(e.equatRadius * 1000.0L),
                                         static_cast<double>(e.flattening));
  const double lat1 = latitude(A), lat2 = latitude(B);
  const double lon2 = static_cast<double>((TriLon(B) - TriLon(A)) * RadToDeg);
  double s12 = 0.0, azi1 = 0.0, azi2 = 0.0;
  if (withAzimuth) {
    geodesic.Inverse(lat1, 0.0, lat2, lon2, s12, azi1, azi2);
  } else {
    geodesic.Inverse(lat1, 0.0, lat2, lon2, s12);
  }
  GeodesicSolution g;
  g.distance = static_cast<long double>(s12) / (1000.0L * e.spherRadius);
  g.azimuth = static_cast<long double>(azi1) * DegToRad;
  return g;
}

template <bool WithAzimuth>
GeodesicSolution Geodesic(const EarthShape& e, const Vector3& A, const Vector3& B) {
  Vincenty v(e, A, B);
  GeodesicSolution g;
  if (Iterate(v)) {
    if constexpr (WithAzimuth) g.azimuth = v.Azimuth();
    g.distance = VincentyDistance(e, v);
  } else {
    g = KarneyInverse(e, A, B, WithAzimuth);
  }
  RequireFinite(g.distance);
  RequireFinite(g.azimuth);
  return g;
}

}  // namespace

long double EllipticArcDist(const EarthShape& E, const Vector3& A, const Vector3& B) {
  // The arc as MakeArc builds it (the one test for coincident or antipodal
  // fixes first), without the midpoint, which the integral does not use.
  if (SameOrOpposite(A, B, Coincidence::Either)) throw Error(msg::SameOrOpposing);
  const long double arcLen = VectorAngle(A, B);
  if (arcLen < EllipticArcFloor) return 0.0L;
  Vector3 pole = TriCross(A, B);
  TriNormalize(pole);
  Vector3 startDir = TriCross(pole, A);
  TriNormalize(startDir);
  // Romberg over the whole arc at once: the adaptive split at depth 0.
  ArcNodes nodes(E, arcLen, A, startDir, B.z);
  return RequireFinite(RombergWithNodes(nodes, 0.0L, arcLen, EllipticArcEps));
}

ReducedLatitude ReducedLat(const EarthShape& E, const Vector3& P) {
  const long double zs = E.axisRatio * P.z;
  const long double rho = Hypot(P.x, P.y);
  const long double h = Hypot(zs, rho);
  return {rho / h, zs / h};
}

GeodesicSolution GeodesicInverse(const EarthShape& E, const Vector3& A, const Vector3& B) {
  return Geodesic<true>(E, A, B);
}

long double GeodesicDist(const EarthShape& E, const Vector3& A, const Vector3& B) {
  return Geodesic<false>(E, A, B).distance;
}

long double GeodesicAzimuth(const EarthShape& E, const Vector3& A, const Vector3& B) {
  return GeodesicInverse(E, A, B).azimuth;
}

}  // namespace navorix
