// Sine and cosine of one angle from one evaluation.
#pragma once

namespace navorix {

// s = sin x, c = cos x (x in radians), each correctly rounded in all but a
// few arguments per million. Arguments up to 64 turns are reduced here to
// [-pi/4, +pi/4], with pi/2 split into four exact parts, and evaluated by the
// kernel of sincos.cpp; each value is then within 0.5001 units of the last
// place, except within 1/256 rad of +-pi/2 and +-pi: there the reduction is
// the one the stored positions of all fixes were computed with, which leaves
// a first-order term of its tail out, and the bound is 0.5003 units (0.50015
// found). A NaN, an infinity or an argument beyond 64 turns goes to the
// library's sincosl, whose errors there reach 1.46 units in the arguments
// tried; of the program's angles only the distance of a fix at a distance
// and azimuth gets there, beyond 2.5 million km. tests/geometry/
// sincos_test.cpp checks the bounds at the worst arguments found. -0 gives
// s = -0.
void SinCos(long double x, long double& s, long double& c);

}  // namespace navorix
