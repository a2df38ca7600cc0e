// navorix-batch's front end of the workbench: script lines become the
// workbench's actions, and each logged result and every failure is printed
// where the window would show it.
//
// Script lines (blank-separated, keywords in any case; empty lines and
// lines whose first non-blank character is "#" are skipped):
//   operations   fixfix A B, arcfix A B R, arcarc A B C D, midpoint A B,
//                azimuth A B, fixatda F DIST AZIM, project A B R,
//                intersect A B C D, next C, proximity A B R DIST,
//                fixatd A B DIST
//   workbench    store NAME, set KEY VALUE, clearlog, load FILE,
//                save FILE, import FILE, export FILE, sort 0|1|2 [NAME],
//                list
// An operation prints its three log lines, or "ERROR: " and the message of
// the error box. A line that cannot be read prints "ERROR: line N: " and
// the reason. Workbench lines print nothing but list and errors; import
// writes its report (every renamed and refused entry) to the error output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "workbench/observers.h"
#include "workbench/workbench.h"

namespace navorix {

class BatchOutput;

class BatchWorkbench : private MessageObserver {
 public:
  // Longest script line read, in bytes; a longer one is an error of its
  // line, so that no input can make the program's memory grow.
  static constexpr std::size_t MaxLineLength = 4096;

  explicit BatchWorkbench(BatchOutput& out);

  // Reads the settings file iniFile as status loading does (the defaults of
  // a missing settings file when iniFile is empty), so that Next Fix starts
  // as the distance unit gives it. False with Failure() set when the file
  // cannot be read or the settings could not be used.
  bool LoadSettings(const std::string& iniFile);
  // Appends the fixes of a fix file; false with Failure() set when it
  // cannot be read. A file not taken completely sets Failed().
  bool LoadFixes(const std::string& fileName);
  const std::string& Failure() const { return failure_; }
  // What the fix file held that LoadFixes did not take, one line per kind
  // of loss (none when it took everything).
  const std::vector<std::string>& Warnings() const { return warnings_; }

  // Runs script line lineNo (Windows-1252 text without its line end).
  void RunLine(std::string_view line, unsigned lineNo);
  // Reports line lineNo as too long to be read.
  void LineTooLong(unsigned lineNo);

  // True once something the user keeps was not done: the start fix file or
  // a load not taken completely, a store refused, a save or an export
  // failed, an import left something out, or a script line could not be
  // read; the program then ends with status 1. Operation errors are
  // results.
  bool Failed() const { return failed_; }

  Workbench& Bench() { return bench_; }

 private:
  static constexpr std::size_t MaxTokens = 8;

  void RunOperation(OperationTag op, const std::string_view* operands, std::size_t count, unsigned lineNo);
  void Store(std::string_view name, unsigned lineNo);
  void Set(std::string_view key, std::string_view valueText, unsigned lineNo);
  void Sort(std::string_view orderText, const std::string_view* name, unsigned lineNo);
  void List();
  void LineError(unsigned lineNo, std::string_view reason, std::string_view token = {});

  // The error box: kept while starting, printed while the script runs.
  void ShowError(const std::string& message) override;
  void ShowEntryReport(const std::vector<std::string>& lines) override;
  // Message with the file of the present load or save named as typed.
  std::string WithPathAsTyped(const std::string& message) const;

  BatchOutput& out_;
  Workbench bench_;
  bool running_ = false;
  bool failed_ = false;
  std::string failure_;
  std::vector<std::string> warnings_;  // the messages of the start's present step
  std::string fileAsTyped_;            // the file of the load or save under way
  std::string text_;                   // a reused line buffer
};

}  // namespace navorix
