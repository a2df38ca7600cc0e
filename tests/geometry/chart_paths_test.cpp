#include "geometry/chart_paths.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>

#include <cmath>
#include <string>

#include "geometry/great_circle.h"
#include "tests/geometry/geometry_test_support.h"

namespace navorix::testing {
namespace {

Vector3 At(long double latDeg, long double lonDeg) { return TriFromAngles(Deg(latDeg), Deg(lonDeg)); }

// The largest angle between neighbours of path i.
long double LongestPiece(const SpherePaths& paths, std::size_t i) {
  long double longest = 0.0L;
  const auto path = paths[i];
  for (std::size_t j = 1; j < path.size(); ++j)
    longest = std::fmax(longest, VectorAngle(path[j - 1], path[j]));
  if (paths.Shape(i) == PathShape::Closed)
    longest = std::fmax(longest, VectorAngle(path.back(), path.front()));
  return longest;
}

TEST(ChartPaths, ArcsFromEndToEndOnTheirCircle) {
  struct Case {
    Vector3 a, b;
    long double step;
  };
  const Case cases[] = {
      {At(0, 0), At(0, 10), MaxPathStep},
      {At(51.5L, -0.1L), At(40.7L, -74), MaxPathStep},
      {At(-33.9L, 151.2L), At(37.6L, -122.4L), Deg(0.25L)},
      {At(89.9L, 0), At(-89.9L, 1), MaxPathStep},     // nearly half a turn
      {At(10, 10), At(10, 10.000001L), MaxPathStep},  // 11 cm
      {At(0, 0), At(0, 90), 1.0L},                    // the step held at a degree
  };
  for (const Case& c : cases) {
    SpherePaths paths;
    AddArcPath(c.a, c.b, c.step, paths);
    ASSERT_EQ(paths.Count(), 1u);
    EXPECT_EQ(paths.Shape(0), PathShape::Open);
    EXPECT_TRUE(NearVec(c.a, paths[0].front(), 1e-18L));
    EXPECT_TRUE(NearVec(c.b, paths[0].back(), 1e-16L));
    const Vector3 pole = UnitNormal(c.a, c.b);
    // The normal of a short arc is only known to the rounding of the
    // positions divided by its length.
    const long double offCircle = 1e-17L + 1e-21L / VectorAngle(c.a, c.b);
    for (const Vector3& p : paths[0]) EXPECT_TRUE(Near(0.0L, TriDot(p, pole), offCircle));
    EXPECT_LE(LongestPiece(paths, 0), std::fmin(c.step, MaxPathStep) * (1 + 1e-12L));
  }
  // Same or opposite ends: no arc to draw.
  SpherePaths paths;
  AddArcPath(At(10, 10), At(10, 10), MaxPathStep, paths);
  AddArcPath(At(10, 10), At(-10, -170), MaxPathStep, paths);
  EXPECT_EQ(paths.Count(), 0u);
  EXPECT_EQ(paths.PointCount(), 0u);
}

TEST(ChartPaths, TheExtensionCompletesTheCircle) {
  const Arc arc = MakeArc(At(10, 20), At(30, 60));
  SpherePaths paths;
  AddArcExtensionPath(arc, MaxPathStep, paths);
  ASSERT_EQ(paths.Count(), 1u);
  EXPECT_TRUE(NearVec(arc.endPos, paths[0].front(), 1e-17L));
  EXPECT_TRUE(NearVec(arc.startPos, paths[0].back(), 1e-17L));
  // It never passes over the arc itself.
  for (const Vector3& p : paths[0]) {
    EXPECT_TRUE(Near(0.0L, TriDot(p, arc.pole), 1e-17L));
    EXPECT_GE(VectorAngle(p, arc.midPos), arc.arcLen / 2 - 1e-15L);
  }
}

TEST(ChartPaths, SmallCircles) {
  struct Case {
    Vector3 centre;
    long double radius;
  };
  const Case cases[] = {{At(0, 0), Deg(10)},      {NorthPoleVec, Deg(30)}, {At(-89.99L, 5), Deg(1)},
                        {At(45, -100), Deg(120)}, {At(20, 20), Deg(90)},   {At(20, 20), 1e-7L}};
  for (const Case& c : cases) {
    SpherePaths paths;
    AddSmallCirclePath(c.centre, c.radius, MaxPathStep, paths);
    ASSERT_EQ(paths.Count(), 1u);
    EXPECT_EQ(paths.Shape(0), PathShape::Closed);
    EXPECT_GE(paths[0].size(), 32u);
    for (const Vector3& p : paths[0]) EXPECT_TRUE(Near(c.radius, VectorAngle(c.centre, p), 1e-15L));
    EXPECT_LE(LongestPiece(paths, 0), MaxPathStep * (1 + 1e-12L));
  }
  SpherePaths paths;
  AddSmallCirclePath(At(1, 1), 0.0L, MaxPathStep, paths);
  AddSmallCirclePath(At(1, 1), Pi, MaxPathStep, paths);
  AddSmallCirclePath(At(1, 1), NAN, MaxPathStep, paths);
  EXPECT_EQ(paths.Count(), 0u);
}

TEST(ChartPaths, PathsHaveABoundedNumberOfPoints) {
  SpherePaths paths;
  AddCirclePath(At(0, 0), NorthPoleVec, 0, 1e30L, 0.0L, paths);  // a zero step, a huge span
  AddCirclePath(At(0, 0), NorthPoleVec, 0, 3.0L, 1e-30L, paths);
  AddCirclePath(At(0, 0), NorthPoleVec, 0, INFINITY, MaxPathStep, paths);
  ASSERT_EQ(paths.Count(), 2u);
  EXPECT_EQ(paths.Shape(0), PathShape::Closed);
  EXPECT_LE(paths[0].size(), MaxPathPoints);
  EXPECT_LE(paths[1].size(), MaxPathPoints);
}

// The geodesic as GeographicLib gives it: from end to end, along the
// meridian or the equator where the geodesic is one.
TEST(ChartPaths, Geodesics) {
  const EarthShape shape;
  const GeographicLib::Geodesic geodesic(static_cast<double>(shape.equatRadius),
                                         static_cast<double>(shape.flattening));
  struct Case {
    long double lat1, lon1, lat2, lon2;
    std::string along;  // "meridian", "equator" or ""
  };
  const Case cases[] = {{10, 20, 70, 20, "meridian"},
                        {0, -30, 0, 60, "equator"},
                        {51.5L, -0.1L, 35.7L, 139.7L, ""},
                        {-33.9L, 18.4L, 33.9L, -161.6L, ""}};  // nearly antipodal
  for (const Case& c : cases) {
    SpherePaths paths;
    AddGeodesicPath(shape, Deg(c.lat1), Deg(c.lon1), Deg(c.lat2), Deg(c.lon2), MaxPathStep, paths);
    ASSERT_EQ(paths.Count(), 1u);
    EXPECT_TRUE(NearVec(At(c.lat1, c.lon1), paths[0].front(), 1e-15L));
    EXPECT_TRUE(NearVec(At(c.lat2, c.lon2), paths[0].back(), 1e-13L));
    for (const Vector3& p : paths[0]) {
      if (c.along == "meridian") {
        EXPECT_TRUE(Near(c.lon1, ToDeg(TriLon(p)), 1e-9L));
      } else if (c.along == "equator") {
        EXPECT_TRUE(Near(0.0L, p.z, 1e-15L));
      }
    }
    // Its middle point is GeographicLib's point at half the length.
    double s12 = 0, midLat = 0, midLon = 0;
    geodesic.Inverse(static_cast<double>(c.lat1), static_cast<double>(c.lon1), static_cast<double>(c.lat2),
                     static_cast<double>(c.lon2), s12);
    const std::size_t n = paths[0].size() - 1;
    if (n % 2 == 0) {
      geodesic
          .InverseLine(static_cast<double>(c.lat1), static_cast<double>(c.lon1), static_cast<double>(c.lat2),
                       static_cast<double>(c.lon2))
          .Position(s12 / 2, midLat, midLon);
      EXPECT_TRUE(NearVec(At(midLat, midLon), paths[0][n / 2], 1e-12L));
    }
    EXPECT_LE(LongestPiece(paths, 0), MaxPathStep * 1.01L);
  }
}

TEST(ChartPaths, GraticuleSpacingFollowsTheZoom) {
  struct Case {
    long double pixelsPerDegree;
    long double spacingDeg;
  };
  const Case cases[] = {{0.5L, 30},   {2.0L, 30},      {4.0L, 15},        {6.0L, 10},
                        {12.0L, 5},   {30.0L, 2},      {60.0L, 1},        {120, 0.5L},
                        {240, 0.25L}, {360, 1.0L / 6}, {3600, 1.0L / 60}, {1e6L, 1.0L / 60}};
  for (const Case& c : cases)
    EXPECT_TRUE(Near(Deg(c.spacingDeg), GraticuleSpacing(Deg(1) / c.pixelsPerDegree), 1e-18L))
        << c.pixelsPerDegree;
}

TEST(ChartPaths, GraticuleLines) {
  struct Case {
    std::string name;
    LatLonBox box;
    long double spacingDeg;
    std::size_t parallels, meridians, toThePoles;
  };
  const LatLonBox world;
  const Case cases[] = {
      // -60 .. 60 every 30; 12 meridians, all to the poles.
      {"30 degrees", world, 30, 5, 12, 12},
      // -75 .. 75 every 15; of 24 meridians the 12 at multiples of 30 reach
      // the poles, the others stop at 60.
      {"15 degrees", world, 15, 11, 24, 12},
      {"a box across the seam", {Deg(10), Deg(20), Deg(170), Deg(20)}, 5, 3, 5, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpherePaths paths;
    AddGraticule(c.box, Deg(c.spacingDeg), MaxPathStep, paths);
    std::size_t parallels = 0, meridians = 0, toThePoles = 0;
    for (std::size_t i = 0; i < paths.Count(); ++i) {
      const Vector3 first = paths[i].front();
      const Vector3 last = paths[i].back();
      if (std::fabs(first.z - last.z) < 1e-15L) {  // a parallel: one latitude
        ++parallels;
        for (const Vector3& p : paths[i]) EXPECT_TRUE(Near(first.z, p.z, 1e-15L));
        const long double k = ToDeg(TriLat(first)) / c.spacingDeg;
        EXPECT_TRUE(Near(std::round(k), k, 1e-9L));
      } else {
        ++meridians;
        const long double k = ToDeg(TriLon(first)) / c.spacingDeg;
        EXPECT_TRUE(Near(std::round(k), k, 1e-9L));
        if (last.z > 0.999999L || first.z < -0.999999L) ++toThePoles;
      }
      for (const Vector3& p : paths[i]) {
        EXPECT_GE(TriLat(p), c.box.latMin - 1e-15L);
        EXPECT_LE(TriLat(p), c.box.latMax + 1e-15L);
      }
    }
    EXPECT_EQ(parallels, c.parallels);
    EXPECT_EQ(meridians, c.meridians);
    EXPECT_EQ(toThePoles, c.toThePoles);
  }
  // A spacing finer than the line limit allows is coarsened.
  SpherePaths paths;
  AddGraticule(world, Deg(1.0L / 60), MaxPathStep, paths);
  EXPECT_LE(paths.Count(), 2u * MaxGraticuleLines);
  EXPECT_GT(paths.Count(), 100u);
}

TEST(ChartPaths, ChartToSphereMovesOnlyTheLaterPaths) {
  const EarthModel elliptic = Elliptic();
  SpherePaths paths;
  AddArcPath(At(40, 0), At(50, 10), MaxPathStep, paths);
  AddArcPath(At(40, 0), At(50, 10), MaxPathStep, paths);
  ChartToSphere(elliptic, 1, paths);
  EXPECT_EQ(paths[0].front(), At(40, 0));
  EXPECT_TRUE(NearVec(ChartDirection(elliptic, At(40, 0)), paths[1].front(), 0.0L));
  EXPECT_GT(TriLat(paths[1].front()), TriLat(paths[0].front()));
}

}  // namespace
}  // namespace navorix::testing
