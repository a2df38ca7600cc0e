// The figures of the log's records as the chart gets them from the
// workbench: kept from when an operation ran, following the log through
// deletions and a full log, and recovered from the text of a history file.
#include <gtest/gtest.h>

#include "geometry/great_circle.h"
#include "tests/workbench/workbench_test_support.h"

namespace navorix {
namespace {

using testing::WorkbenchTest;

class RecordFigureTest : public WorkbenchTest {
 protected:
  void SetUp() override {
    AddFix("A", "0", "0");
    AddFix("B", "0", "90");
    AddFix("C", "10", "45");
    AddFix("D", "-20", "30");
  }
  std::string OperandNames(const Figure& shown) const {
    std::string names;
    for (const FixRecord& fix : shown.operands) names += std::string(fix.name.View()) + " ";
    return names;
  }
};

struct Counter : ChartObserver {
  int changes = 0;
  void ChartChanged() override { ++changes; }
};

TEST_F(RecordFigureTest, ASessionRecordKeepsItsFigureWhenItsFixesChange) {
  ASSERT_EQ(Run(OperationTag::Midpoint, {1, 2}), RunResult::Logged);
  const Vector3 proposed = Bench().PendingFix().position;
  ASSERT_TRUE(Bench().ShownFigureKept());
  // The fixes named go; the figure stays as it was when the operation ran.
  Bench().SelectRow(0);
  Bench().DeleteFix();
  Bench().DeleteFix();
  const Figure figure = Bench().ShownFigure();
  EXPECT_FALSE(figure.recovered);
  ASSERT_EQ(figure.operation, OperationTag::Midpoint);
  EXPECT_EQ(OperandNames(figure), "A B ");
  ASSERT_EQ(figure.results.size(), 1u);
  // The proposal at its full precision, not as printed.
  EXPECT_EQ(figure.results[0].position, proposed);
}

TEST_F(RecordFigureTest, TheNearerOfTwoPrintedPointsTakesTheProposal) {
  ASSERT_EQ(Run(OperationTag::FixesAtDistance, {1, 2, 3}, 1500), RunResult::Logged);
  const Figure figure = Bench().ShownFigure();
  ASSERT_EQ(figure.results.size(), 2u);
  const Vector3 proposed = Bench().PendingFix().position;
  const int exact =
      (figure.results[0].position == proposed ? 1 : 0) + (figure.results[1].position == proposed ? 1 : 0);
  EXPECT_EQ(exact, 1);
  EXPECT_GT(VectorAngle(figure.results[0].position, figure.results[1].position), 1e-3L);
  ASSERT_TRUE(figure.circle.has_value());
}

TEST_F(RecordFigureTest, FiguresFollowDeletionsClearingAndAFullLog) {
  // Record k joins A with fix 2 + k % 3: B, C or D.
  const char* second[] = {"B ", "C ", "D "};
  for (int k = 0; k < MaxLogRecords + 2; ++k)
    ASSERT_EQ(Run(OperationTag::FixFix, {1, static_cast<std::uint16_t>(2 + k % 3)}), RunResult::Logged);
  // Records 1 and 2 went: record 1 is the third run.
  Bench().DeleteShownRecord();  // the last record
  while (Bench().ShownRecord() > 1) Bench().ShowPreviousRecord();
  EXPECT_EQ(OperandNames(Bench().ShownFigure()), std::string("A ") + second[2 % 3]);
  Bench().DeleteShownRecord();  // record 1: the fourth run is shown now
  EXPECT_EQ(OperandNames(Bench().ShownFigure()), std::string("A ") + second[3 % 3]);
  EXPECT_TRUE(Bench().ShownFigureKept());
  Bench().ShowNextRecord();
  EXPECT_EQ(OperandNames(Bench().ShownFigure()), std::string("A ") + second[4 % 3]);
  Bench().ClearLog();
  EXPECT_TRUE(Bench().ShownFigure().Empty());
  ASSERT_EQ(Run(OperationTag::Midpoint, {3, 4}), RunResult::Logged);
  EXPECT_EQ(OperandNames(Bench().ShownFigure()), "C D ");
}

TEST_F(RecordFigureTest, HistoryRecordsAreRecoveredWithTheFixesOfTheMoment) {
  ASSERT_EQ(Run(OperationTag::Intersection, {1, 2, 3, 4}), RunResult::Logged);
  View().answer = Answer::Yes;
  ASSERT_TRUE(Bench().SaveStatus());
  Bench().LoadStatus();
  ASSERT_EQ(Bench().Log().Count(), 1);
  EXPECT_FALSE(Bench().ShownFigureKept());
  Figure figure = Bench().ShownFigure();
  EXPECT_TRUE(figure.recovered);
  EXPECT_EQ(figure.operation, OperationTag::Intersection);
  EXPECT_EQ(OperandNames(figure), "A B C D ");
  EXPECT_EQ(figure.lines.size(), 2u);
  // A fix deleted since is no operand any more; the printed point stays.
  Bench().SelectRow(3);
  Bench().DeleteFix();
  figure = Bench().ShownFigure();
  EXPECT_EQ(OperandNames(figure), "A B C ");
  EXPECT_FALSE(figure.results.empty());
}

TEST_F(RecordFigureTest, TheChartIsToldOfEveryChangeItDraws) {
  Counter chart;
  Observers observers = View().All();
  observers.chart = &chart;
  Bench().Attach(observers);
  auto told = [&](const char* what, auto&& change) {
    const int before = chart.changes;
    change();
    EXPECT_GT(chart.changes, before) << what;
  };
  told("a row selected", [&] { Bench().SelectRow(2); });
  told("a record logged", [&] { Run(OperationTag::Midpoint, {1, 2}); });
  told("a fix added", [&] { AddFix("E", "5", "5"); });
  told("a fix moved", [&] { Bench().MoveFixUp(); });
  told("a record stepped", [&] {
    Run(OperationTag::Midpoint, {1, 3});
    Bench().ShowPreviousRecord();
  });
  told("elliptic latitude", [&] { Bench().ToggleEllipticLat(); });
  told("the log cleared", [&] { Bench().ClearLog(); });
}

}  // namespace
}  // namespace navorix
