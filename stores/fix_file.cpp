// Fix files: one fix per line, the coordinate text, a blank and the name.
//
// Notation:
//   data line     any line that is neither empty nor a comment
//   comment       a line whose first character is ":"; never written
//   end of data   an empty line; lines after it are not read
#include <exception>

#include "stores/atomic_file.h"
#include "stores/fix_db.h"
#include "stores/line_reader.h"
#include "text/format.h"
#include "text/parse.h"

namespace navorix {

namespace {
constexpr char CommentMark = ':';
}  // namespace

bool TFixDB::ReadText(TLineReader& File, std::uint32_t MaxLines, TPlusDir PlusDir,
                      const TEarthModel& E) {
  bool result = true;
  if (MaxLines == 0) return result;
  std::uint32_t lines = 0;
  std::string line;
  try {
    for (;;) {
      File.ReadLine(line);  // empty at the end of the file
      if (line.empty()) return false;
      // A comment is not counted and not followed by an end test, so a
      // comment as the last line ends the reading at the empty read after
      // it.
      if (line.front() == CommentMark) continue;
      FixRecord fix;
      ParseFixLine(PlusDir, E, fix, line);
      // A line that does not read leaves an empty entry: no name that a
      // lookup could find, no position that an operation could use.
      if (!fix.Valid) fix = FixRecord{};
      if (Count() == MaxFixes) {
        result = false;
      } else {
        Add(fix);
      }
      if (File.AtEnd()) break;
      if (++lines >= MaxLines) break;
    }
  } catch (const std::exception&) {
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

bool TFixDB::LoadFromFile(const std::string& FileName, TPlusDir PlusDir, const TEarthModel& E) {
  TLineReader file(FileName);
  return ReadText(file, MaxFixes, PlusDir, E);
}

void TFixDB::SaveToFile(const std::string& FileName, const TDisplayOptions& Options,
                        const TEarthModel& E) const {
  TAtomicFile file(FileName);
  WriteText(file, Options, E);
  file.Commit();
}

}  // namespace navorix
