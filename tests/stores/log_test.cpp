// The operation log and the history file.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "geometry/error.h"
#include "stores/atomic_file.h"
#include "stores/line_reader.h"
#include "stores/load_report.h"
#include "stores/log_list.h"
#include "stores_test_support.h"

namespace navorix {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

void AddNumbered(LogList& log, int from, int to) {
  for (int i = from; i <= to; ++i) {
    const std::string n = std::to_string(i);
    log.Add("a" + n, "b" + n, "c" + n);
  }
}

TEST(LogList, AFullLogDropsItsOldestRecord) {
  LogList log;
  AddNumbered(log, 1, 999);
  EXPECT_EQ(log.Count(), 999);
  log.Add("new", "", "result");
  EXPECT_EQ(log.Count(), 999);
  EXPECT_EQ(log.GetLine(1, 1), "a2");
  EXPECT_EQ(log.GetLine(999, 1), "new");
  EXPECT_EQ(log.GetLine(999, 2), "");
  EXPECT_EQ(log.GetLine(1000, 1), "");
  EXPECT_EQ(log.GetLine(1, 4), "");
}

TEST(LogList, HistoryFileRoundTripKeepsEmptyLinesAndEveryByte) {
  TempDir dir;
  LogList log;
  log.Add("Distance from A", "", "  (S) 12.34 km");
  log.Add(std::string("\xB0 and \0 kept", 12), "", "");
  log.SaveToFile(dir / "navorix.his");
  EXPECT_EQ(ReadFile(dir / "navorix.his"), std::string("Distance from A\r\n\r\n  (S) 12.34 km\r\n") +
                                               std::string("\xB0 and \0 kept", 12) + "\r\n\r\n\r\n");
  LogList back;
  back.LoadFromFile(dir / "navorix.his");
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.GetLine(1, 3), "  (S) 12.34 km");
  EXPECT_EQ(back.GetLine(2, 1), std::string("\xB0 and \0 kept", 12));
  EXPECT_EQ(back.GetLine(2, 3), "");
}

TEST(LogList, SevenLinesLoadAsThreeRecords) {
  TempDir dir;
  WriteFile(dir / "h", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
  LogList log;
  log.LoadFromFile(dir / "h");
  ASSERT_EQ(log.Count(), 3);
  EXPECT_EQ(log.GetLine(3, 1), "7");
  EXPECT_EQ(log.GetLine(3, 2), "");
  EXPECT_EQ(log.GetLine(3, 3), "");
  // The same without a final line break, and with LF or CR line ends.
  WriteFile(dir / "h", "1\n2\n3\n4\n5\n6\n7");
  LogList lf;
  lf.LoadFromFile(dir / "h");
  EXPECT_EQ(lf.Count(), 3);
  WriteFile(dir / "h", "1\r2\r3\r4\r");
  LogList cr;
  cr.LoadFromFile(dir / "h");
  ASSERT_EQ(cr.Count(), 2);
  EXPECT_EQ(cr.GetLine(2, 1), "4");
}

TEST(LogList, ALongHistoryKeepsItsLast999Records) {
  TempDir dir;
  std::string text;
  for (int i = 1; i <= 1200; ++i) {
    const std::string n = std::to_string(i);
    text += "a" + n + "\r\nb" + n + "\r\nc" + n + "\r\n";
  }
  WriteFile(dir / "h", text);
  LogList log;
  log.Add("before", "", "");  // loading appends, so this goes first
  log.LoadFromFile(dir / "h");
  ASSERT_EQ(log.Count(), 999);
  EXPECT_EQ(log.GetLine(1, 1), "a202");
  EXPECT_EQ(log.GetLine(999, 3), "c1200");
}

TEST(LogList, AMillionLineHistoryKeepsOnlyItsLastRecords) {
  TempDir dir;
  std::string text;
  text.reserve(8u << 20);
  for (int i = 0; i < 1000000; ++i) text += std::to_string(i) + "\n";
  WriteFile(dir / "h", text);
  LogList log;
  log.LoadFromFile(dir / "h");
  ASSERT_EQ(log.Count(), 999);
  // 333334 records, the last one "999999" with two empty lines.
  EXPECT_EQ(log.GetLine(999, 1), "999999");
  EXPECT_EQ(log.GetLine(999, 2), "");
  EXPECT_EQ(log.GetLine(1, 1), std::to_string(999999 - 998 * 3));
}

TEST(LogList, ABinaryHistoryWithHugeLinesLoadsInBoundedSpace) {
  TempDir dir;
  std::string text(std::string("\0\xFF\x1A", 3) + "\n");
  text += std::string(10u << 20, 'x');  // 10 MB line, no final break
  WriteFile(dir / "h", text);
  LogList log;
  log.LoadFromFile(dir / "h");
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.GetLine(1, 1), std::string("\0\xFF\x1A", 3));
  EXPECT_EQ(log.GetLine(1, 2).size(), LineReader::DefaultMaxLength);
}

TEST(LogList, FileFailuresAreRaisedAndAFailedSaveKeepsTheOldFile) {
  TempDir dir;
  LogList log;
  EXPECT_THROW(log.LoadFromFile(dir / "missing.his"), Error);
  WriteFile(dir / "navorix.his", "old\r\n\r\n\r\n");
  log.Add("new", "new", "new");
  {
    testing::FailingWrites failing;
    EXPECT_THROW(log.SaveToFile(dir / "navorix.his", failing.calls), Error);
  }
  EXPECT_EQ(ReadFile(dir / "navorix.his"), "old\r\n\r\n\r\n");
}

TEST(LogList, LoadingReportsDroppedRecordsCutLinesAndAReadFailure) {
  TempDir dir;
  std::string text;
  for (int i = 1; i <= 1200; ++i) text += "a\r\nb\r\nc\r\n";
  text += std::string(5000, 'x') + "\r\n";
  WriteFile(dir / "h", text);
  LogList log;
  log.Add("before", "", "");
  LoadReport report;
  log.LoadFromFile(dir / "h", report);
  EXPECT_EQ(report.source, LoadSource::HistoryFile);
  EXPECT_EQ(report.taken, 1201u);
  EXPECT_EQ(report.beyondCapacity, 203u) << "the record before and the first 202 of the file";
  EXPECT_EQ(report.longLines, 1u);
  EXPECT_EQ(LoadReportLines(report),
            (std::vector<std::string>{"History file: 203 oldest records beyond 999 dropped",
                                      "History file: 1 long line cut short"}));

  // A read failure half-way keeps the records before it and is reported,
  // not raised (the one-argument load still raises it).
  WriteFile(dir / "big", std::string(100 * 1024, 'y') + "\r\n\r\n\r\n" + std::string(100 * 1024, 'z'));
  {
    // The long line and the rest of the first record come through.
    testing::FailingReads disk(2);
    LogList part;
    part.LoadFromFile(dir / "big", report, disk.calls);
    EXPECT_EQ(report.failure, "Cannot read big: Input/output error");
    EXPECT_EQ(LoadReportMessage(report), "Cannot read big: Input/output error");
    EXPECT_EQ(part.Count(), 1);
  }
  {
    testing::FailingReads disk(2);
    LogList raised;
    EXPECT_THROW(raised.LoadFromFile(dir / "big", disk.calls), Error);
  }
  EXPECT_TRUE(LoadReportLines(LoadReport{}).empty());
}

}  // namespace
}  // namespace navorix
