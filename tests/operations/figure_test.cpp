// The figure of a log record: built from what an operation knows, and
// recovered from the record's text as the history file keeps it.
#include "operations/figure.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "geometry/chart_paths.h"
#include "geometry/great_circle.h"
#include "geometry/map_projection.h"
#include "op_fixture.h"
#include "operations/conversion.h"

namespace navorix::test {
namespace {

using std::string;

::testing::AssertionResult Near(const TTriV& expected, const TTriV& actual, long double tolerance) {
  const long double apart = VectorAngle(expected, actual);
  if (apart <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << static_cast<double>(apart) << " rad apart";
}

class FigureTest : public OperationsTest {
 protected:
  void SetUp() override {
    OperationsTest::SetUp();
    Earth.EllipticLat = true;  // the program's own setting: the hard case
    Earth.GeoDistance = true;
    Options.Precision = TAccuracy::High;
    P = Add("P", 10, 0);
    Q = Add("Q", 10, 90);
    M0 = Add("M0", 0, 45);
    M40 = Add("M40", 40, 45);
    R = Add("R", 30, 45);
    E = Add("E", 10, 100);
    Dash = Add("A-1", 35, 40);  // a name with the arc's own separator
    Far = Add("FAR", 20, 120);
  }

  // The figure recovered from the last record.
  Figure Recovered() const { return RecoverFigure(Line(1), Line(2), Line(3), DB, Earth); }
  TTriV At(std::uint16_t fix) const { return DB.Get(fix).Position; }

  std::uint16_t P, Q, M0, M40, R, E, Dash, Far;
};

// Each operation's record, recovered: the operation, its operand fixes, the
// printed points (to the 1e-6 degree the High accuracy prints), and the
// lines between them.
TEST_F(FigureTest, RecoveredFromEveryKindOfRecord) {
  struct Case {
    string name;
    std::function<void()> run;
    TOpTag operation;
    std::vector<std::uint16_t> operands;
    std::vector<FigureLineKind> lines;
    std::size_t results;
  };
  const long double d = DistanceToAngle(TDistUnits::Kilometers, Earth.Shape.SpherRadius, 2000);
  const std::vector<Case> cases = {
      {"Fix-Fix with the geodesic", [&] { Ex.OpDistance(P, Q); }, TOpTag::FixFix, {P, Q},
       {FigureLineKind::Segment, FigureLineKind::Geodesic}, 0},
      {"Next Fix: the chain's ends, no leg", [&] { Ex.OpDistance(P, Q); Ex.OpDistance(E); }, TOpTag::NextFix,
       {P, E}, {}, 0},
      {"Arc-Fix, its foot found again", [&] { Ex.OpArcFixDistance(P, Q, R); }, TOpTag::ArcFix, {P, Q, R},
       {FigureLineKind::ExtendedArc, FigureLineKind::Segment}, 1},
      {"Arc-Fix beyond the arc's end", [&] { Ex.OpArcFixDistance(P, M0, Far); }, TOpTag::ArcFix,
       {P, M0, Far}, {FigureLineKind::ExtendedArc, FigureLineKind::Segment, FigureLineKind::Segment}, 1},
      {"Arc-Arc", [&] { Ex.OpArcArcDistance(P, Q, M0, M40); }, TOpTag::ArcArc, {P, Q, M0, M40},
       {FigureLineKind::Arc, FigureLineKind::Arc}, 0},
      {"Midpoint", [&] { Ex.OpMidpoint(P, Q); }, TOpTag::Midpoint, {P, Q}, {FigureLineKind::Segment}, 1},
      {"Azimuth with the geodesic", [&] { Ex.OpAzimuth(R, E); }, TOpTag::Azimuth, {R, E},
       {FigureLineKind::Segment, FigureLineKind::Geodesic}, 0},
      {"Fix at distance and azimuth", [&] { Ex.OpFixAtDistAz(R, 1.0L, d); }, TOpTag::FixAtDistAz, {R}, {}, 1},
      {"Projection", [&] { Ex.OpProjection(P, Q, E); }, TOpTag::Projection, {P, Q, E},
       {FigureLineKind::ExtendedArc, FigureLineKind::Segment}, 1},
      {"Intersection", [&] { Ex.OpIntersection(P, Q, M0, M40); }, TOpTag::Intersection, {P, Q, M0, M40},
       {FigureLineKind::ExtendedArc, FigureLineKind::ExtendedArc}, 1},
      {"Fixes at D", [&] { Ex.OpFixesAtDistance(P, Q, R, d); }, TOpTag::FixesAtDistance, {P, Q, R},
       {FigureLineKind::ExtendedArc}, 2},
      {"Fix at distance along an arc", [&] { Ex.OpFixAtDistance(P, Q, d); }, TOpTag::FixAtDistance, {P, Q},
       {FigureLineKind::ExtendedArc}, 1},
      {"an arc whose first name holds a dash", [&] { Ex.OpIntersection(Dash, Q, M0, M40); },
       TOpTag::Intersection, {Dash, Q, M0, M40}, {FigureLineKind::ExtendedArc, FigureLineKind::ExtendedArc}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.run();
    const Figure figure = Recovered();
    EXPECT_TRUE(figure.recovered);
    ASSERT_EQ(figure.operation, c.operation) << Line(1) << " / " << Line(2);
    ASSERT_EQ(figure.operands.size(), c.operands.size());
    for (std::size_t i = 0; i < c.operands.size(); ++i) EXPECT_EQ(figure.operands[i].Name, DB.Get(c.operands[i]).Name);
    ASSERT_EQ(figure.lines.size(), c.lines.size());
    for (std::size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(figure.lines[i].kind, c.lines[i]);
    EXPECT_EQ(figure.results.size(), c.results);
    // A point result is the proposed fix, printed to 1e-6 degree.
    if (c.results == 1 && c.operation != TOpTag::ArcFix) {
      EXPECT_TRUE(Near(Ex.PendingFix.Position, figure.results[0].position, 3e-8L));
    }
  }
}

// The circle of Fixes at D has the distance asked for, from the first
// solution when there is one and from line 1 when there is none.
TEST_F(FigureTest, TheCircleOfFixesAtD) {
  struct Case {
    TDistUnits units;
    long double typed;
    bool solutions;
  };
  const Case cases[] = {{TDistUnits::Kilometers, 2000, true},
                        {TDistUnits::NautMiles, 500, false},
                        {TDistUnits::Miles, 700, false},
                        {TDistUnits::Degrees, 3.5L, false},
                        {TDistUnits::Degrees, 25, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Options.DistUnits = c.units;
    const long double d = DistanceToAngle(c.units, Earth.Shape.SpherRadius, c.typed);
    Ex.OpFixesAtDistance(P, Q, R, d);
    EXPECT_EQ(Line(3) == "No solutions: out of range", !c.solutions);
    const Figure figure = Recovered();
    ASSERT_TRUE(figure.circle.has_value());
    EXPECT_TRUE(Near(At(R), figure.circle->centre, 0.0L));
    // The first solution is printed to 1e-6 degree, line 1 to 2 * 3
    // decimals of the unit.
    EXPECT_NEAR(static_cast<double>(d), static_cast<double>(figure.circle->radius), 3e-8);
    if (c.solutions) {
      const TFixesAtDistance found = FixesAtDistance(MakeArc(At(P), At(Q)), At(R), d);
      ASSERT_EQ(figure.results.size(), 2u);
      EXPECT_TRUE(Near(found.P1, figure.results[0].position, 3e-8L));
      EXPECT_TRUE(Near(found.P2, figure.results[1].position, 3e-8L));
    }
  }
}

// The printed positions are read in every format the log may use.
TEST_F(FigureTest, PositionsInEveryFormat) {
  for (int format = 0; format < LatLonFormatCount; ++format) {
    for (int accuracy = 0; accuracy < PrecisionCount; ++accuracy) {
      Options.LatLonFormat = static_cast<TAngleFormat>(format);
      Options.Precision = static_cast<TAccuracy>(accuracy);
      Ex.OpIntersection(P, Q, M0, M40);
      const Figure figure = Recovered();
      ASSERT_EQ(figure.results.size(), 1u) << format << " " << accuracy << ": " << Line(3);
      // Low accuracy prints whole minutes or hundredths of a degree.
      const long double printed = accuracy == 0 ? 2e-4L : 3e-6L;
      EXPECT_TRUE(Near(Ex.PendingFix.Position, figure.results[0].position, printed)) << Line(3);
    }
  }
}

TEST_F(FigureTest, FixesThatAreGoneAreLeftOut) {
  Ex.OpIntersection(P, Q, M0, M40);
  const string l1 = Line(1), l2 = Line(2), l3 = Line(3);
  DB.Delete(Q);  // Q's successors move up a place
  const Figure figure = RecoverFigure(l1, l2, l3, DB, Earth);
  ASSERT_EQ(figure.operands.size(), 3u);
  EXPECT_EQ(figure.operands[0].Name, "P");
  EXPECT_EQ(figure.operands[1].Name, "M0");
  ASSERT_EQ(figure.lines.size(), 1u) << "only the arc M0-M40 is whole";
  EXPECT_EQ(figure.results.size(), 1u) << "the printed point stays";
}

TEST_F(FigureTest, ForeignTextNeverThrows) {
  const std::vector<std::vector<string>> records = {
      {"", "", ""},
      {"Distance from", "to", "(Circ)"},
      {"Fixes at from R", "on", ""},
      {"Fix at distance 5 km", "and azimuth from", "1N 2E"},
      {"Intersection of ---", "and -", "91.00\xB0N 0.00\xB0" "E **"},
      {"hello", "world", "10.00\xB0N 20.00\xB0" "E, 30.00\xB0S 40.00\xB0W"},
  };
  for (const auto& r : records) {
    const Figure figure = RecoverFigure(r[0], r[1], r[2], DB, Earth);
    EXPECT_TRUE(figure.recovered);
  }
  const Figure foreign = RecoverFigure("hello", "world", "10.00\xB0N 20.00\xB0" "E, 30.00\xB0S 40.00\xB0W", DB, Earth);
  EXPECT_FALSE(foreign.operation.has_value());
  EXPECT_EQ(foreign.results.size(), 2u) << "the positions it prints";
  // Random bytes, as a damaged history file could hold.
  std::mt19937 random(18);
  std::uniform_int_distribution<int> byte(1, 255);
  const string words[] = {"Distance ", "from ", "to ", "of ", "-", "P", "Q", "R", "\xB0", "N ", "E ", "(G) ", ",", "*"};
  for (int i = 0; i < 2000; ++i) {
    string lines[3];
    for (string& line : lines)
      for (auto k = random() % 12; k > 0; --k)
        line += random() % 3 == 0 ? string(1, static_cast<char>(byte(random))) : words[random() % 14];
    EXPECT_NO_THROW(RecoverFigure(lines[0], lines[1], lines[2], DB, Earth));
  }
}

// What the operations know themselves: the typed azimuth and distance.
TEST_F(FigureTest, BuiltFromWhatTheOperationKnows) {
  FigureInputs inputs;
  inputs.operation = TOpTag::FixAtDistAz;
  inputs.fixes[0] = DB.Get(R);
  inputs.azimuth = -2.5L;
  inputs.distance = -0.3L;  // a negative distance runs back along the course
  const TTriV found = FixAtDistAz(At(R), -2.5L, -0.3L);
  inputs.results.push_back({ResultKind::FixAtDistAz, found});
  const Figure figure = BuildFigure(inputs);
  ASSERT_TRUE(figure.ray.has_value());
  FigurePaths paths;
  AddFigurePaths(figure, Earth, MaxPathStep, paths);
  ASSERT_EQ(paths.solid.Count(), 1u);
  EXPECT_TRUE(Near(ChartDirection(Earth, At(R)), paths.solid[0].front(), 1e-18L));
  EXPECT_TRUE(Near(ChartDirection(Earth, found), paths.solid[0].back(), 1e-17L)) << "the ray ends at the fix found";
  // Same fixes give no arc and no error.
  FigureInputs same;
  same.operation = TOpTag::Intersection;
  for (auto& fix : same.fixes) fix = DB.Get(P);
  EXPECT_TRUE(BuildFigure(same).lines.empty() == false);
  FigurePaths none;
  AddFigurePaths(BuildFigure(same), Earth, MaxPathStep, none);
  EXPECT_EQ(none.solid.Count() + none.dashed.Count(), 0u);
}

// The lines on the chart's sphere pass through their fixes: the arc from A
// to B, its extension from B round to A, the geodesic between them.
TEST_F(FigureTest, PathsPassThroughTheirFixes) {
  Ex.OpProjection(P, Q, E);
  FigurePaths paths;
  AddFigurePaths(Recovered(), Earth, MaxPathStep, paths);
  ASSERT_EQ(paths.solid.Count(), 2u);  // the arc and the perpendicular
  ASSERT_EQ(paths.dashed.Count(), 1u);
  const TTriV p = ChartDirection(Earth, At(P));
  const TTriV q = ChartDirection(Earth, At(Q));
  EXPECT_TRUE(Near(p, paths.solid[0].front(), 1e-18L));
  EXPECT_TRUE(Near(q, paths.solid[0].back(), 1e-17L));
  EXPECT_TRUE(Near(q, paths.dashed[0].front(), 1e-17L));
  EXPECT_TRUE(Near(p, paths.dashed[0].back(), 1e-17L));
  // The perpendicular runs from E to the printed foot.
  EXPECT_TRUE(Near(ChartDirection(Earth, At(E)), paths.solid[1].front(), 1e-18L));

  Ex.OpDistance(R, E);
  paths.Clear();
  AddFigurePaths(Recovered(), Earth, MaxPathStep, paths);
  ASSERT_EQ(paths.geodesic.Count(), 1u);
  EXPECT_TRUE(Near(ChartDirection(Earth, At(R)), paths.geodesic[0].front(), 1e-15L));
  EXPECT_TRUE(Near(ChartDirection(Earth, At(E)), paths.geodesic[0].back(), 1e-14L));

  Options.DistUnits = TDistUnits::Kilometers;
  Ex.OpFixesAtDistance(P, Q, R, 0.4L);
  paths.Clear();
  AddFigurePaths(Recovered(), Earth, MaxPathStep, paths);
  ASSERT_EQ(paths.circle.Count(), 1u);
  EXPECT_EQ(paths.circle.Shape(0), PathShape::Closed);
}

TEST_F(FigureTest, Centre) {
  EXPECT_FALSE(FigureCentre(Figure{}).has_value());
  Ex.OpMidpoint(P, Q);
  const auto centre = FigureCentre(Recovered());
  ASSERT_TRUE(centre.has_value());
  EXPECT_TRUE(Near(Ex.PendingFix.Position, *centre, 1e-6L)) << "P, Q and their midpoint";
  Figure opposite;
  opposite.results.push_back({ResultKind::Midpoint, TTriV{1, 0, 0}});
  opposite.results.push_back({ResultKind::Midpoint, TTriV{-1, 0, 0}});
  EXPECT_EQ(*FigureCentre(opposite), (TTriV{1, 0, 0}));
}

}  // namespace
}  // namespace navorix::test
