// Sine and cosine with a short argument reduction.
//
// Notation:
//   k        the nearest whole number of quarter turns in x
//   r        x - k pi/2, in [-pi/4, +pi/4] up to rounding
//   P1..P4   pi/2 split so that k P1, k P2 and k P3 are exact for |k| < 2^29:
//            P1..P3 carry 32 significant bits each, P4 the next 64
//
// The library's sincosl hands every argument beyond pi/4 to a general
// multi-precision reduction, which costs more than the sine and cosine
// themselves. The subtractions below are exact (Sterbenz) or round only at
// the size of r, and the parts leave a residue below 3e-51, so r is as good
// as the library's own reduction for the angles the program uses.
#include "geometry/sincos.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "geometry/numeric.h"

namespace navorix {
namespace {

constexpr long double P1 = 0x1.921fb544p0L;
constexpr long double P2 = 0x1.0b4611a6p-34L;
constexpr long double P3 = 0x1.3198a2ep-69L;
constexpr long double P4 = 0x1.b839a252049c1114p-104L;
constexpr long double TwoOverPi = 0.636619772367581343075535053490057448L;
constexpr long double ShortReductionLimit = 64.0L * TwoPi;
constexpr long double RoundingShift = 0x1.8p63L;

}  // namespace

void SinCos(long double x, long double& s, long double& c) {
  if (!(std::fabs(x) > QuarterPi) || !(std::fabs(x) < ShortReductionLimit)) {
    ::sincosl(x, &s, &c);  // no reduction needed, or a NaN, or a huge argument
    return;
  }
  // The nearest quarter turn without a conversion to an integer type (which
  // would switch the rounding mode of the FPU twice): adding 1.5 2^63 rounds
  // to a whole number, and the low bits of the 64-bit mantissa are then k
  // modulo 4, in two's complement for negative k.
  const long double shifted = x * TwoOverPi + RoundingShift;
  const long double k = shifted - RoundingShift;
  std::uint64_t mantissa = 0;
  std::memcpy(&mantissa, &shifted, sizeof mantissa);
  const auto n = static_cast<unsigned>(mantissa & 3U);
  // x - k P1 is exact; the rest of k pi/2 is subtracted keeping the rounding
  // error of the subtraction in lo, so that r + lo carries the reduced angle
  // to well beyond the 64 bits of r.
  const long double high = x - k * P1;
  const long double rest = k * P2;  // exact
  const long double tail = k * P3 + k * P4;
  const long double r = high - rest;
  const long double lo = ((high - r) - rest) - tail;
  long double sr, cr;
  ::sincosl(r + lo, &sr, &cr);
  // sin(r + lo) = sin r' + cos r' (lo - (r' - r)) to first order, r' = r + lo.
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

}  // namespace navorix
