#include "window/main/fix_list_model.h"

#include "window/look/qt_text.h"
#include "workbench/workbench.h"

namespace navorix {

FixListModel::FixListModel(const Workbench& bench, QObject* parent)
    : QAbstractListModel(parent), bench_(bench), rows_(bench.RowCount()) {}

int FixListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant FixListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_) return {};
  return toQString(bench_.RowText(index.row()));
}

void FixListModel::RowsReset() {
  beginResetModel();
  rows_ = bench_.RowCount();
  endResetModel();
}

void FixListModel::RowInserted(int row) {
  beginInsertRows(QModelIndex(), row, row);
  ++rows_;
  endInsertRows();
}

void FixListModel::RowRemoved(int row) {
  beginRemoveRows(QModelIndex(), row, row);
  --rows_;
  endRemoveRows();
}

void FixListModel::RowChanged(int row) { emit dataChanged(index(row), index(row)); }

void FixListModel::RowsSwapped(int row) { emit dataChanged(index(row), index(row + 1)); }

void FixListModel::CurrentRowChanged(int row) { emit currentRowMoved(row); }

}  // namespace navorix
