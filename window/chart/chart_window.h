// "Navorix Chart": the fixes and the shown log record's figure on a globe
// or a Mercator chart, beside the main window. It reads what it draws from
// the workbench and forwards a click on a fix to it; dragging rotates, the
// wheel and + and - zoom, Home re-centres, G and M choose the projection,
// Ctrl+S saves the picture, F2 closes it.
#pragma once

#include <QWidget>

#include <memory>

#include "geometry/map_projection.h"
#include "workbench/chart_scene.h"

namespace navorix {

class Workbench;

inline constexpr const char* ChartTitle = "Navorix Chart";
inline constexpr int DefaultChartWidth = 640;
inline constexpr int DefaultChartHeight = 480;

// The land outlines of the folder shareDir + "land/"; none (and the chart
// draws no land) when they cannot be read.
LandOutlines loadChartLand(const QString& shareDir);

// The view a chart of the workbench's session starts with: projection,
// centred on the shown figure or the current fix.
ChartView startingChartView(const Workbench& bench, ProjectionKind projection);

class ChartWindow : public QWidget {
  Q_OBJECT

 public:
  ChartWindow(Workbench& bench, const LandOutlines& land);

  // The workbench changed what the chart draws.
  void refresh();
  void recentre();
  void setProjection(ProjectionKind kind);
  const ChartView& view() const { return view_; }
  const ChartScene& scene() const { return scene_; }
  // Saves the picture as shown; false when it could not be written.
  bool savePicture(const QString& fileName);

 signals:
  // F2 in the chart: the main window's command closes it.
  void toggleRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void rebuild();
  void zoom(long double factor);
  void askAndSave();
  void keepPlace();

  Workbench& bench_;
  ChartScene scene_;
  ChartView view_;
  Figure figure_;
  bool stale_ = true;
  std::uint16_t shownRecord_ = 0;
  int currentRow_ = -1;
  bool dragging_ = false;
  QPoint pressedAt_;
  QPoint lastAt_;
};

}  // namespace navorix
