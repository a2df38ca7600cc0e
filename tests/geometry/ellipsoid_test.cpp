#include "geometry/ellipsoid.h"

#include <GeographicLib/Geodesic.hpp>

#include <cmath>
#include <random>

#include "geometry/great_circle.h"
#include "tests/geometry/geometry_test_support.h"

namespace navorix::testing {
namespace {

// The default model, elliptic latitude on.
const EarthShape Shape;

long double Km(long double angle) { return angle * Shape.spherRadius; }
long double EllipticArcDist(const Vector3& A, const Vector3& B) {
  return navorix::EllipticArcDist(Shape, A, B);
}
long double GeodesicDist(const Vector3& A, const Vector3& B) { return navorix::GeodesicDist(Shape, A, B); }
long double GeodesicAzimuth(const Vector3& A, const Vector3& B) {
  return navorix::GeodesicAzimuth(Shape, A, B);
}
GeodesicSolution GeodesicInverse(const Vector3& A, const Vector3& B) {
  return navorix::GeodesicInverse(Shape, A, B);
}

// Rounded to the metre, as the figures are printed.
long double Metres(long double km) { return std::round(km * 1000.0L) / 1000.0L; }

TEST(Ellipsoid, AlongTheEquatorBothAreTheEquatorialArc) {
  EXPECT_EQ(Metres(Km(EllipticArcDist(Fix(0, 0), Fix(0, 90)))), 10018.754L);
  EXPECT_EQ(Metres(Km(GeodesicDist(Fix(0, 0), Fix(0, 90)))), 10018.754L);
  EXPECT_EQ(Metres(Km(CentralAngle(Fix(0, 0), Fix(0, 90)))), 10001.945L);
  EXPECT_EQ(Metres(Km(EllipticArcDist(Fix(0, 0), Fix(0, 1)))), 111.319L);
  EXPECT_EQ(Metres(Km(GeodesicDist(Fix(0, 0), Fix(0, 1)))), 111.319L);
}

TEST(Ellipsoid, AlongAMeridianBothAgree) {
  EXPECT_EQ(Metres(Km(EllipticArcDist(Fix(0, 0), Fix(45, 0)))), 4984.944L);
  EXPECT_EQ(Metres(Km(GeodesicDist(Fix(0, 0), Fix(45, 0)))), 4984.944L);
  EXPECT_EQ(Metres(Km(EllipticArcDist(Fix(0, 0), Fix(90, 0)))), 10001.966L);
  EXPECT_EQ(Metres(Km(GeodesicDist(Fix(0, 0), Fix(90, 0)))), 10001.966L);
}

TEST(Ellipsoid, ObliqueLines) {
  const Vector3 a = Fix(50, 10), b = Fix(40, 30);
  const long double e = Km(EllipticArcDist(a, b)), g = Km(GeodesicDist(a, b));
  EXPECT_EQ(Metres(e), 1919.314L);
  EXPECT_EQ(Metres(g), 1919.314L);
  EXPECT_GT(std::fabs(e - g), 0.01e-3L) << "the two differ by centimetres, not by nothing";
  EXPECT_LT(std::fabs(e - g), 0.2e-3L);
  EXPECT_EQ(std::round(ToDeg(GeodesicAzimuth(a, b)) * 1e4L) / 1e4L, 117.7306L);

  EXPECT_EQ(Metres(Km(EllipticArcDist(Fix(10, -20), Fix(-30, 100)))), 13449.499L);
  EXPECT_EQ(Metres(Km(GeodesicDist(Fix(10, -20), Fix(-30, 100)))), 13449.485L);
}

TEST(Ellipsoid, DirectionDoesNotChangeTheLength) {
  const Vector3 a = Fix(-33.9L, 18.4L), b = Fix(51.5L, -0.1L);
  EXPECT_TRUE(Near(EllipticArcDist(a, b), EllipticArcDist(b, a), 1e-15L));
  EXPECT_TRUE(Near(GeodesicDist(a, b), GeodesicDist(b, a), 1e-15L));
  EXPECT_TRUE(Near(GeodesicDist(a, b), GeodesicInverse(a, b).distance, 0));
}

TEST(Ellipsoid, GeodesicAcrossTheAntimeridian) {
  // The longitude difference is taken unreduced: -358 degrees works as +2.
  const long double across = GeodesicDist(Fix(10, 179), Fix(10, -179));
  const long double direct = GeodesicDist(Fix(10, -1), Fix(10, 1));
  EXPECT_TRUE(Near(direct, across, 1e-16L));
  EXPECT_GT(GeodesicAzimuth(Fix(10, 179), Fix(10, -179)), 0.0L) << "heading East across 180";
}

TEST(Ellipsoid, DegenerateFixes) {
  EXPECT_EQ(ErrorText([&] { EllipticArcDist(Fix(20, 30), Fix(20, 30)); }), "Same or opposing fixes");
  EXPECT_EQ(ErrorText([&] { EllipticArcDist(Fix(20, 30), Fix(-20, -150)); }), "Same or opposing fixes");
  // Coincident fixes must raise, not hand out NaN.
  EXPECT_EQ(ErrorText([&] { GeodesicInverse(Fix(20, 30), Fix(20, 30)); }), "Same or opposing fixes");
  EXPECT_EQ(ErrorText([&] { GeodesicAzimuth(NorthPoleVec, NorthPoleVec); }), "Same or opposing fixes");
  // From pole to pole: sin sigma is 0 at the first step.
  EXPECT_EQ(ErrorText([&] { GeodesicDist(NorthPoleVec, SouthPoleVec); }), "Same or opposing fixes");
}

// GeographicLib's geodesic between fixes typed in degrees, with the model's
// a and f: distance in km and azimuth in degrees.
struct Reference {
  long double km, azimuthDeg;
};
Reference GeographicLibInverse(long double lat1, long double lon1, long double lat2, long double lon2) {
  const GeographicLib::Geodesic g(static_cast<double>(Shape.equatRadius * 1000.0L),
                                  static_cast<double>(Shape.flattening));
  double s12 = 0.0, azi1 = 0.0, azi2 = 0.0;
  g.Inverse(static_cast<double>(lat1), static_cast<double>(lon1), static_cast<double>(lat2),
            static_cast<double>(lon2), s12, azi1, azi2);
  return {static_cast<long double>(s12) / 1000.0L, static_cast<long double>(azi1)};
}

TEST(Ellipsoid, TheGeodesicNeverFailsNearTheAntipode) {
  // Within a degree of each other's antipode Vincenty's iteration fails for
  // many pairs, and for most in the tighter set; the geodesic must come out
  // for every pair all the same, within 0.1 mm of GeographicLib's, both
  // from GeodesicInverse and from GeodesicDist. Where it is Vincenty's its
  // azimuth differs from Karney's by up to 4e-9 rad.
  struct Set {
    long double latSpread, lonSpread;  // degrees off the antipode, at most
  };
  std::mt19937_64 random(20);
  std::uniform_real_distribution<long double> unit(-1.0L, 1.0L);
  long double worstKm = 0.0L, worstAzimuth = 0.0L;
  for (const Set set : {Set{0.7L, 1.0L}, Set{0.2L, 0.3L}}) {
    for (int i = 0; i < 500; ++i) {
      const long double lat1 = ToDeg(std::asin(unit(random))), lon1 = 180.0L * unit(random);
      const long double lat2 = std::fmax(-90.0L, std::fmin(90.0L, -lat1 + set.latSpread * unit(random)));
      const long double lon2 = lon1 + 180.0L + set.lonSpread * unit(random);
      const Vector3 A = Fix(lat1, lon1), B = Fix(lat2, lon2);
      GeodesicSolution g;
      ASSERT_EQ(ErrorText([&] { g = GeodesicInverse(A, B); }), "")
          << lat1 << " " << lon1 << " " << lat2 << " " << lon2;
      EXPECT_EQ(GeodesicDist(A, B), g.distance);
      const Reference r = GeographicLibInverse(lat1, lon1, lat2, lon2);
      const long double km = std::fabs(Km(g.distance) - r.km);
      const long double azimuth = std::fabs(std::remainder(ToDeg(g.azimuth) - r.azimuthDeg, 360.0L));
      EXPECT_LE(km, 1e-7L) << lat1 << " " << lon1 << " " << lat2 << " " << lon2;
      EXPECT_LE(azimuth, ToDeg(1e-8L)) << lat1 << " " << lon1 << " " << lat2 << " " << lon2;
      worstKm = std::fmax(worstKm, km);
      worstAzimuth = std::fmax(worstAzimuth, azimuth);
    }
  }
  RecordProperty("worst_mm", std::to_string(static_cast<double>(worstKm * 1e6L)));
  RecordProperty("worst_azimuth_nanorad", std::to_string(static_cast<double>(Deg(worstAzimuth) * 1e9L)));
}

TEST(Ellipsoid, ExactlyAntipodalFixesTakeHalfAMeridian) {
  // The shortest way to the antipode of a point of an oblate ellipsoid runs
  // over a pole: half the meridian, 20003.931 km, also from the equator.
  // The iteration never settles there, but the elliptic arc and the sphere
  // refuse such pairs anyway.
  struct Pair {
    long double lat1, lon1, lat2, lon2;
  };
  for (const Pair p : {Pair{0, 0, 0, 180}, Pair{30, 0, -30, 180}, Pair{-61.5L, 20, 61.5L, -160}}) {
    const Vector3 A = Fix(p.lat1, p.lon1), B = Fix(p.lat2, p.lon2);
    EXPECT_EQ(Metres(Km(GeodesicDist(A, B))), 20003.931L) << p.lat1 << " " << p.lon1;
    EXPECT_TRUE(Near(Km(GeodesicDist(A, B)), GeographicLibInverse(p.lat1, p.lon1, p.lat2, p.lon2).km, 1e-9L));
  }
}

TEST(Ellipsoid, ShortArcs) {
  const Vector3 a = TriFromAngles(0.5L, 0.5L);
  // Within the same-position tolerance there is no arc at all.
  EXPECT_EQ(ErrorText([&] { EllipticArcDist(a, TriFromAngles(0.5L + 5e-9L, 0.5L)); }),
            "Same or opposing fixes");
  // Just beyond it the elliptic arc is the meridian arc: about 6.36 m per 1e-6 rad.
  const long double d = Km(EllipticArcDist(a, TriFromAngles(0.5L + 1e-6L, 0.5L)));
  EXPECT_GT(d, 6.3e-3L);
  EXPECT_LT(d, 6.4e-3L);
  EXPECT_TRUE(Near(d, Km(GeodesicDist(a, TriFromAngles(0.5L + 1e-6L, 0.5L))), 1e-9L));
}

TEST(Ellipsoid, ReducedLatitude) {
  const ReducedLatitude eq = ReducedLat(Shape, Fix(0, 40));
  EXPECT_EQ(eq.sinBeta, 0.0L);
  EXPECT_EQ(eq.cosBeta, 1.0L);
  const ReducedLatitude pole = ReducedLat(Shape, NorthPoleVec);
  EXPECT_EQ(pole.sinBeta, 1.0L);
  // tan beta = (a/b) tan psi lies between the geocentric and geodetic values.
  const Vector3 p = Fix(45, 0);
  const long double beta = std::atan2(ReducedLat(Shape, p).sinBeta, ReducedLat(Shape, p).cosBeta);
  EXPECT_GT(beta, TriLat(p));
  EXPECT_LT(beta, Deg(45));
}

}  // namespace
}  // namespace navorix::testing
