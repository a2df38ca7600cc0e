// What the chart draws, in pixels: the land, the graticule, the fixes as
// dots with the names that fit, the current fix, and the figure of the shown
// log record, for one view of one picture size. Built here, below the
// window, so the window only paints points and polylines; every position is
// projected in 80-bit arithmetic.
//
// Notation:
//   dot      a fix drawn as a point; its fix number 1..Count
//   label    a name beside a dot, where it overlaps no other label
//   marker   an operand or result point of the figure
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geometry/map_projection.h"
#include "geometry/path_set.h"
#include "operations/figure.h"
#include "stores/fix_db.h"
#include "stores/land_outlines.h"

namespace navorix {

struct ChartDot {
  PixelPoint at;
  std::uint16_t fix = 0;
};

enum class ChartMarkerKind : std::uint8_t { Operand, Result, OtherResult };

struct ChartMarker {
  PixelPoint at;
  ChartMarkerKind kind = ChartMarkerKind::Operand;
};

struct ChartLabel {
  PixelPoint at;  // the left end of the text's base line
  std::string text;
  bool figure = false;  // a name of the shown figure
};

// The size of a label's letters, pixels, as the window's font draws them.
struct LabelMetrics {
  long double charWidth = 7.0L;
  long double lineHeight = 13.0L;
};

class ChartScene {
 public:
  // The land's outlines as paths on the chart's sphere, worked out once.
  explicit ChartScene(const LandOutlines& land);
  ChartScene() = default;

  // Builds the picture of view at width x height: the fixes of fixes (the
  // one of currentRow marked when it is a fix), shown the figure drawn.
  // What does not depend on the view (each fix's position on the chart's
  // sphere, its Mercator longitude and isometric latitude) is worked out
  // once and kept until fixes (by its Revision) or the model change; a
  // view then costs a rotation or an affine step a fix.
  void Build(const ChartView& view, long double width, long double height, const FixDatabase& fixes,
             int currentRow, const Figure& shown, const EarthModel& earth, const LabelMetrics& metrics);

  const MapProjection& Projection() const { return projection_; }
  const PixelPaths& Land() const { return land_; }
  const PixelPaths& Graticule() const { return graticule_; }
  const PixelPaths& FigureSolid() const { return solid_; }
  const PixelPaths& FigureDashed() const { return dashed_; }
  const PixelPaths& FigureGeodesic() const { return geodesic_; }
  const PixelPaths& FigureCircle() const { return circle_; }
  const std::vector<ChartDot>& Dots() const { return dots_; }
  const std::optional<PixelPoint>& Current() const { return current_; }
  const std::vector<ChartMarker>& Markers() const { return markers_; }
  const std::vector<ChartLabel>& Labels() const { return labels_; }

  // The fix whose dot lies nearest to (u, v) and at most radius pixels
  // from it; 0 for none. The current fix is drawn over the others and is
  // found first.
  std::uint16_t FixAt(PixelPoint pixel, long double radius) const;

 private:
  // Takes the cells of a label of length letters beside the dot at and
  // returns where its text starts; none when a fix's name (not figure)
  // would leave the picture or cover another label.
  std::optional<PixelPoint> TakeLabelPlace(const PixelPoint& at, std::size_t length, bool figure,
                                           const LabelMetrics& metrics);
  // Whether a label covers a cell of row r from column c0 to c1.
  bool RowTaken(int r, int c0, int c1) const;
  void TakeRow(int r, int c0, int c1);
  // Works out again what the fixes give every view when they or the earth
  // model changed since the last time; mercator's part only when asked.
  void KeepFixes(const FixDatabase& fixes, const EarthModel& earth, bool mercator);

  SpherePaths landSphere_;
  std::vector<MercatorPlace> landMercator_;
  MapProjection projection_{ChartView{}, 1.0L, 1.0L};
  PixelPaths land_, graticule_, solid_, dashed_, geodesic_, circle_;
  SpherePaths scratch_;
  FigurePaths figurePaths_;
  std::vector<ChartDot> dots_;
  std::optional<PixelPoint> current_;
  std::uint16_t currentFix_ = 0;
  std::vector<ChartMarker> markers_;
  std::vector<ChartLabel> labels_;
  // Cells of LabelCell pixels that a label already covers, a bit each,
  // wordsPerRow_ words a row.
  std::vector<std::uint64_t> taken_;
  int cellsWide_ = 0;
  int cellsHigh_ = 0;
  int wordsPerRow_ = 0;

  // What the fixes give every view, kept between builds: fix i + 1's
  // position on the chart's sphere, its longitude and isometric latitude
  // (once Mercator is drawn), the length of its name, and flags. The key
  // says which fixes, under which model, they were worked out for.
  struct FixesKey {
    const FixDatabase* fixes = nullptr;
    std::uint64_t revision = 0;
    std::uint16_t count = 0;
    bool elliptic = false;
    long double oneMinusEcc2 = 0.0L;
    friend bool operator==(const FixesKey&, const FixesKey&) = default;
  };
  FixesKey keptKey_;
  bool keptMercator_ = false;
  std::vector<Vector3> fixSphere_;
  std::vector<MercatorPlace> fixMercator_;
  std::vector<std::uint8_t> fixNameLength_;
  std::vector<std::uint8_t> fixFlags_;
};

// Latitude and longitude (radians) of the centre a view takes when it is
// re-centred: the shown figure's centre, else the current fix, else none.
std::optional<std::pair<long double, long double>> ChartCentre(const Figure& shown, const FixDatabase& fixes,
                                                               int currentRow, const EarthModel& earth);

}  // namespace navorix
