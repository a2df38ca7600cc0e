// The rows of the fix list as a Qt model over the workbench: the view asks
// for the rows it draws, so a list of 65535 fixes costs only its visible
// rows, and the workbench tells the model which rows changed.
#pragma once

#include <QAbstractListModel>

#include "workbench/observers.h"

namespace navorix {

class TWorkbench;

class TFixListModel : public QAbstractListModel, public TFixListObserver {
  Q_OBJECT

 public:
  explicit TFixListModel(const TWorkbench& Bench, QObject* Parent = nullptr);

  int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;

  // TFixListObserver.
  void RowsReset() override;
  void RowInserted(int Row) override;
  void RowRemoved(int Row) override;
  void RowChanged(int Row) override;
  void RowsSwapped(int Row) override;
  void CurrentRowChanged(int Row) override;

 signals:
  // The workbench made Row the current row; the view selects it.
  void CurrentRowMoved(int Row);

 private:
  const TWorkbench& bench_;
  // The number of rows the views know of; it changes only between the
  // begin and end calls of each change, as Qt requires.
  int rows_;
};

}  // namespace navorix
