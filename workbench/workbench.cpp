// The workbench (notation in workbench.h).
#include "workbench/workbench.h"

#include <algorithm>
#include <iterator>
#include <exception>
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

TWorkbench::TWorkbench(TAppData Paths, const TFileSystemCalls& Calls)
    : paths_(std::move(Paths)), calls_(Calls), status_(paths_) {
  lastPanel_ = FixPanel();
}

void TWorkbench::Attach(const TObservers& Observers) {
  observers_ = Observers;
  lastPanel_ = FixPanel();
}

// ------------------------------------------------------------ state for views

std::string TWorkbench::RowText(int Row) const {
  if (Row < 0 || Row >= fixes_.Count()) return {};
  return FixText(settings_.Display, settings_.Earth,
                 fixes_.Get(static_cast<std::uint16_t>(Row + 1)));
}

std::uint16_t TWorkbench::CurrentPos() const {
  return currentRow_ < fixes_.Count() ? static_cast<std::uint16_t>(currentRow_ + 1) : 0;
}

TFixPanel TWorkbench::FixPanel() const {
  const int r = currentRow_;
  const int n = RowCount();
  TFixPanel panel;
  panel.Counter = "N = " + std::to_string(fixes_.Count());
  panel.Buttons.Up = r != 0 && r + 1 != n;
  panel.Buttons.Down = r + 2 != n && r + 1 != n;
  panel.Buttons.Delete = r + 1 != n;
  panel.Buttons.Edit = r + 1 != n;
  panel.Buttons.Undelete = deleted_.Valid;
  return panel;
}

TLogDisplay TWorkbench::LogDisplay() const {
  TLogDisplay display;
  if (shownRecord_ != 0) {
    display.Line1 = log_.GetLine(shownRecord_, 1);
    display.Line2 = log_.GetLine(shownRecord_, 2);
    display.Line3 = log_.GetLine(shownRecord_, 3);
  }
  display.Number = std::to_string(shownRecord_);
  display.PreviousEnabled = shownRecord_ > 1;
  display.NextEnabled = shownRecord_ < log_.Count();
  return display;
}

// ----------------------------------------------------------- announcements

void TWorkbench::SetNextFix(bool Enabled) {
  if (nextFix_ == Enabled) return;
  nextFix_ = Enabled;
  if (observers_.NextFix != nullptr) observers_.NextFix->NextFixChanged(Enabled);
}

void TWorkbench::PanelChanged() {
  const TFixPanel panel = FixPanel();
  if (panel == lastPanel_) return;
  lastPanel_ = panel;
  if (observers_.FixPanel != nullptr) observers_.FixPanel->FixPanelChanged(panel);
}

void TWorkbench::SetCurrentRow(int Row) {
  currentRow_ = Row < 0 || Row > fixes_.Count() ? fixes_.Count() : Row;
  if (observers_.FixList != nullptr) observers_.FixList->CurrentRowChanged(currentRow_);
  PanelChanged();
  ChartChanged();
}

void TWorkbench::ChartChanged() {
  if (observers_.Chart != nullptr) observers_.Chart->ChartChanged();
}

Figure TWorkbench::ShownFigure() const { return figures_.Of(log_, shownRecord_, fixes_, settings_.Earth); }

void TWorkbench::OptionsChanged() {
  MarkUnsaved(TStatusFiles::SettingsFile);
  if (observers_.Options != nullptr) observers_.Options->OptionsChanged(settings_);
  ChartChanged();
}

void TWorkbench::ShowError(const std::string& Message) {
  if (observers_.Messages != nullptr) observers_.Messages->ShowError(Message);
}

void TWorkbench::PlaySound(TSound Sound, bool Wait) {
  if (!settings_.Interface.Sound) return;
  if (observers_.Messages != nullptr) observers_.Messages->PlaySound(Sound, Wait);
}

// ------------------------------------------------------------- the fix list

void TWorkbench::RebuildFixList(int Row) {
  if (Row == 0) Row = currentRow_ + 1;
  if (observers_.FixList != nullptr) observers_.FixList->RowsReset();
  SetCurrentRow(fixes_.Count() < Row ? 0 : Row - 1);
}

void TWorkbench::ClearFixes() {
  if (fixes_.Count() != 0) MarkUnsaved(TStatusFiles::FixFile);
  fixes_.Clear();
  deleted_ = FixRecord{};
  if (observers_.FixList != nullptr) observers_.FixList->RowsReset();
  SetCurrentRow(0);
}

void TWorkbench::AddFix(const FixRecord& Fix) {
  fixes_.Add(Fix);
  MarkUnsaved(TStatusFiles::FixFile);
  const int row = fixes_.Count() - 1;
  if (observers_.FixList != nullptr) observers_.FixList->RowInserted(row);
  SetCurrentRow(row);
}

void TWorkbench::InsertFix(const FixRecord& Fix, int Pos) {
  // The row follows the database's reading of an out-of-range position.
  const int row = std::clamp(Pos, 1, fixes_.Count() + 1) - 1;
  fixes_.Insert(Fix, static_cast<std::uint16_t>(row + 1));
  MarkUnsaved(TStatusFiles::FixFile);
  if (observers_.FixList != nullptr) observers_.FixList->RowInserted(row);
  SetCurrentRow(row);
}

void TWorkbench::ReplaceFix(const FixRecord& Fix, std::uint16_t Pos) {
  if (Pos < 1 || Pos > fixes_.Count()) return;
  fixes_.Replace(Fix, Pos);
  MarkUnsaved(TStatusFiles::FixFile);
  if (observers_.FixList != nullptr) observers_.FixList->RowChanged(Pos - 1);
  SetCurrentRow(Pos - 1);
}

void TWorkbench::SelectRow(int Row) { SetCurrentRow(Row); }

void TWorkbench::DeleteFix() {
  const std::uint16_t pos = CurrentPos();
  if (pos == 0) return;
  deleted_ = fixes_.Get(pos);
  fixes_.Delete(pos);
  MarkUnsaved(TStatusFiles::FixFile);
  if (observers_.FixList != nullptr) observers_.FixList->RowRemoved(pos - 1);
  SetCurrentRow(pos - 1);
}

std::string TWorkbench::DeleteFixQuestion() const {
  const std::uint16_t pos = CurrentPos();
  if (pos == 0) return {};
  return navorix::DeleteFixQuestion(fixes_.Get(pos).Name.View());
}

bool TWorkbench::UndeleteFix() {
  if (!deleted_.Valid) return false;
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

bool TWorkbench::MoveFixUp() {
  const std::uint16_t pos = CurrentPos();
  if (!fixes_.MoveUp(pos)) return false;
  MarkUnsaved(TStatusFiles::FixFile);
  if (observers_.FixList != nullptr) observers_.FixList->RowsSwapped(pos - 2);
  SetCurrentRow(pos - 2);
  return true;
}

bool TWorkbench::MoveFixDown() {
  const std::uint16_t pos = CurrentPos();
  if (pos == 0 || !fixes_.MoveDown(pos)) return false;
  MarkUnsaved(TStatusFiles::FixFile);
  if (observers_.FixList != nullptr) observers_.FixList->RowsSwapped(pos - 1);
  SetCurrentRow(pos);
  return true;
}

void TWorkbench::SortFixes(TSortOrder Order) {
  if (fixes_.Count() < 2) return;
  const std::uint16_t current = CurrentPos();
  if (current == 0 && Order == TSortOrder::ByDistance) return;
  const TTriV reference = current != 0 ? fixes_.Get(current).Position : TTriV{};
  fixes_.Sort(Order, reference);
  MarkUnsaved(TStatusFiles::FixFile);
  RebuildFixList(1);
}

TSearchStep TWorkbench::TypeAhead(char Typed, bool PanelShown) {
  TSearchStep step;
  if (fixes_.Count() == 0) return step;
  const char c = ToCapital(Typed);
  const bool letter = (c >= 'A' && c <= 'Z') || c == '/';
  const bool digit = c >= '0' && c <= '9';
  if (!letter && !(digit && PanelShown)) return step;

  std::uint16_t start = 1;
  if (PanelShown) {
    if (searchText_.size() < MaxSearchLength) searchText_ += c;
    start = searchHit_;
  } else {
    searchText_.assign(1, c);
  }
  searchHit_ = fixes_.FindPrefix(searchText_, start);
  step.Consumed = true;
  step.IntervalMs = SearchHitMs;
  if (searchHit_ != 0) {
    SetCurrentRow(searchHit_ - 1);
  } else {
    searchText_.pop_back();
    PlaySound(TSound::Error, false);
    step.IntervalMs = SearchMissMs;
    searchHit_ = static_cast<std::uint16_t>(std::min(currentRow_ + 1, static_cast<int>(MaxFixes)));
  }
  step.ShowPanel = searchText_.size() == 1;
  step.Text = searchText_;
  return step;
}

// -------------------------------------------------------- fix input dialog

TFixEdit TWorkbench::BeginFixEdit(bool AddButton) const {
  TFixEdit edit;
  edit.Pos = currentRow_ + 1;
  edit.IsNew = AddButton || edit.Pos > fixes_.Count();
  edit.Caption = edit.IsNew ? NewFixCaption : EditFixCaption;
  if (edit.IsNew) {
    edit.Start = pending_;
  } else {
    edit.EditPos = static_cast<std::uint16_t>(edit.Pos);
    edit.Start = fixes_.Get(edit.EditPos);
  }
  if (!edit.Start.Name.Empty()) {
    edit.Name = FixName(edit.Start);
    const std::string coordinates = SquashBlanks(
        FormatLatLon(settings_.Display, settings_.Earth, edit.Start, settings_.Display.Precision),
        false);
    const std::size_t blank = coordinates.find(' ');
    edit.Latitude = coordinates.substr(0, blank);
    if (blank != std::string::npos) edit.Longitude = coordinates.substr(blank + 1);
  }
  return edit;
}

TFixCheck TWorkbench::CheckFixInput(const TFixEdit& Edit, std::string_view Name,
                                    std::string_view Latitude, std::string_view Longitude) {
  TFixCheck check;
  check.Name.assign(Name);
  check.NameBad = !IsValidFixName(check.Name);
  // The name in use is reported before any field is marked, even for a name
  // that is not valid; a fix may keep its own name.
  const std::uint16_t owner = fixes_.FindName(check.Name);
  if (owner != 0 && owner != Edit.EditPos) {
    check.NameInUse = true;
    ShowError(msg::NameInUse);
    return check;
  }
  long double lat = 0.0L;
  long double lon = 0.0L;
  const TPlusDir plus = settings_.Display.PlusDir;
  check.LatitudeBad = !ParseCoord(plus, Latitude, TAxis::Latitude, lat);
  check.LongitudeBad = !ParseCoord(plus, Longitude, TAxis::Longitude, lon);
  if (check.Passed()) check.Position = PosFromLatLon(settings_.Earth, lat, lon);
  return check;
}

bool TWorkbench::StoreFix(const TFixEdit& Edit, const TFixCheck& Check,
                          std::string_view Latitude, std::string_view Longitude) {
  if (!Check.Passed()) return false;
  // Coordinates left as they were shown keep the position they came from:
  // the shown text is rounded to the display accuracy.
  const bool unchanged = Latitude == Edit.Latitude && Longitude == Edit.Longitude;
  try {
    FixRecord fix = Edit.Start;
    MakeFix(fix, unchanged ? Edit.Start.Position : Check.Position, Check.Name);
    // A stored position is a unit vector only to a rounding: scaled to unit
    // length once more it can move by its last bits, and every rename would
    // move it again. MakeFix has refused a start without a position.
    if (unchanged) fix.Position = Edit.Start.Position;
    if (fixes_.Count() < Edit.Pos) {
      AddFix(fix);
    } else if (Edit.IsNew) {
      InsertFix(fix, Edit.Pos);
      pending_ = FixRecord{};
    } else {
      ReplaceFix(fix, static_cast<std::uint16_t>(Edit.Pos));
    }
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return false;
  }
  return true;
}

// -------------------------------------------------- operation input dialog

TFieldCheck TWorkbench::CheckOperandField(TFieldKind Kind, std::string_view Text) const {
  TFieldCheck check;
  if (Text.empty()) return check;
  switch (Kind) {
    case TFieldKind::Fix:
      check.Fix = fixes_.FindName(Text);
      // An entry whose line did not read has no position to compute with.
      check.Valid = check.Fix != 0 && fixes_.Get(check.Fix).Valid;
      break;
    case TFieldKind::Distance:
      check.Valid = ParseDistanceText(Text, check.Number);
      break;
    case TFieldKind::Azimuth:
      check.Valid = ParseAzimuthText(Text, check.Number);
      break;
  }
  return check;
}

std::uint16_t TWorkbench::CompleteName(std::string_view Prefix, std::uint16_t Start,
                                       std::string& Name) const {
  const std::uint16_t found = fixes_.FindPrefix(Prefix, Start);
  Name = found != 0 ? FixName(fixes_.Get(found)) : std::string();
  return found;
}

// ------------------------------------------------------------- operations

TRunResult TWorkbench::RunOperation(TOpTag Op, TOperandSource& Source) {
  try {
    const TExecutors executors(fixes_, settings_.Display, settings_.Earth, chain_);
    std::optional<TOpResult> result = Dispatch(Op, Source, executors, nextFix_);
    if (!result) return TRunResult::Cancelled;
    LogResult(result->Line1, result->Line2, result->Line3,
              result->Proposal ? std::optional<TTriV>(result->Proposal->Position) : std::nullopt);
    if (result->Chain) {
      SetNextFix(true);
      chain_ = *result->Chain;
    }
    if (result->Proposal) pending_ = *result->Proposal;
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return TRunResult::Failed;
  }
  return TRunResult::Logged;
}

// -------------------------------------------------------------------- log

void TWorkbench::ShowLogRecord(std::uint16_t Record) {
  shownRecord_ = std::min(Record, log_.Count());
  if (observers_.Log != nullptr) observers_.Log->LogShown(LogDisplay());
  ChartChanged();
}

void TWorkbench::LogResult(std::string_view Line1, std::string_view Line2, std::string_view Line3,
                           const std::optional<TTriV>& Proposed) {
  PlaySound(TSound::Done, false);
  log_.Add(SquashBlanks(Line1, false), SquashBlanks(Line2, false), SquashBlanks(Line3, false));
  figures_.Logged(log_, fixes_, settings_.Earth, Proposed);
  MarkUnsaved(TStatusFiles::HistoryFile);
  ShowLogRecord(log_.Count());
}

void TWorkbench::ShowPreviousRecord() {
  if (shownRecord_ < 2) return;
  ShowLogRecord(static_cast<std::uint16_t>(shownRecord_ - 1));
}

void TWorkbench::ShowNextRecord() {
  if (shownRecord_ >= log_.Count()) return;
  ShowLogRecord(static_cast<std::uint16_t>(shownRecord_ + 1));
}

void TWorkbench::DeleteShownRecord() {
  if (log_.Count() == 0) return;
  log_.Delete(shownRecord_);
  figures_.Deleted(shownRecord_);
  MarkUnsaved(TStatusFiles::HistoryFile);
  ShowLogRecord(std::min(shownRecord_, log_.Count()));
}

std::string TWorkbench::DeleteRecordQuestion() const {
  if (log_.Count() == 0) return {};
  return navorix::DeleteRecordQuestion(shownRecord_);
}

std::string TWorkbench::ClearLogQuestion() const {
  return log_.Count() != 0 ? question::ClearLog : "";
}

std::string TWorkbench::ClearFixesQuestion() const {
  return fixes_.Count() != 0 ? question::ClearFixes : "";
}

std::string TWorkbench::ClearAllQuestion() const {
  return fixes_.Count() != 0 || log_.Count() != 0 ? question::ClearAll : "";
}

void TWorkbench::ClearLog() {
  if (log_.Count() != 0) MarkUnsaved(TStatusFiles::HistoryFile);
  log_.Clear();
  figures_.Cleared();
  ShowLogRecord(0);
  SetNextFix(false);
}

void TWorkbench::ClearAll() {
  ClearFixes();
  ClearLog();
}

// ---------------------------------------------------------------- options

void TWorkbench::SetDisplayOption(TDisplayOption Option, int Value) {
  const TDisplayOptionInfo& info = OptionInfo(Option);
  if (Value < 0 || Value >= info.Count) return;
  info.Set(settings_.Display, Value);
  OptionsChanged();
  switch (info.Effect) {
    case TOptionEffect::None: break;
    case TOptionEffect::Rows: RebuildFixList(0); break;
    case TOptionEffect::NextFixOn:
      SetNextFix(settings_.Display.DistUnits != TDistUnits::Degrees);
      break;
  }
}

void TWorkbench::SetSound(bool On) {
  settings_.Interface.Sound = On;
  OptionsChanged();
}

void TWorkbench::SetHints(bool On) {
  settings_.Interface.Hints = On;
  OptionsChanged();
}

void TWorkbench::ToggleEllipticLat() {
  settings_.Earth.EllipticLat = !settings_.Earth.EllipticLat;
  OptionsChanged();
  SetNextFix(false);
  // Every fix keeps the latitude and longitude it showed, so the rows stay
  // as they are; what moves is the position on the Earth model.
  for (std::uint32_t pos = 1; pos <= fixes_.Count(); ++pos) {
    FixRecord fix = fixes_.Get(static_cast<std::uint16_t>(pos));
    if (!fix.Valid) continue;
    RebuildPos(settings_.Earth, fix.Position);
    fixes_.Replace(fix, static_cast<std::uint16_t>(pos));
  }
  ChartChanged();
}

void TWorkbench::ToggleEllipticArc() {
  settings_.Earth.EllipticArc = !settings_.Earth.EllipticArc;
  OptionsChanged();
  SetNextFix(false);
}

void TWorkbench::ToggleGeoDistance() {
  settings_.Earth.GeoDistance = !settings_.Earth.GeoDistance;
  OptionsChanged();
  SetNextFix(false);
}

}  // namespace navorix
