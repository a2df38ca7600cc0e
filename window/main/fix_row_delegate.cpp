#include "window/main/fix_row_delegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace navorix {

QSize FixRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& /*Index*/) const {
  return {option.rect.width(), RowHeight};
}

void FixRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
  const bool selected = (option.state & QStyle::State_Selected) != 0;
  const QPalette& pal = option.palette;
  painter->save();
  painter->setClipRect(option.rect);
  painter->fillRect(option.rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
  painter->setFont(option.font);
  painter->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
  // The font is taller than the row: the band of the capitals is centred,
  // so names and coordinates show whole and rows do not overlap.
  const QFontMetrics fm(option.font);
  const int cap = fm.capHeight();
  const int baseline = option.rect.top() + (option.rect.height() + cap) / 2;
  painter->drawText(QPoint(option.rect.left() + TextLeft, baseline), index.data(Qt::DisplayRole).toString());
  painter->restore();
}

bool FixRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                               const QModelIndex& index) {
  if (event->type() == QEvent::ToolTip && view != nullptr &&
      (!index.isValid() || index.data(Qt::ToolTipRole).isNull())) {
    if (view->toolTip().isEmpty()) return false;
    QToolTip::showText(event->globalPos(), view->toolTip(), view);
    return true;
  }
  return QStyledItemDelegate::helpEvent(event, view, option, index);
}

}  // namespace navorix
