#include "text/text_helpers.h"

#include <algorithm>

namespace navorix {

std::string ReplaceChar(char Old, char New, std::string_view Text) {
  std::string result(Text);
  std::replace(result.begin(), result.end(), Old, New);
  return result;
}

std::string AppendChar(std::string_view Text, char Ch) {
  std::string result(Text);
  result += Ch;
  return result;
}

std::string PadLeft(std::string_view Text, std::size_t Width, char Ch) {
  std::string result;
  if (Text.size() < Width) result.assign(Width - Text.size(), Ch);
  result += Text;
  return result;
}

std::string PadRight(std::string_view Text, std::size_t Width, char Ch) {
  std::string result(Text);
  if (result.size() < Width) result.append(Width - result.size(), Ch);
  return result;
}

std::string_view TrimmedView(std::string_view Text) {
  std::size_t first = 0;
  std::size_t last = Text.size();
  while (first < last && IsBlankOrControl(Text[first])) ++first;
  while (last > first && IsBlankOrControl(Text[last - 1])) --last;
  return Text.substr(first, last - first);
}

std::string TrimBlanks(std::string_view Text) { return std::string(TrimmedView(Text)); }

std::string SquashBlanks(std::string_view Text, bool ToUpper) {
  const std::string_view trimmed = TrimmedView(Text);
  std::string result;
  result.reserve(trimmed.size());
  for (char c : trimmed) {
    if (c == ' ' && !result.empty() && result.back() == ' ') continue;
    result += ToUpper ? ToCapital(c) : c;
  }
  return result;
}

}  // namespace navorix
