#include "window/look/navorix_style.h"

#include "window/main/menu_metrics.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QToolTip>

namespace navorix {

namespace {

// The caption of a menu item without a trailing tab part.
QString CaptionOf(const QStyleOptionMenuItem& Item) {
  const qsizetype tab = Item.text.indexOf(QLatin1Char('\t'));
  return tab < 0 ? Item.text : Item.text.left(tab);
}

QSize CaptionSize(const QStyleOptionMenuItem& Item) {
  return Item.fontMetrics.size(Qt::TextShowMnemonic | Qt::TextSingleLine, CaptionOf(Item));
}

QPixmap Tinted(const QPixmap& Bitmap, const QColor& Colour) {
  QPixmap out(Bitmap.size());
  out.fill(Qt::transparent);
  QPainter p(&out);
  p.drawPixmap(0, 0, Bitmap);
  p.setCompositionMode(QPainter::CompositionMode_SourceIn);
  p.fillRect(out.rect(), Colour);
  return out;
}

}  // namespace

TNavorixStyle::TNavorixStyle(const QString& BaseStyle) : QProxyStyle(QStyleFactory::create(BaseStyle)) {}

QSize TNavorixStyle::sizeFromContents(ContentsType Type, const QStyleOption* Option, const QSize& Size,
                                      const QWidget* Widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(Option);
  if (item != nullptr && Type == CT_MenuItem) {
    if (item->menuItemType == QStyleOptionMenuItem::Separator) return {Size.width(), MenuSeparatorHeight};
    const QSize text = CaptionSize(*item);
    const bool submenu = item->menuItemType == QStyleOptionMenuItem::SubMenu;
    const TMenuItemSize shown = ShownMenuItem(text.width(), text.height(), submenu);
    return {shown.Width, shown.Height};
  }
  if (item != nullptr && Type == CT_MenuBarItem) {
    const QSize text = CaptionSize(*item);
    const TMenuItemSize shown = ShownMenuItem(text.width(), text.height(), false);
    return {shown.Width, shown.Height};
  }
  return QProxyStyle::sizeFromContents(Type, Option, Size, Widget);
}

void TNavorixStyle::DrawSeparator(const QStyleOption* Option, QPainter* Painter) const {
  const QRect r = Option->rect;
  Painter->fillRect(r, Option->palette.color(QPalette::Window));
  const int y = r.top() + r.height() / 2 - 1;
  Painter->setPen(Option->palette.color(QPalette::Mid));
  Painter->drawLine(r.left() + 1, y, r.right() - 1, y);
  Painter->setPen(Option->palette.color(QPalette::Light));
  Painter->drawLine(r.left() + 1, y + 1, r.right() - 1, y + 1);
}

void TNavorixStyle::DrawMenuItem(const QStyleOption* Option, QPainter* Painter, bool InBar) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(Option);
  if (item == nullptr) return;
  if (!InBar && item->menuItemType == QStyleOptionMenuItem::Separator) {
    DrawSeparator(Option, Painter);
    return;
  }
  const QRect r = item->rect;
  const QPalette& pal = item->palette;
  const bool selected = (item->state & State_Selected) != 0;
  const bool enabled = (item->state & State_Enabled) != 0;
  QColor ground = pal.color(InBar ? QPalette::Button : QPalette::Window);
  QColor ink = pal.color(InBar ? QPalette::ButtonText : QPalette::WindowText);
  if (selected) {
    ground = pal.color(QPalette::Highlight);
    ink = pal.color(QPalette::HighlightedText);
  }
  if (!enabled) ink = pal.color(QPalette::Disabled, QPalette::WindowText);

  Painter->save();
  Painter->fillRect(r, ground);
  if (item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked && !check_mark_.isNull()) {
    const QPixmap mark = Tinted(check_mark_, ink);
    Painter->drawPixmap(r.left() + CheckMarkLeft, r.top() + CheckMarkTop(r.height(), mark.height()), mark);
  }
  Painter->setFont(item->font);
  Painter->setPen(ink);
  const QRect text(r.left() + CaptionLeft, r.top() + CaptionTop, r.width() - CaptionLeft,
                   r.height() - CaptionTop);
  Painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine,
                    CaptionOf(*item));
  if (!InBar && item->menuItemType == QStyleOptionMenuItem::SubMenu) {
    QStyleOption arrow(*Option);
    arrow.rect = QRect(r.right() + 1 - SubmenuArrowWidth, r.top(), SubmenuArrowWidth, r.height());
    arrow.palette.setColor(QPalette::ButtonText, ink);
    arrow.palette.setColor(QPalette::WindowText, ink);
    arrow.state = enabled ? State_Enabled : State_None;
    proxy()->drawPrimitive(PE_IndicatorArrowRight, &arrow, Painter, nullptr);
  }
  Painter->restore();
}

void TNavorixStyle::drawControl(ControlElement Element, const QStyleOption* Option, QPainter* Painter,
                                const QWidget* Widget) const {
  switch (Element) {
    case CE_MenuItem:
      DrawMenuItem(Option, Painter, false);
      return;
    case CE_MenuBarItem:
      DrawMenuItem(Option, Painter, true);
      return;
    case CE_MenuBarEmptyArea:
      Painter->fillRect(Option->rect, Option->palette.color(QPalette::Button));
      return;
    case CE_MenuEmptyArea:
      Painter->fillRect(Option->rect, Option->palette.color(QPalette::Window));
      return;
    default:
      QProxyStyle::drawControl(Element, Option, Painter, Widget);
  }
}

void TNavorixStyle::drawPrimitive(PrimitiveElement Element, const QStyleOption* Option,
                                  QPainter* Painter, const QWidget* Widget) const {
  if (Element == PE_PanelMenuBar) {
    Painter->fillRect(Option->rect, Option->palette.color(QPalette::Button));
    return;
  }
  QProxyStyle::drawPrimitive(Element, Option, Painter, Widget);
}

int TNavorixStyle::pixelMetric(PixelMetric Metric, const QStyleOption* Option,
                               const QWidget* Widget) const {
  switch (Metric) {
    case PM_MenuBarItemSpacing:
    case PM_MenuBarHMargin:
    case PM_MenuBarVMargin:
    case PM_MenuBarPanelWidth:
    case PM_MenuHMargin:
    case PM_MenuVMargin:
      return 0;
    default:
      return QProxyStyle::pixelMetric(Metric, Option, Widget);
  }
}

int TNavorixStyle::styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                             QStyleHintReturn* Return) const {
  switch (Hint) {
    case SH_ToolTip_WakeUpDelay:
      return QToolTip::isVisible() ? NextHintDelayMs : FirstHintDelayMs;
    case SH_ToolTip_FallAsleepDelay:
      // The wake-up delay above decides alone; Qt's own 20 ms follow-up
      // window would otherwise take over.
      return 0;
    case SH_UnderlineShortcut:
    case SH_MenuBar_AltKeyNavigation:
      return 1;
    default:
      return QProxyStyle::styleHint(Hint, Option, Widget, Return);
  }
}

}  // namespace navorix
