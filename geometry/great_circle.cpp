// Great-circle geometry on the unit sphere (notation in great_circle.h).
//
//   h        half the chord between two unit vectors
//   C        F, or its antipode when the distance asked is beyond pi/2
//   c        distance from C to the arc's great circle
//   e        half the separation of the two solutions along the circle
#include "geometry/great_circle.h"

#include <cmath>
#include <initializer_list>

#include "geometry/earth_model.h"
#include "geometry/error.h"
#include "geometry/sincos.h"

namespace navorix {
namespace {

[[noreturn]] void SameOrOpposing() { throw Error(msg::SameOrOpposing); }

// 2 asin(h) for the half-chord h, asin as atan2(h, sqrt(1 - h^2)). A rounding
// error can push h of opposite vectors a little above 1; it is held at 1 so
// that they give pi.
long double ChordAngle(const Vector3& A, const Vector3& B) {
  long double h = TriLength(TriSub(A, B)) * 0.5L;
  if (h > 1.0L) h = 1.0L;
  return 2.0L * std::atan2(h, std::sqrt(1.0L - h * h));
}

// arccos(x) as atan2(sqrt(1 - x^2), x), x held within [-1, 1].
long double ArcCos(long double x) {
  if (x > 1.0L) x = 1.0L;
  if (x < -1.0L) x = -1.0L;
  return std::atan2(std::sqrt(1.0L - x * x), x);
}

long double Norm2(const Vector3& V) { return TriDot(V, V); }

}  // namespace

bool SameOrOpposite(const Vector3& A, const Vector3& B, Coincidence mode) {
  if (mode != Coincidence::Same && Norm2(TriAdd(A, B)) <= SamePositionChord2) return true;
  if (mode != Coincidence::Opposite && Norm2(TriSub(A, B)) <= SamePositionChord2) return true;
  return false;
}

long double CentralAngle(const Vector3& A, const Vector3& B) {
  if (SameOrOpposite(A, B, Coincidence::Opposite)) SameOrOpposing();
  return ChordAngle(A, B);
}

long double VectorAngle(const Vector3& A, const Vector3& B) { return ChordAngle(A, B); }

Vector3 Midpoint(const Vector3& A, const Vector3& B) {
  if (SameOrOpposite(A, B, Coincidence::Opposite)) SameOrOpposing();
  Vector3 M = TriAdd(A, B);
  TriNormalize(M);
  return TriPositiveZeros(M);
}

Vector3 UnitNormal(const Vector3& A, const Vector3& B) {
  if (SameOrOpposite(A, B, Coincidence::Either)) SameOrOpposing();
  Vector3 N = TriCross(A, B);
  TriNormalize(N);
  return N;
}

long double Azimuth(const Vector3& A, const Vector3& B) {
  if (SameOrOpposite(A, B, Coincidence::Either)) SameOrOpposing();
  // From a pole every course runs along a meridian: South from the North Pole.
  if (IsPole(A)) return A.z > 0.0L ? Pi : 0.0L;
  if (IsPole(B)) return B.z > 0.0L ? 0.0L : Pi;
  const Vector3 C = UnitNormal(A, B);
  // D is the normal of A's meridian, oriented so that the angle between D and
  // C is the course; the sign of Cz tells West (negative) from East.
  Vector3 D;
  bool west = C.z < 0.0L;
  if (west) {
    D = UnitNormal(A, NorthPoleVec);
  } else {
    D = UnitNormal(A, SouthPoleVec);
    TriNeg(D);
  }
  const long double theta = VectorAngle(D, C);
  return west ? -theta : theta;
}

Vector3 FixAtDistAz(const Vector3& P, long double az, long double D) {
  if (IsPole(P)) throw Error(msg::PolesNotAllowed);
  Vector3 E = TriCross(NorthPoleVec, P);
  TriNormalize(E);
  const Vector3 N = TriCross(P, E);
  long double sinAz, cosAz, sinD, cosD;
  SinCos(az, sinAz, cosAz);
  SinCos(D, sinD, cosD);
  const Vector3 U = TriAdd(TriScale(E, sinAz), TriScale(N, cosAz));
  return TriPositiveZeros(TriAdd(TriScale(U, sinD), TriScale(P, cosD)));
}

Arc MakeArc(const Vector3& start, const Vector3& end) {
  if (SameOrOpposite(start, end, Coincidence::Either)) SameOrOpposing();
  Arc arc;
  arc.startPos = start;
  arc.endPos = end;
  arc.midPos = Midpoint(start, end);
  arc.pole = UnitNormal(start, end);
  arc.startDir = UnitNormal(arc.pole, start);
  arc.arcLen = CentralAngle(start, end);
  return arc;
}

Vector3 PointOnArc(const Arc& arc, long double t) {
  long double sinT, cosT;
  SinCos(t, sinT, cosT);
  return TriPositiveZeros(TriAdd(TriScale(arc.startPos, cosT), TriScale(arc.startDir, sinT)));
}

Vector3 FootOnCircle(const Arc& arc, const Vector3& F) {
  if (SameOrOpposite(arc.pole, F, Coincidence::Either)) SameOrOpposing();
  Vector3 foot = TriSub(F, TriScale(arc.pole, TriDot(F, arc.pole)));
  TriNormalize(foot);
  return TriPositiveZeros(foot);
}

PlaceOnArc ArcSide(const Arc& arc, const Vector3& P) {
  const long double d = VectorAngle(P, arc.midPos);
  if (d > arc.arcLen / 2.0L + ArcSideSlack) {
    return VectorAngle(arc.startPos, P) > VectorAngle(arc.endPos, P) ? PlaceOnArc::BeyondEnd
                                                                     : PlaceOnArc::BeforeStart;
  }
  return PlaceOnArc::Within;
}

long double ArcFixDistance(const Arc& arc, const Vector3& F) {
  const Vector3 foot = FootOnCircle(arc, F);
  if (VectorAngle(foot, arc.midPos) <= arc.arcLen * 0.5L) return CentralAngle(foot, F);
  const long double a = CentralAngle(arc.startPos, F);
  const long double b = CentralAngle(arc.endPos, F);
  return a < b ? a : b;
}

Vector3 ArcIntersection(const Arc& arc1, const Arc& arc2) {
  if (SameOrOpposite(arc1.pole, arc2.pole, Coincidence::Either)) SameOrOpposing();
  Vector3 X = TriCross(arc1.pole, arc2.pole);
  TriNormalize(X);
  // Antipodal midpoints raise here: neither crossing is nearer then.
  const Vector3 M = Midpoint(arc1.midPos, arc2.midPos);
  if (TriDot(X, M) < 0.0L) TriNeg(X);
  return TriPositiveZeros(X);
}

long double ArcArcDistance(const Arc& arc1, const Arc& arc2) {
  // A later candidate replaces the current one only when strictly smaller.
  auto smallest = [](std::initializer_list<long double> values) {
    long double best = *values.begin();
    for (long double v : values) {
      if (v < best) best = v;
    }
    return best;
  };
  if (SameOrOpposite(arc1.pole, arc2.pole, Coincidence::Either)) {
    if (VectorAngle(arc1.midPos, arc2.midPos) <= (arc1.arcLen + arc2.arcLen) * 0.5L) return 0.0L;
    return smallest({CentralAngle(arc1.startPos, arc2.startPos), CentralAngle(arc1.startPos, arc2.endPos),
                     CentralAngle(arc1.endPos, arc2.startPos), CentralAngle(arc1.endPos, arc2.endPos)});
  }
  const Vector3 X = ArcIntersection(arc1, arc2);
  if (ArcSide(arc1, X) == PlaceOnArc::Within && ArcSide(arc2, X) == PlaceOnArc::Within) return 0.0L;
  return smallest({ArcFixDistance(arc1, arc2.startPos), ArcFixDistance(arc1, arc2.endPos),
                   ArcFixDistance(arc2, arc1.startPos), ArcFixDistance(arc2, arc1.endPos)});
}

FixesAtDistanceResult FixesAtDistance(const Arc& arc, const Vector3& F, long double D) {
  FixesAtDistanceResult result;
  if (SameOrOpposite(arc.pole, F, Coincidence::Either)) SameOrOpposing();
  // The points at distance D from F are those at pi - D from its antipode.
  Vector3 C = F;
  if (D > HalfPi) {
    TriNeg(C);
    D = Pi - D;
  }
  if (std::fabs(TriDot(arc.pole, C)) >= CirclePoleLimit) return result;
  const Vector3 foot = FootOnCircle(arc, C);
  const long double c = CentralAngle(C, foot);
  if (D <= c) return result;  // the circle of radius D does not reach (or only touches)
  const long double e = ArcCos(std::cos(D) / std::cos(c));
  // Signed position of the foot along the circle, measured from startPos.
  long double f = std::atan2(TriDot(foot, arc.startDir), TriDot(foot, arc.startPos));
  if (f <= -Pi) f = Pi;
  result.P1 = PointOnArc(arc, f - e);
  result.P2 = PointOnArc(arc, f + e);
  result.found = true;
  return result;
}

}  // namespace navorix
