// The workbench (notation in workbench.h).
#include "workbench/workbench.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <utility>

#include "geometry/error.h"
#include "operations/dispatch.h"
#include "operations/executors.h"
#include "operations/operand_source.h"
#include "stores/atomic_file.h"
#include "stores/line_reader.h"
#include "text/fix_names.h"
#include "text/format.h"
#include "text/parse.h"
#include "text/text_helpers.h"
#include "workbench/texts.h"

namespace navorix {

Workbench::Workbench(AppData paths, const FileSystemCalls& calls)
    : paths_(std::move(paths)), calls_(calls), status_(paths_) {
  lastPanel_ = FixPanel();
}

void Workbench::Attach(const Observers& observers) {
  observers_ = observers;
  lastPanel_ = FixPanel();
}

// ------------------------------------------------------------ state for views

std::string Workbench::RowText(int row) const {
  if (row < 0 || row >= fixes_.Count()) return {};
  return FixText(settings_.display, settings_.earth, fixes_.Get(static_cast<std::uint16_t>(row + 1)));
}

std::uint16_t Workbench::CurrentPos() const {
  return currentRow_ < fixes_.Count() ? static_cast<std::uint16_t>(currentRow_ + 1) : 0;
}

FixPanelState Workbench::FixPanel() const {
  const int r = currentRow_;
  const int n = RowCount();
  FixPanelState panel;
  panel.counter = "N = " + std::to_string(fixes_.Count());
  panel.buttons.up = r != 0 && r + 1 != n;
  panel.buttons.down = r + 2 != n && r + 1 != n;
  panel.buttons.remove = r + 1 != n;
  panel.buttons.edit = r + 1 != n;
  panel.buttons.undelete = deleted_.valid;
  return panel;
}

LogDisplayState Workbench::LogDisplay() const {
  LogDisplayState display;
  if (shownRecord_ != 0) {
    display.line1 = log_.GetLine(shownRecord_, 1);
    display.line2 = log_.GetLine(shownRecord_, 2);
    display.line3 = log_.GetLine(shownRecord_, 3);
  }
  display.number = std::to_string(shownRecord_);
  display.previousEnabled = shownRecord_ > 1;
  display.nextEnabled = shownRecord_ < log_.Count();
  return display;
}

// ----------------------------------------------------------- announcements

void Workbench::SetNextFix(bool enabled) {
  if (nextFix_ == enabled) return;
  nextFix_ = enabled;
  if (observers_.nextFix != nullptr) observers_.nextFix->NextFixChanged(enabled);
}

void Workbench::PanelChanged() {
  const FixPanelState panel = FixPanel();
  if (panel == lastPanel_) return;
  lastPanel_ = panel;
  if (observers_.fixPanel != nullptr) observers_.fixPanel->FixPanelChanged(panel);
}

void Workbench::SetCurrentRow(int row) {
  currentRow_ = row < 0 || row > fixes_.Count() ? fixes_.Count() : row;
  if (observers_.fixList != nullptr) observers_.fixList->CurrentRowChanged(currentRow_);
  PanelChanged();
  ChartChanged();
}

void Workbench::ChartChanged() {
  if (observers_.chart != nullptr) observers_.chart->ChartChanged();
}

Figure Workbench::ShownFigure() const { return figures_.Of(log_, shownRecord_, fixes_, settings_.earth); }

void Workbench::OptionsChanged() {
  MarkUnsaved(StatusFiles::SettingsFile);
  if (observers_.options != nullptr) observers_.options->OptionsChanged(settings_);
  ChartChanged();
}

void Workbench::ShowError(const std::string& message) {
  if (observers_.messages != nullptr) observers_.messages->ShowError(message);
}

void Workbench::PlaySound(Sound sound, bool wait) {
  if (!settings_.interface.sound) return;
  if (observers_.messages != nullptr) observers_.messages->PlaySound(sound, wait);
}

// ------------------------------------------------------------- the fix list

void Workbench::RebuildFixList(int row) {
  if (row == 0) row = currentRow_ + 1;
  if (observers_.fixList != nullptr) observers_.fixList->RowsReset();
  SetCurrentRow(fixes_.Count() < row ? 0 : row - 1);
}

void Workbench::ClearFixes() {
  if (fixes_.Count() != 0) MarkUnsaved(StatusFiles::FixFile);
  fixes_.Clear();
  deleted_ = FixRecord{};
  if (observers_.fixList != nullptr) observers_.fixList->RowsReset();
  SetCurrentRow(0);
}

void Workbench::AddFix(const FixRecord& fix) {
  fixes_.Add(fix);
  MarkUnsaved(StatusFiles::FixFile);
  const int row = fixes_.Count() - 1;
  if (observers_.fixList != nullptr) observers_.fixList->RowInserted(row);
  SetCurrentRow(row);
}

void Workbench::InsertFix(const FixRecord& fix, int pos) {
  // The row follows the database's reading of an out-of-range position.
  const int row = std::clamp(pos, 1, fixes_.Count() + 1) - 1;
  fixes_.Insert(fix, static_cast<std::uint16_t>(row + 1));
  MarkUnsaved(StatusFiles::FixFile);
  if (observers_.fixList != nullptr) observers_.fixList->RowInserted(row);
  SetCurrentRow(row);
}

void Workbench::ReplaceFix(const FixRecord& fix, std::uint16_t pos) {
  if (pos < 1 || pos > fixes_.Count()) return;
  fixes_.Replace(fix, pos);
  MarkUnsaved(StatusFiles::FixFile);
  if (observers_.fixList != nullptr) observers_.fixList->RowChanged(pos - 1);
  SetCurrentRow(pos - 1);
}

void Workbench::SelectRow(int row) { SetCurrentRow(row); }

void Workbench::DeleteFix() {
  const std::uint16_t pos = CurrentPos();
  if (pos == 0) return;
  deleted_ = fixes_.Get(pos);
  fixes_.Delete(pos);
  MarkUnsaved(StatusFiles::FixFile);
  if (observers_.fixList != nullptr) observers_.fixList->RowRemoved(pos - 1);
  SetCurrentRow(pos - 1);
}

std::string Workbench::DeleteFixQuestion() const {
  const std::uint16_t pos = CurrentPos();
  if (pos == 0) return {};
  return navorix::DeleteFixQuestion(fixes_.Get(pos).name.View());
}

bool Workbench::UndeleteFix() {
  if (!deleted_.valid) return false;
  try {
    InsertFix(deleted_, currentRow_ + 1);
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return false;
  }
  deleted_ = FixRecord{};
  PanelChanged();
  return true;
}

bool Workbench::MoveFixUp() {
  const std::uint16_t pos = CurrentPos();
  if (!fixes_.MoveUp(pos)) return false;
  MarkUnsaved(StatusFiles::FixFile);
  if (observers_.fixList != nullptr) observers_.fixList->RowsSwapped(pos - 2);
  SetCurrentRow(pos - 2);
  return true;
}

bool Workbench::MoveFixDown() {
  const std::uint16_t pos = CurrentPos();
  if (pos == 0 || !fixes_.MoveDown(pos)) return false;
  MarkUnsaved(StatusFiles::FixFile);
  if (observers_.fixList != nullptr) observers_.fixList->RowsSwapped(pos - 1);
  SetCurrentRow(pos);
  return true;
}

void Workbench::SortFixes(SortOrder order) {
  if (fixes_.Count() < 2) return;
  const std::uint16_t current = CurrentPos();
  if (current == 0 && order == SortOrder::ByDistance) return;
  const Vector3 reference = current != 0 ? fixes_.Get(current).position : Vector3{};
  fixes_.Sort(order, reference);
  MarkUnsaved(StatusFiles::FixFile);
  RebuildFixList(1);
}

SearchStep Workbench::TypeAhead(char typed, bool panelShown) {
  SearchStep step;
  if (fixes_.Count() == 0) return step;
  const char c = ToCapital(typed);
  const bool letter = (c >= 'A' && c <= 'Z') || c == '/';
  const bool digit = c >= '0' && c <= '9';
  if (!letter && !(digit && panelShown)) return step;

  std::uint16_t start = 1;
  if (panelShown) {
    if (searchText_.size() < MaxSearchLength) searchText_ += c;
    start = searchHit_;
  } else {
    searchText_.assign(1, c);
  }
  searchHit_ = fixes_.FindPrefix(searchText_, start);
  step.consumed = true;
  step.intervalMs = SearchHitMs;
  if (searchHit_ != 0) {
    SetCurrentRow(searchHit_ - 1);
  } else {
    searchText_.pop_back();
    PlaySound(Sound::Error, false);
    step.intervalMs = SearchMissMs;
    searchHit_ = static_cast<std::uint16_t>(std::min(currentRow_ + 1, static_cast<int>(MaxFixes)));
  }
  step.showPanel = searchText_.size() == 1;
  step.text = searchText_;
  return step;
}

// ------------------------------------------------------------- operations

RunResult Workbench::RunOperation(OperationTag op, OperandSource& source) {
  try {
    const Executors executors(fixes_, settings_.display, settings_.earth, chain_);
    std::optional<OperationResult> result = Dispatch(op, source, executors, nextFix_);
    if (!result) return RunResult::Cancelled;
    LogResult(result->line1, result->line2, result->line3,
              result->proposal ? std::optional<Vector3>(result->proposal->position) : std::nullopt);
    if (result->chain) {
      SetNextFix(true);
      chain_ = *result->chain;
    }
    if (result->proposal) pending_ = *result->proposal;
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return RunResult::Failed;
  }
  return RunResult::Logged;
}

// -------------------------------------------------------------------- log

void Workbench::ShowLogRecord(std::uint16_t record) {
  shownRecord_ = std::min(record, log_.Count());
  if (observers_.log != nullptr) observers_.log->LogShown(LogDisplay());
  ChartChanged();
}

void Workbench::LogResult(std::string_view line1, std::string_view line2, std::string_view line3,
                          const std::optional<Vector3>& proposed) {
  PlaySound(Sound::Done, false);
  log_.Add(SquashBlanks(line1, false), SquashBlanks(line2, false), SquashBlanks(line3, false));
  figures_.Logged(log_, fixes_, settings_.earth, proposed);
  MarkUnsaved(StatusFiles::HistoryFile);
  ShowLogRecord(log_.Count());
}

void Workbench::ShowPreviousRecord() {
  if (shownRecord_ < 2) return;
  ShowLogRecord(static_cast<std::uint16_t>(shownRecord_ - 1));
}

void Workbench::ShowNextRecord() {
  if (shownRecord_ >= log_.Count()) return;
  ShowLogRecord(static_cast<std::uint16_t>(shownRecord_ + 1));
}

void Workbench::DeleteShownRecord() {
  if (log_.Count() == 0) return;
  log_.Delete(shownRecord_);
  figures_.Deleted(shownRecord_);
  MarkUnsaved(StatusFiles::HistoryFile);
  ShowLogRecord(std::min(shownRecord_, log_.Count()));
}

std::string Workbench::DeleteRecordQuestion() const {
  if (log_.Count() == 0) return {};
  return navorix::DeleteRecordQuestion(shownRecord_);
}

std::string Workbench::ClearLogQuestion() const { return log_.Count() != 0 ? question::ClearLog : ""; }

std::string Workbench::ClearFixesQuestion() const { return fixes_.Count() != 0 ? question::ClearFixes : ""; }

std::string Workbench::ClearAllQuestion() const {
  return fixes_.Count() != 0 || log_.Count() != 0 ? question::ClearAll : "";
}

void Workbench::ClearLog() {
  if (log_.Count() != 0) MarkUnsaved(StatusFiles::HistoryFile);
  log_.Clear();
  figures_.Cleared();
  ShowLogRecord(0);
  SetNextFix(false);
}

void Workbench::ClearAll() {
  ClearFixes();
  ClearLog();
}

// ---------------------------------------------------------------- options

void Workbench::SetDisplayOption(DisplayOption option, int value) {
  const DisplayOptionInfo& info = OptionInfo(option);
  if (value < 0 || value >= info.count) return;
  info.set(settings_.display, value);
  OptionsChanged();
  switch (info.effect) {
    case OptionEffect::None:
      break;
    case OptionEffect::Rows:
      RebuildFixList(0);
      break;
    case OptionEffect::NextFixOn:
      SetNextFix(settings_.display.distUnits != DistUnits::Degrees);
      break;
  }
}

void Workbench::SetSound(bool on) {
  settings_.interface.sound = on;
  OptionsChanged();
}

void Workbench::SetHints(bool on) {
  settings_.interface.hints = on;
  OptionsChanged();
}

void Workbench::ToggleEllipticLat() {
  settings_.earth.ellipticLat = !settings_.earth.ellipticLat;
  OptionsChanged();
  SetNextFix(false);
  // Every fix keeps the latitude and longitude it showed, so the rows stay
  // as they are; what moves is the position on the Earth model.
  for (std::uint32_t pos = 1; pos <= fixes_.Count(); ++pos) {
    FixRecord fix = fixes_.Get(static_cast<std::uint16_t>(pos));
    if (!fix.valid) continue;
    RebuildPos(settings_.earth, fix.position);
    fixes_.Replace(fix, static_cast<std::uint16_t>(pos));
  }
  ChartChanged();
}

void Workbench::ToggleEllipticArc() {
  settings_.earth.ellipticArc = !settings_.earth.ellipticArc;
  OptionsChanged();
  SetNextFix(false);
}

void Workbench::ToggleGeoDistance() {
  settings_.earth.geoDistance = !settings_.earth.geoDistance;
  OptionsChanged();
  SetNextFix(false);
}

}  // namespace navorix
