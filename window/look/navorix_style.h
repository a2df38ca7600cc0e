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

class TNavorixStyle : public QProxyStyle {
  Q_OBJECT

 public:
  static constexpr int FirstHintDelayMs = 500;
  static constexpr int NextHintDelayMs = 200;

  // BaseStyle: a name QStyleFactory knows ("Windows", "Fusion"); the
  // default is the classic one, whose bevels match the sunken panels.
  explicit TNavorixStyle(const QString& BaseStyle = QStringLiteral("Windows"));

  // The bitmap drawn beside checked items.
  void SetCheckMark(const QPixmap& Bitmap) { check_mark_ = Bitmap; }

  QSize sizeFromContents(ContentsType Type, const QStyleOption* Option, const QSize& Size,
                         const QWidget* Widget) const override;
  void drawControl(ControlElement Element, const QStyleOption* Option, QPainter* Painter,
                   const QWidget* Widget) const override;
  void drawPrimitive(PrimitiveElement Element, const QStyleOption* Option, QPainter* Painter,
                     const QWidget* Widget) const override;
  int pixelMetric(PixelMetric Metric, const QStyleOption* Option,
                  const QWidget* Widget) const override;
  int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                QStyleHintReturn* Return) const override;

 private:
  void DrawMenuItem(const QStyleOption* Option, QPainter* Painter, bool InBar) const;
  void DrawSeparator(const QStyleOption* Option, QPainter* Painter) const;

  QPixmap check_mark_;
};

}  // namespace navorix
