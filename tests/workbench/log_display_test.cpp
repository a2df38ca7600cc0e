// The log display: the shown record, its number and the step buttons after
// every change of the log.
#include <gtest/gtest.h>

#include <string>

#include "tests/workbench/workbench_test_support.h"
#include "workbench/texts.h"

namespace navorix {
namespace {

using testing::WorkbenchTest;
using testing::WriteFile;

class LogDisplayTest : public WorkbenchTest {
 protected:
  // A history of records "aN", "bN", "cN" for N = 1 .. count, loaded as at
  // start.
  void LoadHistory(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
      const std::string n = std::to_string(i);
      text += "a" + n + "\r\nb" + n + "\r\nc" + n + "\r\n";
    }
    WriteFile(Data("navorix.his"), text);
    Bench().LoadStatus();
  }
};

TEST_F(LogDisplayTest, ALoggedResultIsShown) {
  AddNames({"A", "B"});
  ASSERT_EQ(Run(OperationTag::FixFix, {1, 2}), RunResult::Logged);
  EXPECT_EQ(Bench().ShownRecord(), 1);
  EXPECT_EQ(View().log.line1, "Distance from A to B");
  EXPECT_EQ(View().log.line2, "");
  EXPECT_EQ(View().log.line3.substr(0, 4), "(S) ") << "the leading blanks are gone";
  EXPECT_EQ(View().log.number, "1");
  EXPECT_FALSE(View().log.previousEnabled);
  EXPECT_FALSE(View().log.nextEnabled);
  EXPECT_EQ(View().Sounds(Sound::Done), 1);
  EXPECT_EQ(View().sounds.back(), std::make_pair(Sound::Done, false)) << "not waited for";
}

TEST_F(LogDisplayTest, BlanksAreReducedButLettersKept) {
  AddFix("A", "0", "0");
  AddFix("B", "0", "10");
  AddFix("C", "20", "0");
  AddFix("D", "20", "10");
  ASSERT_EQ(Run(OperationTag::ArcArc, {1, 2, 3, 4}), RunResult::Logged);
  EXPECT_EQ(Bench().Log().GetLine(1, 2), "to C-D");  // built as "  to C-D"
}

TEST_F(LogDisplayTest, OneMoreResultInAFullLogShowsRecord999) {
  LoadHistory(999);
  AddNames({"A", "B"});
  ASSERT_EQ(Run(OperationTag::Midpoint, {1, 2}), RunResult::Logged);
  EXPECT_EQ(Bench().ShownRecord(), 999);
  EXPECT_EQ(View().log.number, "999");
  EXPECT_EQ(View().log.line1, "Midpoint from A to B");
  EXPECT_EQ(Bench().Log().GetLine(1, 1), "a2") << "the oldest went";
  EXPECT_TRUE(View().log.previousEnabled);
  EXPECT_FALSE(View().log.nextEnabled);
}

TEST_F(LogDisplayTest, StepButtonsAndTheirLimits) {
  LoadHistory(3);
  EXPECT_EQ(View().log.line1, "a3");
  Bench().ShowPreviousRecord();
  Bench().ShowPreviousRecord();
  EXPECT_EQ(Bench().ShownRecord(), 1);
  EXPECT_FALSE(View().log.previousEnabled);
  EXPECT_TRUE(View().log.nextEnabled);
  Bench().ShowPreviousRecord();  // nothing before record 1
  EXPECT_EQ(Bench().ShownRecord(), 1);
  Bench().ShowNextRecord();
  EXPECT_EQ(View().log.line1, "a2");
  EXPECT_TRUE(View().log.previousEnabled);
  EXPECT_TRUE(View().log.nextEnabled);
  Bench().ShowNextRecord();
  Bench().ShowNextRecord();
  EXPECT_EQ(Bench().ShownRecord(), 3);
}

TEST_F(LogDisplayTest, DeletingShowsTheFollowingOrTheNewLastRecord) {
  LoadHistory(3);
  Bench().ShowPreviousRecord();
  EXPECT_EQ(Bench().DeleteRecordQuestion(), "Delete log record No. 2?");
  Bench().DeleteShownRecord();  // the middle one: record 3 moves up under number 2
  EXPECT_EQ(Bench().ShownRecord(), 2);
  EXPECT_EQ(View().log.line1, "a3");
  EXPECT_EQ(View().log.number, "2");
  Bench().DeleteShownRecord();  // the last one: the new last record is shown
  EXPECT_EQ(Bench().ShownRecord(), 1);
  EXPECT_EQ(View().log.line1, "a1");
  Bench().DeleteShownRecord();  // the only one: nothing is shown
  EXPECT_EQ(Bench().ShownRecord(), 0);
  EXPECT_EQ(View().log, (LogDisplayState{"", "", "", "0", false, false}));
  EXPECT_EQ(Bench().DeleteRecordQuestion(), "");
  Bench().DeleteShownRecord();  // an empty log is left alone
  EXPECT_EQ(Bench().Log().Count(), 0);
}

TEST_F(LogDisplayTest, ClearEmptiesTheDisplayAndDisablesNextFix) {
  AddNames({"A", "B"});
  ASSERT_EQ(Run(OperationTag::FixFix, {1, 2}), RunResult::Logged);
  ASSERT_TRUE(Bench().NextFixEnabled());
  Bench().ClearLog();
  EXPECT_FALSE(Bench().NextFixEnabled());
  EXPECT_EQ(View().log, (LogDisplayState{"", "", "", "0", false, false}));
  // The chain itself is kept; only a new Fix-Fix restarts it.
  EXPECT_EQ(Bench().Chain().startName, "A");
  Bench().ClearAll();
  EXPECT_EQ(Bench().Fixes().Count(), 0);
}

// Each Clear command asks only when it has something to clear; Clear All
// asks when either store holds anything.
TEST_F(LogDisplayTest, ClearQuestionsOnlyWithSomethingToClear) {
  EXPECT_EQ(Bench().ClearLogQuestion(), "");
  EXPECT_EQ(Bench().ClearFixesQuestion(), "");
  EXPECT_EQ(Bench().ClearAllQuestion(), "");
  AddNames({"A", "B"});
  EXPECT_EQ(Bench().ClearLogQuestion(), "");
  EXPECT_EQ(Bench().ClearFixesQuestion(), question::ClearFixes);
  EXPECT_EQ(Bench().ClearAllQuestion(), question::ClearAll);
  ASSERT_EQ(Run(OperationTag::FixFix, {1, 2}), RunResult::Logged);
  Bench().ClearFixes();
  EXPECT_EQ(Bench().ClearLogQuestion(), question::ClearLog);
  EXPECT_EQ(Bench().ClearFixesQuestion(), "");
  EXPECT_EQ(Bench().ClearAllQuestion(), question::ClearAll);
}

TEST_F(LogDisplayTest, LoadingShowsTheLastRecordOfASevenLineHistory) {
  WriteFile(Data("navorix.his"), "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
  Bench().LoadStatus();
  EXPECT_EQ(Bench().ShownRecord(), 3);
  EXPECT_EQ(View().log, (LogDisplayState{"7", "", "", "3", true, false}));
}

}  // namespace
}  // namespace navorix
