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

ImportSettings ImportSettingsOf(const ProgramSettings& settings) {
  ImportSettings import;
  import.earth = settings.earth;
  import.plusDir = settings.display.plusDir;
  return import;
}

}  // namespace

bool Workbench::TakeImport(ImportResult& result, int pos) {
  if (!result.fixes.empty()) {
    int at = std::clamp(pos, 1, fixes_.Count() + 1);
    const int first = at;
    // The import left room for every fix it kept.
    for (const FixRecord& fix : result.fixes) fixes_.Insert(fix, static_cast<std::uint16_t>(at++));
    MarkUnsaved(StatusFiles::FixFile);
    RebuildFixList(first);
  }
  if (observers_.messages != nullptr) observers_.messages->ShowEntryReport(ImportReportLines(result));
  return result.Complete();
}

bool Workbench::ImportFixes(const std::string& fileName, bool clearFirst, ImportResult& result) {
  // With clearFirst the names need not differ from those about to go; the
  // database is cleared only once the file was read, so that a file that
  // cannot be read loses nothing.
  const FixDatabase none;
  result = ImportFixFile(fileName, ImportSettingsOf(settings_), clearFirst ? none : fixes_, calls_);
  if (clearFirst && result.failure.empty()) ClearFixes();
  return TakeImport(result, fixes_.Count() + 1);
}

bool Workbench::PasteFixes(std::string_view text, ImportResult& result) {
  result = ImportFixText(text, ImportSettingsOf(settings_), fixes_);
  return TakeImport(result, currentRow_ + 2);
}

bool Workbench::ExportFixes(const std::string& fileName) {
  const std::optional<ExchangeFormat> format = ExportFormatOf(fileName);
  if (!format) {
    std::string extension = fileName.substr(std::min(fileName.find_last_of('.'), fileName.size()));
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (extension == ".fix") return SaveFixFile(fileName);
    ShowError("Cannot write " + FileBaseName(fileName) +
              ": the name must end in .gpx, .csv, .geojson or .fix");
    return false;
  }
  try {
    ExportFixFile(fileName, fixes_, *format, settings_.earth, calls_);
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return false;
  }
  return true;
}

std::string Workbench::ShownRecordText() const {
  if (shownRecord_ == 0) return {};
  std::string text;
  for (int line = 1; line <= 3; ++line) {
    text += log_.GetLine(shownRecord_, line);
    text += '\n';
  }
  return text;
}

std::string Workbench::CurrentFixLine() const {
  const std::uint16_t pos = CurrentPos();
  if (pos == 0) return {};
  const FixRecord fix = fixes_.Get(pos);
  if (!fix.valid) return {};
  return FixFileLine(settings_.display, settings_.earth, fix);
}

}  // namespace navorix
