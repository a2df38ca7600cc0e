#include "geometry/earth_model.h"

#include <cmath>

#include "tests/geometry/geometry_test_support.h"

namespace navorix::testing {
namespace {

TEST(EarthModel, DerivedValuesOfTheDefaultRadii) {
  const EarthShape e;
  EXPECT_TRUE(Near(0.003352812898186414L, e.flattening, 1e-18L));
  EXPECT_TRUE(Near(298.25702488L, 1.0L / e.flattening, 1e-8L));
  EXPECT_TRUE(Near(0.006694384442042583L, e.ecc2, 1e-18L));
  EXPECT_TRUE(Near(0.9933056155579574L, e.oneMinusEcc2, 1e-16L));
  EXPECT_TRUE(Near(1.003364092069468L, e.axisRatio, 1e-15L));
  EXPECT_TRUE(Near(0.006739501254387078L, e.secondEcc2, 1e-18L));
}

TEST(EarthModel, ShapeFromRadiiDerivesEverything) {
  const EarthShape sphere(6371.0L, 6371.0L, 6371.0L);
  EXPECT_EQ(sphere.flattening, 0.0L);
  EXPECT_EQ(sphere.axisRatio, 1.0L);
  EXPECT_EQ(GeodToGeoc(sphere, Deg(45)), Deg(45)) << "a sphere has no latitude conversion";
  // The compile-time default and a shape built at run time from the same
  // radii are the same model to the last bit.
  volatile long double b = DefaultPolarRadius;
  const EarthShape runtime(DefaultSpherRadius, b, DefaultEquatRadius);
  const EarthShape builtIn;
  EXPECT_EQ(runtime.ecc2, builtIn.ecc2);
  EXPECT_EQ(runtime.oneMinusEcc2, builtIn.oneMinusEcc2);
  EXPECT_EQ(runtime.secondEcc2, builtIn.secondEcc2);
}

TEST(EarthModel, UsableRadii) {
  EXPECT_TRUE(IsUsableEarthModel(6367.4357L, 6356.7523L, 6378.137L));
  EXPECT_TRUE(IsUsableEarthModel(1.0L, 1.0L, 1.0L));
  EXPECT_FALSE(IsUsableEarthModel(6367.0L, 6378.2L, 6378.1L)) << "polar above equatorial";
  EXPECT_FALSE(IsUsableEarthModel(0.0L, 6356.0L, 6378.0L));
  EXPECT_FALSE(IsUsableEarthModel(6367.0L, -1.0L, 6378.0L));
  EXPECT_FALSE(IsUsableEarthModel(std::nanl(""), 6356.0L, 6378.0L));
  EXPECT_FALSE(IsUsableEarthModel(6367.0L, 6356.0L, HUGE_VALL));
}

TEST(EarthModel, RadiiOutside1To100000KmOrAFlatteningAbove1In10AreUnusable) {
  EXPECT_TRUE(IsUsableEarthModel(100000.0L, 100000.0L, 100000.0L));
  EXPECT_FALSE(IsUsableEarthModel(0.999999L, 6356.0L, 6378.0L));
  EXPECT_FALSE(IsUsableEarthModel(6367.0L, 1e-6L, 6378.137L)) << "flattening near 1";
  EXPECT_FALSE(IsUsableEarthModel(100000.01L, 6356.0L, 6378.0L));
  EXPECT_FALSE(IsUsableEarthModel(6367.0L, 6356.0L, 1e4000L));
  // f = 1/10 exactly is the last usable flattening.
  EXPECT_TRUE(IsUsableEarthModel(6367.0L, 9.0L, 10.0L));
  EXPECT_FALSE(IsUsableEarthModel(6367.0L, 8.999999L, 10.0L));
  EXPECT_TRUE(IsUsableEarthModel(60268.0L, 54364.0L, 60268.0L)) << "Saturn, f = 1/10.2";
}

TEST(EarthModel, GeodeticToGeocentricFigures) {
  struct Case {
    long double geodetic, geocentric;
  };
  for (const Case c : {Case{45, 44.8075767L}, Case{30, 29.8336357L}, Case{60, 59.8330760L}}) {
    const EarthShape e;
    const long double psi = GeodToGeoc(e, Deg(c.geodetic));
    EXPECT_TRUE(Near(c.geocentric, ToDeg(psi), 5e-8L)) << c.geodetic;
    EXPECT_TRUE(Near(-c.geocentric, ToDeg(GeodToGeoc(e, Deg(-c.geodetic))), 5e-8L));
    EXPECT_TRUE(Near(Deg(c.geodetic), GeocToGeod(e, psi), 1e-18L)) << "round trip of " << c.geodetic;
  }
}

TEST(EarthModel, ConversionKeepsZeroAndThePolesExactly) {
  const EarthShape e;
  EXPECT_EQ(GeodToGeoc(e, 0.0L), 0.0L);
  EXPECT_EQ(GeodToGeoc(e, HalfPi), HalfPi);
  EXPECT_EQ(GeodToGeoc(e, -HalfPi), -HalfPi);
  EXPECT_EQ(GeocToGeod(e, HalfPi), HalfPi);
}

TEST(EarthModel, ZeroLatitudeKeepsItsSign) {
  // A fix typed at 0 S keeps its south zero through both conversions and a
  // rebuild of the position.
  EXPECT_TRUE(std::signbit(GeodToGeoc(EarthShape(), -0.0L)));
  EXPECT_TRUE(std::signbit(GeocToGeod(EarthShape(), -0.0L)));
  Vector3 p = PosFromLatLon(Elliptic(), -0.0L, Deg(20));
  EXPECT_TRUE(std::signbit(p.z));
  RebuildPos(Spherical(), p);
  EXPECT_TRUE(std::signbit(p.z));
  EXPECT_TRUE(std::signbit(PosLat(Spherical(), p)));
}

TEST(EarthModel, QuarterPiTakesTheComplementBranch) {
  // With the default ellipsoid both branches round to the same value at pi/4;
  // flatter models tell them apart.
  int told = 0;
  for (long double b : {6356.7523L, 6000.0L, 5000.0L, 4321.0L, 3000.0L, 1234.5L}) {
    const EarthShape e(6367.4357L, b, 6378.137L);
    const long double k = e.oneMinusEcc2;
    const long double complement = HalfPi - std::atan2(std::tan(HalfPi - QuarterPi) / k, 1.0L);
    const long double direct = std::atan2(std::tan(QuarterPi) * k, 1.0L);
    EXPECT_EQ(GeodToGeoc(e, QuarterPi), complement) << b;
    EXPECT_EQ(GeodToGeoc(e, -QuarterPi), -complement) << b;
    if (complement != direct) ++told;
  }
  EXPECT_GT(told, 0) << "no model separated the branches; the test proves nothing";
}

TEST(EarthModel, PositionsRoundTripInBothLatitudeModes) {
  for (bool elliptic : {true, false}) {
    const EarthModel model = elliptic ? Elliptic() : Spherical();
    for (long double lat = -89.5L; lat <= 89.5L; lat += 9.95L) {
      for (long double lon : {-180.0L, -179.999L, -91.0L, -0.001L, 0.0L, 33.3L, 179.999L, 180.0L}) {
        const Vector3 p = PosFromLatLon(model, Deg(lat), Deg(lon));
        // Near the poles the latitude from z is ill-conditioned: a few dozen ulps.
        EXPECT_TRUE(Near(Deg(lat), PosLat(model, p), 1e-17L)) << elliptic << " " << lat;
        EXPECT_TRUE(Near(Deg(lon), PosLon(p), 2e-18L)) << elliptic << " " << lon;
      }
    }
  }
}

// The one-arctangent latitude is the shown latitude within its bound, on a
// sphere exactly, with the sign of z (a zero's included) and the poles and
// the equator exact.
TEST(EarthModel, DirectLatitudeIsTheShownOne) {
  for (bool elliptic : {true, false}) {
    const EarthModel model = elliptic ? Elliptic() : Spherical();
    for (long double lat = -90.0L; lat <= 90.0L; lat += 0.7L) {
      const Vector3 p = PosFromLatLon(model, Deg(lat), Deg(12.5L));
      const long double shown = PosLat(model, p);
      if (elliptic) {
        EXPECT_TRUE(Near(shown, PosLatDirect(model, p), DirectLatBound(model.shape))) << lat;
      } else {
        EXPECT_EQ(PosLatDirect(model, p), shown) << lat;
      }
    }
    EXPECT_EQ(PosLatDirect(model, NorthPoleVec), HalfPi);
    EXPECT_EQ(PosLatDirect(model, SouthPoleVec), -HalfPi);
    EXPECT_TRUE(std::signbit(PosLatDirect(model, Vector3{1.0L, 0.0L, -0.0L})));
    EXPECT_FALSE(std::signbit(PosLatDirect(model, Vector3{1.0L, 0.0L, 0.0L})));
  }
  // A flatter Earth magnifies the conversion's roundings; the bound grows with it.
  EarthModel flat;
  flat.shape = EarthShape(DefaultSpherRadius, 600.0L, DefaultEquatRadius);
  EXPECT_GT(DirectLatBound(flat.shape), 100.0L * DirectLatBound(Elliptic().shape));
}

TEST(EarthModel, RebuildKeepsTheShownCoordinates) {
  const long double lats[] = {-90, -45, -0.3L, 0, 12.5L, 45, 89.9L, 90};
  for (bool from : {true, false}) {
    for (long double lat : lats) {
      const EarthModel before = from ? Elliptic() : Spherical();
      const EarthModel after = from ? Spherical() : Elliptic();
      Vector3 p = PosFromLatLon(before, Deg(lat), Deg(-123.4L));
      const long double shownLat = PosLat(before, p), shownLon = PosLon(p);
      RebuildPos(after, p);
      EXPECT_TRUE(Near(shownLat, PosLat(after, p), 1e-17L)) << lat;
      EXPECT_TRUE(Near(shownLon, PosLon(p), 1e-15L)) << lat;
    }
  }
}

TEST(EarthModel, RebuildMovesThePhysicalPosition) {
  Vector3 p = Fix(45, 0);
  EXPECT_TRUE(Near(44.8075767L, ToDeg(TriLat(p)), 5e-8L)) << "geocentric direction of geodetic 45";
  RebuildPos(Spherical(), p);
  EXPECT_TRUE(Near(Deg(45), TriLat(p), 1e-18L)) << "on the sphere the vector itself is at 45";
}

TEST(EarthModel, FixAtThePoleKeepsTheTypedLongitude) {
  for (bool elliptic : {true, false}) {
    const EarthModel model = elliptic ? Elliptic() : Spherical();
    const Vector3 north = PosFromLatLon(model, HalfPi, Deg(37));
    EXPECT_NE(north.x, 0.0L);
    EXPECT_TRUE(Near(Deg(37), PosLon(north), 1e-15L));
    EXPECT_EQ(PosLat(model, north), HalfPi);
    EXPECT_TRUE(Near(Deg(-150), PosLon(PosFromLatLon(model, -HalfPi, Deg(-150))), 1e-15L));
  }
  EXPECT_EQ(PosLon(NorthPoleVec), 0.0L);
}

TEST(EarthModel, PoleTestAtTheTolerance) {
  EXPECT_TRUE(IsPole(NorthPoleVec));
  EXPECT_TRUE(IsPole(SouthPoleVec));
  EXPECT_FALSE(IsPole(TriFromAngles(HalfPi - 1e-7L, 0.0L)));
  EXPECT_FALSE(IsPole(TriFromAngles(-HalfPi + 1e-7L, 2.0L)));
  EXPECT_TRUE(IsPole(TriFromAngles(HalfPi - 1e-9L, 0.0L)));
}

TEST(EarthModel, EllipsoidRadiusFromEquatorToPole) {
  EXPECT_TRUE(Near(DefaultEquatRadius, EllipsoidRadius(EarthShape(), {1, 0, 0}), 1e-12L));
  EXPECT_TRUE(Near(DefaultEquatRadius, EllipsoidRadius(EarthShape(), TriFromAngles(0, 1.234L)), 1e-12L));
  EXPECT_TRUE(Near(DefaultPolarRadius, EllipsoidRadius(EarthShape(), NorthPoleVec), 1e-12L));
  EXPECT_TRUE(Near(DefaultPolarRadius, EllipsoidRadius(EarthShape(), SouthPoleVec), 1e-12L));
}

}  // namespace
}  // namespace navorix::testing
