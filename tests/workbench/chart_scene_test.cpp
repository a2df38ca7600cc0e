// The chart's scene: where fixes, names and figures land in the picture,
// and which fix a click finds.
#include "workbench/chart_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "geometry/chart_paths.h"
#include "geometry/numeric.h"
#include "text/fix_names.h"

namespace navorix {
namespace {

constexpr long double W = 800.0L;
constexpr long double H = 600.0L;

class ChartSceneTest : public ::testing::Test {
 protected:
  void SetUp() override { Earth.EllipticLat = false; }
  std::uint16_t Add(const std::string& Name, long double LatDeg, long double LonDeg) {
    FixRecord fix;
    MakeFix(fix, PosFromLatLon(Earth, LatDeg * DegToRad, LonDeg * DegToRad), Name);
    DB.Add(fix);
    return DB.Count();
  }
  void Build(const ChartView& View, int CurrentRow = -1, const Figure& Shown = {}) {
    scene.Build(View, W, H, DB, CurrentRow < 0 ? DB.Count() : CurrentRow, Shown, Earth, {});
  }
  const ChartDot* DotOf(std::uint16_t Fix) const {
    for (const ChartDot& dot : scene.Dots())
      if (dot.fix == Fix) return &dot;
    return nullptr;
  }

  TEarthModel Earth;
  TFixDB DB;
  TChartScene scene;
};

// Where a fix is drawn, by projection and centre; a fix behind the globe
// or beyond Mercator's limit has no dot.
TEST_F(ChartSceneTest, FixesLandWhereTheProjectionPutsThem) {
  struct Case {
    const char* what;
    ProjectionKind kind;
    long double centreLat, centreLon;
    long double lat, lon;
    bool shown;
    long double u, v;  // expected, when shown
  };
  const long double s = GlobeFill * std::min(W, H);  // the globe's radius at zoom 1
  const long double m = W / (2 * Pi);                  // Mercator's pixels per radian at zoom 1
  const Case cases[] = {
      {"globe centre", ProjectionKind::Globe, 0, 0, 0, 0, true, W / 2, H / 2},
      {"globe centred elsewhere", ProjectionKind::Globe, 40, -70, 40, -70, true, W / 2, H / 2},
      {"globe toward the limb", ProjectionKind::Globe, 0, 0, 0, 60, true, W / 2 + s * std::sqrt(0.75L), H / 2},
      {"globe north", ProjectionKind::Globe, 0, 0, 30, 0, true, W / 2, H / 2 - s * 0.5L},
      {"globe far side", ProjectionKind::Globe, 0, 0, 0, 180, false, 0, 0},
      {"Mercator quarter east", ProjectionKind::Mercator, 0, 0, 0, 90, true, W / 2 + m * HalfPi, H / 2},
      {"Mercator across the seam", ProjectionKind::Mercator, 0, 170, 0, -170, true, W / 2 + m * 20 * DegToRad, H / 2},
      {"Mercator beyond the limit", ProjectionKind::Mercator, 0, 0, 86, 0, false, 0, 0},
  };
  for (const Case& c : cases) {
    DB.Clear();
    const std::uint16_t fix = Add("F", c.lat, c.lon);
    ChartView view;
    view.kind = c.kind;
    view.centreLat = c.centreLat * DegToRad;
    view.centreLon = c.centreLon * DegToRad;
    Build(view);
    const ChartDot* dot = DotOf(fix);
    ASSERT_EQ(dot != nullptr, c.shown) << c.what;
    if (!dot) continue;
    EXPECT_NEAR(static_cast<double>(dot->at.u), static_cast<double>(c.u), 1e-9) << c.what;
    EXPECT_NEAR(static_cast<double>(dot->at.v), static_cast<double>(c.v), 1e-9) << c.what;
    EXPECT_EQ(scene.FixAt(dot->at, 0.5L), fix) << c.what;
  }
}

// Names never overlap one another and stay inside the picture; the names
// of the current fix and the figure's operands are always shown.
TEST_F(ChartSceneTest, NamesFitWithoutOverlapAndTheFiguresAlwaysShow) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> lat(-60, 60), lon(-60, 60);
  for (int i = 0; i < 2000; ++i) Add("FIX" + std::to_string(i), lat(random), lon(random));
  const std::uint16_t a = Add("ALPHA", 1, 1);
  const std::uint16_t b = Add("BRAVO", 2, 2);
  Figure shown;
  shown.operation = TOpTag::FixFix;
  shown.operands = {DB.Get(a), DB.Get(b)};
  shown.lines.push_back({FigureLineKind::Segment, DB.Get(a).Position, DB.Get(b).Position});
  LabelMetrics metrics;
  scene.Build(ChartView{}, W, H, DB, 5, shown, Earth, metrics);
  int figureNames = 0;
  bool current = false;
  const auto& labels = scene.Labels();
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const ChartLabel& l = labels[i];
    if (l.figure) {
      figureNames += l.text == "ALPHA" || l.text == "BRAVO";
      current = current || l.text == "FIX5";
      continue;
    }
    const long double width = metrics.charWidth * static_cast<long double>(l.text.size());
    EXPECT_GE(l.at.u, 0);
    EXPECT_LE(l.at.u + width, W);
    for (std::size_t k = 0; k < i; ++k) {
      const ChartLabel& o = labels[k];
      const long double ow = metrics.charWidth * static_cast<long double>(o.text.size());
      const bool apart = l.at.u + width <= o.at.u || o.at.u + ow <= l.at.u ||
                         std::fabs(l.at.v - o.at.v) >= metrics.lineHeight;
      EXPECT_TRUE(apart) << l.text << " over " << o.text;
    }
  }
  EXPECT_EQ(figureNames, 2);
  EXPECT_TRUE(current);
  EXPECT_GT(labels.size(), 20u) << "names are shown where they fit";
  EXPECT_LT(labels.size(), 1000u) << "not all of 2000 fit";
  ASSERT_TRUE(scene.Current().has_value());
  EXPECT_EQ(scene.FixAt(*scene.Current(), 0.1L), 6) << "the current fix is found first";
}

// The figure's arc runs between its fixes' dots, and the operands and
// results are marked where the fixes are drawn.
TEST_F(ChartSceneTest, TheFiguresArcJoinsItsFixesInBothProjections) {
  const std::uint16_t a = Add("A", 10, -30);
  const std::uint16_t b = Add("B", 40, 60);
  Figure shown;
  shown.operation = TOpTag::Midpoint;
  shown.operands = {DB.Get(a), DB.Get(b)};
  shown.lines.push_back({FigureLineKind::Segment, DB.Get(a).Position, DB.Get(b).Position});
  for (ProjectionKind kind : {ProjectionKind::Globe, ProjectionKind::Mercator}) {
    ChartView view;
    view.kind = kind;
    view.centreLat = 20 * DegToRad;
    view.centreLon = 15 * DegToRad;
    Build(view, 0, shown);
    ASSERT_EQ(scene.FigureSolid().Count(), 1u);
    const auto arc = scene.FigureSolid()[0];
    const ChartDot* da = DotOf(a);
    const ChartDot* db = DotOf(b);
    ASSERT_TRUE(da && db);
    EXPECT_NEAR(static_cast<double>(arc.front().u), static_cast<double>(da->at.u), 1e-6);
    EXPECT_NEAR(static_cast<double>(arc.front().v), static_cast<double>(da->at.v), 1e-6);
    EXPECT_NEAR(static_cast<double>(arc.back().u), static_cast<double>(db->at.u), 1e-6);
    EXPECT_NEAR(static_cast<double>(arc.back().v), static_cast<double>(db->at.v), 1e-6);
    EXPECT_EQ(scene.Markers().size(), 2u);
  }
}

TEST_F(ChartSceneTest, ACentreFromTheFigureElseTheCurrentFix) {
  const std::uint16_t a = Add("A", 10, 20);
  Add("B", -30, 100);
  auto centre = ChartCentre(Figure{}, DB, 1, Earth);
  ASSERT_TRUE(centre);
  EXPECT_NEAR(static_cast<double>(centre->first), static_cast<double>(-30 * DegToRad), 1e-15);
  EXPECT_NEAR(static_cast<double>(centre->second), static_cast<double>(100 * DegToRad), 1e-15);
  Figure shown;
  shown.results.push_back({ResultKind::Midpoint, DB.Get(a).Position});
  centre = ChartCentre(shown, DB, 1, Earth);
  ASSERT_TRUE(centre);
  EXPECT_NEAR(static_cast<double>(centre->second), static_cast<double>(20 * DegToRad), 1e-15);
  EXPECT_FALSE(ChartCentre(Figure{}, DB, 2, Earth)) << "the blank row has no fix";
}

}  // namespace
}  // namespace navorix
