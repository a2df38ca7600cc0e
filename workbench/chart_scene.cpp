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

long double Distance2(const PixelPoint& a, const PixelPoint& b) {
  const long double du = a.u - b.u;
  const long double dv = a.v - b.v;
  return du * du + dv * dv;
}

}  // namespace

TChartScene::TChartScene(const LandOutlines& Land) { AddLandPaths(Land, landSphere_); }

void TChartScene::Build(const ChartView& View, long double Width, long double Height, const TFixDB& Fixes,
                        int CurrentRow, const Figure& Shown, const TEarthModel& Earth,
                        const LabelMetrics& Metrics) {
  projection_ = MapProjection(View, Width, Height);
  const MapProjection& p = projection_;
  Width = p.Width();
  Height = p.Height();

  land_.Clear();
  p.Cut(landSphere_, land_);

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
  taken_.assign(static_cast<std::size_t>(cellsWide_) * static_cast<std::size_t>(cellsHigh_), 0);
  labels_.clear();
  markers_.clear();

  // The figure first: its names are always shown.
  PixelPoint at;
  for (const FixRecord& operand : Shown.operands) {
    if (!p.Forward(ChartDirection(Earth, operand.Position), at)) continue;
    markers_.push_back({at, ChartMarkerKind::Operand});
    PlaceLabel(at, operand.Name.View(), true, Metrics);
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
      PlaceLabel(at, fix.Name.View(), true, Metrics);
    }
  }
  for (int pos = 1; pos <= count; ++pos) {
    const FixRecord fix = Fixes.Get(static_cast<std::uint16_t>(pos));
    if (!fix.Valid || !p.Forward(ChartDirection(Earth, fix.Position), at)) continue;
    if (!Inside(at, Width, Height, DotMargin)) continue;
    dots_.push_back({at, static_cast<std::uint16_t>(pos)});
    if (pos != currentFix_) PlaceLabel(at, fix.Name.View(), false, Metrics);
  }
}

void TChartScene::PlaceLabel(const PixelPoint& At, std::string_view Text, bool Figure,
                             const LabelMetrics& Metrics) {
  const long double left = At.u + LabelGap;
  const long double top = At.v - Metrics.lineHeight / 2;
  const long double right = left + Metrics.charWidth * static_cast<long double>(Text.size());
  const long double bottom = top + Metrics.lineHeight;
  const int c0 = static_cast<int>(std::floor(left / LabelCell));
  const int c1 = static_cast<int>(std::floor(right / LabelCell));
  const int r0 = static_cast<int>(std::floor(top / LabelCell));
  const int r1 = static_cast<int>(std::floor(bottom / LabelCell));
  // A fix's name must lie wholly within the picture and on free cells.
  if (!Figure && (c0 < 0 || r0 < 0 || c1 >= cellsWide_ || r1 >= cellsHigh_)) return;
  const auto cell = [&](int c, int r) -> std::uint8_t& {
    return taken_[static_cast<std::size_t>(r) * static_cast<std::size_t>(cellsWide_) + static_cast<std::size_t>(c)];
  };
  const int cFirst = std::max(c0, 0), cLast = std::min(c1, cellsWide_ - 1);
  const int rFirst = std::max(r0, 0), rLast = std::min(r1, cellsHigh_ - 1);
  if (!Figure) {
    // Where names crowd, a corner is usually taken already: those first.
    if (cell(cFirst, rFirst) || cell(cLast, rFirst) || cell(cFirst, rLast) || cell(cLast, rLast)) return;
    for (int r = rFirst; r <= rLast; ++r)
      for (int c = cFirst; c <= cLast; ++c)
        if (cell(c, r)) return;
  }
  for (int r = rFirst; r <= rLast; ++r)
    for (int c = cFirst; c <= cLast; ++c) cell(c, r) = 1;
  labels_.push_back({{left, bottom - Metrics.lineHeight * 0.25L}, std::string(Text), Figure});
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
