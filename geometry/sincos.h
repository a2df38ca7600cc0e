// Sine and cosine of one angle from one evaluation.
#pragma once

namespace navorix {

// s = sin x, c = cos x (x in radians). Arguments up to a few turns are first
// reduced to [-pi/4, +pi/4] here with pi/2 split into four exact parts, so
// that the library's sincosl runs without its general reduction; beyond that
// the library reduces as usual.
void SinCos(long double x, long double& s, long double& c);

}  // namespace navorix
