// Fix-Fix and Next Fix: the kinds of distance, their order, the running
// sums, and the state of the chain and of the Next Fix button.
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

class DistanceTest : public OperationsTest {};

TEST_F(DistanceTest, SphereOnlyShowsTheUnitAfterABlankOrTheDegreeSign) {
  const auto a = Add("A", 0, 0), b = Add("B", 0, 90);
  Ex.OpDistance(a, b);
  EXPECT_EQ(Line(1), "Distance from A to B");
  EXPECT_EQ(Line(2), "");
  EXPECT_EQ(Line(3), "(S) 10002 km");  // a quarter of 2 pi 6367.4357
  Set(Options.DistUnits, 2);
  Ex.OpDistance(a, b);
  EXPECT_EQ(Line(3), "(S) 5401 nm");
  Set(Options.DistUnits, 3);
  Ex.OpDistance(a, b);
  EXPECT_EQ(Line(3), string("(S) 90.00") + Deg);
}

TEST_F(DistanceTest, EllipsoidalKindsComeInTheOrderEGS) {
  Earth.EllipticLat = true;
  Earth.EllipticArc = true;
  Earth.GeoDistance = true;
  Set(Options.Precision, 2);  // 0.0001 km tells the two ellipsoidal kinds apart
  const auto a = Add("A", 10, 20), b = Add("B", 50, 100);
  Ex.OpDistance(a, b);
  const TTriV pa = DB.Get(a).Position, pb = DB.Get(b).Position;
  const string e = FormatDistance(EllipticArcDist(pa, pb), false);
  const string g = FormatDistance(GeodesicDist(pa, pb), false);
  const string s = FormatDistance(CentralAngle(pa, pb), false);
  ASSERT_NE(e, g);
  EXPECT_EQ(Line(3), "(E) " + e + " (G) " + g + " (S) " + s + " km");

  // Degrees as the unit before the next Fix-Fix: only the sphere.
  Set(Options.DistUnits, 3);
  Ex.OpDistance(a, b);
  EXPECT_EQ(Line(3), "(S) " + FormatDistance(CentralAngle(pa, pb), true));
  // Without elliptic latitudes there are no ellipsoidal distances either.
  Set(Options.DistUnits, 0);
  Earth.EllipticLat = false;
  Ex.OpDistance(a, b);
  EXPECT_EQ(Line(3).substr(0, 4), "(S) ");
}

TEST_F(DistanceTest, NextFixSumsTheChainAndNamesItsStart) {
  const auto a = Add("A", 0, 0), b = Add("B", 0, 45), c = Add("C", 0, 90), d = Add("D", 45, 90);
  Ex.OpDistance(a, b);
  EXPECT_TRUE(Ex.NextFixEnabled());
  Ex.OpDistance(c);
  EXPECT_EQ(Line(1), "Accumulated distance from A");
  EXPECT_EQ(Line(2), "to C");
  EXPECT_EQ(Line(3), "(S) 10002 km");
  Ex.OpDistance(d);
  EXPECT_EQ(Line(1), "Accumulated distance from A");
  EXPECT_EQ(Line(2), "to D");
  EXPECT_EQ(Line(3), "(S) 15003 km");  // 135 degrees along the chain, not the 90 of A-D
  // A change of unit in the middle of the chain converts the whole sum.
  Set(Options.DistUnits, 3);
  Ex.OpDistance(a);
  EXPECT_EQ(Line(3), string("(S) 225.00") + Deg);  // D back to A is 90 more
  // A new Fix-Fix restarts the sums.
  Set(Options.DistUnits, 0);
  Ex.OpDistance(c, d);
  Ex.OpDistance(b);
  EXPECT_EQ(Line(1), "Accumulated distance from C");
  EXPECT_EQ(Line(3), "(S) 11669 km");  // 45 + 60 degrees (D to B): 11668.94
}

TEST_F(DistanceTest, NearlyAntipodalFixesKeepTheGeodesic) {
  Earth.EllipticLat = true;
  Earth.EllipticArc = true;
  Earth.GeoDistance = true;
  // Nearly antipodal off the equator, where Vincenty's iteration does not
  // settle: the geodesic comes from Karney's method and stays in the chain.
  const auto a = Add("A", 0, 0), b = Add("B", 0.5L, 179.7L), c = Add("C", 10, 100);
  const TTriV pa = DB.Get(a).Position, pb = DB.Get(b).Position, pc = DB.Get(c).Position;
  Ex.OpDistance(a, b);
  EXPECT_EQ(Line(3), "(E) " + FormatDistance(EllipticArcDist(pa, pb), false) + " (G) " +
                         FormatDistance(GeodesicDist(pa, pb), false) + " (S) " +
                         FormatDistance(CentralAngle(pa, pb), false) + " km");
  Ex.OpDistance(c);
  EXPECT_NE(Line(3).find("(G) " + FormatDistance(GeodesicDist(pa, pb) + GeodesicDist(pb, pc), false)),
            string::npos);
  EXPECT_TRUE(Ex.DistanceChain.WithG);
}

TEST_F(DistanceTest, AFailedGeodesicIsDroppedForTheRestOfTheChain) {
  Earth.EllipticLat = true;
  Earth.EllipticArc = true;
  Earth.GeoDistance = true;
  // A step to the same place: both ellipsoidal distances fail ("Same or
  // opposing fixes") and are left out from then on; the sphere gives 0.
  const auto a = Add("A", 0, 0), a2 = Add("A2", 0, 0), c = Add("C", 10, 100);
  const TTriV pa = DB.Get(a).Position, pc = DB.Get(c).Position;
  ASSERT_THROW(GeodesicDist(pa, DB.Get(a2).Position), Error);
  Ex.OpDistance(c, a);
  EXPECT_EQ(Line(3).substr(0, 4), "(E) ");
  EXPECT_NE(Line(3).find("(G) "), string::npos);
  Ex.OpDistance(a2);
  EXPECT_EQ(Line(3), "(S) " + FormatDistance(CentralAngle(pc, pa), false) + " km");
  Ex.OpDistance(c);  // and they stay dropped though A2-C would succeed
  EXPECT_EQ(Line(3).find("(G)"), string::npos);
  EXPECT_EQ(Line(3).find("(E)"), string::npos);
  EXPECT_FALSE(Ex.DistanceChain.WithG);
  EXPECT_FALSE(Ex.DistanceChain.WithE);
}

TEST_F(DistanceTest, NextFixWithoutAChainIsRefused) {
  const auto a = Add("A", 0, 0);
  Ex.SetNextFixEnabled(true);  // as a distance-unit selection at start does
  try {
    Ex.OpDistance(a);
    FAIL() << "Next Fix measured from an empty last fix";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), msg::NoDistanceChain);
  }
  EXPECT_EQ(Log.Count(), 0);
  EXPECT_EQ(Ex.Sounds, 0);
}

TEST_F(DistanceTest, ASphereFailureKeepsThePreviousChain) {
  const auto a = Add("A", 0, 0), b = Add("B", 0, 90), c = Add("C", 0, 180), d = Add("D", 10, 90);
  Ex.OpDistance(a, b);
  const auto records = Log.Count();
  EXPECT_THROW(Ex.OpDistance(a, c), Error);  // antipodal
  EXPECT_EQ(Log.Count(), records);
  EXPECT_EQ(Ex.DistanceChain.StartName, "A");
  EXPECT_EQ(Ex.DistanceChain.LastFix.Name, "B");
  Ex.OpDistance(d);
  EXPECT_EQ(Line(1), "Accumulated distance from A");
  EXPECT_EQ(Line(3), "(S) 11113 km");  // 90 + 10 degrees
}

TEST_F(DistanceTest, FixFixEnablesNextFixAndDisablingKeepsTheChain) {
  const auto a = Add("A", 0, 0), b = Add("B", 0, 90);
  Ex.OpDistance(a, b);
  ASSERT_FALSE(Ex.NextFixChanges.empty());
  EXPECT_TRUE(Ex.NextFixChanges.back());
  Ex.SetNextFixEnabled(false);
  EXPECT_FALSE(Ex.NextFixEnabled());
  EXPECT_FALSE(Ex.NextFixChanges.back());
  EXPECT_EQ(Ex.DistanceChain.StartName, "A");
  EXPECT_TRUE(Ex.DistanceChain.LastFix.Valid);
}

}  // namespace
}  // namespace navorix::test
