// Operands of a script line.
#include "app/script_operands.h"

#include "text/fix_record.h"
#include "workbench/workbench.h"

namespace navorix {

std::uint16_t FindScriptFix(const Workbench& bench, std::string_view name, const char*& reason) {
  reason = "unknown fix";
  // No stored name is longer than a fix name or holds a small letter.
  if (name.size() > FixNameText::Capacity) return 0;
  char upper[FixNameText::Capacity];
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    upper[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  const FieldCheck check = bench.CheckOperandField(FieldKind::Fix, std::string_view(upper, name.size()));
  if (check.valid) return check.fix;
  if (check.fix != 0) reason = "fix has no valid position:";
  return 0;
}

ScriptOperands::ScriptOperands(const Workbench& bench, const std::string_view* tokens, std::size_t count)
    : bench_(bench), tokens_(tokens), count_(count) {}

bool ScriptOperands::Fail(std::string_view reason, std::string_view token) {
  failure_.assign(reason);
  if (!token.empty()) failure_.append(1, ' ').append(token);
  return false;
}

// Reads into a copy and hands it over only when every field read, as the
// dialog does.
bool ScriptOperands::Ask(const DialogLayout& layout, std::string_view, Operands& operands) {
  failure_.clear();
  Operands got;
  std::size_t fix = 0;
  for (std::size_t i = 0; i < layout.fieldCount; ++i) {
    const FieldKind kind = layout.fields[i].kind;
    const std::string_view token = i < count_ ? tokens_[i] : std::string_view();
    switch (kind) {
      case FieldKind::Fix: {
        if (i >= count_) return Fail("missing fix name", "");
        const char* reason = nullptr;
        got.fix[fix] = FindScriptFix(bench_, token, reason);
        if (got.fix[fix] == 0) return Fail(reason, token);
        ++fix;
        break;
      }
      case FieldKind::Distance:
      case FieldKind::Azimuth: {
        const bool distance = kind == FieldKind::Distance;
        if (i >= count_) return Fail(distance ? "missing distance" : "missing azimuth", "");
        const FieldCheck check = bench_.CheckOperandField(kind, token);
        if (!check.valid) return Fail(distance ? "unreadable distance" : "unreadable azimuth", token);
        (distance ? got.distance : got.azimuth) = check.number;
        break;
      }
    }
  }
  operands = got;
  return true;
}

}  // namespace navorix
