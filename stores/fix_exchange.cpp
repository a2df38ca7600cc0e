// The import and export of fixes: telling the format, collecting the
// entries, the report, and the dispatch to the formats.
#include "stores/fix_exchange.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

#include "geometry/numeric.h"
#include "stores/exchange_formats.h"
#include "text/cp1252.h"
#include "text/decimal.h"
#include "text/text_helpers.h"

namespace navorix {

namespace exchange {

namespace {

constexpr std::size_t QuotedLength = 40;

const char* AxisName(Axis axis) { return axis == Axis::Latitude ? "latitude" : "longitude"; }
long double AxisLimit(Axis axis) { return axis == Axis::Latitude ? 90.0L : 180.0L; }

std::string BeyondReason(Axis axis, std::string_view text) {
  return std::string(AxisName(axis)) + " " + Quoted(text) + " is beyond " +
         (axis == Axis::Latitude ? "90" : "180") + " degrees";
}

}  // namespace

std::string LineText(std::uint64_t line) { return "line " + std::to_string(line); }

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  if (text.size() > QuotedLength) {
    quoted.append(text.substr(0, QuotedLength - 3));
    quoted += "...";
  } else {
    quoted.append(text);
  }
  // A line break or other control character would break the report's line.
  for (char& c : quoted) {
    if (IsBlankOrControl(c)) c = ' ';
  }
  return quoted + "\"";
}

bool IsUtf8(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (NextCodePoint(text, pos) == MalformedCodePoint) return false;
  }
  return true;
}

std::string AsCp1252(std::string_view text, bool isUtf8Text) {
  if (!isUtf8Text) return std::string(text);
  std::string out;
  Utf8ToCp1252(text, out);
  return out;
}

std::string AsUtf8(std::string_view text, bool isUtf8Text) {
  if (isUtf8Text) return std::string(text);
  std::string out;
  AppendUtf8(out, text);
  return out;
}

bool ReadDegrees(std::string_view written, Axis axis, long double& degrees, std::string& reason) {
  const std::string_view text = TrimmedView(written);
  if (text.empty()) {
    reason = std::string("no ") + AxisName(axis);
    return false;
  }
  long double value = 0.0L;
  if (!ReadDecimal(text, value)) {
    reason = std::string(AxisName(axis)) + " " + Quoted(text) + " is no number";
    return false;
  }
  if (std::fabs(value) > AxisLimit(axis)) {
    reason = BeyondReason(axis, text);
    return false;
  }
  degrees = value;
  return true;
}

bool ReadCoordinateText(std::string_view written, Axis axis, PlusDir plusDir, long double& result,
                        std::string& reason) {
  std::string text(TrimmedView(written));
  if (text.empty()) {
    reason = std::string("no ") + AxisName(axis);
    return false;
  }
  for (char& c : text) c = ToCapital(c);
  long double radians = 0.0L;
  if (!ParseCoord(plusDir, text, axis, radians)) {
    reason = std::string(AxisName(axis)) + " " + Quoted(text) + " does not read";
    return false;
  }
  // The limit as the reader makes it of the text "90" or "180".
  if (!(std::fabs(radians) <= AxisLimit(axis) * DegToRad)) {
    reason = BeyondReason(axis, text);
    return false;
  }
  result = radians;
  return true;
}

ImportCollector::ImportCollector(ExchangeFormat format, const ImportSettings& settings,
                                 const FixDatabase& into)
    : settings_(settings),
      names_(into),
      room_(static_cast<std::uint32_t>(MaxFixes - std::min(into.Count(), MaxFixes))) {
  result_.format = format;
}

void ImportCollector::Take(const EntryPlace& place, std::string_view given, const Vector3& position) {
  const std::uint32_t ordinal = ++ordinal_;
  if (result_.fixes.size() >= room_) {
    ++result_.beyondRoom;
    return;
  }
  const std::string valid = ValidFixName(given, ordinal);
  const std::string name = names_.Claim(valid);
  FixRecord fix;
  fix.position = position;
  fix.name = name;
  fix.valid = true;
  result_.fixes.push_back(fix);
  if (name == given) return;
  RenameReason reason = RenameReason::Changed;
  if (name != valid) {
    reason = RenameReason::InUse;
  } else if (TrimmedView(given).empty()) {
    reason = RenameReason::Unnamed;
  } else if (OnlyCapitals(given, name)) {
    reason = RenameReason::Capitals;
  }
  renamed_.push_back({place, AsCp1252(given, true), name, reason});
}

void ImportCollector::Refuse(const EntryPlace& place, std::string reason) {
  ++ordinal_;
  refused_.push_back({place, std::move(reason)});
}

ImportResult ImportCollector::Fail(std::string failure) {
  ImportResult failed;
  failed.format = result_.format;
  failed.failure = std::move(failure);
  return failed;
}

ImportResult ImportCollector::Finish(const std::function<std::string(const EntryPlace&)>& placeText) {
  for (Renamed& entry : renamed_) {
    result_.renamed.push_back(
        {placeText(entry.place), std::move(entry.original), std::move(entry.name), entry.reason});
  }
  for (Refused& entry : refused_) {
    result_.refused.push_back({placeText(entry.place), std::move(entry.reason)});
  }
  return std::move(result_);
}

}  // namespace exchange

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string_view WithoutByteOrderMark(std::string_view text) {
  if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) text.remove_prefix(ByteOrderMark.size());
  return text;
}

// The extension of fileName in small letters, without the ".".
std::string Extension(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of('/');
  const std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  std::string extension(fileName.substr(dot + 1));
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension;
}

std::optional<ExchangeFormat> FormatOfExtension(std::string_view fileName) {
  const std::string extension = Extension(fileName);
  if (extension == "gpx") return ExchangeFormat::Gpx;
  if (extension == "csv") return ExchangeFormat::Csv;
  if (extension == "geojson" || extension == "json") return ExchangeFormat::GeoJson;
  return std::nullopt;
}

std::string Counted(std::size_t count, const char* singular, const char* plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

}  // namespace

const char* ExchangeFormatName(ExchangeFormat format) {
  switch (format) {
    case ExchangeFormat::Gpx:
      return "GPX";
    case ExchangeFormat::Csv:
      return "CSV";
    case ExchangeFormat::GeoJson:
      return "GeoJSON";
    case ExchangeFormat::FixLines:
      break;
  }
  return "fix lines";
}

ExchangeFormat DetectFormat(std::string_view text, std::string_view fileName) {
  text = WithoutByteOrderMark(text);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos) {
    if (text[first] == '<') return ExchangeFormat::Gpx;
    if (text[first] == '{' || text[first] == '[') return ExchangeFormat::GeoJson;
  }
  char separator = ',';
  if (exchange::FindCsvHeader(text, separator)) return ExchangeFormat::Csv;
  return FormatOfExtension(fileName).value_or(ExchangeFormat::FixLines);
}

ImportResult ImportFixText(std::string_view text, const ImportSettings& settings, const FixDatabase& into,
                           std::string_view fileName) {
  const ExchangeFormat format = DetectFormat(text, fileName);
  exchange::ImportCollector collector(format, settings, into);
  const std::string prefix = std::string(ExchangeFormatName(format)) + ": ";
  if (text.size() > MaxImportFileSize) {
    return collector.Fail(prefix + "the text is " + TooLargeReason(MaxImportFileSize));
  }
  text = WithoutByteOrderMark(text);
  try {
    switch (format) {
      case ExchangeFormat::Gpx:
        return exchange::ImportGpx(text, collector);
      case ExchangeFormat::Csv:
        return exchange::ImportCsv(text, collector);
      case ExchangeFormat::GeoJson:
        return exchange::ImportGeoJson(text, collector);
      case ExchangeFormat::FixLines:
        return exchange::ImportFixLines(text, collector);
    }
  } catch (const std::exception& failure) {
    // Only a lack of memory gets here; the readers report bad input.
    return collector.Fail(prefix + failure.what());
  }
  return collector.Fail(prefix + "unknown format");
}

ImportResult ImportFixFile(const std::string& fileName, const ImportSettings& settings,
                           const FixDatabase& into, const FileSystemCalls& calls) {
  std::string text;
  try {
    // Lines of any length, joined by LF: every format reads a line end so.
    LineReader reader(fileName, MaxImportFileSize, calls, MaxImportFileSize);
    std::string line;
    while (reader.ReadLine(line)) {
      text += line;
      text += '\n';
    }
  } catch (const std::exception& failure) {
    ImportResult failed;
    failed.format = FormatOfExtension(fileName).value_or(ExchangeFormat::FixLines);
    failed.failure = failure.what();
    return failed;
  }
  return ImportFixText(text, settings, into, fileName);
}

std::vector<std::string> ImportReportLines(const ImportResult& result) {
  const std::string format = ExchangeFormatName(result.format);
  if (!result.failure.empty()) return {result.failure, "No fixes imported"};
  std::size_t capitals = 0;
  for (const RenamedEntry& entry : result.renamed) capitals += entry.reason == RenameReason::Capitals;
  std::string summary = format + ": " + Counted(result.fixes.size(), "fix", "fixes") + " imported";
  if (result.renamed.size() > capitals) {
    summary += ", " + std::to_string(result.renamed.size() - capitals) + " renamed";
  }
  if (!result.refused.empty()) summary += ", " + std::to_string(result.refused.size()) + " refused";
  std::vector<std::string> lines{summary};
  if (capitals > 0) lines.push_back(Counted(capitals, "name", "names") + " only put in capitals");
  for (const RenamedEntry& entry : result.renamed) {
    const std::string original = exchange::Quoted(entry.original);
    switch (entry.reason) {
      case RenameReason::Capitals:
        break;
      case RenameReason::Changed:
        lines.push_back(entry.place + ": " + original + " renamed " + entry.name);
        break;
      case RenameReason::Unnamed:
        lines.push_back(entry.place + ": no name, named " + entry.name);
        break;
      case RenameReason::InUse:
        lines.push_back(entry.place + ": " + original + " renamed " + entry.name + ", the name was in use");
        break;
    }
  }
  for (const RefusedEntry& entry : result.refused) {
    lines.push_back(entry.place + ": refused, " + entry.reason);
  }
  if (result.beyondRoom > 0) {
    lines.push_back(Counted(result.beyondRoom, "entry", "entries") +
                    " not imported: the fix database holds at most " + std::to_string(MaxFixes) + " fixes");
  }
  if (result.trackPoints > 0) {
    lines.push_back(Counted(result.trackPoints, "track point", "track points") +
                    " not imported: only waypoints and route points become fixes");
  }
  return lines;
}

std::optional<ExchangeFormat> ExportFormatOf(std::string_view fileName) {
  return FormatOfExtension(fileName);
}

std::string ExportFixText(const FixDatabase& fixes, ExchangeFormat format, const EarthModel& earth) {
  std::string text;
  switch (format) {
    case ExchangeFormat::Gpx:
      exchange::ExportGpx(fixes, earth, text);
      break;
    case ExchangeFormat::Csv:
      exchange::ExportCsv(fixes, earth, text);
      break;
    case ExchangeFormat::GeoJson:
      exchange::ExportGeoJson(fixes, earth, text);
      break;
    case ExchangeFormat::FixLines:
      break;
  }
  return text;
}

CommitResult ExportFixFile(const std::string& fileName, const FixDatabase& fixes, ExchangeFormat format,
                           const EarthModel& earth, const FileSystemCalls& calls, const KeepOld& keep) {
  AtomicFile file(fileName, calls, keep);
  file.Write(ExportFixText(fixes, format, earth));
  return file.Commit();
}

}  // namespace navorix
