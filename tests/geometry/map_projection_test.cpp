#include "geometry/map_projection.h"

#include <GeographicLib/Rhumb.hpp>

#include <cmath>
#include <string>
#include <vector>

#include "geometry/chart_paths.h"
#include "geometry/great_circle.h"
#include "tests/geometry/geometry_test_support.h"

namespace navorix::testing {
namespace {

constexpr long double Width = 800.0L;
constexpr long double Height = 600.0L;

Vector3 At(long double latDeg, long double lonDeg) { return TriFromAngles(Deg(latDeg), Deg(lonDeg)); }

ChartView Globe(long double latDeg, long double lonDeg, long double rotDeg = 0.0L, long double zoom = 1.0L) {
  return {ProjectionKind::Globe, Deg(latDeg), Deg(lonDeg), Deg(rotDeg), zoom};
}
ChartView Mercator(long double latDeg, long double lonDeg, long double zoom = 1.0L) {
  return {ProjectionKind::Mercator, Deg(latDeg), Deg(lonDeg), 0.0L, zoom};
}

long double PixelDistance(const PixelPoint& a, const PixelPoint& b) {
  return std::hypot(a.u - b.u, a.v - b.v);
}

struct NamedView {
  std::string name;
  ChartView view;
};

const std::vector<NamedView>& Views() {
  static const std::vector<NamedView> views = {
      {"globe at 0N 0E", Globe(0, 0)},
      {"globe at 45N 120W turned 30 degrees", Globe(45, -120, 30)},
      {"globe at the North Pole", Globe(90, 0)},
      {"globe at 33S 151E zoomed 7 times", Globe(-33, 151, -80, 7)},
      {"Mercator at 0N 0E", Mercator(0, 0)},
      {"Mercator at 60N 170E zoomed 3 times", Mercator(60, 170, 3)},
      {"Mercator at 20S 179.5W", Mercator(-20, -179.5L)},
  };
  return views;
}

// Forward then Inverse gives the position back wherever the projection
// shows it, and Inverse then Forward the pixel.
TEST(MapProjection, RoundTrips) {
  for (const NamedView& named : Views()) {
    SCOPED_TRACE(named.name);
    const MapProjection projection(named.view, Width, Height);
    int shown = 0;
    for (long double lat = -89.5L; lat < 90.0L; lat += 7.25L) {
      for (long double lon = -179.75L; lon < 180.0L; lon += 11.5L) {
        const Vector3 p = At(lat, lon);
        PixelPoint pixel;
        if (!projection.Forward(p, pixel)) continue;
        ++shown;
        Vector3 back;
        ASSERT_TRUE(projection.Inverse(pixel, back)) << lat << " " << lon;
        EXPECT_TRUE(NearVec(p, back, 1e-15L)) << lat << " " << lon;
      }
    }
    EXPECT_GT(shown, 100);
    for (long double u = 0.0L; u <= Width; u += 37.0L) {
      for (long double v = 0.0L; v <= Height; v += 29.0L) {
        Vector3 p;
        if (!projection.Inverse({u, v}, p)) continue;
        PixelPoint pixel;
        EXPECT_TRUE(projection.Forward(p, pixel));
        EXPECT_LT(PixelDistance(pixel, {u, v}), 1e-9L) << u << " " << v;
      }
    }
  }
}

// The centre of the view is drawn at the centre of the picture, whatever
// the picture's size, rotation and zoom.
TEST(MapProjection, CentreOfTheViewAtTheCentreOfThePicture) {
  struct Case {
    ChartView view;
    long double width, height;
  };
  const Case cases[] = {
      {Globe(0, 0), 800, 600},         {Globe(0, 0, 0, 13), 333, 777}, {Globe(0, 0, 45), 1, 1},
      {Globe(-41, 175, 10), 640, 480}, {Mercator(0, 0), 800, 600},     {Mercator(0, 0, 2.5L), 101, 999},
      {Mercator(-41, 175), 640, 480},
  };
  for (const Case& c : cases) {
    const MapProjection projection(c.view, c.width, c.height);
    PixelPoint pixel;
    ASSERT_TRUE(projection.Forward(TriFromAngles(c.view.centreLat, c.view.centreLon), pixel));
    EXPECT_TRUE(Near(c.width / 2, pixel.u, 1e-12L));
    EXPECT_TRUE(Near(c.height / 2, pixel.v, 1e-12L));
  }
  // 0N 0E exactly, as the figure of the fix there will be drawn.
  const MapProjection globe(Globe(0, 0), Width, Height);
  PixelPoint pixel;
  ASSERT_TRUE(globe.Forward(Vector3{1.0L, 0.0L, 0.0L}, pixel));
  EXPECT_EQ(pixel.u, Width / 2);
  EXPECT_EQ(pixel.v, Height / 2);
}

TEST(MapProjection, KnownPixels) {
  const MapProjection globe(Globe(0, 0), Width, Height);
  const long double s = globe.Scale();
  EXPECT_EQ(s, GlobeFill * Height);
  struct Case {
    const MapProjection& projection;
    Vector3 p;
    long double u, v;
    bool shown;
  };
  const MapProjection turned(Globe(0, 0, 90), Width, Height);
  const MapProjection mercator(Mercator(0, 0), Width, Height);
  const long double m = mercator.Scale();
  const Case cases[] = {
      {globe, Vector3{0, 1, 0}, 400 + s, 300, true},  // the eastern horizon
      {globe, NorthPoleVec, 400, 300 - s, true},      // the top of the disc
      {globe, At(0, 180), 400, 300, false},           // behind the centre
      {turned, NorthPoleVec, 400 - s, 300, true},     // turned counter-clockwise
      {turned, Vector3{0, 1, 0}, 400, 300 - s, true},
      {mercator, At(0, 90), 400 + m * HalfPi, 300, true},
      {mercator, At(45, -45), 400 - m * QuarterPi, 300 - m * std::asinh(1.0L), true},
      {mercator, At(85, 0), 400, 300 - m * MercatorLimitPsi, true},
      {mercator, At(85.001L, 0), 400, 300 - m * MercatorLimitPsi, false},
      {mercator, SouthPoleVec, 400, 300 + m * MercatorLimitPsi, false},
  };
  for (const Case& c : cases) {
    PixelPoint pixel;
    EXPECT_EQ(c.projection.Forward(c.p, pixel), c.shown);
    EXPECT_TRUE(Near(c.u, pixel.u, 1e-9L));
    EXPECT_TRUE(Near(c.v, pixel.v, 1e-9L));
  }
  // Mercator's world is as wide as the picture at zoom 1.
  EXPECT_TRUE(Near(Width, TwoPi * m, 1e-12L));
}

TEST(MapProjection, MercatorLimits) {
  EXPECT_TRUE(Near(std::sin(MercatorLimit), MercatorLimitSin, 1e-18L));
  EXPECT_TRUE(Near(std::asinh(std::tan(MercatorLimit)), MercatorLimitPsi, 1e-17L));
  EXPECT_EQ(MercatorPsi(Deg(86)), MercatorLimitPsi);
  EXPECT_EQ(MercatorPsi(-HalfPi), -MercatorLimitPsi);
  EXPECT_EQ(MercatorPsi(0.0L), 0.0L);
  const MapProjection mercator(Mercator(0, 0), Width, Height);
  Vector3 p;
  // Beyond the world's width, and beyond the limit, nothing is shown.
  EXPECT_FALSE(mercator.Inverse({400 + mercator.Scale() * Pi * 1.001L, 300}, p));
  EXPECT_FALSE(mercator.Inverse({400, 300 - mercator.Scale() * MercatorLimitPsi * 1.001L}, p));
  ASSERT_TRUE(mercator.Inverse({400, 300 - mercator.Scale() * MercatorLimitPsi}, p));
  EXPECT_TRUE(Near(85.0L, ToDeg(TriLat(p)), 1e-12L));
  // A centre beyond the limit is held at it.
  EXPECT_EQ(MapProjection(Mercator(89, 0), Width, Height).View().centreLat, MercatorLimit);
  EXPECT_EQ(MapProjection(Globe(95, 0), Width, Height).View().centreLat, HalfPi);
  EXPECT_EQ(MapProjection(Globe(0, 0, 0, 1e9L), Width, Height).View().zoom, MaxZoom);
  EXPECT_EQ(MapProjection(Globe(0, 0, 0, NAN), Width, Height).View().zoom, 1.0L);
  EXPECT_TRUE(Near(MapProjection(Globe(0, 540), Width, Height).View().centreLon, -Pi, 1e-15L));
}

// The globe: a path that goes behind the horizon ends on it.
TEST(MapProjection, HorizonCut) {
  const MapProjection globe(Globe(0, 0), Width, Height);
  const long double s = globe.Scale();
  auto radius = [&](const PixelPoint& p) { return std::hypot(p.u - 400, p.v - 300); };
  auto cutOf = [&](auto add) {
    SpherePaths paths;
    add(paths);
    PixelPaths out;
    globe.Cut(paths, out);
    return out;
  };
  {
    const PixelPaths out = cutOf([](SpherePaths& p) { AddArcPath(At(10, 60), At(20, 130), MaxPathStep, p); });
    ASSERT_EQ(out.Count(), 1u);
    PixelPoint start;
    globe.Forward(At(10, 60), start);
    EXPECT_LT(PixelDistance(start, out[0].front()), 1e-9L);
    EXPECT_TRUE(Near(s, radius(out[0].back()), 1e-9L)) << "ends on the horizon";
    for (const PixelPoint& p : out[0]) EXPECT_LE(radius(p), s * (1 + 1e-15L));
  }
  {  // Coming back from behind: starts on the horizon.
    const PixelPaths out = cutOf([](SpherePaths& p) { AddArcPath(At(-20, 140), At(0, 30), MaxPathStep, p); });
    ASSERT_EQ(out.Count(), 1u);
    EXPECT_TRUE(Near(s, radius(out[0].front()), 1e-9L));
    PixelPoint end;
    globe.Forward(At(0, 30), end);
    EXPECT_LT(PixelDistance(end, out[0].back()), 1e-9L);
  }
  {  // Wholly behind: nothing.
    const PixelPaths out =
        cutOf([](SpherePaths& p) { AddArcPath(At(10, 100), At(-20, -120), MaxPathStep, p); });
    EXPECT_EQ(out.Count(), 0u);
  }
  {  // A closed circle across the horizon: one line, its two ends on it,
     // joined across the circle's first point.
    const PixelPaths out =
        cutOf([](SpherePaths& p) { AddSmallCirclePath(At(0, 80), Deg(30), MaxPathStep, p); });
    ASSERT_EQ(out.Count(), 1u);
    EXPECT_TRUE(Near(s, radius(out[0].front()), 1e-9L));
    EXPECT_TRUE(Near(s, radius(out[0].back()), 1e-9L));
    for (std::size_t i = 1; i < out[0].size(); ++i)
      EXPECT_LT(PixelDistance(out[0][i - 1], out[0][i]), s * MaxPathStep * 1.001L);
  }
  {  // A whole great circle through the centre: the visible half, once.
    const PixelPaths out =
        cutOf([](SpherePaths& p) { AddCirclePath(At(0, 0), At(45, 90), 0, TwoPi, MaxPathStep, p); });
    ASSERT_EQ(out.Count(), 1u);
    EXPECT_TRUE(Near(s, radius(out[0].front()), 1e-9L));
    EXPECT_TRUE(Near(s, radius(out[0].back()), 1e-9L));
    EXPECT_TRUE(Near(2 * s, PixelDistance(out[0].front(), out[0].back()), 1e-9L)) << "a diameter";
  }
  {  // A closed circle wholly in front stays closed: it ends where it began.
    const PixelPaths out =
        cutOf([](SpherePaths& p) { AddSmallCirclePath(At(10, 10), Deg(20), MaxPathStep, p); });
    ASSERT_EQ(out.Count(), 1u);
    EXPECT_LT(PixelDistance(out[0].front(), out[0].back()), 1e-9L);
  }
}

// Mercator: a path across the seam ends on one edge of the world and goes on
// from the other at the same height.
TEST(MapProjection, AntimeridianSplit) {
  struct Case {
    std::string name;
    ChartView view;
    Vector3 a, b;
  };
  const Case cases[] = {
      {"seam at 180", Mercator(0, 0), At(10, 170), At(20, -170)},
      {"seam at 180, westward", Mercator(0, 0), At(-30, -175), At(-35, 172)},
      {"seam at 80W", Mercator(0, 100), At(40, -85), At(45, -70)},
      {"seam at 0", Mercator(30, 180), At(51, -3), At(48, 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MapProjection mercator(c.view, Width, Height);
    const long double edge = mercator.Scale() * Pi;
    SpherePaths paths;
    AddArcPath(c.a, c.b, MaxPathStep, paths);
    PixelPaths out;
    mercator.Cut(paths, out);
    ASSERT_EQ(out.Count(), 2u);
    const PixelPoint end = out[0].back();
    const PixelPoint start = out[1].front();
    EXPECT_TRUE(Near(edge, std::fabs(end.u - 400), 1e-9L));
    EXPECT_TRUE(Near(-(end.u - 400), start.u - 400, 1e-9L)) << "the other edge";
    EXPECT_TRUE(Near(end.v, start.v, 1e-12L));
    for (std::size_t line = 0; line < 2; ++line)
      for (std::size_t i = 1; i < out[line].size(); ++i)
        EXPECT_LT(std::fabs(out[line][i].u - out[line][i - 1].u), mercator.Scale() * Deg(2));
  }
}

// Whole great circles in many directions: no piece of any polyline jumps.
TEST(MapProjection, NeverAPieceAcrossThePicture) {
  for (const NamedView& named : Views()) {
    SCOPED_TRACE(named.name);
    const MapProjection projection(named.view, Width, Height);
    SpherePaths paths;
    for (long double lat = -80; lat <= 80; lat += 20)
      for (long double az = 0; az < 180; az += 25) {
        const Vector3 a = At(lat, lat * 1.7L);
        AddCirclePath(a, FixAtDistAz(a, Deg(az), HalfPi), 0, TwoPi, MaxPathStep, paths);
      }
    PixelPaths out;
    projection.Cut(paths, out);
    ASSERT_GT(out.Count(), 10u);
    // The longest piece a degree can become: on the globe a degree of the
    // radius; on Mercator near the latitude limit, 1 / cos(85) degrees.
    const long double longest =
        projection.Scale() * Deg(1) * (named.view.kind == ProjectionKind::Globe ? 1.0001L : 12.0L);
    for (std::size_t i = 0; i < out.Count(); ++i)
      for (std::size_t j = 1; j < out[i].size(); ++j)
        ASSERT_LT(PixelDistance(out[i][j - 1], out[i][j]), longest) << "line " << i << " point " << j;
  }
}

// Paths cut for Mercator with their places worked out beforehand come out
// as cut without them, point for point: across the seam, past the latitude
// limit, closed rings opened and joined, many paths in one set. Places of
// another set (a different count) are not used.
TEST(MapProjection, KeptMercatorPlacesCutAsWithout) {
  SpherePaths paths;
  AddArcPath(At(10, 170), At(20, -170), MaxPathStep, paths);
  AddCirclePath(At(0, 30), NorthPoleVec, -HalfPi, HalfPi, MaxPathStep, paths);
  AddSmallCirclePath(At(80, 170), Deg(12), MaxPathStep, paths);
  AddSmallCirclePath(At(-20, 0), Deg(40), MaxPathStep, paths);
  AddRhumbPath(Deg(-5), Deg(-160), Deg(-60), Deg(150), MaxPathStep, paths);
  std::vector<MercatorPlace> places;
  MercatorPlaces(paths, places);
  ASSERT_EQ(places.size(), paths.PointCount());
  std::vector<MercatorPlace> wrong(places.begin(), places.end() - 1);
  for (auto& place : wrong) place.psi += 1;
  for (const ChartView& view : {Mercator(0, 0), Mercator(40, 175), Mercator(-70, -10)}) {
    const MapProjection mercator(view, Width, Height);
    PixelPaths plain, kept, other;
    mercator.Cut(paths, plain);
    mercator.Cut(paths, kept, places);
    mercator.Cut(paths, other, wrong);
    ASSERT_GE(plain.Count(), paths.Count());
    for (const PixelPaths* cut : {&kept, &other}) {
      ASSERT_EQ(cut->Count(), plain.Count());
      for (std::size_t i = 0; i < plain.Count(); ++i) {
        ASSERT_EQ((*cut)[i].size(), plain[i].size()) << i;
        EXPECT_EQ(cut->Shape(i), plain.Shape(i));
        for (std::size_t j = 0; j < plain[i].size(); ++j) {
          EXPECT_EQ((*cut)[i][j].u, plain[i][j].u) << i << " " << j;
          EXPECT_EQ((*cut)[i][j].v, plain[i][j].v) << i << " " << j;
        }
      }
    }
  }
}

TEST(MapProjection, MeridianCutAtTheLatitudeLimit) {
  const MapProjection mercator(Mercator(0, 0), Width, Height);
  SpherePaths paths;
  AddCirclePath(At(0, 30), NorthPoleVec, -HalfPi, HalfPi, MaxPathStep, paths);
  PixelPaths out;
  mercator.Cut(paths, out);
  ASSERT_EQ(out.Count(), 1u);
  EXPECT_TRUE(Near(300 + mercator.Scale() * MercatorLimitPsi, out[0].front().v, 1e-9L));
  EXPECT_TRUE(Near(300 - mercator.Scale() * MercatorLimitPsi, out[0].back().v, 1e-9L));
  for (const PixelPoint& p : out[0]) EXPECT_TRUE(Near(400 + mercator.Scale() * Deg(30), p.u, 1e-9L));
}

// A rhumb line is straight on Mercator, its two pieces either side of the
// seam too, and keeps one course on the sphere.
TEST(MapProjection, RhumbLinesStraightOnMercator) {
  struct Case {
    long double lat1, lon1, lat2, lon2;
    std::size_t lines;
  };
  const Case cases[] = {
      {10, -20, 60, 100, 1}, {-40, 30, 50, 31, 1}, {10, 170, 40, -150, 2}, {-5, -160, -60, 150, 2}};
  const MapProjection mercator(Mercator(0, 0), Width, Height);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lat1);
    SpherePaths paths;
    AddRhumbPath(Deg(c.lat1), Deg(c.lon1), Deg(c.lat2), Deg(c.lon2), MaxPathStep, paths);
    ASSERT_EQ(paths.Count(), 1u);
    EXPECT_TRUE(NearVec(At(c.lat1, c.lon1), paths[0].front(), 1e-15L));
    EXPECT_TRUE(NearVec(At(c.lat2, c.lon2), paths[0].back(), 1e-15L));
    // Every point lies on GeographicLib's rhumb line on the unit sphere: the
    // same course from the start, and its length in the same proportion to
    // the whole as the point's longitude or latitude difference.
    const GeographicLib::Rhumb rhumb(1.0, 0.0);
    double whole = 0, course = 0;
    rhumb.Inverse(static_cast<double>(c.lat1), static_cast<double>(c.lon1), static_cast<double>(c.lat2),
                  static_cast<double>(c.lon2), whole, course);
    for (std::size_t i = 1; i < paths[0].size(); ++i) {
      double length = 0, azimuth = 0;
      rhumb.Inverse(static_cast<double>(c.lat1), static_cast<double>(c.lon1),
                    static_cast<double>(ToDeg(TriLat(paths[0][i]))),
                    static_cast<double>(ToDeg(TriLon(paths[0][i]))), length, azimuth);
      EXPECT_NEAR(course, azimuth, 1e-9) << i;
    }
    PixelPaths out;
    mercator.Cut(paths, out);
    ASSERT_EQ(out.Count(), c.lines);
    // The points of the rhumb line lie on one straight line; the ends of a
    // piece cut at the seam lie on the great circle between two of them,
    // within a hundredth of a pixel of it.
    long double slope = NAN;
    for (std::size_t line = 0; line < out.Count(); ++line) {
      const auto piece = out[line];
      ASSERT_GE(piece.size(), 4u);
      const PixelPoint first = piece[1];
      const PixelPoint last = piece[piece.size() - 2];
      const long double lineSlope = (last.v - first.v) / (last.u - first.u);
      if (line > 0) {
        EXPECT_TRUE(Near(slope, lineSlope, 1e-9L)) << "both pieces parallel";
      }
      slope = lineSlope;
      for (std::size_t i = 0; i < piece.size(); ++i) {
        const bool end = i == 0 || i + 1 == piece.size();
        EXPECT_TRUE(Near(first.v + slope * (piece[i].u - first.u), piece[i].v, end ? 1e-2L : 1e-7L)) << i;
      }
    }
  }
  // Into a pole: the meridian.
  SpherePaths paths;
  AddRhumbPath(Deg(40), Deg(-70), HalfPi, Deg(120), MaxPathStep, paths);
  ASSERT_EQ(paths.Count(), 1u);
  for (const Vector3& p : paths[0]) {
    if (p.z < 0.9999L) {
      EXPECT_TRUE(Near(-70, ToDeg(TriLon(p)), 1e-12L));
    }
  }
  EXPECT_TRUE(NearVec(NorthPoleVec, paths[0].back(), 1e-18L));
}

TEST(MapProjection, ChartDirectionShowsTheListsLatitude) {
  const EarthModel elliptic = Elliptic();
  for (long double lat = -90; lat <= 90; lat += 7.5L) {
    const Vector3 stored = PosFromLatLon(elliptic, Deg(lat), Deg(33));
    const Vector3 shown = ChartDirection(elliptic, stored);
    EXPECT_TRUE(Near(PosLat(elliptic, stored), TriLat(shown), 1e-15L)) << lat;
    EXPECT_TRUE(Near(TriLon(stored), TriLon(shown), 1e-18L)) << lat;
    EXPECT_TRUE(Near(1.0L, TriLength(shown), 1e-18L));
  }
  const Vector3 p = At(45, 45);
  EXPECT_EQ(ChartDirection(Spherical(), p), p);
}

TEST(MapProjection, VisibleBox) {
  struct Case {
    std::string name;
    ChartView view;
    long double latMin, latMax, lonSpanMax;  // degrees; the box must cover
  };
  const Case cases[] = {
      {"whole globe", Globe(0, 0), -90, 90, 360},
      {"globe near a pole", Globe(80, 10, 0, 4), 60, 90, 360},
      {"globe zoomed in", Globe(45, 10, 30, 50), 44, 46, 8},
      {"Mercator", Mercator(0, 0), -79, 79, 360},
      {"Mercator zoomed", Mercator(50, -3, 20), 48, 52, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MapProjection projection(c.view, Width, Height);
    const LatLonBox box = projection.VisibleBox();
    EXPECT_LE(ToDeg(box.latMin), c.latMin + 1e-9L);
    EXPECT_GE(ToDeg(box.latMax), c.latMax - 1e-9L);
    EXPECT_LE(ToDeg(box.lonSpan), c.lonSpanMax + 1e-9L);
    // Every pixel's position lies in the box.
    for (long double u = 0; u <= Width; u += 50)
      for (long double v = 0; v <= Height; v += 50) {
        Vector3 p;
        if (!projection.Inverse({u, v}, p)) continue;
        EXPECT_GE(TriLat(p), box.latMin - 1e-12L);
        EXPECT_LE(TriLat(p), box.latMax + 1e-12L);
        const long double east = std::remainder(TriLon(p) - box.lonWest, TwoPi);
        const long double fromWest = east < -1e-12L ? east + TwoPi : east;
        EXPECT_LE(fromWest, box.lonSpan + 1e-9L) << u << " " << v;
      }
  }
}

TEST(PathSet, EndIntoJoinsTheOpenPathToAnEarlierOne) {
  PixelPaths paths;
  paths.Add({0, 0});
  paths.Add({9, 9});
  paths.End();
  paths.Add({1, 1});
  paths.Add({2, 2});
  paths.End();
  paths.Add({3, 3});
  paths.Add({4, 4});
  paths.End();
  paths.Add({5, 5});
  paths.Add({1, 1});
  paths.EndInto(1);
  ASSERT_EQ(paths.Count(), 3u);
  EXPECT_EQ(paths[0].size(), 2u);
  EXPECT_EQ(paths[1][0].u, 3);
  ASSERT_EQ(paths[2].size(), 3u);
  EXPECT_EQ(paths[2][0].u, 5);
  EXPECT_EQ(paths[2][1].u, 1);
  EXPECT_EQ(paths[2][2].u, 2);
  // A single point is no line.
  paths.Add({7, 7});
  paths.End();
  EXPECT_EQ(paths.Count(), 3u);
  EXPECT_EQ(paths.PointCount(), 7u);
}

}  // namespace
}  // namespace navorix::testing
