// The workbench: the one owner of a Navorix session. It holds, for the whole
// run, the fix database, the operation log, the settings, the deleted and
// the pending fix, the distance chain behind "&Next Fix", the current row
// of the fix list and the shown log record. Every action of the user is one
// method with its rules inside; the window (or the batch program) gathers
// input, calls the method and draws what the observers are told.
//
// Notation:
//   row       0-based row of the fix list; row r shows fix r + 1, row Count
//             is the blank row (the place after the last fix)
//   Pos       1-based position of a fix in the database; 0 means none
//   record    1-based number of a log record; 0 means none
//
// Failures that the window shows in its error box go to the message
// observer (ShowError); the method then returns false or Failed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "operations/catalogue.h"
#include "operations/distance_chain.h"
#include "stores/app_data.h"
#include "stores/fix_db.h"
#include "stores/fix_exchange.h"
#include "stores/load_report.h"
#include "stores/log_list.h"
#include "stores/settings.h"
#include "text/fix_record.h"
#include "workbench/observers.h"
#include "workbench/operand_checks.h"
#include "workbench/record_figures.h"
#include "workbench/status_files.h"

namespace navorix {

class OperandSource;

// How an operation request ended.
enum class RunResult : std::uint8_t {
  Cancelled,  // the operand source cancelled: nothing changed, no sound
  Logged,     // the result is the last log record and is shown
  Failed,     // the error box was told why; nothing was logged
};

// One step of the type-ahead search of the fix list.
struct SearchStep {
  bool consumed = false;   // false: the key goes on to the focused control
  std::string text;        // the text the search panel shows
  bool showPanel = false;  // show the panel (the first character of a search)
  int intervalMs = 0;      // restart the panel's hide timer with this interval
};

// The search panel hides this long after a hit, and after a miss.
inline constexpr int SearchHitMs = 1600;
inline constexpr int SearchMissMs = 2400;
inline constexpr std::size_t MaxSearchLength = 16;

// A fix input dialog about to open: its caption, the place the fix goes and
// the texts it starts with.
struct FixEdit {
  bool isNew = true;
  int pos = 1;                            // current row + 1; beyond Count: append
  std::uint16_t editPos = 0;              // the fix being edited; 0 for a new fix
  std::string caption;                    // " New Fix" or " Edit Fix"
  FixRecord start;                        // the pending fix, or the fix being edited
  std::string name, latitude, longitude;  // prefilled texts
};

// The checks of the fix input dialog's OK.
struct FixCheck {
  bool nameInUse = false;  // another fix has the name; nothing else checked
  bool nameBad = false;
  bool latitudeBad = false;
  bool longitudeBad = false;
  std::string name;  // the name as checked (trimmed, capitals)
  Vector3 position;  // the typed position, when every field read
  bool Passed() const { return !nameInUse && !nameBad && !latitudeBad && !longitudeBad; }
};

class Workbench : public OperandChecks {
 public:
  // Paths says where the settings and status files are; every file is read
  // and written through calls, which must outlive the workbench.
  explicit Workbench(AppData paths = AppData{}, const FileSystemCalls& calls = SystemCalls());
  Workbench(const Workbench&) = delete;
  Workbench& operator=(const Workbench&) = delete;

  // The views to tell about changes; they read the present state when they
  // attach.
  void Attach(const Observers& observers);

  // ------------------------------------------------------- state for views
  const ProgramSettings& Settings() const { return settings_; }
  const AppData& Paths() const { return paths_; }
  const FixDatabase& Fixes() const { return fixes_; }
  const LogList& Log() const { return log_; }
  // Fixes + 1: the blank row is always there.
  int RowCount() const { return fixes_.Count() + 1; }
  // The row text of a fix at the current format and accuracy; "" for the
  // blank row and for an entry that did not read.
  std::string RowText(int row) const;
  int CurrentRow() const { return currentRow_; }
  // The current fix, 0 when the blank row is current.
  std::uint16_t CurrentPos() const;
  FixPanelState FixPanel() const;
  std::uint16_t ShownRecord() const { return shownRecord_; }
  LogDisplayState LogDisplay() const;
  bool NextFixEnabled() const { return nextFix_; }
  const FixRecord& PendingFix() const { return pending_; }
  const FixRecord& DeletedFix() const { return deleted_; }
  const DistanceChain& Chain() const { return chain_; }
  // The figure of the shown record (empty when none is shown): kept from
  // when it ran in this session, or recovered from its text.
  Figure ShownFigure() const;
  // Whether the shown record's figure was kept from when it ran.
  bool ShownFigureKept() const { return figures_.Kept(shownRecord_); }

  // ----------------------------------------------------------- the fix list
  // The user selected row (clicks, arrow keys); rows outside the list are
  // taken as the blank row.
  void SelectRow(int row);
  // Delete (button, Del key): the current fix goes to the deleted fix and
  // the row that followed becomes current; nothing on the blank row.
  void DeleteFix();
  // The question of the Del key for the current fix; "" on the blank row,
  // where the key does nothing.
  std::string DeleteFixQuestion() const;
  // Undelete (button, Shift+Ins): the deleted fix goes back above the
  // current row, or at the end from the blank row. False when there is none
  // or the database is full (then shown, and the fix stays deleted).
  bool UndeleteFix();
  // Move the current fix up or down (buttons, Shift+Up/Down); false, and
  // nothing changes, at the ends and on the blank row.
  bool MoveFixUp();
  bool MoveFixDown();
  // The Sort menu: nothing with fewer than two fixes, nor for the distance
  // order from the blank row (no fix to measure from); otherwise sorted
  // (by distance from the current fix) with the first row current.
  void SortFixes(SortOrder order);
  // A character typed while the fix list has the focus (only letters, "/",
  // and digits while the panel shows start or extend a search).
  SearchStep TypeAhead(char typed, bool panelShown);

  // ------------------------------------------------------ fix input dialog
  // Add (addButton true: Add button, Ins, Shift+Enter, Enter on an empty
  // database) or Edit (Edit button, Enter, double click) at the current
  // row: a new fix starts from the pending fix and goes above the current
  // row (at the end from the blank row); Edit on the blank row is a new fix.
  FixEdit BeginFixEdit(bool addButton) const;
  // The checks of OK: the name (trimmed, capitals) must be valid and not be
  // another fix's; a name in use is shown in the error box and nothing else
  // is checked; then the latitude and longitude must read.
  FixCheck CheckFixInput(const FixEdit& edit, std::string_view name, std::string_view latitude,
                         std::string_view longitude);
  // Stores a fix that passed the checks. Coordinates left exactly as
  // prefilled keep the starting position bit for bit; a fix appended at
  // the end leaves the pending fix for the next one, a new fix inserted
  // above a row empties it. A full database is shown; false then.
  bool StoreFix(const FixEdit& edit, const FixCheck& check, std::string_view latitude,
                std::string_view longitude);

  // ------------------------------------------------ operation input dialog
  // OperandChecks.
  FieldCheck CheckOperandField(FieldKind kind, std::string_view text) const override;
  std::uint16_t CompleteName(std::string_view prefix, std::uint16_t start, std::string& name) const override;

  // ------------------------------------------------------------- operations
  // Runs operation op with its operands from source: converts and checks
  // them, computes, logs the record with the done sound, proposes a point
  // result as the next new fix, and keeps the Next Fix state. A failure is
  // shown and changes nothing.
  RunResult RunOperation(OperationTag op, OperandSource& source);

  // -------------------------------------------------------------------- log
  // The step buttons and the Left and Right keys.
  void ShowPreviousRecord();
  void ShowNextRecord();
  // "&Delete Log Line" and Backspace: the shown record goes; the one that
  // followed it is shown (or the new last one, or nothing).
  void DeleteShownRecord();
  // The question of the Backspace key; "" with an empty log.
  std::string DeleteRecordQuestion() const;
  // Clearing ends the Next Fix chain (the button is disabled).
  void ClearLog();
  void ClearFixes();
  void ClearAll();
  // The questions of the three Clear commands; "" when there is nothing to
  // clear, where the command does nothing.
  std::string ClearLogQuestion() const;
  std::string ClearFixesQuestion() const;
  std::string ClearAllQuestion() const;

  // ---------------------------------------------------------------- options
  // The Options menu. Formats and accuracy rebuild the rows; a distance
  // unit enables Next Fix unless it is Degrees, which disables it (each
  // option's OptionEffect).
  // A display option's value value (one of its numbers; others change
  // nothing).
  void SetDisplayOption(DisplayOption option, int value);
  void SetSound(bool on);
  void SetHints(bool on);
  // The ellipsoid switches disable Next Fix; Elliptic Latitude re-expresses
  // every fix so that its shown latitude and longitude stay (the rows do
  // not change, the positions on the Earth do).
  void ToggleEllipticLat();
  void ToggleEllipticArc();
  void ToggleGeoDistance();
  // The chart window's place, size and projection, saved with the settings;
  // no change the Reload question asks about, and no view is told.
  void SetChartSettings(const ChartSettings& chart) { settings_.chart = chart; }

  // ------------------------------------------------------------------ files
  // Appends the fixes of a fix file (after clearing the database when
  // clearFirst) and shows the first row. False when it could not be read
  // (shown).
  bool LoadFixFile(const std::string& fileName, bool clearFirst);
  // The same, telling in report what the file held that was not taken
  // (also shown, every kind of loss in one report).
  bool LoadFixFile(const std::string& fileName, bool clearFirst, LoadReport& report);
  // Saves every fix in the current Lat/Lon format. False on failure (shown).
  // Saved over the status fix file, it is saved as Save Status saves that
  // file (the same questions, the same backups), and counts as its save.
  bool SaveFixFile(const std::string& fileName);
  // Reads a settings file as status loading does and applies it; what could
  // not be read or was refused is shown. False when it could not be read or
  // its Earth radii were refused (a refused font size only concerns the
  // window).
  bool LoadSettingsFile(const std::string& fileName);
  // Start and "&Reload Status": clears both stores, reads the settings, the
  // status fix file and the history (an old "navorix.log" becomes the
  // history when there is none). Failures, refused values and what the
  // files held that was not taken are shown together in one report;
  // loading goes on. A second copy of Navorix on the same data directory is
  // told so.
  void LoadStatus();
  // The question before "&Reload Status" discards what changed since the
  // status was last loaded or saved; "" when nothing did.
  std::string ReloadStatusQuestion() const;
  // "&Save Status": settings, status fix file, history, each attempted
  // whatever became of the others. A status file that could not be read
  // completely, that changed on the disk since Navorix last read or saved
  // it, or that another copy of Navorix keeps (it holds the data
  // directory's lock), is replaced only when the user says yes, and its
  // old version is first kept under a lasting name that the question
  // tells. A save that replaces a file keeps the version it replaced as
  // NAME.bak; a failed, refused or unchanged save touches no backup. Each
  // failure is shown; true when all three were saved.
  bool SaveStatus();
  // Leaving with Yes: SaveStatus; true when the program may end. When the
  // user chose not to replace a status file, what it would have held lives
  // only in the program, which stays open and says so.
  bool SaveStatusToLeave();

  // ------------------------------------------ fixes of other programs
  // (workbench/exchange.cpp)
  // Appends the fixes of a GPX, CSV, GeoJSON or fix file, named against
  // the database as stores/import_names.h says, after clearing the
  // database when clearFirst (only once the file was read), with the first
  // new row current. The report of every renamed and refused entry is
  // shown; true when nothing was left out (result.Complete()).
  bool ImportFixes(const std::string& fileName, bool clearFirst, ImportResult& result);
  // Pasted text (fix-file lines, CSV, GPX or GeoJSON) through the same
  // import; the fixes go after the current row (at the end from the blank
  // row).
  bool PasteFixes(std::string_view text, ImportResult& result);
  // Every fix in the format the extension asks for (".gpx", ".csv",
  // ".geojson", ".json"; ".fix" saves a fix file). False on failure
  // (shown).
  bool ExportFixes(const std::string& fileName);
  // The shown log record, its three lines each ended by "\n"; "" when none.
  std::string ShownRecordText() const;
  // The current fix as a line of a fix file (without its line end); "" on
  // the blank row.
  std::string CurrentFixLine() const;

  // A sound, when the sound option is on.
  void PlaySound(Sound sound, bool wait) override;
  // Shows message in the error box.
  void ShowError(const std::string& message);

 private:
  // Every change of the Next Fix state goes through here and is announced
  // once.
  void SetNextFix(bool enabled);
  void SetCurrentRow(int row);
  void PanelChanged();
  void ShowLogRecord(std::uint16_t record);
  // proposed: the point result at its full precision, for the record's figure.
  void LogResult(std::string_view line1, std::string_view line2, std::string_view line3,
                 const std::optional<Vector3>& proposed);
  // All rows anew; row 0 keeps the current row number, otherwise row row - 1
  // is selected, or row 0 when row is beyond the fixes.
  void RebuildFixList(int row);
  void OptionsChanged();
  void ChartChanged();
  // The store operations with their rows, selection and panel.
  void AddFix(const FixRecord& fix);
  void InsertFix(const FixRecord& fix, int pos);
  void ReplaceFix(const FixRecord& fix, std::uint16_t pos);

  // The user's answer to a yes/no question; no when nobody can answer.
  bool Confirm(const std::string& question);
  // Saves status file index through write; a failure is shown.
  StatusFiles::SaveResult SaveStatusFile(int index, const StatusFiles::WriteFunction& write);
  // The three status files, each attempted; true when all were saved, and
  // declined set when the user said no to replacing one.
  bool SaveStatusFiles(bool& declined);
  // A fix file read into the database, with what it did not take; nothing
  // is shown.
  LoadReport ReadFixFile(const std::string& fileName, bool clearFirst, bool& opened);
  // A settings file read and applied; its failure and refused values are
  // added to report. False when it could not be read.
  bool ReadSettingsFile(const std::string& fileName, std::vector<std::string>& report);
  // Puts the fixes of an import at pos (Count + 1 appends), the first of
  // them current, and shows the import's report.
  bool TakeImport(ImportResult& result, int pos);
  // Shows lines (when there are any) as one report.
  void ShowReport(const std::vector<std::string>& lines);
  void MarkUnsaved(int index) { status_.MarkUnsaved(index); }

  AppData paths_;
  const FileSystemCalls& calls_;
  StatusFiles status_;
  ProgramSettings settings_;
  FixDatabase fixes_;
  LogList log_;
  RecordFigures figures_;
  FixRecord deleted_;
  FixRecord pending_;
  DistanceChain chain_;
  bool nextFix_ = false;
  int currentRow_ = 0;
  std::uint16_t shownRecord_ = 0;
  std::string searchText_;
  std::uint16_t searchHit_ = 1;
  FixPanelState lastPanel_;
  Observers observers_;
};

}  // namespace navorix
