// The rows of the fix list as a Qt model over the workbench: the view asks
// for the rows it draws, so a list of 65535 fixes costs only its visible
// rows, and the workbench tells the model which rows changed.
#pragma once

#include <QAbstractListModel>

#include "workbench/observers.h"

namespace navorix {

class Workbench;

class FixListModel : public QAbstractListModel, public FixListObserver {
  Q_OBJECT

 public:
  explicit FixListModel(const Workbench& bench, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // FixListObserver.
  void RowsReset() override;
  void RowInserted(int row) override;
  void RowRemoved(int row) override;
  void RowChanged(int row) override;
  void RowsSwapped(int row) override;
  void CurrentRowChanged(int row) override;

 signals:
  // The workbench made row the current row; the view selects it.
  void currentRowMoved(int row);

 private:
  const Workbench& bench_;
  // The number of rows the views know of; it changes only between the
  // begin and end calls of each change, as Qt requires.
  int rows_;
};

}  // namespace navorix
