// Importing, pasting, exporting and copying through the workbench: where the
// fixes go, what becomes current, what is kept when a file cannot be read,
// and that the report reaches the view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/workbench/workbench_test_support.h"

namespace navorix {
namespace {

using testing::ReadFile;
using testing::WorkbenchTest;
using testing::WriteFile;

const char* const TwoWaypoints =
    "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
    "<wpt lat=\"48.8567\" lon=\"2.3522\"><name>Paris</name></wpt>\n"
    "<wpt lat=\"91\" lon=\"0\"><name>Nowhere</name></wpt>\n"
    "<wpt lat=\"-33.8688\" lon=\"151.2093\"><name>B</name></wpt>\n</gpx>\n";

class ExchangeTest : public WorkbenchTest {
 protected:
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (std::uint16_t pos = 1; pos <= bench->Fixes().Count(); ++pos) {
      names.push_back(bench->Fixes().Get(pos).name.Str());
    }
    return names;
  }
};

TEST_F(ExchangeTest, ImportAppendsMakesTheFirstNewFixCurrentAndReportsEveryEntry) {
  AddNames({"A", "B"});
  WriteFile(Data("in.gpx"), TwoWaypoints);
  ImportResult result;
  // A refused entry makes the import incomplete: the batch fails on it.
  EXPECT_FALSE(Bench().ImportFixes(Data("in.gpx"), false, result));
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "PARIS", "B-2"}));
  EXPECT_EQ(View().selected, 2);
  ExpectRowsMatch();
  ASSERT_EQ(View().entryReports.size(), 1u);
  const std::vector<std::string> expected = {"GPX: 2 fixes imported, 1 renamed, 1 refused",
                                             "1 name only put in capitals",
                                             "line 5 (wpt): \"B\" renamed B-2, the name was in use",
                                             "line 4 (wpt): refused, latitude \"91\" is beyond 90 degrees"};
  EXPECT_EQ(View().entryReports[0], expected);
}

TEST_F(ExchangeTest, ClearingFirstWaitsUntilTheFileWasRead) {
  AddNames({"A", "B"});
  ImportResult result;
  EXPECT_FALSE(Bench().ImportFixes(Data("missing.gpx"), true, result));
  EXPECT_FALSE(result.failure.empty());
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B"}));
  // Read, the file replaces the fixes, and its names are free again.
  WriteFile(Data("in.csv"), "name,lat,lon\r\nA,1,2\r\nB,3,4\r\n");
  EXPECT_TRUE(Bench().ImportFixes(Data("in.csv"), true, result));
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B"}));
  EXPECT_TRUE(result.renamed.empty());
  EXPECT_EQ(View().selected, 0);
  ExpectRowsMatch();
}

TEST_F(ExchangeTest, PasteGoesAfterTheCurrentRowOrAtTheEndFromTheBlankRow) {
  AddNames({"A", "B", "C"});
  Bench().SelectRow(0);
  ImportResult result;
  EXPECT_TRUE(Bench().PasteFixes("10.5N 20E X\n11N 21E Y\n", result));
  EXPECT_EQ(result.format, ExchangeFormat::FixLines);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "X", "Y", "B", "C"}));
  EXPECT_EQ(View().selected, 1);
  ExpectRowsMatch();
  Bench().SelectRow(Bench().RowCount() - 1);
  EXPECT_TRUE(Bench().PasteFixes("name;lat;lon\nz;1,5;2\n", result));
  EXPECT_EQ(Names().back(), "Z");
  EXPECT_EQ(View().selected, 5);
  ExpectRowsMatch();
  // Nothing that reads: no fix, no row changes, a report all the same.
  const std::size_t reports = View().entryReports.size();
  EXPECT_TRUE(Bench().PasteFixes("", result));
  EXPECT_EQ(Bench().Fixes().Count(), 6);
  EXPECT_EQ(View().entryReports.size(), reports + 1);
}

TEST_F(ExchangeTest, TheCopiedFixLinePastesBackToTheSameRow) {
  AddFix("MIDPOINT/NEW", "48.85671234", "-2.35224321");
  Bench().SelectRow(0);
  const std::string line = Bench().CurrentFixLine();
  ASSERT_FALSE(line.empty());
  ImportResult result;
  EXPECT_TRUE(Bench().PasteFixes(line, result));
  ASSERT_EQ(Bench().Fixes().Count(), 2);
  EXPECT_EQ(Bench().Fixes().Get(2).name.Str(), "MIDPOINT/NEW-2");
  EXPECT_EQ(Bench().RowText(1).substr(16), Bench().RowText(0).substr(16));
  Bench().SelectRow(2);
  EXPECT_EQ(Bench().CurrentFixLine(), "");
}

TEST_F(ExchangeTest, TheShownRecordIsCopiedAsItsThreeLines) {
  EXPECT_EQ(Bench().ShownRecordText(), "");
  AddNames({"A", "B"});
  ASSERT_EQ(Run(OperationTag::FixFix, {1, 2}), RunResult::Logged);
  const LogDisplayState shown = Bench().LogDisplay();
  EXPECT_EQ(Bench().ShownRecordText(), shown.line1 + "\n" + shown.line2 + "\n" + shown.line3 + "\n");
}

TEST_F(ExchangeTest, ExportChoosesTheFormatByTheExtensionAndRefusesAnUnknownOne) {
  AddFix("PARIS", "48.8567", "2.3522");
  EXPECT_TRUE(Bench().ExportFixes(Data("out.GPX")));
  EXPECT_NE(ReadFile(Data("out.GPX")).find("<wpt lat=\"48.8567\" lon=\"2.3522\">"), std::string::npos);
  EXPECT_TRUE(Bench().ExportFixes(Data("out.fix")));
  EXPECT_EQ(ReadFile(Data("out.fix")).find("<"), std::string::npos);  // a fix file's line
  EXPECT_NE(ReadFile(Data("out.fix")).find(" PARIS"), std::string::npos);
  EXPECT_FALSE(Bench().ExportFixes(Data("out.txt")));
  ASSERT_EQ(View().errors.size(), 1u);
  EXPECT_EQ(View().errors[0], "Cannot write out.txt: the name must end in .gpx, .csv, .geojson or .fix");
  EXPECT_FALSE(Bench().ExportFixes(Data("no/such/dir.csv")));
  EXPECT_EQ(View().errors.size(), 2u);
  // What was exported comes back under the same names into an empty base.
  Bench().ClearFixes();
  ImportResult result;
  EXPECT_TRUE(Bench().ImportFixes(Data("out.GPX"), false, result));
  EXPECT_EQ(Names(), std::vector<std::string>{"PARIS"});
  EXPECT_TRUE(result.renamed.empty());
}

}  // namespace
}  // namespace navorix
