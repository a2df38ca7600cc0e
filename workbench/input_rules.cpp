#include "workbench/input_rules.h"

#include <string_view>

#include "text/display_options.h"
#include "text/fix_names.h"
#include "text/text_helpers.h"

namespace navorix {

namespace {

bool IsNumberChar(char c) {
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == DegreeSign || c == MinuteMark ||
         c == SecondMark;
}

bool IsNameChar(char c) { return FixNameChars.find(c) != std::string_view::npos; }

constexpr int FirstNumberField = 5;

}  // namespace

char FilterFixChar(FixField field, char typed) {
  if (typed == BackspaceChar) return typed;
  char c = typed;
  if (field != FixField::Name && (c == 'D' || c == 'd')) c = DegreeSign;
  c = ToCapital(c);
  switch (field) {
    case FixField::Name:
      return IsNameChar(c) ? c : 0;
    case FixField::Latitude:
      return IsNumberChar(c) || c == 'N' || c == 'S' ? c : 0;
    case FixField::Longitude:
      return IsNumberChar(c) || c == 'E' || c == 'W' ? c : 0;
  }
  return 0;
}

OperandChar FilterOperandChar(int field, char typed) {
  if (typed == BackspaceChar) return {OperandKey::Accepted, typed};
  if (field >= FirstNumberField) {
    return IsNumberChar(typed) ? OperandChar{OperandKey::Accepted, typed} : OperandChar{};
  }
  if (typed == ' ') return {OperandKey::Complete, 0};
  const char c = ToCapital(typed);
  return IsNameChar(c) ? OperandChar{OperandKey::Accepted, c} : OperandChar{};
}

}  // namespace navorix
