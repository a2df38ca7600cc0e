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

void Workbench::ShowReport(const std::vector<std::string>& lines) {
  if (lines.empty() || observers_.messages == nullptr) return;
  observers_.messages->ShowReport(ReportShown(lines));
}

bool Workbench::LoadFixFile(const std::string& fileName, bool clearFirst) {
  LoadReport report;
  return LoadFixFile(fileName, clearFirst, report);
}

LoadReport Workbench::ReadFixFile(const std::string& fileName, bool clearFirst, bool& opened) {
  if (clearFirst) ClearFixes();
  const std::uint16_t before = fixes_.Count();
  LoadReport report;
  opened = true;
  try {
    fixes_.LoadFromFile(fileName, settings_.display.plusDir, settings_.earth, report, calls_);
  } catch (const std::exception& failure) {
    report = LoadReport{};
    report.failure = failure.what();
    opened = false;
  }
  if (fixes_.Count() != before) MarkUnsaved(StatusFiles::FixFile);
  RebuildFixList(1);
  return report;
}

bool Workbench::LoadFixFile(const std::string& fileName, bool clearFirst, LoadReport& report) {
  bool opened = false;
  report = ReadFixFile(fileName, clearFirst, opened);
  // What was not taken is said, so that the user knows before a save makes
  // the loss permanent.
  ShowReport(LoadReportLines(report));
  return opened;
}

bool Workbench::Confirm(const std::string& question) {
  return observers_.messages != nullptr && observers_.messages->Ask(question, Buttons::YesNo) == Answer::Yes;
}

StatusFiles::SaveResult Workbench::SaveStatusFile(int index, const StatusFiles::WriteFunction& write) {
  std::string failure;
  const StatusFiles::SaveResult result = status_.Save(
      index, write, [this](const std::string& question) { return Confirm(question); }, failure);
  if (result == StatusFiles::SaveResult::Failed) ShowError(failure);
  return result;
}

bool Workbench::SaveFixFile(const std::string& fileName) {
  const auto save = [this](const std::string& name, const KeepOld& keep) {
    fixes_.SaveToFile(name, settings_.display, settings_.earth, calls_, keep);
  };
  // The status fix file is saved as Save Status saves it, whatever name led
  // to it: it must not lose what it holds that was not read, and saving it
  // is no change by another program.
  if (status_.IsStatusFixFile(fileName)) {
    return SaveStatusFile(StatusFiles::FixFile, save) == StatusFiles::SaveResult::Saved;
  }
  try {
    save(fileName, KeepOld{});
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return false;
  }
  if (status_.IsStatusFixFile(fileName)) status_.FixFileSaved();
  return true;
}

bool Workbench::ReadSettingsFile(const std::string& fileName, std::vector<std::string>& report) {
  ProfileFile ini(fileName, calls_);
  try {
    ini.Load();
  } catch (const std::exception& failure) {
    // Nothing was read: every setting keeps its value.
    report.emplace_back(failure.what());
    return false;
  }
  const DisplayOptions before = settings_.display;
  for (std::string& refused : ReadSettings(ini, settings_)) report.push_back(std::move(refused));
  OptionsChanged();
  SetNextFix(settings_.display.distUnits != DistUnits::Degrees);
  if (settings_.display.latLonFormat != before.latLonFormat ||
      settings_.display.precision != before.precision) {
    RebuildFixList(0);
  }
  return true;
}

bool Workbench::LoadSettingsFile(const std::string& fileName) {
  std::vector<std::string> report;
  const bool read = ReadSettingsFile(fileName, report);
  ShowReport(report);
  return read && std::find(report.begin(), report.end(), msg::BadEarthRadii) == report.end();
}

void Workbench::LoadStatus() {
  ClearFixes();
  ClearLog();
  // Everything that was not taken goes into one report, shown at the end.
  std::vector<std::string> report;
  status_.StartReading(StatusFiles::SettingsFile);
  // A refused value stays in the file and the file is merged as always:
  // nothing of it is lost.
  status_.SetIncomplete(StatusFiles::SettingsFile,
                        !ReadSettingsFile(status_.FileName(StatusFiles::SettingsFile), report));

  status_.StartReading(StatusFiles::FixFile);
  if (status_.MayBeThere(StatusFiles::FixFile)) {
    bool opened = false;
    const LoadReport loaded = ReadFixFile(status_.FileName(StatusFiles::FixFile), false, opened);
    const std::vector<std::string> lines = LoadReportLines(loaded);
    report.insert(report.end(), lines.begin(), lines.end());
    status_.SetIncomplete(StatusFiles::FixFile, !loaded.Complete());
  }

  const std::string oldHistory = paths_.dataDir + OldHistoryFileName;
  const std::string history = status_.FileName(StatusFiles::HistoryFile);
  // A failed rename (the history file exists) is no failure: the old file
  // simply stays.
  if (StampOf(oldHistory).exists) (void)RenameNoReplace(oldHistory, history);
  status_.StartReading(StatusFiles::HistoryFile);
  if (status_.MayBeThere(StatusFiles::HistoryFile)) {
    LoadReport loaded;
    try {
      log_.LoadFromFile(history, loaded, calls_);
    } catch (const std::exception& failure) {
      loaded.failure = failure.what();
    }
    figures_.Reread(log_);
    ShowLogRecord(log_.Count());
    status_.SetIncomplete(StatusFiles::HistoryFile, !loaded.Complete());
    const std::vector<std::string> lines = LoadReportLines(loaded);
    report.insert(report.end(), lines.begin(), lines.end());
  }
  // A second copy of the program on the same data is told so once, and
  // saving asks before it replaces what the first copy keeps.
  if (status_.TakeLock()) report.emplace_back(msg::DataDirInUse);
  status_.FinishLoading();
  ShowReport(report);
}

std::string Workbench::ReloadStatusQuestion() const {
  return status_.AnyUnsaved() ? question::ReloadStatus : "";
}

bool Workbench::SaveStatusFiles(bool& declined) {
  status_.MakeDirectories();
  (void)status_.TakeLock();
  // Each file is attempted: a settings file that cannot be written must not
  // cost the user the fixes and the log.
  const StatusFiles::SaveResult results[] = {
      SaveStatusFile(StatusFiles::SettingsFile,
                     [this](const std::string& name, const KeepOld& keep) {
                       // A settings file that could not be read is written
                       // anew only after the user agreed: merging is
                       // impossible then.
                       if (status_.Incomplete(StatusFiles::SettingsFile)) {
                         ProfileFile fresh(name, calls_);
                         SaveSettings(fresh, settings_, keep);
                       } else {
                         SaveSettings(name, settings_, calls_, keep);
                       }
                     }),
      SaveStatusFile(StatusFiles::FixFile,
                     [this](const std::string& name, const KeepOld& keep) {
                       fixes_.SaveToFile(name, settings_.display, settings_.earth, calls_, keep);
                     }),
      SaveStatusFile(StatusFiles::HistoryFile, [this](const std::string& name, const KeepOld& keep) {
        log_.SaveToFile(name, calls_, keep);
      })};
  declined = std::find(std::begin(results), std::end(results), StatusFiles::SaveResult::Declined) !=
             std::end(results);
  return std::all_of(std::begin(results), std::end(results),
                     [](StatusFiles::SaveResult result) { return result == StatusFiles::SaveResult::Saved; });
}

bool Workbench::SaveStatus() {
  bool declined = false;
  return SaveStatusFiles(declined);
}

bool Workbench::SaveStatusToLeave() {
  bool declined = false;
  if (SaveStatusFiles(declined)) return true;
  if (declined) ShowError(msg::NotLeaving);
  return false;
}

}  // namespace navorix
