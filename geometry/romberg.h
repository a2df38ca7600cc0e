// Romberg quadrature to a relative accuracy.
//
// Notation:
//   F        integrand, one extended argument to one extended value
//   X1, X2   limits; X2 < X1 integrates backwards (opposite sign)
//   Eps      relative accuracy, > 0; the test |R[k] - P[k-1]| < Eps (|R[k]| + 1)
//            is absolute for results near 0
//
// Neither routine allocates: the two rows of the Romberg table are fixed
// arrays of 30 cells on the stack.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

namespace navorix {

// A non-owning reference to a callable long double(long double); it must not
// outlive the callable it refers to.
class TRealFunc {
 public:
  using Plain = long double (*)(long double);

  TRealFunc(Plain fn) : plain_(fn), call_([](const TRealFunc& self, long double x) { return self.plain_(x); }) {}

  template <typename Fn, typename = std::enable_if_t<!std::is_same_v<std::decay_t<Fn>, TRealFunc> &&
                                                     !std::is_function_v<std::remove_reference_t<Fn>> &&
                                                     !std::is_pointer_v<std::decay_t<Fn>>>>
  TRealFunc(Fn&& fn)  // NOLINT(google-explicit-constructor): used like a function pointer
      : object_(static_cast<const void*>(&fn)), call_([](const TRealFunc& self, long double x) -> long double {
          using Object = std::remove_reference_t<Fn>;
          return (*static_cast<Object*>(const_cast<void*>(self.object_)))(x);
        }) {}

  long double operator()(long double x) const { return call_(*this, x); }

 private:
  union {
    const void* object_;
    Plain plain_;
  };
  long double (*call_)(const TRealFunc&, long double);
};

// Integral of F from X1 to X2 by Romberg's method: a three-interval trapezoid
// refined by halving, with Richardson extrapolation, to relative accuracy Eps.
// Throws Error "Illegal accuracy value" when Eps <= 0 (before F is called),
// Error "Can't reach the accuracy requested" when level 30 would be reached,
// Error msg::NotANumber when the table stops being finite. Exceptions of F
// pass through unchanged.
long double Romberg(TRealFunc F, long double X1, long double X2, long double Eps);

// The same integral, first splitting the interval up to Depth times where one
// half of F is more than 100 times steeper than the other (judged from F at
// the ends and the midpoint). Depth = 0 is exactly Romberg.
long double AdaptiveRomberg(TRealFunc F, std::uint16_t Depth, long double X1, long double X2,
                            long double Eps);

}  // namespace navorix
