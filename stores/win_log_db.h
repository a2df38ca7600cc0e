// The program's operation log bound to the main window's log display: each
// operation does the TLogList work and then shows the right record.
//
// Notation:
//   Current   the record shown, 0 when none; after Add and LoadFromFile it
//             is Count
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "stores/log_list.h"
#include "stores/log_view.h"

namespace navorix {

class TWinLogDB : public TLogList {
 public:
  explicit TWinLogDB(TLogView& View) : view_(View) {}

  std::uint16_t Current() const { return current_; }

  // These hide the TLogList operations of the same name.
  // Appends the record and shows it.
  void Add(std::string_view Line1, std::string_view Line2, std::string_view Line3);
  // Loads the history file and shows the last record (also when reading
  // failed half-way; the failure is raised afterwards).
  void LoadFromFile(const std::string& FileName);
  // The same with the report of TLogList::LoadFromFile (a read failure is
  // reported there, not raised).
  void LoadFromFile(const std::string& FileName, TLoadReport& Report);
  // Empties the log and the display and disables "&Next Fix", which ends
  // the accumulated-distance chain.
  void Clear();
  // Removes record N and shows the record that followed it, or the new
  // last record, or nothing when the log became empty.
  void Delete(std::uint16_t N);

  // Shows record N (0: nothing) and sets Current to it; N beyond Count is
  // taken as Count.
  void ShowLogRecord(std::uint16_t N);
  // xLineUp is enabled when Current > 1, xLineDown when Current < Count.
  void UpdateLogButtons();

  // The entry point of the executors: plays the done sound, reduces the
  // blanks of each line (SquashBlanks, letters kept), appends the record
  // and shows it.
  void LogResult(std::string_view Line1, std::string_view Line2, std::string_view Line3);

  // The step buttons and the Left and Right keys: the fix list gets the
  // focus, then the previous or next record is shown when there is one.
  void ShowPrevious();
  void ShowNext();
  // "&Delete Log Line" and Backspace after its question: deletes the shown
  // record when the log is not empty.
  void DeleteCurrent();

 private:
  TLogView& view_;
  std::uint16_t current_ = 0;
};

}  // namespace navorix
