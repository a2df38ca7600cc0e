// Export: the decimal degrees read back to positions that print as the
// originals in every format and accuracy, a fix file goes through GPX and
// back byte for byte, and the three formats are written as described.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "geometry/error.h"
#include "geometry/numeric.h"
#include "stores/exchange_degrees.h"
#include "stores/fix_exchange.h"
#include "stores_test_support.h"
#include "text/decimal.h"
#include "text/format.h"
#include "text/parse.h"

namespace navorix {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// Positions in degrees: the poles, the equator, both sides of the prime and
// the antimeridian, typed ties of every format (10.125 is halfway at 0.01
// degree, 10 7'30" at a minute, ...), values a hair from a boundary and
// uniform random ones.
std::vector<std::pair<long double, long double>> Positions() {
  std::vector<std::pair<long double, long double>> list;
  for (long double lon : {-180.0L, -179.9999999999999L, -90.0L, -1e-20L, -0.0L, 0.0L, 1e-300L, 0.005L, 45.0L,
                          179.99999999L, 180.0L}) {
    for (long double lat : {-90.0L, -89.99999999999L, -45.0L, -0.001L, -0.0L, 0.0L, 1e-25L, 0.005L, 10.125L,
                            89.99999L, 90.0L}) {
      list.emplace_back(lat, lon);
    }
  }
  std::mt19937_64 random(2026);
  std::uniform_real_distribution<long double> lat(-90.0L, 90.0L);
  std::uniform_real_distribution<long double> lon(-180.0L, 180.0L);
  std::uniform_int_distribution<int> count(-8999, 8999);
  for (int i = 0; i < 4000; ++i) list.emplace_back(lat(random), lon(random));
  // Typed halves of every unit: of 0.01 degree, of a minute, of a second,
  // of 0.0001 minute and of 0.01 second, as a fix dialog reads them.
  for (int i = 0; i < 400; ++i) {
    const int n = count(random);
    list.emplace_back((n + 0.5L) / 100.0L, (2 * n + 1) / 200.0L);
    list.emplace_back(n / 100 + (std::abs(n) % 60 + 0.5L) / 60.0L, n / 50 + 30.0L / 3600.0L);
    list.emplace_back((n % 90) + 59.0L / 60.0L + 59.5L / 3600.0L, (n % 180) + 0.00005L / 60.0L);
    list.emplace_back((n % 90) + 10.005L / 3600.0L, -(n % 180) - 0.15L / 60.0L);
  }
  return list;
}

void AddFixesAt(FixDatabase& db, const std::vector<std::pair<long double, long double>>& positions,
                const EarthModel& earth) {
  int n = 0;
  for (const auto& [lat, lon] : positions) {
    db.Add(testing::MakeTestFix("F" + std::to_string(++n), lat, lon, earth));
  }
}

// Every fix of back prints as the same fix of fixes in every Lat/Lon
// format and accuracy; the number of texts compared.
int ExpectSamePrint(const FixDatabase& fixes, const std::vector<FixRecord>& back, const EarthModel& earth) {
  EXPECT_EQ(back.size(), fixes.Count());
  int compared = 0;
  DisplayOptions options;
  for (std::size_t i = 0; i < back.size() && i < fixes.Count(); ++i) {
    const FixRecord original = fixes.Get(static_cast<std::uint16_t>(i + 1));
    EXPECT_EQ(back[i].name, original.name);
    for (int format = 0; format < LatLonFormatCount; ++format) {
      options.latLonFormat = static_cast<AngleFormat>(format);
      for (int accuracy = 0; accuracy < PrecisionCount; ++accuracy) {
        const auto at = static_cast<Accuracy>(accuracy);
        const std::string text = FormatLatLon(options, earth, original, at);
        EXPECT_EQ(FormatLatLon(options, earth, back[i], at), text)
            << "fix " << FixName(original) << " as " << ExportDegrees(earth, original.position).latitude
            << " " << ExportDegrees(earth, original.position).longitude;
        ++compared;
      }
    }
  }
  return compared;
}

class ExportReimport : public ::testing::TestWithParam<bool> {};

TEST_P(ExportReimport, EveryFormatPrintsTheSameAfterItsWayOutAndIn) {
  EarthModel earth;
  earth.ellipticLat = GetParam();
  const auto positions = Positions();
  FixDatabase fixes;
  AddFixesAt(fixes, positions, earth);
  ImportSettings settings;
  settings.earth = earth;
  for (const ExchangeFormat format : {ExchangeFormat::Gpx, ExchangeFormat::Csv, ExchangeFormat::GeoJson}) {
    SCOPED_TRACE(ExchangeFormatName(format));
    const ImportResult back = ImportFixText(ExportFixText(fixes, format, earth), settings, FixDatabase{});
    EXPECT_EQ(back.format, format);
    EXPECT_TRUE(back.Complete());
    EXPECT_TRUE(back.renamed.empty());
    EXPECT_EQ(ExpectSamePrint(fixes, back.fixes, earth), static_cast<int>(positions.size()) * 12);
  }
}

INSTANTIATE_TEST_SUITE_P(EllipticLatitude, ExportReimport, ::testing::Bool());

TEST(ExportDegrees, TextsAreShortWhereThatSuffices) {
  const EarthModel earth;
  auto texts = [&](long double lat, long double lon) {
    const DegreeTexts t = ExportDegrees(earth, testing::MakeTestFix("A", lat, lon, earth).position);
    return t.latitude + " " + t.longitude;
  };
  EXPECT_EQ(texts(48.8567L, 2.3522L), "48.8567 2.3522");
  EXPECT_EQ(texts(-33.8688L, -151.2093L), "-33.8688 -151.2093");
  EXPECT_EQ(texts(12.0L, 13.0L), "12 13");
  // A typed tie of the low accuracy: the shortest text of the typed value.
  EXPECT_EQ(texts(10.125L, -0.005L), "10.125 -0.005");
  EXPECT_EQ(texts(0.0L, 180.0L), "0 180");
  EXPECT_EQ(texts(-0.0L, -180.0L), "-0 -180");
  // No exponent, which the GPX number type does not have.
  const std::string tiny = texts(1e-25L, 1.0L);
  EXPECT_EQ(tiny.find_first_of("eE"), std::string::npos) << tiny;
}

TEST(ExportDegrees, RandomPositionsNeedNoMoreThanTwelveDecimals) {
  const EarthModel earth;
  std::mt19937_64 random(7);
  std::uniform_real_distribution<long double> unit(-1.0L, 1.0L);
  std::size_t longest = 0;
  for (int i = 0; i < 20000; ++i) {
    const DegreeTexts t = ExportDegrees(
        earth, testing::MakeTestFix("A", 90.0L * unit(random), 180.0L * unit(random), earth).position);
    for (const std::string& text : {t.latitude, t.longitude}) {
      const std::size_t dot = text.find('.');
      longest = std::max(longest, dot == std::string::npos ? 0 : text.size() - dot - 1);
    }
  }
  EXPECT_GE(longest, 8U);
  EXPECT_LE(longest, 12U);
}

// A fix file goes to GPX and back, and is saved again byte for byte, in
// every Lat/Lon format.
TEST(ExportReimport, AFixFileThroughGpxIsTheSameFile) {
  TempDir dir;
  std::mt19937_64 random(11);
  std::uniform_real_distribution<long double> lat(-90.0L, 90.0L);
  std::uniform_real_distribution<long double> lon(-180.0L, 180.0L);
  FixDatabase original;
  for (int i = 0; i < 600; ++i) {
    // Every kind of valid name: suffixes, all of the name characters, the
    // full 16 characters.
    std::string name = std::string(1, static_cast<char>('A' + i % 26)) + std::to_string(i);
    if (i % 4 == 1) name += "/FR";
    if (i % 4 == 2) name += "-1.2_3";
    if (i % 4 == 3) name = "ABCDEFGHIJKL" + std::to_string(1000 + i);
    FixRecord fix = testing::MakeTestFix(name, lat(random), lon(random));
    original.Add(fix);
  }
  for (int format = 0; format < LatLonFormatCount; ++format) {
    ProgramSettings settings;
    settings.display.latLonFormat = static_cast<AngleFormat>(format);
    original.SaveToFile(dir / "before.fix", settings.display, settings.earth);
    FixDatabase loaded;
    ASSERT_TRUE(loaded.LoadFromFile(dir / "before.fix", settings.display.plusDir, settings.earth));
    ExportFixFile(dir / "fixes.gpx", loaded, ExchangeFormat::Gpx, settings.earth);
    ImportSettings importSettings;
    importSettings.earth = settings.earth;
    const ImportResult back = ImportFixFile(dir / "fixes.gpx", importSettings, FixDatabase{});
    ASSERT_TRUE(back.Complete());
    EXPECT_TRUE(back.renamed.empty());
    FixDatabase again;
    for (const FixRecord& fix : back.fixes) again.Add(fix);
    again.SaveToFile(dir / "after.fix", settings.display, settings.earth);
    EXPECT_EQ(ReadFile(dir / "after.fix"), ReadFile(dir / "before.fix")) << FormatNames[format];
  }
}

TEST(Export, TheThreeFormatsAsWritten) {
  FixDatabase db;
  db.Add(testing::MakeTestFix("PARIS/FR", 48.8567L, 2.3522L));
  db.Add(FixRecord{});  // an entry that did not read is left out
  db.Add(testing::MakeTestFix("S", -33.8688L, -151.2093L));
  const EarthModel earth;
  EXPECT_EQ(ExportFixText(db, ExchangeFormat::Gpx, earth),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            "<gpx version=\"1.1\" creator=\"Navorix 1.20\" xmlns=\"http://www.topografix.com/GPX/1/1\">\r\n"
            "  <wpt lat=\"48.8567\" lon=\"2.3522\">\r\n    <name>PARIS/FR</name>\r\n  </wpt>\r\n"
            "  <wpt lat=\"-33.8688\" lon=\"-151.2093\">\r\n    <name>S</name>\r\n  </wpt>\r\n"
            "</gpx>\r\n");
  EXPECT_EQ(ExportFixText(db, ExchangeFormat::Csv, earth),
            "Name,Latitude,Longitude\r\nPARIS/FR,48.8567,2.3522\r\nS,-33.8688,-151.2093\r\n");
  EXPECT_EQ(
      ExportFixText(db, ExchangeFormat::GeoJson, earth),
      "{\"type\": \"FeatureCollection\", \"features\": [\r\n"
      "{\"type\": \"Feature\", \"geometry\": {\"type\": \"Point\", \"coordinates\": [2.3522, 48.8567]},"
      " \"properties\": {\"name\": \"PARIS/FR\"}},\r\n"
      "{\"type\": \"Feature\", \"geometry\": {\"type\": \"Point\", \"coordinates\": [-151.2093, -33.8688]},"
      " \"properties\": {\"name\": \"S\"}}\r\n]}\r\n");
  EXPECT_EQ(ExportFixText(FixDatabase{}, ExchangeFormat::GeoJson, earth),
            "{\"type\": \"FeatureCollection\", \"features\": [\r\n]}\r\n");
}

// The last of 65535 fixes is written too, and then the writing ends.
TEST(Export, AFullDatabaseIsWrittenWhole) {
  const EarthModel earth;
  FixDatabase db;
  for (std::uint32_t i = 1; i <= MaxFixes; ++i) {
    db.Add(testing::MakeTestFix("F" + std::to_string(i), 1.0L, 2.0L, earth));
  }
  const struct {
    ExchangeFormat format;
    const char* last;
  } cases[] = {{ExchangeFormat::Gpx, "<name>F65535</name>"},
               {ExchangeFormat::Csv, "F65535,1,2\r\n"},
               {ExchangeFormat::GeoJson, "\"name\": \"F65535\"}}\r\n]}"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(ExchangeFormatName(c.format));
    const std::string text = ExportFixText(db, c.format, earth);
    EXPECT_NE(text.find(c.last), std::string::npos);
    const ImportResult back = ImportFixText(text, ImportSettings{}, FixDatabase{});
    EXPECT_EQ(back.fixes.size(), MaxFixes);
    EXPECT_EQ(back.beyondRoom, 0u);
  }
}

TEST(Export, TheFormatComesFromTheExtension) {
  EXPECT_EQ(ExportFormatOf("a/b.GPX"), ExchangeFormat::Gpx);
  EXPECT_EQ(ExportFormatOf("x.csv"), ExchangeFormat::Csv);
  EXPECT_EQ(ExportFormatOf("x.geojson"), ExchangeFormat::GeoJson);
  EXPECT_EQ(ExportFormatOf("x.Json"), ExchangeFormat::GeoJson);
  EXPECT_EQ(ExportFormatOf("x.fix"), std::nullopt);
  EXPECT_EQ(ExportFormatOf("dir.gpx/x"), std::nullopt);
  EXPECT_EQ(ExportFormatOf("gpx"), std::nullopt);
}

TEST(Export, AFailingDiskLeavesTheOldFile) {
  TempDir dir;
  WriteFile(dir / "a.gpx", "old");
  FixDatabase db;
  db.Add(testing::MakeTestFix("A"));
  testing::FailingWrites failing;
  EXPECT_THROW(ExportFixFile(dir / "a.gpx", db, ExchangeFormat::Gpx, EarthModel{}, failing.calls), Error);
  EXPECT_EQ(ReadFile(dir / "a.gpx"), "old");
}

}  // namespace
}  // namespace navorix
