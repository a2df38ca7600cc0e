#include "window/look/navorix_style.h"

#include "window/main/menu_metrics.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QToolTip>

namespace navorix {

namespace {

// The caption of a menu item without a trailing tab part.
QString captionOf(const QStyleOptionMenuItem& item) {
  const qsizetype tab = item.text.indexOf(QLatin1Char('\t'));
  return tab < 0 ? item.text : item.text.left(tab);
}

QSize captionSize(const QStyleOptionMenuItem& item) {
  return item.fontMetrics.size(Qt::TextShowMnemonic | Qt::TextSingleLine, captionOf(item));
}

QPixmap tinted(const QPixmap& bitmap, const QColor& colour) {
  QPixmap out(bitmap.size());
  out.fill(Qt::transparent);
  QPainter p(&out);
  p.drawPixmap(0, 0, bitmap);
  p.setCompositionMode(QPainter::CompositionMode_SourceIn);
  p.fillRect(out.rect(), colour);
  return out;
}

}  // namespace

NavorixStyle::NavorixStyle(const QString& baseStyle) : QProxyStyle(QStyleFactory::create(baseStyle)) {}

QSize NavorixStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                     const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (item != nullptr && type == CT_MenuItem) {
    if (item->menuItemType == QStyleOptionMenuItem::Separator) return {size.width(), MenuSeparatorHeight};
    const QSize text = captionSize(*item);
    const bool submenu = item->menuItemType == QStyleOptionMenuItem::SubMenu;
    const MenuItemSize shown = shownMenuItem(text.width(), text.height(), submenu);
    return {shown.width, shown.height};
  }
  if (item != nullptr && type == CT_MenuBarItem) {
    const QSize text = captionSize(*item);
    const MenuItemSize shown = shownMenuItem(text.width(), text.height(), false);
    return {shown.width, shown.height};
  }
  return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void NavorixStyle::drawSeparator(const QStyleOption* option, QPainter* painter) const {
  const QRect r = option->rect;
  painter->fillRect(r, option->palette.color(QPalette::Window));
  const int y = r.top() + r.height() / 2 - 1;
  painter->setPen(option->palette.color(QPalette::Mid));
  painter->drawLine(r.left() + 1, y, r.right() - 1, y);
  painter->setPen(option->palette.color(QPalette::Light));
  painter->drawLine(r.left() + 1, y + 1, r.right() - 1, y + 1);
}

void NavorixStyle::drawMenuItem(const QStyleOption* option, QPainter* painter, bool inBar) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (item == nullptr) return;
  if (!inBar && item->menuItemType == QStyleOptionMenuItem::Separator) {
    drawSeparator(option, painter);
    return;
  }
  const QRect r = item->rect;
  const QPalette& pal = item->palette;
  const bool selected = (item->state & State_Selected) != 0;
  const bool enabled = (item->state & State_Enabled) != 0;
  QColor ground = pal.color(inBar ? QPalette::Button : QPalette::Window);
  QColor ink = pal.color(inBar ? QPalette::ButtonText : QPalette::WindowText);
  if (selected) {
    ground = pal.color(QPalette::Highlight);
    ink = pal.color(QPalette::HighlightedText);
  }
  if (!enabled) ink = pal.color(QPalette::Disabled, QPalette::WindowText);

  painter->save();
  painter->fillRect(r, ground);
  if (item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked && !checkMark_.isNull()) {
    const QPixmap mark = tinted(checkMark_, ink);
    painter->drawPixmap(r.left() + CheckMarkLeft, r.top() + checkMarkTop(r.height(), mark.height()), mark);
  }
  painter->setFont(item->font);
  painter->setPen(ink);
  const QRect text(r.left() + CaptionLeft, r.top() + CaptionTop, r.width() - CaptionLeft,
                   r.height() - CaptionTop);
  painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine,
                    captionOf(*item));
  if (!inBar && item->menuItemType == QStyleOptionMenuItem::SubMenu) {
    QStyleOption arrow(*option);
    arrow.rect = QRect(r.right() + 1 - SubmenuArrowWidth, r.top(), SubmenuArrowWidth, r.height());
    arrow.palette.setColor(QPalette::ButtonText, ink);
    arrow.palette.setColor(QPalette::WindowText, ink);
    arrow.state = enabled ? State_Enabled : State_None;
    proxy()->drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, nullptr);
  }
  painter->restore();
}

void NavorixStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
  switch (element) {
    case CE_MenuItem:
      drawMenuItem(option, painter, false);
      return;
    case CE_MenuBarItem:
      drawMenuItem(option, painter, true);
      return;
    case CE_MenuBarEmptyArea:
      painter->fillRect(option->rect, option->palette.color(QPalette::Button));
      return;
    case CE_MenuEmptyArea:
      painter->fillRect(option->rect, option->palette.color(QPalette::Window));
      return;
    default:
      QProxyStyle::drawControl(element, option, painter, widget);
  }
}

void NavorixStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
  if (element == PE_PanelMenuBar) {
    painter->fillRect(option->rect, option->palette.color(QPalette::Button));
    return;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int NavorixStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  switch (metric) {
    case PM_MenuBarItemSpacing:
    case PM_MenuBarHMargin:
    case PM_MenuBarVMargin:
    case PM_MenuBarPanelWidth:
    case PM_MenuHMargin:
    case PM_MenuVMargin:
      return 0;
    default:
      return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

int NavorixStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* result) const {
  switch (hint) {
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
      return QProxyStyle::styleHint(hint, option, widget, result);
  }
}

}  // namespace navorix
