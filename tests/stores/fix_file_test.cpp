// Fix files as the database reads and writes them.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/error.h"
#include "stores/atomic_file.h"
#include "stores/fix_db.h"
#include "stores_test_support.h"
#include "text/display_options.h"
#include "text/format.h"
#include "text/parse.h"

namespace navorix {
namespace {

using testing::FileLine;
using testing::LoadFixes;
using testing::MakeTestFix;
using testing::ReadFile;
using testing::SaveFixes;
using testing::TempDir;
using testing::WriteFile;

// Loads Text as a fix file into a fresh database.
struct Loaded {
  explicit Loaded(const std::string& text) {
    WriteFile(dir / "in.fix", text);
    result = db.LoadFromFile(dir / "in.fix", PlusDir::NorthEast, EarthModel{}, report);
  }
  TempDir dir;
  FixDatabase db;
  LoadReport report;
  bool result = false;
};

const char* const Good =
    " 29\xB0"
    "33'10.32\"N 175\xB0"
    "18'33.44\"W NOVOSIBIRSK/RUS";

TEST(FixFile, AnEmptyLineEndsTheData) {
  Loaded file(std::string(Good) + "\r\n10 20 SECOND\r\n\r\n10 20 LOST\r\n");
  EXPECT_FALSE(file.result);
  ASSERT_EQ(file.db.Count(), 2);
  EXPECT_EQ(file.db.Get(1).name, "NOVOSIBIRSK/RUS");
  EXPECT_EQ(file.db.Get(2).name, "SECOND");
  EXPECT_EQ(file.db.FindName("LOST"), 0);
}

TEST(FixFile, TheLastLineLoadsWithOrWithoutAFinalBreak) {
  Loaded without("10 20 A\r\n30 40 B");
  EXPECT_TRUE(without.result);
  EXPECT_EQ(without.db.Count(), 2);
  Loaded with("10 20 A\r\n30 40 B\r\n");
  EXPECT_TRUE(with.result);
  EXPECT_EQ(with.db.Count(), 2);
}

TEST(FixFile, EveryKindOfLineEndLoads) {
  Loaded lf("10 20 A\n30 40 B\n50 60 C");
  EXPECT_EQ(lf.db.Count(), 3);
  Loaded cr("10 20 A\r30 40 B\r50 60 C\r");
  EXPECT_EQ(cr.db.Count(), 3);
  EXPECT_EQ(cr.db.Get(3).name, "C");
}

TEST(FixFile, CommentsAreSkippedAndAFinalCommentEndsTheReading) {
  Loaded file(":header\r\n10 20 A\r\n: middle\r\n30 40 B\r\n:last\r\n");
  EXPECT_FALSE(file.result);
  ASSERT_EQ(file.db.Count(), 2);
  EXPECT_EQ(file.db.Get(2).name, "B");
  // A blank before the ":" makes it a data line (which does not read).
  Loaded data(" :10 20 A\r\n");
  EXPECT_TRUE(data.result);
  ASSERT_EQ(data.db.Count(), 1);
  EXPECT_FALSE(data.db.Get(1).valid);
}

TEST(FixFile, FieldsAreFoundAfterSquashingBlanks) {
  Loaded file("   10.5   -20.25   kilo-1   fourth field\r\n");
  ASSERT_EQ(file.db.Count(), 1);
  const FixRecord fix = file.db.Get(1);
  EXPECT_TRUE(fix.valid);
  EXPECT_EQ(fix.name, "KILO-1");
  EXPECT_NEAR(static_cast<double>(PosLat(EarthModel{}, fix.position) * RadToDeg), 10.5, 1e-12);
  EXPECT_NEAR(static_cast<double>(PosLon(fix.position) * RadToDeg), -20.25, 1e-12);
}

TEST(FixFile, LinesThatDoNotReadAddEmptyEntries) {
  Loaded file("10 20\r\n    \r\nXX 20 BADLAT\r\n30 40 OK\r\n");
  ASSERT_EQ(file.db.Count(), 4);
  for (std::uint16_t pos = 1; pos <= 3; ++pos) {
    const FixRecord fix = file.db.Get(pos);
    EXPECT_FALSE(fix.valid);
    EXPECT_TRUE(fix.name.Empty());
    EXPECT_EQ(fix.position, Vector3{});
    EXPECT_EQ(FixText(DisplayOptions{}, EarthModel{}, fix), "");
  }
  // The name of a line that did not read is not found by a lookup.
  EXPECT_EQ(file.db.FindName("BADLAT"), 0);
  EXPECT_EQ(file.db.FindName(""), 0);
  EXPECT_EQ(file.db.FindName("OK"), 4);
}

TEST(FixFile, EntriesThatAreNotValidAreLeftOutOfTheFile) {
  // Written as an empty line, such an entry would end the data and lose
  // every fix after it.
  Loaded file("10 20 A\r\nnonsense\r\n30 40 B\r\n");
  ASSERT_EQ(file.db.Count(), 3);
  SaveFixes(file.db, file.dir / "out.fix");
  FixDatabase again;
  EXPECT_TRUE(LoadFixes(again, file.dir / "out.fix"));
  ASSERT_EQ(again.Count(), 2);
  EXPECT_EQ(again.Get(2).name, "B");
}

TEST(FixFile, EmptyDatabaseAndEmptyFile) {
  TempDir dir;
  FixDatabase db;
  SaveFixes(db, dir / "empty.fix");
  EXPECT_EQ(ReadFile(dir / "empty.fix"), "");
  EXPECT_FALSE(LoadFixes(db, dir / "empty.fix"));
  EXPECT_EQ(db.Count(), 0);
}

TEST(FixFile, LoadingAppendsToWhatIsThere) {
  Loaded file("10 20 A\r\n");
  LoadFixes(file.db, file.dir / "in.fix");
  EXPECT_EQ(file.db.Count(), 2);
}

TEST(FixFile, EveryLatLonFormatReadsBackUnderEveryOther) {
  ProgramSettings settings;
  TempDir dir;
  FixDatabase db;
  // Hemispheres, a pole, the antimeridian, a value that rounds up to whole
  // minutes at High accuracy, and a longest name with a suffix.
  db.Add(MakeTestFix("NOVOSIBIRSK/RUS", 29.552867L, -175.309289L));
  db.Add(MakeTestFix("SOUTH", -89.99999L, 180.0L));
  db.Add(MakeTestFix("NORTHPOLE", 90.0L, 0.0L));
  db.Add(MakeTestFix("ROUND", 29.99999999L, -0.0000001L));
  db.Add(MakeTestFix("ABCDEFGHIJKLM/XY", -0.5L, 0.25L));
  for (int format = 0; format < LatLonFormatCount; ++format) {
    FromIndex(format, LatLonFormatCount, settings.display.latLonFormat);
    const std::string name = dir / ("f" + std::to_string(format) + ".fix");
    SaveFixes(db, name, settings);
    const std::string written = ReadFile(name);
    for (int other = 0; other < LatLonFormatCount; ++other) {
      FromIndex(other, LatLonFormatCount, settings.display.latLonFormat);
      FixDatabase back;
      ASSERT_TRUE(LoadFixes(back, name, settings)) << "format " << int(format) << " read as " << int(other);
      ASSERT_EQ(back.Count(), db.Count());
      for (std::uint16_t pos = 1; pos <= db.Count(); ++pos) {
        const FixRecord a = db.Get(pos);
        const FixRecord b = back.Get(pos);
        EXPECT_TRUE(b.valid);
        EXPECT_EQ(a.name, b.name);
        // Within the 0.01 second (or 1e-6 degree) that High accuracy prints.
        const Vector3 d = TriSub(a.position, b.position);
        EXPECT_LT(std::sqrt(static_cast<double>(TriDot(d, d))), 5e-8)
            << "format " << int(format) << " fix " << pos;
      }
      // Saved again in the first format, the file is the same byte for byte.
      FromIndex(format, LatLonFormatCount, settings.display.latLonFormat);
      SaveFixes(back, dir / "again.fix", settings);
      EXPECT_EQ(ReadFile(dir / "again.fix"), written) << "format " << int(format);
    }
  }
}

TEST(FixFile, LinesAreTheFixFileLinesWithCrLf) {
  TempDir dir;
  FixDatabase db;
  db.Add(MakeTestFix("A", 1.0L, 2.0L));
  db.Add(MakeTestFix("B/X", -3.0L, -4.0L));
  SaveFixes(db, dir / "out.fix");
  EXPECT_EQ(ReadFile(dir / "out.fix"), FileLine(db.Get(1)) + "\r\n" + FileLine(db.Get(2)) + "\r\n");
}

TEST(FixFile, AFailedSaveLeavesTheUsersFileIntact) {
  TempDir dir;
  const std::string oldText = "10 20 OLD\r\n";
  WriteFile(dir / "user.fix", oldText);
  FixDatabase db;
  for (int i = 0; i < 5000; ++i) db.Add(MakeTestFix("N" + std::to_string(i)));
  {
    testing::FailingWrites failing(0, EIO);
    EXPECT_THROW(SaveFixes(db, dir / "user.fix", {}, failing.calls), Error);
  }
  EXPECT_EQ(ReadFile(dir / "user.fix"), oldText);
  EXPECT_EQ(testing::DirEntries(dir.Path()), std::vector<std::string>{"user.fix"});
}

TEST(FixFile, AMissingFileIsAFailureWithItsName) {
  TempDir dir;
  FixDatabase db;
  try {
    LoadFixes(db, dir / "gone.fix");
    FAIL() << "a missing file loaded";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open gone.fix: No such file or directory");
  }
}

TEST(FixFile, AFullDatabaseDropsTheRestButReadsOn) {
  TempDir dir;
  FixDatabase db;
  for (std::uint32_t i = 1; i < MaxFixes; ++i) db.Add(MakeTestFix("F"));
  WriteFile(dir / "three.fix", "10 20 FIRST\r\n10 20 SECOND\r\n10 20 THIRD\r\n");
  EXPECT_FALSE(LoadFixes(db, dir / "three.fix"));
  EXPECT_EQ(db.Count(), 65535);
  EXPECT_EQ(db.Get(65535).name, "FIRST");
}

TEST(FixFile, AtMost65535DataLinesAreRead) {
  TempDir dir;
  std::string text;
  text.reserve(6u << 20);
  for (int i = 0; i < 70000; ++i) text += ":comments do not count\r\n1 2 N\r\n";
  WriteFile(dir / "long.fix", text);
  FixDatabase db;
  EXPECT_TRUE(LoadFixes(db, dir / "long.fix"));
  EXPECT_EQ(db.Count(), 65535);
}

TEST(FixFile, GarbageLoadsWhatItCanWithoutHarm) {
  TempDir dir;
  std::string junk;
  for (int i = 0; i < 256; ++i) junk += static_cast<char>(i == '\r' || i == '\n' ? 'x' : i);
  const std::string huge(10u << 20, '9');  // a 10 MB line of digits
  WriteFile(dir / "junk.fix", junk + "\n" + std::string("\0\0\0", 3) + "\n" + huge + " 20 HUGE\n10 20 AFTER");
  FixDatabase db;
  EXPECT_TRUE(LoadFixes(db, dir / "junk.fix"));
  ASSERT_EQ(db.Count(), 4);
  EXPECT_FALSE(db.Get(1).valid);
  EXPECT_FALSE(db.Get(2).valid);
  EXPECT_FALSE(db.Get(3).valid);
  EXPECT_EQ(db.Get(4).name, "AFTER");
}

TEST(FixFileReport, FixesBeyondTheCapacityAreCountedNotDropped) {
  std::string text;
  text.reserve(1u << 20);
  for (int i = 0; i < 70000; ++i) text += "1 2 N\r\n";
  Loaded file(text);
  EXPECT_TRUE(file.result);
  EXPECT_EQ(file.db.Count(), 65535);
  EXPECT_EQ(file.report.taken, 65535u);
  EXPECT_EQ(file.report.beyondCapacity, 4465u);
  EXPECT_EQ(file.report.capacity, 65535u);
  EXPECT_FALSE(file.report.Complete());
  EXPECT_EQ(LoadReportMessage(file.report), "Fix file: 4465 fixes beyond 65535 not loaded");

  // Into a database with room for one more: the other two are counted.
  FixDatabase db;
  for (std::uint32_t i = 1; i < MaxFixes; ++i) db.Add(MakeTestFix("F"));
  WriteFile(file.dir / "three.fix", "10 20 FIRST\r\n:note\r\n10 20 SECOND\r\n10 20 THIRD\r\n");
  LoadReport report;
  EXPECT_FALSE(db.LoadFromFile(file.dir / "three.fix", PlusDir::NorthEast, EarthModel{}, report));
  EXPECT_EQ(report.taken, 1u);
  EXPECT_EQ(report.beyondCapacity, 2u);
  EXPECT_EQ(LoadReportMessage(report), "Fix file: 2 fixes beyond 65535 not loaded");
}

TEST(FixFileReport, LinesAfterTheEndOfDataAreCounted) {
  Loaded file("10 20 A\r\n\r\n30 40 B\r\n:comment\r\n\r\nnot a fix\r\n\r\n");
  EXPECT_EQ(file.db.Count(), 1);
  EXPECT_EQ(file.report.afterEndOfData, 2u);
  EXPECT_EQ(LoadReportMessage(file.report), "Fix file: 2 lines after the empty line not read");
  // Empty lines and comments at the end lose nothing.
  Loaded tail("10 20 A\r\n\r\n\r\n:end\r\n");
  EXPECT_TRUE(tail.report.Complete());
  EXPECT_EQ(LoadReportMessage(tail.report), "");
}

TEST(FixFileReport, UnreadableLinesAreCountedAndTheWorstLossComesFirst) {
  // Two fields, blanks only, a bad latitude, tabs as separators.
  Loaded file("10 20\r\n    \r\nXX 20 BADLAT\r\n10\t20\tTABS\r\n30 40 OK\r\n\r\n50 60 LATE\r\n");
  EXPECT_EQ(file.db.Count(), 5);
  EXPECT_EQ(file.report.taken, 1u);
  EXPECT_EQ(file.report.unreadable, 4u);
  EXPECT_EQ(LoadReportLines(file.report),
            (std::vector<std::string>{"Fix file: 4 unreadable lines shown as empty rows",
                                      "Fix file: 1 line after the empty line not read"}));
  Loaded one("bad\r\n");
  EXPECT_EQ(LoadReportMessage(one.report), "Fix file: 1 unreadable line shown as an empty row");
}

TEST(FixFileReport, NamesTheFixDialogRefusesDoNotRead) {
  // A control character or DEL inside (at the ends they are trimmed), a
  // digit or a Latin-1 letter first.
  Loaded file(
      "10 20 AB\x01"
      "CD\r\n10 20 A\x7F"
      "B\r\n10 20 1ST\r\n10 20 \xE5RHUS\r\n10 20 NAME/X-1.\r\n");
  ASSERT_EQ(file.db.Count(), 5);
  EXPECT_EQ(file.report.unreadable, 4u);
  for (std::uint16_t pos = 1; pos <= 4; ++pos) EXPECT_FALSE(file.db.Get(pos).valid) << pos;
  // What does read is written back as it was read.
  const FixRecord fix = file.db.Get(5);
  ASSERT_TRUE(fix.valid);
  FixRecord back;
  ParseFixLine(PlusDir::NorthEast, EarthModel{}, back, FileLine(fix));
  EXPECT_TRUE(back.valid);
  EXPECT_EQ(back.name, "NAME/X-1.");
  EXPECT_EQ(FileLine(back), FileLine(fix));
}

TEST(FixFileReport, AByteOrderMarkLosesNoFix) {
  Loaded file(
      "\xEF\xBB\xBF"
      "10 20 FIRST\r\n30 40 SECOND\r\n");
  ASSERT_EQ(file.db.Count(), 2);
  EXPECT_EQ(file.db.Get(1).name, "FIRST");
  EXPECT_TRUE(file.db.Get(1).valid);
  EXPECT_TRUE(file.report.Complete());
}

TEST(FixFileReport, AReadFailureKeepsWhatWasReadAndIsReported) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 6000; ++i) text += "10 20 N" + std::to_string(i) + "\r\n";  // > 64 KiB
  WriteFile(dir / "part.fix", text);
  FixDatabase db;
  LoadReport report;
  {
    testing::FailingReads disk(1);
    EXPECT_FALSE(db.LoadFromFile(dir / "part.fix", PlusDir::NorthEast, EarthModel{}, report, disk.calls));
  }
  EXPECT_GT(db.Count(), 0);
  EXPECT_LT(db.Count(), 6000);
  EXPECT_EQ(report.taken, db.Count());
  EXPECT_EQ(report.failure, "Cannot read part.fix: Input/output error");
  EXPECT_EQ(LoadReportMessage(report), "Cannot read part.fix: Input/output error");
}

TEST(FixFileReport, MessagesFitTheErrorBoxWhateverTheCounts) {
  LoadReport report;
  report.beyondCapacity = report.capacity = report.afterEndOfData = report.unreadable = report.longLines =
      UINT32_MAX;
  report.failure = "Cannot read " + std::string(100, 'n') + ".fix: Input/output error";
  for (const LoadSource source : {LoadSource::FixFile, LoadSource::HistoryFile}) {
    report.source = source;
    const std::vector<std::string> lines = LoadReportLines(report);
    EXPECT_EQ(lines.size(), 5u);
    for (const std::string& line : lines) EXPECT_LE(line.size(), MaxMessageLength) << line;
  }
}

}  // namespace
}  // namespace navorix
