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

enum class TCommand { Operation, Store, Set, ClearLog, Load, Save, Import, Export, Sort, List };

struct TKeyword {
  std::string_view Word;
  TCommand Command;
  TOpTag Op;  // the operation of an operation line
  std::size_t MinOperands, MaxOperands;  // of a workbench line
  std::string_view Usage;
};

using T = TOpTag;

// The operands of an operation are those of its dialog layout.
constexpr TKeyword Keywords[] = {
    {"fixfix", TCommand::Operation, T::FixFix, 0, 0, "fixfix A B"},
    {"arcfix", TCommand::Operation, T::ArcFix, 0, 0, "arcfix A B R"},
    {"arcarc", TCommand::Operation, T::ArcArc, 0, 0, "arcarc A B C D"},
    {"midpoint", TCommand::Operation, T::Midpoint, 0, 0, "midpoint A B"},
    {"azimuth", TCommand::Operation, T::Azimuth, 0, 0, "azimuth A B"},
    {"fixatda", TCommand::Operation, T::FixAtDistAz, 0, 0, "fixatda F DIST AZIM"},
    {"project", TCommand::Operation, T::Projection, 0, 0, "project A B R"},
    {"intersect", TCommand::Operation, T::Intersection, 0, 0, "intersect A B C D"},
    {"next", TCommand::Operation, T::NextFix, 0, 0, "next C"},
    {"proximity", TCommand::Operation, T::FixesAtDistance, 0, 0, "proximity A B R DIST"},
    {"fixatd", TCommand::Operation, T::FixAtDistance, 0, 0, "fixatd A B DIST"},
    {"store", TCommand::Store, T::FixFix, 1, 1, "store NAME"},
    {"set", TCommand::Set, T::FixFix, 2, 2, "set KEY VALUE"},
    {"clearlog", TCommand::ClearLog, T::FixFix, 0, 0, "clearlog"},
    {"load", TCommand::Load, T::FixFix, 1, 1, "load FILE"},
    {"save", TCommand::Save, T::FixFix, 1, 1, "save FILE"},
    {"import", TCommand::Import, T::FixFix, 1, 1, "import FILE"},
    {"export", TCommand::Export, T::FixFix, 1, 1, "export FILE"},
    {"sort", TCommand::Sort, T::FixFix, 1, 2, "sort 0|1|2 [NAME]"},
    {"list", TCommand::List, T::FixFix, 0, 0, "list"},
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A whole decimal integer, nothing before or after it.
bool ReadInt(std::string_view Text, int& Value) {
  const char* end = Text.data() + Text.size();
  const auto [ptr, ec] = std::from_chars(Text.data(), end, Value);
  return ec == std::errc() && ptr == end && !Text.empty();
}

}  // namespace

TBatchWorkbench::TBatchWorkbench(TBatchOutput& Out) : out_(Out) {
  text_.reserve(256);
  TObservers observers;
  observers.Messages = this;
  bench_.Attach(observers);
}

// The error box shows a file by its last name, to stay within one short
// line; a script's output names it as the script did.
std::string TBatchWorkbench::WithPathAsTyped(const std::string& Message) const {
  if (fileAsTyped_.empty()) return Message;
  const std::string shown = FileBaseName(fileAsTyped_);
  for (const char* verb : {"Cannot open ", "Cannot read ", "Cannot write "}) {
    const std::string head = verb + shown + ":";
    if (Message.rfind(head, 0) == 0) {
      return verb + fileAsTyped_ + Message.substr(head.size() - 1);
    }
  }
  return Message;
}

void TBatchWorkbench::ShowError(const std::string& Message) {
  if (running_) {
    out_.Line("ERROR: ", WithPathAsTyped(Message));
    return;
  }
  if (failure_.empty()) failure_ = WithPathAsTyped(Message);
  warnings_.push_back(WithPathAsTyped(Message));
}

// The report of an import goes to the error output, so that the results
// on the standard output stay as a script expects them.
void TBatchWorkbench::ShowEntryReport(const std::vector<std::string>& Lines) {
  std::string text;
  for (const std::string& line : Lines) {
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

bool TBatchWorkbench::LoadSettings(const std::string& IniFile) {
  failure_.clear();
  // A settings file named on the command line must be there; without one
  // the settings keep the defaults that a missing settings file gives. Its
  // type is checked without a blocking open: a named pipe would hold the
  // program for ever.
  if (!IniFile.empty()) {
    const std::string reason = CannotReadReason(IniFile);
    if (!reason.empty()) {
      failure_ = "Cannot read " + IniFile + ": " + reason;
      return false;
    }
  }
  // Read exactly as status loading reads them. Only the "Settings" section
  // counts here: a refused font size of the window is no failure.
  const bool usable = bench_.LoadSettingsFile(IniFile);
  if (usable) failure_.clear();
  warnings_.clear();
  return usable;
}

bool TBatchWorkbench::LoadFixes(const std::string& FileName) {
  failure_.clear();
  warnings_.clear();
  TLoadReport report;
  // Failures and what was not taken come through ShowError.
  fileAsTyped_ = FileName;
  const bool opened = bench_.LoadFixFile(FileName, false, report);
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

void TBatchWorkbench::LineTooLong(unsigned LineNo) {
  LineError(LineNo, "line longer than " + std::to_string(MaxLineLength) + " bytes");
}

void TBatchWorkbench::LineError(unsigned LineNo, std::string_view Reason, std::string_view Token) {
  failed_ = true;
  text_.assign("ERROR: line ").append(std::to_string(LineNo)).append(": ").append(Reason);
  if (!Token.empty()) text_.append(1, ' ').append(Token);
  out_.Line(text_);
}

void TBatchWorkbench::RunLine(std::string_view Line, unsigned LineNo) {
  std::size_t i = 0;
  while (i < Line.size() && IsBlank(Line[i])) ++i;
  if (i == Line.size() || Line[i] == '#') return;
  std::string_view tokens[MaxTokens];
  std::size_t count = 0;
  while (i < Line.size()) {
    while (i < Line.size() && IsBlank(Line[i])) ++i;
    if (i == Line.size()) break;
    const std::size_t start = i;
    while (i < Line.size() && !IsBlank(Line[i])) ++i;
    if (count == MaxTokens) {
      LineError(LineNo, "too many operands");
      return;
    }
    tokens[count++] = Line.substr(start, i - start);
  }

  const TKeyword* keyword = nullptr;
  for (const TKeyword& k : Keywords) {
    if (SameNoCase(tokens[0], k.Word)) keyword = &k;
  }
  if (keyword == nullptr) {
    LineError(LineNo, "unknown keyword", tokens[0]);
    return;
  }
  const std::string_view* operands = tokens + 1;
  const std::size_t n = count - 1;
  const bool operation = keyword->Command == TCommand::Operation;
  const std::size_t least =
      operation ? Layout(Operation(keyword->Op).Entry).FieldCount : keyword->MinOperands;
  const std::size_t most = operation ? least : keyword->MaxOperands;
  if (n < least || n > most) {
    LineError(LineNo, "usage:", keyword->Usage);
    return;
  }
  switch (keyword->Command) {
    case TCommand::Operation:
      RunOperation(keyword->Op, operands, n, LineNo);
      break;
    case TCommand::Store:
      Store(operands[0], LineNo);
      break;
    case TCommand::Set:
      Set(operands[0], operands[1], LineNo);
      break;
    case TCommand::ClearLog:
      bench_.ClearLog();  // also disables Next Fix
      break;
    case TCommand::Load: {
      TLoadReport report;
      fileAsTyped_ = operands[0];
      if (!bench_.LoadFixFile(fileAsTyped_, false, report) || !report.Complete()) failed_ = true;
      fileAsTyped_.clear();
      break;
    }
    case TCommand::Save:
      fileAsTyped_ = operands[0];
      if (!bench_.SaveFixFile(fileAsTyped_)) failed_ = true;
      fileAsTyped_.clear();
      break;
    case TCommand::Import: {
      ImportResult result;
      fileAsTyped_ = operands[0];
      if (!bench_.ImportFixes(fileAsTyped_, false, result)) failed_ = true;
      fileAsTyped_.clear();
      break;
    }
    case TCommand::Export:
      fileAsTyped_ = operands[0];
      if (!bench_.ExportFixes(fileAsTyped_)) failed_ = true;
      fileAsTyped_.clear();
      break;
    case TCommand::Sort:
      Sort(operands[0], n == 2 ? &operands[1] : nullptr, LineNo);
      break;
    case TCommand::List:
      List();
      break;
  }
}

void TBatchWorkbench::RunOperation(TOpTag Op, const std::string_view* Operands, std::size_t Count,
                                   unsigned LineNo) {
  TScriptOperands source(bench_, Operands, Count);
  switch (bench_.RunOperation(Op, source)) {
    case TRunResult::Logged: {
      const TLogList& log = bench_.Log();
      for (int line = 1; line <= 3; ++line) out_.Line(log.GetLine(log.Count(), line));
      break;
    }
    case TRunResult::Cancelled:
      if (!source.Failure().empty()) LineError(LineNo, source.Failure());
      break;
    case TRunResult::Failed:  // printed as the error box would show it
      break;
  }
}

// As the fix input dialog stores a new fix from the blank row: the pending
// fix's own position (its coordinate texts left as prefilled) under the
// checked name, appended at the end; the pending fix stays for the next one.
void TBatchWorkbench::Store(std::string_view Name, unsigned LineNo) {
  if (!bench_.PendingFix().Valid) {
    LineError(LineNo, "no computed fix to store");
    return;
  }
  bench_.SelectRow(bench_.RowCount() - 1);
  const TFixEdit edit = bench_.BeginFixEdit(true);
  // The name in use is reported first (as the error box), even for an
  // invalid name.
  const TFixCheck check = bench_.CheckFixInput(edit, Name, edit.Latitude, edit.Longitude);
  // A refused store is work the user meant to keep: the run ends with 1.
  if (check.NameInUse) {
    failed_ = true;
    return;
  }
  if (check.NameBad) {
    LineError(LineNo, "invalid fix name", Name);
    return;
  }
  if (!bench_.StoreFix(edit, check, edit.Latitude, edit.Longitude)) failed_ = true;
}

void TBatchWorkbench::Set(std::string_view Key, std::string_view Value, unsigned LineNo) {
  static constexpr std::string_view Switches[] = {"EllipticLat", "EllipticArc", "GeoDistance"};

  int value = 0;
  const bool number = ReadInt(Value, value);
  for (const TDisplayOptionInfo& option : DisplayOptionTable) {
    if (!SameNoCase(Key, option.Key)) continue;
    if (!number || value < 0 || value >= option.Count) {
      LineError(LineNo, std::string(option.Key) + " takes 0.." + std::to_string(option.Count - 1));
      return;
    }
    bench_.SetDisplayOption(option.Option, value);
    return;
  }
  for (std::size_t s = 0; s < std::size(Switches); ++s) {
    if (!SameNoCase(Key, Switches[s])) continue;
    if (!number || (value != 0 && value != 1)) {
      LineError(LineNo, std::string(Switches[s]) + " takes 0 or 1");
      return;
    }
    const TEarthModel& earth = bench_.Settings().Earth;
    const bool option = s == 0 ? earth.EllipticLat : s == 1 ? earth.EllipticArc : earth.GeoDistance;
    // The menu only ever inverts a switch; setting its present value is no
    // change at all.
    if (option == (value == 1)) return;
    if (s == 0) bench_.ToggleEllipticLat();
    if (s == 1) bench_.ToggleEllipticArc();
    if (s == 2) bench_.ToggleGeoDistance();
    return;
  }
  LineError(LineNo, "unknown setting", Key);
}

void TBatchWorkbench::Sort(std::string_view Order, const std::string_view* Name,
                           unsigned LineNo) {
  int order = 0;
  if (!ReadInt(Order, order) || order < 0 || order > 2) {
    LineError(LineNo, "sort order must be 0, 1 or 2, not", Order);
    return;
  }
  // The reference of the distance order is the current fix, as in the
  // window; without a name the blank row is current.
  std::uint16_t current = 0;
  if (Name != nullptr) {
    const char* reason = nullptr;
    current = FindScriptFix(bench_, *Name, reason);
    if (current == 0) {
      LineError(LineNo, reason, *Name);
      return;
    }
  } else if (order == Index(TSortOrder::ByDistance)) {
    LineError(LineNo, "sort 2 needs the reference fix: sort 2 NAME");
    return;
  }
  bench_.SelectRow(current == 0 ? bench_.RowCount() - 1 : current - 1);
  bench_.SortFixes(static_cast<TSortOrder>(order));
}

void TBatchWorkbench::List() {
  const int count = bench_.RowCount() - 1;
  for (int row = 0; row < count; ++row) out_.Line(bench_.RowText(row));
  out_.Line("N = ", std::to_string(count));
}

}  // namespace navorix
