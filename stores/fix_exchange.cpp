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

const char* AxisName(TAxis Axis) { return Axis == TAxis::Latitude ? "latitude" : "longitude"; }
long double AxisLimit(TAxis Axis) { return Axis == TAxis::Latitude ? 90.0L : 180.0L; }

std::string BeyondReason(TAxis Axis, std::string_view Text) {
  return std::string(AxisName(Axis)) + " " + Quoted(Text) + " is beyond " +
         (Axis == TAxis::Latitude ? "90" : "180") + " degrees";
}

}  // namespace

std::string LineText(std::uint64_t Line) { return "line " + std::to_string(Line); }

std::string Quoted(std::string_view Text) {
  std::string quoted = "\"";
  if (Text.size() > QuotedLength) {
    quoted.append(Text.substr(0, QuotedLength - 3));
    quoted += "...";
  } else {
    quoted.append(Text);
  }
  // A line break or other control character would break the report's line.
  for (char& c : quoted) {
    if (IsBlankOrControl(c)) c = ' ';
  }
  return quoted + "\"";
}

bool IsUtf8(std::string_view Text) {
  std::size_t pos = 0;
  while (pos < Text.size()) {
    if (NextCodePoint(Text, pos) == MalformedCodePoint) return false;
  }
  return true;
}

std::string AsCp1252(std::string_view Text, bool IsUtf8Text) {
  if (!IsUtf8Text) return std::string(Text);
  std::string out;
  Utf8ToCp1252(Text, out);
  return out;
}

std::string AsUtf8(std::string_view Text, bool IsUtf8Text) {
  if (IsUtf8Text) return std::string(Text);
  std::string out;
  AppendUtf8(out, Text);
  return out;
}

bool ReadDegrees(std::string_view Text, TAxis Axis, long double& Degrees, std::string& Reason) {
  const std::string_view text = TrimmedView(Text);
  if (text.empty()) {
    Reason = std::string("no ") + AxisName(Axis);
    return false;
  }
  long double value = 0.0L;
  if (!ReadDecimal(text, value)) {
    Reason = std::string(AxisName(Axis)) + " " + Quoted(text) + " is no number";
    return false;
  }
  if (std::fabs(value) > AxisLimit(Axis)) {
    Reason = BeyondReason(Axis, text);
    return false;
  }
  Degrees = value;
  return true;
}

bool ReadCoordinateText(std::string_view Text, TAxis Axis, TPlusDir PlusDir, long double& Radians,
                        std::string& Reason) {
  std::string text(TrimmedView(Text));
  if (text.empty()) {
    Reason = std::string("no ") + AxisName(Axis);
    return false;
  }
  for (char& c : text) c = ToCapital(c);
  long double radians = 0.0L;
  if (!ParseCoord(PlusDir, text, Axis, radians)) {
    Reason = std::string(AxisName(Axis)) + " " + Quoted(text) + " does not read";
    return false;
  }
  // The limit as the reader makes it of the text "90" or "180".
  if (!(std::fabs(radians) <= AxisLimit(Axis) * DegToRad)) {
    Reason = BeyondReason(Axis, text);
    return false;
  }
  Radians = radians;
  return true;
}

ImportCollector::ImportCollector(ExchangeFormat Format, const ImportSettings& Settings,
                                 const TFixDB& Into)
    : settings_(Settings),
      names_(Into),
      room_(static_cast<std::uint32_t>(MaxFixes - std::min(Into.Count(), MaxFixes))) {
  result_.format = Format;
}

void ImportCollector::Take(const EntryPlace& Place, std::string_view Name, const TTriV& Position) {
  const std::uint32_t ordinal = ++ordinal_;
  if (result_.fixes.size() >= room_) {
    ++result_.beyondRoom;
    return;
  }
  const std::string valid = ValidFixName(Name, ordinal);
  const std::string name = names_.Claim(valid);
  FixRecord fix;
  fix.Position = Position;
  fix.Name = name;
  fix.Valid = true;
  result_.fixes.push_back(fix);
  if (name == Name) return;
  RenameReason reason = RenameReason::Changed;
  if (name != valid) {
    reason = RenameReason::InUse;
  } else if (TrimmedView(Name).empty()) {
    reason = RenameReason::Unnamed;
  } else if (OnlyCapitals(Name, name)) {
    reason = RenameReason::Capitals;
  }
  renamed_.push_back({Place, AsCp1252(Name, true), name, reason});
}

void ImportCollector::Refuse(const EntryPlace& Place, std::string Reason) {
  ++ordinal_;
  refused_.push_back({Place, std::move(Reason)});
}

ImportResult ImportCollector::Fail(std::string Failure) {
  ImportResult failed;
  failed.format = result_.format;
  failed.failure = std::move(Failure);
  return failed;
}

ImportResult ImportCollector::Finish(
    const std::function<std::string(const EntryPlace&)>& PlaceText) {
  for (Renamed& entry : renamed_) {
    result_.renamed.push_back(
        {PlaceText(entry.place), std::move(entry.original), std::move(entry.name), entry.reason});
  }
  for (Refused& entry : refused_) {
    result_.refused.push_back({PlaceText(entry.place), std::move(entry.reason)});
  }
  return std::move(result_);
}

}  // namespace exchange

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string_view WithoutByteOrderMark(std::string_view Text) {
  if (Text.substr(0, ByteOrderMark.size()) == ByteOrderMark) Text.remove_prefix(ByteOrderMark.size());
  return Text;
}

// The extension of FileName in small letters, without the ".".
std::string Extension(std::string_view FileName) {
  const std::size_t slash = FileName.find_last_of('/');
  const std::size_t dot = FileName.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  std::string extension(FileName.substr(dot + 1));
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension;
}

std::optional<ExchangeFormat> FormatOfExtension(std::string_view FileName) {
  const std::string extension = Extension(FileName);
  if (extension == "gpx") return ExchangeFormat::Gpx;
  if (extension == "csv") return ExchangeFormat::Csv;
  if (extension == "geojson" || extension == "json") return ExchangeFormat::GeoJson;
  return std::nullopt;
}

std::string Counted(std::size_t Count, const char* Singular, const char* Plural) {
  return std::to_string(Count) + " " + (Count == 1 ? Singular : Plural);
}

}  // namespace

const char* ExchangeFormatName(ExchangeFormat Format) {
  switch (Format) {
    case ExchangeFormat::Gpx: return "GPX";
    case ExchangeFormat::Csv: return "CSV";
    case ExchangeFormat::GeoJson: return "GeoJSON";
    case ExchangeFormat::FixLines: break;
  }
  return "fix lines";
}

ExchangeFormat DetectFormat(std::string_view Text, std::string_view FileName) {
  Text = WithoutByteOrderMark(Text);
  const std::size_t first = Text.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos) {
    if (Text[first] == '<') return ExchangeFormat::Gpx;
    if (Text[first] == '{' || Text[first] == '[') return ExchangeFormat::GeoJson;
  }
  char separator = ',';
  if (exchange::FindCsvHeader(Text, separator)) return ExchangeFormat::Csv;
  return FormatOfExtension(FileName).value_or(ExchangeFormat::FixLines);
}

ImportResult ImportFixText(std::string_view Text, const ImportSettings& Settings,
                           const TFixDB& Into, std::string_view FileName) {
  const ExchangeFormat format = DetectFormat(Text, FileName);
  exchange::ImportCollector collector(format, Settings, Into);
  const std::string prefix = std::string(ExchangeFormatName(format)) + ": ";
  if (Text.size() > MaxImportFileSize) {
    return collector.Fail(prefix + "the text is " + TooLargeReason(MaxImportFileSize));
  }
  Text = WithoutByteOrderMark(Text);
  try {
    switch (format) {
      case ExchangeFormat::Gpx: return exchange::ImportGpx(Text, collector);
      case ExchangeFormat::Csv: return exchange::ImportCsv(Text, collector);
      case ExchangeFormat::GeoJson: return exchange::ImportGeoJson(Text, collector);
      case ExchangeFormat::FixLines: return exchange::ImportFixLines(Text, collector);
    }
  } catch (const std::exception& failure) {
    // Only a lack of memory gets here; the readers report bad input.
    return collector.Fail(prefix + failure.what());
  }
  return collector.Fail(prefix + "unknown format");
}

ImportResult ImportFixFile(const std::string& FileName, const ImportSettings& Settings,
                           const TFixDB& Into, const TFileSystemCalls& Calls) {
  std::string text;
  try {
    // Lines of any length, joined by LF: every format reads a line end so.
    TLineReader reader(FileName, MaxImportFileSize, Calls, MaxImportFileSize);
    std::string line;
    while (reader.ReadLine(line)) {
      text += line;
      text += '\n';
    }
  } catch (const std::exception& failure) {
    ImportResult failed;
    failed.format = FormatOfExtension(FileName).value_or(ExchangeFormat::FixLines);
    failed.failure = failure.what();
    return failed;
  }
  return ImportFixText(text, Settings, Into, FileName);
}

std::vector<std::string> ImportReportLines(const ImportResult& Result) {
  const std::string format = ExchangeFormatName(Result.format);
  if (!Result.failure.empty()) return {Result.failure, "No fixes imported"};
  std::size_t capitals = 0;
  for (const RenamedEntry& entry : Result.renamed) capitals += entry.reason == RenameReason::Capitals;
  std::string summary = format + ": " + Counted(Result.fixes.size(), "fix", "fixes") + " imported";
  if (Result.renamed.size() > capitals) {
    summary += ", " + std::to_string(Result.renamed.size() - capitals) + " renamed";
  }
  if (!Result.refused.empty()) summary += ", " + std::to_string(Result.refused.size()) + " refused";
  std::vector<std::string> lines{summary};
  if (capitals > 0) lines.push_back(Counted(capitals, "name", "names") + " only put in capitals");
  for (const RenamedEntry& entry : Result.renamed) {
    const std::string original = exchange::Quoted(entry.original);
    switch (entry.reason) {
      case RenameReason::Capitals: break;
      case RenameReason::Changed:
        lines.push_back(entry.place + ": " + original + " renamed " + entry.name);
        break;
      case RenameReason::Unnamed:
        lines.push_back(entry.place + ": no name, named " + entry.name);
        break;
      case RenameReason::InUse:
        lines.push_back(entry.place + ": " + original + " renamed " + entry.name +
                        ", the name was in use");
        break;
    }
  }
  for (const RefusedEntry& entry : Result.refused) {
    lines.push_back(entry.place + ": refused, " + entry.reason);
  }
  if (Result.beyondRoom > 0) {
    lines.push_back(Counted(Result.beyondRoom, "entry", "entries") +
                    " not imported: the fix database holds at most " + std::to_string(MaxFixes) +
                    " fixes");
  }
  if (Result.trackPoints > 0) {
    lines.push_back(Counted(Result.trackPoints, "track point", "track points") +
                    " not imported: only waypoints and route points become fixes");
  }
  return lines;
}

std::optional<ExchangeFormat> ExportFormatOf(std::string_view FileName) {
  return FormatOfExtension(FileName);
}

std::string ExportFixText(const TFixDB& Fixes, ExchangeFormat Format, const TEarthModel& Earth) {
  std::string text;
  switch (Format) {
    case ExchangeFormat::Gpx: exchange::ExportGpx(Fixes, Earth, text); break;
    case ExchangeFormat::Csv: exchange::ExportCsv(Fixes, Earth, text); break;
    case ExchangeFormat::GeoJson: exchange::ExportGeoJson(Fixes, Earth, text); break;
    case ExchangeFormat::FixLines: break;
  }
  return text;
}

TCommitResult ExportFixFile(const std::string& FileName, const TFixDB& Fixes,
                            ExchangeFormat Format, const TEarthModel& Earth,
                            const TFileSystemCalls& Calls, const TKeepOld& Keep) {
  TAtomicFile file(FileName, Calls, Keep);
  file.Write(ExportFixText(Fixes, Format, Earth));
  return file.Commit();
}

}  // namespace navorix
