// The workbench without a window: the fix database, the operation log and
// the executors of the main window, driven by script lines. It plays the
// part of the window for the stores (list, log display, Options menu) and
// prints, instead of showing, each logged result and every failure.
//
// Script lines (blank-separated, keywords in any case; empty lines and
// lines whose first non-blank character is "#" are skipped):
//   operations   fixfix A B, arcfix A B R, arcarc A B C D, midpoint A B,
//                azimuth A B, fixatda F DIST AZIM, project A B R,
//                intersect A B C D, next C, proximity A B R DIST,
//                fixatd A B DIST
//   workbench    store NAME, set KEY VALUE, clearlog, load FILE,
//                save FILE, sort 0|1|2 [NAME], list
// An operation prints its three log lines, or "ERROR: " and the message of
// the error box. A line that cannot be read prints "ERROR: line N: " and
// the reason. Workbench lines print nothing but list and errors.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "operations/executors.h"
#include "stores/fix_list_view.h"
#include "stores/log_view.h"
#include "stores/options_menu.h"
#include "stores/win_fix_db.h"
#include "stores/win_log_db.h"

namespace navorix {

class TBatchOutput;

class TBatchWorkbench : private TFixListView,
                        private TLogView,
                        private TOptionsMenu,
                        private TResultSink {
 public:
  explicit TBatchWorkbench(TBatchOutput& Out);

  // Reads the settings file IniFile as status loading does (the defaults of
  // a missing settings file when IniFile is empty), so that Next Fix starts
  // as the distance unit gives it. False with Failure() set when the file
  // cannot be read or the settings could not be used.
  bool LoadSettings(const std::string& IniFile);
  // Appends the fixes of a fix file; false with Failure() set when it
  // cannot be read.
  bool LoadFixes(const std::string& FileName);
  const std::string& Failure() const { return failure_; }

  // Runs script line LineNo (Windows-1252 text without its line end).
  void RunLine(std::string_view Line, unsigned LineNo);

  TWinFixDB& Fixes() { return fixes_; }
  TExecutors& Executors() { return executors_; }

 private:
  static constexpr std::size_t MaxTokens = 8;

  void RunOperation(std::uint8_t Tag, const std::string_view* Operands, std::size_t Count,
                    unsigned LineNo);
  void Store(std::string_view Name, unsigned LineNo);
  void Set(std::string_view Key, std::string_view Value, unsigned LineNo);
  void Sort(std::string_view Order, const std::string_view* Name, unsigned LineNo);
  void List();
  void LineError(unsigned LineNo, std::string_view Reason, std::string_view Token = {});
  void PrintError(std::string_view Message);

  // TFixListView: the rows are not kept; list prints them from the fixes.
  void SetRows(std::vector<std::string>) override {}
  void InsertRow(int, const std::string&) override {}
  void DeleteRow(int) override {}
  void SetRow(int, const std::string&) override {}
  void MoveRow(int, int) override {}
  void SelectRow(int Row) override { selectedRow_ = Row; }
  int SelectedRow() const override { return selectedRow_; }
  void SetCounterText(const std::string&) override {}
  void EnableFixButtons(const TFixButtons&) override {}
  void FocusFixList() override {}
  // Shared with TOptionsMenu: failures of loading are kept for the caller.
  void ShowError(const std::string& Message) override { failure_ = Message; }

  // TLogView: the record shown right after the done sound is the new result.
  void ShowLogLines(const std::string& Line1, const std::string& Line2,
                    const std::string& Line3) override;
  void ShowLogNumber(const std::string&) override {}
  void EnableLogButtons(bool, bool) override {}
  // Shared with TOptionsMenu.
  void SetNextFixEnabled(bool Enabled) override { executors_.SetNextFixEnabled(Enabled); }
  void PlayDoneSound() override { resultPending_ = true; }

  // TOptionsMenu.
  void SetMenuChecked(TMenuItem, bool) override {}
  void SetMenuCaption(TMenuItem, const std::string&) override {}
  bool SetHintsShown(bool Shown) override { return Shown; }
  void SetMenuFontSize(int) override {}
  void SetPropFontSize(int) override {}

  // TResultSink.
  void LogResult(std::string_view Line1, std::string_view Line2,
                 std::string_view Line3) override {
    log_.LogResult(Line1, Line2, Line3);
  }
  void NextFixChanged(bool) override {}

  TBatchOutput& out_;
  TWinFixDB fixes_;
  TWinLogDB log_;
  TExecutors executors_;
  int selectedRow_ = 0;
  bool resultPending_ = false;
  std::string failure_;
  std::string text_;  // a reused line buffer
};

}  // namespace navorix
