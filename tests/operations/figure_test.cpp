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

::testing::AssertionResult Near(const Vector3& expected, const Vector3& actual, long double tolerance) {
  const long double apart = VectorAngle(expected, actual);
  if (apart <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << static_cast<double>(apart) << " rad apart";
}

class FigureTest : public OperationsTest {
 protected:
  void SetUp() override {
    OperationsTest::SetUp();
    earth.ellipticLat = true;  // the program's own setting: the hard case
    earth.geoDistance = true;
    options.precision = Accuracy::High;
    P = Add("P", 10, 0);
    Q = Add("Q", 10, 90);
    M0 = Add("M0", 0, 45);
    M40 = Add("M40", 40, 45);
    R = Add("R", 30, 45);
    E = Add("E", 10, 100);
    dash = Add("A-1", 35, 40);  // a name with the arc's own separator
    far = Add("FAR", 20, 120);
  }

  // The figure recovered from the last record.
  Figure Recovered() const { return RecoverFigure(Line(1), Line(2), Line(3), db, earth); }
  Vector3 At(std::uint16_t fix) const { return db.Get(fix).position; }

  std::uint16_t P, Q, M0, M40, R, E, dash, far;
};

// Each operation's record, recovered: the operation, its operand fixes, the
// printed points (to the 1e-6 degree the High accuracy prints), and the
// lines between them.
TEST_F(FigureTest, RecoveredFromEveryKindOfRecord) {
  struct Case {
    string name;
    std::function<void()> run;
    OperationTag operation;
    std::vector<std::uint16_t> operands;
    std::vector<FigureLineKind> lines;
    std::size_t results;
  };
  const long double d = DistanceToAngle(DistUnits::Kilometers, earth.shape.spherRadius, 2000);
  const std::vector<Case> cases = {
      {"Fix-Fix with the geodesic",
       [&] { ex.OpDistance(P, Q); },
       OperationTag::FixFix,
       {P, Q},
       {FigureLineKind::Segment, FigureLineKind::Geodesic},
       0},
      {"Next Fix: the chain's ends, no leg",
       [&] {
         ex.OpDistance(P, Q);
         ex.OpDistance(E);
       },
       OperationTag::NextFix,
       {P, E},
       {},
       0},
      {"Arc-Fix, its foot found again",
       [&] { ex.OpArcFixDistance(P, Q, R); },
       OperationTag::ArcFix,
       {P, Q, R},
       {FigureLineKind::ExtendedArc, FigureLineKind::Segment},
       1},
      {"Arc-Fix beyond the arc's end",
       [&] { ex.OpArcFixDistance(P, M0, far); },
       OperationTag::ArcFix,
       {P, M0, far},
       {FigureLineKind::ExtendedArc, FigureLineKind::Segment, FigureLineKind::Segment},
       1},
      {"Arc-Arc",
       [&] { ex.OpArcArcDistance(P, Q, M0, M40); },
       OperationTag::ArcArc,
       {P, Q, M0, M40},
       {FigureLineKind::Arc, FigureLineKind::Arc},
       0},
      {"Midpoint",
       [&] { ex.OpMidpoint(P, Q); },
       OperationTag::Midpoint,
       {P, Q},
       {FigureLineKind::Segment},
       1},
      {"Azimuth with the geodesic",
       [&] { ex.OpAzimuth(R, E); },
       OperationTag::Azimuth,
       {R, E},
       {FigureLineKind::Segment, FigureLineKind::Geodesic},
       0},
      {"Fix at distance and azimuth",
       [&] { ex.OpFixAtDistAz(R, 1.0L, d); },
       OperationTag::FixAtDistAz,
       {R},
       {},
       1},
      {"Projection",
       [&] { ex.OpProjection(P, Q, E); },
       OperationTag::Projection,
       {P, Q, E},
       {FigureLineKind::ExtendedArc, FigureLineKind::Segment},
       1},
      {"Intersection",
       [&] { ex.OpIntersection(P, Q, M0, M40); },
       OperationTag::Intersection,
       {P, Q, M0, M40},
       {FigureLineKind::ExtendedArc, FigureLineKind::ExtendedArc},
       1},
      {"Fixes at D",
       [&] { ex.OpFixesAtDistance(P, Q, R, d); },
       OperationTag::FixesAtDistance,
       {P, Q, R},
       {FigureLineKind::ExtendedArc},
       2},
      {"Fix at distance along an arc",
       [&] { ex.OpFixAtDistance(P, Q, d); },
       OperationTag::FixAtDistance,
       {P, Q},
       {FigureLineKind::ExtendedArc},
       1},
      {"an arc whose first name holds a dash",
       [&] { ex.OpIntersection(dash, Q, M0, M40); },
       OperationTag::Intersection,
       {dash, Q, M0, M40},
       {FigureLineKind::ExtendedArc, FigureLineKind::ExtendedArc},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.run();
    const Figure figure = Recovered();
    EXPECT_TRUE(figure.recovered);
    ASSERT_EQ(figure.operation, c.operation) << Line(1) << " / " << Line(2);
    ASSERT_EQ(figure.operands.size(), c.operands.size());
    for (std::size_t i = 0; i < c.operands.size(); ++i)
      EXPECT_EQ(figure.operands[i].name, db.Get(c.operands[i]).name);
    ASSERT_EQ(figure.lines.size(), c.lines.size());
    for (std::size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(figure.lines[i].kind, c.lines[i]);
    EXPECT_EQ(figure.results.size(), c.results);
    // A point result is the proposed fix, printed to 1e-6 degree.
    if (c.results == 1 && c.operation != OperationTag::ArcFix) {
      EXPECT_TRUE(Near(ex.pendingFix.position, figure.results[0].position, 3e-8L));
    }
  }
}

// The circle of Fixes at D has the distance asked for, from the first
// solution when there is one and from line 1 when there is none.
TEST_F(FigureTest, TheCircleOfFixesAtD) {
  struct Case {
    DistUnits units;
    long double typed;
    bool solutions;
  };
  const Case cases[] = {{DistUnits::Kilometers, 2000, true},
                        {DistUnits::NautMiles, 500, false},
                        {DistUnits::Miles, 700, false},
                        {DistUnits::Degrees, 3.5L, false},
                        {DistUnits::Degrees, 25, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    options.distUnits = c.units;
    const long double d = DistanceToAngle(c.units, earth.shape.spherRadius, c.typed);
    ex.OpFixesAtDistance(P, Q, R, d);
    EXPECT_EQ(Line(3) == "No solutions: out of range", !c.solutions);
    const Figure figure = Recovered();
    ASSERT_TRUE(figure.circle.has_value());
    EXPECT_TRUE(Near(At(R), figure.circle->centre, 0.0L));
    // The first solution is printed to 1e-6 degree, line 1 to 2 * 3
    // decimals of the unit.
    EXPECT_NEAR(static_cast<double>(d), static_cast<double>(figure.circle->radius), 3e-8);
    if (c.solutions) {
      const FixesAtDistanceResult found = FixesAtDistance(MakeArc(At(P), At(Q)), At(R), d);
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
      options.latLonFormat = static_cast<AngleFormat>(format);
      options.precision = static_cast<Accuracy>(accuracy);
      ex.OpIntersection(P, Q, M0, M40);
      const Figure figure = Recovered();
      ASSERT_EQ(figure.results.size(), 1u) << format << " " << accuracy << ": " << Line(3);
      // Low accuracy prints whole minutes or hundredths of a degree.
      const long double printed = accuracy == 0 ? 2e-4L : 3e-6L;
      EXPECT_TRUE(Near(ex.pendingFix.position, figure.results[0].position, printed)) << Line(3);
    }
  }
}

TEST_F(FigureTest, FixesThatAreGoneAreLeftOut) {
  ex.OpIntersection(P, Q, M0, M40);
  const string l1 = Line(1), l2 = Line(2), l3 = Line(3);
  db.Delete(Q);  // Q's successors move up a place
  const Figure figure = RecoverFigure(l1, l2, l3, db, earth);
  ASSERT_EQ(figure.operands.size(), 3u);
  EXPECT_EQ(figure.operands[0].name, "P");
  EXPECT_EQ(figure.operands[1].name, "M0");
  ASSERT_EQ(figure.lines.size(), 1u) << "only the arc M0-M40 is whole";
  EXPECT_EQ(figure.results.size(), 1u) << "the printed point stays";
}

TEST_F(FigureTest, ForeignTextNeverThrows) {
  const std::vector<std::vector<string>> records = {
      {"", "", ""},
      {"Distance from", "to", "(Circ)"},
      {"Fixes at from R", "on", ""},
      {"Fix at distance 5 km", "and azimuth from", "1N 2E"},
      {"Intersection of ---", "and -",
       "91.00\xB0N 0.00\xB0"
       "E **"},
      {"hello", "world",
       "10.00\xB0N 20.00\xB0"
       "E, 30.00\xB0S 40.00\xB0W"},
  };
  for (const auto& r : records) {
    const Figure figure = RecoverFigure(r[0], r[1], r[2], db, earth);
    EXPECT_TRUE(figure.recovered);
  }
  const Figure foreign = RecoverFigure("hello", "world",
                                       "10.00\xB0N 20.00\xB0"
                                       "E, 30.00\xB0S 40.00\xB0W",
                                       db, earth);
  EXPECT_FALSE(foreign.operation.has_value());
  EXPECT_EQ(foreign.results.size(), 2u) << "the positions it prints";
  // Random bytes, as a damaged history file could hold.
  std::mt19937 random(18);
  std::uniform_int_distribution<int> byte(1, 255);
  const string words[] = {"Distance ", "from ", "to ", "of ", "-",    "P", "Q",
                          "R",         "\xB0",  "N ",  "E ",  "(G) ", ",", "*"};
  for (int i = 0; i < 2000; ++i) {
    string lines[3];
    for (string& line : lines)
      for (auto k = random() % 12; k > 0; --k)
        line += random() % 3 == 0 ? string(1, static_cast<char>(byte(random))) : words[random() % 14];
    EXPECT_NO_THROW(RecoverFigure(lines[0], lines[1], lines[2], db, earth));
  }
}

// What the operations know themselves: the typed azimuth and distance.
TEST_F(FigureTest, BuiltFromWhatTheOperationKnows) {
  FigureInputs inputs;
  inputs.operation = OperationTag::FixAtDistAz;
  inputs.fixes[0] = db.Get(R);
  inputs.azimuth = -2.5L;
  inputs.distance = -0.3L;  // a negative distance runs back along the course
  const Vector3 found = FixAtDistAz(At(R), -2.5L, -0.3L);
  inputs.results.push_back({ResultKind::FixAtDistAz, found});
  const Figure figure = BuildFigure(inputs);
  ASSERT_TRUE(figure.ray.has_value());
  FigurePaths paths;
  AddFigurePaths(figure, earth, MaxPathStep, paths);
  ASSERT_EQ(paths.solid.Count(), 1u);
  EXPECT_TRUE(Near(ChartDirection(earth, At(R)), paths.solid[0].front(), 1e-18L));
  EXPECT_TRUE(Near(ChartDirection(earth, found), paths.solid[0].back(), 1e-17L))
      << "the ray ends at the fix found";
  // Same fixes give no arc and no error.
  FigureInputs same;
  same.operation = OperationTag::Intersection;
  for (auto& fix : same.fixes) fix = db.Get(P);
  EXPECT_TRUE(BuildFigure(same).lines.empty() == false);
  FigurePaths none;
  AddFigurePaths(BuildFigure(same), earth, MaxPathStep, none);
  EXPECT_EQ(none.solid.Count() + none.dashed.Count(), 0u);
}

// The lines on the chart's sphere pass through their fixes: the arc from A
// to B, its extension from B round to A, the geodesic between them.
TEST_F(FigureTest, PathsPassThroughTheirFixes) {
  ex.OpProjection(P, Q, E);
  FigurePaths paths;
  AddFigurePaths(Recovered(), earth, MaxPathStep, paths);
  ASSERT_EQ(paths.solid.Count(), 2u);  // the arc and the perpendicular
  ASSERT_EQ(paths.dashed.Count(), 1u);
  const Vector3 p = ChartDirection(earth, At(P));
  const Vector3 q = ChartDirection(earth, At(Q));
  EXPECT_TRUE(Near(p, paths.solid[0].front(), 1e-18L));
  EXPECT_TRUE(Near(q, paths.solid[0].back(), 1e-17L));
  EXPECT_TRUE(Near(q, paths.dashed[0].front(), 1e-17L));
  EXPECT_TRUE(Near(p, paths.dashed[0].back(), 1e-17L));
  // The perpendicular runs from E to the printed foot.
  EXPECT_TRUE(Near(ChartDirection(earth, At(E)), paths.solid[1].front(), 1e-18L));

  ex.OpDistance(R, E);
  paths.Clear();
  AddFigurePaths(Recovered(), earth, MaxPathStep, paths);
  ASSERT_EQ(paths.geodesic.Count(), 1u);
  EXPECT_TRUE(Near(ChartDirection(earth, At(R)), paths.geodesic[0].front(), 1e-15L));
  EXPECT_TRUE(Near(ChartDirection(earth, At(E)), paths.geodesic[0].back(), 1e-14L));

  options.distUnits = DistUnits::Kilometers;
  ex.OpFixesAtDistance(P, Q, R, 0.4L);
  paths.Clear();
  AddFigurePaths(Recovered(), earth, MaxPathStep, paths);
  ASSERT_EQ(paths.circle.Count(), 1u);
  EXPECT_EQ(paths.circle.Shape(0), PathShape::Closed);
}

TEST_F(FigureTest, Centre) {
  EXPECT_FALSE(FigureCentre(Figure{}).has_value());
  ex.OpMidpoint(P, Q);
  const auto centre = FigureCentre(Recovered());
  ASSERT_TRUE(centre.has_value());
  EXPECT_TRUE(Near(ex.pendingFix.position, *centre, 1e-6L)) << "P, Q and their midpoint";
  Figure opposite;
  opposite.results.push_back({ResultKind::Midpoint, Vector3{1, 0, 0}});
  opposite.results.push_back({ResultKind::Midpoint, Vector3{-1, 0, 0}});
  EXPECT_EQ(*FigureCentre(opposite), (Vector3{1, 0, 0}));
}

}  // namespace
}  // namespace navorix::test
