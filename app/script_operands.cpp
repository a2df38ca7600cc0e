// Operands of a script line.
#include "app/script_operands.h"

#include "text/fix_record.h"
#include "workbench/workbench.h"

namespace navorix {

std::uint16_t FindScriptFix(const TWorkbench& Bench, std::string_view Name, const char*& Reason) {
  Reason = "unknown fix";
  // No stored name is longer than a fix name or holds a small letter.
  if (Name.size() > TFixName::Capacity) return 0;
  char upper[TFixName::Capacity];
  for (std::size_t i = 0; i < Name.size(); ++i) {
    const char c = Name[i];
    upper[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  const TFieldCheck check =
      Bench.CheckOperandField(TFieldKind::Fix, std::string_view(upper, Name.size()));
  if (check.Valid) return check.Fix;
  if (check.Fix != 0) Reason = "fix has no valid position:";
  return 0;
}

TScriptOperands::TScriptOperands(const TWorkbench& Bench, const std::string_view* Tokens,
                                 std::size_t Count)
    : bench_(Bench), tokens_(Tokens), count_(Count) {}

bool TScriptOperands::Fail(std::string_view Reason, std::string_view Token) {
  failure_.assign(Reason);
  if (!Token.empty()) failure_.append(1, ' ').append(Token);
  return false;
}

// Reads into a copy and hands it over only when every field read, as the
// dialog does.
bool TScriptOperands::Ask(const TDialogLayout& Layout, std::string_view, TOperands& Operands) {
  failure_.clear();
  TOperands got;
  std::size_t fix = 0;
  for (std::size_t i = 0; i < Layout.FieldCount; ++i) {
    const TFieldKind kind = Layout.Fields[i].Kind;
    const std::string_view token = i < count_ ? tokens_[i] : std::string_view();
    switch (kind) {
      case TFieldKind::Fix: {
        if (i >= count_) return Fail("missing fix name", "");
        const char* reason = nullptr;
        got.Fix[fix] = FindScriptFix(bench_, token, reason);
        if (got.Fix[fix] == 0) return Fail(reason, token);
        ++fix;
        break;
      }
      case TFieldKind::Distance:
      case TFieldKind::Azimuth: {
        const bool distance = kind == TFieldKind::Distance;
        if (i >= count_) return Fail(distance ? "missing distance" : "missing azimuth", "");
        const TFieldCheck check = bench_.CheckOperandField(kind, token);
        if (!check.Valid) return Fail(distance ? "unreadable distance" : "unreadable azimuth", token);
        (distance ? got.Distance : got.Azimuth) = check.Number;
        break;
      }
    }
  }
  Operands = got;
  return true;
}

}  // namespace navorix
