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
  std::string line1;
  std::string line2;
  std::string line3;
};

class LogList {
 public:
  LogList() = default;
  LogList(const LogList&) = delete;
  LogList& operator=(const LogList&) = delete;
  // A window-bound log is used through its own type only (the operations
  // hide these, they do not override them).
  ~LogList() = default;

  std::uint16_t Count() const { return static_cast<std::uint16_t>(records_.size()); }

  // A copy of line line (1..3) of record N (1..Count); empty text for a
  // record or line that does not exist.
  std::string GetLine(std::uint16_t N, int line) const;

  // Appends a record with copies of the three texts, after deleting record 1
  // when the log is full.
  void Add(std::string_view line1, std::string_view line2, std::string_view line3);
  // Removes record N; nothing when N is not 1..Count.
  void Delete(std::uint16_t N);
  void Clear();

  // Writes the history file, replacing the old one only when complete and
  // keeping of it what keep says. Throws Error "Cannot write NAME: reason"
  // on failure.
  CommitResult SaveToFile(const std::string& fileName, const FileSystemCalls& calls = SystemCalls(),
                          const KeepOld& keep = {}) const;
  // Appends the records of a history file (without clearing first; of a
  // long file only the last MaxLogRecords remain). Lines longer than
  // LineReader::DefaultMaxLength are cut. Throws Error "Cannot open NAME:
  // reason" or "Cannot read NAME: reason"; the records read before a read
  // failure stay.
  void LoadFromFile(const std::string& fileName, const FileSystemCalls& calls = SystemCalls());
  // The same, with report telling what was not taken: records dropped for
  // the capacity, cut lines, and a read failure, which is reported there
  // instead of being raised. Throws Error "Cannot open NAME: reason".
  void LoadFromFile(const std::string& fileName, LoadReport& report,
                    const FileSystemCalls& calls = SystemCalls());

 private:
  std::deque<LogRecord> records_;
};

}  // namespace navorix
