// Draws the rows of the fix list: a fixed 16-pixel row, the text in the
// list's font and colours, capitals and digits centred in the row; the
// hint of the list is shown where a row has none of its own.
#pragma once

#include <QStyledItemDelegate>

namespace navorix {

class FixRowDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static constexpr int RowHeight = 16;
  static constexpr int TextLeft = 2;

  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;
};

}  // namespace navorix
