// The names imported fixes get: every name another program gave a waypoint
// becomes a valid fix name by one rule, and no two fixes end up with the
// same name.
//
// The rule, for a name given in Unicode (UTF-8):
//   1. Letters become capitals; an accented Latin letter becomes its plain
//      capital (e and e-acute -> E, u-umlaut -> U, o-slash -> O), and
//      ae, oe, sharp s, thorn and ij two letters (AE, OE, SS, TH, IJ).
//      Digits and "-", ".", "/", "_" stay.
//   2. Every other character (blanks, punctuation, other scripts) is
//      invalid: invalid characters at either end are dropped, and each run
//      of them inside becomes one "-", or none beside a "-" or "/"
//      ("Port of Spain" -> PORT-OF-SPAIN, "Washington, D.C." ->
//      WASHINGTON-D.C., "A - B" -> A-B, "Le Croisic / Port" ->
//      LE-CROISIC/PORT).
//   3. A name that does not begin with a letter gets "WP" in front
//      ("001" -> WP001); an entry without a name (or with nothing left of
//      it) is named "WP" and its number in the file (WP17).
//   4. The name is cut to 16 characters as every stored name is: with a
//      "/", the suffix keeps at most 13 characters and the part before it
//      is cut; a "-" the cut leaves at the end goes ("Brest Marina du
//      Chateau" -> BREST-MARINA-DU).
//   5. A name already in the database, or given to an earlier entry of the
//      same import, gets "-2", "-3"... (the first that is free), the name
//      cut from its end to leave room: PARIS -> PARIS-2.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "stores/fix_db.h"

namespace navorix {

// What NextCodePoint gives for a malformed, overlong or surrogate sequence
// (no code point is that large).
inline constexpr char32_t MalformedCodePoint = 0x110000;

// The next code point of the UTF-8 text at pos, pos advanced past it; a
// malformed sequence gives MalformedCodePoint and skips one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

// Steps 1 to 4 of the rule for the name original (UTF-8; a malformed byte
// counts as an invalid character) of the entry numbered ordinal.
std::string ValidFixName(std::string_view original, std::uint32_t ordinal);

// True when name is original with nothing but its ASCII letters made
// capitals and blanks at its ends dropped: a change the fix input dialog
// makes of any typed name.
bool OnlyCapitals(std::string_view original, std::string_view name);

// Step 5: the names of one import.
class ImportNames {
 public:
  // The names of existing are taken; it must outlive this object and not
  // change while it is used.
  explicit ImportNames(const FixDatabase& existing) : existing_(existing) {}

  // Name (a valid fix name), or the first of Name-2, Name-3... that is not
  // taken; the result is taken from now on.
  std::string Claim(const std::string& wanted);

 private:
  bool Taken(const std::string& name) const;

  const FixDatabase& existing_;
  std::unordered_set<std::string> claimed_;
};

}  // namespace navorix
