// The chart's redraw: building the scene and painting it at 800 x 600 with
// 65535 fixes, the land and a figure, against the empty chart (land and
// graticule only), in interleaved runs, as CPU time; the frames a second of
// a rotating globe with 65535 fixes; and the heap the chart adds. Prints its
// figures; not a test.
//
//   chart_bench [RUNS]     (QT_QPA_PLATFORM=offscreen works too)
#include <malloc.h>
#include <time.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "geometry/numeric.h"
#include "text/fix_names.h"
#include "window/chart/chart_painter.h"
#include "window/chart/chart_window.h"
#include "workbench/chart_scene.h"

namespace {

using namespace navorix;

constexpr int Width = 800;
constexpr int Height = 600;

double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

std::size_t HeapBytes() { return ::mallinfo2().uordblks; }

struct Sample {
  double median, low, high;
};

Sample Summary(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return {v[v.size() / 2], v.front(), v.back()};
}

// One redraw as the window makes it: the scene built, then painted.
double Redraw(ChartScene& scene, const ChartView& view, const FixDatabase& fixes, const Figure& shown,
              const EarthModel& earth, const LabelMetrics& labels, QImage& image) {
  const double start = CpuMs();
  scene.Build(view, Width, Height, fixes, 0, shown, earth, labels);
  QPainter painter(&image);
  paintChart(painter, scene);
  painter.end();
  return CpuMs() - start;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 21;
  const LandOutlines land = loadChartLand(QStringLiteral(NAVORIX_SOURCE_DIR "/"));
  if (land.areas.empty()) {
    std::fprintf(stderr, "no land outlines\n");
    return 1;
  }
  const LabelMetrics labels = chartLabelMetrics();

  EarthModel earth;
  FixDatabase none;
  FixDatabase full;
  std::mt19937 random(2026);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int i = 0; i < MaxFixes; ++i) {
    FixRecord fix;
    const long double z = unit(random);
    MakeFix(fix, PosFromLatLon(earth, std::asin(z), unit(random) * Pi), "F" + std::to_string(i));
    full.Add(fix);
  }
  // An Intersection's figure: two extended arcs and the point.
  Figure shown;
  shown.operation = OperationTag::Intersection;
  for (int i = 1; i <= 4; ++i) shown.operands.push_back(full.Get(static_cast<std::uint16_t>(i)));
  shown.lines.push_back(
      {FigureLineKind::ExtendedArc, shown.operands[0].position, shown.operands[1].position});
  shown.lines.push_back(
      {FigureLineKind::ExtendedArc, shown.operands[2].position, shown.operands[3].position});
  shown.results.push_back({ResultKind::Intersection, full.Get(5).position});

  for (ProjectionKind kind : {ProjectionKind::Globe, ProjectionKind::Mercator}) {
    ChartView view;
    view.kind = kind;
    view.centreLat = 0.5L;
    view.centreLon = 0.3L;
    ChartScene emptyScene(land);
    ChartScene fullScene(land);
    QImage image(Width, Height, QImage::Format_RGB32);
    // One warm-up of each, then the two kinds in turn.
    Redraw(emptyScene, view, none, Figure{}, earth, labels, image);
    Redraw(fullScene, view, full, shown, earth, labels, image);
    std::vector<double> empty, filled, ratio;
    for (int r = 0; r < runs; ++r) {
      empty.push_back(Redraw(emptyScene, view, none, Figure{}, earth, labels, image));
      filled.push_back(Redraw(fullScene, view, full, shown, earth, labels, image));
      ratio.push_back(filled.back() / empty.back());
    }
    std::vector<double> building;
    for (int r = 0; r < runs; ++r) {
      const double start = CpuMs();
      fullScene.Build(view, Width, Height, full, 0, shown, earth, labels);
      building.push_back(CpuMs() - start);
    }
    const Sample e = Summary(empty), f = Summary(filled), q = Summary(ratio), b = Summary(building);
    std::printf("%s %dx%d, %d interleaved runs, CPU ms median [min..max]:\n",
                kind == ProjectionKind::Globe ? "globe" : "Mercator", Width, Height, runs);
    std::printf("  empty chart (land, graticule)     %7.2f [%.2f..%.2f]\n", e.median, e.low, e.high);
    std::printf("  65535 fixes + land + figure       %7.2f [%.2f..%.2f]  (%zu dots, %zu names)\n", f.median,
                f.low, f.high, fullScene.Dots().size(), fullScene.Labels().size());
    std::printf("  ratio full / empty (per pair)     %7.2f [%.2f..%.2f]\n", q.median, q.low, q.high);
    std::printf("  of the full one, building alone   %7.2f [%.2f..%.2f]\n", b.median, b.low, b.high);
  }

  // Rotating the globe: every frame a new centre.
  {
    ChartScene scene(land);
    QImage image(Width, Height, QImage::Format_RGB32);
    ChartView view;
    const int frames = 60;
    const double start = CpuMs();
    for (int i = 0; i < frames; ++i) {
      view.centreLon = 0.02L * i;
      view.centreLat = 0.3L + 0.01L * i;
      Redraw(scene, view, full, shown, earth, labels, image);
    }
    const double ms = (CpuMs() - start) / frames;
    std::printf("rotating globe, 65535 fixes: %.2f CPU ms a frame, %.0f frames a second\n", ms, 1000.0 / ms);
  }

  // The heap the chart adds: its scene with the land, built with every fix,
  // and a picture of the window's size.
  {
    const std::size_t before = HeapBytes();
    auto* scene = new ChartScene(land);
    auto* image = new QImage(Width, Height, QImage::Format_RGB32);
    ChartView view;
    Redraw(*scene, view, full, shown, earth, labels, *image);
    view.kind = ProjectionKind::Mercator;
    Redraw(*scene, view, full, shown, earth, labels, *image);
    const std::size_t after = HeapBytes();
    std::printf("heap added by the chart with 65535 fixes: %.2f MB\n",
                static_cast<double>(after - before) / 1e6);
    delete image;
    delete scene;
  }
  return 0;
}
