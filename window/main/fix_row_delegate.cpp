#include "window/main/fix_row_delegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace navorix {

QSize TFixRowDelegate::sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& /*Index*/) const {
  return {Option.rect.width(), RowHeight};
}

void TFixRowDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                            const QModelIndex& Index) const {
  const bool selected = (Option.state & QStyle::State_Selected) != 0;
  const QPalette& pal = Option.palette;
  Painter->save();
  Painter->setClipRect(Option.rect);
  Painter->fillRect(Option.rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
  Painter->setFont(Option.font);
  Painter->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
  // The font is taller than the row: the band of the capitals is centred,
  // so names and coordinates show whole and rows do not overlap.
  const QFontMetrics fm(Option.font);
  const int cap = fm.capHeight();
  const int baseline = Option.rect.top() + (Option.rect.height() + cap) / 2;
  Painter->drawText(QPoint(Option.rect.left() + TextLeft, baseline), Index.data(Qt::DisplayRole).toString());
  Painter->restore();
}

bool TFixRowDelegate::helpEvent(QHelpEvent* Event, QAbstractItemView* View,
                                const QStyleOptionViewItem& Option, const QModelIndex& Index) {
  if (Event->type() == QEvent::ToolTip && View != nullptr &&
      (!Index.isValid() || Index.data(Qt::ToolTipRole).isNull())) {
    if (View->toolTip().isEmpty()) return false;
    QToolTip::showText(Event->globalPos(), View->toolTip(), View);
    return true;
  }
  return QStyledItemDelegate::helpEvent(Event, View, Option, Index);
}

}  // namespace navorix
