// Sine and cosine of one angle from one evaluation.
#pragma once

namespace navorix {

// s = sin x, c = cos x (x in radians), each correctly rounded in all but a
// few arguments per million and always within 0.5001 units of the last
// place. Arguments up to a few turns are reduced here to [-pi/4, +pi/4] with
// pi/2 split into four exact parts and evaluated by the kernel of
// sincos.cpp; a NaN, an infinity or a huge argument goes to the library's
// sincosl. -0 gives s = -0.
void SinCos(long double x, long double& s, long double& c);

}  // namespace navorix
