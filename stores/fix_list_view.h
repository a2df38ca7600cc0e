// What the window-bound fix database needs of the main window: the list of
// fix rows with its selected row, the fix counter, the fix buttons and the
// error box. The main window implements it; tests use a fake.
//
// Rows are 0-based; row r shows fix r + 1, and the last row is always the
// blank row that stands for the place after the last fix.
#pragma once

#include <string>
#include <vector>

namespace navorix {

// Enabled states of the fix buttons.
struct TFixButtons {
  bool Up = false;        // xUp, move up
  bool Down = false;      // xDown, move down
  bool Delete = false;    // xDelete
  bool Edit = false;      // xEdit
  bool Undelete = false;  // xUndel
  friend bool operator==(const TFixButtons&, const TFixButtons&) = default;
};

class TFixListView {
 public:
  virtual ~TFixListView() = default;
  // Replaces every row by Rows (the blank row is their last element).
  virtual void SetRows(std::vector<std::string> Rows) = 0;
  virtual void InsertRow(int Row, const std::string& Text) = 0;
  virtual void DeleteRow(int Row) = 0;
  virtual void SetRow(int Row, const std::string& Text) = 0;
  // Takes the row at From out and puts it back at To.
  virtual void MoveRow(int From, int To) = 0;
  virtual void SelectRow(int Row) = 0;
  // The selected row; any value outside the rows is taken as the blank row.
  virtual int SelectedRow() const = 0;
  // The counter panel (xNoFix).
  virtual void SetCounterText(const std::string& Text) = 0;
  virtual void EnableFixButtons(const TFixButtons& Buttons) = 0;
  virtual void FocusFixList() = 0;
  // Shows a failure in the error box.
  virtual void ShowError(const std::string& Message) = 0;
};

}  // namespace navorix
