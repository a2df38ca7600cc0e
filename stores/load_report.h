// What loading a fix file or the history file took, and what it did not
// take and why, so that nothing is dropped without a word (the next save
// would make the loss permanent).
//
// Notation:
//   data line     a fix-file line that is neither empty nor a comment
//   end of data   the first empty line of a fix file; the format does not
//                 read the lines after it
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace navorix {

enum class LoadSource { FixFile, HistoryFile };

struct LoadReport {
  LoadSource source = LoadSource::FixFile;
  // Fixes (valid ones) added to the database, or records read from the
  // history file (of which beyondCapacity may have dropped some again).
  std::uint32_t taken = 0;
  // Fix file: data lines not loaded because the database was full or the
  // reader's limit of data lines was reached. History file: records
  // dropped, oldest first, to keep the log within its capacity.
  std::uint32_t beyondCapacity = 0;
  // The capacity or limit that beyondCapacity refers to.
  std::uint32_t capacity = 0;
  // Fix file: data lines after the end of data.
  std::uint32_t afterEndOfData = 0;
  // Fix file: data lines that did not read as a fix (bad coordinates, a
  // missing name, a name the fix input dialog would refuse); each still
  // leaves an empty entry, shown as an empty row and counted, which a save
  // leaves out.
  std::uint32_t unreadable = 0;
  // History file: lines longer than the reader's limit, cut there.
  std::uint32_t longLines = 0;
  // The reading failure ("Cannot read NAME: reason") that ended the load
  // early, keeping what was read before it; empty when read to the end.
  std::string failure;

  // True when the file was read to its end and nothing was left out.
  bool Complete() const {
    return beyondCapacity == 0 && afterEndOfData == 0 && unreadable == 0 && longLines == 0 && failure.empty();
  }
};

// The longest line the error box shows.
inline constexpr std::size_t MaxMessageLength = 64;
// The most lines one report shows; beyond them its last line says how many
// more there are.
inline constexpr std::size_t MaxReportLines = 5;

// Text cut to MaxMessageLength characters, with "..." where it was cut.
std::string FitMessage(std::string text);

// Lines as one report shows them: all of them when they are at most
// MaxReportLines, else the first ones and "and N more".
std::vector<std::string> ReportShown(std::vector<std::string> lines);

// One line per kind of loss, most serious first (a failure, then capacity,
// unreadable lines, lines after the end of data, cut lines), each of at
// most MaxMessageLength characters, e.g. "Fix file: 4465 fixes beyond 65535
// not loaded"; none when Complete.
std::vector<std::string> LoadReportLines(const LoadReport& report);

// The first of LoadReportLines, the one line for the error box; an empty
// text when Complete.
std::string LoadReportMessage(const LoadReport& report);

}  // namespace navorix
