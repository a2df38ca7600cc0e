#include "geometry/sincos.h"

#include <cmath>
#include <random>

#include "tests/geometry/geometry_test_support.h"

#if NAVORIX_HAVE_QUADMATH
#include <quadmath.h>
#endif
#if defined(__GLIBC__) && (defined(__x86_64__) || defined(__i386__))
#include <fpu_control.h>
#endif

namespace navorix::testing {
namespace {

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

#if defined(__GLIBC__) && (defined(__x86_64__) || defined(__i386__))
TEST(SinCos, StaysInItsTableUnderACoarserPrecisionControl) {
  // With the FPU rounding to 53 bits the rounding tricks that find the
  // table entry no longer hold; the values may lose digits, but the kernel
  // must not read outside its table.
  fpu_control_t saved;
  _FPU_GETCW(saved);
  const fpu_control_t doublePrecision = static_cast<fpu_control_t>((saved & ~_FPU_EXTENDED) | _FPU_DOUBLE);
  _FPU_SETCW(doublePrecision);
  long double worst = 0.0L;
  for (int i = -4000; i <= 4000; ++i) {
    const long double x = static_cast<long double>(i) * 0.00613L;
    long double s, c;
    SinCos(x, s, c);
    worst = std::fmax(worst, std::fmax(std::fabs(s - std::sin(static_cast<double>(x))),
                                       std::fabs(c - std::cos(static_cast<double>(x)))));
  }
  _FPU_SETCW(saved);
  EXPECT_LT(worst, 1e-13L);
}
#endif

#if NAVORIX_HAVE_QUADMATH
__extension__ typedef __float128 Quad;

// How often sine and cosine are the correctly rounded values, judged against
// 113-bit values (whose own rounding could mislead the judgement in about
// one argument in 2^48), and the largest error in units of the last place.
struct RoundingScore {
  long correct = 0;  // arguments with both values correctly rounded
  long total = 0;
  long double worstUlps = 0.0L;

  void Add(long double s, long double c, Quad qs, Quad qc) {
    ++total;
    if (s == static_cast<long double>(qs) && c == static_cast<long double>(qc)) ++correct;
    worstUlps = std::fmax(worstUlps, std::fmax(UlpsOff(s, qs), UlpsOff(c, qc)));
  }
  double Rate() const { return static_cast<double>(correct) / static_cast<double>(total); }

  static long double UlpsOff(long double v, Quad q) {
    const long double r = std::fabs(static_cast<long double>(q));
    const long double ulp = std::nextafter(r, HUGE_VALL) - r;
    return static_cast<long double>(fabsq(static_cast<Quad>(v) - q)) / ulp;
  }
};

TEST(SinCos, CorrectlyRoundedMoreOftenThanTheLibrary) {
  // Over 64 and over 4 turns, where the reduction's tail matters, and within
  // the quarter turn that needs none. Measured: both values correctly
  // rounded in all but 2 to 6 arguments per million (errors within 0.5001
  // ulp); the library's sincosl in about 95 % of these arguments (99.6 %
  // within the quarter turn).
  std::mt19937_64 rng(7);
  for (long double range : {64.0L * TwoPi, 4.0L * TwoPi, QuarterPi}) {
    std::uniform_real_distribution<long double> angle(-range, range);
    RoundingScore ours, library;
    for (int i = 0; i < 60000; ++i) {
      const long double x = angle(rng);
      const Quad qs = sinq(static_cast<Quad>(x)), qc = cosq(static_cast<Quad>(x));
      long double s, c;
      SinCos(x, s, c);
      ours.Add(s, c, qs, qc);
      ::sincosl(x, &s, &c);
      library.Add(s, c, qs, qc);
    }
    EXPECT_GE(ours.correct, library.correct) << "range " << static_cast<double>(range);
    EXPECT_GE(ours.Rate(), 0.9999) << "range " << static_cast<double>(range);
    EXPECT_LT(ours.worstUlps, 0.5003L) << "range " << static_cast<double>(range);
  }
}

TEST(SinCos, WithinItsBoundsAtTheWorstArgumentsFound) {
  // The largest errors found in searches of 40 million arguments (random
  // over 64 turns, near multiples of pi/2, near the kernel's table angles
  // and its 1/256 boundary) and those of earlier versions.
  struct Worst {
    long double x;
    long double bound;  // units in the last place
    const char* where;
  };
  const Worst cases[] = {
      // Small r with a long tail of the reduction: the tail's first-order
      // term was left out of the short series (0.5123 ulp), and the tail was
      // rounded at its own size (0.742 ulp).
      {-0xa.9a4e7dc8a0ffe99p+5L, 0.5001L, "54 turns, r = 0.0037"},
      {-0x8.c7372d8ea67a0acp+5L, 0.5001L, "45 turns"},
      {-0xb.aecbd42bb0f648dp+5L, 0.5001L, "59 turns, r = 1.1e-18"},
      {0xc.887693f73c7510fp+5L, 0.5001L, "64 turns"},
      {-0xa.35d60f27eca561ap+5L, 0.5001L, "52 turns, r = -0.0039"},
      {0xa.9a185e649f630fbp+2L, 0.5001L, "7 turns, r = -0.0038"},
      {-0xc.98f6d12e5e034d7p-3L, 0.5001L, "near -pi/2, r = -0.0039"},
      // Within 1/256 of pi, where the reduction of the stored positions is
      // kept.
      {0xc.94fba34fb8c01fap-2L, 0.5003L, "pi + 0.0039"},
      {0xc.94fd9e210e598cdp-2L, 0.5003L, "pi + 0.0039"},
      {-0xc.9496c5604cedc78p-2L, 0.5003L, "-pi"},
      // Beyond 64 turns: the library's sincosl.
      {0x9.dfa7df3d56945a1p+14L, 1.5L, "6450 turns"},
  };
  for (const Worst& w : cases) {
    long double s, c;
    SinCos(w.x, s, c);
    EXPECT_LE(RoundingScore::UlpsOff(s, sinq(static_cast<Quad>(w.x))), w.bound) << w.where;
    EXPECT_LE(RoundingScore::UlpsOff(c, cosq(static_cast<Quad>(w.x))), w.bound) << w.where;
  }
}

TEST(SinCos, CorrectlyRoundedWhereTheReductionCancels) {
  // Arguments near multiples of a quarter turn, where r is tiny and lives
  // on the reduction's tail, up to the 256 quarter turns of the reduction.
  RoundingScore ours;
  for (int k = -255; k <= 255; ++k) {
    for (long double d : {1e-19L, 3e-15L, 1e-9L, 2e-5L, 0.01L}) {
      for (long double x : {k * HalfPi + d, k * HalfPi - d, std::nextafter(k * HalfPi, 100.0L)}) {
        long double s, c;
        SinCos(x, s, c);
        ours.Add(s, c, sinq(static_cast<Quad>(x)), cosq(static_cast<Quad>(x)));
      }
    }
  }
  EXPECT_EQ(ours.correct, ours.total);
}
#else
TEST(SinCos, CorrectlyRoundedMoreOftenThanTheLibrary) {
  GTEST_SKIP() << "no 113-bit reference: libquadmath is not available";
}
#endif

}  // namespace
}  // namespace navorix::testing
