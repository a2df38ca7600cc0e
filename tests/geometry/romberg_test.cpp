#include "geometry/romberg.h"

#include <cmath>
#include <functional>
#include <vector>

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

// Node sums without integrand calls: an integrand that is +1 at the ends, at
// the first interior points and at the midpoints of every odd level, and -1
// at those of every even level. Its trapezoid sums swing by the whole
// integral from level to level, so no accuracy is ever reached, and each
// level costs one multiplication instead of 3 * 2^(k-2) evaluations.
struct SwingingNodes {
  long nodes = 0;
  long double At(long double) {
    ++nodes;
    return 1.0L;
  }
  long double Sum(long double S, long double x, long double, long n) {
    nodes += n;
    // The midpoints of a new level start half a step before X1 = 0; the
    // first interior points start at X1.
    if (x < 0.0L) ++level;
    const long double value = level % 2 == 0 ? -1.0L : 1.0L;
    return S + static_cast<long double>(n) * value;
  }
  int level = 1;  // the level whose nodes were summed last
};

TEST(Romberg, UnreachableAccuracyIsReportedNotLooped) {
  // The routine must give up when level 30 would be reached, after the
  // 29 levels of about 8e8 nodes, rather than run on. Romberg itself is
  // RombergWithNodes over its integrand (checked below), so the node
  // counts are those of a real integrand.
  for (long double eps : {1e-8L, 1e-40L}) {
    SwingingNodes nodes;
    EXPECT_EQ(ErrorText([&] { RombergWithNodes(nodes, 0.0L, 1.0L, eps); }),
              "Can't reach the accuracy requested");
    EXPECT_EQ(nodes.nodes, PointsUpToLevel(29));
    EXPECT_EQ(nodes.level, 29);
  }
}

// Node sums by calling f, node by node, recording the nodes.
struct RecordingNodes {
  std::function<long double(long double)> f;
  std::vector<long double> seen;
  long double At(long double x) {
    seen.push_back(x);
    return f(x);
  }
  long double Sum(long double S, long double x, long double h, long n) {
    for (long i = 1; i <= n; ++i) {
      x = x + h;
      seen.push_back(x);
      S = S + f(x);
    }
    return S;
  }
};

TEST(Romberg, IsTheTableOverItsNodes) {
  // Romberg, and any node source that follows the node protocol, see the
  // same nodes in the same order and return the same bits: a faster node
  // source changes nothing but the cost of the values.
  for (long double eps : {1e-6L, 1e-10L, 1e-14L}) {
    std::vector<long double> direct;
    auto f = [&direct](long double x) {
      direct.push_back(x);
      return std::exp(x) * std::sin(3.0L * x);
    };
    RecordingNodes nodes{[](long double x) { return std::exp(x) * std::sin(3.0L * x); }, {}};
    const long double viaNodes = RombergWithNodes(nodes, -0.5L, 2.0L, eps);
    EXPECT_EQ(Romberg(f, -0.5L, 2.0L, eps), viaNodes);
    EXPECT_EQ(direct, nodes.seen);
    EXPECT_GT(direct.size(), 4U);
  }
  RecordingNodes nodes{[](long double x) { return x; }, {}};
  EXPECT_EQ(ErrorText([&] { RombergWithNodes(nodes, 0.0L, 1.0L, 0.0L); }), "Illegal accuracy value");
  EXPECT_TRUE(nodes.seen.empty());
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
