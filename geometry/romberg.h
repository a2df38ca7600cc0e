// Romberg quadrature to a relative accuracy.
//
// Notation:
//   F        integrand, one extended argument to one extended value
//   X1, X2   limits; X2 < X1 integrates backwards (opposite sign)
//   Eps      relative accuracy, > 0; the test |R[k] - P[k-1]| < Eps (|R[k]| + 1)
//            is absolute for results near 0
//   Nodes    the source of the integrand's values: F at the two limits, and
//            the sum of F over a run of equally spaced nodes
//   R, P     the current and the previous row of the Romberg table, cells 1..30
//   k        current level; n number of subintervals; h their width
//
// Neither routine allocates: the two rows of the Romberg table are fixed
// arrays of 30 cells on the stack.
#pragma once

#include <cmath>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "geometry/error.h"

namespace navorix {

// A non-owning reference to a callable long double(long double); it must not
// outlive the callable it refers to.
class RealFunc {
 public:
  using Plain = long double (*)(long double);

  RealFunc(Plain fn)
      : plain_(fn), call_([](const RealFunc& self, long double x) { return self.plain_(x); }) {}

  template <typename Fn, typename = std::enable_if_t<!std::is_same_v<std::decay_t<Fn>, RealFunc> &&
                                                     !std::is_function_v<std::remove_reference_t<Fn>> &&
                                                     !std::is_pointer_v<std::decay_t<Fn>>>>
  RealFunc(Fn&& fn)  // NOLINT(google-explicit-constructor): used like a function pointer
      : object_(static_cast<const void*>(&fn)), call_([](const RealFunc& self, long double x) -> long double {
          using Object = std::remove_reference_t<Fn>;
          return (*static_cast<Object*>(const_cast<void*>(self.object_)))(x);
        }) {}

  long double operator()(long double x) const { return call_(*this, x); }

 private:
  union {
    const void* object_;
    Plain plain_;
  };
  long double (*call_)(const RealFunc&, long double);
};

inline constexpr int RombergTableSize = 30;  // level 30 is never computed

// Romberg's method over the values that nodes supplies; Romberg below is this
// routine over a plain loop of integrand calls, and an integrand that is
// cheaper to evaluate along a run of equally spaced nodes than point by point
// (the elliptic arc) supplies its own nodes. nodes provides
//   long double At(long double x)   F(x); called for X1, then X2
//   long double Sum(long double S, long double x, long double h, long n)
//                                   S + F(x1) + F(x2) + ... + F(xn), added in
//                                   this order, x1 = x + h, x(i+1) = xi + h
// and sees every node exactly once. The rules are Romberg's.
template <typename Nodes>
long double RombergWithNodes(Nodes& nodes, long double X1, long double X2, long double eps) {
  // Also refuses a NaN accuracy: the comparison is false for it.
  if (!(eps > 0.0L)) throw Error(msg::IllegalAccuracy);

  // Two rows that swap roles at each level instead of being copied; cell 0
  // is unused, so that indices follow the levels. A cell is only read after
  // it has been written: level k writes R[1..k] and reads P[1..k-1].
  long double rows[2][RombergTableSize + 1];
  long double* R = rows[0];
  long double* P = rows[1];
  int k = 1;
  long n = 3;
  long double h = (X2 - X1) / 3.0L;

  const long double f1 = nodes.At(X1);
  long double S = (f1 + nodes.At(X2)) * 0.5L;
  S = nodes.Sum(S, X1, h, n - 1);  // the two interior points of the first trapezoid
  P[1] = S * h;

  for (;;) {
    k = k + 1;
    if (k == RombergTableSize) throw Error(msg::AccuracyNotReached);
    S = nodes.Sum(0.0L, X1 - h * 0.5L, h, n);  // the n midpoints
    R[1] = (h * S + P[1]) * 0.5L;
    long double q = 4.0L;
    for (int j = 2; j <= k; ++j) {
      R[j] = (q * R[j - 1] - P[j - 1]) / (q - 1.0L);
      q = 4.0L * q;
    }
    // A NaN or infinite table never converges: stop now instead of running
    // the remaining levels for nothing.
    if (!std::isfinite(R[k])) throw Error(msg::NotANumber);
    if (std::fabs(R[k] - P[k - 1]) < eps * (std::fabs(R[k]) + 1.0L)) return R[k];
    std::swap(R, P);
    h = h * 0.5L;
    n = 2 * n;
  }
}

// Integral of F from X1 to X2 by Romberg's method: a three-interval trapezoid
// refined by halving, with Richardson extrapolation, to relative accuracy eps.
// Throws Error "Illegal accuracy value" when eps <= 0 (before F is called),
// Error "Can't reach the accuracy requested" when level 30 would be reached,
// Error msg::NotANumber when the table stops being finite. Exceptions of F
// pass through unchanged.
long double Romberg(RealFunc F, long double X1, long double X2, long double eps);

// The same integral, first splitting the interval up to Depth times where one
// half of F is more than 100 times steeper than the other (judged from F at
// the ends and the midpoint). Depth = 0 is exactly Romberg.
long double AdaptiveRomberg(RealFunc F, std::uint16_t depthLeft, long double X1, long double X2,
                            long double eps);

}  // namespace navorix
