#include "workbench/chart_scene.h"

#include <algorithm>
#include <cmath>

#include "geometry/chart_paths.h"
#include "geometry/great_circle.h"

namespace navorix {

namespace {

// Labels are placed on a grid of cells this many pixels wide and high.
constexpr long double LabelCell = 4.0L;
// A label starts this far right of its dot.
constexpr long double LabelGap = 10.0L;
// A dot this far outside the picture still shows a part of itself.
constexpr long double DotMargin = 3.0L;

bool Inside(const PixelPoint& p, long double width, long double height, long double margin) {
  return p.u >= -margin && p.v >= -margin && p.u <= width + margin && p.v <= height + margin;
}

// Where the text of a label beside the dot at starts: the left end of its
// base line.
PixelPoint LabelStart(const PixelPoint& at, const LabelMetrics& metrics) {
  const long double bottom = at.v - metrics.lineHeight / 2 + metrics.lineHeight;
  return {at.u + LabelGap, bottom - metrics.lineHeight * 0.25L};
}

// The bits of word w of a row that stand for the columns c0..c1.
std::uint64_t RunMask(int w, int c0, int c1) {
  const int from = std::max(c0 - 64 * w, 0);
  const int to = std::min(c1 - 64 * w, 63);
  const std::uint64_t upTo = to == 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (to + 1)) - 1;
  return upTo & ~((std::uint64_t{1} << from) - 1);
}

// floor(x) as an int, for |x| well within int's range. floor and a cast of
// an 80-bit value switch the x87 unit's rounding mode twice, which made
// this the largest cost of a redraw; the truncation of the nearest double
// is one SSE instruction, and a step either way mends its rounding.
int FloorToInt(long double x) {
  const double near = static_cast<double>(x);
  int n = static_cast<int>(near);
  if (static_cast<double>(n) > near) --n;
  if (static_cast<long double>(n) > x)
    --n;
  else if (static_cast<long double>(n) + 1.0L <= x)
    ++n;
  return n;
}

// Flags of a kept fix.
constexpr std::uint8_t FixValid = 1;
constexpr std::uint8_t FixWithinMercator = 2;

long double Distance2(const PixelPoint& a, const PixelPoint& b) {
  const long double du = a.u - b.u;
  const long double dv = a.v - b.v;
  return du * du + dv * dv;
}

}  // namespace

ChartScene::ChartScene(const LandOutlines& land) {
  AddLandPaths(land, landSphere_);
  MercatorPlaces(landSphere_, landMercator_);
}

void ChartScene::Build(const ChartView& view, long double width, long double height, const FixDatabase& fixes,
                       int currentRow, const Figure& shown, const EarthModel& earth,
                       const LabelMetrics& metrics) {
  projection_ = MapProjection(view, width, height);
  const MapProjection& p = projection_;
  width = p.Width();
  height = p.Height();

  land_.Clear();
  p.Cut(landSphere_, land_, landMercator_);

  graticule_.Clear();
  scratch_.Clear();
  AddGraticule(p.VisibleBox(), GraticuleSpacing(1.0L / p.Scale()), MaxPathStep, scratch_);
  p.Cut(scratch_, graticule_);

  figurePaths_.Clear();
  AddFigurePaths(shown, earth, MaxPathStep, figurePaths_);
  solid_.Clear();
  dashed_.Clear();
  geodesic_.Clear();
  circle_.Clear();
  p.Cut(figurePaths_.solid, solid_);
  p.Cut(figurePaths_.dashed, dashed_);
  p.Cut(figurePaths_.geodesic, geodesic_);
  p.Cut(figurePaths_.circle, circle_);

  cellsWide_ = static_cast<int>(std::ceil(width / LabelCell));
  cellsHigh_ = static_cast<int>(std::ceil(height / LabelCell));
  wordsPerRow_ = (cellsWide_ + 63) / 64;
  taken_.assign(static_cast<std::size_t>(wordsPerRow_) * static_cast<std::size_t>(cellsHigh_), 0);
  labels_.clear();
  markers_.clear();
  const auto placeLabel = [&](const PixelPoint& dot, std::string_view name, bool figure) {
    if (const auto place = TakeLabelPlace(dot, name.size(), figure, metrics))
      labels_.push_back({*place, std::string(name), figure});
  };

  // The figure first: its names are always shown.
  PixelPoint at;
  for (const FixRecord& operand : shown.operands) {
    if (!p.Forward(ChartDirection(earth, operand.position), at)) continue;
    markers_.push_back({at, ChartMarkerKind::Operand});
    placeLabel(at, operand.name.View(), true);
  }
  bool first = true;
  for (const FigureResult& result : shown.results) {
    if (p.Forward(ChartDirection(earth, result.position), at))
      markers_.push_back({at, first ? ChartMarkerKind::Result : ChartMarkerKind::OtherResult});
    first = false;
  }

  dots_.clear();
  current_.reset();
  currentFix_ = 0;
  const int count = fixes.Count();
  if (currentRow >= 0 && currentRow < count) {
    const FixRecord fix = fixes.Get(static_cast<std::uint16_t>(currentRow + 1));
    if (fix.valid && p.Forward(ChartDirection(earth, fix.position), at) &&
        Inside(at, width, height, DotMargin)) {
      current_ = at;
      currentFix_ = static_cast<std::uint16_t>(currentRow + 1);
      placeLabel(at, fix.name.View(), true);
    }
  }
  const bool mercator = p.View().kind == ProjectionKind::Mercator;
  KeepFixes(fixes, earth, mercator);
  for (int pos = 1; pos <= count; ++pos) {
    const std::size_t i = static_cast<std::size_t>(pos - 1);
    const std::uint8_t flags = fixFlags_[i];
    if (!(flags & FixValid)) continue;
    // The same pixels as Forward gives, from what was kept.
    if (mercator) {
      if (!(flags & FixWithinMercator)) continue;
      at = p.MercatorPixel(fixMercator_[i].lon, fixMercator_[i].psi);
    } else if (!p.ForwardShown(fixSphere_[i], at)) {
      continue;
    }
    if (!Inside(at, width, height, DotMargin)) continue;
    dots_.push_back({at, static_cast<std::uint16_t>(pos)});
    if (pos == currentFix_) continue;
    // Only a name that found room is read from the database.
    if (TakeLabelPlace(at, fixNameLength_[i], false, metrics)) {
      const FixRecord fix = fixes.Get(static_cast<std::uint16_t>(pos));
      labels_.push_back({LabelStart(at, metrics), std::string(fix.name.View()), false});
    }
  }
}

void ChartScene::KeepFixes(const FixDatabase& fixes, const EarthModel& earth, bool mercator) {
  const FixesKey key{&fixes, fixes.Revision(), fixes.Count(), earth.ellipticLat,
                     earth.ellipticLat ? earth.shape.oneMinusEcc2 : 0.0L};
  if (!(key == keptKey_)) {
    keptKey_ = key;
    keptMercator_ = false;
    fixMercator_.clear();
    const std::size_t count = fixes.Count();
    fixSphere_.resize(count);
    fixNameLength_.resize(count);
    fixFlags_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      const FixRecord fix = fixes.Get(static_cast<std::uint16_t>(i + 1));
      fixSphere_[i] = fix.valid ? ChartDirection(earth, fix.position) : Vector3{};
      fixNameLength_[i] = static_cast<std::uint8_t>(std::min<std::size_t>(fix.name.View().size(), 255));
      fixFlags_[i] = fix.valid ? FixValid : 0;
    }
  }
  if (mercator && !keptMercator_) {
    keptMercator_ = true;
    fixMercator_.resize(fixSphere_.size());
    for (std::size_t i = 0; i < fixSphere_.size(); ++i) {
      if (!(fixFlags_[i] & FixValid)) continue;
      const long double lat = TriLat(fixSphere_[i]);
      fixMercator_[i] = {TriLon(fixSphere_[i]), MercatorPsi(lat)};
      if (std::fabs(lat) <= MercatorLimit) fixFlags_[i] |= FixWithinMercator;
    }
  }
}

bool ChartScene::RowTaken(int r, int c0, int c1) const {
  const std::uint64_t* row =
      taken_.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(wordsPerRow_);
  for (int w = c0 / 64; w <= c1 / 64; ++w) {
    if (row[w] & RunMask(w, c0, c1)) return true;
  }
  return false;
}

void ChartScene::TakeRow(int r, int c0, int c1) {
  std::uint64_t* row = taken_.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(wordsPerRow_);
  for (int w = c0 / 64; w <= c1 / 64; ++w) row[w] |= RunMask(w, c0, c1);
}

std::optional<PixelPoint> ChartScene::TakeLabelPlace(const PixelPoint& at, std::size_t length, bool figure,
                                                     const LabelMetrics& metrics) {
  // Cells are a power of two wide, so a product by the inverse is exact.
  constexpr long double PerCell = 1.0L / LabelCell;
  const long double left = at.u + LabelGap;
  const long double top = at.v - metrics.lineHeight / 2;
  const int c0 = FloorToInt(left * PerCell);
  const int r0 = FloorToInt(top * PerCell);
  // A fix's name must lie wholly within the picture and on free cells.
  // Where names crowd, the first cell is usually taken already.
  if (!figure && (c0 < 0 || r0 < 0 || (c0 < cellsWide_ && r0 < cellsHigh_ && RowTaken(r0, c0, c0))))
    return std::nullopt;
  const long double right = left + metrics.charWidth * static_cast<long double>(length);
  const long double bottom = top + metrics.lineHeight;
  const int c1 = FloorToInt(right * PerCell);
  const int r1 = FloorToInt(bottom * PerCell);
  if (!figure && (c1 >= cellsWide_ || r1 >= cellsHigh_)) return std::nullopt;
  const int cFirst = std::max(c0, 0), cLast = std::min(c1, cellsWide_ - 1);
  const int rFirst = std::max(r0, 0), rLast = std::min(r1, cellsHigh_ - 1);
  if (cFirst > cLast || rFirst > rLast) return LabelStart(at, metrics);  // a figure's name off the picture
  if (!figure) {
    for (int r = rFirst; r <= rLast; ++r)
      if (RowTaken(r, cFirst, cLast)) return std::nullopt;
  }
  for (int r = rFirst; r <= rLast; ++r) TakeRow(r, cFirst, cLast);
  return LabelStart(at, metrics);
}

std::uint16_t ChartScene::FixAt(PixelPoint pixel, long double radius) const {
  const long double limit = radius * radius;
  if (current_ && Distance2(*current_, pixel) <= limit) return currentFix_;
  std::uint16_t found = 0;
  long double best = limit;
  for (const ChartDot& dot : dots_) {
    const long double d = Distance2(dot.at, pixel);
    // A later dot is drawn over an earlier one, so it wins a tie.
    if (d <= best) {
      best = d;
      found = dot.fix;
    }
  }
  return found;
}

std::optional<std::pair<long double, long double>> ChartCentre(const Figure& shown, const FixDatabase& fixes,
                                                               int currentRow, const EarthModel& earth) {
  std::optional<Vector3> centre = FigureCentre(shown);
  if (!centre && currentRow >= 0 && currentRow < fixes.Count()) {
    const FixRecord fix = fixes.Get(static_cast<std::uint16_t>(currentRow + 1));
    if (fix.valid) centre = fix.position;
  }
  if (!centre) return std::nullopt;
  const Vector3 p = ChartDirection(earth, *centre);
  return std::make_pair(std::asin(std::clamp(p.z, -1.0L, 1.0L)), std::atan2(p.y, p.x));
}

}  // namespace navorix
