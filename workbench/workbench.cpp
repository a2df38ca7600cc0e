// The workbench (notation in workbench.h).
#include "workbench/workbench.h"

#include <algorithm>
#include <ctime>
#include <iterator>
#include <exception>
#include <utility>

#include "geometry/error.h"
#include "operations/dispatch.h"
#include "operations/executors.h"
#include "operations/operand_source.h"
#include "stores/atomic_file.h"
#include "stores/line_reader.h"
#include "stores/profile_file.h"
#include "text/fix_names.h"
#include "text/format.h"
#include "text/parse.h"
#include "text/text_helpers.h"
#include "workbench/texts.h"

namespace navorix {

TWorkbench::TWorkbench(TAppData Paths, const TFileSystemCalls& Calls)
    : paths_(std::move(Paths)), calls_(Calls) {
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
  MarkUnsaved(SettingsIndex);
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
  if (fixes_.Count() != 0) MarkUnsaved(FixesIndex);
  fixes_.Clear();
  deleted_ = FixRecord{};
  if (observers_.FixList != nullptr) observers_.FixList->RowsReset();
  SetCurrentRow(0);
}

void TWorkbench::AddFix(const FixRecord& Fix) {
  fixes_.Add(Fix);
  MarkUnsaved(FixesIndex);
  const int row = fixes_.Count() - 1;
  if (observers_.FixList != nullptr) observers_.FixList->RowInserted(row);
  SetCurrentRow(row);
}

void TWorkbench::InsertFix(const FixRecord& Fix, int Pos) {
  // The row follows the database's reading of an out-of-range position.
  const int row = std::clamp(Pos, 1, fixes_.Count() + 1) - 1;
  fixes_.Insert(Fix, static_cast<std::uint16_t>(row + 1));
  MarkUnsaved(FixesIndex);
  if (observers_.FixList != nullptr) observers_.FixList->RowInserted(row);
  SetCurrentRow(row);
}

void TWorkbench::ReplaceFix(const FixRecord& Fix, std::uint16_t Pos) {
  if (Pos < 1 || Pos > fixes_.Count()) return;
  fixes_.Replace(Fix, Pos);
  MarkUnsaved(FixesIndex);
  if (observers_.FixList != nullptr) observers_.FixList->RowChanged(Pos - 1);
  SetCurrentRow(Pos - 1);
}

void TWorkbench::SelectRow(int Row) { SetCurrentRow(Row); }

void TWorkbench::DeleteFix() {
  const std::uint16_t pos = CurrentPos();
  if (pos == 0) return;
  deleted_ = fixes_.Get(pos);
  fixes_.Delete(pos);
  MarkUnsaved(FixesIndex);
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
  MarkUnsaved(FixesIndex);
  if (observers_.FixList != nullptr) observers_.FixList->RowsSwapped(pos - 2);
  SetCurrentRow(pos - 2);
  return true;
}

bool TWorkbench::MoveFixDown() {
  const std::uint16_t pos = CurrentPos();
  if (pos == 0 || !fixes_.MoveDown(pos)) return false;
  MarkUnsaved(FixesIndex);
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
  MarkUnsaved(FixesIndex);
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
  MarkUnsaved(HistoryIndex);
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
  MarkUnsaved(HistoryIndex);
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
  if (log_.Count() != 0) MarkUnsaved(HistoryIndex);
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

void TWorkbench::SetLatLonFormat(TAngleFormat Value) {
  settings_.Display.LatLonFormat = Value;
  OptionsChanged();
  RebuildFixList(0);
}

void TWorkbench::SetAzimFormat(TAngleFormat Value) {
  settings_.Display.AzimFormat = Value;
  OptionsChanged();
}

void TWorkbench::SetPlusDir(TPlusDir Value) {
  settings_.Display.PlusDir = Value;
  OptionsChanged();
}

void TWorkbench::SetPrecision(TAccuracy Value) {
  settings_.Display.Precision = Value;
  OptionsChanged();
  RebuildFixList(0);
}

void TWorkbench::SetDistUnits(TDistUnits Value) {
  settings_.Display.DistUnits = Value;
  OptionsChanged();
  SetNextFix(Value != TDistUnits::Degrees);
}

void TWorkbench::SetAzimRange(TAzimRange Value) {
  settings_.Display.AzimRange = Value;
  OptionsChanged();
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

// ------------------------------------------------------------------ files

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
  if (fixes_.Count() != before) MarkUnsaved(FixesIndex);
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

template <typename Save>
TWorkbench::TStatusSave TWorkbench::SaveStatusFile(int Index, Save&& Write) {
  const std::string name = StatusFileName(Index);
  TKeepOld keep;
  keep.Backup = true;
  if (!MayReplace(Index, keep)) return TStatusSave::Declined;
  try {
    Write(name, keep);
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return TStatusSave::Failed;
  }
  status_[Index].Stamp = StampOf(name);
  status_[Index].Incomplete = false;
  status_[Index].Unsaved = false;
  return TStatusSave::Saved;
}

bool TWorkbench::SaveFixFile(const std::string& FileName) {
  const auto save = [this](const std::string& Name, const TKeepOld& Keep) {
    fixes_.SaveToFile(Name, settings_.Display, settings_.Earth, calls_, Keep);
  };
  const std::string status = StatusFileName(FixesIndex);
  // The status fix file is saved as Save Status saves it, whatever name led
  // to it: it must not lose what it holds that was not read, and saving it
  // is no change by another program.
  if (statusLoaded_ && SameFile(StampOf(FileName), StampOf(status))) {
    return SaveStatusFile(FixesIndex, save) == TStatusSave::Saved;
  }
  try {
    save(FileName, TKeepOld{});
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return false;
  }
  if (statusLoaded_ && SameFile(StampOf(FileName), StampOf(status))) {
    status_[FixesIndex] = {StampOf(status), false, false};
  }
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

std::string TWorkbench::StatusFileName(int Index) const {
  switch (Index) {
    case SettingsIndex: return paths_.SettingsDir + SettingsFileName;
    case FixesIndex: return paths_.DataDir + StatusFixFileName;
    default: return paths_.DataDir + HistoryFileName;
  }
}

void TWorkbench::LoadStatus() {
  ClearFixes();
  ClearLog();
  // Everything that was not taken goes into one report, shown at the end.
  std::vector<std::string> report;
  const std::string settings = StatusFileName(SettingsIndex);
  status_[SettingsIndex] = {StampOf(settings), false, false};
  // A refused value stays in the file and the file is merged as always:
  // nothing of it is lost.
  status_[SettingsIndex].Incomplete = !ReadSettingsFile(settings, report);

  // A file that could not even be looked at (a loop of links) is no absent
  // file: its reading fails, is reported, and it is not replaced unasked.
  const std::string fixFile = StatusFileName(FixesIndex);
  status_[FixesIndex] = {StampOf(fixFile), false, false};
  if (!status_[FixesIndex].Stamp.Absent()) {
    bool opened = false;
    const TLoadReport loaded = ReadFixFile(fixFile, false, opened);
    const std::vector<std::string> lines = LoadReportLines(loaded);
    report.insert(report.end(), lines.begin(), lines.end());
    status_[FixesIndex].Incomplete = !loaded.Complete();
  }

  const std::string oldHistory = paths_.DataDir + OldHistoryFileName;
  const std::string history = StatusFileName(HistoryIndex);
  // A failed rename (the history file exists) is no failure: the old file
  // simply stays.
  if (StampOf(oldHistory).Exists) (void)RenameNoReplace(oldHistory, history);
  status_[HistoryIndex] = {StampOf(history), false, false};
  if (!status_[HistoryIndex].Stamp.Absent()) {
    TLoadReport loaded;
    try {
      log_.LoadFromFile(history, loaded, calls_);
    } catch (const std::exception& failure) {
      loaded.Failure = failure.what();
    }
    figures_.Reread(log_);
    ShowLogRecord(log_.Count());
    status_[HistoryIndex].Incomplete = !loaded.Complete();
    const std::vector<std::string> lines = LoadReportLines(loaded);
    report.insert(report.end(), lines.begin(), lines.end());
  }
  // A second copy of the program on the same data is told so once, and
  // saving asks before it replaces what the first copy keeps.
  if (TakeInstanceLock()) report.emplace_back(msg::DataDirInUse);
  for (TStatusFile& file : status_) file.Unsaved = false;
  statusLoaded_ = true;
  ShowReport(report);
}

std::string TWorkbench::ReloadStatusQuestion() const {
  for (const TStatusFile& file : status_) {
    if (file.Unsaved) return question::ReloadStatus;
  }
  return {};
}

bool TWorkbench::TakeInstanceLock() {
  if (lock_ && lock_->Taken()) return false;
  lock_ = std::make_unique<TInstanceLock>(paths_.DataDir);
  if (lock_->State() != TInstanceLockState::HeldElsewhere || toldShared_) return false;
  toldShared_ = true;
  return true;
}

bool TWorkbench::Confirm(const std::string& Question) {
  return observers_.Messages != nullptr &&
         observers_.Messages->Ask(Question, TButtons::YesNo) == TAnswer::Yes;
}

bool TWorkbench::MayReplace(int Index, TKeepOld& Keep) {
  const TStatusFile& file = status_[Index];
  const std::string name = StatusFileName(Index);
  const TFileStamp now = StampOf(name);
  // Nothing there: nothing to lose.
  if (now.Absent()) return true;
  const std::string shown = FileBaseName(name);
  // The present version is kept under a name no save replaces; the
  // question tells it. A file that cannot even be looked at (a loop of
  // links) has no version to keep, and its save will fail.
  const std::string kept =
      now.Exists ? FileBaseName(UnreadName(ReplacedFile(name), std::time(nullptr))) : std::string();
  std::string question;
  if (Index != SettingsIndex && lock_ && lock_->State() == TInstanceLockState::HeldElsewhere) {
    question = SharedFileQuestion(shown, kept);
  } else if (file.Incomplete) {
    question = IncompleteFileQuestion(shown, kept);
  } else if (Index != SettingsIndex && !(now == file.Stamp)) {
    // The settings file is merged, not replaced: lines the program does not
    // write stay as another program left them.
    question = ChangedFileQuestion(shown, kept);
  } else {
    return true;
  }
  if (!Confirm(question)) return false;
  Keep.Lasting = kept;
  return true;
}

bool TWorkbench::SaveStatusFiles(bool& Declined) {
  // Per-user directories are made when first needed; a portable folder has
  // its data folder already.
  if (!paths_.Portable) {
    MakeDirectories(paths_.SettingsDir);
    MakeDirectories(paths_.DataDir);
  }
  (void)TakeInstanceLock();
  // Each file is attempted: a settings file that cannot be written must not
  // cost the user the fixes and the log.
  const TStatusSave results[] = {
      SaveStatusFile(SettingsIndex,
                     [this](const std::string& Name, const TKeepOld& Keep) {
                       // A settings file that could not be read is written
                       // anew only after the user agreed: merging is
                       // impossible then.
                       if (status_[SettingsIndex].Incomplete) {
                         TProfileFile fresh(Name, calls_);
                         SaveSettings(fresh, settings_, Keep);
                       } else {
                         SaveSettings(Name, settings_, calls_, Keep);
                       }
                     }),
      SaveStatusFile(FixesIndex,
                     [this](const std::string& Name, const TKeepOld& Keep) {
                       fixes_.SaveToFile(Name, settings_.Display, settings_.Earth, calls_, Keep);
                     }),
      SaveStatusFile(HistoryIndex, [this](const std::string& Name, const TKeepOld& Keep) {
        log_.SaveToFile(Name, calls_, Keep);
      })};
  Declined = std::find(std::begin(results), std::end(results), TStatusSave::Declined) !=
             std::end(results);
  return std::all_of(std::begin(results), std::end(results),
                     [](TStatusSave Result) { return Result == TStatusSave::Saved; });
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
