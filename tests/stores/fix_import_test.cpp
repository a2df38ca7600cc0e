// The importers of GPX, CSV, GeoJSON and fix-file lines, each over a table
// of good and bad inputs: what becomes a fix (name and position), what is
// renamed and what is refused, and where the messages say it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "stores/fix_exchange.h"
#include "stores_test_support.h"
#include "text/format.h"
#include "text/text_helpers.h"

namespace navorix {
namespace {

using testing::MakeTestFix;
using testing::TempDir;
using testing::WriteFile;

// A fix as "NAME lat lon", the position in Deg/Frac at High accuracy.
std::string Described(const FixRecord& fix, const EarthModel& earth = EarthModel{}) {
  DisplayOptions options;
  options.latLonFormat = AngleFormat::DegFrac;
  return FixName(fix) + " " + SquashBlanks(FormatLatLon(options, earth, fix, Accuracy::High), false);
}

struct ImportCase {
  const char* title;
  std::string text;
  std::vector<std::string> fixes;    // Described, in order
  std::vector<std::string> renamed;  // "place: original -> name"
  std::vector<std::string> refused;  // "place: reason"
  std::string failure;               // a part of it; empty for none
  ExchangeFormat format = ExchangeFormat::FixLines;
  std::string fileName = {};
};

void Check(const ImportCase& c, const FixDatabase& into = FixDatabase{},
           const ImportSettings& settings = {}) {
  SCOPED_TRACE(c.title);
  const ImportResult result = ImportFixText(c.text, settings, into, c.fileName);
  EXPECT_EQ(result.format, c.format);
  std::vector<std::string> fixes;
  for (const FixRecord& fix : result.fixes) fixes.push_back(Described(fix, settings.earth));
  EXPECT_EQ(fixes, c.fixes);
  std::vector<std::string> renamed;
  for (const RenamedEntry& r : result.renamed)
    renamed.push_back(r.place + ": " + r.original + " -> " + r.name);
  EXPECT_EQ(renamed, c.renamed);
  std::vector<std::string> refused;
  for (const RefusedEntry& r : result.refused) refused.push_back(r.place + ": " + r.reason);
  EXPECT_EQ(refused, c.refused);
  if (c.failure.empty()) {
    EXPECT_EQ(result.failure, "");
  } else {
    EXPECT_NE(result.failure.find(c.failure), std::string::npos) << result.failure;
    EXPECT_TRUE(result.fixes.empty());
  }
}

const char* const GpxHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";

TEST(GpxImport, Table) {
  const ImportCase cases[] = {
      {"waypoints, then route points, in order; tracks are counted apart",
       std::string(GpxHead) +
           "<wpt lat=\"48.8567\" lon=\"2.3522\"><ele>35</ele><name>PARIS</name></wpt>\n"
           "<trk><trkseg><trkpt lat=\"1\" lon=\"2\"/><trkpt lat=\"1\" lon=\"3\"/></trkseg></trk>\n"
           "<rte><name>R</name><rtept lat=\"-33.8688\" lon=\"151.2093\"><name>Sydney</name></rtept>\n"
           "<rtept lat=\"0\" lon=\"-180\"/></rte>\n</gpx>\n",
       {"PARIS 48.856700\xB0N 2.352200\xB0"
        "E",
        "SYDNEY 33.868800\xB0S 151.209300\xB0"
        "E",
        "WP3 0.000000\xB0N 180.000000\xB0W"},
       {"line 5 (rtept): Sydney -> SYDNEY", "line 6 (rtept):  -> WP3"},
       {},
       "",
       ExchangeFormat::Gpx},
      {"a namespace prefix, CDATA and entities in names",
       "<?xml version=\"1.0\"?><g:gpx xmlns:g=\"http://www.topografix.com/GPX/1/1\">"
       "<g:wpt lat=\" 10.5 \" lon=\"20\"><g:name><![CDATA[Fish & Chips]]></g:name></g:wpt>"
       "<g:wpt lat=\"11\" lon=\"21\"><g:name>A&amp;B &#233;t&#xE9;</g:name></g:wpt></g:gpx>",
       {"FISH-CHIPS 10.500000\xB0N 20.000000\xB0"
        "E",
        "A-B-ETE 11.000000\xB0N 21.000000\xB0"
        "E"},
       {"line 1 (wpt): Fish & Chips -> FISH-CHIPS", "line 1 (wpt): A&B \xE9t\xE9 -> A-B-ETE"},
       {},
       "",
       ExchangeFormat::Gpx},
      {"bad points are refused, the others kept",
       std::string(GpxHead) + "<wpt lon=\"2\"><name>A</name></wpt>\n"
                              "<wpt lat=\"1\"><name>B</name></wpt>\n"
                              "<wpt lat=\"north\" lon=\"2\"><name>C</name></wpt>\n"
                              "<wpt lat=\"90.0000001\" lon=\"2\"><name>D</name></wpt>\n"
                              "<wpt lat=\"-90\" lon=\"-180.5\"><name>E</name></wpt>\n"
                              "<wpt lat=\"-90\" lon=\"180\"><name>F</name></wpt>\n</gpx>",
       {"F 90.000000\xB0S 180.000000\xB0"
        "E"},
       {},
       {"line 3 (wpt): no lat attribute", "line 4 (wpt): no lon attribute",
        "line 5 (wpt): latitude \"north\" is no number",
        "line 6 (wpt): latitude \"90.0000001\" is beyond 90 degrees",
        "line 7 (wpt): longitude \"-180.5\" is beyond 180 degrees"},
       "",
       ExchangeFormat::Gpx},
      {"XML that is not well-formed names its line",
       std::string(GpxHead) + "<wpt lat=\"1\" lon=\"2\">\n<name>A</nam>\n</wpt></gpx>",
       {},
       {},
       {},
       "GPX: line 4: ",
       ExchangeFormat::Gpx},
      {"another kind of XML",
       "<?xml version=\"1.0\"?>\n<kml><Placemark/></kml>",
       {},
       {},
       {},
       "GPX: the document is <kml>, not <gpx>",
       ExchangeFormat::Gpx},
      {"an empty .gpx file", "", {}, {}, {}, "GPX: ", ExchangeFormat::Gpx, "empty.gpx"},
      {"an external entity is neither fetched nor expanded",
       "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [<!ENTITY x SYSTEM \"file:///etc/passwd\">\n"
       "<!ENTITY y \"&x;&x;&x;&x;&x;&x;&x;&x;\">]>\n"
       "<gpx><wpt lat=\"1\" lon=\"2\"><name>&y;</name></wpt></gpx>",
       {"Y 1.000000\xB0N 2.000000\xB0"
        "E"},
       {"line 4 (wpt): &y; -> Y"},
       {},
       "",
       ExchangeFormat::Gpx},
      {"a document in ISO-8859-1 names points by their number",
       "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<gpx>\n"
       "<wpt lat=\"1\" lon=\"2\"><name>Caf\xE9</name></wpt>\n<wpt lon=\"2\"/></gpx>",
       {"CAFE 1.000000\xB0N 2.000000\xB0"
        "E"},
       {"wpt 1: Caf\xE9 -> CAFE"},
       {"wpt 2: no lat attribute"},
       "",
       ExchangeFormat::Gpx},
  };
  for (const ImportCase& c : cases) Check(c);
}

TEST(CsvImport, Table) {
  const ImportCase cases[] = {
      {"columns in any order, any case, and others passed over",
       "No,Latitude,Longitude,Name,Symbol\r\n1,48.8567,2.3522,Paris,City\r\n"
       "2,-33.8688,151.2093,\"Sydney, NSW\",x\r\n\r\n3,51.5,-0.1167,LONDON,\r\n",
       {"PARIS 48.856700\xB0N 2.352200\xB0"
        "E",
        "SYDNEY-NSW 33.868800\xB0S 151.209300\xB0"
        "E",
        "LONDON 51.500000\xB0N 0.116700\xB0W"},
       {"line 2: Paris -> PARIS", "line 3: Sydney, NSW -> SYDNEY-NSW"},
       {},
       "",
       ExchangeFormat::Csv},
      {"semicolons and decimal commas, as a spreadsheet writes them",
       "lon;lat;ident\n2,3522;48,8567;PARIS\n-0,5;-0,25;X\n",
       {"PARIS 48.856700\xB0N 2.352200\xB0"
        "E",
        "X 0.250000\xB0S 0.500000\xB0W"},
       {},
       {},
       "",
       ExchangeFormat::Csv},
      {"any coordinate text the fix dialog reads; quotes inside unquoted fields",
       "name,lat,lon\n"
       "A,48\xC2\xB0"
       "51'24.12\"N,2\xC2\xB0"
       "21'7.92\"E\n"
       "B,\"29\xC2\xB0"
       "33'10.32\"\"s\",175W183344\n"
       "C,29n331032,-175.309289\n",
       {"A 48.856700\xB0N 2.352200\xB0"
        "E",
        "B 29.552867\xB0S 175.309289\xB0W", "C 29.552867\xB0N 175.309289\xB0W"},
       {},
       {},
       "",
       ExchangeFormat::Csv},
      {"a quoted field across lines; the next record's line is counted right",
       "name,lat,lon\n\"Two\nLines\",1,2\nbad,1,\nC,95,1\nD,1,east\n",
       {"TWO-LINES 1.000000\xB0N 2.000000\xB0"
        "E"},
       {"line 2: Two\nLines -> TWO-LINES"},
       {"line 4: no longitude", "line 5: latitude \"95\" is beyond 90 degrees",
        "line 6: longitude \"EAST\" does not read"},
       "",
       ExchangeFormat::Csv},
      {"too few fields, and a quote left open",
       "lat,lon,name\n1\n2,3,A\n4,5,\"open\n6,7,B\n",
       {"A 2.000000\xB0N 3.000000\xB0"
        "E"},
       {},
       {"line 2: no longitude field", "line 4: a quoted field is not closed"},
       "",
       ExchangeFormat::Csv},
      {"without a name column every fix is numbered",
       "latitude,longitude\n1,2\n3,4\n",
       {"WP1 1.000000\xB0N 2.000000\xB0"
        "E",
        "WP2 3.000000\xB0N 4.000000\xB0"
        "E"},
       {"line 2:  -> WP1", "line 3:  -> WP2"},
       {},
       "",
       ExchangeFormat::Csv},
      {"Windows-1252 text",
       "Name;Lat;Lon\nBogot\xE1;4,6;-74,08\nK;10\xB0"
       "30';20\n",
       {"BOGOTA 4.600000\xB0N 74.080000\xB0W",
        "K 10.500000\xB0N 20.000000\xB0"
        "E"},
       {"line 2: Bogot\xE1 -> BOGOTA"},
       {},
       "",
       ExchangeFormat::Csv},
      {"a .csv file without the header",
       "1,2,A\n3,4,B\n",
       {},
       {},
       {},
       "CSV: the first line names no latitude and longitude columns",
       ExchangeFormat::Csv,
       "points.csv"},
  };
  for (const ImportCase& c : cases) Check(c);
}

TEST(GeoJsonImport, Table) {
  const ImportCase cases[] = {
      {"a FeatureCollection whose type comes last, as gpsbabel writes it",
       "{\"features\": [{\"geometry\": {\"coordinates\": [2.3522, 48.8567, 35], \"type\": \"Point\"},"
       " \"properties\": {\"name\": \"Paris\", \"x\": [[[[1]]]]}, \"type\": \"Feature\"},\n"
       "{\"type\": \"Feature\", \"properties\": {\"name\": 42},"
       " \"geometry\": {\"type\": \"Point\", \"coordinates\": [-180, -90]}}],"
       " \"type\": \"FeatureCollection\"}",
       {"PARIS 48.856700\xB0N 2.352200\xB0"
        "E",
        "WP42 90.000000\xB0S 180.000000\xB0W"},
       {"feature 1: Paris -> PARIS", "feature 2: 42 -> WP42"},
       {},
       "",
       ExchangeFormat::GeoJson},
      {"a single Feature",
       "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[1,2]},"
       "\"properties\":null}",
       {"WP1 2.000000\xB0N 1.000000\xB0"
        "E"},
       {"feature 1:  -> WP1"},
       {},
       "",
       ExchangeFormat::GeoJson},
      {"features that are no Points, or no features",
       "{\"type\":\"FeatureCollection\",\"features\":["
       "{\"type\":\"Feature\",\"geometry\":{\"type\":\"LineString\",\"coordinates\":[[1,2],[3,4]]}},"
       "{\"type\":\"Feature\",\"geometry\":null},"
       "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[[1,2]]}},"
       "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[1]}},"
       "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[\"1\",\"2\"]}},"
       "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[200,2]}},"
       "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\"}},"
       "[1,2], 7,"
       "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[3,4]},"
       "\"properties\":{\"name\":\"OK\"}}]}",
       {"OK 4.000000\xB0N 3.000000\xB0"
        "E"},
       {},
       {"feature 1: a \"LineString\" geometry, not a Point", "feature 2: no geometry",
        "feature 3: the coordinates are no [longitude, latitude]",
        "feature 4: the coordinates are no [longitude, latitude]",
        "feature 5: the coordinates are no [longitude, latitude]",
        "feature 6: longitude \"200\" is beyond 180 degrees",
        "feature 7: the coordinates are no [longitude, latitude]", "feature 8: the feature is no object",
        "feature 9: the feature is no object"},
       "",
       ExchangeFormat::GeoJson},
      {"JSON that does not parse names line and column",
       "{\"type\": \"FeatureCollection\",\n \"features\": [\n {\"type\": }]}",
       {},
       {},
       {},
       "GeoJSON: parse error at line 3, column 11",
       ExchangeFormat::GeoJson},
      {"JSON that is no GeoJSON",
       "[1, 2, 3]",
       {},
       {},
       {},
       "GeoJSON: the text is no FeatureCollection and no Feature",
       ExchangeFormat::GeoJson},
      {"a number too large for the reader",
       "{\"type\":\"Feature\",\"x\":1e999}",
       {},
       {},
       {},
       "GeoJSON: number overflow",
       ExchangeFormat::GeoJson},
  };
  for (const ImportCase& c : cases) Check(c);
}

TEST(GeoJsonImport, CoordinatesAreReadToTheLastBit) {
  // Two values one unit in the last place of the 80-bit type apart, which a
  // double could not tell.
  const std::string json =
      "{\"type\":\"FeatureCollection\",\"features\":["
      "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\","
      "\"coordinates\":[0,10.125000000000000000]}},"
      "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\","
      "\"coordinates\":[0,10.125000000000000001]}}]}";
  const ImportResult result = ImportFixText(json, {}, FixDatabase{});
  ASSERT_EQ(result.fixes.size(), 2U);
  EXPECT_NE(result.fixes[0].position.z, result.fixes[1].position.z);
}

TEST(GeoJsonImport, ADeepNestingCostsNoMemory) {
  const std::size_t depth = 2'000'000;
  const std::string json = "{\"type\":\"Feature\",\"properties\":{\"deep\":" + std::string(depth, '[') +
                           std::string(depth, ']') +
                           "},\"geometry\":{\"type\":\"Point\",\"coordinates\":[1,2]}}";
  const ImportResult result = ImportFixText(json, {}, FixDatabase{});
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(result.fixes.size(), 1U);
}

TEST(FixLinesImport, Table) {
  const ImportCase cases[] = {
      {"lines as a fix file holds them, comments and empty lines passed over",
       ": sample\r\n  48\xB0"
       "51'24.12\"N    2\xB0"
       "21'07.92\"E PARIS extra\r\n\r\n"
       "29n331032 175w183344 novosibirsk/rus\r\n10.5 -20.25\r\n",
       {"PARIS 48.856700\xB0N 2.352200\xB0"
        "E",
        "NOVOSIBIRSK/RUS 29.552867\xB0N 175.309289\xB0W", "WP3 10.500000\xB0N 20.250000\xB0W"},
       {"line 4: novosibirsk/rus -> NOVOSIBIRSK/RUS", "line 5:  -> WP3"},
       {},
       "",
       ExchangeFormat::FixLines},
      {"pasted UTF-8 with degree signs; bad lines refused",
       "48\xC2\xB0"
       "51'24.12\"N 2\xC2\xB0"
       "21'07.92\"E Caf\xC3\xA9\n1\n91 0 X\n1 2 OK",
       {"CAFE 48.856700\xB0N 2.352200\xB0"
        "E",
        "OK 1.000000\xB0N 2.000000\xB0"
        "E"},
       {"line 1: Caf\xE9 -> CAFE"},
       {"line 2: no longitude", "line 3: latitude \"91\" is beyond 90 degrees"},
       "",
       ExchangeFormat::FixLines},
  };
  for (const ImportCase& c : cases) Check(c);
}

TEST(FixLinesImport, SignsFollowThePlusCoordinatesOption) {
  ImportSettings settings;
  settings.plusDir = PlusDir::SouthWest;
  Check({"south-west",
         "10 20 A\n-10 -20 B\n",
         {"A 10.000000\xB0S 20.000000\xB0W",
          "B 10.000000\xB0N 20.000000\xB0"
          "E"},
         {},
         {},
         "",
         ExchangeFormat::FixLines},
        FixDatabase{}, settings);
}

TEST(FixImport, TheFormatIsToldByTheContent) {
  struct DetectCase {
    std::string text;
    std::string fileName;
    ExchangeFormat format;
  };
  const DetectCase cases[] = {
      {"\xEF\xBB\xBF  \r\n<gpx/>", "", ExchangeFormat::Gpx},
      {"<gpx/>", "points.csv", ExchangeFormat::Gpx},
      {"{}", "a.gpx", ExchangeFormat::GeoJson},
      {" [", "", ExchangeFormat::GeoJson},
      {"\n\nname;lat;lon\n", "a.json", ExchangeFormat::Csv},
      {"\"Lat\",\"Lon\"\n", "", ExchangeFormat::Csv},
      {"48.8567 2.3522 PARIS\r\n", "", ExchangeFormat::FixLines},
      {"48.8567 2.3522 PARIS\r\n", "a.CSV", ExchangeFormat::Csv},
      {"lat lon name\n", "a.fix", ExchangeFormat::FixLines},
      {"", "a.geojson", ExchangeFormat::GeoJson},
  };
  for (const DetectCase& c : cases) EXPECT_EQ(DetectFormat(c.text, c.fileName), c.format) << c.text;
}

TEST(FixImport, NamesAreMadeDistinctFromTheDatabaseAndEachOther) {
  FixDatabase db;
  db.Add(MakeTestFix("PARIS"));
  Check({"duplicates",
         "name,lat,lon\nParis,1,2\nPARIS,3,4\nparis,5,6\n",
         {"PARIS-2 1.000000\xB0N 2.000000\xB0"
          "E",
          "PARIS-3 3.000000\xB0N 4.000000\xB0"
          "E",
          "PARIS-4 5.000000\xB0N 6.000000\xB0"
          "E"},
         {"line 2: Paris -> PARIS-2", "line 3: PARIS -> PARIS-3", "line 4: paris -> PARIS-4"},
         {},
         "",
         ExchangeFormat::Csv},
        db);
}

TEST(FixImport, EntriesBeyondTheRoomAreCounted) {
  FixDatabase db;
  for (std::uint32_t i = 0; i < MaxFixes - 2; ++i) db.Add(MakeTestFix("F" + std::to_string(i)));
  const ImportResult result = ImportFixText("name,lat,lon\nA,1,2\nB,x,2\nC,3,4\nD,5,6\nE,7,8\n", {}, db);
  ASSERT_EQ(result.fixes.size(), 2U);
  EXPECT_EQ(result.fixes[1].name, "C");
  EXPECT_EQ(result.refused.size(), 1U);
  EXPECT_EQ(result.beyondRoom, 2U);
  EXPECT_FALSE(result.Complete());
}

TEST(FixImport, TheReportListsEveryChange) {
  FixDatabase db;
  db.Add(MakeTestFix("LONDON"));
  const ImportResult result =
      ImportFixText(std::string(GpxHead) +
                        "<wpt lat=\"1\" lon=\"2\"><name>paris</name></wpt>\n"
                        "<wpt lat=\"1\" lon=\"2\"><name>rome</name></wpt>\n"
                        "<wpt lat=\"1\" lon=\"2\"><name>Port of Spain</name></wpt>\n"
                        "<wpt lat=\"1\" lon=\"2\"><name>LONDON</name></wpt>\n"
                        "<wpt lat=\"1\" lon=\"2\"/>\n"
                        "<wpt lat=\"x\" lon=\"2\"><name>BAD</name></wpt>\n"
                        "<trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk></gpx>\n",
                    {}, db);
  const std::vector<std::string> expected = {
      "GPX: 5 fixes imported, 3 renamed, 1 refused",
      "2 names only put in capitals",
      "line 5 (wpt): \"Port of Spain\" renamed PORT-OF-SPAIN",
      "line 6 (wpt): \"LONDON\" renamed LONDON-2, the name was in use",
      "line 7 (wpt): no name, named WP5",
      "line 8 (wpt): refused, latitude \"x\" is no number",
      "1 track point not imported: only waypoints and route points become fixes",
  };
  EXPECT_EQ(ImportReportLines(result), expected);
  EXPECT_FALSE(result.Complete());
}

TEST(FixImport, AFailureReportsThatNothingWasImported) {
  ImportResult result = ImportFixText("{", {}, FixDatabase{});
  const std::vector<std::string> lines = ImportReportLines(result);
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0].rfind("GeoJSON: parse error at line 1, column 2", 0), 0U) << lines[0];
  EXPECT_EQ(lines[1], "No fixes imported");
}

TEST(FixImportFile, AFileTooLargeIsRefusedBeforeItIsRead) {
  TempDir dir;
  const std::string name = dir / "huge.gpx";
  WriteFile(name, "<gpx>");
  ASSERT_EQ(::truncate(name.c_str(), static_cast<off_t>(MaxImportFileSize + 1)), 0);
  const ImportResult result = ImportFixFile(name, {}, FixDatabase{});
  EXPECT_EQ(result.failure, "Cannot open huge.gpx: larger than 64 MiB");
  EXPECT_EQ(result.format, ExchangeFormat::Gpx);
  EXPECT_EQ(ImportFixFile(dir / "missing.csv", {}, FixDatabase{}).failure,
            "Cannot open missing.csv: No such file or directory");
  EXPECT_EQ(ImportFixFile(dir.Path(), {}, FixDatabase{}).failure.rfind("Cannot open ", 0), 0U);
}

TEST(FixImportFile, ReadsLineEndsOfEveryKindAndAByteOrderMark) {
  TempDir dir;
  WriteFile(dir / "a.txt", "\xEF\xBB\xBFname,lat,lon\r1,2,3\r\nB,4,5\nC,x,6");
  const ImportResult result = ImportFixFile(dir / "a.txt", {}, FixDatabase{});
  ASSERT_EQ(result.fixes.size(), 2U);
  ASSERT_EQ(result.refused.size(), 1U);
  EXPECT_EQ(result.refused[0].place, "line 4");
  EXPECT_EQ(result.fixes[0].name, "WP1");
}

TEST(FixImportFile, AFailingDiskIsReported) {
  TempDir dir;
  WriteFile(dir / "a.csv", "name,lat,lon\nA,1,2\n");
  testing::FailingReads failing(0);
  const ImportResult result = ImportFixFile(dir / "a.csv", {}, FixDatabase{}, failing.calls);
  EXPECT_EQ(result.failure, "Cannot read a.csv: Input/output error");
  EXPECT_TRUE(result.fixes.empty());
}

}  // namespace
}  // namespace navorix
