#include "stores/import_names.h"

#include <algorithm>
#include <array>

#include "text/fix_names.h"
#include "text/text_helpers.h"

namespace navorix {
namespace {

constexpr std::string_view GeneratedPrefix = "WP";

// Accented Latin letters (Latin-1 and Latin Extended-A, and the comma-below
// letters of Romanian) and the capitals they become.
struct LetterRange {
  char32_t first;
  char32_t last;
  const char* capitals;
};
constexpr std::array<LetterRange, 51> AccentedLetters = {{
    {0xC0, 0xC5, "A"},   {0xC6, 0xC6, "AE"},   {0xC7, 0xC7, "C"},      {0xC8, 0xCB, "E"},
    {0xCC, 0xCF, "I"},   {0xD0, 0xD0, "D"},    {0xD1, 0xD1, "N"},      {0xD2, 0xD6, "O"},
    {0xD8, 0xD8, "O"},   {0xD9, 0xDC, "U"},    {0xDD, 0xDD, "Y"},      {0xDE, 0xDE, "TH"},
    {0xDF, 0xDF, "SS"},  {0xE0, 0xE5, "A"},    {0xE6, 0xE6, "AE"},     {0xE7, 0xE7, "C"},
    {0xE8, 0xEB, "E"},   {0xEC, 0xEF, "I"},    {0xF0, 0xF0, "D"},      {0xF1, 0xF1, "N"},
    {0xF2, 0xF6, "O"},   {0xF8, 0xF8, "O"},    {0xF9, 0xFC, "U"},      {0xFD, 0xFD, "Y"},
    {0xFE, 0xFE, "TH"},  {0xFF, 0xFF, "Y"},    {0x100, 0x105, "A"},    {0x106, 0x10D, "C"},
    {0x10E, 0x111, "D"}, {0x112, 0x11B, "E"},  {0x11C, 0x123, "G"},    {0x124, 0x127, "H"},
    {0x128, 0x131, "I"}, {0x132, 0x133, "IJ"}, {0x134, 0x135, "J"},    {0x136, 0x138, "K"},
    {0x139, 0x142, "L"}, {0x143, 0x14B, "N"},  {0x14C, 0x151, "O"},    {0x152, 0x153, "OE"},
    {0x154, 0x159, "R"}, {0x15A, 0x161, "S"},  {0x162, 0x167, "T"},    {0x168, 0x173, "U"},
    {0x174, 0x175, "W"}, {0x176, 0x178, "Y"},  {0x179, 0x17E, "Z"},    {0x17F, 0x17F, "S"},
    {0x218, 0x219, "S"}, {0x21A, 0x21B, "T"},  {0x1E9E, 0x1E9E, "SS"},
}};

// What code point C contributes to a fix name; empty when it is invalid.
std::string_view NameCharacters(char32_t C, char& single) {
  if (C < 0x80) {
    single = ToCapital(static_cast<char>(C));
    if (FixNameChars.find(single) != std::string_view::npos) return {&single, 1};
    return {};
  }
  const auto range = std::find_if(AccentedLetters.begin(), AccentedLetters.end(),
                                  [C](const LetterRange& r) { return C >= r.first && C <= r.last; });
  if (range == AccentedLetters.end()) return {};
  return range->capitals;
}

bool IsSeparator(char C) { return C == '-' || C == '/'; }

bool IsCapitalLetter(char C) { return C >= 'A' && C <= 'Z'; }

constexpr std::size_t MaxNameLength = FixNameText::Capacity;

}  // namespace

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  std::size_t length = 0;
  char32_t c = 0;
  char32_t least = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 1, c = lead & 0x1Fu, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 2, c = lead & 0x0Fu, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 3, c = lead & 0x07u, least = 0x10000;
  } else {
    return MalformedCodePoint;
  }
  if (pos + length > text.size()) return MalformedCodePoint;
  for (std::size_t i = 0; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return MalformedCodePoint;
    c = (c << 6) | (next & 0x3Fu);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return MalformedCodePoint;
  pos += length;
  return c;
}

std::string ValidFixName(std::string_view original, std::uint32_t ordinal) {
  std::string name;
  bool pendingDash = false;  // a run of invalid characters since the last valid one
  std::size_t pos = 0;
  while (pos < original.size()) {
    char single = 0;
    const std::string_view part = NameCharacters(NextCodePoint(original, pos), single);
    if (part.empty()) {
      pendingDash = !name.empty();
      continue;
    }
    // A separator of the name needs no "-" beside it: "A - B" is A-B and
    // "Le Croisic / Port" LE-CROISIC/PORT.
    if (pendingDash && !IsSeparator(name.back()) && !IsSeparator(part.front())) name += '-';
    pendingDash = false;
    name += part;
  }
  if (name.empty()) return std::string(GeneratedPrefix) + std::to_string(ordinal);
  if (!IsCapitalLetter(name.front())) name.insert(0, GeneratedPrefix);
  const std::size_t uncut = name.size();
  FitFixName(name);
  // A cut can end the name in the "-" that stood for a blank; a name that
  // was not cut keeps its "-", as a valid name must.
  while (name.size() < uncut && name.size() > 1 && name.back() == '-' &&
         IsFittedFixName(name.substr(0, name.size() - 1))) {
    name.pop_back();
  }
  return name;
}

bool OnlyCapitals(std::string_view original, std::string_view name) {
  const std::string_view trimmed = TrimmedView(original);
  if (trimmed.size() != name.size()) return false;
  return std::equal(trimmed.begin(), trimmed.end(), name.begin(), [](char a, char b) {
    return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
  });
}

bool ImportNames::Taken(const std::string& name) const {
  return claimed_.count(name) != 0 || existing_.FindName(name) != 0;
}

std::string ImportNames::Claim(const std::string& wanted) {
  std::string name = wanted;
  for (unsigned number = 2; Taken(name); ++number) {
    const std::string tail = "-" + std::to_string(number);
    std::string base = wanted;
    // Cut from the end until base + tail is a stored name as it stands:
    // at most 16 characters, and a suffix after "/" of 1 to 13.
    for (;;) {
      while (!base.empty() && base.back() == '/') base.pop_back();
      name = base + tail;
      if (base.empty() || (name.size() <= MaxNameLength && IsFittedFixName(name))) break;
      base.pop_back();
    }
  }
  claimed_.insert(name);
  return name;
}

}  // namespace navorix
