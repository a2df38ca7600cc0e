// Fix files: one fix per line, the coordinate text, a blank and the name.
//
// Notation:
//   data line     any line that is neither empty nor a comment
//   comment       a line whose first character is ":"; never written
//   end of data   an empty line; lines after it are not read (only counted,
//                 so that the loss can be reported)
#include <exception>

#include "stores/atomic_file.h"
#include "stores/fix_db.h"
#include "stores/line_reader.h"
#include "text/format.h"
#include "text/parse.h"

namespace navorix {

namespace {

constexpr char CommentMark = ':';

// Reads the rest of a file whose reading has stopped, only to count what it
// holds: data lines up to the end of data go to beyond (they were cut off by
// a limit; none when the reading stopped at the end of data), data lines
// after it to afterEndOfData.
void CountTheRest(LineReader& file, bool atEndOfData, std::uint32_t& beyond, LoadReport& report) {
  std::string line;
  while (file.ReadLine(line)) {
    if (line.empty()) {
      atEndOfData = true;
    } else if (line.front() != CommentMark) {
      ++(atEndOfData ? report.afterEndOfData : beyond);
    }
  }
}

}  // namespace

bool FixDatabase::ReadText(LineReader& file, std::uint32_t maxLines, PlusDir plusDir, const EarthModel& E,
                           LoadReport& report) {
  report = LoadReport{};
  bool result = true;
  if (maxLines == 0) return result;
  std::uint32_t lines = 0;
  std::string line;
  try {
    for (;;) {
      file.ReadLine(line);  // empty at the end of the file
      if (line.empty()) {
        CountTheRest(file, true, report.beyondCapacity, report);
        return false;
      }
      // A comment is not counted and not followed by an end test, so a
      // comment as the last line ends the reading at the empty read after
      // it.
      if (line.front() == CommentMark) continue;
      if (Count() == MaxFixes) {
        result = false;
        ++report.beyondCapacity;
        report.capacity = MaxFixes;
      } else {
        FixRecord fix;
        ParseFixLine(plusDir, E, fix, line);
        // A line that does not read leaves an empty entry: no name that a
        // lookup could find, no position that an operation could use.
        if (!fix.valid) fix = FixRecord{};
        Add(fix);
        ++(fix.valid ? report.taken : report.unreadable);
      }
      if (file.AtEnd()) break;
      if (++lines >= maxLines) {
        std::uint32_t beyond = 0;
        CountTheRest(file, false, beyond, report);
        if (beyond > 0 && report.beyondCapacity == 0) report.capacity = maxLines;
        report.beyondCapacity += beyond;
        break;
      }
    }
  } catch (const std::exception& failure) {
    report.failure = failure.what();
    return false;
  }
  return result;
}

void FixDatabase::WriteText(AtomicFile& file, const DisplayOptions& options, const EarthModel& E) const {
  for (const auto& fix : fixes_) {
    if (fix->record.valid) file.WriteLine(FixFileLine(options, E, fix->record));
  }
}

bool FixDatabase::LoadFromFile(const std::string& fileName, PlusDir plusDir, const EarthModel& E,
                               LoadReport& report, const FileSystemCalls& calls) {
  LineReader file(fileName, LineReader::DefaultMaxLength, calls, MaxDataFileSize);
  return ReadText(file, MaxFixes, plusDir, E, report);
}

bool FixDatabase::LoadFromFile(const std::string& fileName, PlusDir plusDir, const EarthModel& E) {
  LoadReport report;
  return LoadFromFile(fileName, plusDir, E, report);
}

CommitResult FixDatabase::SaveToFile(const std::string& fileName, const DisplayOptions& options,
                                     const EarthModel& E, const FileSystemCalls& calls,
                                     const KeepOld& keep) const {
  AtomicFile file(fileName, calls, keep);
  WriteText(file, options, E);
  return file.Commit();
}

}  // namespace navorix
