#include "geometry/romberg.h"

#include <cmath>

#include "tests/geometry/geometry_test_support.h"

namespace navorix::testing {
namespace {

// Counts evaluations of an integrand; levels follow from the count, since
// level k adds 3 * 2^(k-2) midpoints to the 4 points of the first trapezoid.
struct Counted {
  std::function<long double(long double)> f;
  long calls = 0;
  long double operator()(long double x) {
    ++calls;
    return f(x);
  }
};

long PointsUpToLevel(int k) {
  long n = 4;
  for (int level = 2; level <= k; ++level) n += 3L << (level - 2);
  return n;
}

TEST(Romberg, EmptyIntervalStopsAtLevelTwo) {
  Counted g{[](long double x) { return std::exp(x); }};
  EXPECT_EQ(Romberg(g, 1.5L, 1.5L, 1e-8L), 0.0L);
  EXPECT_EQ(g.calls, PointsUpToLevel(2));
}

TEST(Romberg, LinearIntegrandIsExactAtLevelTwo) {
  Counted g{[](long double x) { return 3.0L * x - 2.0L; }};
  EXPECT_TRUE(Near(7.5L, Romberg(g, 0.0L, 3.0L, 1e-12L), 1e-17L));
  EXPECT_EQ(g.calls, PointsUpToLevel(2));
}

TEST(Romberg, CubicIsExactByLevelThree) {
  Counted g{[](long double x) { return x * x * x - x; }};
  EXPECT_TRUE(Near(2.0L, Romberg(g, 0.0L, 2.0L, 1e-12L), 1e-16L));
  EXPECT_LE(g.calls, PointsUpToLevel(3));
}

TEST(Romberg, BackwardIntervalChangesSign) {
  auto f = [](long double x) { return std::sin(x); };
  const long double forward = Romberg(f, 0.0L, Pi, 1e-12L);
  EXPECT_TRUE(Near(2.0L, forward, 1e-11L));
  EXPECT_TRUE(Near(-forward, Romberg(f, Pi, 0.0L, 1e-12L), 1e-15L));
}

TEST(Romberg, RefusesAccuracyBeforeEvaluating) {
  for (long double eps : {0.0L, -1e-8L, std::nanl("")}) {
    Counted g{[](long double x) { return x; }};
    EXPECT_EQ(ErrorText([&] { Romberg(g, 0.0L, 1.0L, eps); }), "Illegal accuracy value");
    EXPECT_EQ(ErrorText([&] { AdaptiveRomberg(g, 3, 0.0L, 1.0L, eps); }), "Illegal accuracy value");
    EXPECT_EQ(g.calls, 0) << "neither routine may evaluate the integrand first";
  }
}

TEST(Romberg, UnreachableAccuracyIsReportedNotLooped) {
  // An accuracy far below the 80-bit rounding can never be met: the routine
  // must give up after level 29 rather than run on (about 8e8 evaluations).
  long calls = 0;
  auto f = [&calls](long double x) {
    ++calls;
    return x * x;
  };
  EXPECT_EQ(ErrorText([&] { Romberg(f, 0.0L, 1.0L, 1e-40L); }), "Can't reach the accuracy requested");
  EXPECT_EQ(calls, PointsUpToLevel(29));
}

TEST(Romberg, NonFiniteIntegrandFailsAtOnce) {
  Counted g{[](long double x) { return x > 0.5L ? std::nanl("") : x; }};
  EXPECT_EQ(ErrorText([&] { Romberg(g, 0.0L, 1.0L, 1e-8L); }), msg::NotANumber);
  EXPECT_EQ(g.calls, PointsUpToLevel(2));
}

TEST(AdaptiveRomberg, DepthZeroIsRombergBitForBit) {
  auto f = [](long double x) { return std::exp(-x * x) * std::cos(3.0L * x); };
  for (long double eps : {1e-6L, 1e-8L, 1e-12L}) {
    EXPECT_EQ(AdaptiveRomberg(f, 0, -1.0L, 2.5L, eps), Romberg(f, -1.0L, 2.5L, eps));
  }
}

TEST(AdaptiveRomberg, SplitsOnceWhereOneSideIsFlat) {
  // f1 = fm, f2 differs: d2 > 100 * d1 = 0, so depth 1 splits into two halves.
  auto f = [](long double x) { return x <= 1.0L ? 1.0L : x * x; };
  Counted g{f};
  const long double split = AdaptiveRomberg(g, 1, 0.0L, 2.0L, 1e-10L);
  const long double halves = Romberg(f, 0.0L, 1.0L, 1e-10L) + Romberg(f, 1.0L, 2.0L, 1e-10L);
  EXPECT_EQ(split, halves);
  EXPECT_TRUE(Near(1.0L + 7.0L / 3.0L, split, 1e-9L));
}

TEST(AdaptiveRomberg, EvenIntegrandIsNotSplit) {
  auto f = [](long double x) { return 2.0L + x; };
  EXPECT_EQ(AdaptiveRomberg(f, 5, 0.0L, 1.0L, 1e-10L), Romberg(f, 0.0L, 1.0L, 1e-10L));
}

}  // namespace
}  // namespace navorix::testing
