#include "text/fix_names.h"

#include <algorithm>
#include <array>

#include "text/text_helpers.h"

namespace navorix {
namespace {

constexpr std::size_t MaxNameLength = TFixName::Capacity;  // 16
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

bool IsValidFixName(std::string& Name) {
  Name = TrimBlanks(Name);
  for (char& c : Name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return IsFixNameAsIs(Name);
}

bool IsFixNameAsIs(std::string_view Name) {
  // Trimming and capitals change nothing in such a name: it holds no blank,
  // no control character and no small letter.
  if (Name.empty() || Name.size() > MaxNameLength || !IsCapital(Name.front())) return false;
  return std::all_of(Name.begin(), Name.end(), IsNameChar);
}

bool IsFittedFixName(std::string_view Name) {
  if (Name.size() > MaxNameLength || Name.find(' ') != std::string_view::npos) return false;
  const std::size_t slash = Name.find('/');
  if (slash == std::string_view::npos) return true;
  const std::size_t suffixLength = Name.size() - slash - 1;
  return suffixLength > 0 && suffixLength <= MaxSuffixLength;
}

void FitFixName(std::string& Name) {
  // A name that already fits (every name a fix file holds) stays as it is.
  if (IsFittedFixName(Name)) return;
  const std::size_t blank = Name.find(' ');
  if (blank != std::string::npos) Name.resize(blank);
  const std::size_t slash = Name.find('/');
  if (slash == std::string::npos) {
    if (Name.size() > MaxNameLength) Name.resize(MaxNameLength);
    return;
  }
  std::string base = Name.substr(0, slash);
  std::string suffix = Name.substr(slash + 1);
  if (suffix.size() > MaxSuffixLength) suffix.resize(MaxSuffixLength);
  if (suffix.empty()) {
    if (base.size() > MaxNameLength) base.resize(MaxNameLength);
    Name = base;
    return;
  }
  // base + "/" + suffix stays within 16 characters.
  const std::size_t baseLength = MaxNameLength - 1 - suffix.size();
  if (base.size() > baseLength) base.resize(baseLength);
  Name = base + "/" + suffix;
}

void MakeFix(FixRecord& Fix, const TTriV& Position, std::string Name) {
  Fix.Valid = false;
  Fix.Position = Position;
  TriNormalize(Fix.Position);
  FitFixName(Name);
  Fix.Name = Name;
  Fix.Valid = true;
}

}  // namespace navorix
