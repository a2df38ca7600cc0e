// The lines of the chart on the sphere, densified so that the pieces between
// neighbouring points may be taken as straight in any projection: arcs and
// whole great circles, small circles about a point, rhumb lines, geodesics
// and the graticule. Each function appends one or more finished paths to a
// SpherePaths (path_set.h) for MapProjection::Cut.
//
// Notation:
//   A, B      positions, unit vectors
//   T         a unit direction of travel at A, perpendicular to A
//   t         distance along a great circle, radians, signed
//   D         the radius of a small circle, radians
//   phi, lam  latitude and longitude, radians
//   psi       isometric latitude asinh(tan phi); a rhumb line is straight in
//             (lam, psi)
//   step      the largest angle between neighbouring points, radians
//
// The step is held within [MinPathStep, MaxPathStep] and the points of one
// path to MaxPathPoints, so no call can run long or grow without bound: a
// path that would need more points takes a longer step. Positions are taken
// as they come: the caller maps the fixes' stored positions onto the
// chart's sphere (ChartToSphere) after densifying on the sphere where the
// geometry was computed.
#pragma once

#include <cstddef>

#include "geometry/earth_model.h"
#include "geometry/great_circle.h"
#include "geometry/map_projection.h"
#include "geometry/numeric.h"
#include "geometry/path_set.h"

namespace navorix {

inline constexpr long double MaxPathStep = 1.0L * DegToRad;
inline constexpr long double MinPathStep = 1e-6L;
inline constexpr std::size_t MaxPathPoints = 4097;

// The great circle from A along T, from t = from to t = to (either order),
// as an open path of points A cos t + T sin t, the ends included. A span of
// 2 pi or more gives the whole circle as a closed path.
void AddCirclePath(const Vector3& a, const Vector3& t, long double from, long double to, long double step,
                   SpherePaths& out);
// The shorter arc of the great circle from A to B (an open path). A and B
// the same position: nothing; opposite: nothing either, as every half great
// circle joins them.
void AddArcPath(const Vector3& a, const Vector3& b, long double step, SpherePaths& out);
// The rest of the arc's great circle beyond the arc, from its end on round to
// its start (length 2 pi - arcLen), an open path.
void AddArcExtensionPath(const Arc& arc, long double step, SpherePaths& out);
// The small circle of the points at distance D from A, a closed path; a
// radius of 0 or pi (or beyond [0, pi]) gives nothing, as the circle is a
// point.
void AddSmallCirclePath(const Vector3& a, long double radius, long double step, SpherePaths& out);
// The rhumb line from (phi1, lam1) to (phi2, lam2) the shorter way in
// longitude, straight in (lam, psi), an open path; a pole at either end
// makes it the meridian of the other end. Latitudes within +-pi/2.
void AddRhumbPath(long double lat1, long double lon1, long double lat2, long double lon2, long double step,
                  SpherePaths& out);
// The geodesic of the ellipsoid e from geodetic (phi1, lam1) to (phi2, lam2),
// an open path of directions on the chart's sphere (their latitudes are the
// geodetic ones, see ChartDirection), by GeographicLib's geodesic line with
// the same a and f. Same or antipodal ends are taken as GeographicLib takes
// them (the antipodal geodesic it chooses); a step is measured as a length of
// step times SpherRadius.
void AddGeodesicPath(const EarthShape& e, long double lat1, long double lon1, long double lat2,
                     long double lon2, long double step, SpherePaths& out);

// Replaces the points of paths from path first on by their positions on the
// chart's sphere (ChartDirection under e).
void ChartToSphere(const EarthModel& e, std::size_t first, SpherePaths& paths);

// The spacing of graticule lines, radians, for a picture showing
// radiansPerPixel at its centre: the smallest of 30, 15, 10, 5, 2 and 1
// degrees, 30, 15, 10, 5, 2 and 1 minutes that keeps neighbouring lines at
// least GraticuleMinPixels apart (30 degrees at the most).
inline constexpr long double GraticuleMinPixels = 60.0L;
long double GraticuleSpacing(long double radiansPerPixel);
// Meridians and parallels at the multiples of spacing (radians) within box:
// parallels across the box's longitudes (closed circles when it spans them
// all), meridians across its latitudes. Near the poles, where meridians
// crowd together, a meridian stops at the last parallel where it still lies
// at least half a spacing from the next one as far from the pole as itself:
// every second meridian goes on further, every fourth further still, and
// those at multiples of GraticulePoleSpacing reach the pole. At most
// MaxGraticuleLines of each kind: a finer spacing is coarsened.
inline constexpr int MaxGraticuleLines = 360;
inline constexpr long double GraticulePoleSpacing = 30.0L * DegToRad;
void AddGraticule(const LatLonBox& box, long double spacing, long double step, SpherePaths& out);

}  // namespace navorix
