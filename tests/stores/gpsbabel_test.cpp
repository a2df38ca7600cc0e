// The outside check: gpsbabel, the field's standard converter, reads every
// GPX file we write with the same names and positions, and we read the GPX,
// CSV and GeoJSON that gpsbabel writes from our export. The test command
// installs gpsbabel; without it these tests are skipped.
//
// gpsbabel writes GPX positions with 9 decimals, GeoJSON with the shortest
// text of its double and its "unicsv" CSV with 6 decimals; each comparison
// allows for that, and the largest difference seen is printed.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "geometry/numeric.h"
#include "stores/fix_exchange.h"
#include "stores_test_support.h"
#include "text/fix_names.h"
#include "text/format.h"

namespace navorix {
namespace {

using testing::TempDir;

bool HaveGpsbabel() { return std::system("command -v gpsbabel >/dev/null 2>&1") == 0; }

// gpsbabel converting our GPX file from into format at to; true on success.
bool Convert(const std::string& from, const std::string& format, const std::string& to) {
  const std::string command =
      "gpsbabel -i gpx -f '" + from + "' -o " + format + " -F '" + to + "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

struct Degrees {
  long double lat;
  long double lon;
};

Degrees DegreesOf(const Vector3& position, const EarthModel& earth) {
  return {PosLat(earth, position) * RadToDeg, PosLon(position) * RadToDeg};
}

// |a - b| for longitudes, the same meridian at -180 and +180.
long double LonDifference(long double A, long double B) {
  const long double d = std::fabs(A - B);
  return std::min(d, 360.0L - d);
}

// Fixes with every kind of valid name at random positions, the poles, the
// equator and both sides of the antimeridian among them.
void AddAwkwardFixes(FixDatabase& db, const EarthModel& earth) {
  std::mt19937_64 random(5);
  std::uniform_real_distribution<long double> lat(-90.0L, 90.0L);
  std::uniform_real_distribution<long double> lon(-180.0L, 180.0L);
  const std::vector<Degrees> special = {{90, 0},
                                        {-90, 0},
                                        {0, 180},
                                        {0, -180},
                                        {0, 0},
                                        {-0.0L, -0.0L},
                                        {1e-9L, -179.99999999L},
                                        {45, 90},
                                        {-89.9999999L, 179.9999999L}};
  const char* names[] = {"A", "B/C", "X-1.2_3", "ABCDEFGHIJKLMNOP", "MIDPOINT/NEW", "Z..__--//"};
  for (int i = 0; i < 2000; ++i) {
    const Degrees at = i < static_cast<int>(special.size()) ? special[static_cast<std::size_t>(i)]
                                                            : Degrees{lat(random), lon(random)};
    std::string name = names[i % 6];
    if (i >= 6) name = name.substr(0, 11) + std::to_string(10000 + i);
    FitFixName(name);
    db.Add(testing::MakeTestFix(name, at.lat, at.lon, earth));
  }
}

TEST(Gpsbabel, ReadsEveryGpxWeWriteWithTheSameNamesAndPositions) {
  if (!HaveGpsbabel()) GTEST_SKIP() << "gpsbabel is not installed";
  TempDir dir;
  const EarthModel earth;
  FixDatabase fixes;
  AddAwkwardFixes(fixes, earth);
  ExportFixFile(dir / "ours.gpx", fixes, ExchangeFormat::Gpx, earth);
  ASSERT_TRUE(Convert(dir / "ours.gpx", "gpx", dir / "theirs.gpx"));
  pugi::xml_document document;
  ASSERT_TRUE(document.load_file((dir / "theirs.gpx").c_str()));
  std::vector<pugi::xml_node> points;
  for (const pugi::xml_node point : document.child("gpx").children("wpt")) points.push_back(point);
  ASSERT_EQ(points.size(), fixes.Count());
  long double largest = 0.0L;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const FixRecord fix = fixes.Get(static_cast<std::uint16_t>(i + 1));
    EXPECT_EQ(std::string(points[i].child_value("name")), FixName(fix));
    const Degrees ours = DegreesOf(fix.position, earth);
    const long double lat = std::strtold(points[i].attribute("lat").value(), nullptr);
    const long double lon = std::strtold(points[i].attribute("lon").value(), nullptr);
    largest = std::max({largest, std::fabs(lat - ours.lat), LonDifference(lon, ours.lon)});
  }
  EXPECT_LE(largest, 1e-7L);
  std::printf("gpsbabel read %zu waypoints; largest difference %.3Lg degree\n", points.size(), largest);
}

TEST(Gpsbabel, WeReadWhatItWritesFromOurExport) {
  if (!HaveGpsbabel()) GTEST_SKIP() << "gpsbabel is not installed";
  TempDir dir;
  const EarthModel earth;
  FixDatabase fixes;
  AddAwkwardFixes(fixes, earth);
  ExportFixFile(dir / "ours.gpx", fixes, ExchangeFormat::Gpx, earth);
  struct Target {
    const char* format;
    const char* file;
    ExchangeFormat read;
    long double tolerance;
  };
  // unicsv has 6 decimals: half a unit of the sixth and the double's error.
  const Target targets[] = {{"gpx", "theirs.gpx", ExchangeFormat::Gpx, 1e-7L},
                            {"unicsv", "theirs.csv", ExchangeFormat::Csv, 5.0001e-7L},
                            {"geojson", "theirs.geojson", ExchangeFormat::GeoJson, 1e-7L}};
  ImportSettings settings;
  settings.earth = earth;
  for (const Target& target : targets) {
    SCOPED_TRACE(target.format);
    ASSERT_TRUE(Convert(dir / "ours.gpx", target.format, dir / target.file));
    const ImportResult back = ImportFixFile(dir / target.file, settings, FixDatabase{});
    EXPECT_EQ(back.format, target.read);
    EXPECT_TRUE(back.Complete()) << (back.failure.empty() ? "" : back.failure);
    EXPECT_TRUE(back.renamed.empty());
    ASSERT_EQ(back.fixes.size(), fixes.Count());
    long double largest = 0.0L;
    for (std::size_t i = 0; i < back.fixes.size(); ++i) {
      const FixRecord fix = fixes.Get(static_cast<std::uint16_t>(i + 1));
      EXPECT_EQ(back.fixes[i].name, fix.name);
      const Degrees ours = DegreesOf(fix.position, earth);
      const Degrees theirs = DegreesOf(back.fixes[i].position, earth);
      // At a pole every longitude is the same place.
      const bool pole = std::fabs(ours.lat) > 90.0L - 1e-6L;
      largest = std::max(
          {largest, std::fabs(theirs.lat - ours.lat), pole ? 0.0L : LonDifference(theirs.lon, ours.lon)});
    }
    EXPECT_LE(largest, target.tolerance);
    std::printf("%s from gpsbabel: %zu fixes read back; largest difference %.3Lg degree\n", target.format,
                back.fixes.size(), largest);
  }
}

}  // namespace
}  // namespace navorix
