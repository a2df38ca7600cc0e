// The batch workbench: script lines to stores, dispatcher and executors.
#include "app/batch_workbench.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <iterator>

#include "app/batch_output.h"
#include "app/script_operands.h"
#include "operations/catalogue.h"
#include "stores/line_reader.h"
#include "text/cp1252.h"
#include "text/display_options.h"

namespace navorix {

namespace {

bool SameNoCase(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i) {
    char a = A[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    char b = B[i];
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

enum class Command { Operation, Store, Set, ClearLog, Load, Save, Import, Export, Sort, List };

struct Keyword {
  std::string_view word;
  Command command;
  OperationTag op;                       // the operation of an operation line
  std::size_t minOperands, maxOperands;  // of a workbench line
  std::string_view usage;
};

using T = OperationTag;

// The operands of an operation are those of its dialog layout.
constexpr Keyword Keywords[] = {
    {"fixfix", Command::Operation, T::FixFix, 0, 0, "fixfix A B"},
    {"arcfix", Command::Operation, T::ArcFix, 0, 0, "arcfix A B R"},
    {"arcarc", Command::Operation, T::ArcArc, 0, 0, "arcarc A B C D"},
    {"midpoint", Command::Operation, T::Midpoint, 0, 0, "midpoint A B"},
    {"azimuth", Command::Operation, T::Azimuth, 0, 0, "azimuth A B"},
    {"fixatda", Command::Operation, T::FixAtDistAz, 0, 0, "fixatda F DIST AZIM"},
    {"project", Command::Operation, T::Projection, 0, 0, "project A B R"},
    {"intersect", Command::Operation, T::Intersection, 0, 0, "intersect A B C D"},
    {"next", Command::Operation, T::NextFix, 0, 0, "next C"},
    {"proximity", Command::Operation, T::FixesAtDistance, 0, 0, "proximity A B R DIST"},
    {"fixatd", Command::Operation, T::FixAtDistance, 0, 0, "fixatd A B DIST"},
    {"store", Command::Store, T::FixFix, 1, 1, "store NAME"},
    {"set", Command::Set, T::FixFix, 2, 2, "set KEY VALUE"},
    {"clearlog", Command::ClearLog, T::FixFix, 0, 0, "clearlog"},
    {"load", Command::Load, T::FixFix, 1, 1, "load FILE"},
    {"save", Command::Save, T::FixFix, 1, 1, "save FILE"},
    {"import", Command::Import, T::FixFix, 1, 1, "import FILE"},
    {"export", Command::Export, T::FixFix, 1, 1, "export FILE"},
    {"sort", Command::Sort, T::FixFix, 1, 2, "sort 0|1|2 [NAME]"},
    {"list", Command::List, T::FixFix, 0, 0, "list"},
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A whole decimal integer, nothing before or after it.
bool ReadInt(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

}  // namespace

BatchWorkbench::BatchWorkbench(BatchOutput& out) : out_(out) {
  text_.reserve(256);
  Observers observers;
  observers.messages = this;
  bench_.Attach(observers);
}

// The error box shows a file by its last name, to stay within one short
// line; a script's output names it as the script did.
std::string BatchWorkbench::WithPathAsTyped(const std::string& message) const {
  if (fileAsTyped_.empty()) return message;
  const std::string shown = FileBaseName(fileAsTyped_);
  for (const char* verb : {"Cannot open ", "Cannot read ", "Cannot write "}) {
    const std::string head = verb + shown + ":";
    if (message.rfind(head, 0) == 0) {
      return verb + fileAsTyped_ + message.substr(head.size() - 1);
    }
  }
  return message;
}

void BatchWorkbench::ShowError(const std::string& message) {
  if (running_) {
    out_.Line("ERROR: ", WithPathAsTyped(message));
    return;
  }
  if (failure_.empty()) failure_ = WithPathAsTyped(message);
  warnings_.push_back(WithPathAsTyped(message));
}

// The report of an import goes to the error output, so that the results
// on the standard output stay as a script expects them.
void BatchWorkbench::ShowEntryReport(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text = "navorix-batch: ";
    if (out_.Utf8()) {
      AppendUtf8(text, WithPathAsTyped(line));
    } else {
      text += WithPathAsTyped(line);
    }
    text += '\n';
    std::fputs(text.c_str(), stderr);
  }
}

bool BatchWorkbench::LoadSettings(const std::string& iniFile) {
  failure_.clear();
  // A settings file named on the command line must be there; without one
  // the settings keep the defaults that a missing settings file gives. Its
  // type is checked without a blocking open: a named pipe would hold the
  // program for ever.
  if (!iniFile.empty()) {
    const std::string reason = CannotReadReason(iniFile);
    if (!reason.empty()) {
      failure_ = "Cannot read " + iniFile + ": " + reason;
      return false;
    }
  }
  // Read exactly as status loading reads them. Only the "Settings" section
  // counts here: a refused font size of the window is no failure.
  const bool usable = bench_.LoadSettingsFile(iniFile);
  if (usable) failure_.clear();
  warnings_.clear();
  return usable;
}

bool BatchWorkbench::LoadFixes(const std::string& fileName) {
  failure_.clear();
  warnings_.clear();
  LoadReport report;
  // Failures and what was not taken come through ShowError.
  fileAsTyped_ = fileName;
  const bool opened = bench_.LoadFixFile(fileName, false, report);
  fileAsTyped_.clear();
  if (!opened) return false;
  if (!report.Complete()) {
    // The fixes that did read are there to work with; the loss is said on
    // the error output, and a save would make it permanent: the run ends
    // with status 1.
    failure_.clear();
    failed_ = true;
  }
  running_ = true;
  return true;
}

void BatchWorkbench::LineTooLong(unsigned lineNo) {
  LineError(lineNo, "line longer than " + std::to_string(MaxLineLength) + " bytes");
}

void BatchWorkbench::LineError(unsigned lineNo, std::string_view reason, std::string_view token) {
  failed_ = true;
  text_.assign("ERROR: line ").append(std::to_string(lineNo)).append(": ").append(reason);
  if (!token.empty()) text_.append(1, ' ').append(token);
  out_.Line(text_);
}

void BatchWorkbench::RunLine(std::string_view line, unsigned lineNo) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i == line.size() || line[i] == '#') return;
  std::string_view tokens[MaxTokens];
  std::size_t count = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) break;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (count == MaxTokens) {
      LineError(lineNo, "too many operands");
      return;
    }
    tokens[count++] = line.substr(start, i - start);
  }

  const Keyword* keyword = nullptr;
  for (const Keyword& k : Keywords) {
    if (SameNoCase(tokens[0], k.word)) keyword = &k;
  }
  if (keyword == nullptr) {
    LineError(lineNo, "unknown keyword", tokens[0]);
    return;
  }
  const std::string_view* operands = tokens + 1;
  const std::size_t n = count - 1;
  const bool operation = keyword->command == Command::Operation;
  const std::size_t least =
      operation ? Layout(Operation(keyword->op).entry).fieldCount : keyword->minOperands;
  const std::size_t most = operation ? least : keyword->maxOperands;
  if (n < least || n > most) {
    LineError(lineNo, "usage:", keyword->usage);
    return;
  }
  switch (keyword->command) {
    case Command::Operation:
      RunOperation(keyword->op, operands, n, lineNo);
      break;
    case Command::Store:
      Store(operands[0], lineNo);
      break;
    case Command::Set:
      Set(operands[0], operands[1], lineNo);
      break;
    case Command::ClearLog:
      bench_.ClearLog();  // also disables Next Fix
      break;
    case Command::Load: {
      LoadReport report;
      fileAsTyped_ = operands[0];
      if (!bench_.LoadFixFile(fileAsTyped_, false, report) || !report.Complete()) failed_ = true;
      fileAsTyped_.clear();
      break;
    }
    case Command::Save:
      fileAsTyped_ = operands[0];
      if (!bench_.SaveFixFile(fileAsTyped_)) failed_ = true;
      fileAsTyped_.clear();
      break;
    case Command::Import: {
      ImportResult result;
      fileAsTyped_ = operands[0];
      if (!bench_.ImportFixes(fileAsTyped_, false, result)) failed_ = true;
      fileAsTyped_.clear();
      break;
    }
    case Command::Export:
      fileAsTyped_ = operands[0];
      if (!bench_.ExportFixes(fileAsTyped_)) failed_ = true;
      fileAsTyped_.clear();
      break;
    case Command::Sort:
      Sort(operands[0], n == 2 ? &operands[1] : nullptr, lineNo);
      break;
    case Command::List:
      List();
      break;
  }
}

void BatchWorkbench::RunOperation(OperationTag op, const std::string_view* operands, std::size_t count,
                                  unsigned lineNo) {
  ScriptOperands source(bench_, operands, count);
  switch (bench_.RunOperation(op, source)) {
    case RunResult::Logged: {
      const LogList& log = bench_.Log();
      for (int line = 1; line <= 3; ++line) out_.Line(log.GetLine(log.Count(), line));
      break;
    }
    case RunResult::Cancelled:
      if (!source.Failure().empty()) LineError(lineNo, source.Failure());
      break;
    case RunResult::Failed:  // printed as the error box would show it
      break;
  }
}

// As the fix input dialog stores a new fix from the blank row: the pending
// fix's own position (its coordinate texts left as prefilled) under the
// checked name, appended at the end; the pending fix stays for the next one.
void BatchWorkbench::Store(std::string_view name, unsigned lineNo) {
  if (!bench_.PendingFix().valid) {
    LineError(lineNo, "no computed fix to store");
    return;
  }
  bench_.SelectRow(bench_.RowCount() - 1);
  const FixEdit edit = bench_.BeginFixEdit(true);
  // The name in use is reported first (as the error box), even for an
  // invalid name.
  const FixCheck check = bench_.CheckFixInput(edit, name, edit.latitude, edit.longitude);
  // A refused store is work the user meant to keep: the run ends with 1.
  if (check.nameInUse) {
    failed_ = true;
    return;
  }
  if (check.nameBad) {
    LineError(lineNo, "invalid fix name", name);
    return;
  }
  if (!bench_.StoreFix(edit, check, edit.latitude, edit.longitude)) failed_ = true;
}

void BatchWorkbench::Set(std::string_view key, std::string_view valueText, unsigned lineNo) {
  static constexpr std::string_view Switches[] = {"EllipticLat", "EllipticArc", "GeoDistance"};

  int value = 0;
  const bool number = ReadInt(valueText, value);
  for (const DisplayOptionInfo& option : DisplayOptionTable) {
    if (!SameNoCase(key, option.key)) continue;
    if (!number || value < 0 || value >= option.count) {
      LineError(lineNo, std::string(option.key) + " takes 0.." + std::to_string(option.count - 1));
      return;
    }
    bench_.SetDisplayOption(option.option, value);
    return;
  }
  for (std::size_t s = 0; s < std::size(Switches); ++s) {
    if (!SameNoCase(key, Switches[s])) continue;
    if (!number || (value != 0 && value != 1)) {
      LineError(lineNo, std::string(Switches[s]) + " takes 0 or 1");
      return;
    }
    const EarthModel& earth = bench_.Settings().earth;
    const bool option = s == 0 ? earth.ellipticLat : s == 1 ? earth.ellipticArc : earth.geoDistance;
    // The menu only ever inverts a switch; setting its present value is no
    // change at all.
    if (option == (value == 1)) return;
    if (s == 0) bench_.ToggleEllipticLat();
    if (s == 1) bench_.ToggleEllipticArc();
    if (s == 2) bench_.ToggleGeoDistance();
    return;
  }
  LineError(lineNo, "unknown setting", key);
}

void BatchWorkbench::Sort(std::string_view orderText, const std::string_view* name, unsigned lineNo) {
  int order = 0;
  if (!ReadInt(orderText, order) || order < 0 || order > 2) {
    LineError(lineNo, "sort order must be 0, 1 or 2, not", orderText);
    return;
  }
  // The reference of the distance order is the current fix, as in the
  // window; without a name the blank row is current.
  std::uint16_t current = 0;
  if (name != nullptr) {
    const char* reason = nullptr;
    current = FindScriptFix(bench_, *name, reason);
    if (current == 0) {
      LineError(lineNo, reason, *name);
      return;
    }
  } else if (order == Index(SortOrder::ByDistance)) {
    LineError(lineNo, "sort 2 needs the reference fix: sort 2 NAME");
    return;
  }
  bench_.SelectRow(current == 0 ? bench_.RowCount() - 1 : current - 1);
  bench_.SortFixes(static_cast<SortOrder>(order));
}

void BatchWorkbench::List() {
  const int count = bench_.RowCount() - 1;
  for (int row = 0; row < count; ++row) out_.Line(bench_.RowText(row));
  out_.Line("N = ", std::to_string(count));
}

}  // namespace navorix
