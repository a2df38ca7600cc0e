#include "window/chart/chart_window.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "stores/chart_settings.h"
#include "window/chart/chart_painter.h"
#include "window/look/qt_text.h"
#include "workbench/workbench.h"

namespace navorix {

namespace {

// One notch of the wheel, or one + or -.
constexpr long double ZoomStep = 1.25L;
// A press and release closer than this is a click, not a drag.
constexpr int ClickSlop = 4;
// A click finds a fix's dot this far away, pixels.
constexpr long double ClickRadius = 6.0L;
constexpr const char* PictureFilter = "PNG picture (*.png);;SVG picture (*.svg)";

}  // namespace

LandOutlines LoadChartLand(const QString& ShareDir) {
  try {
    return ReadLandOutlines(FromQString(ShareDir) + LandFolderName + "/" + LandFileName);
  } catch (const std::exception&) {
    // A chart without land still shows every fix and figure.
    return {};
  }
}

ChartView StartingChartView(const TWorkbench& Bench, ProjectionKind Projection) {
  ChartView view;
  view.kind = Projection;
  if (const auto centre = ChartCentre(Bench.ShownFigure(), Bench.Fixes(), Bench.CurrentRow(), Bench.Settings().Earth)) {
    view.centreLat = centre->first;
    view.centreLon = centre->second;
  }
  return view;
}

TChartWindow::TChartWindow(TWorkbench& Bench, const LandOutlines& Land)
    : QWidget(nullptr, Qt::Window), bench_(Bench), scene_(Land) {
  setWindowTitle(QString::fromLatin1(ChartTitle));
  setObjectName(QStringLiteral("ChartWindow"));
  setMinimumSize(MinChartSide, MinChartSide);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(false);
  const TChartSettings& kept = Bench.Settings().Chart;
  if (kept.Placed) {
    move(kept.Left, kept.Top);
    resize(kept.Width, kept.Height);
  } else {
    resize(DefaultChartWidth, DefaultChartHeight);
  }
  view_ = StartingChartView(Bench, kept.Projection == TChartProjection::Mercator ? ProjectionKind::Mercator
                                                                                 : ProjectionKind::Globe);
  shownRecord_ = Bench.ShownRecord();
  currentRow_ = Bench.CurrentRow();
  figure_ = Bench.ShownFigure();
}

void TChartWindow::Refresh() {
  figure_ = bench_.ShownFigure();
  if (bench_.ShownRecord() != shownRecord_) {
    // Another record: its figure is what the user looks at.
    shownRecord_ = bench_.ShownRecord();
    if (!figure_.Empty()) Recentre();
  }
  if (bench_.CurrentRow() != currentRow_) {
    currentRow_ = bench_.CurrentRow();
    // A fix chosen in the list comes into sight when it is out of it.
    if (currentRow_ < bench_.Fixes().Count()) {
      const FixRecord fix = bench_.Fixes().Get(static_cast<std::uint16_t>(currentRow_ + 1));
      PixelPoint at;
      const MapProjection projection(view_, width(), height());
      if (fix.Valid && (!projection.Forward(ChartDirection(bench_.Settings().Earth, fix.Position), at) ||
                        at.u < 0 || at.v < 0 || at.u > width() || at.v > height())) {
        const TTriV p = ChartDirection(bench_.Settings().Earth, fix.Position);
        view_.centreLat = std::asin(std::clamp(p.z, -1.0L, 1.0L));
        view_.centreLon = std::atan2(p.y, p.x);
      }
    }
  }
  stale_ = true;
  update();
}

void TChartWindow::Recentre() {
  const ChartView centred = StartingChartView(bench_, view_.kind);
  view_.centreLat = centred.centreLat;
  view_.centreLon = centred.centreLon;
  view_.rotation = 0.0L;
  stale_ = true;
  update();
}

void TChartWindow::SetProjection(ProjectionKind Kind) {
  view_.kind = Kind;
  KeepPlace();
  stale_ = true;
  update();
}

void TChartWindow::Rebuild() {
  scene_.Build(view_, width(), height(), bench_.Fixes(), bench_.CurrentRow(), figure_, bench_.Settings().Earth,
               ChartLabelMetrics());
  stale_ = false;
}

bool TChartWindow::SavePicture(const QString& FileName) {
  if (stale_) Rebuild();
  return SaveChartPicture(FileName, scene_);
}

void TChartWindow::paintEvent(QPaintEvent*) {
  if (stale_) Rebuild();
  QPainter painter(this);
  PaintChart(painter, scene_);
}

void TChartWindow::resizeEvent(QResizeEvent*) {
  stale_ = true;
  KeepPlace();
}

void TChartWindow::moveEvent(QMoveEvent*) { KeepPlace(); }

void TChartWindow::KeepPlace() {
  TChartSettings chart;
  chart.Placed = true;
  chart.Left = x();
  chart.Top = y();
  chart.Width = width();
  chart.Height = height();
  chart.Projection = view_.kind == ProjectionKind::Mercator ? TChartProjection::Mercator : TChartProjection::Globe;
  bench_.SetChartSettings(chart);
}

void TChartWindow::mousePressEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) return;
  dragging_ = true;
  pressedAt_ = lastAt_ = Event->position().toPoint();
}

void TChartWindow::mouseMoveEvent(QMouseEvent* Event) {
  if (!dragging_) return;
  const QPoint at = Event->position().toPoint();
  const long double s = scene_.Projection().Scale();
  const long double du = at.x() - lastAt_.x();
  const long double dv = at.y() - lastAt_.y();
  lastAt_ = at;
  // The point under the pointer follows it: the centre moves the other way.
  view_.centreLon -= du / s;
  if (view_.kind == ProjectionKind::Mercator) {
    const long double psi = std::clamp(MercatorPsi(view_.centreLat) + dv / s, -MercatorLimitPsi, MercatorLimitPsi);
    view_.centreLat = std::atan(std::sinh(psi));
  } else {
    view_.centreLat = std::clamp(view_.centreLat + dv / s, -HalfPi, HalfPi);
  }
  stale_ = true;
  update();
}

void TChartWindow::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  const QPoint at = Event->position().toPoint();
  if ((at - pressedAt_).manhattanLength() > ClickSlop) return;
  if (stale_) Rebuild();
  const std::uint16_t fix = scene_.FixAt({static_cast<long double>(at.x()), static_cast<long double>(at.y())}, ClickRadius);
  if (fix != 0) bench_.SelectRow(fix - 1);
}

void TChartWindow::wheelEvent(QWheelEvent* Event) {
  const int notches = Event->angleDelta().y() / 120;
  if (notches != 0) Zoom(std::pow(ZoomStep, static_cast<long double>(notches)));
}

void TChartWindow::Zoom(long double Factor) {
  view_.zoom = std::clamp(view_.zoom * Factor, MinZoom, MaxZoom);
  stale_ = true;
  update();
}

void TChartWindow::keyPressEvent(QKeyEvent* Event) {
  if (Event->matches(QKeySequence::Save)) {
    AskAndSave();
    return;
  }
  switch (Event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      Zoom(ZoomStep);
      return;
    case Qt::Key_Minus:
      Zoom(1.0L / ZoomStep);
      return;
    case Qt::Key_Home:
      Recentre();
      return;
    case Qt::Key_G:
      SetProjection(ProjectionKind::Globe);
      return;
    case Qt::Key_M:
      SetProjection(ProjectionKind::Mercator);
      return;
    case Qt::Key_F2:
      emit ToggleRequested();
      return;
    default:
      QWidget::keyPressEvent(Event);
  }
}

void TChartWindow::contextMenuEvent(QContextMenuEvent* Event) {
  QMenu menu(this);
  QAction* globe = menu.addAction(QStringLiteral("&Globe\tG"));
  QAction* mercator = menu.addAction(QStringLiteral("&Mercator\tM"));
  globe->setCheckable(true);
  mercator->setCheckable(true);
  globe->setChecked(view_.kind == ProjectionKind::Globe);
  mercator->setChecked(view_.kind == ProjectionKind::Mercator);
  menu.addSeparator();
  QAction* centre = menu.addAction(QStringLiteral("&Centre\tHome"));
  QAction* save = menu.addAction(QStringLiteral("&Save Picture...\tCtrl+S"));
  QAction* chosen = menu.exec(Event->globalPos());
  if (chosen == globe) SetProjection(ProjectionKind::Globe);
  if (chosen == mercator) SetProjection(ProjectionKind::Mercator);
  if (chosen == centre) Recentre();
  if (chosen == save) AskAndSave();
}

void TChartWindow::AskAndSave() {
  const QString file =
      QFileDialog::getSaveFileName(this, QStringLiteral("Save Chart Picture"), QString(), QString::fromLatin1(PictureFilter));
  if (file.isEmpty()) return;
  if (!SavePicture(file)) bench_.ShowError("Cannot write " + FromQString(QFileInfo(file).fileName()));
}

}  // namespace navorix
