// Map projections of the chart (notation in map_projection.h).
//
//   a, b     the two ends of a piece of a path
//   X        where a piece meets the horizon, the seam or the latitude limit
//   n        the normal of the seam's meridian plane
//   T        the unit direction at a toward b along their great circle
//   theta    the angle from a along that circle
#include "geometry/map_projection.h"

#include <algorithm>
#include <cmath>

#include "geometry/sincos.h"

namespace navorix {
namespace {

// Samples per edge of the picture and around the horizon when the visible
// box is looked for: a graticule line then misses at most a sliver of the
// picture between two samples, far less than the line spacing.
constexpr int EdgeSamples = 64;
constexpr int HorizonSamples = 256;

long double FiniteOr(long double value, long double fallback) {
  return std::isfinite(value) ? value : fallback;
}

// value brought into [-pi, +pi) by whole turns; any finite value.
long double WrapAngle(long double value) {
  if (value >= -Pi && value < Pi) return value;
  long double wrapped = std::remainder(value, TwoPi);
  if (wrapped >= Pi) wrapped -= TwoPi;
  return wrapped;
}

Vector3 Combine(long double ka, const Vector3& a, long double kb, const Vector3& b) {
  return {ka * a.x + kb * b.x, ka * a.y + kb * b.y, ka * a.z + kb * b.z};
}

// unit(v), or fallback when v is too short to have a direction.
Vector3 UnitOr(const Vector3& v, const Vector3& fallback) {
  const long double length = TriLength(v);
  if (!(length > 0.0L)) return fallback;
  return TriScale(v, 1.0L / length);
}

// The point of the piece a-b where the depth is 0, given the depths da >= 0
// > db: the combination da b - db a has depth da db - db da = 0, and with
// both weights of one sign it lies between a and b.
Vector3 HorizonPoint(const Vector3& a, long double da, const Vector3& b, long double db) {
  return UnitOr(Combine(-db, a, da, b), a);
}

// The point of the piece a-b (a within the latitude limit, b beyond it)
// where |z| = MercatorLimitSin, on the great circle of a and b:
// z(theta) = az cos theta + Tz sin theta = k cos(theta - phi) = z0.
Vector3 LimitPoint(const Vector3& a, const Vector3& b) {
  const long double z0 = std::copysign(MercatorLimitSin, b.z);
  const Vector3 t = UnitOr(Combine(1.0L, b, -TriDot(a, b), a), a);
  const long double pieceAngle = std::atan2(TriLength(TriCross(a, b)), TriDot(a, b));
  const long double k = std::hypot(a.z, t.z);
  if (!(k >= std::fabs(z0))) return a;  // only rounding can leave no solution
  const long double phase = std::atan2(t.z, a.z);
  const long double spread = std::acos(z0 / k);
  long double best = pieceAngle;
  for (const long double theta :
       {phase - spread, phase + spread, phase - spread + TwoPi, phase + spread - TwoPi}) {
    if (theta >= 0.0L && theta < best) best = theta;
  }
  long double s, c;
  SinCos(best, s, c);
  return Combine(c, a, s, t);
}

}  // namespace

Vector3 ChartDirection(const EarthModel& e, const Vector3& p) {
  if (!e.ellipticLat) return p;
  return UnitOr(Vector3{p.x, p.y, p.z / e.shape.oneMinusEcc2}, p);
}

MercatorPlace MercatorPlaceOf(const Vector3& p) { return {TriLon(p), MercatorPsi(TriLat(p))}; }

void MercatorPlaces(const SpherePaths& paths, std::vector<MercatorPlace>& out) {
  out.clear();
  out.reserve(paths.PointCount());
  for (std::size_t i = 0; i < paths.Count(); ++i)
    for (const Vector3& p : paths[i]) out.push_back(MercatorPlaceOf(p));
}

long double MercatorPsi(long double phi) {
  if (!(std::fabs(phi) < MercatorLimit)) return std::copysign(MercatorLimitPsi, phi);
  return std::asinh(std::tan(phi));
}

MapProjection::MapProjection(const ChartView& view, long double width, long double height)
    : view_(view),
      width_(std::max(FiniteOr(width, MinPictureSide), MinPictureSide)),
      height_(std::max(FiniteOr(height, MinPictureSide), MinPictureSide)) {
  const long double latLimit = view.kind == ProjectionKind::Mercator ? MercatorLimit : HalfPi;
  view_.zoom = std::clamp(FiniteOr(view.zoom, 1.0L), MinZoom, MaxZoom);
  view_.centreLat = std::clamp(FiniteOr(view.centreLat, 0.0L), -latLimit, latLimit);
  view_.centreLon = WrapAngle(FiniteOr(view.centreLon, 0.0L));
  view_.rotation = WrapAngle(FiniteOr(view.rotation, 0.0L));
  if (view_.kind == ProjectionKind::Mercator) {
    view_.rotation = 0.0L;
    scale_ = view_.zoom * width_ / TwoPi;
    centrePsi_ = MercatorPsi(view_.centreLat);
  } else {
    scale_ = view_.zoom * GlobeFill * std::min(width_, height_);
  }
  // C, and East and North at C: East is taken from the longitude, so that
  // the frame is whole at the poles too.
  long double sinLat, cosLat, sinLon, cosLon, sinRot, cosRot;
  SinCos(view_.centreLat, sinLat, cosLat);
  SinCos(view_.centreLon, sinLon, cosLon);
  SinCos(view_.rotation, sinRot, cosRot);
  if (std::fabs(view_.centreLat) == HalfPi) cosLat = 0.0L;
  toViewer_ = {cosLat * cosLon, cosLat * sinLon, sinLat};
  const Vector3 east{-sinLon, cosLon, 0.0L};
  const Vector3 north{-sinLat * cosLon, -sinLat * sinLon, cosLat};
  // Turning the picture by rho counter-clockwise takes (x, y) to
  // (x cos rho - y sin rho, x sin rho + y cos rho).
  right_ = Combine(cosRot, east, -sinRot, north);
  up_ = Combine(sinRot, east, cosRot, north);
}

PixelPoint MapProjection::GlobePixel(const Vector3& p) const {
  return {0.5L * width_ + scale_ * TriDot(p, right_), 0.5L * height_ - scale_ * TriDot(p, up_)};
}

long double MapProjection::MercatorX(long double lam) const { return WrapAngle(lam - view_.centreLon); }

PixelPoint MapProjection::MercatorPixel(long double lam, long double psi) const {
  return {0.5L * width_ + scale_ * MercatorX(lam), 0.5L * height_ - scale_ * (psi - centrePsi_)};
}

PixelPoint MapProjection::MercatorPixelOf(const Vector3& p) const {
  const MercatorPlace place = MercatorPlaceOf(p);
  return MercatorPixel(place.lon, place.psi);
}

bool MapProjection::Forward(const Vector3& p, PixelPoint& pixel) const {
  if (view_.kind == ProjectionKind::Globe) {
    pixel = GlobePixel(p);
    return TriDot(p, toViewer_) >= 0.0L;
  }
  pixel = MercatorPixelOf(p);
  return std::fabs(TriLat(p)) <= MercatorLimit;
}

bool MapProjection::ForwardShown(const Vector3& p, PixelPoint& pixel) const {
  if (view_.kind == ProjectionKind::Globe) {
    if (TriDot(p, toViewer_) < 0.0L) return false;
    pixel = GlobePixel(p);
    return true;
  }
  return Forward(p, pixel);
}

bool MapProjection::Inverse(const PixelPoint& pixel, Vector3& p) const {
  const long double x = (pixel.u - 0.5L * width_) / scale_;
  const long double y = (0.5L * height_ - pixel.v) / scale_;
  if (!std::isfinite(x) || !std::isfinite(y)) return false;
  if (view_.kind == ProjectionKind::Globe) {
    const long double r2 = x * x + y * y;
    if (r2 > 1.0L) return false;
    const Vector3 onDisc = Combine(x, right_, y, up_);
    p = Combine(1.0L, onDisc, std::sqrt(1.0L - r2), toViewer_);
    return true;
  }
  const long double psi = y + centrePsi_;
  if (std::fabs(x) > Pi || std::fabs(psi) > MercatorLimitPsi) return false;
  p = TriFromAngles(std::atan(std::sinh(psi)), WrapAngle(view_.centreLon + x));
  return true;
}

void MapProjection::Cut(const SpherePaths& in, PixelPaths& out, std::span<const MercatorPlace> places) const {
  const bool kept = places.size() == in.PointCount();
  std::size_t first = 0;
  for (std::size_t i = 0; i < in.Count(); ++i) {
    const bool closed = in.Shape(i) == PathShape::Closed;
    const std::span<const Vector3> path = in[i];
    if (view_.kind == ProjectionKind::Globe)
      CutGlobe(path, closed, out);
    else
      CutMercator(path, closed, kept ? places.subspan(first, path.size()) : std::span<const MercatorPlace>{},
                  out);
    first += path.size();
  }
}

// A closed path is walked once round and back to its first point. When
// that point is shown and the path was cut, the last piece leads into the
// first, and the two are joined (EndInto).
void MapProjection::CutGlobe(std::span<const Vector3> path, bool closed, PixelPaths& out) const {
  if (path.empty()) return;
  const std::size_t steps = closed ? path.size() : path.size() - 1;
  const std::size_t linesBefore = out.Count();
  long double depthA = TriDot(path[0], toViewer_);
  const bool startShown = depthA >= 0.0L;
  bool cut = false;
  if (startShown) out.Add(GlobePixel(path[0]));
  for (std::size_t i = 1; i <= steps; ++i) {
    const Vector3& a = path[i - 1];
    const Vector3& b = path[i == path.size() ? 0 : i];
    const long double depthB = TriDot(b, toViewer_);
    if (depthA >= 0.0L && depthB >= 0.0L) {
      out.Add(GlobePixel(b));
    } else if (depthA >= 0.0L) {
      out.Add(GlobePixel(HorizonPoint(a, depthA, b, depthB)));
      out.End();
      cut = true;
    } else if (depthB >= 0.0L) {
      out.Add(GlobePixel(HorizonPoint(b, depthB, a, depthA)));
      out.Add(GlobePixel(b));
    }
    depthA = depthB;
  }
  const bool joinable = closed && startShown && cut && out.OpenCount() > 0 && out.Count() > linesBefore;
  if (joinable)
    out.EndInto(linesBefore);
  else
    out.End();
}

void MapProjection::AddMercatorPiece(const Vector3& a, long double lonA, const Vector3& b,
                                     const MercatorPlace& placeB, PixelPaths& out) const {
  const long double xa = MercatorX(lonA);
  const long double xb = MercatorX(placeB.lon);
  if (std::fabs(xb - xa) <= Pi) {
    out.Add(MercatorPixel(placeB.lon, placeB.psi));
    return;
  }
  // The seam's meridian lam0 + pi lies in the plane through the axis with
  // normal n = (sin lam0, -cos lam0, 0); X = (n.b) a - (n.a) b is in that
  // plane, on the seam's side of the axis once its sign is chosen.
  long double sinLon, cosLon;
  SinCos(view_.centreLon, sinLon, cosLon);
  const Vector3 n{sinLon, -cosLon, 0.0L};
  Vector3 crossing = UnitOr(Combine(TriDot(n, b), a, -TriDot(n, a), b), a);
  if (crossing.x * -cosLon + crossing.y * -sinLon < 0.0L) TriNeg(crossing);
  const long double v = 0.5L * height_ - scale_ * (MercatorPsi(TriLat(crossing)) - centrePsi_);
  const long double edge = scale_ * Pi;
  out.Add({0.5L * width_ + std::copysign(edge, xa), v});
  out.End();
  out.Add({0.5L * width_ + std::copysign(edge, xb), v});
  out.Add(MercatorPixel(placeB.lon, placeB.psi));
}

// Each point's longitude and psi are worked out once (or taken from places)
// and serve both the piece that ends at it and the one that starts there.
void MapProjection::CutMercator(std::span<const Vector3> path, bool closed,
                                std::span<const MercatorPlace> places, PixelPaths& out) const {
  if (path.empty()) return;
  const auto placeOf = [&](std::size_t i) { return places.empty() ? MercatorPlaceOf(path[i]) : places[i]; };
  const std::size_t steps = closed ? path.size() : path.size() - 1;
  const std::size_t linesBefore = out.Count();
  auto within = [](const Vector3& p) { return std::fabs(p.z) <= MercatorLimitSin; };
  const bool startShown = within(path[0]);
  bool cut = false;
  MercatorPlace placeA = placeOf(0);
  if (startShown) out.Add(MercatorPixel(placeA.lon, placeA.psi));
  for (std::size_t i = 1; i <= steps; ++i) {
    const std::size_t ib = i == path.size() ? 0 : i;
    const Vector3& a = path[i - 1];
    const Vector3& b = path[ib];
    const MercatorPlace placeB = placeOf(ib);
    const bool aWithin = within(a);
    const bool bWithin = within(b);
    const std::size_t linesNow = out.Count();
    if (aWithin && bWithin) {
      AddMercatorPiece(a, placeA.lon, b, placeB, out);
    } else if (aWithin) {
      const Vector3 limit = LimitPoint(a, b);
      AddMercatorPiece(a, placeA.lon, limit, MercatorPlaceOf(limit), out);
      out.End();
    } else if (bWithin) {
      const Vector3 limit = LimitPoint(b, a);
      const MercatorPlace placeLimit = MercatorPlaceOf(limit);
      out.Add(MercatorPixel(placeLimit.lon, placeLimit.psi));
      AddMercatorPiece(limit, placeLimit.lon, b, placeB, out);
    }
    if (out.Count() != linesNow || (aWithin && !bWithin)) cut = true;
    placeA = placeB;
  }
  const bool joinable = closed && startShown && cut && out.OpenCount() > 0 && out.Count() > linesBefore;
  if (joinable)
    out.EndInto(linesBefore);
  else
    out.End();
}

LatLonBox MapProjection::VisibleBox() const {
  LatLonBox box;
  if (view_.kind == ProjectionKind::Mercator) {
    const long double halfWidth = 0.5L * width_ / scale_;
    const long double top = centrePsi_ + 0.5L * height_ / scale_;
    const long double bottom = centrePsi_ - 0.5L * height_ / scale_;
    box.latMax = std::atan(std::sinh(std::min(top, MercatorLimitPsi)));
    box.latMin = std::atan(std::sinh(std::max(bottom, -MercatorLimitPsi)));
    if (halfWidth < Pi) {
      box.lonWest = WrapAngle(view_.centreLon - halfWidth);
      box.lonSpan = 2.0L * halfWidth;
    }
    return box;
  }
  // The globe: whatever is shown is bounded by the picture's edges where
  // they cross the disc and by the horizon where it lies in the picture.
  // Without a pole inside, the extreme latitudes and longitudes of a region
  // lie on its boundary.
  long double latMin = HalfPi, latMax = -HalfPi, xMin = Pi, xMax = -Pi;
  bool any = false;
  auto take = [&](const Vector3& p) {
    const long double lat = TriLat(p);
    const long double x = WrapAngle(TriLon(p) - view_.centreLon);
    latMin = std::min(latMin, lat);
    latMax = std::max(latMax, lat);
    xMin = std::min(xMin, x);
    xMax = std::max(xMax, x);
    any = true;
  };
  for (int i = 0; i <= EdgeSamples; ++i) {
    const long double f = static_cast<long double>(i) / EdgeSamples;
    const PixelPoint edges[4] = {
        {f * width_, 0.0L}, {f * width_, height_}, {0.0L, f * height_}, {width_, f * height_}};
    for (const PixelPoint& pixel : edges) {
      Vector3 p;
      if (Inverse(pixel, p)) take(p);
    }
  }
  for (int i = 0; i < HorizonSamples; ++i) {
    long double s, c;
    SinCos(TwoPi * static_cast<long double>(i) / HorizonSamples, s, c);
    const Vector3 p = Combine(c, right_, s, up_);
    const PixelPoint pixel = GlobePixel(p);
    if (pixel.u >= 0.0L && pixel.u <= width_ && pixel.v >= 0.0L && pixel.v <= height_) take(p);
  }
  Vector3 centre;
  if (Inverse({0.5L * width_, 0.5L * height_}, centre)) take(centre);
  if (!any) return box;
  box.latMin = latMin;
  box.latMax = latMax;
  for (const Vector3& pole : {NorthPoleVec, SouthPoleVec}) {
    PixelPoint pixel;
    const bool shown =
        Forward(pole, pixel) && pixel.u >= 0.0L && pixel.u <= width_ && pixel.v >= 0.0L && pixel.v <= height_;
    if (shown) {
      if (pole.z > 0.0L)
        box.latMax = HalfPi;
      else
        box.latMin = -HalfPi;
      return box;  // every longitude meets at the pole
    }
  }
  box.lonWest = WrapAngle(view_.centreLon + xMin);
  box.lonSpan = xMax - xMin;
  return box;
}

}  // namespace navorix
