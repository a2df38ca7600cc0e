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
  ex.OpDistance(a, b);
  EXPECT_EQ(Line(1), "Distance from A to B");
  EXPECT_EQ(Line(2), "");
  EXPECT_EQ(Line(3), "(S) 10002 km");  // a quarter of 2 pi 6367.4357
  Set(options.distUnits, 2);
  ex.OpDistance(a, b);
  EXPECT_EQ(Line(3), "(S) 5401 nm");
  Set(options.distUnits, 3);
  ex.OpDistance(a, b);
  EXPECT_EQ(Line(3), string("(S) 90.00") + Deg);
}

TEST_F(DistanceTest, EllipsoidalKindsComeInTheOrderEGS) {
  earth.ellipticLat = true;
  earth.ellipticArc = true;
  earth.geoDistance = true;
  Set(options.precision, 2);  // 0.0001 km tells the two ellipsoidal kinds apart
  const auto a = Add("A", 10, 20), b = Add("B", 50, 100);
  ex.OpDistance(a, b);
  const Vector3 pa = db.Get(a).position, pb = db.Get(b).position;
  const string e = FormatDistance(EllipticArcDist(pa, pb), false);
  const string g = FormatDistance(GeodesicDist(pa, pb), false);
  const string s = FormatDistance(CentralAngle(pa, pb), false);
  ASSERT_NE(e, g);
  EXPECT_EQ(Line(3), "(E) " + e + " (G) " + g + " (S) " + s + " km");

  // Degrees as the unit before the next Fix-Fix: only the sphere.
  Set(options.distUnits, 3);
  ex.OpDistance(a, b);
  EXPECT_EQ(Line(3), "(S) " + FormatDistance(CentralAngle(pa, pb), true));
  // Without elliptic latitudes there are no ellipsoidal distances either.
  Set(options.distUnits, 0);
  earth.ellipticLat = false;
  ex.OpDistance(a, b);
  EXPECT_EQ(Line(3).substr(0, 4), "(S) ");
}

TEST_F(DistanceTest, NextFixSumsTheChainAndNamesItsStart) {
  const auto a = Add("A", 0, 0), b = Add("B", 0, 45), c = Add("C", 0, 90), d = Add("D", 45, 90);
  ex.OpDistance(a, b);
  EXPECT_TRUE(ex.NextFixEnabled());
  ex.OpDistance(c);
  EXPECT_EQ(Line(1), "Accumulated distance from A");
  EXPECT_EQ(Line(2), "to C");
  EXPECT_EQ(Line(3), "(S) 10002 km");
  ex.OpDistance(d);
  EXPECT_EQ(Line(1), "Accumulated distance from A");
  EXPECT_EQ(Line(2), "to D");
  EXPECT_EQ(Line(3), "(S) 15003 km");  // 135 degrees along the chain, not the 90 of A-D
  // A change of unit in the middle of the chain converts the whole sum.
  Set(options.distUnits, 3);
  ex.OpDistance(a);
  EXPECT_EQ(Line(3), string("(S) 225.00") + Deg);  // D back to A is 90 more
  // A new Fix-Fix restarts the sums.
  Set(options.distUnits, 0);
  ex.OpDistance(c, d);
  ex.OpDistance(b);
  EXPECT_EQ(Line(1), "Accumulated distance from C");
  EXPECT_EQ(Line(3), "(S) 11669 km");  // 45 + 60 degrees (D to B): 11668.94
}

TEST_F(DistanceTest, NearlyAntipodalFixesKeepTheGeodesic) {
  earth.ellipticLat = true;
  earth.ellipticArc = true;
  earth.geoDistance = true;
  // Nearly antipodal off the equator, where Vincenty's iteration does not
  // settle: the geodesic comes from Karney's method and stays in the chain.
  const auto a = Add("A", 0, 0), b = Add("B", 0.5L, 179.7L), c = Add("C", 10, 100);
  const Vector3 pa = db.Get(a).position, pb = db.Get(b).position, pc = db.Get(c).position;
  ex.OpDistance(a, b);
  EXPECT_EQ(Line(3), "(E) " + FormatDistance(EllipticArcDist(pa, pb), false) + " (G) " +
                         FormatDistance(GeodesicDist(pa, pb), false) + " (S) " +
                         FormatDistance(CentralAngle(pa, pb), false) + " km");
  ex.OpDistance(c);
  EXPECT_NE(Line(3).find("(G) " + FormatDistance(GeodesicDist(pa, pb) + GeodesicDist(pb, pc), false)),
            string::npos);
  EXPECT_TRUE(ex.distanceChain.withG);
}

TEST_F(DistanceTest, AFailedGeodesicIsDroppedForTheRestOfTheChain) {
  earth.ellipticLat = true;
  earth.ellipticArc = true;
  earth.geoDistance = true;
  // A step to the same place: both ellipsoidal distances fail ("Same or
  // opposing fixes") and are left out from then on; the sphere gives 0.
  const auto a = Add("A", 0, 0), a2 = Add("A2", 0, 0), c = Add("C", 10, 100);
  const Vector3 pa = db.Get(a).position, pc = db.Get(c).position;
  ASSERT_THROW(GeodesicDist(pa, db.Get(a2).position), Error);
  ex.OpDistance(c, a);
  EXPECT_EQ(Line(3).substr(0, 4), "(E) ");
  EXPECT_NE(Line(3).find("(G) "), string::npos);
  ex.OpDistance(a2);
  EXPECT_EQ(Line(3), "(S) " + FormatDistance(CentralAngle(pc, pa), false) + " km");
  ex.OpDistance(c);  // and they stay dropped though A2-C would succeed
  EXPECT_EQ(Line(3).find("(G)"), string::npos);
  EXPECT_EQ(Line(3).find("(E)"), string::npos);
  EXPECT_FALSE(ex.distanceChain.withG);
  EXPECT_FALSE(ex.distanceChain.withE);
}

TEST_F(DistanceTest, NextFixWithoutAChainIsRefused) {
  const auto a = Add("A", 0, 0);
  ex.SetNextFixEnabled(true);  // as a distance-unit selection at start does
  try {
    ex.OpDistance(a);
    FAIL() << "Next Fix measured from an empty last fix";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), msg::NoDistanceChain);
  }
  EXPECT_EQ(log.Count(), 0);
  EXPECT_EQ(ex.sounds, 0);
}

TEST_F(DistanceTest, ASphereFailureKeepsThePreviousChain) {
  const auto a = Add("A", 0, 0), b = Add("B", 0, 90), c = Add("C", 0, 180), d = Add("D", 10, 90);
  ex.OpDistance(a, b);
  const auto records = log.Count();
  EXPECT_THROW(ex.OpDistance(a, c), Error);  // antipodal
  EXPECT_EQ(log.Count(), records);
  EXPECT_EQ(ex.distanceChain.startName, "A");
  EXPECT_EQ(ex.distanceChain.lastFix.name, "B");
  ex.OpDistance(d);
  EXPECT_EQ(Line(1), "Accumulated distance from A");
  EXPECT_EQ(Line(3), "(S) 11113 km");  // 90 + 10 degrees
}

TEST_F(DistanceTest, FixFixEnablesNextFixAndDisablingKeepsTheChain) {
  const auto a = Add("A", 0, 0), b = Add("B", 0, 90);
  ex.OpDistance(a, b);
  ASSERT_FALSE(ex.nextFixChanges.empty());
  EXPECT_TRUE(ex.nextFixChanges.back());
  ex.SetNextFixEnabled(false);
  EXPECT_FALSE(ex.NextFixEnabled());
  EXPECT_FALSE(ex.nextFixChanges.back());
  EXPECT_EQ(ex.distanceChain.startName, "A");
  EXPECT_TRUE(ex.distanceChain.lastFix.valid);
}

}  // namespace
}  // namespace navorix::test
