// What the two input dialogs let the user type: one rule per field, applied
// to every typed character before the field sees it.
#pragma once

#include <cstdint>

namespace navorix {

inline constexpr char BackspaceChar = '\b';

// The fields of the fix input dialog, in their Tab order.
enum class FixField : std::uint8_t { Name, Latitude, Longitude };

// The character that typed puts into field of the fix input dialog, or 0
// when it is dropped: in the coordinate fields "D" and "d" become the degree
// sign; "a".."z" become capitals; the name takes the fix-name characters,
// the latitude digits, "+", "-", ".", "N", "S" and the three marks, the
// longitude the same with "E" and "W". Backspace always passes.
char FilterFixChar(FixField field, char typed);

// What a typed character does in a field of the operation input dialog.
enum class OperandKey : std::uint8_t { Dropped, Accepted, Complete };

struct OperandChar {
  OperandKey key = OperandKey::Dropped;
  char character = 0;  // the character to insert when Accepted
};

// Field 1..6 of the operation input dialog: in the name fields 1 to 4 a
// blank starts a completion step, "a".."z" become capitals and the fix-name
// characters pass; the distance and azimuth fields 5 and 6 take digits,
// "+", "-", "." and the three marks. Backspace always passes.
OperandChar FilterOperandChar(int field, char typed);

}  // namespace navorix
