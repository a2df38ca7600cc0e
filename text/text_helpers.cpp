#include "text/text_helpers.h"

#include <algorithm>

namespace navorix {

std::string ReplaceChar(char old, char fresh, std::string_view text) {
  std::string result(text);
  std::replace(result.begin(), result.end(), old, fresh);
  return result;
}

std::string AppendChar(std::string_view text, char ch) {
  std::string result(text);
  result += ch;
  return result;
}

std::string PadLeft(std::string_view text, std::size_t width, char ch) {
  std::string result;
  if (text.size() < width) result.assign(width - text.size(), ch);
  result += text;
  return result;
}

std::string PadRight(std::string_view text, std::size_t width, char ch) {
  std::string result(text);
  if (result.size() < width) result.append(width - result.size(), ch);
  return result;
}

std::string_view TrimmedView(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlankOrControl(text[first])) ++first;
  while (last > first && IsBlankOrControl(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string TrimBlanks(std::string_view text) { return std::string(TrimmedView(text)); }

std::string SquashBlanks(std::string_view text, bool toUpper) {
  const std::string_view trimmed = TrimmedView(text);
  std::string result;
  result.reserve(trimmed.size());
  for (char c : trimmed) {
    if (c == ' ' && !result.empty() && result.back() == ' ') continue;
    result += toUpper ? ToCapital(c) : c;
  }
  return result;
}

}  // namespace navorix
