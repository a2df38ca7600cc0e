#include "geometry/great_circle.h"

#include "tests/geometry/geometry_test_support.h"

namespace navorix::testing {
namespace {

// Positions on the sphere, so that typed and vector latitudes agree.
class GreatCircle : public ::testing::Test {
 protected:
  static Vector3 Fix(long double latDeg, long double lonDeg) {
    return testing::Fix(latDeg, lonDeg, Spherical());
  }
};

constexpr long double Tight = 1e-17L;

TEST_F(GreatCircle, SameOrOppositeModes) {
  const Vector3 a = Fix(10, 20);
  Vector3 anti = a;
  TriNeg(anti);
  EXPECT_TRUE(SameOrOpposite(a, a, Coincidence::Either));
  EXPECT_TRUE(SameOrOpposite(a, a, Coincidence::Same));
  EXPECT_FALSE(SameOrOpposite(a, a, Coincidence::Opposite));
  EXPECT_TRUE(SameOrOpposite(a, anti, Coincidence::Opposite));
  EXPECT_FALSE(SameOrOpposite(a, anti, Coincidence::Same));
  // 1e-8 rad apart is the edge: squared chord 1e-16.
  EXPECT_TRUE(SameOrOpposite(Fix(0, 0), TriFromAngles(0, 0.99e-8L), Coincidence::Same));
  EXPECT_FALSE(SameOrOpposite(Fix(0, 0), TriFromAngles(0, 1.01e-8L), Coincidence::Same));
}

TEST_F(GreatCircle, CentralAngle) {
  EXPECT_TRUE(Near(HalfPi, CentralAngle(Fix(0, 0), Fix(0, 90)), Tight));
  EXPECT_EQ(CentralAngle(Fix(33, 44), Fix(33, 44)), 0.0L);
  EXPECT_EQ(ErrorText([&] { CentralAngle(Fix(10, 20), Fix(-10, -160)); }), "Same or opposing fixes");
  // The chord formula keeps a centimetre-sized step accurate to the rounding
  // of the vectors themselves (an arccosine of the dot product would be off
  // by about 1e-10 here).
  EXPECT_TRUE(
      Near(1e-9L, CentralAngle(TriFromAngles(0.3L, 1.0L), TriFromAngles(0.3L + 1e-9L, 1.0L)), 1e-18L));
}

TEST_F(GreatCircle, VectorAngleOfOppositeVectorsIsPi) {
  const Vector3 a = Fix(12, 34);
  Vector3 b = a;
  TriNeg(b);
  EXPECT_EQ(VectorAngle(a, b), Pi);
}

TEST_F(GreatCircle, MidpointAndNormal) {
  EXPECT_TRUE(NearVec(Fix(0, 45), Midpoint(Fix(0, 0), Fix(0, 90)), Tight));
  EXPECT_TRUE(NearVec(Fix(5, 5), Midpoint(Fix(5, 5), Fix(5, 5)), Tight));
  EXPECT_EQ(ErrorText([&] { Midpoint(Fix(0, 0), Fix(0, 180)); }), "Same or opposing fixes");
  EXPECT_TRUE(NearVec(NorthPoleVec, UnitNormal(Fix(0, 0), Fix(0, 10)), Tight));
  EXPECT_EQ(ErrorText([&] { UnitNormal(Fix(1, 1), Fix(1, 1)); }), "Same or opposing fixes");
}

TEST_F(GreatCircle, AzimuthCourses) {
  EXPECT_EQ(Azimuth(Fix(50, 0), Fix(40, 0)), Pi) << "due South on meridian 0 is +pi, no error";
  EXPECT_TRUE(Near(0.0L, Azimuth(Fix(50, 0), Fix(60, 0)), Tight));
  EXPECT_TRUE(Near(HalfPi, Azimuth(Fix(0, 0), Fix(0, 10)), Tight));
  EXPECT_TRUE(Near(-HalfPi, Azimuth(Fix(0, 0), Fix(0, -10)), Tight));
  EXPECT_EQ(Azimuth(NorthPoleVec, Fix(10, 77)), Pi);
  EXPECT_EQ(Azimuth(SouthPoleVec, Fix(10, 77)), 0.0L);
  EXPECT_EQ(Azimuth(Fix(10, 77), NorthPoleVec), 0.0L);
  EXPECT_EQ(Azimuth(Fix(10, 77), SouthPoleVec), Pi);
  EXPECT_TRUE(Near(Deg(45), Azimuth(Fix(0, 0), FixAtDistAz(Fix(0, 0), Deg(45), Deg(10))), 1e-17L));
  EXPECT_TRUE(Near(Deg(-135), Azimuth(Fix(20, 30), FixAtDistAz(Fix(20, 30), Deg(-135), Deg(30))), 1e-17L));
  EXPECT_EQ(ErrorText([&] { Azimuth(Fix(3, 3), Fix(3, 3)); }), "Same or opposing fixes");
}

TEST_F(GreatCircle, FixAtDistanceAndAzimuth) {
  EXPECT_TRUE(NearVec(NorthPoleVec, FixAtDistAz(Fix(0, 0), 0.0L, HalfPi), Tight));
  EXPECT_TRUE(NearVec(Fix(0, 10), FixAtDistAz(Fix(0, 0), HalfPi, Deg(10)), Tight));
  EXPECT_TRUE(NearVec(Fix(0, -10), FixAtDistAz(Fix(0, 0), HalfPi, Deg(-10)), Tight)) << "negative distance";
  const Vector3 far = FixAtDistAz(Fix(40, -70), Deg(63), Deg(55));
  EXPECT_TRUE(Near(Deg(55), CentralAngle(Fix(40, -70), far), 1e-17L));
  EXPECT_EQ(ErrorText([&] { FixAtDistAz(NorthPoleVec, 0, 0.1L); }), "Poles not allowed here");
  EXPECT_EQ(ErrorText([&] { FixAtDistAz(SouthPoleVec, 0, 0.1L); }), "Poles not allowed here");
}

TEST_F(GreatCircle, ArcRecordAndPointsOnIt) {
  const Arc arc = MakeArc(Fix(0, 0), Fix(0, 10));
  EXPECT_TRUE(Near(Deg(10), arc.arcLen, Tight));
  EXPECT_TRUE(NearVec(NorthPoleVec, arc.pole, Tight));
  EXPECT_TRUE(NearVec(Fix(0, 90), arc.startDir, Tight));
  EXPECT_TRUE(NearVec(Fix(0, 5), arc.midPos, Tight));
  EXPECT_TRUE(NearVec(arc.startPos, PointOnArc(arc, 0), Tight));
  EXPECT_TRUE(NearVec(arc.endPos, PointOnArc(arc, arc.arcLen), Tight));
  EXPECT_TRUE(NearVec(Fix(0, -20), PointOnArc(arc, Deg(-20)), Tight));
  EXPECT_EQ(ErrorText([&] { MakeArc(Fix(5, 5), Fix(5, 5)); }), "Same or opposing fixes");
  EXPECT_EQ(ErrorText([&] { MakeArc(Fix(5, 5), Fix(-5, -175)); }), "Same or opposing fixes");
}

TEST_F(GreatCircle, ArcSideMarks) {
  const Arc arc = MakeArc(Fix(0, 0), Fix(0, 10));
  EXPECT_EQ(ArcSide(arc, Fix(0, 5)), PlaceOnArc::Within);
  EXPECT_EQ(ArcSide(arc, Fix(0, 10)), PlaceOnArc::Within);
  EXPECT_EQ(ArcSide(arc, Fix(0, 0)), PlaceOnArc::Within);
  EXPECT_EQ(ArcSide(arc, Fix(0, 10.00001L)), PlaceOnArc::BeyondEnd);
  EXPECT_EQ(ArcSide(arc, Fix(0, -1)), PlaceOnArc::BeforeStart);
  EXPECT_EQ(ArcSide(arc, Fix(0, -175)), PlaceOnArc::BeforeStart)
      << "opposite the midpoint: a tie goes to the start side";
  EXPECT_EQ(ArcSide(arc, Fix(0, 120)), PlaceOnArc::BeyondEnd);
}

TEST_F(GreatCircle, FootAndArcFixDistance) {
  const Arc arc = MakeArc(Fix(0, 0), Fix(0, 10));
  EXPECT_TRUE(NearVec(Fix(0, 5), FootOnCircle(arc, Fix(30, 5)), Tight));
  EXPECT_EQ(ErrorText([&] { FootOnCircle(arc, NorthPoleVec); }), "Same or opposing fixes");
  EXPECT_TRUE(Near(Deg(30), ArcFixDistance(arc, Fix(30, 5)), 1e-17L));
  EXPECT_TRUE(Near(CentralAngle(Fix(0, 10), Fix(3, 14)), ArcFixDistance(arc, Fix(3, 14)), Tight))
      << "beyond the end the nearer end counts";
  EXPECT_TRUE(Near(CentralAngle(Fix(0, 0), Fix(-3, -2)), ArcFixDistance(arc, Fix(-3, -2)), Tight));
}

TEST_F(GreatCircle, FixesAtDistanceFromAFix) {
  const Arc arc = MakeArc(Fix(0, 0), Fix(0, 10));
  const FixesAtDistanceResult r = FixesAtDistance(arc, Fix(5, 5), Deg(10));
  ASSERT_TRUE(r.found);
  for (const Vector3& p : {r.P1, r.P2}) {
    EXPECT_TRUE(Near(0.0L, p.z, Tight)) << "on the equator";
    EXPECT_TRUE(Near(Deg(10), CentralAngle(Fix(5, 5), p), 1e-17L));
  }
  EXPECT_LT(ToDeg(TriLon(r.P1)), 5.0L) << "P1 lies behind in the direction of travel";
  EXPECT_GT(ToDeg(TriLon(r.P2)), 5.0L);

  const FixesAtDistanceResult w = FixesAtDistance(arc, Fix(5, -20), Deg(10));
  ASSERT_TRUE(w.found);
  EXPECT_LT(ToDeg(TriLon(w.P1)), -20.0L) << "either side of 20W, not of 20E";
  EXPECT_GT(ToDeg(TriLon(w.P2)), -20.0L);
  EXPECT_LT(ToDeg(TriLon(w.P2)), -10.0L);

  EXPECT_FALSE(FixesAtDistance(arc, Fix(5, 5), Deg(4)).found);
  EXPECT_FALSE(FixesAtDistance(arc, Fix(5, 5), Deg(-3)).found) << "a negative distance reaches nothing";
  EXPECT_EQ(ErrorText([&] { FixesAtDistance(arc, NorthPoleVec, Deg(10)); }), "Same or opposing fixes");
  EXPECT_FALSE(FixesAtDistance(arc, TriFromAngles(HalfPi - 1e-5L, 0), Deg(10)).found)
      << "too near a pole of the circle";
}

TEST_F(GreatCircle, FixesAtDistanceBeyondAQuarterCircle) {
  const Arc arc = MakeArc(Fix(0, 0), Fix(0, 10));
  const FixesAtDistanceResult r = FixesAtDistance(arc, Fix(5, 5), Deg(170));
  ASSERT_TRUE(r.found);
  EXPECT_TRUE(Near(Deg(170), CentralAngle(Fix(5, 5), r.P1), 1e-16L));
  EXPECT_TRUE(Near(Deg(170), CentralAngle(Fix(5, 5), r.P2), 1e-16L));
}

TEST_F(GreatCircle, IntersectionPicksTheNearCrossing) {
  const Arc a = MakeArc(Fix(0, 0), Fix(0, 10));
  const Arc b = MakeArc(Fix(-5, 5), Fix(5, 5));
  EXPECT_TRUE(NearVec(Fix(0, 5), ArcIntersection(a, b), Tight));
  EXPECT_TRUE(NearVec(Fix(0, 5), ArcIntersection(b, a), Tight));
  EXPECT_EQ(ArcArcDistance(a, b), 0.0L);
  EXPECT_EQ(ErrorText([&] { ArcIntersection(a, MakeArc(Fix(0, 20), Fix(0, 30))); }),
            "Same or opposing fixes");
  // Arcs whose midpoints are antipodal: neither crossing is nearer.
  const Arc c = MakeArc(Fix(-5, -175), Fix(5, -175));
  EXPECT_EQ(ErrorText([&] { ArcIntersection(a, c); }), "Same or opposing fixes");
}

TEST_F(GreatCircle, ComputedPositionsCarryNoNegativeZero) {
  // Points exactly on the equator or on meridian 0 must show N and E.
  const Arc equator = MakeArc(Fix(0, 0), Fix(0, 10));
  const Arc meridian = MakeArc(Fix(-5, 5), Fix(5, 5));
  const Arc zero = MakeArc(Fix(10, 0), Fix(-10, 0));
  Vector3 antiStart = Fix(0, 10);
  TriNeg(antiStart);
  for (const Vector3& p :
       {ArcIntersection(equator, meridian), ArcIntersection(meridian, equator),
        ArcIntersection(zero, equator), PointOnArc(equator, Deg(3)), PointOnArc(zero, Deg(10)),
        FootOnCircle(equator, Fix(20, 5)), Midpoint(antiStart, Fix(0, -20)),
        FixAtDistAz(Fix(0, 0), HalfPi, Deg(7)), FixAtDistAz(Fix(-10, 0), 0.0L, Deg(10))}) {
    for (long double c : {p.x, p.y, p.z}) {
      EXPECT_FALSE(c == 0.0L && std::signbit(c))
          << static_cast<double>(p.x) << " " << static_cast<double>(p.y) << " " << static_cast<double>(p.z);
    }
  }
}

TEST_F(GreatCircle, ArcArcDistanceOnOneCircle) {
  const Arc a = MakeArc(Fix(0, 0), Fix(0, 10));
  EXPECT_TRUE(Near(Deg(10), ArcArcDistance(a, MakeArc(Fix(0, 20), Fix(0, 30))), 1e-17L));
  EXPECT_TRUE(Near(Deg(10), ArcArcDistance(a, MakeArc(Fix(0, 30), Fix(0, 20))), 1e-17L)) << "opposite sense";
  EXPECT_EQ(ArcArcDistance(a, MakeArc(Fix(0, 5), Fix(0, 30))), 0.0L);
  EXPECT_EQ(ArcArcDistance(a, MakeArc(Fix(0, 10), Fix(0, 30))), 0.0L) << "touching arcs";
}

TEST_F(GreatCircle, ArcArcDistanceOfSeparateArcs) {
  const Arc a = MakeArc(Fix(0, 0), Fix(0, 10));
  // Crossing circles, but the crossing lies beyond the second arc.
  const Arc b = MakeArc(Fix(2, 5), Fix(8, 5));
  EXPECT_TRUE(Near(Deg(2), ArcArcDistance(a, b), 1e-17L));
  const Arc c = MakeArc(Fix(3, 12), Fix(20, 12));
  EXPECT_TRUE(Near(CentralAngle(Fix(0, 10), Fix(3, 12)), ArcArcDistance(a, c), 1e-17L));
}

}  // namespace
}  // namespace navorix::testing
