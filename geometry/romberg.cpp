// Romberg quadrature (notation in romberg.h).
//
//   R, P   the current and the previous row of the Romberg table, cells 1..30
//   k      current level; n number of subintervals; h their width
#include "geometry/romberg.h"

#include <cmath>

#include "geometry/error.h"

namespace navorix {
namespace {

constexpr int TableSize = 30;  // level 30 is never computed
constexpr long double SteepnessRatio = 100.0L;

}  // namespace

long double Romberg(TRealFunc F, long double X1, long double X2, long double Eps) {
  // Also refuses a NaN accuracy: the comparison is false for it.
  if (!(Eps > 0.0L)) throw Error(msg::IllegalAccuracy);

  long double R[TableSize + 1] = {};  // cell 0 unused: indices follow the levels
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
    // A NaN or infinite table never converges: stop now instead of running
    // the remaining levels for nothing.
    if (!std::isfinite(R[k])) throw Error(msg::NotANumber);
    if (std::fabs(R[k] - P[k - 1]) < Eps * (std::fabs(R[k]) + 1.0L)) return R[k];
    for (int j = 1; j <= TableSize; ++j) P[j] = R[j];
    h = h * 0.5L;
    n = 2 * n;
  }
}

long double AdaptiveRomberg(TRealFunc F, std::uint16_t Depth, long double X1, long double X2,
                            long double Eps) {
  // Refused before the probe points below are evaluated, as Romberg does.
  if (!(Eps > 0.0L)) throw Error(msg::IllegalAccuracy);
  if (Depth > 0) {
    const long double f1 = F(X1);
    const long double f2 = F(X2);
    const long double xm = (X1 + X2) * 0.5L;
    const long double fm = F(xm);
    const long double d1 = std::fabs(f1 - fm);
    const long double d2 = std::fabs(f2 - fm);
    if (d1 > SteepnessRatio * d2 || d2 > SteepnessRatio * d1) {
      const auto depth = static_cast<std::uint16_t>(Depth - 1);
      const long double left = AdaptiveRomberg(F, depth, X1, xm, Eps);
      return left + AdaptiveRomberg(F, depth, xm, X2, Eps);
    }
  }
  return Romberg(F, X1, X2, Eps);
}

}  // namespace navorix
