// The fix list rules: rows, selection, counter and buttons after every
// operation of the window-bound database.
#include "stores/win_fix_db.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/error.h"
#include "stores_test_support.h"
#include "text/format.h"

namespace navorix {
namespace {

using testing::MakeTestFix;
using testing::TFakeFixList;
using testing::TTempDir;
using testing::WriteFile;

class WinFixDBTest : public ::testing::Test {
 protected:
  void SetUp() override { db.Clear(); }

  // The rows must always be the fixes' texts followed by the blank row.
  void ExpectRowsMatch() {
    ASSERT_EQ(list.Rows().size(), db.Count() + 1u);
    for (std::uint16_t pos = 1; pos <= db.Count(); ++pos) {
      EXPECT_EQ(list.Rows()[pos - 1u], FixText(db.Get(pos))) << "row " << pos - 1;
    }
    EXPECT_EQ(list.Rows().back(), "");
    EXPECT_EQ(list.counter, "N = " + std::to_string(db.Count()));
  }

  void AddNames(const std::vector<std::string>& names) {
    for (const auto& name : names) db.Add(MakeTestFix(name));
  }

  TFakeFixList list;
  TWinFixDB db{list};
};

TEST_F(WinFixDBTest, ClearLeavesTheBlankRowSelectedAndForgetsTheDeletedFix) {
  AddNames({"A", "B"});
  db.Delete(1);
  ASSERT_TRUE(DeletedFix.Valid);
  db.Clear();
  EXPECT_EQ(list.Rows(), std::vector<std::string>{""});
  EXPECT_EQ(list.selected, 0);
  EXPECT_EQ(list.counter, "N = 0");
  EXPECT_FALSE(DeletedFix.Valid);
  EXPECT_EQ(list.buttons, TFixButtons{});
}

TEST_F(WinFixDBTest, AddGoesAboveTheBlankRowAndIsSelected) {
  AddNames({"A", "B"});
  ExpectRowsMatch();
  EXPECT_EQ(list.selected, 1);
  EXPECT_EQ(list.Rows()[1], FixText(MakeTestFix("B")));
  // Last fix: up yes, down no.
  EXPECT_EQ(list.buttons, (TFixButtons{true, false, true, true, false}));
}

TEST_F(WinFixDBTest, ASuffixIsShownRightAlignedInTheNameColumn) {
  db.Add(MakeTestFix("ABCDEFGHIJKLM/XY"));
  db.Add(MakeTestFix("MIDPOINT/NEW"));
  EXPECT_EQ(list.Rows()[0].substr(0, 16), "ABCDEFGHIJKLM XY");
  EXPECT_EQ(list.Rows()[1].substr(0, 16), "MIDPOINT     NEW");
}

TEST_F(WinFixDBTest, ButtonsFollowTheCurrentRow) {
  AddNames({"A", "B", "C"});
  list.selected = 0;
  db.UpdateFixButtons();
  EXPECT_EQ(list.buttons, (TFixButtons{false, true, true, true, false}));
  list.selected = 1;
  db.UpdateFixButtons();
  EXPECT_EQ(list.buttons, (TFixButtons{true, true, true, true, false}));
  list.selected = 3;  // blank row
  db.UpdateFixButtons();
  EXPECT_EQ(list.buttons, (TFixButtons{false, false, false, false, false}));
  list.selected = -1;  // no selection counts as the blank row
  db.UpdateFixButtons();
  EXPECT_EQ(list.buttons, (TFixButtons{false, false, false, false, false}));
  EXPECT_EQ(db.CurrentPos(), 0);
}

TEST_F(WinFixDBTest, DeletingTheLastFixSelectsTheBlankRow) {
  AddNames({"A", "B", "C"});
  db.Delete(3);
  ExpectRowsMatch();
  EXPECT_EQ(list.selected, 2);
  EXPECT_EQ(db.CurrentPos(), 0);
  EXPECT_EQ(DeletedFix.Name, "C");
  EXPECT_TRUE(list.buttons.Undelete);
  EXPECT_FALSE(list.buttons.Delete);
}

TEST_F(WinFixDBTest, DeletingInTheMiddleSelectsTheFixThatFollowed) {
  AddNames({"A", "B", "C"});
  db.Delete(2);
  ExpectRowsMatch();
  EXPECT_EQ(list.selected, 1);
  EXPECT_EQ(db.Get(db.CurrentPos()).Name, "C");
}

TEST_F(WinFixDBTest, DeleteOnTheBlankRowDoesNothing) {
  AddNames({"A"});
  db.Delete(2);
  EXPECT_EQ(db.Count(), 1);
  EXPECT_FALSE(DeletedFix.Valid);
  ExpectRowsMatch();
}

TEST_F(WinFixDBTest, UndeleteFromTheBlankRowAppendsAndAboveAFixInserts) {
  AddNames({"A", "B", "C"});
  db.Delete(2);  // B
  list.selected = 2;  // blank row
  db.Undelete();
  EXPECT_EQ(db.Get(3).Name, "B");
  EXPECT_EQ(list.selected, 2);
  EXPECT_FALSE(DeletedFix.Valid);
  EXPECT_FALSE(list.buttons.Undelete);
  ExpectRowsMatch();

  db.Delete(3);  // B again
  list.selected = 0;  // A current
  db.Undelete();
  EXPECT_EQ(db.Get(1).Name, "B");
  EXPECT_EQ(db.Get(2).Name, "A");
  EXPECT_EQ(list.selected, 0);
  ExpectRowsMatch();
}

TEST_F(WinFixDBTest, OnlyTheSecondOfTwoDeletionsCanBeUndeleted) {
  AddNames({"A", "B", "C"});
  db.Delete(1);
  db.Delete(1);
  EXPECT_EQ(DeletedFix.Name, "B");
  db.Undelete();
  db.Undelete();  // nothing left: no second fix comes back
  EXPECT_EQ(db.Count(), 2);
  EXPECT_EQ(db.FindName("A"), 0);
}

TEST_F(WinFixDBTest, UndeleteIntoAFullDatabaseKeepsTheDeletedFix) {
  AddNames({"GONE"});
  db.Delete(1);
  {
    TListUpdatesOff quiet;  // filling 65535 rows one by one is not the point
    for (std::uint32_t i = 0; i < MaxFixes; ++i) db.Add(MakeTestFix("F"));
  }
  db.RebuildFixList(1);
  EXPECT_THROW(db.Undelete(), Error);
  EXPECT_TRUE(DeletedFix.Valid);
  EXPECT_EQ(DeletedFix.Name, "GONE");
  EXPECT_THROW(db.Add(MakeTestFix("MORE")), Error);
  EXPECT_EQ(list.counter, "N = 65535");
  EXPECT_EQ(list.Rows().size(), 65536u);
  // With the blank row of a full list current, row + 1 does not fit 16 bits.
  list.selected = 65535;
  db.RebuildFixList(0);
  EXPECT_EQ(list.selected, 0);
}

TEST_F(WinFixDBTest, InsertReplaceAndMovesEditSingleRows) {
  AddNames({"A", "B", "C"});
  db.Insert(MakeTestFix("X"), 2);
  EXPECT_EQ(list.selected, 1);
  ExpectRowsMatch();
  db.Replace(MakeTestFix("Y", 5.0L, 6.0L), 4);
  EXPECT_EQ(list.selected, 3);
  ExpectRowsMatch();
  EXPECT_TRUE(db.MoveUp(2));
  EXPECT_EQ(list.selected, 0);
  ExpectRowsMatch();
  EXPECT_TRUE(db.MoveDown(3));
  EXPECT_EQ(list.selected, 3);
  ExpectRowsMatch();
  list.selected = 1;
  EXPECT_FALSE(db.MoveDown(4));
  EXPECT_FALSE(db.MoveUp(5));
  EXPECT_EQ(list.selected, 1);  // a refused move leaves the selection
  EXPECT_EQ(list.full_rebuilds, 1);  // only Clear rebuilt all rows
}

TEST_F(WinFixDBTest, ListUpdatesOffLeavesTheRowsToTheCaller) {
  AddNames({"A"});
  {
    TListUpdatesOff quiet;
    db.Add(MakeTestFix("B"));
    db.Replace(MakeTestFix("Z"), 1);
  }
  EXPECT_TRUE(ListUpdates);
  EXPECT_EQ(list.Rows().size(), 2u);
  EXPECT_EQ(list.Rows()[0], FixText(MakeTestFix("A")));
  db.RebuildFixList(0);
  ExpectRowsMatch();
}

TEST_F(WinFixDBTest, RebuildKeepsTheRowOrFallsBackToTheFirst) {
  AddNames({"A", "B", "C"});
  list.selected = 1;
  db.RebuildFixList(0);
  EXPECT_EQ(list.selected, 1);
  db.RebuildFixList(3);
  EXPECT_EQ(list.selected, 2);
  db.RebuildFixList(4);  // beyond Count
  EXPECT_EQ(list.selected, 0);
  list.selected = 3;  // the blank row
  db.RebuildFixList(0);
  EXPECT_EQ(list.selected, 0);
}

TEST_F(WinFixDBTest, LoadingRebuildsOnceAndShowsFailures) {
  TTempDir dir;
  WriteFile(dir / "a.fix", "10 20 A\r\n30 40 B\r\n");
  AddNames({"OLD"});
  const int rebuilds = list.full_rebuilds;
  EXPECT_TRUE(db.LoadFromFile(dir / "a.fix"));
  EXPECT_EQ(list.full_rebuilds, rebuilds + 1);
  EXPECT_EQ(list.selected, 0);
  ExpectRowsMatch();
  EXPECT_EQ(db.Count(), 3);

  TLoadReport report;
  report.Unreadable = 7;  // left from an earlier load
  EXPECT_FALSE(db.LoadFromFile(dir / "missing.fix", report));
  ASSERT_EQ(list.errors.size(), 1u);
  EXPECT_EQ(list.errors[0], "Cannot open missing.fix: No such file or directory");
  EXPECT_EQ(report.Failure, list.errors[0]);
  EXPECT_EQ(report.Unreadable, 0u);
  EXPECT_TRUE(ListUpdates);
  ExpectRowsMatch();
}

TEST_F(WinFixDBTest, SortRulesOfTheMenu) {
  db.Add(MakeTestFix("FAR", -40.0L, 100.0L));
  db.Add(MakeTestFix("HERE", 10.0L, 20.0L));
  db.Add(MakeTestFix("NEAR", 12.0L, 20.0L));
  list.selected = 1;  // HERE
  db.SortFixes(ByDistance);
  EXPECT_EQ(db.Get(1).Name, "HERE");
  EXPECT_EQ(db.Get(2).Name, "NEAR");
  EXPECT_EQ(list.selected, 0);
  ExpectRowsMatch();
  // From the blank row there is no fix to measure from: nothing happens.
  list.selected = 3;
  db.SortFixes(ByDistance);
  EXPECT_EQ(db.Get(1).Name, "HERE");
  EXPECT_EQ(list.selected, 3);
  db.SortFixes(ByName);
  EXPECT_EQ(db.Get(1).Name, "FAR");
  EXPECT_EQ(list.selected, 0);
}

TEST_F(WinFixDBTest, SortWithFewerThanTwoFixesDoesNothing) {
  AddNames({"A"});
  const int rebuilds = list.full_rebuilds;
  list.selected = 1;
  db.SortFixes(ByName);
  EXPECT_EQ(list.full_rebuilds, rebuilds);
  EXPECT_EQ(list.selected, 1);
}

TEST_F(WinFixDBTest, RebuildingPositionsKeepsEveryRowText) {
  AddNames({"A"});
  db.Add(MakeTestFix("B", -45.5L, 170.25L));
  const std::vector<std::string> before = list.Rows();
  const TTriV position = db.Get(2).Position;
  EllipticLat = !EllipticLat;
  db.RebuildAllPositions();
  const std::vector<std::string> rebuilt = list.Rows();
  db.RebuildFixList(0);
  EllipticLat = !EllipticLat;
  EXPECT_EQ(rebuilt, before);
  EXPECT_EQ(list.Rows(), before);
  EXPECT_NE(db.Get(2).Position, position);
  EXPECT_TRUE(ListUpdates);
}

}  // namespace
}  // namespace navorix
