// The previous geometry routines (notation in previous_geometry.h), copied
// unchanged (calls inside are qualified, so that they cannot reach the
// current routines of the same names): the sine-cosine with a library kernel,
// Romberg with a general integrand, the vector form of the arc integrand and
// Vincenty's iteration with an arctangent and a sine-cosine pair per step.
#include "tests/geometry/previous_geometry.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "geometry/error.h"
#include "geometry/great_circle.h"
#include "geometry/numeric.h"
#include "geometry/romberg.h"

namespace navorix::previous {
namespace {

constexpr long double P1 = 0x1.921fb544p0L;
constexpr long double P2 = 0x1.0b4611a6p-34L;
constexpr long double P3 = 0x1.3198a2ep-69L;
constexpr long double P4 = 0x1.b839a252049c1114p-104L;
constexpr long double TwoOverPi = 0.636619772367581343075535053490057448L;
constexpr long double ShortReductionLimit = 64.0L * TwoPi;
constexpr long double RoundingShift = 0x1.8p63L;

constexpr int TableSize = 30;

long double Romberg(RealFunc F, long double X1, long double X2, long double eps) {
  if (!(eps > 0.0L)) throw Error(msg::IllegalAccuracy);

  long double R[TableSize + 1] = {};
  long double P[TableSize + 1] = {};
  int k = 1;
  long n = 3;
  long double h = (X2 - X1) / 3.0L;

  long double S = (F(X1) + F(X2)) * 0.5L;
  long double x = X1;
  for (long i = 2; i <= n; ++i) {
    x = x + h;
    S = S + F(x);
  }
  P[1] = S * h;

  for (;;) {
    k = k + 1;
    if (k == TableSize) throw Error(msg::AccuracyNotReached);
    x = X1 - h * 0.5L;
    S = 0.0L;
    for (long i = 1; i <= n; ++i) {
      x = x + h;
      S = S + F(x);
    }
    R[1] = (h * S + P[1]) * 0.5L;
    long double q = 4.0L;
    for (int j = 2; j <= k; ++j) {
      R[j] = (q * R[j - 1] - P[j - 1]) / (q - 1.0L);
      q = 4.0L * q;
    }
    if (!std::isfinite(R[k])) throw Error(msg::NotANumber);
    if (std::fabs(R[k] - P[k - 1]) < eps * (std::fabs(R[k]) + 1.0L)) return R[k];
    for (int j = 1; j <= TableSize; ++j) P[j] = R[j];
    h = h * 0.5L;
    n = 2 * n;
  }
}

Vector3 PointOnArc(const Arc& arc, long double t) {
  long double sinT, cosT;
  previous::SinCos(t, sinT, cosT);
  return TriPositiveZeros(TriAdd(TriScale(arc.startPos, cosT), TriScale(arc.startDir, sinT)));
}

long double Hypot(long double a, long double b) { return std::sqrt(a * a + b * b); }

long double ArcIntegrand(const EarthShape& e, const Arc& arc, long double t) {
  const Vector3 P = previous::PointOnArc(arc, t);
  const long double k = EllipsoidRadius(e, P) / e.spherRadius;
  Vector3 S = TriScale(P, k);
  S.z = S.z * (e.axisRatio * e.axisRatio);
  Vector3 W = TriCross(arc.pole, P);
  TriNormalize(S);
  TriNormalize(W);
  const long double c = TriDot(S, W);
  return k / std::sqrt(1.0L - c * c);
}

ReducedLatitude ReducedLat(const EarthShape& E, const Vector3& P) {
  const long double zs = E.axisRatio * P.z;
  const long double rho = Hypot(P.x, P.y);
  const long double h = Hypot(zs, rho);
  return {rho / h, zs / h};
}

}  // namespace

void SinCos(long double x, long double& s, long double& c) {
  if (!(std::fabs(x) > QuarterPi) || !(std::fabs(x) < ShortReductionLimit)) {
    ::sincosl(x, &s, &c);
    return;
  }
  const long double shifted = x * TwoOverPi + RoundingShift;
  const long double k = shifted - RoundingShift;
  std::uint64_t mantissa = 0;
  std::memcpy(&mantissa, &shifted, sizeof mantissa);
  const auto n = static_cast<unsigned>(mantissa & 3U);
  const long double high = x - k * P1;
  const long double rest = k * P2;
  const long double tail = k * P3 + k * P4;
  const long double r = high - rest;
  const long double lo = ((high - r) - rest) - tail;
  long double sr, cr;
  ::sincosl(r + lo, &sr, &cr);
  const long double residue = lo - ((r + lo) - r);
  sr += cr * residue;
  cr -= sr * residue;
  switch (n) {
    case 0:
      s = sr;
      c = cr;
      break;
    case 1:
      s = cr;
      c = -sr;
      break;
    case 2:
      s = -sr;
      c = -cr;
      break;
    default:
      s = -cr;
      c = sr;
      break;
  }
}

long double EllipticArcDist(const EarthShape& E, const Vector3& A, const Vector3& B) {
  const Arc arc = MakeArc(A, B);
  if (arc.arcLen < EllipticArcFloor) return 0.0L;
  const auto integrand = [&E, &arc](long double t) { return ArcIntegrand(E, arc, t); };
  return RequireFinite(previous::Romberg(integrand, 0.0L, arc.arcLen, EllipticArcEps));
}

GeodesicSolution GeodesicInverse(const EarthShape& e, const Vector3& A, const Vector3& B) {
  const long double f = e.flattening;
  const auto [cosB1, sinB1] = previous::ReducedLat(e, A);
  const auto [cosB2, sinB2] = previous::ReducedLat(e, B);
  const long double L = TriLon(B) - TriLon(A);

  long double lambda = L;
  long double sinLambda = 0.0L, cosLambda = 1.0L;
  long double sigma = 0.0L, sinSigma = 0.0L, cosSigma = 1.0L, cos2a = 1.0L, c2m = 0.0L;
  for (int count = 0;;) {
    previous::SinCos(lambda, sinLambda, cosLambda);
    sinSigma = Hypot(sinB1 * cosB2 * cosLambda - cosB1 * sinB2, cosB2 * sinLambda);
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

  GeodesicSolution g;
  g.azimuth = std::atan2(cosB2 * sinLambda, cosB1 * sinB2 - sinB1 * cosB2 * cosLambda);
  const long double u2 = cos2a * e.secondEcc2;
  const long double root = std::sqrt(1.0L + u2);
  const long double k1 = (root - 1.0L) / (root + 1.0L);
  const long double Ak = (1.0L + k1 * k1 / 4.0L) / (1.0L - k1);
  const long double Bk = k1 * (1.0L - 3.0L * k1 * k1 / 8.0L);
  const long double deltaSigma =
      Bk * sinSigma *
      (c2m + Bk / 4.0L *
                 (cosSigma * (-1.0L + 2.0L * c2m * c2m) -
                  Bk / 6.0L * c2m * (-3.0L + 4.0L * sinSigma * sinSigma) * (-3.0L + 4.0L * c2m * c2m)));
  g.distance = e.polarRadius * Ak * (sigma - deltaSigma) / e.spherRadius;
  RequireFinite(g.distance);
  RequireFinite(g.azimuth);
  return g;
}

}  // namespace navorix::previous
