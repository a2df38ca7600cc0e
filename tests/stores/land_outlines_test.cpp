#include "stores/land_outlines.h"

#include <shapefil.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "geometry/chart_paths.h"
#include "geometry/error.h"
#include "geometry/great_circle.h"
#include "geometry/numeric.h"
#include "tests/stores/stores_test_support.h"

namespace navorix::testing {
namespace {

const std::string ShippedLand = std::string(NAVORIX_LAND_DIR) + "/" + LandFileName;

long double Deg(long double degrees) { return degrees * DegToRad; }

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

const LandArea* Find(const LandOutlines& land, const std::string& name) {
  for (const LandArea& area : land.areas)
    if (area.name == name) return &area;
  return nullptr;
}

// The counts of the shipped file, as a separate reader of the shapefile
// format (the record headers and part tables, read with Python's struct)
// found them.
TEST(LandOutlines, ReadsTheShippedCountries) {
  const LandOutlines land = ReadLandOutlines(ShippedLand);
  EXPECT_EQ(land.areas.size(), 177u);
  EXPECT_EQ(land.RingCount(), 288u);
  EXPECT_EQ(land.PointCount(), 10643u);
  EXPECT_EQ(land.areas[0].name, "Fiji");
  EXPECT_NE(Find(land, "C\xF4te d'Ivoire"), nullptr) << "names are single-byte as in the file";
}

// Extents that any atlas gives, to within the half degree the 1:110 million
// scale leaves out.
TEST(LandOutlines, KnownExtents) {
  const LandOutlines land = ReadLandOutlines(ShippedLand);
  struct Case {
    std::string name;
    long double south, north, west, east;  // degrees
    std::size_t minRings;
  };
  const Case cases[] = {
      {"Australia", -43.6L, -10.7L, 113.3L, 153.6L, 2},  // with Tasmania
      {"Iceland", 63.4L, 66.5L, -24.3L, -13.6L, 1},
      {"Chile", -55.6L, -17.6L, -75.6L, -66.9L, 2},  // with Tierra del Fuego
      {"Madagascar", -25.6L, -12.0L, 43.3L, 50.5L, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LandArea* area = Find(land, c.name);
    ASSERT_NE(area, nullptr);
    EXPECT_GE(area->rings.size(), c.minRings);
    long double south = HalfPi, north = -HalfPi, west = Pi, east = -Pi;
    for (const auto& ring : area->rings)
      for (const GeoPoint& p : ring) {
        south = std::fmin(south, p.lat);
        north = std::fmax(north, p.lat);
        west = std::fmin(west, p.lon);
        east = std::fmax(east, p.lon);
      }
    constexpr long double Tolerance = 0.5L;
    EXPECT_NEAR(static_cast<double>(south * RadToDeg), static_cast<double>(c.south), Tolerance);
    EXPECT_NEAR(static_cast<double>(north * RadToDeg), static_cast<double>(c.north), Tolerance);
    EXPECT_NEAR(static_cast<double>(west * RadToDeg), static_cast<double>(c.west), Tolerance);
    EXPECT_NEAR(static_cast<double>(east * RadToDeg), static_cast<double>(c.east), Tolerance);
  }
}

// The paths leave out where the map was cut, and nothing else.
TEST(LandOutlines, PathsLeaveOutTheCuts) {
  const LandOutlines land = ReadLandOutlines(ShippedLand);
  SpherePaths paths;
  AddLandPaths(land, paths);
  std::size_t closed = 0;
  for (std::size_t i = 0; i < paths.Count(); ++i) {
    const auto path = paths[i];
    if (paths.Shape(i) == PathShape::Closed) ++closed;
    for (std::size_t j = 1; j < path.size(); ++j) {
      const bool onSeam = std::fabs(path[j - 1].y) < 1e-12L && path[j - 1].x < 0 &&
                          std::fabs(path[j].y) < 1e-12L && path[j].x < 0;
      EXPECT_FALSE(onSeam) << "an edge along the 180th meridian in path " << i;
      EXPECT_GT(path[j].z, -0.99999L) << "the South Pole in path " << i;
      EXPECT_LE(VectorAngle(path[j - 1], path[j]), MaxPathStep * 1.01L) << "path " << i;
    }
  }
  // Fiji (2 rings), Russia (4) and Antarctica (1) are cut; every other ring
  // is drawn closed.
  EXPECT_EQ(closed, land.RingCount() - 7);
  EXPECT_GT(paths.Count(), closed);
}

// A small shapefile written with shapelib, for the cases the shipped one
// does not show.
class LandFile : public ::testing::Test {
 protected:
  struct Ring {
    std::vector<double> lon, lat;
  };
  // Writes NAME.shp/.shx/.dbf of one record per ring list, of shape type
  // type, and returns the .shp path.
  std::string Write(const std::string& name, const std::vector<std::vector<Ring>>& records,
                    int type = SHPT_POLYGON, int tableRecords = -1) {
    const std::string base = dir_ / name;
    SHPHandle shp = SHPCreate(base.c_str(), type);
    for (const auto& rings : records) {
      std::vector<int> starts;
      std::vector<double> x, y;
      for (const Ring& ring : rings) {
        starts.push_back(static_cast<int>(x.size()));
        x.insert(x.end(), ring.lon.begin(), ring.lon.end());
        y.insert(y.end(), ring.lat.begin(), ring.lat.end());
      }
      SHPObject* shape = SHPCreateObject(type, -1, static_cast<int>(starts.size()), starts.data(), nullptr,
                                         static_cast<int>(x.size()), x.data(), y.data(), nullptr, nullptr);
      SHPWriteObject(shp, -1, shape);
      SHPDestroyObject(shape);
    }
    SHPClose(shp);
    DBFHandle dbf = DBFCreate(base.c_str());
    DBFAddField(dbf, "name", FTString, 40, 0);
    const int rows = tableRecords < 0 ? static_cast<int>(records.size()) : tableRecords;
    for (int i = 0; i < rows; ++i)
      DBFWriteStringAttribute(dbf, i, 0, ("AREA" + std::to_string(i + 1)).c_str());
    DBFClose(dbf);
    return base + ".shp";
  }

  static Ring Square(double west, double south, double size) {
    return {{west, west + size, west + size, west, west}, {south, south, south + size, south + size, south}};
  }

  TempDir dir_;
};

TEST_F(LandFile, ReadsWhatWasWritten) {
  const std::string file = Write("two", {{Square(10, 20, 1)}, {Square(-5, -5, 2), Square(0, 0, 1)}});
  const LandOutlines land = ReadLandOutlines(file);
  ASSERT_EQ(land.areas.size(), 2u);
  EXPECT_EQ(land.areas[1].name, "AREA2");
  ASSERT_EQ(land.areas[1].rings.size(), 2u);
  EXPECT_EQ(land.areas[1].rings[0].size(), 5u);
  EXPECT_EQ(land.areas[0].rings[0][2].lat, Deg(21));
  EXPECT_EQ(land.areas[0].rings[0][2].lon, Deg(11));
}

// A border along a parallel stays on it: its long edge is divided in
// latitude and longitude, not drawn as a great circle.
TEST_F(LandFile, LongEdgesFollowTheirParallel) {
  const std::string file = Write("border", {{Ring{{-123, -95, -95, -123, -123}, {49, 49, 52, 52, 49}}}});
  SpherePaths paths;
  AddLandPaths(ReadLandOutlines(file), paths);
  ASSERT_EQ(paths.Count(), 1u);
  EXPECT_EQ(paths.Shape(0), PathShape::Closed);
  std::size_t onBorder = 0;
  for (const Vector3& p : paths[0]) {
    if (std::fabs(TriLat(p) - Deg(49)) < 1e-15L) ++onBorder;
    EXPECT_GE(TriLat(p), Deg(49) - 1e-15L);
  }
  EXPECT_GE(onBorder, 29u) << "28 degrees of the 49th parallel in steps of at most one";
}

TEST_F(LandFile, BadFilesGiveClearErrors) {
  const Ring open{{0, 1, 1, 0}, {0, 0, 1, 1}};
  const Ring tooShort{{0, 1, 0}, {0, 0, 0}};
  const Ring beyond{{0, 1, 1, 0}, {90.5, 0, 1, 90.5}};
  const Ring notANumber{{0, NAN, 1, 0}, {0, 0, 1, 0}};
  struct Case {
    std::string name;
    std::function<std::string()> make;  // returns the .shp path
    std::string error;
  };
  const std::vector<Case> cases = {
      {"missing", [&] { return dir_ / "none.shp"; }, "Cannot open none.shp: No such file or directory"},
      {"no index",
       [&] {
         const std::string file = Write("noshx", {{Square(0, 0, 1)}});
         std::filesystem::remove(dir_ / "noshx.shx");
         return file;
       },
       "Cannot open noshx.shx: No such file or directory"},
      {"no table",
       [&] {
         const std::string file = Write("nodbf", {{Square(0, 0, 1)}});
         std::filesystem::remove(dir_ / "nodbf.dbf");
         return file;
       },
       "Cannot open nodbf.dbf: No such file or directory"},
      {"a directory",
       [&] {
         std::filesystem::create_directory(dir_ / "folder.shp");
         return dir_ / "folder.shp";
       },
       "Cannot open folder.shp: Is a directory"},
      {"a named pipe, not waited for",
       [&] {
         const std::string file = Write("pipe", {{Square(0, 0, 1)}});
         std::filesystem::remove(file);
         ::mkfifo(file.c_str(), 0600);
         return file;
       },
       "Cannot open pipe.shp: not a regular file"},
      {"cut short",
       [&] {
         const std::string file = Write("short", {{Square(0, 0, 1)}});
         std::filesystem::resize_file(file, 60);
         return file;
       },
       "Cannot read short.shp: not a polygon shapefile"},
      {"points, not polygons",
       [&] {
         return Write("points", {{Ring{{1}, {2}}}}, SHPT_POINT);
       },
       "Cannot read points.shp: not a polygon shapefile"},
      {"a table of another length",
       [&] {
         return Write("table", {{Square(0, 0, 1)}, {Square(3, 3, 1)}}, SHPT_POLYGON, 1);
       },
       "Cannot read table.dbf: not the table of table.shp"},
      {"a ring that does not close",
       [&] {
         return Write("open", {{Square(0, 0, 1)}, {open}});
       },
       "Cannot read open.shp: record 2 is damaged"},
      {"a ring of three points", [&] { return Write("three", {{tooShort}}); },
       "Cannot read three.shp: record 1 is damaged"},
      {"a latitude beyond the pole", [&] { return Write("beyond", {{beyond}}); },
       "Cannot read beyond.shp: record 1 is damaged"},
      {"a longitude that is no number", [&] { return Write("nan", {{notANumber}}); },
       "Cannot read nan.shp: record 1 is damaged"},
      {"a record cut short",
       [&] {
         const std::string file = Write("record", {{Square(0, 0, 1)}, {Square(5, 5, 1)}});
         std::filesystem::resize_file(file, std::filesystem::file_size(file) - 40);
         return file;
       },
       "Cannot read record.shp: record 2 is damaged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = c.make();
    EXPECT_EQ(ErrorOf([&] { ReadLandOutlines(file); }), c.error);
  }
}

}  // namespace
}  // namespace navorix::testing
