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
long double ChordAngle(const TTriV& A, const TTriV& B) {
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

long double Norm2(const TTriV& V) { return TriDot(V, V); }

}  // namespace

bool SameOrOpposite(const TTriV& A, const TTriV& B, TCoincidence Mode) {
  if (Mode != TCoincidence::Same && Norm2(TriAdd(A, B)) <= SamePositionChord2) return true;
  if (Mode != TCoincidence::Opposite && Norm2(TriSub(A, B)) <= SamePositionChord2) return true;
  return false;
}

long double CentralAngle(const TTriV& A, const TTriV& B) {
  if (SameOrOpposite(A, B, TCoincidence::Opposite)) SameOrOpposing();
  return ChordAngle(A, B);
}

long double VectorAngle(const TTriV& A, const TTriV& B) { return ChordAngle(A, B); }

TTriV Midpoint(const TTriV& A, const TTriV& B) {
  if (SameOrOpposite(A, B, TCoincidence::Opposite)) SameOrOpposing();
  TTriV M = TriAdd(A, B);
  TriNormalize(M);
  return TriPositiveZeros(M);
}

TTriV UnitNormal(const TTriV& A, const TTriV& B) {
  if (SameOrOpposite(A, B, TCoincidence::Either)) SameOrOpposing();
  TTriV N = TriCross(A, B);
  TriNormalize(N);
  return N;
}

long double Azimuth(const TTriV& A, const TTriV& B) {
  if (SameOrOpposite(A, B, TCoincidence::Either)) SameOrOpposing();
  // From a pole every course runs along a meridian: South from the North Pole.
  if (IsPole(A)) return A.z > 0.0L ? Pi : 0.0L;
  if (IsPole(B)) return B.z > 0.0L ? 0.0L : Pi;
  const TTriV C = UnitNormal(A, B);
  // D is the normal of A's meridian, oriented so that the angle between D and
  // C is the course; the sign of Cz tells West (negative) from East.
  TTriV D;
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

TTriV FixAtDistAz(const TTriV& P, long double Az, long double D) {
  if (IsPole(P)) throw Error(msg::PolesNotAllowed);
  TTriV E = TriCross(NorthPoleVec, P);
  TriNormalize(E);
  const TTriV N = TriCross(P, E);
  long double sinAz, cosAz, sinD, cosD;
  SinCos(Az, sinAz, cosAz);
  SinCos(D, sinD, cosD);
  const TTriV U = TriAdd(TriScale(E, sinAz), TriScale(N, cosAz));
  return TriPositiveZeros(TriAdd(TriScale(U, sinD), TriScale(P, cosD)));
}

TArc MakeArc(const TTriV& Start, const TTriV& End) {
  if (SameOrOpposite(Start, End, TCoincidence::Either)) SameOrOpposing();
  TArc arc;
  arc.StartPos = Start;
  arc.EndPos = End;
  arc.MidPos = Midpoint(Start, End);
  arc.Pole = UnitNormal(Start, End);
  arc.StartDir = UnitNormal(arc.Pole, Start);
  arc.ArcLen = CentralAngle(Start, End);
  return arc;
}

TTriV PointOnArc(const TArc& arc, long double t) {
  long double sinT, cosT;
  SinCos(t, sinT, cosT);
  return TriPositiveZeros(TriAdd(TriScale(arc.StartPos, cosT), TriScale(arc.StartDir, sinT)));
}

TTriV FootOnCircle(const TArc& arc, const TTriV& F) {
  if (SameOrOpposite(arc.Pole, F, TCoincidence::Either)) SameOrOpposing();
  TTriV foot = TriSub(F, TriScale(arc.Pole, TriDot(F, arc.Pole)));
  TriNormalize(foot);
  return TriPositiveZeros(foot);
}

TArcSide ArcSide(const TArc& arc, const TTriV& P) {
  const long double d = VectorAngle(P, arc.MidPos);
  if (d > arc.ArcLen / 2.0L + ArcSideSlack) {
    return VectorAngle(arc.StartPos, P) > VectorAngle(arc.EndPos, P) ? TArcSide::BeyondEnd
                                                                       : TArcSide::BeforeStart;
  }
  return TArcSide::Within;
}

long double ArcFixDistance(const TArc& arc, const TTriV& F) {
  const TTriV foot = FootOnCircle(arc, F);
  if (VectorAngle(foot, arc.MidPos) <= arc.ArcLen * 0.5L) return CentralAngle(foot, F);
  const long double a = CentralAngle(arc.StartPos, F);
  const long double b = CentralAngle(arc.EndPos, F);
  return a < b ? a : b;
}

TTriV ArcIntersection(const TArc& arc1, const TArc& arc2) {
  if (SameOrOpposite(arc1.Pole, arc2.Pole, TCoincidence::Either)) SameOrOpposing();
  TTriV X = TriCross(arc1.Pole, arc2.Pole);
  TriNormalize(X);
  // Antipodal midpoints raise here: neither crossing is nearer then.
  const TTriV M = Midpoint(arc1.MidPos, arc2.MidPos);
  if (TriDot(X, M) < 0.0L) TriNeg(X);
  return TriPositiveZeros(X);
}

long double ArcArcDistance(const TArc& arc1, const TArc& arc2) {
  // A later candidate replaces the current one only when strictly smaller.
  auto smallest = [](std::initializer_list<long double> values) {
    long double best = *values.begin();
    for (long double v : values) {
      if (v < best) best = v;
    }
    return best;
  };
  if (SameOrOpposite(arc1.Pole, arc2.Pole, TCoincidence::Either)) {
    if (VectorAngle(arc1.MidPos, arc2.MidPos) <= (arc1.ArcLen + arc2.ArcLen) * 0.5L) return 0.0L;
    return smallest({CentralAngle(arc1.StartPos, arc2.StartPos), CentralAngle(arc1.StartPos, arc2.EndPos),
                     CentralAngle(arc1.EndPos, arc2.StartPos), CentralAngle(arc1.EndPos, arc2.EndPos)});
  }
  const TTriV X = ArcIntersection(arc1, arc2);
  if (ArcSide(arc1, X) == TArcSide::Within && ArcSide(arc2, X) == TArcSide::Within) return 0.0L;
  return smallest({ArcFixDistance(arc1, arc2.StartPos), ArcFixDistance(arc1, arc2.EndPos),
                   ArcFixDistance(arc2, arc1.StartPos), ArcFixDistance(arc2, arc1.EndPos)});
}

TFixesAtDistance FixesAtDistance(const TArc& arc, const TTriV& F, long double D) {
  TFixesAtDistance result;
  if (SameOrOpposite(arc.Pole, F, TCoincidence::Either)) SameOrOpposing();
  // The points at distance D from F are those at pi - D from its antipode.
  TTriV C = F;
  if (D > HalfPi) {
    TriNeg(C);
    D = Pi - D;
  }
  if (std::fabs(TriDot(arc.Pole, C)) >= CirclePoleLimit) return result;
  const TTriV foot = FootOnCircle(arc, C);
  const long double c = CentralAngle(C, foot);
  if (D <= c) return result;  // the circle of radius D does not reach (or only touches)
  const long double e = ArcCos(std::cos(D) / std::cos(c));
  // Signed position of the foot along the circle, measured from StartPos.
  long double f = std::atan2(TriDot(foot, arc.StartDir), TriDot(foot, arc.StartPos));
  if (f <= -Pi) f = Pi;
  result.P1 = PointOnArc(arc, f - e);
  result.P2 = PointOnArc(arc, f + e);
  result.found = true;
  return result;
}

}  // namespace navorix
