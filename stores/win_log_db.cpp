#include "stores/win_log_db.h"

#include "text/text_helpers.h"

namespace navorix {

void TWinLogDB::Add(std::string_view Line1, std::string_view Line2, std::string_view Line3) {
  TLogList::Add(Line1, Line2, Line3);
  ShowLogRecord(Count());
}

void TWinLogDB::LoadFromFile(const std::string& FileName) {
  try {
    TLogList::LoadFromFile(FileName);
  } catch (...) {
    ShowLogRecord(Count());
    throw;
  }
  ShowLogRecord(Count());
}

void TWinLogDB::LoadFromFile(const std::string& FileName, TLoadReport& Report) {
  try {
    TLogList::LoadFromFile(FileName, Report);
  } catch (...) {
    ShowLogRecord(Count());
    throw;
  }
  ShowLogRecord(Count());
}

void TWinLogDB::Clear() {
  TLogList::Clear();
  ShowLogRecord(0);
  view_.SetNextFixEnabled(false);
}

void TWinLogDB::Delete(std::uint16_t N) {
  TLogList::Delete(N);
  if (Count() < current_) current_ = Count();
  ShowLogRecord(current_);
}

void TWinLogDB::ShowLogRecord(std::uint16_t N) {
  if (N > Count()) N = Count();
  current_ = N;
  if (N != 0) {
    view_.ShowLogLines(GetLine(N, 1), GetLine(N, 2), GetLine(N, 3));
  } else {
    view_.ShowLogLines({}, {}, {});
  }
  view_.ShowLogNumber(std::to_string(N));
  UpdateLogButtons();
}

void TWinLogDB::UpdateLogButtons() { view_.EnableLogButtons(current_ > 1, current_ < Count()); }

void TWinLogDB::LogResult(std::string_view Line1, std::string_view Line2, std::string_view Line3) {
  view_.PlayDoneSound();
  Add(SquashBlanks(Line1, false), SquashBlanks(Line2, false), SquashBlanks(Line3, false));
  ShowLogRecord(Count());
}

void TWinLogDB::ShowPrevious() {
  view_.FocusFixList();
  if (current_ < 2) return;
  ShowLogRecord(static_cast<std::uint16_t>(current_ - 1));
}

void TWinLogDB::ShowNext() {
  view_.FocusFixList();
  if (current_ >= Count()) return;
  ShowLogRecord(static_cast<std::uint16_t>(current_ + 1));
}

void TWinLogDB::DeleteCurrent() {
  if (Count() == 0) return;
  Delete(current_);
}

}  // namespace navorix
