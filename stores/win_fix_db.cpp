#include "stores/win_fix_db.h"

#include <exception>
#include <utility>
#include <vector>

#include "geometry/earth_model.h"
#include "geometry/error.h"
#include "text/format.h"

namespace navorix {

bool ListUpdates = true;

int TWinFixDB::CurrentRow() const {
  const int row = view_.SelectedRow();
  return row < 0 || row > Count() ? static_cast<int>(Count()) : row;
}

std::uint16_t TWinFixDB::CurrentPos() const {
  const int row = CurrentRow();
  return row < Count() ? static_cast<std::uint16_t>(row + 1) : 0;
}

void TWinFixDB::ShowFixCount() { view_.SetCounterText("N = " + std::to_string(Count())); }

void TWinFixDB::UpdateFixButtons() {
  const int r = CurrentRow();
  const int n = Count() + 1;
  TFixButtons buttons;
  buttons.Up = r != 0 && r + 1 != n;
  buttons.Down = r + 2 != n && r + 1 != n;
  buttons.Delete = r + 1 != n;
  buttons.Edit = r + 1 != n;
  buttons.Undelete = DeletedFix.Valid;
  view_.EnableFixButtons(buttons);
}

void TWinFixDB::RebuildFixList(int Row) {
  if (Row == 0) Row = CurrentRow() + 1;
  std::vector<std::string> rows;
  rows.reserve(Count() + 1u);
  for (std::uint16_t pos = 1; pos <= Count() && pos != 0; ++pos) rows.push_back(FixText(Get(pos)));
  rows.emplace_back();
  view_.SetRows(std::move(rows));
  view_.SelectRow(Count() < Row ? 0 : Row - 1);
  ShowFixCount();
  UpdateFixButtons();
}

void TWinFixDB::Clear() {
  TFixDB::Clear();
  view_.SetRows({std::string()});
  view_.SelectRow(0);
  ShowFixCount();
  view_.FocusFixList();
  DeletedFix = FixRecord{};
  UpdateFixButtons();
}

bool TWinFixDB::LoadFromFile(const std::string& FileName, TLoadReport& Report) {
  bool result = false;
  {
    TListUpdatesOff off;
    try {
      result = TFixDB::LoadFromFile(FileName, Report);
    } catch (const std::exception& failure) {
      view_.ShowError(failure.what());
      Report = TLoadReport{};
      Report.Failure = failure.what();
      result = false;
    }
  }
  RebuildFixList(1);
  return result;
}

void TWinFixDB::Delete(std::uint16_t Pos) {
  if (Pos < 1 || Pos > Count()) return;
  DeletedFix = Get(Pos);
  TFixDB::Delete(Pos);
  view_.DeleteRow(Pos - 1);
  view_.SelectRow(Pos - 1);
  ShowFixCount();
  UpdateFixButtons();
}

void TWinFixDB::Add(const FixRecord& Fix) {
  TFixDB::Add(Fix);
  if (!ListUpdates) return;
  const int row = Count() - 1;
  view_.InsertRow(row, FixText(Fix));
  view_.SelectRow(row);
  ShowFixCount();
  UpdateFixButtons();
}

void TWinFixDB::Insert(const FixRecord& Fix, std::uint16_t Pos) {
  // The row follows the database's reading of an out-of-range position.
  const int row = Pos < 1 ? 0 : (Pos > Count() ? Count() : Pos - 1);
  TFixDB::Insert(Fix, Pos);
  view_.InsertRow(row, FixText(Fix));
  view_.SelectRow(row);
  ShowFixCount();
  UpdateFixButtons();
}

void TWinFixDB::Replace(const FixRecord& Fix, std::uint16_t Pos) {
  if (Pos < 1 || Pos > Count()) return;
  TFixDB::Replace(Fix, Pos);
  if (!ListUpdates) return;
  view_.SetRow(Pos - 1, FixText(Fix));
  view_.SelectRow(Pos - 1);
}

bool TWinFixDB::MoveUp(std::uint16_t Pos) {
  if (!TFixDB::MoveUp(Pos)) return false;
  view_.MoveRow(Pos - 1, Pos - 2);
  view_.SelectRow(Pos - 2);
  UpdateFixButtons();
  return true;
}

bool TWinFixDB::MoveDown(std::uint16_t Pos) {
  if (!TFixDB::MoveDown(Pos)) return false;
  view_.MoveRow(Pos - 1, Pos);
  view_.SelectRow(Pos);
  UpdateFixButtons();
  return true;
}

void TWinFixDB::Undelete() {
  if (!DeletedFix.Valid) return;
  const FixRecord fix = DeletedFix;
  if (Count() == MaxFixes) throw Error(msg::FixDBFull);
  Insert(fix, static_cast<std::uint16_t>(CurrentRow() + 1));
  DeletedFix = FixRecord{};
  UpdateFixButtons();
}

void TWinFixDB::SortFixes(int Order) {
  if (Count() < 2) return;
  const std::uint16_t current = CurrentPos();
  if (current == 0 && Order == ByDistance) return;
  if (current != 0) SortReference = Get(current).Position;
  Sort(Order);
  RebuildFixList(1);
}

void TWinFixDB::RebuildAllPositions() {
  TListUpdatesOff off;
  for (std::uint16_t pos = 1; pos <= Count() && pos != 0; ++pos) {
    FixRecord fix = Get(pos);
    if (fix.Valid) RebuildPos(fix.Position);
    Replace(fix, pos);
  }
}

}  // namespace navorix
