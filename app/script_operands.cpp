// Operands of a script line.
#include "app/script_operands.h"

#include "stores/fix_db.h"
#include "text/parse.h"

namespace navorix {

std::uint16_t FindScriptFix(const TFixDB& FixDB, std::string_view Name, const char*& Reason) {
  Reason = "unknown fix";
  // No stored name is longer than a fix name or holds a small letter.
  if (Name.size() > TFixName::Capacity) return 0;
  char upper[TFixName::Capacity];
  for (std::size_t i = 0; i < Name.size(); ++i) {
    const char c = Name[i];
    upper[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  const std::uint16_t pos = FixDB.FindName(std::string_view(upper, Name.size()));
  if (pos == 0) return 0;
  if (!FixDB.Get(pos).Valid) {
    Reason = "fix has no valid position:";
    return 0;
  }
  return pos;
}

TScriptOperands::TScriptOperands(const TFixDB& FixDB, const std::string_view* Tokens,
                                 std::size_t Count)
    : fixDB_(FixDB), tokens_(Tokens), count_(Count) {}

bool TScriptOperands::Fail(std::string_view Reason, std::string_view Token) {
  failure_.assign(Reason);
  if (!Token.empty()) failure_.append(1, ' ').append(Token);
  return false;
}

bool TScriptOperands::Fix(std::size_t I, std::uint16_t& Pos) {
  if (I >= count_) return Fail("missing fix name", "");
  const char* reason = nullptr;
  Pos = FindScriptFix(fixDB_, tokens_[I], reason);
  return Pos != 0 || Fail(reason, tokens_[I]);
}

bool TScriptOperands::Distance(std::size_t I, long double& Value) {
  if (I >= count_) return Fail("missing distance", "");
  return ParseDistanceText(tokens_[I], Value) || Fail("unreadable distance", tokens_[I]);
}

bool TScriptOperands::Azimuth(std::size_t I, long double& Value) {
  if (I >= count_) return Fail("missing azimuth", "");
  return ParseAzimuthText(tokens_[I], Value) || Fail("unreadable azimuth", tokens_[I]);
}

// Every entry reads into locals and writes its outputs only when all fields
// read, as the dialog does.
bool TScriptOperands::AskOneFix(std::string_view, std::uint16_t& Fix1) {
  std::uint16_t f = 0;
  if (!Fix(0, f)) return false;
  Fix1 = f;
  return true;
}

bool TScriptOperands::AskTwoFixes(std::string_view, std::uint16_t& First,
                                  std::uint16_t& Second) {
  std::uint16_t a = 0, b = 0;
  if (!Fix(0, a) || !Fix(1, b)) return false;
  First = a;
  Second = b;
  return true;
}

bool TScriptOperands::AskFixDistAzim(std::string_view, std::uint16_t& Fix1,
                                     long double& Distance1, long double& Azimuth1) {
  std::uint16_t f = 0;
  long double d = 0.0L, az = 0.0L;
  if (!Fix(0, f) || !Distance(1, d) || !Azimuth(2, az)) return false;
  Fix1 = f;
  Distance1 = d;
  Azimuth1 = az;
  return true;
}

bool TScriptOperands::AskArcDist(std::string_view, std::uint16_t& ArcStart,
                                 std::uint16_t& ArcEnd, long double& Distance1) {
  std::uint16_t a = 0, b = 0;
  long double d = 0.0L;
  if (!Fix(0, a) || !Fix(1, b) || !Distance(2, d)) return false;
  ArcStart = a;
  ArcEnd = b;
  Distance1 = d;
  return true;
}

bool TScriptOperands::AskArcFixDist(std::string_view, std::uint16_t& ArcStart,
                                    std::uint16_t& ArcEnd, std::uint16_t& Fix1,
                                    long double& Distance1) {
  std::uint16_t a = 0, b = 0, r = 0;
  long double d = 0.0L;
  if (!Fix(0, a) || !Fix(1, b) || !Fix(2, r) || !Distance(3, d)) return false;
  ArcStart = a;
  ArcEnd = b;
  Fix1 = r;
  Distance1 = d;
  return true;
}

bool TScriptOperands::AskArcFix(std::string_view, std::uint16_t& ArcStart,
                                std::uint16_t& ArcEnd, std::uint16_t& Fix1) {
  std::uint16_t a = 0, b = 0, r = 0;
  if (!Fix(0, a) || !Fix(1, b) || !Fix(2, r)) return false;
  ArcStart = a;
  ArcEnd = b;
  Fix1 = r;
  return true;
}

bool TScriptOperands::AskTwoArcs(std::string_view, std::uint16_t& Arc1Start,
                                 std::uint16_t& Arc1End, std::uint16_t& Arc2Start,
                                 std::uint16_t& Arc2End) {
  std::uint16_t a = 0, b = 0, c = 0, d = 0;
  if (!Fix(0, a) || !Fix(1, b) || !Fix(2, c) || !Fix(3, d)) return false;
  Arc1Start = a;
  Arc1End = b;
  Arc2Start = c;
  Arc2End = d;
  return true;
}

}  // namespace navorix
