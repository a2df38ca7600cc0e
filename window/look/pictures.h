// The program's own pictures, drawn in code: the compass rose of the
// application icon and the about box, the error box icon, the triangle
// glyphs of the step buttons and the check mark of the menus.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

class QPainter;
class QRectF;

namespace navorix {

// A compass rose filling area (a square works best): eight points, the
// north point red, in a ring.
void paintCompassRose(QPainter& painter, const QRectF& area);
QPixmap compassRose(int size);
// The application icon in the usual sizes (16 to 256 pixels).
QIcon appIcon();
inline constexpr int AppIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// 32 x 32: a red disc with a white cross.
QPixmap errorIcon();

// A filled triangle pointing up or down, centred in width x height.
QPixmap triangleGlyph(bool up, int width, int height, const QColor& colour = Qt::black);

// The check mark of checked menu items: a black tick on transparent
// ground; the menu style draws its shape in the item's text colour.
QPixmap checkMarkBitmap();

}  // namespace navorix
