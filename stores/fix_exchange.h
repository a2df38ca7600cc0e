// Fixes in from and out to the formats other programs read and write:
// GPX 1.1 (waypoints and route points), CSV with a header line, and GeoJSON
// Point features; and fix-file lines, which pasted text and the shipped
// sample fixes bring in through the same import.
//
// Notation:
//   entry   one waypoint, route point, CSV record, GeoJSON feature or
//           fix-file line of the input
//   place   where an entry is, as messages name it: "line 12 (wpt)",
//           "line 12" or "feature 3"
//   taken   a name the database holds, or one an earlier entry of the same
//           import got (stores/import_names.h has the rule for names)
//
// The format is told by the content: "<" begins GPX, "{" or "[" GeoJSON, and
// other text is CSV when its first line names a latitude and a longitude
// column, fix-file lines otherwise; the file name's extension only chooses
// the complaint when a ".gpx", ".csv" or ".geojson" file is none of them.
// GPX and GeoJSON are UTF-8 (GPX may declare another encoding); CSV and
// fix-file lines are UTF-8 when they are valid UTF-8 and Windows-1252
// otherwise. XML is read by pugixml, which reads no DTD and fetches
// nothing; JSON by nlohmann-json.
//
// Coordinates: GPX and GeoJSON hold signed decimal degrees. A CSV field
// holds decimal degrees or any coordinate text the fix input dialog reads
// ("48.8567", "48 51'24.12"N" with a degree sign, "48N512412"), where a
// sign or a bare number means north or east, as in every exchange format;
// a decimal comma is read where ";" separates the fields. Fix-file lines
// are read as a fix file is. A latitude beyond 90 degrees or a longitude
// beyond 180 refuses the entry.
//
// Nothing is dropped without a word: every entry is imported, renamed
// (with its old name) or refused (with the reason), and entries beyond the
// database's room are counted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/earth_model.h"
#include "stores/atomic_file.h"
#include "stores/file_calls.h"
#include "stores/fix_db.h"
#include "stores/line_reader.h"
#include "text/display_options.h"
#include "text/fix_record.h"

namespace navorix {

enum class ExchangeFormat : std::uint8_t { FixLines, Gpx, Csv, GeoJson };

// "fix lines", "GPX", "CSV", "GeoJSON".
const char* ExchangeFormatName(ExchangeFormat format);

// The largest file imported, as for fix files: a GPX file of 65535
// waypoints takes about 10 MB, so a larger file is a mistake (or a track
// log, whose points are no fixes) and is refused before it is read.
inline constexpr std::uint64_t MaxImportFileSize = MaxDataFileSize;

enum class RenameReason : std::uint8_t {
  Capitals,  // only put in capitals, as the fix input dialog does
  Changed,   // made into a valid fix name by the rule
  Unnamed,   // no name: named WP and its number
  InUse,     // the name was taken: a number added
};

struct RenamedEntry {
  std::string place;
  std::string original;  // the name as the file has it, in Windows-1252
  std::string name;      // the fix's name
  RenameReason reason = RenameReason::Changed;
};

struct RefusedEntry {
  std::string place;
  std::string reason;
};

struct ImportResult {
  ExchangeFormat format = ExchangeFormat::FixLines;
  // The fixes to append, in the order of the input; their names are valid,
  // distinct and not taken.
  std::vector<FixRecord> fixes;
  std::vector<RenamedEntry> renamed;
  std::vector<RefusedEntry> refused;
  // Entries left out because the database would hold more than MaxFixes.
  std::uint32_t beyondRoom = 0;
  // GPX track points, which are not fixes and are not imported.
  std::uint32_t trackPoints = 0;
  // Why nothing at all was imported (a file that cannot be read or is too
  // large, XML or JSON that is not well-formed, no header of a CSV file);
  // empty otherwise.
  std::string failure;

  // True when nothing meant for the database was left out: no failure, no
  // refused entry, nothing beyond the room. Renamed entries and track
  // points do not count.
  bool Complete() const { return failure.empty() && refused.empty() && beyondRoom == 0; }
};

// What reading coordinates depends on.
struct ImportSettings {
  EarthModel earth;  // the latitudes are taken under its EllipticLat
  // What a sign or a bare number means in fix-file lines (the other formats
  // are north and east positive).
  PlusDir plusDir = PlusDir::NorthEast;
};

// The format of text, by its content (see above); fileName's extension
// decides only between formats the content does not show.
ExchangeFormat DetectFormat(std::string_view text, std::string_view fileName = {});

// The fixes of text (the bytes of a file or pasted text), named against the
// names of into, with room for MaxFixes - into.Count() of them. Never
// throws for any input.
ImportResult ImportFixText(std::string_view text, const ImportSettings& settings, const FixDatabase& into,
                           std::string_view fileName = {});

// ImportFixText of the file fileName. A file that cannot be opened or read,
// or is larger than MaxImportFileSize, gives a result with its failure
// ("Cannot open NAME: larger than 64 MiB") and nothing else.
ImportResult ImportFixFile(const std::string& fileName, const ImportSettings& settings,
                           const FixDatabase& into, const FileSystemCalls& calls = SystemCalls());

// The report of an import, in Windows-1252, one line each: a summary line
// ("GPX: 57 fixes imported, 4 renamed, 2 refused"), a count of the names
// only put in capitals, then every other renamed entry, every refused
// entry, the entries beyond the room and the track points left out.
std::vector<std::string> ImportReportLines(const ImportResult& result);

// The export format a file name asks for by its extension, in any case:
// ".gpx", ".csv", ".geojson" or ".json"; none for another.
std::optional<ExchangeFormat> ExportFormatOf(std::string_view fileName);

// Every valid fix of fixes in format (GPX, CSV or GeoJSON; fix-file lines
// are written by the fix file itself), in UTF-8 with CR LF line ends, the
// positions as ExportDegrees gives them under earth.
std::string ExportFixText(const FixDatabase& fixes, ExchangeFormat format, const EarthModel& earth);

// ExportFixText saved to fileName as every file of the program is saved
// (stores/atomic_file.h). Throws Error as AtomicFile does.
CommitResult ExportFixFile(const std::string& fileName, const FixDatabase& fixes, ExchangeFormat format,
                           const EarthModel& earth, const FileSystemCalls& calls = SystemCalls(),
                           const KeepOld& keep = {});

}  // namespace navorix
