// The application style: a classic base style with the program's own menu
// painting and hint timing.
//
// Menus: every item is measured and painted as menu_metrics.h gives it;
// the menu bar in button-face colours, drop-downs in the menu colours,
// selected items in the highlight colours, disabled captions grey, checked
// items with the check-mark bitmap, the accelerator letter always
// underlined.
//
// Hints: the first hint appears after FirstHintDelayMs; while a hint is
// showing, the hint of the next control follows after NextHintDelayMs.
#pragma once

#include <QPixmap>
#include <QProxyStyle>

namespace navorix {

class NavorixStyle : public QProxyStyle {
  Q_OBJECT

 public:
  static constexpr int FirstHintDelayMs = 500;
  static constexpr int NextHintDelayMs = 200;

  // baseStyle: a name QStyleFactory knows ("Windows", "Fusion"); the
  // default is the classic one, whose bevels match the sunken panels.
  explicit NavorixStyle(const QString& baseStyle = QStringLiteral("Windows"));

  // The bitmap drawn beside checked items.
  void setCheckMark(const QPixmap& bitmap) { checkMark_ = bitmap; }

  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* result) const override;

 private:
  void drawMenuItem(const QStyleOption* option, QPainter* painter, bool inBar) const;
  void drawSeparator(const QStyleOption* option, QPainter* painter) const;

  QPixmap checkMark_;
};

}  // namespace navorix
