#include "window/look/fonts.h"

#include <QFontMetrics>

namespace navorix {

namespace {

// Smaller than any font that still shows a readable capital.
constexpr int SmallestPixelSize = 6;

}  // namespace

bool IsFontSize(int PointSize) { return PointSize >= MinFontSize && PointSize <= MaxFontSize; }

QFont PropFont(int PointSize) {
  QFont font(QString::fromLatin1(PropFontFamily));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(PointSize);
  return font;
}

QFont MenuFont(int PointSize) {
  QFont font = PropFont(PointSize);
  font.setBold(false);
  font.setItalic(false);
  return font;
}

QFont FixedFontOfHeight(int Pixels, bool Bold, const char* Family) {
  QFont font(QString::fromLatin1(Family));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setBold(Bold);
  for (int size = Pixels; size > SmallestPixelSize; --size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).height() <= Pixels) return font;
  }
  font.setPixelSize(SmallestPixelSize);
  return font;
}

}  // namespace navorix
