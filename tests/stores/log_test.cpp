// The operation log, its display rules and the history file.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "geometry/error.h"
#include "stores/atomic_file.h"
#include "stores/load_report.h"
#include "stores/line_reader.h"
#include "stores/log_list.h"
#include "stores/win_log_db.h"
#include "stores_test_support.h"

namespace navorix {
namespace {

using testing::ReadFile;
using testing::TFakeLogView;
using testing::TTempDir;
using testing::WriteFile;

// A template, so that a window-bound log gets its own (display) Add.
template <class Log>
void AddNumbered(Log& log, int from, int to) {
  for (int i = from; i <= to; ++i) {
    const std::string n = std::to_string(i);
    log.Add("a" + n, "b" + n, "c" + n);
  }
}

TEST(LogList, AFullLogDropsItsOldestRecord) {
  TLogList log;
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
  TTempDir dir;
  TLogList log;
  log.Add("Distance from A", "", "  (S) 12.34 km");
  log.Add(std::string("\xB0 and \0 kept", 12), "", "");
  log.SaveToFile(dir / "navorix.his");
  EXPECT_EQ(ReadFile(dir / "navorix.his"), std::string("Distance from A\r\n\r\n  (S) 12.34 km\r\n") +
                                               std::string("\xB0 and \0 kept", 12) + "\r\n\r\n\r\n");
  TLogList back;
  back.LoadFromFile(dir / "navorix.his");
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.GetLine(1, 3), "  (S) 12.34 km");
  EXPECT_EQ(back.GetLine(2, 1), std::string("\xB0 and \0 kept", 12));
  EXPECT_EQ(back.GetLine(2, 3), "");
}

TEST(LogList, SevenLinesLoadAsThreeRecords) {
  TTempDir dir;
  WriteFile(dir / "h", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
  TLogList log;
  log.LoadFromFile(dir / "h");
  ASSERT_EQ(log.Count(), 3);
  EXPECT_EQ(log.GetLine(3, 1), "7");
  EXPECT_EQ(log.GetLine(3, 2), "");
  EXPECT_EQ(log.GetLine(3, 3), "");
  // The same without a final line break, and with LF or CR line ends.
  WriteFile(dir / "h", "1\n2\n3\n4\n5\n6\n7");
  TLogList lf;
  lf.LoadFromFile(dir / "h");
  EXPECT_EQ(lf.Count(), 3);
  WriteFile(dir / "h", "1\r2\r3\r4\r");
  TLogList cr;
  cr.LoadFromFile(dir / "h");
  ASSERT_EQ(cr.Count(), 2);
  EXPECT_EQ(cr.GetLine(2, 1), "4");
}

TEST(LogList, ALongHistoryKeepsItsLast999Records) {
  TTempDir dir;
  std::string text;
  for (int i = 1; i <= 1200; ++i) {
    const std::string n = std::to_string(i);
    text += "a" + n + "\r\nb" + n + "\r\nc" + n + "\r\n";
  }
  WriteFile(dir / "h", text);
  TLogList log;
  log.Add("before", "", "");  // loading appends, so this goes first
  log.LoadFromFile(dir / "h");
  ASSERT_EQ(log.Count(), 999);
  EXPECT_EQ(log.GetLine(1, 1), "a202");
  EXPECT_EQ(log.GetLine(999, 3), "c1200");
}

TEST(LogList, AMillionLineHistoryKeepsOnlyItsLastRecords) {
  TTempDir dir;
  std::string text;
  text.reserve(8u << 20);
  for (int i = 0; i < 1000000; ++i) text += std::to_string(i) + "\n";
  WriteFile(dir / "h", text);
  TLogList log;
  log.LoadFromFile(dir / "h");
  ASSERT_EQ(log.Count(), 999);
  // 333334 records, the last one "999999" with two empty lines.
  EXPECT_EQ(log.GetLine(999, 1), "999999");
  EXPECT_EQ(log.GetLine(999, 2), "");
  EXPECT_EQ(log.GetLine(1, 1), std::to_string(999999 - 998 * 3));
}

TEST(LogList, ABinaryHistoryWithHugeLinesLoadsInBoundedSpace) {
  TTempDir dir;
  std::string text(std::string("\0\xFF\x1A", 3) + "\n");
  text += std::string(10u << 20, 'x');  // 10 MB line, no final break
  WriteFile(dir / "h", text);
  TLogList log;
  log.LoadFromFile(dir / "h");
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.GetLine(1, 1), std::string("\0\xFF\x1A", 3));
  EXPECT_EQ(log.GetLine(1, 2).size(), TLineReader::DefaultMaxLength);
}

TEST(LogList, FileFailuresAreRaisedAndAFailedSaveKeepsTheOldFile) {
  TTempDir dir;
  TLogList log;
  EXPECT_THROW(log.LoadFromFile(dir / "missing.his"), Error);
  WriteFile(dir / "navorix.his", "old\r\n\r\n\r\n");
  log.Add("new", "new", "new");
  {
    testing::TFailingWrites failing;
    EXPECT_THROW(log.SaveToFile(dir / "navorix.his"), Error);
  }
  EXPECT_EQ(ReadFile(dir / "navorix.his"), "old\r\n\r\n\r\n");
}

TEST(LogList, LoadingReportsDroppedRecordsCutLinesAndAReadFailure) {
  TTempDir dir;
  std::string text;
  for (int i = 1; i <= 1200; ++i) text += "a\r\nb\r\nc\r\n";
  text += std::string(5000, 'x') + "\r\n";
  WriteFile(dir / "h", text);
  TLogList log;
  log.Add("before", "", "");
  TLoadReport report;
  log.LoadFromFile(dir / "h", report);
  EXPECT_EQ(report.Source, TLoadSource::HistoryFile);
  EXPECT_EQ(report.Taken, 1201u);
  EXPECT_EQ(report.BeyondCapacity, 203u) << "the record before and the first 202 of the file";
  EXPECT_EQ(report.LongLines, 1u);
  EXPECT_EQ(LoadReportLines(report),
            (std::vector<std::string>{"History file: 203 oldest records beyond 999 dropped",
                                      "History file: 1 long line cut short"}));

  // A read failure half-way keeps the records before it and is reported,
  // not raised (the one-argument load still raises it).
  WriteFile(dir / "big", std::string(100 * 1024, 'y') + "\r\n\r\n\r\n" + std::string(100 * 1024, 'z'));
  {
    // The long line and the rest of the first record come through.
    testing::TFailingReads disk(2);
    TLogList part;
    part.LoadFromFile(dir / "big", report);
    EXPECT_EQ(report.Failure, "Cannot read big: Input/output error");
    EXPECT_EQ(LoadReportMessage(report), "Cannot read big: Input/output error");
    EXPECT_EQ(part.Count(), 1);
  }
  {
    testing::TFailingReads disk(2);
    TLogList raised;
    EXPECT_THROW(raised.LoadFromFile(dir / "big"), Error);
  }
  EXPECT_TRUE(LoadReportLines(TLoadReport{}).empty());
}

class WinLogDBTest : public ::testing::Test {
 protected:
  TFakeLogView view;
  TWinLogDB log{view};
};

TEST_F(WinLogDBTest, AddShowsTheNewRecord) {
  log.Add("one", "two", "three");
  EXPECT_EQ(log.Current(), 1);
  EXPECT_EQ(view.lines, (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(view.number, "1");
  EXPECT_FALSE(view.up);
  EXPECT_FALSE(view.down);
}

TEST_F(WinLogDBTest, OneMoreResultInAFullLogShowsRecord999) {
  AddNumbered(log, 1, 999);
  log.Add("new", "x", "y");
  EXPECT_EQ(log.Current(), 999);
  EXPECT_EQ(view.number, "999");
  EXPECT_EQ(view.lines[0], "new");
  EXPECT_TRUE(view.up);
  EXPECT_FALSE(view.down);
}

TEST_F(WinLogDBTest, StepButtonsAndTheirLimits) {
  AddNumbered(log, 1, 3);
  log.ShowPrevious();
  log.ShowPrevious();
  EXPECT_EQ(log.Current(), 1);
  EXPECT_FALSE(view.up);
  EXPECT_TRUE(view.down);
  log.ShowPrevious();  // nothing before record 1
  EXPECT_EQ(log.Current(), 1);
  log.ShowNext();
  EXPECT_EQ(view.lines[0], "a2");
  EXPECT_TRUE(view.up);
  EXPECT_TRUE(view.down);
  log.ShowNext();
  log.ShowNext();
  EXPECT_EQ(log.Current(), 3);
  EXPECT_EQ(view.focus_calls, 6);
}

TEST_F(WinLogDBTest, DeletingShowsTheFollowingOrTheNewLastRecord) {
  AddNumbered(log, 1, 3);
  log.ShowLogRecord(2);
  log.DeleteCurrent();  // the middle one: record 3 moves up under number 2
  EXPECT_EQ(log.Current(), 2);
  EXPECT_EQ(view.lines[0], "a3");
  EXPECT_EQ(view.number, "2");
  log.DeleteCurrent();  // the last one: the new last record is shown
  EXPECT_EQ(log.Current(), 1);
  EXPECT_EQ(view.lines[0], "a1");
  log.DeleteCurrent();  // the only one: nothing is shown
  EXPECT_EQ(log.Current(), 0);
  EXPECT_EQ(view.number, "0");
  EXPECT_EQ(view.lines, (std::vector<std::string>{"", "", ""}));
  log.DeleteCurrent();  // an empty log is left alone
  EXPECT_EQ(log.Count(), 0);
}

TEST_F(WinLogDBTest, ClearEmptiesTheDisplayAndDisablesNextFix) {
  AddNumbered(log, 1, 2);
  view.next_fix = true;  // as after a Fix-Fix distance
  log.Clear();
  EXPECT_FALSE(view.next_fix);
  EXPECT_EQ(view.number, "0");
  EXPECT_EQ(view.lines, (std::vector<std::string>{"", "", ""}));
  EXPECT_FALSE(view.up);
  EXPECT_FALSE(view.down);
}

TEST_F(WinLogDBTest, LogResultSquashesBlanksButKeepsLetters) {
  log.LogResult("  Distance   from   alpha  ", "\tto   B ", "   (S)   12 km   ");
  EXPECT_EQ(log.GetLine(1, 1), "Distance from alpha");
  EXPECT_EQ(log.GetLine(1, 2), "to B");
  EXPECT_EQ(log.GetLine(1, 3), "(S) 12 km");
  EXPECT_EQ(view.sounds, 1);
  EXPECT_EQ(view.number, "1");
}

TEST_F(WinLogDBTest, LoadingShowsTheLastRecord) {
  TTempDir dir;
  WriteFile(dir / "h", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
  log.LoadFromFile(dir / "h");
  EXPECT_EQ(log.Current(), 3);
  EXPECT_EQ(view.lines, (std::vector<std::string>{"7", "", ""}));
  EXPECT_TRUE(view.up);
  EXPECT_FALSE(view.down);
}

}  // namespace
}  // namespace navorix
