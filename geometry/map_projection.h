// Map projections of the chart: an orthographic globe and Mercator's
// projection, from positions on the sphere to the pixels of a picture and
// back, and the cutting of paths into polylines that never run across the
// picture.
//
// Notation:
//   P, Q       positions on the chart's sphere, unit vectors (x toward 0N 0E,
//              y toward 0N 90E, z toward the North Pole)
//   phi, lam   latitude and longitude, radians, East positive
//   phi0, lam0 the centre of the picture
//   rho        the globe's rotation in the picture, counter-clockwise,
//              radians; 0 puts the North of the centre straight up
//   C, R, U    the globe's frame: C toward the viewer through the centre of
//              the picture, R toward the picture's right, U toward its top
//   d          depth P . C; P is on the visible hemisphere when d >= 0
//   psi        Mercator's isometric latitude asinh(tan phi)
//   x          Mercator's longitude from the centre, lam - lam0 brought into
//              [-pi, +pi); the seam is the meridian lam0 + pi, at x = +-pi
//   W, H       the picture's width and height, pixels
//   s          the scale, pixels per radius of the sphere
//   (u, v)     pixels, u to the right and v down from the top left corner;
//              the centre of the view is drawn at (W/2, H/2)
//
// The chart shows latitudes as the fix list does: with elliptic latitude on,
// a stored position (a geocentric direction) is drawn at its geodetic
// latitude, where the land outlines and the graticule put that latitude
// (ChartDirection). Every value is 80-bit; pixels become the window's
// numbers only where they are drawn.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "geometry/earth_model.h"
#include "geometry/numeric.h"
#include "geometry/path_set.h"
#include "geometry/vector.h"

namespace navorix {

enum class ProjectionKind : std::uint8_t { Globe, Mercator };

// Mercator's picture ends at this latitude North and South.
inline constexpr long double MercatorLimit = 85.0L * DegToRad;
// sin(MercatorLimit): a unit vector with |z| above it is beyond the limit.
inline constexpr long double MercatorLimitSin = 0.996194698091745532295010402473888046L;
// asinh(tan(MercatorLimit)), psi at the limit.
inline constexpr long double MercatorLimitPsi = 3.13130133147164500539058463838776600L;
// The zoom range: at zoom 1 the globe, or the width of Mercator's world,
// fits the picture.
inline constexpr long double MinZoom = 0.5L;
inline constexpr long double MaxZoom = 4096.0L;
// The globe's radius at zoom 1, as a share of the picture's shorter side:
// the rest is a margin for names and the horizon's line.
inline constexpr long double GlobeFill = 0.45L;
// The smallest picture side, pixels; smaller sizes are taken as this.
inline constexpr long double MinPictureSide = 1.0L;

// What the chart remembers of its view.
struct ChartView {
  ProjectionKind kind = ProjectionKind::Globe;
  long double centreLat = 0.0L;  // phi0
  long double centreLon = 0.0L;  // lam0
  long double rotation = 0.0L;   // rho; the globe only
  long double zoom = 1.0L;
  friend bool operator==(const ChartView&, const ChartView&) = default;
};

// The position P of the chart's sphere that shows the stored position p
// under the model e: p itself with elliptic latitude off; with it on, the
// direction whose latitude is p's geodetic latitude, unit(px, py, pz / (1 -
// e2)) (the latitude of the fix list to within 1e-15 rad, see PosLatDirect).
// The longitude is p's.
Vector3 ChartDirection(const EarthModel& e, const Vector3& p);

// Where Mercator puts a position, whatever the view: its longitude lam and
// its isometric latitude psi (held within the latitude limit).
struct MercatorPlace {
  long double lon = 0.0L;
  long double psi = 0.0L;
};
MercatorPlace MercatorPlaceOf(const Vector3& p);
// The places of every point of paths, path after path: worked out once for
// paths that many Mercator views cut (Cut's places).
void MercatorPlaces(const SpherePaths& paths, std::vector<MercatorPlace>& out);

// A range of latitudes and longitudes: lat in [latMin, latMax], lon from
// lonWest eastward by lonSpan (at most 2 pi, the whole circle), radians.
struct LatLonBox {
  long double latMin = -HalfPi;
  long double latMax = HalfPi;
  long double lonWest = -Pi;
  long double lonSpan = TwoPi;
};

// One view drawn into a picture of W x H pixels. A value: cheap to copy,
// every method const.
class MapProjection {
 public:
  // The view as drawn: the zoom held within [MinZoom, MaxZoom], the centre's
  // latitude within +-pi/2 (Mercator: +-MercatorLimit), its longitude and
  // the rotation brought into [-pi, +pi), and sides below MinPictureSide
  // taken as that. NaN values of the view count as 0 (the zoom as 1).
  MapProjection(const ChartView& view, long double width, long double height);

  const ChartView& View() const { return view_; }
  long double Width() const { return width_; }
  long double Height() const { return height_; }
  // s: the globe's radius in pixels is s; Mercator's world is 2 pi s wide.
  long double Scale() const { return scale_; }

  // The pixel of P. True when the projection shows P: on the globe when
  // d >= 0 (the horizon included), on Mercator when |phi| <= MercatorLimit.
  // When false, the pixel is where P would lie (seen through the globe, or
  // at the latitude limit) and must not be drawn. Whether the pixel lies
  // inside the picture is not tested.
  bool Forward(const Vector3& p, PixelPoint& pixel) const;
  // Forward for the many fixes of a picture: pixel is set only when the
  // projection shows P, so that the far side of the globe costs one dot
  // product a position.
  bool ForwardShown(const Vector3& p, PixelPoint& pixel) const;
  // The position shown at a pixel; false (p unchanged) off the globe's disc,
  // or beyond Mercator's limits (|x| > pi, |phi| > MercatorLimit).
  bool Inverse(const PixelPoint& pixel, Vector3& p) const;
  // Mercator only: the pixel of the position with longitude lam and
  // isometric latitude psi (MercatorPsi), so that a caller projecting many
  // fixes again and again works out their psi once.
  PixelPoint MercatorPixel(long double lam, long double psi) const;

  // Appends to out the polylines in pixels that draw the paths of in (all
  // of them; they are not changed). The parts the projection does not show
  // are left out: a path ends where it meets the horizon (globe) or the
  // latitude limit (Mercator), at the point of the path on that line, and
  // starts again where it comes back; on Mercator a path that crosses the
  // seam ends on one edge of the world and goes on from the other, both at
  // the latitude where it crosses. So no piece of a polyline runs across
  // the picture. A closed path cut open comes out as open polylines, its
  // pieces on either side of its first point joined.
  // The pieces between neighbouring points of a path are taken as arcs of
  // great circles and must be short (the densified paths of chart_paths.h
  // are at most a degree): a piece whose two ends are both hidden is left
  // out, so one that peeks out between them by less than 1 - cos(half its
  // length) radii (4e-5 for a degree) is not drawn.
  // places, when it holds the MercatorPlaces of in (as many as its points),
  // spares Mercator working them out again; the result is the same.
  void Cut(const SpherePaths& in, PixelPaths& out, std::span<const MercatorPlace> places = {}) const;

  // The latitudes and longitudes shown in the picture, found along its edges
  // (and the globe's horizon where it lies within the picture); the whole
  // range of longitudes when a pole is shown. A box that covers at least
  // what is shown, for drawing a graticule only where it can be seen.
  LatLonBox VisibleBox() const;

 private:
  void CutGlobe(std::span<const Vector3> path, bool closed, PixelPaths& out) const;
  void CutMercator(std::span<const Vector3> path, bool closed, std::span<const MercatorPlace> places,
                   PixelPaths& out) const;
  PixelPoint GlobePixel(const Vector3& p) const;
  // Mercator's pixel of P, with its latitude held at the limit.
  PixelPoint MercatorPixelOf(const Vector3& p) const;
  // x of longitude lam.
  long double MercatorX(long double lam) const;
  // Adds to out the piece from a (longitude lonA) to b (at placeB), both
  // within the limit, cutting it at the seam when it crosses it.
  void AddMercatorPiece(const Vector3& a, long double lonA, const Vector3& b, const MercatorPlace& placeB,
                        PixelPaths& out) const;

  ChartView view_;
  long double width_;
  long double height_;
  long double scale_;
  Vector3 toViewer_;              // C
  Vector3 right_;                 // R
  Vector3 up_;                    // U
  long double centrePsi_ = 0.0L;  // psi of phi0 (Mercator)
};

// psi of the latitude phi, held within the latitude limit.
long double MercatorPsi(long double phi);

}  // namespace navorix
