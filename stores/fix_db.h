// The fix database: the user's ordered collection of named positions.
//
// Notation:
//   Pos        position of a fix, 1-based; 0 means none
//   Count      number of fixes, at most MaxFixes
//   reference  the position that the distance order measures from
//
// Fixes are held as separately allocated Fix objects in an array of
// references, so that inserting, moving and sorting move references, not
// records. Duplicate names are allowed; FindName gives the first.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "geometry/earth_model.h"
#include "geometry/vector.h"
#include "stores/atomic_file.h"
#include "stores/file_calls.h"
#include "stores/load_report.h"
#include "text/display_options.h"
#include "text/fix_record.h"

namespace navorix {

class LineReader;

// The largest 16-bit count.
inline constexpr std::uint16_t MaxFixes = 65535;

namespace msg {
inline constexpr const char* FixDatabaseFull = "Not enough room in the fix database";
inline constexpr const char* BadSortOrder = "Bad order in Sort() - please report!";
}  // namespace msg

// The sort orders of Sort, numbered as the Sort menu's items.
enum class SortOrder : std::uint8_t { ByName, BySuffix, ByDistance };

// One fix owned by the database.
class Fix {
 public:
  explicit Fix(const FixRecord& fix) : record(fix) {}
  FixRecord record;
};

class FixDatabase {
 public:
  FixDatabase() = default;
  FixDatabase(const FixDatabase&) = delete;
  FixDatabase& operator=(const FixDatabase&) = delete;

  std::uint16_t Count() const { return static_cast<std::uint16_t>(fixes_.size()); }
  // A copy of the fix at pos; an empty record (valid flag 0) when pos is
  // not 1..Count.
  FixRecord Get(std::uint16_t pos) const;

  // Frees every fix.
  void Clear();
  // Appends the fixes of a fix file (at most MaxFixes data lines), read
  // under plusDir and E, and returns ReadText's result; report tells what
  // was not taken. Throws Error "Cannot open NAME: reason" when the file
  // cannot be opened.
  bool LoadFromFile(const std::string& fileName, PlusDir plusDir, const EarthModel& E, LoadReport& report,
                    const FileSystemCalls& calls = SystemCalls());
  // LoadFromFile without the report.
  bool LoadFromFile(const std::string& fileName, PlusDir plusDir, const EarthModel& E);
  // Writes every fix to a fix file in the Lat/Lon format of options,
  // replacing an old one only when the new one is complete, and keeping of
  // it what keep says. Throws Error "Cannot write NAME: reason" on failure;
  // the old file then stays as it was.
  CommitResult SaveToFile(const std::string& fileName, const DisplayOptions& options, const EarthModel& E,
                          const FileSystemCalls& calls = SystemCalls(), const KeepOld& keep = {}) const;
  // Frees the fix at pos and closes the gap; nothing when pos is no fix.
  void Delete(std::uint16_t pos);
  // Appends a copy of fix. Throws Error msg::FixDatabaseFull at MaxFixes.
  void Add(const FixRecord& fix);
  // Inserts a copy of fix before the fix at pos (Count + 1 appends; other
  // positions are taken as the nearest of 1 and Count + 1). Throws Error
  // msg::FixDatabaseFull at MaxFixes.
  void Insert(const FixRecord& fix, std::uint16_t pos);
  // Overwrites the fix at pos; nothing when pos is no fix.
  void Replace(const FixRecord& fix, std::uint16_t pos);
  // Exchanges the fixes at pos - 1 and pos; false (and no change) when pos
  // is not 2..Count.
  bool MoveUp(std::uint16_t pos);
  // Exchanges the fixes at pos and pos + 1; false when pos is not
  // 1..Count - 1.
  bool MoveDown(std::uint16_t pos);

  // The first fix whose name equals Name byte for byte, or 0; an empty Name
  // (the name of an entry that did not read) matches nothing. Repeated
  // lookups are served by an index of the names, built at the first lookup
  // after a change.
  std::uint16_t FindName(std::string_view wanted) const;
  // The first fix at or after start whose name begins with text byte for
  // byte, or 0; an empty text matches nothing.
  std::uint16_t FindPrefix(std::string_view text, std::uint16_t start) const;
  // Reorders the fixes by order with the program's quicksort; the distance
  // order measures the squared chord from reference. Fixes with equal keys
  // end in the order that procedure leaves them. Throws Error
  // msg::BadSortOrder for a value outside the enumeration.
  void Sort(SortOrder order, const Vector3& reference);

  // Reads fixes from file until an empty line or the end of the file, at
  // most maxLines data lines; comment lines (first character ":") are
  // skipped. Each data line is read under plusDir and E and added; a line
  // that does not read adds an empty, not valid entry. False when reading stopped at
  // an empty line (the end of the file counts as one unless the last data
  // line reached it), on a failure, or when fixes were dropped because the
  // database was full; what was read stays. Never throws. report counts the
  // fixes taken and, after the reading stops, the lines that were not:
  // the rest of the file is read for that without taking anything.
  bool ReadText(LineReader& file, std::uint32_t maxLines, PlusDir plusDir, const EarthModel& E,
                LoadReport& report);
  // Writes one line per valid fix, in order, in the Lat/Lon format of
  // options. Entries that are not valid are left out: written as empty lines
  // they would end the data on reading.
  void WriteText(AtomicFile& file, const DisplayOptions& options, const EarthModel& E) const;

  // A number that every change of the fixes (added, removed, replaced,
  // moved, sorted) makes different, so that a reader keeping something
  // worked out from them knows when to work it out again.
  std::uint64_t Revision() const { return revision_; }

 private:
  void Changed() {
    indexValid_ = false;
    ++revision_;
  }

  std::vector<std::unique_ptr<Fix>> fixes_;
  // Name -> first position; the names are viewed in place in the Fix
  // objects, which never move while the index is valid.
  mutable std::unordered_map<std::string_view, std::uint16_t> index_;
  mutable bool indexValid_ = false;
  std::uint64_t revision_ = 0;
};

}  // namespace navorix
