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

LandOutlines loadChartLand(const QString& shareDir) {
  try {
    return ReadLandOutlines(fromQString(shareDir) + LandFolderName + "/" + LandFileName);
  } catch (const std::exception&) {
    // A chart without land still shows every fix and figure.
    return {};
  }
}

ChartView startingChartView(const Workbench& bench, ProjectionKind projection) {
  ChartView view;
  view.kind = projection;
  if (const auto centre =
          ChartCentre(bench.ShownFigure(), bench.Fixes(), bench.CurrentRow(), bench.Settings().earth)) {
    view.centreLat = centre->first;
    view.centreLon = centre->second;
  }
  return view;
}

ChartWindow::ChartWindow(Workbench& bench, const LandOutlines& land)
    : QWidget(nullptr, Qt::Window), bench_(bench), scene_(land) {
  setWindowTitle(QString::fromLatin1(ChartTitle));
  setObjectName(QStringLiteral("ChartWindow"));
  setMinimumSize(MinChartSide, MinChartSide);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(false);
  const ChartSettings& kept = bench.Settings().chart;
  if (kept.placed) {
    move(kept.left, kept.top);
    resize(kept.width, kept.height);
  } else {
    resize(DefaultChartWidth, DefaultChartHeight);
  }
  view_ = startingChartView(
      bench, kept.projection == ChartProjection::Mercator ? ProjectionKind::Mercator : ProjectionKind::Globe);
  shownRecord_ = bench.ShownRecord();
  currentRow_ = bench.CurrentRow();
  figure_ = bench.ShownFigure();
}

void ChartWindow::refresh() {
  figure_ = bench_.ShownFigure();
  if (bench_.ShownRecord() != shownRecord_) {
    // Another record: its figure is what the user looks at.
    shownRecord_ = bench_.ShownRecord();
    if (!figure_.Empty()) recentre();
  }
  if (bench_.CurrentRow() != currentRow_) {
    currentRow_ = bench_.CurrentRow();
    // A fix chosen in the list comes into sight when it is out of it.
    if (currentRow_ < bench_.Fixes().Count()) {
      const FixRecord fix = bench_.Fixes().Get(static_cast<std::uint16_t>(currentRow_ + 1));
      PixelPoint at;
      const MapProjection projection(view_, width(), height());
      if (fix.valid && (!projection.Forward(ChartDirection(bench_.Settings().earth, fix.position), at) ||
                        at.u < 0 || at.v < 0 || at.u > width() || at.v > height())) {
        const Vector3 p = ChartDirection(bench_.Settings().earth, fix.position);
        view_.centreLat = std::asin(std::clamp(p.z, -1.0L, 1.0L));
        view_.centreLon = std::atan2(p.y, p.x);
      }
    }
  }
  stale_ = true;
  update();
}

void ChartWindow::recentre() {
  const ChartView centred = startingChartView(bench_, view_.kind);
  view_.centreLat = centred.centreLat;
  view_.centreLon = centred.centreLon;
  view_.rotation = 0.0L;
  stale_ = true;
  update();
}

void ChartWindow::setProjection(ProjectionKind kind) {
  view_.kind = kind;
  keepPlace();
  stale_ = true;
  update();
}

void ChartWindow::rebuild() {
  scene_.Build(view_, width(), height(), bench_.Fixes(), bench_.CurrentRow(), figure_,
               bench_.Settings().earth, chartLabelMetrics());
  stale_ = false;
}

bool ChartWindow::savePicture(const QString& fileName) {
  if (stale_) rebuild();
  return saveChartPicture(fileName, scene_);
}

void ChartWindow::paintEvent(QPaintEvent*) {
  if (stale_) rebuild();
  QPainter painter(this);
  paintChart(painter, scene_);
}

void ChartWindow::resizeEvent(QResizeEvent*) {
  stale_ = true;
  keepPlace();
}

void ChartWindow::moveEvent(QMoveEvent*) { keepPlace(); }

void ChartWindow::keepPlace() {
  ChartSettings chart;
  chart.placed = true;
  chart.left = x();
  chart.top = y();
  chart.width = width();
  chart.height = height();
  chart.projection =
      view_.kind == ProjectionKind::Mercator ? ChartProjection::Mercator : ChartProjection::Globe;
  bench_.SetChartSettings(chart);
}

void ChartWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  pressedAt_ = lastAt_ = event->position().toPoint();
}

void ChartWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPoint at = event->position().toPoint();
  const long double s = scene_.Projection().Scale();
  const long double du = at.x() - lastAt_.x();
  const long double dv = at.y() - lastAt_.y();
  lastAt_ = at;
  // The point under the pointer follows it: the centre moves the other way.
  view_.centreLon -= du / s;
  if (view_.kind == ProjectionKind::Mercator) {
    const long double psi =
        std::clamp(MercatorPsi(view_.centreLat) + dv / s, -MercatorLimitPsi, MercatorLimitPsi);
    view_.centreLat = std::atan(std::sinh(psi));
  } else {
    view_.centreLat = std::clamp(view_.centreLat + dv / s, -HalfPi, HalfPi);
  }
  stale_ = true;
  update();
}

void ChartWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  const QPoint at = event->position().toPoint();
  if ((at - pressedAt_).manhattanLength() > ClickSlop) return;
  if (stale_) rebuild();
  const std::uint16_t fix =
      scene_.FixAt({static_cast<long double>(at.x()), static_cast<long double>(at.y())}, ClickRadius);
  if (fix != 0) bench_.SelectRow(fix - 1);
}

void ChartWindow::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches != 0) zoom(std::pow(ZoomStep, static_cast<long double>(notches)));
}

void ChartWindow::zoom(long double factor) {
  view_.zoom = std::clamp(view_.zoom * factor, MinZoom, MaxZoom);
  stale_ = true;
  update();
}

void ChartWindow::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Save)) {
    askAndSave();
    return;
  }
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      zoom(ZoomStep);
      return;
    case Qt::Key_Minus:
      zoom(1.0L / ZoomStep);
      return;
    case Qt::Key_Home:
      recentre();
      return;
    case Qt::Key_G:
      setProjection(ProjectionKind::Globe);
      return;
    case Qt::Key_M:
      setProjection(ProjectionKind::Mercator);
      return;
    case Qt::Key_F2:
      emit toggleRequested();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void ChartWindow::contextMenuEvent(QContextMenuEvent* event) {
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
  QAction* chosen = menu.exec(event->globalPos());
  if (chosen == globe) setProjection(ProjectionKind::Globe);
  if (chosen == mercator) setProjection(ProjectionKind::Mercator);
  if (chosen == centre) recentre();
  if (chosen == save) askAndSave();
}

void ChartWindow::askAndSave() {
  const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Save Chart Picture"), QString(),
                                                    QString::fromLatin1(PictureFilter));
  if (file.isEmpty()) return;
  if (!savePicture(file)) bench_.ShowError("Cannot write " + fromQString(QFileInfo(file).fileName()));
}

}  // namespace navorix
