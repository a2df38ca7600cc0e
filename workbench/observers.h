// What the workbench tells the views. Each interface is narrow and every
// method has an empty default, so a front end that shows nothing (the batch
// program, a test) overrides only what it needs. Views never receive data
// to store: they are told what changed and pull the rest from the workbench
// (the fix list asks for the text of the rows it draws).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stores/settings.h"

namespace navorix {

// The fix list. Rows are 0-based; row r shows fix r + 1 and the last row,
// row Count, is the blank row that stands for the place after the last fix.
class TFixListObserver {
 public:
  virtual ~TFixListObserver() = default;
  // Every row may have changed, their number too (loading, sorting, a new
  // format or accuracy, clearing).
  virtual void RowsReset() {}
  // A row was inserted before row Row (the rows from Row on moved down).
  virtual void RowInserted(int /*Row*/) {}
  virtual void RowRemoved(int /*Row*/) {}
  // The text of row Row changed.
  virtual void RowChanged(int /*Row*/) {}
  // Rows Row and Row + 1 changed places.
  virtual void RowsSwapped(int /*Row*/) {}
  // The current (selected) row is now Row.
  virtual void CurrentRowChanged(int /*Row*/) {}
};

// Enabled states of the fix buttons.
struct TFixButtons {
  bool Up = false;        // xUp, move up
  bool Down = false;      // xDown, move down
  bool Delete = false;    // xDelete
  bool Edit = false;      // xEdit
  bool Undelete = false;  // xUndel
  friend bool operator==(const TFixButtons&, const TFixButtons&) = default;
};

// The panel under the list: the counter and the fix buttons.
struct TFixPanel {
  std::string Counter;  // "N = " and the number of fixes
  TFixButtons Buttons;
  friend bool operator==(const TFixPanel&, const TFixPanel&) = default;
};

class TFixPanelObserver {
 public:
  virtual ~TFixPanelObserver() = default;
  virtual void FixPanelChanged(const TFixPanel& /*Panel*/) {}
};

// The log display: the three lines of the shown record, its number and the
// two step buttons.
struct TLogDisplay {
  std::string Line1, Line2, Line3;  // all empty when no record is shown
  std::string Number;               // "0" when none
  bool PreviousEnabled = false;     // xLineUp
  bool NextEnabled = false;         // xLineDown
  friend bool operator==(const TLogDisplay&, const TLogDisplay&) = default;
};

class TLogObserver {
 public:
  virtual ~TLogObserver() = default;
  virtual void LogShown(const TLogDisplay& /*Display*/) {}
};

// The Options menu, the hints and the fonts follow the settings.
class TOptionsObserver {
 public:
  virtual ~TOptionsObserver() = default;
  virtual void OptionsChanged(const TSettings& /*Settings*/) {}
};

// The "&Next Fix" button.
class TNextFixObserver {
 public:
  virtual ~TNextFixObserver() = default;
  virtual void NextFixChanged(bool /*Enabled*/) {}
};

// The chart: the fixes, the current row, the shown record or the options
// changed; it reads what it draws from the workbench.
class TChartObserver {
 public:
  virtual ~TChartObserver() = default;
  virtual void ChartChanged() {}
};

// The four sounds, in the order the window loads them.
enum class TSound : std::uint8_t { Error, Input, Question, Done };

// The answers of the question box.
enum class TAnswer : std::uint8_t { Yes, No, Cancel };
// Its buttons: Yes and No, or Yes, No and Cancel.
enum class TButtons : std::uint8_t { YesNo, YesNoCancel };

// The error box, the question box and the sound player.
class TMessageObserver {
 public:
  virtual ~TMessageObserver() = default;
  // The user's answer to Question ("|" ends a line). A front end that cannot
  // ask answers No: nothing is replaced without a yes.
  virtual TAnswer Ask(const std::string& /*Question*/, TButtons /*Buttons*/) { return TAnswer::No; }
  // One line for the error box.
  virtual void ShowError(const std::string& /*Message*/) {}
  // Several lines that belong together (what loading did not take), for
  // one error box; each line fits the box. A front end without such a box
  // shows them one by one.
  virtual void ShowReport(const std::vector<std::string>& Lines) {
    for (const std::string& line : Lines) ShowError(line);
  }
  // A report that names every entry it concerns (what an import renamed
  // and refused), however many: for a box that scrolls. A front end
  // without one shows the lines one by one.
  virtual void ShowEntryReport(const std::vector<std::string>& Lines) {
    for (const std::string& line : Lines) ShowError(line);
  }
  // Only called while the Sound option is on.
  virtual void PlaySound(TSound /*Sound*/, bool /*Wait*/) {}
};

// The observers of one front end; any of them may be absent.
struct TObservers {
  TFixListObserver* FixList = nullptr;
  TFixPanelObserver* FixPanel = nullptr;
  TLogObserver* Log = nullptr;
  TOptionsObserver* Options = nullptr;
  TNextFixObserver* NextFix = nullptr;
  TMessageObserver* Messages = nullptr;
  TChartObserver* Chart = nullptr;
};

}  // namespace navorix
