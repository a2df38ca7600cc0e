// Numeric ground rules of the geometry core.
//
// Every angle, length and tolerance of the core is an 80-bit extended value
// (64-bit mantissa). The tolerances used further up (1e-16 on squared chords,
// 1e-16 rad in the geodesic iteration) are below the resolution of a double,
// so a build on a platform whose long double is a plain double must not
// compile at all.
#pragma once

#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "Navorix needs the 80-bit extended long double (64-bit mantissa)");

namespace navorix {

// The nearest 80-bit values of these numbers (the literals carry more digits
// than the type, so the compiler rounds once to nearest).
inline constexpr long double Pi = 3.14159265358979323846264338327950288L;
inline constexpr long double HalfPi = 1.57079632679489661923132169163975144L;
inline constexpr long double QuarterPi = 0.785398163397448309615660845819875721L;
inline constexpr long double TwoPi = 6.28318530717958647692528676655900577L;
// pi/180 and 180/pi: one value each for the whole program.
inline constexpr long double DegToRad = 0.0174532925199432957692369076848861271L;
inline constexpr long double RadToDeg = 57.2957795130823208767981548141051703L;

}  // namespace navorix
