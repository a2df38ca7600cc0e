#include "geometry/sincos.h"

#include <cmath>
#include <random>

#include "tests/geometry/geometry_test_support.h"

namespace navorix::testing {
namespace {

// Distance in units of the last place of the larger magnitude.
long double Ulps(long double a, long double b) {
  const long double scale = std::fmax(std::fabs(a), std::fabs(b));
  if (scale == 0.0L) return 0.0L;
  return std::fabs(a - b) / (std::nextafter(scale, HUGE_VALL) - scale);
}

void ExpectLikeTheLibrary(long double x) {
  long double s, c, ls, lc;
  SinCos(x, s, c);
  ::sincosl(x, &ls, &lc);
  EXPECT_LE(Ulps(s, ls), 1.0L) << static_cast<double>(x);
  EXPECT_LE(Ulps(c, lc), 1.0L) << static_cast<double>(x);
}

TEST(SinCos, AgreesWithTheLibraryOverSeveralTurns) {
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<long double> angle(-4.0L * TwoPi, 4.0L * TwoPi);
  for (int i = 0; i < 200000; ++i) ExpectLikeTheLibrary(angle(rng));
}

TEST(SinCos, AgreesNearMultiplesOfAQuarterTurn) {
  // Where the reduction cancels most: r is tiny and must keep its digits.
  for (int k = -16; k <= 16; ++k) {
    const long double base = k * HalfPi;
    ExpectLikeTheLibrary(base);
    for (long double d : {1e-18L, 1e-12L, 1e-6L, 0.3L, 0.78L}) {
      ExpectLikeTheLibrary(base + d);
      ExpectLikeTheLibrary(base - d);
    }
  }
  for (long double x : {Pi, -Pi, HalfPi, -HalfPi, TwoPi, QuarterPi, std::nextafter(QuarterPi, 1.0L)}) {
    ExpectLikeTheLibrary(x);
  }
}

TEST(SinCos, KeepsTheSignOfZeroAndHandsNaNThrough) {
  long double s, c;
  SinCos(-0.0L, s, c);
  EXPECT_TRUE(std::signbit(s));
  EXPECT_EQ(c, 1.0L);
  SinCos(std::nanl(""), s, c);
  EXPECT_TRUE(std::isnan(s) && std::isnan(c));
  SinCos(1e30L, s, c);
  long double ls, lc;
  ::sincosl(1e30L, &ls, &lc);
  EXPECT_EQ(s, ls);
  EXPECT_EQ(c, lc);
}

}  // namespace
}  // namespace navorix::testing
