#include "window/chart/chart_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRect>
#include <QSvgGenerator>
#include <QVector>

#include <algorithm>
#include <cmath>

#include "window/look/qt_text.h"
#include "workbench/chart_scene.h"

namespace navorix {

namespace {

// The window's colours: a dark sea, lime fixes, aqua and yellow results.
const QColor Space(0, 0, 0);
const QColor Sea(8, 20, 44);
const QColor LandLine(122, 150, 104);
const QColor GridLine(44, 58, 86);
const QColor FixColour(0, 255, 0);
const QColor CurrentColour(255, 255, 255);
const QColor ArcColour(255, 255, 255);
const QColor GeodesicColour(255, 128, 255);
const QColor FirstResult(0, 255, 255);
const QColor OtherResult(255, 255, 0);
const QColor FigureName(255, 255, 255);

QPointF at(const PixelPoint& p) { return {static_cast<double>(p.u), static_cast<double>(p.v)}; }

void drawPaths(QPainter& painter, const PixelPaths& paths, const QPen& pen) {
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  QPolygonF line;
  for (std::size_t i = 0; i < paths.Count(); ++i) {
    line.clear();
    for (const PixelPoint& p : paths[i]) line << at(p);
    if (paths.Shape(i) == PathShape::Closed)
      painter.drawPolygon(line);
    else
      painter.drawPolyline(line);
  }
}

// The sea: the globe's disc, or Mercator's world between its limits.
void drawSea(QPainter& painter, const MapProjection& p) {
  painter.fillRect(QRectF(0, 0, static_cast<double>(p.Width()), static_cast<double>(p.Height())), Space);
  const double s = static_cast<double>(p.Scale());
  const QPointF centre(static_cast<double>(p.Width()) / 2, static_cast<double>(p.Height()) / 2);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Sea);
  if (p.View().kind == ProjectionKind::Globe) {
    painter.drawEllipse(centre, s, s);
    return;
  }
  const PixelPoint north = p.MercatorPixel(p.View().centreLon, MercatorLimitPsi);
  const PixelPoint south = p.MercatorPixel(p.View().centreLon, -MercatorLimitPsi);
  const double halfWorld = std::acos(-1.0) * s;
  painter.drawRect(QRectF(QPointF(centre.x() - halfWorld, static_cast<double>(north.v)),
                          QPointF(centre.x() + halfWorld, static_cast<double>(south.v))));
}

// The fixes, tens of thousands of them, as squares of 3 x 3 whole pixels
// without antialiasing, which would only blur them. On a raster device the
// squares are set straight into a layer the size of the picture and drawn
// in one go, the same pixels as filled rectangles give at a fraction of
// the cost; elsewhere (SVG) they stay rectangles.
void drawDots(QPainter& painter, const ChartScene& scene) {
  const auto square = [](const ChartDot& dot) {
    return QRect(static_cast<int>(std::lround(dot.at.u)) - 1, static_cast<int>(std::lround(dot.at.v)) - 1, 3,
                 3);
  };
  const int width = static_cast<int>(scene.Projection().Width());
  const int height = static_cast<int>(scene.Projection().Height());
  const bool raster = painter.paintEngine() != nullptr &&
                      painter.paintEngine()->type() == QPaintEngine::Raster &&
                      painter.worldTransform().isIdentity();
  if (!raster) {
    QVector<QRect> squares;
    squares.reserve(static_cast<qsizetype>(scene.Dots().size()));
    for (const ChartDot& dot : scene.Dots()) squares.append(square(dot));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(FixColour);
    painter.drawRects(squares.constData(), static_cast<int>(squares.size()));
    painter.setRenderHint(QPainter::Antialiasing, true);
    return;
  }
  if (scene.Dots().empty() || width <= 0 || height <= 0) return;
  QImage layer(width, height, QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  const QRgb colour = FixColour.rgba();
  // scanLine would check the image's sharing on every call.
  uchar* const bits = layer.bits();
  const qsizetype stride = layer.bytesPerLine();
  for (const ChartDot& dot : scene.Dots()) {
    const QRect r = square(dot);
    const int left = std::max(r.left(), 0), right = std::min(r.right(), width - 1);
    const int top = std::max(r.top(), 0), bottom = std::min(r.bottom(), height - 1);
    for (int y = top; y <= bottom; ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(bits + y * stride);
      for (int x = left; x <= right; ++x) line[x] = colour;
    }
  }
  painter.drawImage(QPoint(0, 0), layer);
}

QFont labelFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSize(ChartLabelPointSize);
  return font;
}

}  // namespace

LabelMetrics chartLabelMetrics() {
  const QFontMetricsF metrics(labelFont());
  LabelMetrics labels;
  // Names are capitals: a little narrower than ten M on average.
  labels.charWidth = metrics.horizontalAdvance(QStringLiteral("MMMMMMMMMM")) / 10.0 * 0.85;
  labels.lineHeight = metrics.height();
  return labels;
}

void paintChart(QPainter& painter, const ChartScene& scene) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  drawSea(painter, scene.Projection());
  drawPaths(painter, scene.Graticule(), QPen(GridLine, 1.0));
  drawPaths(painter, scene.Land(), QPen(LandLine, 1.0));

  drawDots(painter, scene);

  QPen dashed(ArcColour, 1.0, Qt::DashLine);
  drawPaths(painter, scene.FigureDashed(), dashed);
  drawPaths(painter, scene.FigureCircle(), QPen(FirstResult, 1.5));
  drawPaths(painter, scene.FigureGeodesic(), QPen(GeodesicColour, 1.5));
  drawPaths(painter, scene.FigureSolid(), QPen(ArcColour, 2.0));

  for (const ChartMarker& marker : scene.Markers()) {
    switch (marker.kind) {
      case ChartMarkerKind::Operand:
        painter.setPen(QPen(FixColour, 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(at(marker.at), 5.0, 5.0);
        break;
      case ChartMarkerKind::Result:
      case ChartMarkerKind::OtherResult:
        painter.setPen(QPen(Space, 1.0));
        painter.setBrush(marker.kind == ChartMarkerKind::Result ? FirstResult : OtherResult);
        painter.drawEllipse(at(marker.at), 4.5, 4.5);
        break;
    }
  }
  if (scene.Current()) {
    const QPointF c = at(*scene.Current());
    painter.setPen(QPen(CurrentColour, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(c, 8.0, 8.0);
    painter.drawLine(c + QPointF(-12, 0), c + QPointF(-9, 0));
    painter.drawLine(c + QPointF(9, 0), c + QPointF(12, 0));
    painter.drawLine(c + QPointF(0, -12), c + QPointF(0, -9));
    painter.drawLine(c + QPointF(0, 9), c + QPointF(0, 12));
  }

  painter.setFont(labelFont());
  for (const ChartLabel& label : scene.Labels()) {
    painter.setPen(label.figure ? FigureName : FixColour);
    painter.drawText(at(label.at), toQString(label.text));
  }
}

bool saveChartPicture(const QString& fileName, const ChartScene& scene) {
  const QSize size(static_cast<int>(scene.Projection().Width()),
                   static_cast<int>(scene.Projection().Height()));
  if (fileName.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    QSvgGenerator svg;
    svg.setFileName(fileName);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Navorix Chart"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    paintChart(painter, scene);
    return painter.end();
  }
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  paintChart(painter, scene);
  painter.end();
  return image.save(fileName, "PNG");
}

}  // namespace navorix
