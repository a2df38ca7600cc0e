// One segment of the accumulated distance.
//
// Notation: L the chain's last fix, X the fix reached; E elliptic great arc,
// G geodesic, S sphere; all sums in radians of the reference sphere.
#include "operations/distance_chain.h"

#include "geometry/ellipsoid.h"
#include "geometry/great_circle.h"

namespace navorix {

void ExtendChain(DistanceChain& chain, const FixRecord& X, const EarthShape& E) {
  const Vector3& L = chain.lastFix.position;
  if (chain.withE) {
    try {
      chain.sumE += EllipticArcDist(E, L, X.position);
    } catch (...) {
      chain.withE = false;
    }
  }
  if (chain.withG) {
    try {
      chain.sumG += GeodesicDist(E, L, X.position);
    } catch (...) {
      chain.withG = false;
    }
  }
  chain.sumS += CentralAngle(L, X.position);
  chain.lastFix = X;
}

}  // namespace navorix
