// Distances on the ellipsoid of the Earth model.
//
// Notation:
//   A, B     stored positions (geocentric unit directions of geodetic fixes)
//   beta     reduced latitude, tan beta = (a/b) tan psi
//   sigma    angular distance on Vincenty's auxiliary sphere
//   alpha    azimuth of the geodesic at the equator
//   lambda   longitude difference on the auxiliary sphere
//
// Lengths are returned divided by SpherRadius, so callers convert them like
// the central angles of the sphere.
#pragma once

#include "geometry/earth_model.h"
#include "geometry/vector.h"

namespace navorix {

inline constexpr long double EllipticArcEps = 1e-8L;
inline constexpr long double EllipticArcFloor = 1e-8L;  // rad
inline constexpr int GeodesicIterationLimit = 1024;
inline constexpr long double GeodesicConvergence = 1e-16L;  // rad
// Steps of Vincenty's iteration before its outcome is decided from the fixed
// point it is swinging about (GeodesicInverse).
inline constexpr int GeodesicDirectSteps = 16;

// Length of the curve in which the plane through the centre, A and B cuts the
// ellipsoid, between the two surface points, / SpherRadius. Arcs shorter than
// 1e-8 rad give 0. Coincident or antipodal fixes raise "Same or opposing
// fixes"; an integral that does not converge raises
// "Can't reach the accuracy requested".
long double EllipticArcDist(const EarthShape& E, const Vector3& A, const Vector3& B);

struct ReducedLatitude {
  long double cosBeta = 1.0L;
  long double sinBeta = 0.0L;
};
// cos and sin of the reduced latitude of position P.
ReducedLatitude ReducedLat(const EarthShape& E, const Vector3& P);

struct GeodesicSolution {
  long double distance = 0.0L;  // geodesic length / SpherRadius
  long double azimuth = 0.0L;   // at A toward B, radians in [-pi, +pi]
};
// The geodesic from A to B; it never fails for fixes that are neither the
// same nor opposite. Vincenty's inverse method gives it wherever his
// iteration converges within GeodesicIterationLimit steps; where it would
// not (fixes within about a degree of each other's antipode), Karney's
// method, from GeographicLib, with the same a and f. Whether the iteration
// will converge is known after GeodesicDirectSteps steps (see Iterate in
// ellipsoid.cpp), so the hand-over costs no more than a few dozen steps.
// Coincident fixes, and exactly antipodal ones where the first step finds
// sin sigma = 0, raise "Same or opposing fixes".
GeodesicSolution GeodesicInverse(const EarthShape& E, const Vector3& A, const Vector3& B);
// The distance of GeodesicInverse, without working out the azimuth.
long double GeodesicDist(const EarthShape& E, const Vector3& A, const Vector3& B);
// The azimuth of GeodesicInverse.
long double GeodesicAzimuth(const EarthShape& E, const Vector3& A, const Vector3& B);

}  // namespace navorix
