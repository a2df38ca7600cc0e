// Romberg quadrature (notation in romberg.h); the table itself is
// RombergWithNodes in the header.
#include "geometry/romberg.h"

#include <cmath>

#include "geometry/error.h"

namespace navorix {
namespace {

constexpr long double SteepnessRatio = 100.0L;

// F called point by point.
struct PlainNodes {
  RealFunc F;
  long double At(long double x) const { return F(x); }
  long double Sum(long double S, long double x, long double h, long n) const {
    for (long i = 1; i <= n; ++i) {
      x = x + h;
      S = S + F(x);
    }
    return S;
  }
};

}  // namespace

long double Romberg(RealFunc F, long double X1, long double X2, long double eps) {
  PlainNodes nodes{F};
  return RombergWithNodes(nodes, X1, X2, eps);
}

long double AdaptiveRomberg(RealFunc F, std::uint16_t depthLeft, long double X1, long double X2,
                            long double eps) {
  // Refused before the probe points below are evaluated, as Romberg does.
  if (!(eps > 0.0L)) throw Error(msg::IllegalAccuracy);
  if (depthLeft > 0) {
    const long double f1 = F(X1);
    const long double f2 = F(X2);
    const long double xm = (X1 + X2) * 0.5L;
    const long double fm = F(xm);
    const long double d1 = std::fabs(f1 - fm);
    const long double d2 = std::fabs(f2 - fm);
    if (d1 > SteepnessRatio * d2 || d2 > SteepnessRatio * d1) {
      const auto depth = static_cast<std::uint16_t>(depthLeft - 1);
      const long double left = AdaptiveRomberg(F, depth, X1, xm, eps);
      return left + AdaptiveRomberg(F, depth, xm, X2, eps);
    }
  }
  return Romberg(F, X1, X2, eps);
}

}  // namespace navorix
