// The state behind "Next Fix": the accumulated distance along a chain of
// fixes, started by a Fix-Fix distance and extended one fix at a time.
//
// The sums are central angles in radians (the ellipsoidal ones already
// divided by SpherRadius), so a change of distance unit in the middle of a
// chain is harmless: each result is converted with the unit in force when
// it is shown.
#pragma once

#include "geometry/earth_model.h"
#include "text/fix_record.h"

namespace navorix {

struct DistanceChain {
  FixNameText startName;    // first fix of the chain, as stored
  FixRecord lastFix;        // the next segment starts here; not valid before any chain
  long double sumS = 0.0L;  // on the sphere
  long double sumE = 0.0L;  // along the elliptic great arc
  long double sumG = 0.0L;  // along the geodesic
  bool withE = false;       // decided at the start of the chain, only ever switched off
  bool withG = false;
};

// Adds the segment from chain.lastFix to X (the ellipsoidal ones on E) to
// every sum in force and moves lastFix to X. A failure of the elliptic or the geodesic length is silent:
// that kind is dropped (its flag becomes false, its sum stays) for this and
// every later result of the chain. The sphere is not guarded: its Error
// (antipodal fixes) leaves the function with chain partly changed, so
// callers work on a copy.
void ExtendChain(DistanceChain& chain, const FixRecord& X, const EarthShape& E);

}  // namespace navorix
