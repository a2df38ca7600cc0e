// The workbench's side of importing, exporting and the clipboard: the
// stores read and write the formats; here the fixes find their rows and the
// report is shown.
#include <algorithm>
#include <exception>

#include "stores/fix_exchange.h"
#include "stores/line_reader.h"
#include "text/format.h"
#include "workbench/workbench.h"

namespace navorix {

namespace {

ImportSettings ImportSettingsOf(const TSettings& Settings) {
  ImportSettings import;
  import.earth = Settings.Earth;
  import.plusDir = Settings.Display.PlusDir;
  return import;
}

}  // namespace

bool TWorkbench::TakeImport(ImportResult& Result, int Pos) {
  if (!Result.fixes.empty()) {
    int at = std::clamp(Pos, 1, fixes_.Count() + 1);
    const int first = at;
    // The import left room for every fix it kept.
    for (const FixRecord& fix : Result.fixes) fixes_.Insert(fix, static_cast<std::uint16_t>(at++));
    MarkUnsaved(TStatusFiles::FixFile);
    RebuildFixList(first);
  }
  if (observers_.Messages != nullptr) observers_.Messages->ShowEntryReport(ImportReportLines(Result));
  return Result.Complete();
}

bool TWorkbench::ImportFixes(const std::string& FileName, bool ClearFirst, ImportResult& Result) {
  // With ClearFirst the names need not differ from those about to go; the
  // database is cleared only once the file was read, so that a file that
  // cannot be read loses nothing.
  const TFixDB none;
  Result = ImportFixFile(FileName, ImportSettingsOf(settings_), ClearFirst ? none : fixes_, calls_);
  if (ClearFirst && Result.failure.empty()) ClearFixes();
  return TakeImport(Result, fixes_.Count() + 1);
}

bool TWorkbench::PasteFixes(std::string_view Text, ImportResult& Result) {
  Result = ImportFixText(Text, ImportSettingsOf(settings_), fixes_);
  return TakeImport(Result, currentRow_ + 2);
}

bool TWorkbench::ExportFixes(const std::string& FileName) {
  const std::optional<ExchangeFormat> format = ExportFormatOf(FileName);
  if (!format) {
    std::string extension = FileName.substr(std::min(FileName.find_last_of('.'), FileName.size()));
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (extension == ".fix") return SaveFixFile(FileName);
    ShowError("Cannot write " + FileBaseName(FileName) +
              ": the name must end in .gpx, .csv, .geojson or .fix");
    return false;
  }
  try {
    ExportFixFile(FileName, fixes_, *format, settings_.Earth, calls_);
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return false;
  }
  return true;
}

std::string TWorkbench::ShownRecordText() const {
  if (shownRecord_ == 0) return {};
  std::string text;
  for (int line = 1; line <= 3; ++line) {
    text += log_.GetLine(shownRecord_, line);
    text += '\n';
  }
  return text;
}

std::string TWorkbench::CurrentFixLine() const {
  const std::uint16_t pos = CurrentPos();
  if (pos == 0) return {};
  const FixRecord fix = fixes_.Get(pos);
  if (!fix.Valid) return {};
  return FixFileLine(settings_.Display, settings_.Earth, fix);
}

}  // namespace navorix
