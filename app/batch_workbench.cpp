// The batch workbench: script lines to stores, dispatcher and executors.
#include "app/batch_workbench.h"

#include <charconv>
#include <exception>

#include "app/batch_output.h"
#include "app/script_operands.h"
#include "geometry/earth_model.h"
#include "operations/catalogue.h"
#include "operations/dispatch.h"
#include "stores/app_data.h"
#include "stores/line_reader.h"
#include "stores/status.h"
#include "text/display_options.h"
#include "text/fix_names.h"
#include "text/format.h"

namespace navorix {

namespace {

// The fix input dialog's refusal of a name that another fix has.
constexpr const char* NameInUse = "This fix name is already in use";

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

enum class TCommand { Operation, Store, Set, ClearLog, Load, Save, Sort, List };

struct TKeyword {
  std::string_view Word;
  TCommand Command;
  std::uint8_t Tag;  // the operation's button tag
  std::size_t MinOperands, MaxOperands;  // of a workbench line
  std::string_view Usage;
};

// The operands of an operation are those of its dialog layout.
constexpr TKeyword Keywords[] = {
    {"fixfix", TCommand::Operation, 1, 0, 0, "fixfix A B"},
    {"arcfix", TCommand::Operation, 2, 0, 0, "arcfix A B R"},
    {"arcarc", TCommand::Operation, 3, 0, 0, "arcarc A B C D"},
    {"midpoint", TCommand::Operation, 4, 0, 0, "midpoint A B"},
    {"azimuth", TCommand::Operation, 5, 0, 0, "azimuth A B"},
    {"fixatda", TCommand::Operation, 6, 0, 0, "fixatda F DIST AZIM"},
    {"project", TCommand::Operation, 7, 0, 0, "project A B R"},
    {"intersect", TCommand::Operation, 8, 0, 0, "intersect A B C D"},
    {"next", TCommand::Operation, 9, 0, 0, "next C"},
    {"proximity", TCommand::Operation, 10, 0, 0, "proximity A B R DIST"},
    {"fixatd", TCommand::Operation, 11, 0, 0, "fixatd A B DIST"},
    {"store", TCommand::Store, 0, 1, 1, "store NAME"},
    {"set", TCommand::Set, 0, 2, 2, "set KEY VALUE"},
    {"clearlog", TCommand::ClearLog, 0, 0, 0, "clearlog"},
    {"load", TCommand::Load, 0, 1, 1, "load FILE"},
    {"save", TCommand::Save, 0, 1, 1, "save FILE"},
    {"sort", TCommand::Sort, 0, 1, 2, "sort 0|1|2 [NAME]"},
    {"list", TCommand::List, 0, 0, 0, "list"},
};

// Operands a layout of the input dialog takes.
std::size_t OperandCount(TDialogEntry Entry) {
  switch (Entry) {
    case TDialogEntry::OneFix: return 1;
    case TDialogEntry::TwoFixes: return 2;
    case TDialogEntry::FixDistAzim: return 3;
    case TDialogEntry::ArcDist: return 3;
    case TDialogEntry::ArcFixDist: return 4;
    case TDialogEntry::ArcFix: return 3;
    case TDialogEntry::TwoArcs: return 4;
  }
  return 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A whole decimal integer, nothing before or after it.
bool ReadInt(std::string_view Text, int& Value) {
  const char* end = Text.data() + Text.size();
  const auto [ptr, ec] = std::from_chars(Text.data(), end, Value);
  return ec == std::errc() && ptr == end && !Text.empty();
}

}  // namespace

TBatchWorkbench::TBatchWorkbench(TBatchOutput& Out)
    : out_(Out), fixes_(*this), log_(*this), executors_(fixes_, *this) {
  text_.reserve(256);
}

bool TBatchWorkbench::LoadSettings(const std::string& IniFile) {
  failure_.clear();
  // A settings file named on the command line must be there; without one
  // the settings keep the defaults that a missing file gives.
  // Its type is checked without a blocking open: a named pipe would hold
  // the program for ever.
  if (!IniFile.empty()) {
    const std::string reason = CannotReadReason(IniFile);
    if (!reason.empty()) {
      failure_ = "Cannot read " + IniFile + ": " + reason;
      return false;
    }
  }
  // Read exactly as status loading reads them, through the option setters.
  try {
    navorix::LoadSettings(IniFile, *this);
  } catch (const std::exception& e) {
    failure_ = e.what();
  }
  return failure_.empty();
}

bool TBatchWorkbench::LoadFixes(const std::string& FileName) {
  failure_.clear();
  fixes_.LoadFromFile(FileName);  // reports through ShowError
  return failure_.empty();
}

void TBatchWorkbench::ShowLogLines(const std::string& Line1, const std::string& Line2,
                                   const std::string& Line3) {
  if (!resultPending_) return;
  resultPending_ = false;
  out_.Line(Line1);
  out_.Line(Line2);
  out_.Line(Line3);
}

void TBatchWorkbench::PrintError(std::string_view Message) { out_.Line("ERROR: ", Message); }

void TBatchWorkbench::LineError(unsigned LineNo, std::string_view Reason, std::string_view Token) {
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
      operation ? OperandCount(FindOperation(keyword->Tag)->Entry) : keyword->MinOperands;
  const std::size_t most = operation ? least : keyword->MaxOperands;
  if (n < least || n > most) {
    LineError(LineNo, "usage:", keyword->Usage);
    return;
  }
  switch (keyword->Command) {
    case TCommand::Operation:
      RunOperation(keyword->Tag, operands, n, LineNo);
      break;
    case TCommand::Store:
      Store(operands[0], LineNo);
      break;
    case TCommand::Set:
      Set(operands[0], operands[1], LineNo);
      break;
    case TCommand::ClearLog:
      log_.Clear();  // also disables Next Fix
      break;
    case TCommand::Load:
      if (!LoadFixes(std::string(operands[0]))) PrintError(failure_);
      break;
    case TCommand::Save:
      try {
        fixes_.SaveToFile(std::string(operands[0]));
      } catch (const std::exception& e) {
        PrintError(e.what());
      }
      break;
    case TCommand::Sort:
      Sort(operands[0], n == 2 ? &operands[1] : nullptr, LineNo);
      break;
    case TCommand::List:
      List();
      break;
  }
}

void TBatchWorkbench::RunOperation(std::uint8_t Tag, const std::string_view* Operands,
                                   std::size_t Count, unsigned LineNo) {
  TScriptOperands source(fixes_, Operands, Count);
  try {
    if (!navorix::RunOperation(Tag, source, executors_) && !source.Failure().empty()) {
      LineError(LineNo, source.Failure());
    }
  } catch (const std::exception& e) {
    PrintError(e.what());
  }
}

// As the fix input dialog stores a new fix from the blank row: the pending
// fix's own position under the checked name, appended at the end; the
// pending fix stays for the next one.
void TBatchWorkbench::Store(std::string_view Name, unsigned LineNo) {
  if (!executors_.PendingFix.Valid) {
    LineError(LineNo, "no computed fix to store");
    return;
  }
  std::string name(Name);
  const bool valid = IsValidFixName(name);
  // The name in use is reported first, even for an invalid name.
  if (fixes_.FindName(name) != 0) {
    PrintError(NameInUse);
    return;
  }
  if (!valid) {
    LineError(LineNo, "invalid fix name", Name);
    return;
  }
  FixRecord fix;
  try {
    MakeFix(fix, executors_.PendingFix.Position, name);
    fixes_.Add(fix);
  } catch (const std::exception& e) {
    PrintError(e.what());
  }
}

void TBatchWorkbench::Set(std::string_view Key, std::string_view Value, unsigned LineNo) {
  struct TOption {
    std::string_view Key;
    int Count;  // values 0 .. Count - 1
    void (*Setter)(TOptionsMenu&, int);
    bool Rebuild;  // the list rows show this option
  };
  static constexpr TOption Options[] = {
      {"LatLonFormat", LatLonFormatCount, SetLatLonFormat, true},
      {"AzimFormat", AzimFormatCount, SetAzimFormat, false},
      {"PlusDir", PlusDirCount, SetPlusDir, false},
      {"Precision", PrecisionCount, SetPrecision, true},
      {"DistUnits", DistUnitsCount, SetDistUnits, false},
      {"AzimRange", AzimRangeCount, SetAzimRange, false},
  };
  static constexpr std::string_view Switches[] = {"EllipticLat", "EllipticArc", "GeoDistance"};

  int value = 0;
  const bool number = ReadInt(Value, value);
  for (const TOption& option : Options) {
    if (!SameNoCase(Key, option.Key)) continue;
    if (!number || value < 0 || value >= option.Count) {
      LineError(LineNo, std::string(option.Key) + " takes 0.." + std::to_string(option.Count - 1));
      return;
    }
    option.Setter(*this, value);
    if (option.Rebuild) fixes_.RebuildFixList(0);
    return;
  }
  for (std::size_t s = 0; s < 3; ++s) {
    if (!SameNoCase(Key, Switches[s])) continue;
    if (!number || (value != 0 && value != 1)) {
      LineError(LineNo, std::string(Switches[s]) + " takes 0 or 1");
      return;
    }
    bool& option = s == 0 ? EllipticLat : s == 1 ? EllipticArc : GeoDistance;
    const bool on = value == 1;
    // The menu only ever inverts a switch; setting its present value is no
    // change at all.
    if (option == on) return;
    option = on;
    ShowEllipsoidSwitches(*this);
    executors_.SetNextFixEnabled(false);
    // Positions keep their shown latitude and longitude under the new rule.
    if (s == 0) fixes_.RebuildAllPositions();
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
    current = FindScriptFix(fixes_, *Name, reason);
    if (current == 0) {
      LineError(LineNo, reason, *Name);
      return;
    }
  } else if (order == ByDistance) {
    LineError(LineNo, "sort 2 needs the reference fix: sort 2 NAME");
    return;
  }
  selectedRow_ = current == 0 ? fixes_.Count() : current - 1;
  fixes_.SortFixes(order);
}

void TBatchWorkbench::List() {
  const std::uint16_t count = fixes_.Count();
  for (std::uint32_t pos = 1; pos <= count; ++pos) {
    out_.Line(FixText(fixes_.Get(static_cast<std::uint16_t>(pos))));
  }
  out_.Line("N = ", std::to_string(count));
}

}  // namespace navorix
