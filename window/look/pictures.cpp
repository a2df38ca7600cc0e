#include "window/look/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

#include <array>
#include <cmath>

namespace navorix {

namespace {

const QColor RoseDark(24, 44, 96);
const QColor RoseLight(214, 224, 240);
const QColor RoseNorth(200, 30, 30);
const QColor RoseNorthLight(250, 150, 140);
const QColor RoseRing(24, 44, 96);
const QColor RoseFace(250, 246, 232);

// One point of the rose from centre toward the angle angle (radians,
// clockwise from north), length long and 2 x half wide at its foot; the left
// half dark, the right half light, so the rose looks lit from one side.
void paintRosePoint(QPainter& P, QPointF centre, double angle, double length, double half, const QColor& dark,
                    const QColor& light) {
  const QPointF tip(centre.x() + length * std::sin(angle), centre.y() - length * std::cos(angle));
  const double side = angle - M_PI / 2.0;
  const QPointF left(centre.x() + half * std::sin(side), centre.y() - half * std::cos(side));
  const QPointF right(2.0 * centre.x() - left.x(), 2.0 * centre.y() - left.y());
  P.setBrush(dark);
  P.drawPolygon(QPolygonF({centre, left, tip}));
  P.setBrush(light);
  P.drawPolygon(QPolygonF({centre, tip, right}));
}

}  // namespace

void paintCompassRose(QPainter& P, const QRectF& area) {
  P.save();
  P.setRenderHint(QPainter::Antialiasing, true);
  const double size = std::min(area.width(), area.height());
  const QPointF centre = area.center();
  const double radius = size / 2.0;
  const bool small = size < 24.0;

  // Face and ring.
  P.setPen(Qt::NoPen);
  P.setBrush(RoseFace);
  P.drawEllipse(centre, radius * 0.78, radius * 0.78);
  QPen ring(RoseRing);
  ring.setWidthF(std::max(1.0, size / 24.0));
  P.setPen(ring);
  P.setBrush(Qt::NoBrush);
  P.drawEllipse(centre, radius * 0.70, radius * 0.70);
  if (!small) {
    // Ticks every 30 degrees between the points.
    for (int k = 0; k < 12; ++k) {
      const double a = k * M_PI / 6.0;
      const double r0 = radius * 0.62;
      const double r1 = radius * 0.70;
      P.drawLine(QPointF(centre.x() + r0 * std::sin(a), centre.y() - r0 * std::cos(a)),
                 QPointF(centre.x() + r1 * std::sin(a), centre.y() - r1 * std::cos(a)));
    }
  }

  QPen edge(RoseDark);
  edge.setWidthF(small ? 0.0 : std::max(0.5, size / 96.0));
  P.setPen(small ? QPen(Qt::NoPen) : edge);
  // Diagonal points first, the cardinal ones over them.
  for (int k = 0; k < 4; ++k) {
    paintRosePoint(P, centre, M_PI / 4.0 + k * M_PI / 2.0, radius * 0.62, radius * 0.13, RoseDark, RoseLight);
  }
  for (int k = 0; k < 4; ++k) {
    const bool north = k == 0;
    paintRosePoint(P, centre, k * M_PI / 2.0, radius * 0.98, radius * 0.17, north ? RoseNorth : RoseDark,
                   north ? RoseNorthLight : RoseLight);
  }
  P.setBrush(RoseRing);
  P.setPen(Qt::NoPen);
  P.drawEllipse(centre, radius * 0.05 + 0.5, radius * 0.05 + 0.5);
  P.restore();
}

QPixmap compassRose(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  paintCompassRose(painter, QRectF(0, 0, size, size));
  return pixmap;
}

QIcon appIcon() {
  QIcon icon;
  for (const int size : AppIconSizes) icon.addPixmap(compassRose(size));
  return icon;
}

QPixmap errorIcon() {
  constexpr int Size = 32;
  QPixmap pixmap(Size, Size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(120, 0, 0), 1.5));
  p.setBrush(QColor(220, 20, 20));
  p.drawEllipse(QRectF(1.5, 1.5, Size - 3.0, Size - 3.0));
  QPen cross(Qt::white, 4.0);
  cross.setCapStyle(Qt::RoundCap);
  p.setPen(cross);
  p.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
  p.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
  return pixmap;
}

QPixmap triangleGlyph(bool up, int width, int height, const QColor& colour) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  const double cx = width / 2.0;
  const double cy = height / 2.0;
  // A triangle 8 wide and 4 high, as on the classic scroll buttons.
  const double half = 4.0;
  const double h = 4.0;
  const double apex = up ? cy - h / 2.0 : cy + h / 2.0;
  const double base = up ? cy + h / 2.0 : cy - h / 2.0;
  p.drawPolygon(QPolygonF({QPointF(cx - half, base), QPointF(cx + half, base), QPointF(cx, apex)}));
  return pixmap;
}

QPixmap checkMarkBitmap() {
  // Seven columns of a two-pixel thick tick, the classic 7 x 7 menu check.
  static constexpr std::array<std::array<int, 2>, 7> Columns = {
      {{2, 4}, {3, 5}, {4, 6}, {3, 5}, {2, 4}, {1, 3}, {0, 2}}};
  constexpr int Size = 7;
  QPixmap pixmap(Size, Size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  for (int x = 0; x < Size; ++x) {
    const auto& column = Columns[static_cast<std::size_t>(x)];
    p.drawLine(x, column[0], x, column[1]);
  }
  return pixmap;
}

}  // namespace navorix
