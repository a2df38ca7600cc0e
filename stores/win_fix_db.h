// The program's fix database bound to the main window's fix list: each
// operation does the TFixDB work first and then brings the rows, the fix
// counter and the fix buttons into step.
//
// Notation:
//   r   current row: the list's selected row, 0-based
//   n   number of rows, Count + 1 (the blank row last)
//   current fix   the fix at r + 1; none when the blank row is current
#pragma once

#include <cstdint>
#include <string>

#include "stores/fix_db.h"
#include "stores/fix_list_view.h"

namespace navorix {

// While off, Add and Replace of TWinFixDB change the database but not the
// rows; loading and the re-expression of all positions switch it off and
// rebuild or keep the rows themselves. On at start.
extern bool ListUpdates;

// Switches ListUpdates off for its lifetime and on again at its end, also
// when a failure leaves the scope.
class TListUpdatesOff {
 public:
  TListUpdatesOff() { ListUpdates = false; }
  ~TListUpdatesOff() { ListUpdates = true; }
  TListUpdatesOff(const TListUpdatesOff&) = delete;
  TListUpdatesOff& operator=(const TListUpdatesOff&) = delete;
};

class TWinFixDB : public TFixDB {
 public:
  // The view is expected to hold just the blank row.
  explicit TWinFixDB(TFixListView& View) : view_(View) {}

  // Also resets the rows to the blank row, selects it, focuses the list and
  // empties DeletedFix.
  void Clear() override;
  // Loads without row updates; a failure to open is shown in the error box,
  // put in Report and gives false. The rows are rebuilt with the first row
  // selected.
  bool LoadFromFile(const std::string& FileName, TLoadReport& Report) override;
  using TFixDB::LoadFromFile;
  // Only for a fix (not the blank row): keeps the fix in DeletedFix, then
  // deletes it and selects the row that followed.
  void Delete(std::uint16_t Pos) override;
  void Add(const FixRecord& Fix) override;
  void Insert(const FixRecord& Fix, std::uint16_t Pos) override;
  void Replace(const FixRecord& Fix, std::uint16_t Pos) override;
  bool MoveUp(std::uint16_t Pos) override;
  bool MoveDown(std::uint16_t Pos) override;

  // "N = " and Count.
  void ShowFixCount();
  // Enables the fix buttons from the current row.
  void UpdateFixButtons();
  // Rebuilds every row; Row 0 keeps the current row number. Selects row
  // Row - 1, or row 0 when Row is beyond Count.
  void RebuildFixList(int Row);

  // The current row, with a selection outside the rows taken as the blank
  // row; and the position of the current fix, 0 on the blank row.
  int CurrentRow() const;
  std::uint16_t CurrentPos() const;

  // Undelete: puts DeletedFix back above the current row (at the end from
  // the blank row) and empties it. A full database raises Error
  // msg::FixDBFull and DeletedFix is kept.
  void Undelete();
  // The Sort menu: nothing with fewer than two fixes, and nothing for the
  // distance order while the blank row is current (there is no fix to
  // measure from). Otherwise the current fix becomes the sort reference,
  // the fixes are sorted and the first row is selected.
  void SortFixes(int Order);
  // After "&Elliptic Latitude" was switched: re-expresses every position
  // (RebuildPos) so that its displayed latitude and longitude stay; the rows
  // are not redrawn since their text does not change.
  void RebuildAllPositions();

 private:
  TFixListView& view_;
};

}  // namespace navorix
