// The faster geometry routines against their previous implementations
// (previous_geometry.h) on random and edge-case inputs: the numbers agree
// within the bounds below, the same inputs fail with the same texts, and no
// distance or azimuth is shown differently in any unit, format or accuracy.
// The one exception is the geodesic where the previous iteration ran into
// its limit ("Looping iterations"): there the geodesic must now come out,
// and agree with GeographicLib's.
//
// Shown means: a distance angle becomes FixedText(angle R / k, decimals) for
// km, statute and nautical miles (k = 1, 1.609344, 1.852) at 0, 2 and 4
// decimals, and FixedText(angle / (pi/180), decimals) at 2, 4 and 6 decimals
// for degrees; an azimuth becomes the whole number of counting units of its
// magnitude (100, 10000, 1000000 per degree for decimal degrees, 60, 6000,
// 600000 for minutes, 60, 3600, 360000 for seconds) rounded half to even,
// with its sign, in the -180..+180 range and in 0..360.
//
// Bounds, with the largest differences the fixed inputs below give:
//   elliptic arc        relative 2e-18   (measured 5e-19)
//   geodesic distance   relative 1e-16   (measured 2e-17; 3e-17 for nearly
//                                         antipodal pairs)
//   geodesic azimuth    1e-14 rad        (measured 2.3e-15), 1e-13 rad for
//                                         nearly antipodal pairs (3e-14)
//   SinCos              1 unit in the last place of the larger value
// sin L and cos L of the geodesic now come from the components of the two
// positions rather than from two longitudes: against Vincenty's iteration
// carried out in 113 bits the azimuths of these random pairs are within
// 1.2e-15 rad, the previous ones within 3e-15 rad; the azimuth of a nearly
// antipodal pair turns such differences of 1e-19 in L into 1e-15.
// Where the previous iteration looped, the geodesic must be GeographicLib's.
#include <gtest/gtest.h>
#include <GeographicLib/Geodesic.hpp>

#include <cmath>
#include <cstdint>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "geometry/earth_model.h"
#include "geometry/ellipsoid.h"
#include "geometry/error.h"
#include "geometry/numeric.h"
#include "geometry/sincos.h"
#include "tests/geometry/geometry_test_support.h"
#include "tests/geometry/previous_geometry.h"
#include "text/decimal.h"

namespace navorix::testing {
namespace {

constexpr long double ArcBound = 2e-18L;
constexpr long double DistanceBound = 1e-16L;
constexpr long double AzimuthBound = 1e-14L;
constexpr long double NearAntipodalAzimuthBound = 1e-13L;
// Where the previous iteration looped the result is GeographicLib's own, up
// to the rounding of the positions handed to it (measured 7.5e-12 km and
// 8e-14 rad); Vincenty's would differ by up to 7.5e-8 km and 4e-9 rad.
constexpr long double HandOverKm = 1e-10L;
constexpr long double HandOverRad = 1e-12L;
constexpr int RandomPairs = 30000;

// Every text a distance angle can be shown as.
std::string DistanceTexts(const EarthShape& e, long double angle) {
  std::string texts;
  for (long double kmPerUnit : {1.0L, 1.609344L, 1.852L}) {
    for (int decimals : {0, 2, 4}) texts += FixedText(angle * e.spherRadius / kmPerUnit, decimals) + " ";
  }
  for (int decimals : {2, 4, 6}) texts += FixedText(angle / DegToRad, decimals) + " ";
  return texts;
}

// x >= 0 rounded to a whole number, an exact half to the even one.
std::int64_t RoundHalfEven(long double x) {
  const long double whole = std::floor(x);
  const long double rest = x - whole;
  auto n = static_cast<std::int64_t>(whole);
  if (rest > 0.5L || (rest == 0.5L && n % 2 != 0)) ++n;
  return n;
}

// The signed counts behind every text an azimuth can be shown as.
std::string AzimuthCounts(long double azimuth) {
  std::string counts;
  for (long double angle : {azimuth, azimuth < 0.0L ? azimuth + TwoPi : azimuth}) {
    for (std::int64_t perDegree : {100, 10000, 1000000, 60, 6000, 600000, 3600, 360000}) {
      const long double units = std::fabs(angle) * RadToDeg * static_cast<long double>(perDegree);
      counts += (angle < 0.0L ? "-" : "+") + std::to_string(RoundHalfEven(units)) + " ";
    }
  }
  return counts;
}

long double Relative(long double now, long double before) {
  return before == 0.0L ? std::fabs(now) : std::fabs(now - before) / std::fabs(before);
}

// One routine's result or the text it failed with.
template <typename Result>
struct CallOutcome {
  std::string error;
  Result value{};
};
template <typename Call>
auto Outcome(Call call) -> CallOutcome<decltype(call())> {
  try {
    return {"", call()};
  } catch (const Error& e) {
    return {e.what(), {}};
  }
}

// The largest differences seen, reported with the test.
struct Spread {
  long double arc = 0.0L;
  long double distance = 0.0L;
  long double azimuth = 0.0L;
  long failures = 0;    // pairs that failed, alike in both versions
  long handedOver = 0;  // geodesics where the previous iteration looped

  void Record(const std::string& prefix = "") const {
    auto text = [](long double v) {
      std::ostringstream out;
      out << std::scientific << std::setprecision(2) << static_cast<double>(v);
      return out.str();
    };
    ::testing::Test::RecordProperty(prefix + "arc_relative", text(arc));
    ::testing::Test::RecordProperty(prefix + "distance_relative", text(distance));
    ::testing::Test::RecordProperty(prefix + "azimuth_rad", text(azimuth));
    ::testing::Test::RecordProperty(prefix + "failed_alike", std::to_string(failures));
    ::testing::Test::RecordProperty(prefix + "looped_before", std::to_string(handedOver));
  }
};

std::string PairText(const Vector3& A, const Vector3& B) {
  return "A (" + DecimalText(A.x) + ", " + DecimalText(A.y) + ", " + DecimalText(A.z) + ") B (" +
         DecimalText(B.x) + ", " + DecimalText(B.y) + ", " + DecimalText(B.z) + ")";
}

void CompareArc(const EarthShape& e, const Vector3& A, const Vector3& B, Spread& spread) {
  const auto before = Outcome([&] { return previous::EllipticArcDist(e, A, B); });
  const auto now = Outcome([&] { return EllipticArcDist(e, A, B); });
  ASSERT_EQ(now.error, before.error) << PairText(A, B);
  if (!now.error.empty()) {
    ++spread.failures;
    return;
  }
  const long double d = Relative(now.value, before.value);
  spread.arc = std::fmax(spread.arc, d);
  EXPECT_LE(d, ArcBound) << PairText(A, B);
  EXPECT_EQ(DistanceTexts(e, now.value), DistanceTexts(e, before.value)) << PairText(A, B);
}

// GeographicLib's distance (/ SpherRadius) and azimuth (rad) from A to B.
GeodesicSolution GeographicLibInverse(const EarthShape& e, const Vector3& A, const Vector3& B) {
  const GeographicLib::Geodesic geodesic(static_cast<double>(e.equatRadius * 1000.0L),
                                         static_cast<double>(e.flattening));
  EarthModel model;
  model.shape = e;
  double s12 = 0.0, azi1 = 0.0, azi2 = 0.0;
  geodesic.Inverse(static_cast<double>(ToDeg(PosLat(model, A))), static_cast<double>(ToDeg(PosLon(A))),
                   static_cast<double>(ToDeg(PosLat(model, B))), static_cast<double>(ToDeg(PosLon(B))), s12,
                   azi1, azi2);
  return {static_cast<long double>(s12) / 1000.0L / e.spherRadius, Deg(static_cast<long double>(azi1))};
}

void CompareGeodesic(const EarthShape& e, const Vector3& A, const Vector3& B, Spread& spread,
                     long double azimuthBound) {
  const auto before = Outcome([&] { return previous::GeodesicInverse(e, A, B); });
  const auto now = Outcome([&] { return GeodesicInverse(e, A, B); });
  const auto distance = Outcome([&] { return GeodesicDist(e, A, B); });
  ASSERT_EQ(distance.error, now.error) << PairText(A, B);
  if (before.error == msg::LoopingIterations) {
    // No result before; now GeographicLib's (or the one the iteration would
    // have reached beyond its limit).
    ASSERT_EQ(now.error, "") << PairText(A, B);
    ++spread.handedOver;
    const GeodesicSolution reference = GeographicLibInverse(e, A, B);
    EXPECT_LE(std::fabs(now.value.distance - reference.distance) * e.spherRadius, HandOverKm)
        << PairText(A, B);
    EXPECT_LE(std::fabs(now.value.azimuth - reference.azimuth), HandOverRad) << PairText(A, B);
    EXPECT_EQ(distance.value, now.value.distance) << PairText(A, B);
    return;
  }
  ASSERT_EQ(now.error, before.error) << PairText(A, B);
  if (!now.error.empty()) {
    ++spread.failures;
    return;
  }
  // The distance alone is the same computation without the azimuth.
  EXPECT_EQ(distance.value, now.value.distance) << PairText(A, B);
  const long double d = Relative(now.value.distance, before.value.distance);
  const long double a = std::fabs(now.value.azimuth - before.value.azimuth);
  spread.distance = std::fmax(spread.distance, d);
  spread.azimuth = std::fmax(spread.azimuth, a);
  EXPECT_LE(d, DistanceBound) << PairText(A, B);
  EXPECT_LE(a, azimuthBound) << PairText(A, B);
  EXPECT_EQ(DistanceTexts(e, now.value.distance), DistanceTexts(e, before.value.distance)) << PairText(A, B);
  EXPECT_EQ(AzimuthCounts(now.value.azimuth), AzimuthCounts(before.value.azimuth)) << PairText(A, B);
}

// Positions uniform on the sphere, typed as geodetic latitudes.
class RandomFixes {
 public:
  explicit RandomFixes(std::uint64_t seed) : random_(seed) {}
  Vector3 Next(const EarthModel& model) {
    std::uniform_real_distribution<long double> unit(-1.0L, 1.0L);
    const long double lat = std::asin(unit(random_));
    return PosFromLatLon(model, lat, unit(random_) * Pi);
  }
  long double Uniform(long double from, long double to) {
    return std::uniform_real_distribution<long double>(from, to)(random_);
  }

 private:
  std::mt19937_64 random_;
};

TEST(AgainstPrevious, EllipticArcOnRandomPairs) {
  const EarthModel model;
  RandomFixes fixes(20261208);
  Spread spread;
  for (int i = 0; i < RandomPairs; ++i) {
    const Vector3 A = fixes.Next(model), B = fixes.Next(model);
    CompareArc(model.shape, A, B, spread);
  }
  spread.Record();
}

TEST(AgainstPrevious, GeodesicOnRandomPairs) {
  const EarthModel model;
  RandomFixes fixes(20261209);
  Spread spread;
  for (int i = 0; i < RandomPairs; ++i) {
    const Vector3 A = fixes.Next(model), B = fixes.Next(model);
    CompareGeodesic(model.shape, A, B, spread, AzimuthBound);
  }
  spread.Record();
}

TEST(AgainstPrevious, NearAntipodalPairs) {
  // Within a degree of the antipode Vincenty's iteration often runs into
  // its limit, and where it converges it often takes hundreds of steps,
  // which the fixed point found directly now replaces: the results must be
  // shown the same, and where the previous version gave up the geodesic
  // must now be GeographicLib's. The azimuth is badly conditioned there.
  for (const auto& [name, e] :
       {std::pair{"", EarthShape{}}, std::pair{"flatter_", EarthShape(6367.4357L, 6000.0L, 6378.137L)}}) {
    EarthModel model;
    model.shape = e;
    RandomFixes fixes(20261210);
    Spread spread;
    // Degrees from the antipode: 0.7 of latitude and 1 of longitude on the
    // Earth, 16 times as much on the flatter ellipsoid (f = 0.06).
    const long double spreadDeg = e.flattening > 0.01L ? 16.0L : 1.0L;
    for (int i = 0; i < 2500; ++i) {
      const long double lat = std::asin(fixes.Uniform(-1.0L, 1.0L));
      const long double lon = fixes.Uniform(-Pi, Pi);
      const Vector3 A = PosFromLatLon(model, lat, lon);
      const Vector3 B = PosFromLatLon(model, -lat + Deg(0.7L * spreadDeg * fixes.Uniform(-1.0L, 1.0L)),
                                      lon + Pi + Deg(spreadDeg * fixes.Uniform(-1.0L, 1.0L)));
      CompareArc(e, A, B, spread);
      CompareGeodesic(e, A, B, spread, NearAntipodalAzimuthBound);
    }
    spread.Record(name);
    EXPECT_GT(spread.handedOver, 400) << name << ": the set must reach the iteration limit often";
  }
}

// Both directions of each pair.
void CompareBoth(const EarthShape& e, const Vector3& A, const Vector3& B, Spread& spread) {
  for (int turn = 0; turn < 2; ++turn) {
    const Vector3& from = turn == 0 ? A : B;
    const Vector3& to = turn == 0 ? B : A;
    CompareArc(e, from, to, spread);
    CompareGeodesic(e, from, to, spread, AzimuthBound);
  }
}

TEST(AgainstPrevious, EdgeCases) {
  const EarthModel model;
  const EarthShape& e = model.shape;
  Spread spread;
  struct Degrees {
    long double lat1, lon1, lat2, lon2;
  };
  const Degrees pairs[] = {
      // Along the equator, out to the antipode.
      {0, 0, 0, 90},
      {0, 0, 0, 1},
      {0, -179.5L, 0, 179.5L},
      {0, 0, 0, 150},
      {0, 0, 0, 179},
      {0, 0, 0, 180},
      // Along meridians, and over a pole.
      {0, 0, 45, 0},
      {0, 0, 90, 0},
      {-30, 10, 60, 10},
      {40, 20, 50, -160},
      {-89.9L, 0, 89.9L, 0},
      // From and to the poles as typed.
      {90, 0, 45, 30},
      {-90, 0, -10, -100},
      {90, 45, -45, 45},
      {90, 0, -90, 0},
      {90, 0, 90, 90},
      // Near the antipode.
      {10, 20, -10.001L, -160},
      {0.5L, 0, -0.5L, 179.7L},
      {30, 0, -30, 179.99L},
      {-45, 100, 44.9L, -80.2L},
      // Across the antimeridian.
      {10, 179, 10, -179},
      {-60, -179.9L, -61, 179.9L},
      // Oblique lines.
      {50, 10, 40, 30},
      {10, -20, -30, 100},
      {-33.9L, 18.4L, 51.5L, -0.1L},
  };
  for (const Degrees& p : pairs) CompareBoth(e, Fix(p.lat1, p.lon1), Fix(p.lat2, p.lon2), spread);
  // The exact axis vectors, whose longitude is 0 by definition.
  for (const Vector3& pole : {NorthPoleVec, SouthPoleVec}) {
    for (const Degrees& p : pairs) CompareBoth(e, pole, Fix(p.lat1, p.lon1), spread);
  }
  CompareBoth(e, NorthPoleVec, SouthPoleVec, spread);
  // Short arcs, from below the same-position tolerance up, in latitude,
  // longitude and both.
  const Vector3 base = TriFromAngles(0.5L, 0.5L);
  for (long double step : {5e-9L, 2e-8L, 1e-7L, 1e-6L, 1e-4L, 1e-2L}) {
    CompareBoth(e, base, TriFromAngles(0.5L + step, 0.5L), spread);
    CompareBoth(e, base, TriFromAngles(0.5L, 0.5L + step), spread);
    CompareBoth(e, base, TriFromAngles(0.5L - step, 0.5L + step), spread);
    CompareBoth(e, Fix(0, 0), TriFromAngles(0, step), spread);
    CompareBoth(e, Fix(89, 0), Fix(89, 0 + ToDeg(step)), spread);
  }
  spread.Record();
  EXPECT_GT(spread.failures, 10) << "coincident and antipodal pairs must be among the cases";
}

TEST(AgainstPrevious, OtherEarthShapes) {
  // The reference sphere itself (f = 0), a flatter ellipsoid (f = 0.06) and
  // one whose reference sphere is far from both axes.
  struct NamedShape {
    const char* name;
    EarthShape shape;
  };
  for (const auto& [name, e] : {NamedShape{"sphere_", EarthShape(6371.0L, 6371.0L, 6371.0L)},
                                NamedShape{"flatter_", EarthShape(6367.4357L, 6000.0L, 6378.137L)},
                                NamedShape{"unit_radius_", EarthShape(1.0L, 6356.7523L, 6378.137L)}}) {
    EarthModel model;
    model.shape = e;
    RandomFixes fixes(20261211);
    Spread spread;
    for (int i = 0; i < 3000; ++i) {
      const Vector3 A = fixes.Next(model), B = fixes.Next(model);
      CompareArc(e, A, B, spread);
      CompareGeodesic(e, A, B, spread, AzimuthBound);
    }
    spread.Record(name);
  }
}

TEST(AgainstPrevious, SinCosWithinAUnitOfThePrevious) {
  // The new kernel is correctly rounded where the previous one was off by
  // less than one unit, so they differ by at most one unit, and mostly not.
  std::mt19937_64 random(42);
  std::uniform_real_distribution<long double> angle(-4.0L * TwoPi, 4.0L * TwoPi);
  long changed = 0;
  for (int i = 0; i < 200000; ++i) {
    const long double x = angle(random);
    long double s, c, ps, pc;
    SinCos(x, s, c);
    previous::SinCos(x, ps, pc);
    ASSERT_LE(Ulps(s, ps), 1.0L) << static_cast<double>(x);
    ASSERT_LE(Ulps(c, pc), 1.0L) << static_cast<double>(x);
    if (s != ps || c != pc) ++changed;
  }
  ::testing::Test::RecordProperty("changed_of_200000", std::to_string(changed));
}

}  // namespace
}  // namespace navorix::testing
