// The operation log: three-line records of the operation results, oldest
// first, with a fixed capacity, and the history file that keeps it between
// runs.
//
// Notation:
//   N        record number, 1-based; 0 means none
//   Count    number of records, at most MaxLogRecords
//
// History file: three lines per record (line 1, 2, 3), oldest record first,
// each line ended by CR LF. On reading, consecutive groups of three lines
// form the records until the end of the file; a last group of one or two
// lines is completed with empty lines. Empty lines are ordinary log lines.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "stores/atomic_file.h"
#include "stores/file_calls.h"
#include "stores/load_report.h"

namespace navorix {

// A full log drops its oldest record for each new one.
inline constexpr std::uint16_t MaxLogRecords = 999;

struct LogRecord {
  std::string Line1;
  std::string Line2;
  std::string Line3;
};

class TLogList {
 public:
  TLogList() = default;
  TLogList(const TLogList&) = delete;
  TLogList& operator=(const TLogList&) = delete;
  // A window-bound log is used through its own type only (the operations
  // hide these, they do not override them).
  ~TLogList() = default;

  std::uint16_t Count() const { return static_cast<std::uint16_t>(records_.size()); }

  // A copy of line Line (1..3) of record N (1..Count); empty text for a
  // record or line that does not exist.
  std::string GetLine(std::uint16_t N, int Line) const;

  // Appends a record with copies of the three texts, after deleting record 1
  // when the log is full.
  void Add(std::string_view Line1, std::string_view Line2, std::string_view Line3);
  // Removes record N; nothing when N is not 1..Count.
  void Delete(std::uint16_t N);
  void Clear();

  // Writes the history file, replacing the old one only when complete and
  // keeping of it what Keep says. Throws Error "Cannot write NAME: reason"
  // on failure.
  TCommitResult SaveToFile(const std::string& FileName, const TFileSystemCalls& Calls = SystemCalls(),
                           const TKeepOld& Keep = {}) const;
  // Appends the records of a history file (without clearing first; of a
  // long file only the last MaxLogRecords remain). Lines longer than
  // TLineReader::DefaultMaxLength are cut. Throws Error "Cannot open NAME:
  // reason" or "Cannot read NAME: reason"; the records read before a read
  // failure stay.
  void LoadFromFile(const std::string& FileName, const TFileSystemCalls& Calls = SystemCalls());
  // The same, with Report telling what was not taken: records dropped for
  // the capacity, cut lines, and a read failure, which is reported there
  // instead of being raised. Throws Error "Cannot open NAME: reason".
  void LoadFromFile(const std::string& FileName, TLoadReport& Report,
                    const TFileSystemCalls& Calls = SystemCalls());

 private:
  std::deque<LogRecord> records_;
};

}  // namespace navorix
