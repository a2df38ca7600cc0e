// Operations run by the workbench: what a result, a cancel and a failure
// change, and every writer of the Next Fix state.
#include <gtest/gtest.h>

#include "operations/messages.h"
#include "tests/workbench/workbench_test_support.h"

namespace navorix {
namespace {

using testing::FixedOperands;
using testing::WorkbenchTest;

class OperationTest : public WorkbenchTest {
 protected:
  void SetUp() override {
    AddFix("A", "0", "0");
    AddFix("B", "0", "90");
    AddFix("C", "10", "45");
  }
};

TEST_F(OperationTest, ACancelledDialogChangesNothing) {
  ASSERT_EQ(Run(OperationTag::Midpoint, {1, 2}), RunResult::Logged);
  const FixRecord pending = Bench().PendingFix();
  const std::size_t sounds = View().sounds.size();
  FixedOperands source;
  source.confirm = false;
  for (int tag = 1; tag <= OperationCount; ++tag) {
    if (static_cast<OperationTag>(tag) == OperationTag::NextFix) continue;  // disabled: not even asked
    EXPECT_EQ(Bench().RunOperation(static_cast<OperationTag>(tag), source), RunResult::Cancelled);
  }
  EXPECT_EQ(source.asked, OperationCount - 1);
  EXPECT_EQ(Bench().Log().Count(), 1);
  EXPECT_EQ(Bench().PendingFix().position, pending.position);
  EXPECT_EQ(View().sounds.size(), sounds) << "no sound for a cancel";
  EXPECT_TRUE(View().errors.empty());
}

TEST_F(OperationTest, AFailureIsShownAndLogsNothing) {
  ASSERT_EQ(Run(OperationTag::Midpoint, {1, 2}), RunResult::Logged);
  EXPECT_EQ(Run(OperationTag::Projection, {1, 1, 3}), RunResult::Failed);
  ASSERT_EQ(View().errors.size(), 1u);
  EXPECT_EQ(View().errors[0], "Same or opposing fixes");
  EXPECT_EQ(Bench().Log().Count(), 1);
  EXPECT_EQ(Bench().PendingFix().name, "MIDPOINT/NEW");
  // The range checks come after the dialog, the distance first.
  Bench().SetDisplayOption(DisplayOption::DistUnits, Index(DistUnits::Degrees));
  EXPECT_EQ(Run(OperationTag::FixAtDistAz, {1}, 180, 360), RunResult::Failed);
  EXPECT_EQ(View().errors.back(), "Distance too large (>pi)");
  EXPECT_EQ(Run(OperationTag::FixAtDistAz, {1}, 179.9L, 360), RunResult::Failed);
  EXPECT_EQ(View().errors.back(), "Illegal azimuth value (>2pi)");
  EXPECT_EQ(View().Sounds(Sound::Done), 1);
}

TEST_F(OperationTest, PointResultsAreProposedAndTheRecordShown) {
  ASSERT_EQ(Run(OperationTag::FixesAtDistance, {1, 2, 3}, 2000), RunResult::Logged);
  EXPECT_EQ(Bench().PendingFix().name, "PROX-2/NEW");
  EXPECT_EQ(View().log.number, "1");
  // Out of range: logged, and the previous proposal stays.
  ASSERT_EQ(Run(OperationTag::FixesAtDistance, {1, 2, 3}, 20), RunResult::Logged);
  EXPECT_EQ(View().log.line3, "No solutions: out of range");
  EXPECT_EQ(Bench().PendingFix().name, "PROX-2/NEW");
}

// Every row of the Next Fix table, in order, and each change announced once.
TEST_F(OperationTest, NextFixFollowsItsTable) {
  EXPECT_FALSE(Bench().NextFixEnabled());
  EXPECT_EQ(Run(OperationTag::NextFix, {3}), RunResult::Failed);
  EXPECT_EQ(View().errors.back(), msg::NextFixDisabled);

  ASSERT_EQ(Run(OperationTag::FixFix, {1, 2}), RunResult::Logged);  // Fix-Fix: enabled
  EXPECT_TRUE(Bench().NextFixEnabled());
  ASSERT_EQ(Run(OperationTag::NextFix, {3}), RunResult::Logged);  // stays enabled
  EXPECT_EQ(View().log.line1, "Accumulated distance from A");
  EXPECT_EQ(View().nextFix, (std::vector<bool>{true}));

  Bench().ClearLog();  // disabled, chain kept
  EXPECT_FALSE(Bench().NextFixEnabled());
  EXPECT_EQ(Bench().Chain().lastFix.name, "C");
  Bench().SetDisplayOption(DisplayOption::DistUnits,
                           Index(DistUnits::Miles));  // a unit other than Degrees enables
  EXPECT_TRUE(Bench().NextFixEnabled());
  Bench().SetDisplayOption(DisplayOption::DistUnits, Index(DistUnits::Degrees));  // Degrees disable
  EXPECT_FALSE(Bench().NextFixEnabled());
  Bench().SetDisplayOption(DisplayOption::DistUnits, Index(DistUnits::Kilometers));
  Bench().ToggleEllipticArc();  // every ellipsoid switch disables
  EXPECT_FALSE(Bench().NextFixEnabled());
  Bench().SetDisplayOption(DisplayOption::DistUnits, Index(DistUnits::Kilometers));
  Bench().ToggleGeoDistance();
  EXPECT_FALSE(Bench().NextFixEnabled());
  Bench().SetDisplayOption(DisplayOption::DistUnits, Index(DistUnits::Kilometers));
  Bench().ToggleEllipticLat();
  EXPECT_FALSE(Bench().NextFixEnabled());
  EXPECT_EQ(View().nextFix,
            (std::vector<bool>{true, false, true, false, true, false, true, false, true, false}));
  // Re-enabled by a unit, Next Fix continues the kept chain.
  Bench().SetDisplayOption(DisplayOption::DistUnits, Index(DistUnits::Kilometers));
  ASSERT_EQ(Run(OperationTag::NextFix, {1}), RunResult::Logged);
  EXPECT_EQ(View().log.line1, "Accumulated distance from A");
  EXPECT_EQ(View().log.line2, "to A");
}

TEST_F(OperationTest, NextFixBeforeAnyChainIsRefused) {
  // The kilometres of the settings enable the button before any Fix-Fix.
  Bench().LoadStatus();
  AddFix("A", "0", "0");
  ASSERT_TRUE(Bench().NextFixEnabled());
  EXPECT_EQ(Run(OperationTag::NextFix, {1}), RunResult::Failed);
  EXPECT_EQ(View().errors.back(), msg::NoDistanceChain);
  EXPECT_EQ(Bench().Log().Count(), 0);
}

}  // namespace
}  // namespace navorix
