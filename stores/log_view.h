// What the window-bound operation log needs of the main window: the
// three-line display, the record-number panel, the two step buttons and the
// "&Next Fix" button. The main window implements it; tests use a fake.
#pragma once

#include <string>

namespace navorix {

class TLogView {
 public:
  virtual ~TLogView() = default;
  // Shows the three lines of a record (xOut1, xOut2, xOut3); all three are
  // empty when no record is shown.
  virtual void ShowLogLines(const std::string& Line1, const std::string& Line2,
                            const std::string& Line3) = 0;
  // The record-number panel (xLinePan).
  virtual void ShowLogNumber(const std::string& Text) = 0;
  // xLineUp ("Show previous log line") and xLineDown ("Show next log line").
  virtual void EnableLogButtons(bool Up, bool Down) = 0;
  // The "&Next Fix" button (xNext).
  virtual void SetNextFixEnabled(bool Enabled) = 0;
  // Plays the sound of a logged result (SndDone) without waiting for it.
  virtual void PlayDoneSound() = 0;
  // Gives the fix list the keyboard focus.
  virtual void FocusFixList() = 0;
};

}  // namespace navorix
