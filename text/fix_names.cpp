#include "text/fix_names.h"

#include <algorithm>
#include <array>

#include "text/text_helpers.h"

namespace navorix {
namespace {

constexpr std::size_t MaxNameLength = FixNameText::Capacity;  // 16
constexpr std::size_t MaxSuffixLength = 13;

bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }

// FixNameChars as a table by byte: every name read from a fix file is
// checked, so the check costs one lookup a character.
constexpr std::array<bool, 256> NameCharTable = [] {
  std::array<bool, 256> table{};
  for (const char c : FixNameChars) table[static_cast<unsigned char>(c)] = true;
  return table;
}();

bool IsNameChar(char c) { return NameCharTable[static_cast<unsigned char>(c)]; }

}  // namespace

bool IsValidFixName(std::string& name) {
  name = TrimBlanks(name);
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return IsFixNameAsIs(name);
}

bool IsFixNameAsIs(std::string_view name) {
  // Trimming and capitals change nothing in such a name: it holds no blank,
  // no control character and no small letter.
  if (name.empty() || name.size() > MaxNameLength || !IsCapital(name.front())) return false;
  return std::all_of(name.begin(), name.end(), IsNameChar);
}

bool IsFittedFixName(std::string_view name) {
  if (name.size() > MaxNameLength || name.find(' ') != std::string_view::npos) return false;
  const std::size_t slash = name.find('/');
  if (slash == std::string_view::npos) return true;
  const std::size_t suffixLength = name.size() - slash - 1;
  return suffixLength > 0 && suffixLength <= MaxSuffixLength;
}

void FitFixName(std::string& name) {
  // A name that already fits (every name a fix file holds) stays as it is.
  if (IsFittedFixName(name)) return;
  const std::size_t blank = name.find(' ');
  if (blank != std::string::npos) name.resize(blank);
  const std::size_t slash = name.find('/');
  if (slash == std::string::npos) {
    if (name.size() > MaxNameLength) name.resize(MaxNameLength);
    return;
  }
  std::string base = name.substr(0, slash);
  std::string suffix = name.substr(slash + 1);
  if (suffix.size() > MaxSuffixLength) suffix.resize(MaxSuffixLength);
  if (suffix.empty()) {
    if (base.size() > MaxNameLength) base.resize(MaxNameLength);
    name = base;
    return;
  }
  // base + "/" + suffix stays within 16 characters.
  const std::size_t baseLength = MaxNameLength - 1 - suffix.size();
  if (base.size() > baseLength) base.resize(baseLength);
  name = base + "/" + suffix;
}

void MakeFix(FixRecord& fix, const Vector3& position, std::string name) {
  fix.valid = false;
  fix.position = position;
  TriNormalize(fix.position);
  FitFixName(name);
  fix.name = name;
  fix.valid = true;
}

}  // namespace navorix
