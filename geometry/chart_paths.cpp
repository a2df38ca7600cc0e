// The lines of the chart on the sphere (notation in chart_paths.h).
//
//   n       the number of pieces of a path
//   E, N    a frame perpendicular to the centre of a small circle
//   k       the number of a graticule line: its latitude or longitude is
//           k spacing
#include "geometry/chart_paths.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "geometry/sincos.h"

namespace navorix {
namespace {

// A small circle has at least this many points, so that a tiny one is still
// drawn round.
constexpr std::size_t MinCirclePieces = 32;

long double HeldStep(long double step) {
  if (!(step >= MinPathStep)) return MinPathStep;  // NaN too
  return std::min(step, MaxPathStep);
}

// The number of pieces of a path of this length: at least 1, so that the
// pieces are at most step long, and at most MaxPathPoints - 1.
std::size_t Pieces(long double length, long double step) {
  const long double n = std::ceil(std::fabs(length) / HeldStep(step));
  if (!(n >= 1.0L)) return 1;
  if (n >= static_cast<long double>(MaxPathPoints - 1)) return MaxPathPoints - 1;
  return static_cast<std::size_t>(n);
}

Vector3 Combine(long double ka, const Vector3& a, long double kb, const Vector3& b) {
  return {ka * a.x + kb * b.x, ka * a.y + kb * b.y, ka * a.z + kb * b.z};
}

// value brought into [-pi, +pi).
long double WrapAngle(long double value) {
  long double wrapped = std::remainder(value, TwoPi);
  if (wrapped >= Pi) wrapped -= TwoPi;
  return wrapped;
}

// Whether the shape of a path: a span of a whole turn is closed.
bool WholeTurn(long double span) { return std::fabs(span) >= TwoPi; }

// Graticule spacings, degrees, finest first.
constexpr std::array<long double, 12> GraticuleSteps = {1.0L / 60,  2.0L / 60,  5.0L / 60, 10.0L / 60,
                                                        15.0L / 60, 30.0L / 60, 1.0L,      2.0L,
                                                        5.0L,       10.0L,      15.0L,     30.0L};

// How many times 2 divides k (k = 0: as often as any meridian).
int TwoPower(std::int64_t k) {
  if (k == 0) return 64;
  int power = 0;
  while (k % 2 == 0 && power < 62) {
    k /= 2;
    ++power;
  }
  return power;
}

// The latitude where meridian k stops (see AddGraticule): the pole for the
// meridians 2^p spacing apart when that is GraticulePoleSpacing or more;
// otherwise the last multiple of spacing at or below the latitude where
// 2^p spacing cos(lat) is half a spacing.
long double MeridianEnd(std::int64_t k, long double spacing) {
  const int power = TwoPower(k < 0 ? -k : k);
  const long double apart = std::ldexp(spacing, std::min(power, 16));
  if (power >= 16 || apart >= GraticulePoleSpacing * (1.0L - 1e-12L)) return HalfPi;
  const long double limit = std::acos(std::ldexp(1.0L, -(power + 1)));
  return std::floor(limit / spacing + 1e-9L) * spacing;
}

}  // namespace

void AddCirclePath(const Vector3& a, const Vector3& t, long double from, long double to, long double step,
                   SpherePaths& out) {
  const long double span = to - from;
  if (!std::isfinite(span)) return;
  const bool closed = WholeTurn(span);
  const long double length = closed ? TwoPi : span;
  const std::size_t n = Pieces(length, step);
  const std::size_t points = closed ? n : n + 1;
  const long double sign = closed && span < 0.0L ? -1.0L : 1.0L;
  for (std::size_t i = 0; i < points; ++i) {
    const long double f = static_cast<long double>(i) / static_cast<long double>(n);
    const long double angle = i == n ? to : from + sign * length * f;
    long double s, c;
    SinCos(angle, s, c);
    out.Add(Combine(c, a, s, t));
  }
  out.End(closed ? PathShape::Closed : PathShape::Open);
}

void AddArcPath(const Vector3& a, const Vector3& b, long double step, SpherePaths& out) {
  if (SameOrOpposite(a, b, Coincidence::Either)) return;
  const Arc arc = MakeArc(a, b);
  AddCirclePath(arc.startPos, arc.startDir, 0.0L, arc.arcLen, step, out);
}

void AddArcExtensionPath(const Arc& arc, long double step, SpherePaths& out) {
  AddCirclePath(arc.startPos, arc.startDir, arc.arcLen, TwoPi, step, out);
}

void AddSmallCirclePath(const Vector3& a, long double radius, long double step, SpherePaths& out) {
  if (!(radius > 0.0L && radius < Pi)) return;
  // Any direction perpendicular to A will do; the one from the axis nearer
  // to A's equator keeps the cross product long.
  Vector3 east = std::fabs(a.z) < 0.9L ? TriCross(NorthPoleVec, a) : TriCross(Vector3{1.0L, 0.0L, 0.0L}, a);
  TriNormalize(east);
  const Vector3 north = TriCross(a, east);
  long double sinD, cosD;
  SinCos(radius, sinD, cosD);
  const std::size_t n = std::max(Pieces(TwoPi * sinD, step), MinCirclePieces);
  for (std::size_t i = 0; i < n; ++i) {
    long double s, c;
    SinCos(TwoPi * static_cast<long double>(i) / static_cast<long double>(n), s, c);
    out.Add(Combine(cosD, a, sinD, Combine(c, east, s, north)));
  }
  out.End(PathShape::Closed);
}

void AddRhumbPath(long double lat1, long double lon1, long double lat2, long double lon2, long double step,
                  SpherePaths& out) {
  if (!(std::fabs(lat1) <= HalfPi && std::fabs(lat2) <= HalfPi)) return;
  if (!std::isfinite(lon1) || !std::isfinite(lon2)) return;
  // A rhumb line into a pole winds round it without end; the only one that
  // arrives is the meridian.
  if (std::fabs(lat1) == HalfPi || std::fabs(lat2) == HalfPi) {
    const long double lon = std::fabs(lat1) == HalfPi ? lon2 : lon1;
    AddCirclePath(TriFromAngles(0.0L, lon), NorthPoleVec, lat1, lat2, step, out);
    return;
  }
  const long double psi1 = std::asinh(std::tan(lat1));
  const long double psi2 = std::asinh(std::tan(lat2));
  const long double dLon = WrapAngle(lon2 - lon1);
  // |d phi| <= |d psi| and a piece spans at most |d lam| of longitude, so
  // pieces of hypot(d psi, d lam) / n are at most a step long.
  const std::size_t n = Pieces(std::hypot(psi2 - psi1, dLon), step);
  for (std::size_t i = 0; i <= n; ++i) {
    const long double f = static_cast<long double>(i) / static_cast<long double>(n);
    const long double psi = i == n ? psi2 : psi1 + (psi2 - psi1) * f;
    const long double lat = i == n ? lat2 : std::atan(std::sinh(psi));
    out.Add(TriFromAngles(lat, WrapAngle(lon1 + dLon * f)));
  }
  out.End();
}

void AddGeodesicPath(const EarthShape& e, long double lat1, long double lon1, long double lat2,
                     long double lon2, long double step, SpherePaths& out) {
  // GeographicLib computes in double, more than a picture needs.
  const GeographicLib::Geodesic geodesic(static_cast<double>(e.equatRadius),
                                         static_cast<double>(e.flattening));
  const GeographicLib::GeodesicLine line =
      geodesic.InverseLine(static_cast<double>(lat1 * RadToDeg), static_cast<double>(lon1 * RadToDeg),
                           static_cast<double>(lat2 * RadToDeg), static_cast<double>(lon2 * RadToDeg));
  const long double length = line.Distance();
  if (!std::isfinite(length)) return;
  const std::size_t n = Pieces(length / e.spherRadius, step);
  for (std::size_t i = 0; i <= n; ++i) {
    double lat = 0.0, lon = 0.0;
    line.Position(static_cast<double>(length * static_cast<long double>(i) / static_cast<long double>(n)),
                  lat, lon);
    out.Add(TriFromAngles(lat * DegToRad, lon * DegToRad));
  }
  out.End();
}

void ChartToSphere(const EarthModel& e, std::size_t first, SpherePaths& paths) {
  if (!e.ellipticLat) return;
  for (Vector3& p : paths.PointsFrom(first)) p = ChartDirection(e, p);
}

long double GraticuleSpacing(long double radiansPerPixel) {
  for (const long double degrees : GraticuleSteps) {
    const long double spacing = degrees * DegToRad;
    if (spacing >= GraticuleMinPixels * radiansPerPixel) return spacing;
  }
  return GraticuleSteps.back() * DegToRad;
}

void AddGraticule(const LatLonBox& box, long double spacing, long double step, SpherePaths& out) {
  if (!(spacing > 0.0L) || !(box.latMax >= box.latMin) || !(box.lonSpan > 0.0L)) return;
  const long double span = std::min(box.lonSpan, TwoPi);
  const bool allAround = span >= TwoPi;
  // Coarsen until each kind has at most MaxGraticuleLines lines.
  const long double most = static_cast<long double>(MaxGraticuleLines);
  for (int i = 0; i < 64 && (span / spacing > most || (box.latMax - box.latMin) / spacing > most); ++i)
    spacing *= 2.0L;
  // The first and last multiples of the spacing within a range, a line on
  // its edge included despite the rounding of the two quotients.
  const auto lowest = [&](long double from) {
    return static_cast<std::int64_t>(std::ceil(from / spacing - 1e-9L));
  };
  const auto highest = [&](long double to) {
    return static_cast<std::int64_t>(std::floor(to / spacing + 1e-9L));
  };
  // Parallels; the poles are points, not lines.
  for (std::int64_t k = lowest(box.latMin); k <= highest(box.latMax); ++k) {
    const long double lat = static_cast<long double>(k) * spacing;
    if (!(std::fabs(lat) < HalfPi - 1e-9L * spacing)) continue;
    if (allAround) {
      AddSmallCirclePath(NorthPoleVec, HalfPi - lat, step, out);
      continue;
    }
    long double sinLat, cosLat;
    SinCos(lat, sinLat, cosLat);
    const std::size_t n = Pieces(span * cosLat, step);
    for (std::size_t i = 0; i <= n; ++i) {
      const long double lon = box.lonWest + span * static_cast<long double>(i) / static_cast<long double>(n);
      long double sinLon, cosLon;
      SinCos(lon, sinLon, cosLon);
      out.Add(Vector3{cosLat * cosLon, cosLat * sinLon, sinLat});
    }
    out.End();
  }
  // Meridians, once each round the circle.
  const std::int64_t turns = std::llround(TwoPi / spacing);
  const std::int64_t first = lowest(box.lonWest);
  const std::int64_t last = allAround ? first + highest(TwoPi - spacing * 0.5L) : highest(box.lonWest + span);
  for (std::int64_t k = first; k <= last; ++k) {
    const long double lon = static_cast<long double>(k) * spacing;
    // The number of the same meridian within half a turn of meridian 0.
    std::int64_t index = turns > 0 ? ((k % turns) + turns) % turns : k;
    if (turns > 0 && 2 * index > turns) index -= turns;
    const long double end = MeridianEnd(index, spacing);
    const long double south = std::max(box.latMin, -end);
    const long double north = std::min(box.latMax, end);
    if (north > south) AddCirclePath(TriFromAngles(0.0L, lon), NorthPoleVec, south, north, step, out);
  }
}

}  // namespace navorix
