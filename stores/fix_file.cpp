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
// holds: data lines up to the end of data go to Beyond (they were cut off by
// a limit; none when the reading stopped at the end of data), data lines
// after it to AfterEndOfData.
void CountTheRest(TLineReader& File, bool AtEndOfData, std::uint32_t& Beyond, TLoadReport& Report) {
  std::string line;
  while (File.ReadLine(line)) {
    if (line.empty()) {
      AtEndOfData = true;
    } else if (line.front() != CommentMark) {
      ++(AtEndOfData ? Report.AfterEndOfData : Beyond);
    }
  }
}

}  // namespace

bool TFixDB::ReadText(TLineReader& File, std::uint32_t MaxLines, TPlusDir PlusDir,
                      const TEarthModel& E, TLoadReport& Report) {
  Report = TLoadReport{};
  bool result = true;
  if (MaxLines == 0) return result;
  std::uint32_t lines = 0;
  std::string line;
  try {
    for (;;) {
      File.ReadLine(line);  // empty at the end of the file
      if (line.empty()) {
        CountTheRest(File, true, Report.BeyondCapacity, Report);
        return false;
      }
      // A comment is not counted and not followed by an end test, so a
      // comment as the last line ends the reading at the empty read after
      // it.
      if (line.front() == CommentMark) continue;
      if (Count() == MaxFixes) {
        result = false;
        ++Report.BeyondCapacity;
        Report.Capacity = MaxFixes;
      } else {
        FixRecord fix;
        ParseFixLine(PlusDir, E, fix, line);
        // A line that does not read leaves an empty entry: no name that a
        // lookup could find, no position that an operation could use.
        if (!fix.Valid) fix = FixRecord{};
        Add(fix);
        ++(fix.Valid ? Report.Taken : Report.Unreadable);
      }
      if (File.AtEnd()) break;
      if (++lines >= MaxLines) {
        std::uint32_t beyond = 0;
        CountTheRest(File, false, beyond, Report);
        if (beyond > 0 && Report.BeyondCapacity == 0) Report.Capacity = MaxLines;
        Report.BeyondCapacity += beyond;
        break;
      }
    }
  } catch (const std::exception& failure) {
    Report.Failure = failure.what();
    return false;
  }
  return result;
}

void TFixDB::WriteText(TAtomicFile& File, const TDisplayOptions& Options,
                       const TEarthModel& E) const {
  for (const auto& fix : fixes_) {
    if (fix->Record.Valid) File.WriteLine(FixFileLine(Options, E, fix->Record));
  }
}

bool TFixDB::LoadFromFile(const std::string& FileName, TPlusDir PlusDir, const TEarthModel& E,
                          TLoadReport& Report, const TFileSystemCalls& Calls) {
  TLineReader file(FileName, TLineReader::DefaultMaxLength, Calls, MaxDataFileSize);
  return ReadText(file, MaxFixes, PlusDir, E, Report);
}

bool TFixDB::LoadFromFile(const std::string& FileName, TPlusDir PlusDir, const TEarthModel& E) {
  TLoadReport report;
  return LoadFromFile(FileName, PlusDir, E, report);
}

TCommitResult TFixDB::SaveToFile(const std::string& FileName, const TDisplayOptions& Options,
                                 const TEarthModel& E, const TFileSystemCalls& Calls,
                                 const TKeepOld& Keep) const {
  TAtomicFile file(FileName, Calls, Keep);
  WriteText(file, Options, E);
  return file.Commit();
}

}  // namespace navorix
