// Great-circle geometry on the unit sphere.
//
// Notation:
//   A, B, F, P   positions, unit vectors (with EllipticLat on: geocentric
//                directions of the fixes)
//   pole         unit normal of an arc's great circle; travel from startPos to
//                endPos is counter-clockwise about it
//   D, t         distances along the sphere, radians (central angles)
//   az           azimuth, radians clockwise from North, East positive
//
// Two unit vectors are the same (or opposite) position when the squared
// length of their difference (or sum) is at most 1e-16, i.e. within about
// 1e-8 rad. Every degenerate pair raises Error "Same or opposing fixes".
#pragma once

#include <cstdint>

#include "geometry/vector.h"

namespace navorix {

// The great-arc record; built only by MakeArc and read-only afterwards.
struct Arc {
  Vector3 pole;               // unit(startPos x endPos)
  Vector3 startPos;           // first fix
  Vector3 endPos;             // second fix
  Vector3 startDir;           // unit(pole x startPos): direction of travel at startPos
  Vector3 midPos;             // unit(startPos + endPos)
  long double arcLen = 0.0L;  // radians, in (0, pi)
};

inline constexpr long double SamePositionChord2 = 1e-16L;
inline constexpr long double ArcSideSlack = 1e-8L;
inline constexpr long double CirclePoleLimit = 0.99999999L;

// Which coincidence SameOrOpposite looks for.
enum class Coincidence : std::int8_t { Opposite = -1, Either = 0, Same = 1 };

// True when A and B are the same position (Same), antipodal (Opposite), or
// either of the two (Either, the opposite test first).
bool SameOrOpposite(const Vector3& A, const Vector3& B, Coincidence mode);
// Distance between two positions, radians in [0, pi), by the chord formula
// 2 asin(|A - B| / 2) (accurate for small angles). Antipodal positions raise
// "Same or opposing fixes"; coincident ones give 0.
long double CentralAngle(const Vector3& A, const Vector3& B);
// The same chord formula for pairs where at least one vector is computed;
// opposite vectors give pi.
long double VectorAngle(const Vector3& A, const Vector3& B);
// unit(A + B); antipodal positions raise. Midpoint(A, A) is A.
Vector3 Midpoint(const Vector3& A, const Vector3& B);
// unit(A x B); coincident or antipodal positions raise.
Vector3 UnitNormal(const Vector3& A, const Vector3& B);
// Initial course from A to B, radians in [-pi, +pi], clockwise from North.
// From the North Pole every course is pi, from the South Pole 0.
long double Azimuth(const Vector3& A, const Vector3& B);
// The point reached from P on initial course az after distance D. A start
// at a pole raises "Poles not allowed here".
Vector3 FixAtDistAz(const Vector3& P, long double az, long double D);
// The arc from start to end; coincident or antipodal ends raise.
Arc MakeArc(const Vector3& start, const Vector3& end);
// The point at signed distance t along the arc's circle, positive toward
// endPos (t = arcLen gives endPos); any t is accepted.
Vector3 PointOnArc(const Arc& arc, long double t);
// The point of the arc's great circle nearest to F; F at a pole of the
// circle raises.
Vector3 FootOnCircle(const Arc& arc, const Vector3& F);
// Where a point of an arc's great circle lies relative to the arc.
enum class PlaceOnArc : std::uint8_t { BeforeStart, Within, BeyondEnd };

// Where a point P of the arc's circle lies: outside on the start side, within
// the arc (ends included, 1e-8 rad slack), or outside on the end side.
PlaceOnArc ArcSide(const Arc& arc, const Vector3& P);
// Shortest distance from F to any point of the arc, radians.
long double ArcFixDistance(const Arc& arc, const Vector3& F);
// Shortest distance between any points of the two arcs, radians.
long double ArcArcDistance(const Arc& arc1, const Arc& arc2);
// The crossing of the two great circles nearer to the arcs' midpoints; the
// arcs on one circle, or antipodal midpoints, raise.
Vector3 ArcIntersection(const Arc& arc1, const Arc& arc2);

// The two points of an arc's great circle at a given distance from a fix.
struct FixesAtDistanceResult {
  bool found = false;
  Vector3 P1;  // the solution behind the other in the direction of travel
  Vector3 P2;
};
// The points of the arc's circle at distance D (radians) from F; found is
// false when the circle of radius D about F does not reach the arc's circle
// (touching included). F at a pole of the circle raises.
FixesAtDistanceResult FixesAtDistance(const Arc& arc, const Vector3& F, long double D);

}  // namespace navorix
