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

class TWorkbench;

inline constexpr const char* ChartTitle = "Navorix Chart";
inline constexpr int DefaultChartWidth = 640;
inline constexpr int DefaultChartHeight = 480;

// The land outlines of the folder ShareDir + "land/"; none (and the chart
// draws no land) when they cannot be read.
LandOutlines LoadChartLand(const QString& ShareDir);

// The view a chart of the workbench's session starts with: Projection,
// centred on the shown figure or the current fix.
ChartView StartingChartView(const TWorkbench& Bench, ProjectionKind Projection);

class TChartWindow : public QWidget {
  Q_OBJECT

 public:
  TChartWindow(TWorkbench& Bench, const LandOutlines& Land);

  // The workbench changed what the chart draws.
  void Refresh();
  void Recentre();
  void SetProjection(ProjectionKind Kind);
  const ChartView& View() const { return view_; }
  const TChartScene& Scene() const { return scene_; }
  // Saves the picture as shown; false when it could not be written.
  bool SavePicture(const QString& FileName);

 signals:
  // F2 in the chart: the main window's command closes it.
  void ToggleRequested();

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void moveEvent(QMoveEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void contextMenuEvent(QContextMenuEvent* Event) override;

 private:
  void Rebuild();
  void Zoom(long double Factor);
  void AskAndSave();
  void KeepPlace();

  TWorkbench& bench_;
  TChartScene scene_;
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
