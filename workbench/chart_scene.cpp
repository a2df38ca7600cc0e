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

// Where the text of a label beside the dot At starts: the left end of its
// base line.
PixelPoint LabelStart(const PixelPoint& At, const LabelMetrics& Metrics) {
  const long double bottom = At.v - Metrics.lineHeight / 2 + Metrics.lineHeight;
  return {At.u + LabelGap, bottom - Metrics.lineHeight * 0.25L};
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
  if (static_cast<long double>(n) > x) --n;
  else if (static_cast<long double>(n) + 1.0L <= x) ++n;
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

TChartScene::TChartScene(const LandOutlines& Land) {
  AddLandPaths(Land, landSphere_);
  MercatorPlaces(landSphere_, landMercator_);
}

void TChartScene::Build(const ChartView& View, long double Width, long double Height, const TFixDB& Fixes,
                        int CurrentRow, const Figure& Shown, const TEarthModel& Earth,
                        const LabelMetrics& Metrics) {
  projection_ = MapProjection(View, Width, Height);
  const MapProjection& p = projection_;
  Width = p.Width();
  Height = p.Height();

  land_.Clear();
  p.Cut(landSphere_, land_, landMercator_);

  graticule_.Clear();
  scratch_.Clear();
  AddGraticule(p.VisibleBox(), GraticuleSpacing(1.0L / p.Scale()), MaxPathStep, scratch_);
  p.Cut(scratch_, graticule_);

  figurePaths_.Clear();
  AddFigurePaths(Shown, Earth, MaxPathStep, figurePaths_);
  solid_.Clear();
  dashed_.Clear();
  geodesic_.Clear();
  circle_.Clear();
  p.Cut(figurePaths_.solid, solid_);
  p.Cut(figurePaths_.dashed, dashed_);
  p.Cut(figurePaths_.geodesic, geodesic_);
  p.Cut(figurePaths_.circle, circle_);

  cellsWide_ = static_cast<int>(std::ceil(Width / LabelCell));
  cellsHigh_ = static_cast<int>(std::ceil(Height / LabelCell));
  wordsPerRow_ = (cellsWide_ + 63) / 64;
  taken_.assign(static_cast<std::size_t>(wordsPerRow_) * static_cast<std::size_t>(cellsHigh_), 0);
  labels_.clear();
  markers_.clear();
  const auto placeLabel = [&](const PixelPoint& dot, std::string_view name, bool figure) {
    if (const auto place = TakeLabelPlace(dot, name.size(), figure, Metrics))
      labels_.push_back({*place, std::string(name), figure});
  };

  // The figure first: its names are always shown.
  PixelPoint at;
  for (const FixRecord& operand : Shown.operands) {
    if (!p.Forward(ChartDirection(Earth, operand.Position), at)) continue;
    markers_.push_back({at, ChartMarkerKind::Operand});
    placeLabel(at, operand.Name.View(), true);
  }
  bool first = true;
  for (const FigureResult& result : Shown.results) {
    if (p.Forward(ChartDirection(Earth, result.position), at))
      markers_.push_back({at, first ? ChartMarkerKind::Result : ChartMarkerKind::OtherResult});
    first = false;
  }

  dots_.clear();
  current_.reset();
  currentFix_ = 0;
  const int count = Fixes.Count();
  if (CurrentRow >= 0 && CurrentRow < count) {
    const FixRecord fix = Fixes.Get(static_cast<std::uint16_t>(CurrentRow + 1));
    if (fix.Valid && p.Forward(ChartDirection(Earth, fix.Position), at) && Inside(at, Width, Height, DotMargin)) {
      current_ = at;
      currentFix_ = static_cast<std::uint16_t>(CurrentRow + 1);
      placeLabel(at, fix.Name.View(), true);
    }
  }
  const bool mercator = p.View().kind == ProjectionKind::Mercator;
  KeepFixes(Fixes, Earth, mercator);
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
    if (!Inside(at, Width, Height, DotMargin)) continue;
    dots_.push_back({at, static_cast<std::uint16_t>(pos)});
    if (pos == currentFix_) continue;
    // Only a name that found room is read from the database.
    if (TakeLabelPlace(at, fixNameLength_[i], false, Metrics)) {
      const FixRecord fix = Fixes.Get(static_cast<std::uint16_t>(pos));
      labels_.push_back({LabelStart(at, Metrics), std::string(fix.Name.View()), false});
    }
  }
}

void TChartScene::KeepFixes(const TFixDB& Fixes, const TEarthModel& Earth, bool Mercator) {
  const FixesKey key{&Fixes, Fixes.Revision(), Fixes.Count(), Earth.EllipticLat,
                     Earth.EllipticLat ? Earth.Shape.OneMinusEcc2 : 0.0L};
  if (!(key == keptKey_)) {
    keptKey_ = key;
    keptMercator_ = false;
    fixMercator_.clear();
    const std::size_t count = Fixes.Count();
    fixSphere_.resize(count);
    fixNameLength_.resize(count);
    fixFlags_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      const FixRecord fix = Fixes.Get(static_cast<std::uint16_t>(i + 1));
      fixSphere_[i] = fix.Valid ? ChartDirection(Earth, fix.Position) : TTriV{};
      fixNameLength_[i] = static_cast<std::uint8_t>(std::min<std::size_t>(fix.Name.View().size(), 255));
      fixFlags_[i] = fix.Valid ? FixValid : 0;
    }
  }
  if (Mercator && !keptMercator_) {
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

bool TChartScene::RowTaken(int r, int c0, int c1) const {
  const std::uint64_t* row = taken_.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(wordsPerRow_);
  for (int w = c0 / 64; w <= c1 / 64; ++w) {
    if (row[w] & RunMask(w, c0, c1)) return true;
  }
  return false;
}

void TChartScene::TakeRow(int r, int c0, int c1) {
  std::uint64_t* row = taken_.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(wordsPerRow_);
  for (int w = c0 / 64; w <= c1 / 64; ++w) row[w] |= RunMask(w, c0, c1);
}

std::optional<PixelPoint> TChartScene::TakeLabelPlace(const PixelPoint& At, std::size_t Length, bool Figure,
                                                       const LabelMetrics& Metrics) {
  // Cells are a power of two wide, so a product by the inverse is exact.
  constexpr long double PerCell = 1.0L / LabelCell;
  const long double left = At.u + LabelGap;
  const long double top = At.v - Metrics.lineHeight / 2;
  const int c0 = FloorToInt(left * PerCell);
  const int r0 = FloorToInt(top * PerCell);
  // A fix's name must lie wholly within the picture and on free cells.
  // Where names crowd, the first cell is usually taken already.
  if (!Figure && (c0 < 0 || r0 < 0 || (c0 < cellsWide_ && r0 < cellsHigh_ && RowTaken(r0, c0, c0))))
    return std::nullopt;
  const long double right = left + Metrics.charWidth * static_cast<long double>(Length);
  const long double bottom = top + Metrics.lineHeight;
  const int c1 = FloorToInt(right * PerCell);
  const int r1 = FloorToInt(bottom * PerCell);
  if (!Figure && (c1 >= cellsWide_ || r1 >= cellsHigh_)) return std::nullopt;
  const int cFirst = std::max(c0, 0), cLast = std::min(c1, cellsWide_ - 1);
  const int rFirst = std::max(r0, 0), rLast = std::min(r1, cellsHigh_ - 1);
  if (cFirst > cLast || rFirst > rLast) return LabelStart(At, Metrics);  // a figure's name off the picture
  if (!Figure) {
    for (int r = rFirst; r <= rLast; ++r)
      if (RowTaken(r, cFirst, cLast)) return std::nullopt;
  }
  for (int r = rFirst; r <= rLast; ++r) TakeRow(r, cFirst, cLast);
  return LabelStart(At, Metrics);
}

std::uint16_t TChartScene::FixAt(PixelPoint Pixel, long double Radius) const {
  const long double limit = Radius * Radius;
  if (current_ && Distance2(*current_, Pixel) <= limit) return currentFix_;
  std::uint16_t found = 0;
  long double best = limit;
  for (const ChartDot& dot : dots_) {
    const long double d = Distance2(dot.at, Pixel);
    // A later dot is drawn over an earlier one, so it wins a tie.
    if (d <= best) {
      best = d;
      found = dot.fix;
    }
  }
  return found;
}

std::optional<std::pair<long double, long double>> ChartCentre(const Figure& Shown, const TFixDB& Fixes,
                                                                int CurrentRow, const TEarthModel& Earth) {
  std::optional<TTriV> centre = FigureCentre(Shown);
  if (!centre && CurrentRow >= 0 && CurrentRow < Fixes.Count()) {
    const FixRecord fix = Fixes.Get(static_cast<std::uint16_t>(CurrentRow + 1));
    if (fix.Valid) centre = fix.Position;
  }
  if (!centre) return std::nullopt;
  const TTriV p = ChartDirection(Earth, *centre);
  return std::make_pair(std::asin(std::clamp(p.z, -1.0L, 1.0L)), std::atan2(p.y, p.x));
}

}  // namespace navorix
