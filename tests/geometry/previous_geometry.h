// The geometry routines as they were before they were made faster, kept
// unchanged as the reference that the faster ones are checked against (and
// timed against in bench/).
//
// Notation as in geometry/ellipsoid.h and geometry/sincos.h.
#pragma once

#include "geometry/earth_model.h"
#include "geometry/ellipsoid.h"
#include "geometry/vector.h"

namespace navorix::previous {

// Sine and cosine: reduction to [-pi/4, +pi/4] with a four-part pi/2, then
// the library's sincosl and a first-order correction for the reduction's
// tail.
void SinCos(long double x, long double& s, long double& c);

// The elliptic great arc with one sine-cosine pair and the vector integrand
// per Romberg node.
long double EllipticArcDist(const EarthShape& E, const Vector3& A, const Vector3& B);

// Vincenty's inverse method with two longitude arctangents, one sine-cosine
// pair and one arctangent per iteration.
GeodesicSolution GeodesicInverse(const EarthShape& E, const Vector3& A, const Vector3& B);

}  // namespace navorix::previous
