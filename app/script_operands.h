// The operands of one script line, handed to the dispatcher as the
// operation input dialog would hand them: each field checked by the
// workbench's rule for that field (fix names typed in small letters count as
// capitals, as the dialog turns them into capitals). Fields are checked in
// the layout's order; the first one that does not read ends the request
// like a dialog that cannot be confirmed, with the reason kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "operations/operand_source.h"

namespace navorix {

class Workbench;

class ScriptOperands : public OperandSource {
 public:
  // tokens[0 .. count-1] are the operands in the order of the line, which is
  // the order of the layout's fields.
  ScriptOperands(const Workbench& bench, const std::string_view* tokens, std::size_t count);

  // Why the last request was refused ("" when it was not).
  const std::string& Failure() const { return failure_; }

  bool Ask(const DialogLayout& layout, std::string_view title, Operands& operands) override;

 private:
  bool Fail(std::string_view reason, std::string_view token);

  const Workbench& bench_;
  const std::string_view* tokens_;
  std::size_t count_;
  std::string failure_;
};

// Looks up a fix name as the batch program's operand fields do: "a".."z"
// taken as capitals, and the entry must be valid. Returns the position, or 0
// with reason set to "unknown fix" or "fix has no valid position:".
std::uint16_t FindScriptFix(const Workbench& bench, std::string_view name, const char*& reason);

}  // namespace navorix
