#include "window/look/fonts.h"

#include <QFontMetrics>

namespace navorix {

namespace {

// Smaller than any font that still shows a readable capital.
constexpr int SmallestPixelSize = 6;

}  // namespace

bool isFontSize(int pointSize) { return pointSize >= MinFontSize && pointSize <= MaxFontSize; }

QFont propFont(int pointSize) {
  QFont font(QString::fromLatin1(PropFontFamily));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(pointSize);
  return font;
}

QFont menuFont(int pointSize) {
  QFont font = propFont(pointSize);
  font.setBold(false);
  font.setItalic(false);
  return font;
}

QFont fixedFontOfHeight(int pixels, bool bold, const char* family) {
  QFont font(QString::fromLatin1(family));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setBold(bold);
  for (int size = pixels; size > SmallestPixelSize; --size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).height() <= pixels) return font;
  }
  font.setPixelSize(SmallestPixelSize);
  return font;
}

}  // namespace navorix
