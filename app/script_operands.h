// The operands of one script line, handed to the dispatcher as the
// operation input dialog would hand them: fix names looked up in the fix
// database, the distance and azimuth read as typed. Fields are checked in
// the dialog's order; the first one that does not read ends the request
// like a dialog that cannot be confirmed, with the reason kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "operations/operand_source.h"

namespace navorix {

class TFixDB;

class TScriptOperands : public TOperandSource {
 public:
  // Tokens[0 .. Count-1] are the operands in the order of the line: the fix
  // names, then the distance, then the azimuth.
  TScriptOperands(const TFixDB& FixDB, const std::string_view* Tokens, std::size_t Count);

  // Why the last request was refused ("" when it was not).
  const std::string& Failure() const { return failure_; }

  bool AskOneFix(std::string_view Title, std::uint16_t& Fix) override;
  bool AskTwoFixes(std::string_view Title, std::uint16_t& First, std::uint16_t& Second) override;
  bool AskFixDistAzim(std::string_view Title, std::uint16_t& Fix, long double& Distance,
                      long double& Azimuth) override;
  bool AskArcDist(std::string_view Title, std::uint16_t& ArcStart, std::uint16_t& ArcEnd,
                  long double& Distance) override;
  bool AskArcFixDist(std::string_view Title, std::uint16_t& ArcStart, std::uint16_t& ArcEnd,
                     std::uint16_t& Fix, long double& Distance) override;
  bool AskArcFix(std::string_view Title, std::uint16_t& ArcStart, std::uint16_t& ArcEnd,
                 std::uint16_t& Fix) override;
  bool AskTwoArcs(std::string_view Title, std::uint16_t& Arc1Start, std::uint16_t& Arc1End,
                  std::uint16_t& Arc2Start, std::uint16_t& Arc2End) override;

 private:
  // The fix named by token I; the dialog's rules: letters typed in small
  // become capitals, the name must exist and, since an entry whose line
  // did not read has no position, be valid.
  bool Fix(std::size_t I, std::uint16_t& Pos);
  bool Distance(std::size_t I, long double& Value);
  bool Azimuth(std::size_t I, long double& Value);
  bool Fail(std::string_view Reason, std::string_view Token);

  const TFixDB& fixDB_;
  const std::string_view* tokens_;
  std::size_t count_;
  std::string failure_;
};

// Looks up a fix name as the batch program's operand fields do: "a".."z"
// taken as capitals, FindName, and the entry must be valid. Returns the
// position, or 0 with Reason set to "unknown fix" or "fix has no valid
// position".
std::uint16_t FindScriptFix(const TFixDB& FixDB, std::string_view Name, const char*& Reason);

}  // namespace navorix
