#include "workbench/input_rules.h"

#include <string_view>

#include "text/display_options.h"
#include "text/fix_names.h"
#include "text/text_helpers.h"

namespace navorix {

namespace {

bool IsNumberChar(char c) {
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == DegreeSign ||
         c == MinuteMark || c == SecondMark;
}

bool IsNameChar(char c) { return FixNameChars.find(c) != std::string_view::npos; }

constexpr int FirstNumberField = 5;

}  // namespace

char FilterFixChar(TFixField Field, char Typed) {
  if (Typed == BackspaceChar) return Typed;
  char c = Typed;
  if (Field != TFixField::Name && (c == 'D' || c == 'd')) c = DegreeSign;
  c = ToCapital(c);
  switch (Field) {
    case TFixField::Name:
      return IsNameChar(c) ? c : 0;
    case TFixField::Latitude:
      return IsNumberChar(c) || c == 'N' || c == 'S' ? c : 0;
    case TFixField::Longitude:
      return IsNumberChar(c) || c == 'E' || c == 'W' ? c : 0;
  }
  return 0;
}

TOperandChar FilterOperandChar(int Field, char Typed) {
  if (Typed == BackspaceChar) return {TOperandKey::Accepted, Typed};
  if (Field >= FirstNumberField) {
    return IsNumberChar(Typed) ? TOperandChar{TOperandKey::Accepted, Typed} : TOperandChar{};
  }
  if (Typed == ' ') return {TOperandKey::Complete, 0};
  const char c = ToCapital(Typed);
  return IsNameChar(c) ? TOperandChar{TOperandKey::Accepted, c} : TOperandChar{};
}

}  // namespace navorix
