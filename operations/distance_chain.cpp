// One segment of the accumulated distance.
//
// Notation: L the chain's last fix, X the fix reached; E elliptic great arc,
// G geodesic, S sphere; all sums in radians of the reference sphere.
#include "operations/distance_chain.h"

#include "geometry/ellipsoid.h"
#include "geometry/great_circle.h"

namespace navorix {

void ExtendChain(TDistanceChain& Chain, const FixRecord& X, const EarthShape& E) {
  const TTriV& L = Chain.LastFix.Position;
  if (Chain.WithE) {
    try {
      Chain.SumE += EllipticArcDist(E, L, X.Position);
    } catch (...) {
      Chain.WithE = false;
    }
  }
  if (Chain.WithG) {
    try {
      Chain.SumG += GeodesicDist(E, L, X.Position);
    } catch (...) {
      Chain.WithG = false;
    }
  }
  Chain.SumS += CentralAngle(L, X.Position);
  Chain.LastFix = X;
}

}  // namespace navorix
