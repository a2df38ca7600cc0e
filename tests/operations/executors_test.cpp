// The executors: their log lines, the pending fix and the failures that
// must leave everything as it was.
#include <gtest/gtest.h>

#include "geometry/ellipsoid.h"
#include "geometry/error.h"
#include "geometry/great_circle.h"
#include "op_fixture.h"
#include "operations/messages.h"
#include "text/format.h"

namespace navorix::test {
namespace {

using std::string;

class ExecutorsTest : public OperationsTest {
 protected:
  void SetUp() override {
    OperationsTest::SetUp();
    A = Add("A", 0, 0);
    B = Add("B", 0, 90);
    C = Add("C", 10, 45);
    D = Add("D", -10, 45);
    E = Add("E", 10, 100);
    F = Add("F", 10, -10);
    G = Add("G", 20, -10);
    N = Add("N", 60, 0);
  }
  std::uint16_t A, B, C, D, E, F, G, N;
};

string Pos(const string& Lat, const string& Lon) { return Lat + " " + Lon; }
string DegMin(int D, const string& M, char H) { return std::to_string(D) + Deg + M + "'" + H; }

TEST_F(ExecutorsTest, PointResultsCarryTheirSideMarks) {
  // Within the arc, beyond its end, and beyond on one arc but within the other.
  Ex.OpIntersection(A, B, C, D);
  EXPECT_EQ(Line(1), "Intersection of A-B");
  EXPECT_EQ(Line(2), "and C-D");
  EXPECT_EQ(Line(3), Pos(DegMin(0, "00", 'N'), DegMin(45, "00", 'E')) + " **");

  Ex.OpProjection(A, B, E);
  EXPECT_EQ(Line(1), "Projection of E");
  EXPECT_EQ(Line(2), "on A-B");
  EXPECT_EQ(Line(3), Pos(DegMin(0, "00", 'N'), DegMin(100, "00", 'E')) + " +");
  EXPECT_EQ(Ex.PendingFix.Name, "PROJECTION/NEW");

  Ex.OpProjection(A, B, F);
  EXPECT_EQ(Line(3), Pos(DegMin(0, "00", 'N'), DegMin(10, "00", 'W')) + " -");

  // Fix at D: the mark follows the position with no blank.
  Ex.OpFixAtDistance(A, B, 100 * DegToRad);
  EXPECT_EQ(Line(1), "Fix at distance 11113 km");
  EXPECT_EQ(Line(2), "along A-B");
  EXPECT_EQ(Line(3), Pos(DegMin(0, "00", 'N'), DegMin(100, "00", 'E')) + "+");
  EXPECT_EQ(Ex.PendingFix.Name, "FIX/NEW");
  EXPECT_EQ(Log.Count(), 4);
}

TEST_F(ExecutorsTest, ArcFixDistanceMeasuresToTheNearerEndOutsideTheArc) {
  Ex.OpArcFixDistance(A, B, C);  // foot inside: both distances 10 degrees
  EXPECT_EQ(Line(1), "Distance from A-B");
  EXPECT_EQ(Line(2), "to C");
  EXPECT_EQ(Line(3), "(Circ) 1111 (Arc) 1111 km *");
  Ex.OpArcFixDistance(A, B, E);  // foot beyond B: 14.106 degrees from B
  EXPECT_EQ(Line(3), "(Circ) 1111 (Arc) 1568 km +");
  Ex.OpArcFixDistance(A, B, F);  // foot before A
  EXPECT_EQ(Line(3), "(Circ) 1111 (Arc) 1568 km -");
  DisplayOptions.DistUnits = 3;
  Ex.OpArcFixDistance(A, B, E);
  EXPECT_EQ(Line(3), string("(Circ) 10.00 (Arc) 14.11") + Deg + " +");
}

TEST_F(ExecutorsTest, ArcArcAndAzimuthLines) {
  Ex.OpArcArcDistance(A, B, F, G);  // nearest points A and F
  EXPECT_EQ(Line(1), "Distance from A-B");
  EXPECT_EQ(Line(2), "to F-G");  // built as "  to F-G"
  EXPECT_EQ(Line(3), "1568 km");

  Ex.OpAzimuth(A, C);
  EXPECT_EQ(Line(1), "Azimuth from A to C");
  EXPECT_EQ(Line(2), "");
  EXPECT_EQ(Line(3), string("(S) 76.00") + Deg);
}

TEST_F(ExecutorsTest, GeodesicAzimuthComesFirstOnlyWithEllipsoidalUnits) {
  EllipticLat = true;
  GeoDistance = true;
  Ex.OpAzimuth(A, C);
  const FixRecord a = DB.Get(A), c = DB.Get(C);
  const string g = FormatAzimuth(GeodesicAzimuth(a.Position, c.Position));
  const string s = FormatAzimuth(Azimuth(a.Position, c.Position));
  ASSERT_NE(g, s);  // the two kinds must be told apart
  EXPECT_EQ(Line(3), "(G) " + g + " (S) " + s);
  DisplayOptions.DistUnits = 3;
  Ex.OpAzimuth(A, C);
  EXPECT_EQ(Line(3), "(S) " + s);
}

TEST_F(ExecutorsTest, FixAtDistAzTakesNegativeDistancesBackwards) {
  const long double D1000 = 1000.0L / DefaultSpherRadius;
  Ex.OpFixAtDistAz(A, 90 * DegToRad, D1000);
  EXPECT_EQ(Line(1), "Fix at distance 1000 km");
  EXPECT_EQ(Line(2), string("and azimuth 90.00") + Deg + " from A");
  EXPECT_EQ(Line(3), Pos(DegMin(0, "00", 'N'), DegMin(9, "00", 'E')));
  EXPECT_EQ(Ex.PendingFix.Name, "FIXAT/NEW");
  Ex.OpFixAtDistAz(A, 90 * DegToRad, -D1000);
  EXPECT_EQ(Line(1), "Fix at distance -1000 km");
  EXPECT_EQ(Line(3), Pos(DegMin(0, "00", 'N'), DegMin(9, "00", 'W')));
}

TEST_F(ExecutorsTest, MidpointIsProposedAsNewFix) {
  Ex.OpMidpoint(A, B);
  EXPECT_EQ(Line(1), "Midpoint from A to B");
  EXPECT_EQ(Line(3), Pos(DegMin(0, "00", 'N'), DegMin(45, "00", 'E')));
  ASSERT_TRUE(Ex.PendingFix.Valid);
  EXPECT_EQ(Ex.PendingFix.Name, "MIDPOINT/NEW");
  EXPECT_NEAR(static_cast<double>(PosLon(Ex.PendingFix.Position) * RadToDeg), 45.0, 1e-12);
}

TEST_F(ExecutorsTest, FixesAtDistanceProposesTheSecondSolutionOrKeepsTheOldOne) {
  Ex.OpFixesAtDistance(A, B, C, 20 * DegToRad);
  EXPECT_EQ(Line(1), string("Fixes at 2223 km from C"));
  EXPECT_EQ(Line(2), "on A-B");
  // 45 -+ 17.4099 degrees along the equator.
  EXPECT_EQ(Line(3), Pos(DegMin(0, "00", 'N'), DegMin(27, "35", 'E')) + "*," +
                         Pos(DegMin(0, "00", 'N'), DegMin(62, "25", 'E')) + "*");
  EXPECT_EQ(Ex.PendingFix.Name, "PROX-2/NEW");
  EXPECT_NEAR(static_cast<double>(PosLon(Ex.PendingFix.Position) * RadToDeg), 62.40985205, 1e-7);

  Ex.OpMidpoint(A, B);
  const FixRecord before = Ex.PendingFix;
  Ex.OpFixesAtDistance(A, B, N, 10 * DegToRad);  // 60 degrees off the circle
  EXPECT_EQ(Line(3), "No solutions: out of range");
  EXPECT_EQ(Ex.PendingFix.Name, before.Name);
  EXPECT_EQ(Ex.PendingFix.Position, before.Position);
}

TEST_F(ExecutorsTest, FailuresLogNothingAndKeepThePendingFix) {
  Ex.OpMidpoint(A, B);
  const auto records = Log.Count();
  const int sounds = View.Sounds;
  try {
    Ex.OpProjection(A, A, C);
    FAIL() << "an arc from a fix to itself was accepted";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), msg::SameOrOpposing);
  }
  EXPECT_THROW(Ex.OpIntersection(A, B, A, B), Error);  // one circle
  EXPECT_EQ(Log.Count(), records);
  EXPECT_EQ(View.Sounds, sounds);  // no sound of success either
  EXPECT_EQ(Ex.PendingFix.Name, "MIDPOINT/NEW");
}

TEST_F(ExecutorsTest, EntriesWithoutPositionAreRefused) {
  FixRecord unread;  // what a fix-file line that did not read adds
  unread.Name = "BAD";
  DB.Add(unread);
  const auto bad = DB.Count();
  try {
    Ex.OpMidpoint(A, bad);
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), msg::FixNotValid);
  }
  try {
    Ex.OpAzimuth(0, A);
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), msg::NoSuchFix);
  }
  EXPECT_THROW(Ex.OpDistance(A, static_cast<std::uint16_t>(bad + 1)), Error);
  EXPECT_EQ(Log.Count(), 0);
  EXPECT_FALSE(Ex.PendingFix.Valid);
  EXPECT_FALSE(Ex.DistanceChain.LastFix.Valid);
}

}  // namespace
}  // namespace navorix::test
