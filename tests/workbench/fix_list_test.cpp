// The fix list rules: rows, selection, counter and buttons after every
// change of the database, as a list view that pulls its rows sees them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/error.h"
#include "tests/workbench/workbench_test_support.h"
#include "text/format.h"

namespace navorix {
namespace {

using testing::WorkbenchTest;
using testing::WriteFile;

class FixListTest : public WorkbenchTest {
 protected:
  std::string Name(std::uint16_t pos) const { return bench->Fixes().Get(pos).name.Str(); }
};

TEST_F(FixListTest, ClearLeavesTheBlankRowSelectedAndForgetsTheDeletedFix) {
  AddNames({"A", "B"});
  Bench().SelectRow(0);
  Bench().DeleteFix();
  ASSERT_TRUE(Bench().DeletedFix().valid);
  Bench().ClearFixes();
  EXPECT_EQ(View().rows, std::vector<std::string>{""});
  EXPECT_EQ(View().selected, 0);
  EXPECT_EQ(View().panel.counter, "N = 0");
  EXPECT_FALSE(Bench().DeletedFix().valid);
  EXPECT_EQ(View().panel.buttons, FixButtons{});
}

TEST_F(FixListTest, AddGoesAboveTheBlankRowAndIsSelected) {
  AddNames({"A", "B"});
  ExpectRowsMatch();
  EXPECT_EQ(View().selected, 1);
  EXPECT_EQ(View().resets, 0) << "single rows are inserted, not the list rebuilt";
  EXPECT_EQ(View().rows[1].substr(0, 16), "B               ");
  // Last fix: up yes, down no.
  EXPECT_EQ(View().panel.buttons, (FixButtons{true, false, true, true, false}));
}

TEST_F(FixListTest, ASuffixIsShownRightAlignedInTheNameColumn) {
  AddNames({"ABCDEFGHIJKLM/XY", "MIDPOINT/NEW"});
  EXPECT_EQ(View().rows[0].substr(0, 16), "ABCDEFGHIJKLM XY");
  EXPECT_EQ(View().rows[1].substr(0, 16), "MIDPOINT     NEW");
}

TEST_F(FixListTest, ButtonsFollowTheCurrentRow) {
  AddNames({"A", "B", "C"});
  Bench().SelectRow(0);
  EXPECT_EQ(View().panel.buttons, (FixButtons{false, true, true, true, false}));
  Bench().SelectRow(1);
  EXPECT_EQ(View().panel.buttons, (FixButtons{true, true, true, true, false}));
  Bench().SelectRow(3);  // blank row
  EXPECT_EQ(View().panel.buttons, (FixButtons{false, false, false, false, false}));
  Bench().SelectRow(-1);  // no selection counts as the blank row
  EXPECT_EQ(View().selected, 3);
  EXPECT_EQ(Bench().CurrentPos(), 0);
  Bench().SelectRow(99);
  EXPECT_EQ(View().selected, 3);
}

TEST_F(FixListTest, DeletingTheLastFixSelectsTheBlankRow) {
  AddNames({"A", "B", "C"});
  Bench().SelectRow(2);
  Bench().DeleteFix();
  ExpectRowsMatch();
  EXPECT_EQ(View().selected, 2);
  EXPECT_EQ(Bench().CurrentPos(), 0);
  EXPECT_EQ(Bench().DeletedFix().name, "C");
  EXPECT_TRUE(View().panel.buttons.undelete);
  EXPECT_FALSE(View().panel.buttons.remove);
}

TEST_F(FixListTest, DeletingInTheMiddleSelectsTheFixThatFollowed) {
  AddNames({"A", "B", "C"});
  Bench().SelectRow(1);
  Bench().DeleteFix();
  ExpectRowsMatch();
  EXPECT_EQ(View().selected, 1);
  EXPECT_EQ(Name(Bench().CurrentPos()), "C");
}

TEST_F(FixListTest, DeleteOnTheBlankRowDoesNothing) {
  AddNames({"A"});
  Bench().SelectRow(1);
  EXPECT_EQ(Bench().DeleteFixQuestion(), "");
  Bench().DeleteFix();
  EXPECT_EQ(Bench().Fixes().Count(), 1);
  EXPECT_FALSE(Bench().DeletedFix().valid);
  ExpectRowsMatch();
  Bench().SelectRow(0);
  EXPECT_EQ(Bench().DeleteFixQuestion(), "Delete fix A from the database?");
}

TEST_F(FixListTest, UndeleteFromTheBlankRowAppendsAndAboveAFixInserts) {
  AddNames({"A", "B", "C"});
  Bench().SelectRow(1);
  Bench().DeleteFix();   // B
  Bench().SelectRow(2);  // blank row
  EXPECT_TRUE(Bench().UndeleteFix());
  EXPECT_EQ(Name(3), "B");
  EXPECT_EQ(View().selected, 2);
  EXPECT_FALSE(Bench().DeletedFix().valid);
  EXPECT_FALSE(View().panel.buttons.undelete);
  ExpectRowsMatch();

  Bench().SelectRow(2);
  Bench().DeleteFix();   // B again
  Bench().SelectRow(0);  // A current
  EXPECT_TRUE(Bench().UndeleteFix());
  EXPECT_EQ(Name(1), "B");
  EXPECT_EQ(Name(2), "A");
  EXPECT_EQ(View().selected, 0);
  ExpectRowsMatch();
}

TEST_F(FixListTest, OnlyTheSecondOfTwoDeletionsCanBeUndeleted) {
  AddNames({"A", "B", "C"});
  Bench().SelectRow(0);
  Bench().DeleteFix();
  Bench().DeleteFix();
  EXPECT_EQ(Bench().DeletedFix().name, "B");
  EXPECT_TRUE(Bench().UndeleteFix());
  EXPECT_FALSE(Bench().UndeleteFix());  // nothing left: no second fix comes back
  EXPECT_EQ(Bench().Fixes().Count(), 2);
  EXPECT_EQ(Bench().Fixes().FindName("A"), 0);
}

TEST_F(FixListTest, UndeleteIntoAFullDatabaseKeepsTheDeletedFix) {
  AddNames({"GONE"});
  Bench().SelectRow(0);
  Bench().DeleteFix();
  std::string text;
  for (std::uint32_t i = 0; i < MaxFixes; ++i) text += "10 20 F\r\n";
  WriteFile(Data("full.fix"), text);
  ASSERT_TRUE(Bench().LoadFixFile(Data("full.fix"), false));
  ASSERT_EQ(Bench().Fixes().Count(), MaxFixes);
  EXPECT_FALSE(Bench().UndeleteFix());
  ASSERT_EQ(View().errors.size(), 1u);
  EXPECT_EQ(View().errors[0], "Not enough room in the fix database");
  EXPECT_TRUE(Bench().DeletedFix().valid);
  EXPECT_EQ(Bench().DeletedFix().name, "GONE");
  EXPECT_EQ(View().panel.counter, "N = 65535");
  EXPECT_EQ(View().rows.size(), 65536u);
  // A new fix from the blank row of a full list is refused the same way.
  Bench().SelectRow(65535);
  const FixEdit edit = Bench().BeginFixEdit(true);
  EXPECT_EQ(edit.pos, 65536) << "row + 1 does not fit 16 bits";
  const FixCheck check = Bench().CheckFixInput(edit, "MORE", "1", "2");
  EXPECT_FALSE(Bench().StoreFix(edit, check, "1", "2"));
  EXPECT_EQ(View().errors.back(), "Not enough room in the fix database");
  EXPECT_EQ(Bench().Fixes().Count(), MaxFixes);
  // Rebuilding with the blank row of a full list current falls back to row 0.
  Bench().SetDisplayOption(DisplayOption::Precision, Index(Accuracy::Medium));
  EXPECT_EQ(View().selected, 0);
}

TEST_F(FixListTest, InsertReplaceAndMovesEditSingleRows) {
  AddNames({"A", "B", "C"});
  Bench().SelectRow(1);
  // A new fix above B.
  FixEdit edit = Bench().BeginFixEdit(true);
  FixCheck check = Bench().CheckFixInput(edit, "X", "1", "2");
  ASSERT_TRUE(Bench().StoreFix(edit, check, "1", "2"));
  EXPECT_EQ(View().selected, 1);
  ExpectRowsMatch();
  // C (row 3) edited in place.
  Bench().SelectRow(3);
  edit = Bench().BeginFixEdit(false);
  check = Bench().CheckFixInput(edit, "Y", "5", "6");
  ASSERT_TRUE(Bench().StoreFix(edit, check, "5", "6"));
  EXPECT_EQ(View().selected, 3);
  ExpectRowsMatch();
  Bench().SelectRow(1);
  EXPECT_TRUE(Bench().MoveFixUp());
  EXPECT_EQ(View().selected, 0);
  ExpectRowsMatch();
  Bench().SelectRow(2);
  EXPECT_TRUE(Bench().MoveFixDown());
  EXPECT_EQ(View().selected, 3);
  ExpectRowsMatch();
  // The ends and the blank row refuse, and the selection stays.
  EXPECT_FALSE(Bench().MoveFixDown());
  Bench().SelectRow(0);
  EXPECT_FALSE(Bench().MoveFixUp());
  Bench().SelectRow(4);
  EXPECT_FALSE(Bench().MoveFixUp());
  EXPECT_FALSE(Bench().MoveFixDown());
  EXPECT_EQ(View().selected, 4);
  EXPECT_EQ(View().resets, 0);  // no edit rebuilt all rows
  EXPECT_EQ(Name(1), "X");
  EXPECT_EQ(Name(3), "Y");
  EXPECT_EQ(Name(4), "B");
}

TEST_F(FixListTest, FormatAndAccuracyRedrawEveryRowAndKeepTheRow) {
  AddNames({"A", "B", "C"});
  Bench().SelectRow(1);
  Bench().SetDisplayOption(DisplayOption::LatLonFormat, Index(AngleFormat::DegMinSec));
  EXPECT_EQ(View().selected, 1);
  ExpectRowsMatch();
  EXPECT_NE(View().rows[0].find('\''), std::string::npos);
  Bench().SetDisplayOption(DisplayOption::Precision, Index(Accuracy::High));
  ExpectRowsMatch();
  EXPECT_NE(View().rows[0].find('"'), std::string::npos);
  Bench().SelectRow(3);  // the blank row: the rebuild selects row 0
  Bench().SetDisplayOption(DisplayOption::LatLonFormat, Index(AngleFormat::DegFrac));
  EXPECT_EQ(View().selected, 0);
  ExpectRowsMatch();
}

TEST_F(FixListTest, LoadingRebuildsOnceAndShowsFailures) {
  WriteFile(Data("a.fix"), "10 20 A\r\n30 40 B\r\n");
  AddNames({"OLD"});
  const int resets = View().resets;
  EXPECT_TRUE(Bench().LoadFixFile(Data("a.fix"), false));
  EXPECT_EQ(View().resets, resets + 1);
  EXPECT_EQ(View().selected, 0);
  ExpectRowsMatch();
  EXPECT_EQ(Bench().Fixes().Count(), 3);

  EXPECT_FALSE(Bench().LoadFixFile(Data("missing.fix"), false));
  ASSERT_EQ(View().errors.size(), 1u);
  EXPECT_EQ(View().errors[0], "Cannot open missing.fix: No such file or directory");
  ExpectRowsMatch();
  // Clearing first replaces what was there.
  EXPECT_TRUE(Bench().LoadFixFile(Data("a.fix"), true));
  EXPECT_EQ(Bench().Fixes().Count(), 2);
  ExpectRowsMatch();
}

TEST_F(FixListTest, SortRulesOfTheMenu) {
  AddFix("FAR", "-40", "100");
  AddFix("HERE", "10", "20");
  AddFix("NEAR", "12", "20");
  Bench().SelectRow(1);  // HERE
  Bench().SortFixes(SortOrder::ByDistance);
  EXPECT_EQ(Name(1), "HERE");
  EXPECT_EQ(Name(2), "NEAR");
  EXPECT_EQ(View().selected, 0);
  ExpectRowsMatch();
  // From the blank row there is no fix to measure from: nothing happens.
  Bench().SelectRow(3);
  Bench().SortFixes(SortOrder::ByDistance);
  EXPECT_EQ(Name(1), "HERE");
  EXPECT_EQ(View().selected, 3);
  Bench().SortFixes(SortOrder::ByName);
  EXPECT_EQ(Name(1), "FAR");
  EXPECT_EQ(View().selected, 0);
  ExpectRowsMatch();
}

TEST_F(FixListTest, SortWithFewerThanTwoFixesDoesNothing) {
  AddNames({"A"});
  const int resets = View().resets;
  Bench().SelectRow(1);
  Bench().SortFixes(SortOrder::ByName);
  EXPECT_EQ(View().resets, resets);
  EXPECT_EQ(View().selected, 1);
}

TEST_F(FixListTest, EllipticLatitudeKeepsEveryRowTextAndMovesThePositions) {
  AddNames({"A"});
  AddFix("B", "-45.5", "170.25");
  const std::vector<std::string> before = View().rows;
  const Vector3 position = Bench().Fixes().Get(2).position;
  const int resets = View().resets;
  Bench().ToggleEllipticLat();
  EXPECT_EQ(View().resets, resets) << "the rows are not redrawn";
  EXPECT_EQ(View().rows, before);
  ExpectRowsMatch();  // and what they would show now is the same
  EXPECT_NE(Bench().Fixes().Get(2).position, position);
  EXPECT_FALSE(Bench().Settings().earth.ellipticLat);
}

TEST_F(FixListTest, TypeAheadFindsTheNamesAsTheyAreTyped) {
  AddNames({"ALPHA", "ABLE", "ALPHA2"});
  Bench().SelectRow(2);
  SearchStep step = Bench().TypeAhead('a', false);
  EXPECT_TRUE(step.consumed);
  EXPECT_TRUE(step.showPanel);
  EXPECT_EQ(step.text, "A");
  EXPECT_EQ(step.intervalMs, SearchHitMs);
  EXPECT_EQ(View().selected, 0);  // ALPHA
  step = Bench().TypeAhead('B', true);
  EXPECT_EQ(step.text, "AB");
  EXPECT_FALSE(step.showPanel);
  EXPECT_EQ(View().selected, 1);  // ABLE
  step = Bench().TypeAhead('X', true);
  EXPECT_TRUE(step.consumed);
  EXPECT_EQ(step.text, "AB");
  EXPECT_EQ(step.intervalMs, SearchMissMs);
  EXPECT_EQ(View().selected, 1);
  EXPECT_EQ(View().Sounds(Sound::Error), 1);
  // Digits only extend a search that shows.
  EXPECT_FALSE(Bench().TypeAhead('2', false).consumed);
  step = Bench().TypeAhead('A', false);
  for (const char c : std::string("LPHA2")) step = Bench().TypeAhead(c, true);
  EXPECT_EQ(step.text, "ALPHA2");
  EXPECT_EQ(View().selected, 2);
  // Other characters are left to the list.
  EXPECT_FALSE(Bench().TypeAhead(' ', true).consumed);
  EXPECT_FALSE(Bench().TypeAhead('-', true).consumed);
}

TEST_F(FixListTest, TypeAheadKeepsAtMostSixteenCharacters) {
  AddNames({"ABCDEFGHIJKLMNOP"});
  Bench().TypeAhead('A', false);
  SearchStep step;
  for (const char c : std::string("BCDEFGHIJKLMNOPQ")) step = Bench().TypeAhead(c, true);
  // The 17th character is not added; the 16 are searched again and found.
  EXPECT_EQ(step.text, "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(step.intervalMs, SearchHitMs);
  EXPECT_EQ(View().Sounds(Sound::Error), 0);
}

TEST_F(FixListTest, TypeAheadNeedsFixes) {
  EXPECT_FALSE(Bench().TypeAhead('A', false).consumed);
  AddNames({"B"});
  const SearchStep miss = Bench().TypeAhead('A', false);
  EXPECT_TRUE(miss.consumed);
  EXPECT_EQ(miss.text, "");
  EXPECT_FALSE(miss.showPanel);
}

}  // namespace
}  // namespace navorix
