#include "geometry/vector.h"

#include "tests/geometry/geometry_test_support.h"

namespace navorix::testing {
namespace {

TEST(Constants, AreTheNearestExtendedValues) {
  // pi/180 to the digits of the 80-bit value; a shortened 18-digit constant
  // would differ here and break the 180-degree and 360-degree range edges.
  EXPECT_EQ(DegToRad, 0.017453292519943295769L);
  EXPECT_EQ(RadToDeg, 57.295779513082320877L);
  EXPECT_EQ(TwoPi, 6.283185307179586477L);
  EXPECT_EQ(Pi, 3.1415926535897932385L);
  EXPECT_NE(DegToRad, 0.017453292519943295L);
  EXPECT_EQ(180.0L * DegToRad, Pi);
  EXPECT_EQ(360.0L * DegToRad, TwoPi);
}

TEST(Vector, CrossProductIsRightHanded) {
  EXPECT_EQ(TriCross({1, 0, 0}, {0, 1, 0}), (Vector3{0, 0, 1}));
  EXPECT_EQ(TriCross({0, 1, 0}, {1, 0, 0}), (Vector3{0, 0, -1}));
}

TEST(Vector, NormalizeRefusesOnlyTheNullVector) {
  Vector3 zero{0, 0, 0};
  EXPECT_EQ(ErrorText([&] { TriNormalize(zero); }), "Cannot normalize a null vector");
  Vector3 tiny{0, 0, 1e-30L};
  TriNormalize(tiny);
  EXPECT_EQ(tiny, (Vector3{0, 0, 1}));
  Vector3 v{3, 0, 4};
  TriNormalize(v);
  EXPECT_TRUE(Near(1.0L, TriLength(v), 1e-19L));
  Vector3 nan{std::nanl(""), 0, 0};
  EXPECT_EQ(ErrorText([&] { TriNormalize(nan); }), msg::NotANumber);
}

TEST(Vector, LatitudeAndLongitudeOfAxes) {
  EXPECT_EQ(TriLon({0, 0, 1}), 0.0L);
  EXPECT_EQ(TriLon({-1, 0, 0}), Pi);
  EXPECT_EQ(TriLat({0, 0, -1}), -HalfPi);
  // One rounding above 1 must not turn the latitude into NaN.
  EXPECT_EQ(TriLat({0, 0, 1.0L + 1e-19L}), HalfPi);
}

TEST(Vector, FromAnglesRoundTrips) {
  for (long double lat = -80; lat <= 80; lat += 20) {
    for (long double lon = -170; lon <= 170; lon += 34) {
      const Vector3 v = TriFromAngles(Deg(lat), Deg(lon));
      EXPECT_TRUE(Near(1.0L, TriLength(v), 1e-18L));
      EXPECT_TRUE(Near(Deg(lat), TriLat(v), 1e-18L)) << lat;
      EXPECT_TRUE(Near(Deg(lon), TriLon(v), 1e-18L)) << lon;
    }
  }
}

TEST(Vector, PoleKeepsTheTypedLongitude) {
  for (long double lon : {-179.0L, -90.0L, -1.0L, 0.5L, 45.0L, 120.0L}) {
    const Vector3 north = TriFromAngles(HalfPi, Deg(lon));
    const Vector3 south = TriFromAngles(-HalfPi, Deg(lon));
    EXPECT_TRUE(Near(Deg(lon), TriLon(north), 1e-15L)) << lon;
    EXPECT_TRUE(Near(Deg(lon), TriLon(south), 1e-15L)) << lon;
  }
}

TEST(Vector, AntimeridianKeepsTheTypedHemisphere) {
  EXPECT_EQ(TriLon(TriFromAngles(Deg(10), Pi)), Pi);
  EXPECT_EQ(TriLon(TriFromAngles(Deg(10), -Pi)), -Pi);
  EXPECT_EQ(TriLon(TriFromAngles(HalfPi, Pi)), Pi);
  EXPECT_EQ(TriLon(TriFromAngles(-HalfPi, -Pi)), -Pi);
}

}  // namespace
}  // namespace navorix::testing
