// Great-circle geometry on the unit sphere.
//
// Notation:
//   A, B, F, P   positions, unit vectors (with EllipticLat on: geocentric
//                directions of the fixes)
//   Pole         unit normal of an arc's great circle; travel from StartPos to
//                EndPos is counter-clockwise about it
//   D, t         distances along the sphere, radians (central angles)
//   Az           azimuth, radians clockwise from North, East positive
//
// Two unit vectors are the same (or opposite) position when the squared
// length of their difference (or sum) is at most 1e-16, i.e. within about
// 1e-8 rad. Every degenerate pair raises Error "Same or opposing fixes".
#pragma once

#include <cstdint>

#include "geometry/vector.h"

namespace navorix {

// The great-arc record; built only by MakeArc and read-only afterwards.
struct TArc {
  TTriV Pole;      // unit(StartPos x EndPos)
  TTriV StartPos;  // first fix
  TTriV EndPos;    // second fix
  TTriV StartDir;  // unit(Pole x StartPos): direction of travel at StartPos
  TTriV MidPos;    // unit(StartPos + EndPos)
  long double ArcLen = 0.0L;  // radians, in (0, pi)
};

inline constexpr long double SamePositionChord2 = 1e-16L;
inline constexpr long double ArcSideSlack = 1e-8L;
inline constexpr long double CirclePoleLimit = 0.99999999L;

// Which coincidence SameOrOpposite looks for.
enum class TCoincidence : std::int8_t { Opposite = -1, Either = 0, Same = 1 };

// True when A and B are the same position (Same), antipodal (Opposite), or
// either of the two (Either, the opposite test first).
bool SameOrOpposite(const TTriV& A, const TTriV& B, TCoincidence Mode);
// Distance between two positions, radians in [0, pi), by the chord formula
// 2 asin(|A - B| / 2) (accurate for small angles). Antipodal positions raise
// "Same or opposing fixes"; coincident ones give 0.
long double CentralAngle(const TTriV& A, const TTriV& B);
// The same chord formula for pairs where at least one vector is computed;
// opposite vectors give pi.
long double VectorAngle(const TTriV& A, const TTriV& B);
// unit(A + B); antipodal positions raise. Midpoint(A, A) is A.
TTriV Midpoint(const TTriV& A, const TTriV& B);
// unit(A x B); coincident or antipodal positions raise.
TTriV UnitNormal(const TTriV& A, const TTriV& B);
// Initial course from A to B, radians in [-pi, +pi], clockwise from North.
// From the North Pole every course is pi, from the South Pole 0.
long double Azimuth(const TTriV& A, const TTriV& B);
// The point reached from P on initial course Az after distance D. A start
// at a pole raises "Poles not allowed here".
TTriV FixAtDistAz(const TTriV& P, long double Az, long double D);
// The arc from Start to End; coincident or antipodal ends raise.
TArc MakeArc(const TTriV& Start, const TTriV& End);
// The point at signed distance t along the arc's circle, positive toward
// EndPos (t = ArcLen gives EndPos); any t is accepted.
TTriV PointOnArc(const TArc& arc, long double t);
// The point of the arc's great circle nearest to F; F at a pole of the
// circle raises.
TTriV FootOnCircle(const TArc& arc, const TTriV& F);
// Where a point of an arc's great circle lies relative to the arc.
enum class TArcSide : std::uint8_t { BeforeStart, Within, BeyondEnd };

// Where a point P of the arc's circle lies: outside on the start side, within
// the arc (ends included, 1e-8 rad slack), or outside on the end side.
TArcSide ArcSide(const TArc& arc, const TTriV& P);
// Shortest distance from F to any point of the arc, radians.
long double ArcFixDistance(const TArc& arc, const TTriV& F);
// Shortest distance between any points of the two arcs, radians.
long double ArcArcDistance(const TArc& arc1, const TArc& arc2);
// The crossing of the two great circles nearer to the arcs' midpoints; the
// arcs on one circle, or antipodal midpoints, raise.
TTriV ArcIntersection(const TArc& arc1, const TArc& arc2);

// The two points of an arc's great circle at a given distance from a fix.
struct TFixesAtDistance {
  bool found = false;
  TTriV P1;  // the solution behind the other in the direction of travel
  TTriV P2;
};
// The points of the arc's circle at distance D (radians) from F; found is
// false when the circle of radius D about F does not reach the arc's circle
// (touching included). F at a pole of the circle raises.
TFixesAtDistance FixesAtDistance(const TArc& arc, const TTriV& F, long double D);

}  // namespace navorix
