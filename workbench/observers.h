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
class FixListObserver {
 public:
  virtual ~FixListObserver() = default;
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
struct FixButtons {
  bool up = false;        // moveUpButton, move up
  bool down = false;      // moveDownButton, move down
  bool remove = false;    // deleteButton
  bool edit = false;      // editButton
  bool undelete = false;  // undeleteButton
  friend bool operator==(const FixButtons&, const FixButtons&) = default;
};

// The panel under the list: the counter and the fix buttons.
struct FixPanelState {
  std::string counter;  // "N = " and the number of fixes
  FixButtons buttons;
  friend bool operator==(const FixPanelState&, const FixPanelState&) = default;
};

class FixPanelObserver {
 public:
  virtual ~FixPanelObserver() = default;
  virtual void FixPanelChanged(const FixPanelState& /*Panel*/) {}
};

// The log display: the three lines of the shown record, its number and the
// two step buttons.
struct LogDisplayState {
  std::string line1, line2, line3;  // all empty when no record is shown
  std::string number;               // "0" when none
  bool previousEnabled = false;     // previousRecordButton
  bool nextEnabled = false;         // nextRecordButton
  friend bool operator==(const LogDisplayState&, const LogDisplayState&) = default;
};

class LogObserver {
 public:
  virtual ~LogObserver() = default;
  virtual void LogShown(const LogDisplayState& /*Display*/) {}
};

// The Options menu, the hints and the fonts follow the settings.
class OptionsObserver {
 public:
  virtual ~OptionsObserver() = default;
  virtual void OptionsChanged(const ProgramSettings& /*Settings*/) {}
};

// The "&Next Fix" button.
class NextFixObserver {
 public:
  virtual ~NextFixObserver() = default;
  virtual void NextFixChanged(bool /*Enabled*/) {}
};

// The chart: the fixes, the current row, the shown record or the options
// changed; it reads what it draws from the workbench.
class ChartObserver {
 public:
  virtual ~ChartObserver() = default;
  virtual void ChartChanged() {}
};

// The four sounds, in the order the window loads them.
enum class Sound : std::uint8_t { Error, Input, Question, Done };

// The answers of the question box.
enum class Answer : std::uint8_t { Yes, No, Cancel };
// Its buttons: Yes and No, or Yes, No and Cancel.
enum class Buttons : std::uint8_t { YesNo, YesNoCancel };

// The error box, the question box and the sound player.
class MessageObserver {
 public:
  virtual ~MessageObserver() = default;
  // The user's answer to Question ("|" ends a line). A front end that cannot
  // ask answers No: nothing is replaced without a yes.
  virtual Answer Ask(const std::string& /*Question*/, Buttons /*Buttons*/) { return Answer::No; }
  // One line for the error box.
  virtual void ShowError(const std::string& /*Message*/) {}
  // Several lines that belong together (what loading did not take), for
  // one error box; each line fits the box. A front end without such a box
  // shows them one by one.
  virtual void ShowReport(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) ShowError(line);
  }
  // A report that names every entry it concerns (what an import renamed
  // and refused), however many: for a box that scrolls. A front end
  // without one shows the lines one by one.
  virtual void ShowEntryReport(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) ShowError(line);
  }
  // Only called while the Sound option is on.
  virtual void PlaySound(Sound /*Sound*/, bool /*Wait*/) {}
};

// The observers of one front end; any of them may be absent.
struct Observers {
  FixListObserver* fixList = nullptr;
  FixPanelObserver* fixPanel = nullptr;
  LogObserver* log = nullptr;
  OptionsObserver* options = nullptr;
  NextFixObserver* nextFix = nullptr;
  MessageObserver* messages = nullptr;
  ChartObserver* chart = nullptr;
};

}  // namespace navorix
