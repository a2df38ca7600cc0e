#include "window/main/fix_list_model.h"

#include "window/look/qt_text.h"
#include "workbench/workbench.h"

namespace navorix {

TFixListModel::TFixListModel(const TWorkbench& Bench, QObject* Parent)
    : QAbstractListModel(Parent), bench_(Bench), rows_(Bench.RowCount()) {}

int TFixListModel::rowCount(const QModelIndex& Parent) const { return Parent.isValid() ? 0 : rows_; }

QVariant TFixListModel::data(const QModelIndex& Index, int Role) const {
  if (Role != Qt::DisplayRole || !Index.isValid() || Index.row() >= rows_) return {};
  return ToQString(bench_.RowText(Index.row()));
}

void TFixListModel::RowsReset() {
  beginResetModel();
  rows_ = bench_.RowCount();
  endResetModel();
}

void TFixListModel::RowInserted(int Row) {
  beginInsertRows(QModelIndex(), Row, Row);
  ++rows_;
  endInsertRows();
}

void TFixListModel::RowRemoved(int Row) {
  beginRemoveRows(QModelIndex(), Row, Row);
  --rows_;
  endRemoveRows();
}

void TFixListModel::RowChanged(int Row) { emit dataChanged(index(Row), index(Row)); }

void TFixListModel::RowsSwapped(int Row) { emit dataChanged(index(Row), index(Row + 1)); }

void TFixListModel::CurrentRowChanged(int Row) { emit CurrentRowMoved(Row); }

}  // namespace navorix
