// The chart's scene: where fixes, names and figures land in the picture,
// and which fix a click finds.
#include "workbench/chart_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
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
  void SetUp() override { earth.ellipticLat = false; }
  std::uint16_t Add(const std::string& name, long double latDeg, long double lonDeg) {
    FixRecord fix;
    MakeFix(fix, PosFromLatLon(earth, latDeg * DegToRad, lonDeg * DegToRad), name);
    db.Add(fix);
    return db.Count();
  }
  void Build(const ChartView& view, int currentRow = -1, const Figure& shown = {}) {
    scene.Build(view, W, H, db, currentRow < 0 ? db.Count() : currentRow, shown, earth, {});
  }
  const ChartDot* DotOf(std::uint16_t fix) const {
    for (const ChartDot& dot : scene.Dots())
      if (dot.fix == fix) return &dot;
    return nullptr;
  }

  EarthModel earth;
  FixDatabase db;
  ChartScene scene;
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
  const long double m = W / (2 * Pi);                // Mercator's pixels per radian at zoom 1
  const Case cases[] = {
      {"globe centre", ProjectionKind::Globe, 0, 0, 0, 0, true, W / 2, H / 2},
      {"globe centred elsewhere", ProjectionKind::Globe, 40, -70, 40, -70, true, W / 2, H / 2},
      {"globe toward the limb", ProjectionKind::Globe, 0, 0, 0, 60, true, W / 2 + s * std::sqrt(0.75L),
       H / 2},
      {"globe north", ProjectionKind::Globe, 0, 0, 30, 0, true, W / 2, H / 2 - s * 0.5L},
      {"globe far side", ProjectionKind::Globe, 0, 0, 0, 180, false, 0, 0},
      {"Mercator quarter east", ProjectionKind::Mercator, 0, 0, 0, 90, true, W / 2 + m * HalfPi, H / 2},
      {"Mercator across the seam", ProjectionKind::Mercator, 0, 170, 0, -170, true, W / 2 + m * 20 * DegToRad,
       H / 2},
      {"Mercator beyond the limit", ProjectionKind::Mercator, 0, 0, 86, 0, false, 0, 0},
  };
  for (const Case& c : cases) {
    db.Clear();
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
  shown.operation = OperationTag::FixFix;
  shown.operands = {db.Get(a), db.Get(b)};
  shown.lines.push_back({FigureLineKind::Segment, db.Get(a).position, db.Get(b).position});
  LabelMetrics metrics;
  scene.Build(ChartView{}, W, H, db, 5, shown, earth, metrics);
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
  shown.operation = OperationTag::Midpoint;
  shown.operands = {db.Get(a), db.Get(b)};
  shown.lines.push_back({FigureLineKind::Segment, db.Get(a).position, db.Get(b).position});
  for (ProjectionKind kind : {ProjectionKind::Globe, ProjectionKind::Mercator}) {
    ChartView view;
    view.kind = kind;
    view.centreLat = 20 * DegToRad;
    view.centreLon = 15 * DegToRad;
    Build(view, 0, shown);
    ASSERT_EQ(scene.FigureSolid().Count(), 1u);
    const auto arc = scene.FigureSolid()[0];
    const ChartDot* dotA = DotOf(a);
    const ChartDot* dotB = DotOf(b);
    ASSERT_TRUE(dotA && dotB);
    EXPECT_NEAR(static_cast<double>(arc.front().u), static_cast<double>(dotA->at.u), 1e-6);
    EXPECT_NEAR(static_cast<double>(arc.front().v), static_cast<double>(dotA->at.v), 1e-6);
    EXPECT_NEAR(static_cast<double>(arc.back().u), static_cast<double>(dotB->at.u), 1e-6);
    EXPECT_NEAR(static_cast<double>(arc.back().v), static_cast<double>(dotB->at.v), 1e-6);
    EXPECT_EQ(scene.Markers().size(), 2u);
  }
}

// A scene keeps what the fixes give every view between builds. After any
// change of the fixes or the model, in either projection and in either
// order of projections, it draws what a scene built afresh draws.
TEST_F(ChartSceneTest, KeptFixesFollowEveryChange) {
  FixDatabase other;
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"nothing", [] {}},
      {"a fix moved",
       [&] {
         FixRecord fix = db.Get(2);
         MakeFix(fix, PosFromLatLon(earth, -20 * DegToRad, 50 * DegToRad), "MOVED");
         db.Replace(fix, 2);
       }},
      {"a fix renamed",
       [&] {
         FixRecord fix = db.Get(3);
         fix.name = db.Get(1).name;
         db.Replace(fix, 3);
       }},
      {"fixes exchanged", [&] { db.MoveDown(1); }},
      {"a fix deleted", [&] { db.Delete(1); }},
      {"a fix inserted",
       [&] {
         FixRecord fix;
         MakeFix(fix, PosFromLatLon(earth, 84.9 * DegToRad, 0), "NORTHERN");
         db.Insert(fix, 1);
       }},
      {"fixes sorted", [&] { db.Sort(SortOrder::ByName, Vector3{}); }},
      {"elliptic latitude on", [&] { earth.ellipticLat = true; }},
      {"another ellipsoid", [&] { earth.shape = EarthShape(6371.0L, 6330.0L, 6378.0L); }},
      {"elliptic latitude off", [&] { earth.ellipticLat = false; }},
      {"cleared and refilled",
       [&] {
         db.Clear();
         for (int i = 0; i < 40; ++i) Add("NEW" + std::to_string(i), 85.5L - 4 * i, 3 * i);
       }},
  };
  for (int i = 0; i < 40; ++i) Add("OLD" + std::to_string(i), 60.0L - 3 * i, -40.0L + 2 * i);
  for (int i = 0; i < 40; ++i) {
    FixRecord fix;
    MakeFix(fix, PosFromLatLon(earth, 3.0L * i * DegToRad, -10 * DegToRad), "ELSEWHERE");
    other.Add(fix);
  }
  const auto same = [&](const ChartScene& a, const ChartScene& b, const std::string& what) {
    ASSERT_EQ(a.Dots().size(), b.Dots().size()) << what;
    for (std::size_t i = 0; i < a.Dots().size(); ++i) {
      EXPECT_EQ(a.Dots()[i].fix, b.Dots()[i].fix) << what;
      EXPECT_EQ(a.Dots()[i].at.u, b.Dots()[i].at.u) << what;
      EXPECT_EQ(a.Dots()[i].at.v, b.Dots()[i].at.v) << what;
    }
    ASSERT_EQ(a.Labels().size(), b.Labels().size()) << what;
    for (std::size_t i = 0; i < a.Labels().size(); ++i)
      EXPECT_EQ(a.Labels()[i].text, b.Labels()[i].text) << what;
  };
  ChartScene globeFirst, mercatorFirst;
  ChartView globe, mercator;
  mercator.kind = ProjectionKind::Mercator;
  for (const auto& [what, change] : changes) {
    change();
    for (const ChartView* view : {&globe, &mercator}) {
      const std::string name = std::string(what) + (view == &globe ? ", globe" : ", Mercator");
      ChartScene fresh;
      fresh.Build(*view, W, H, db, -1, {}, earth, {});
      globeFirst.Build(globe, W, H, db, -1, {}, earth, {});
      globeFirst.Build(*view, W, H, db, -1, {}, earth, {});
      mercatorFirst.Build(mercator, W, H, db, -1, {}, earth, {});
      mercatorFirst.Build(*view, W, H, db, -1, {}, earth, {});
      same(globeFirst, fresh, name + ", after the globe");
      same(mercatorFirst, fresh, name + ", after Mercator");
    }
  }
  // Another database of as many fixes, as often changed, is not taken for
  // the one kept.
  ASSERT_EQ(other.Count(), db.Count());
  for (const ChartView* view : {&globe, &mercator}) {
    ChartScene fresh;
    fresh.Build(*view, W, H, other, -1, {}, earth, {});
    globeFirst.Build(*view, W, H, other, -1, {}, earth, {});
    same(globeFirst, fresh, "another database");
  }
}

// Names are kept apart on a grid of cells held 64 to a word: a name whose
// cells meet another's only across the boundary of two words is still
// refused, and one a cell clear of it is shown.
TEST_F(ChartSceneTest, NamesMeetAcrossTheWordsOfTheGrid) {
  // On Mercator at zoom 1, lat 0: u = W/2 + W/360 per degree East. A name
  // starts 10 pixels right of its dot, on cells of 4 pixels, 7 a letter.
  const auto lonOfCell = [](int cell) { return ((4.0L * cell + 0.5L - 10) - W / 2) / (W / 360); };
  struct Case {
    const char* what;
    int firstCell;   // the first name's first cell, 11 letters: 20 cells
    int secondCell;  // the second's, 1 letter: 2 cells
    bool secondShown;
  };
  const Case cases[] = {
      {"first across the boundary, second in the next word", 60, 66, false},
      {"second ends on the word's first cell", 64, 63, false},
      {"second ends on the word's last cell", 44, 62, false},
      {"second just clear on the right", 44, 64, true},
      {"second just clear on the left", 65, 63, true},
      {"first ends on the last cell of the picture", 180, 190, false},
  };
  for (const Case& c : cases) {
    db.Clear();
    Add("ABCDEFGHIJK", 0, lonOfCell(c.firstCell));
    Add("X", 0, lonOfCell(c.secondCell));
    ChartView view;
    view.kind = ProjectionKind::Mercator;
    scene.Build(view, W, H, db, -1, {}, earth, {});
    bool first = false, second = false;
    for (const ChartLabel& label : scene.Labels()) {
      first = first || label.text == "ABCDEFGHIJK";
      second = second || label.text == "X";
    }
    EXPECT_TRUE(first) << c.what;
    EXPECT_EQ(second, c.secondShown) << c.what;
  }
}

TEST_F(ChartSceneTest, ACentreFromTheFigureElseTheCurrentFix) {
  const std::uint16_t a = Add("A", 10, 20);
  Add("B", -30, 100);
  auto centre = ChartCentre(Figure{}, db, 1, earth);
  ASSERT_TRUE(centre);
  EXPECT_NEAR(static_cast<double>(centre->first), static_cast<double>(-30 * DegToRad), 1e-15);
  EXPECT_NEAR(static_cast<double>(centre->second), static_cast<double>(100 * DegToRad), 1e-15);
  Figure shown;
  shown.results.push_back({ResultKind::Midpoint, db.Get(a).position});
  centre = ChartCentre(shown, db, 1, earth);
  ASSERT_TRUE(centre);
  EXPECT_NEAR(static_cast<double>(centre->second), static_cast<double>(20 * DegToRad), 1e-15);
  EXPECT_FALSE(ChartCentre(Figure{}, db, 2, earth)) << "the blank row has no fix";
}

}  // namespace
}  // namespace navorix
