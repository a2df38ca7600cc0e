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
    // An oblique arc, so that no computed point lies on the equator, where
    // rounding alone would decide between N and S.
    P = Add("P", 10, 0);
    Q = Add("Q", 10, 90);  // the circle through P and Q peaks at 14.0019N 45E
    M0 = Add("M0", 0, 45);
    M40 = Add("M40", 40, 45);
    R = Add("R", 30, 45);
  }
  std::uint16_t A, B, C, D, E, F, G, N, P, Q, M0, M40, R;
};

string Pos(const string& lat, const string& lon) { return lat + " " + lon; }
string DegMin(int D, const string& M, char H) { return std::to_string(D) + Deg + M + "'" + H; }

// Expected positions from an independent computation on the unit sphere.
TEST_F(ExecutorsTest, PointResultsCarryTheirSideMarks) {
  // Within both arcs.
  ex.OpIntersection(P, Q, M0, M40);
  EXPECT_EQ(Line(1), "Intersection of P-Q");
  EXPECT_EQ(Line(2), "and M0-M40");
  EXPECT_EQ(Line(3), Pos(DegMin(14, "00", 'N'), DegMin(45, "00", 'E')) + " **");
  EXPECT_EQ(ex.pendingFix.name, "INTERSECT/NEW");
  // Beyond the end of P-Q, within M0-M40 (the foot of E lies at 99.6E).
  ex.OpIntersection(P, Q, Add("S1", 0, 99.6L), Add("S2", 20, 99.6L));
  EXPECT_EQ(Line(3).substr(Line(3).size() - 3), " +*");

  ex.OpProjection(P, Q, E);
  EXPECT_EQ(Line(1), "Projection of E");
  EXPECT_EQ(Line(2), "on P-Q");
  EXPECT_EQ(Line(3), Pos(DegMin(8, "13", 'N'), DegMin(99, "38", 'E')) + " +");
  EXPECT_EQ(ex.pendingFix.name, "PROJECTION/NEW");

  ex.OpProjection(P, Q, F);
  EXPECT_EQ(Line(3), Pos(DegMin(8, "13", 'N'), DegMin(9, "38", 'W')) + " -");

  // Fix at D: the mark follows the position with no blank; the arc is 88.27
  // degrees long, so 100 degrees lies beyond Q.
  ex.OpFixAtDistance(P, Q, 100 * DegToRad);
  EXPECT_EQ(Line(1), "Fix at distance 11113 km");
  EXPECT_EQ(Line(2), "along P-Q");
  EXPECT_EQ(Line(3), Pos(DegMin(7, "48", 'N'), DegMin(101, "40", 'E')) + "+");
  EXPECT_EQ(ex.pendingFix.name, "FIX/NEW");
  EXPECT_EQ(log.Count(), 5);
}

TEST_F(ExecutorsTest, ArcFixDistanceMeasuresToTheNearerEndOutsideTheArc) {
  ex.OpArcFixDistance(A, B, C);  // foot inside: both distances 10 degrees
  EXPECT_EQ(Line(1), "Distance from A-B");
  EXPECT_EQ(Line(2), "to C");
  EXPECT_EQ(Line(3), "(Circ) 1111 (Arc) 1111 km *");
  ex.OpArcFixDistance(A, B, E);  // foot beyond B: 14.106 degrees from B
  EXPECT_EQ(Line(3), "(Circ) 1111 (Arc) 1568 km +");
  ex.OpArcFixDistance(A, B, F);  // foot before A
  EXPECT_EQ(Line(3), "(Circ) 1111 (Arc) 1568 km -");
  Set(options.distUnits, 3);
  ex.OpArcFixDistance(A, B, E);
  EXPECT_EQ(Line(3), string("(Circ) 10.00 (Arc) 14.11") + Deg + " +");
}

TEST_F(ExecutorsTest, ArcArcAndAzimuthLines) {
  ex.OpArcArcDistance(A, B, F, G);  // nearest points A and F
  EXPECT_EQ(Line(1), "Distance from A-B");
  EXPECT_EQ(Line(2), "to F-G");  // built as "  to F-G"
  EXPECT_EQ(Line(3), "1568 km");

  ex.OpAzimuth(A, C);
  EXPECT_EQ(Line(1), "Azimuth from A to C");
  EXPECT_EQ(Line(2), "");
  EXPECT_EQ(Line(3), string("(S) 76.00") + Deg);
}

TEST_F(ExecutorsTest, GeodesicAzimuthComesFirstOnlyWithEllipsoidalUnits) {
  earth.ellipticLat = true;
  earth.geoDistance = true;
  ex.OpAzimuth(A, C);
  const FixRecord a = db.Get(A), c = db.Get(C);
  const string g = FormatAzimuth(GeodesicAzimuth(a.position, c.position));
  const string s = FormatAzimuth(Azimuth(a.position, c.position));
  ASSERT_NE(g, s);  // the two kinds must be told apart
  EXPECT_EQ(Line(3), "(G) " + g + " (S) " + s);
  Set(options.distUnits, 3);
  ex.OpAzimuth(A, C);
  EXPECT_EQ(Line(3), "(S) " + s);
}

TEST_F(ExecutorsTest, FixAtDistAzTakesNegativeDistancesBackwards) {
  const long double D1000 = 1000.0L / DefaultSpherRadius;
  ex.OpFixAtDistAz(P, 90 * DegToRad, D1000);
  EXPECT_EQ(Line(1), "Fix at distance 1000 km");
  EXPECT_EQ(Line(2), string("and azimuth 90.00") + Deg + " from P");
  EXPECT_EQ(Line(3), Pos(DegMin(9, "53", 'N'), DegMin(9, "08", 'E')));
  EXPECT_EQ(ex.pendingFix.name, "FIXAT/NEW");
  ex.OpFixAtDistAz(P, 90 * DegToRad, -D1000);
  EXPECT_EQ(Line(1), "Fix at distance -1000 km");
  EXPECT_EQ(Line(3), Pos(DegMin(9, "53", 'N'), DegMin(9, "08", 'W')));
}

TEST_F(ExecutorsTest, MidpointIsProposedAsNewFix) {
  ex.OpMidpoint(P, Q);
  EXPECT_EQ(Line(1), "Midpoint from P to Q");
  EXPECT_EQ(Line(3), Pos(DegMin(14, "00", 'N'), DegMin(45, "00", 'E')));
  ASSERT_TRUE(ex.pendingFix.valid);
  EXPECT_EQ(ex.pendingFix.name, "MIDPOINT/NEW");
  EXPECT_NEAR(static_cast<double>(PosLon(ex.pendingFix.position) * RadToDeg), 45.0, 1e-12);
}

TEST_F(ExecutorsTest, FixesAtDistanceProposesTheSecondSolutionOrKeepsTheOldOne) {
  // R lies 16.0 degrees off the circle of P-Q; 20 degrees reach it 12.16
  // degrees either side of R's foot. The padding of the second position
  // leaves one blank after the comma.
  ex.OpFixesAtDistance(P, Q, R, 20 * DegToRad);
  EXPECT_EQ(Line(1), string("Fixes at 2223 km from R"));
  EXPECT_EQ(Line(2), "on P-Q");
  EXPECT_EQ(Line(3), Pos(DegMin(13, "41", 'N'), DegMin(32, "29", 'E')) + "*, " +
                         Pos(DegMin(13, "41", 'N'), DegMin(57, "31", 'E')) + "*");
  EXPECT_EQ(ex.pendingFix.name, "PROX-2/NEW");
  EXPECT_NEAR(static_cast<double>(PosLon(ex.pendingFix.position) * RadToDeg), 57.52, 0.01);

  ex.OpMidpoint(A, B);
  const FixRecord before = ex.pendingFix;
  ex.OpFixesAtDistance(P, Q, N, 10 * DegToRad);  // N is 49 degrees off the circle
  EXPECT_EQ(Line(3), "No solutions: out of range");
  EXPECT_EQ(ex.pendingFix.name, before.name);
  EXPECT_EQ(ex.pendingFix.position, before.position);
}

TEST_F(ExecutorsTest, FailuresLogNothingAndKeepThePendingFix) {
  ex.OpMidpoint(A, B);
  const auto records = log.Count();
  const int sounds = ex.sounds;
  try {
    ex.OpProjection(A, A, C);
    FAIL() << "an arc from a fix to itself was accepted";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), msg::SameOrOpposing);
  }
  EXPECT_THROW(ex.OpIntersection(A, B, A, B), Error);  // one circle
  EXPECT_EQ(log.Count(), records);
  EXPECT_EQ(ex.sounds, sounds);  // no sound of success either
  EXPECT_EQ(ex.pendingFix.name, "MIDPOINT/NEW");
}

TEST_F(ExecutorsTest, EntriesWithoutPositionAreRefused) {
  FixRecord unread;  // what a fix-file line that did not read adds
  unread.name = "BAD";
  db.Add(unread);
  const auto bad = db.Count();
  try {
    ex.OpMidpoint(A, bad);
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), msg::FixNotValid);
  }
  try {
    ex.OpAzimuth(0, A);
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), msg::NoSuchFix);
  }
  EXPECT_THROW(ex.OpDistance(A, static_cast<std::uint16_t>(bad + 1)), Error);
  EXPECT_EQ(log.Count(), 0);
  EXPECT_FALSE(ex.pendingFix.valid);
  EXPECT_FALSE(ex.distanceChain.lastFix.valid);
}

}  // namespace
}  // namespace navorix::test
