// The workbench's file commands: fix files, settings files and the status
// (notation in workbench.h). Whether and how a status file may be replaced
// is the status files' business (status_files.h).
#include "workbench/workbench.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <utility>

#include "stores/profile_file.h"
#include "workbench/texts.h"

namespace navorix {

void TWorkbench::ShowReport(const std::vector<std::string>& Lines) {
  if (Lines.empty() || observers_.Messages == nullptr) return;
  observers_.Messages->ShowReport(ReportShown(Lines));
}

bool TWorkbench::LoadFixFile(const std::string& FileName, bool ClearFirst) {
  TLoadReport report;
  return LoadFixFile(FileName, ClearFirst, report);
}

TLoadReport TWorkbench::ReadFixFile(const std::string& FileName, bool ClearFirst, bool& Opened) {
  if (ClearFirst) ClearFixes();
  const std::uint16_t before = fixes_.Count();
  TLoadReport report;
  Opened = true;
  try {
    fixes_.LoadFromFile(FileName, settings_.Display.PlusDir, settings_.Earth, report, calls_);
  } catch (const std::exception& failure) {
    report = TLoadReport{};
    report.Failure = failure.what();
    Opened = false;
  }
  if (fixes_.Count() != before) MarkUnsaved(TStatusFiles::FixFile);
  RebuildFixList(1);
  return report;
}

bool TWorkbench::LoadFixFile(const std::string& FileName, bool ClearFirst, TLoadReport& Report) {
  bool opened = false;
  Report = ReadFixFile(FileName, ClearFirst, opened);
  // What was not taken is said, so that the user knows before a save makes
  // the loss permanent.
  ShowReport(LoadReportLines(Report));
  return opened;
}

bool TWorkbench::Confirm(const std::string& Question) {
  return observers_.Messages != nullptr &&
         observers_.Messages->Ask(Question, TButtons::YesNo) == TAnswer::Yes;
}

TStatusFiles::TSaveResult TWorkbench::SaveStatusFile(int Index, const TStatusFiles::TWrite& Write) {
  std::string failure;
  const TStatusFiles::TSaveResult result =
      status_.Save(Index, Write, [this](const std::string& Question) { return Confirm(Question); },
                   failure);
  if (result == TStatusFiles::TSaveResult::Failed) ShowError(failure);
  return result;
}

bool TWorkbench::SaveFixFile(const std::string& FileName) {
  const auto save = [this](const std::string& Name, const TKeepOld& Keep) {
    fixes_.SaveToFile(Name, settings_.Display, settings_.Earth, calls_, Keep);
  };
  // The status fix file is saved as Save Status saves it, whatever name led
  // to it: it must not lose what it holds that was not read, and saving it
  // is no change by another program.
  if (status_.IsStatusFixFile(FileName)) {
    return SaveStatusFile(TStatusFiles::FixFile, save) == TStatusFiles::TSaveResult::Saved;
  }
  try {
    save(FileName, TKeepOld{});
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return false;
  }
  if (status_.IsStatusFixFile(FileName)) status_.FixFileSaved();
  return true;
}

bool TWorkbench::ReadSettingsFile(const std::string& FileName, std::vector<std::string>& Report) {
  TProfileFile ini(FileName, calls_);
  try {
    ini.Load();
  } catch (const std::exception& failure) {
    // Nothing was read: every setting keeps its value.
    Report.emplace_back(failure.what());
    return false;
  }
  const TDisplayOptions before = settings_.Display;
  for (std::string& refused : ReadSettings(ini, settings_)) Report.push_back(std::move(refused));
  OptionsChanged();
  SetNextFix(settings_.Display.DistUnits != TDistUnits::Degrees);
  if (settings_.Display.LatLonFormat != before.LatLonFormat ||
      settings_.Display.Precision != before.Precision) {
    RebuildFixList(0);
  }
  return true;
}

bool TWorkbench::LoadSettingsFile(const std::string& FileName) {
  std::vector<std::string> report;
  const bool read = ReadSettingsFile(FileName, report);
  ShowReport(report);
  return read && std::find(report.begin(), report.end(), msg::BadEarthRadii) == report.end();
}

void TWorkbench::LoadStatus() {
  ClearFixes();
  ClearLog();
  // Everything that was not taken goes into one report, shown at the end.
  std::vector<std::string> report;
  status_.StartReading(TStatusFiles::SettingsFile);
  // A refused value stays in the file and the file is merged as always:
  // nothing of it is lost.
  status_.SetIncomplete(TStatusFiles::SettingsFile,
                        !ReadSettingsFile(status_.FileName(TStatusFiles::SettingsFile), report));

  status_.StartReading(TStatusFiles::FixFile);
  if (status_.MayBeThere(TStatusFiles::FixFile)) {
    bool opened = false;
    const TLoadReport loaded = ReadFixFile(status_.FileName(TStatusFiles::FixFile), false, opened);
    const std::vector<std::string> lines = LoadReportLines(loaded);
    report.insert(report.end(), lines.begin(), lines.end());
    status_.SetIncomplete(TStatusFiles::FixFile, !loaded.Complete());
  }

  const std::string oldHistory = paths_.DataDir + OldHistoryFileName;
  const std::string history = status_.FileName(TStatusFiles::HistoryFile);
  // A failed rename (the history file exists) is no failure: the old file
  // simply stays.
  if (StampOf(oldHistory).Exists) (void)RenameNoReplace(oldHistory, history);
  status_.StartReading(TStatusFiles::HistoryFile);
  if (status_.MayBeThere(TStatusFiles::HistoryFile)) {
    TLoadReport loaded;
    try {
      log_.LoadFromFile(history, loaded, calls_);
    } catch (const std::exception& failure) {
      loaded.Failure = failure.what();
    }
    figures_.Reread(log_);
    ShowLogRecord(log_.Count());
    status_.SetIncomplete(TStatusFiles::HistoryFile, !loaded.Complete());
    const std::vector<std::string> lines = LoadReportLines(loaded);
    report.insert(report.end(), lines.begin(), lines.end());
  }
  // A second copy of the program on the same data is told so once, and
  // saving asks before it replaces what the first copy keeps.
  if (status_.TakeLock()) report.emplace_back(msg::DataDirInUse);
  status_.FinishLoading();
  ShowReport(report);
}

std::string TWorkbench::ReloadStatusQuestion() const {
  return status_.AnyUnsaved() ? question::ReloadStatus : "";
}

bool TWorkbench::SaveStatusFiles(bool& Declined) {
  status_.MakeDirectories();
  (void)status_.TakeLock();
  // Each file is attempted: a settings file that cannot be written must not
  // cost the user the fixes and the log.
  const TStatusFiles::TSaveResult results[] = {
      SaveStatusFile(TStatusFiles::SettingsFile,
                     [this](const std::string& Name, const TKeepOld& Keep) {
                       // A settings file that could not be read is written
                       // anew only after the user agreed: merging is
                       // impossible then.
                       if (status_.Incomplete(TStatusFiles::SettingsFile)) {
                         TProfileFile fresh(Name, calls_);
                         SaveSettings(fresh, settings_, Keep);
                       } else {
                         SaveSettings(Name, settings_, calls_, Keep);
                       }
                     }),
      SaveStatusFile(TStatusFiles::FixFile,
                     [this](const std::string& Name, const TKeepOld& Keep) {
                       fixes_.SaveToFile(Name, settings_.Display, settings_.Earth, calls_, Keep);
                     }),
      SaveStatusFile(TStatusFiles::HistoryFile,
                     [this](const std::string& Name, const TKeepOld& Keep) {
                       log_.SaveToFile(Name, calls_, Keep);
                     })};
  Declined = std::find(std::begin(results), std::end(results),
                       TStatusFiles::TSaveResult::Declined) != std::end(results);
  return std::all_of(std::begin(results), std::end(results), [](TStatusFiles::TSaveResult Result) {
    return Result == TStatusFiles::TSaveResult::Saved;
  });
}

bool TWorkbench::SaveStatus() {
  bool declined = false;
  return SaveStatusFiles(declined);
}

bool TWorkbench::SaveStatusToLeave() {
  bool declined = false;
  if (SaveStatusFiles(declined)) return true;
  if (declined) ShowError(msg::NotLeaving);
  return false;
}

}  // namespace navorix
