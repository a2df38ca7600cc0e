// Fix-name rules: allowed characters, validation, fitting to 16 characters.
#pragma once

#include <string>
#include <string_view>

#include "text/fix_record.h"

namespace navorix {

// The 40 characters allowed in a fix name.
inline constexpr std::string_view FixNameChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-./_";

// Trims blanks and control characters from both ends of name and makes
// "a".."z" capitals (name is replaced by that form); then true when name has
// 1..16 characters, begins with "A".."Z" and uses only FixNameChars.
bool IsValidFixName(std::string& name);

// Shortens name in place to a storable name: cut before the first blank;
// with a "/" the suffix keeps at most 13 characters and the base is cut so
// that base + "/" + suffix has at most 16 (an empty suffix drops the "/");
// otherwise cut to 16 characters.
void FitFixName(std::string& name);
// True when IsValidFixName accepts name and leaves it as it is: 1 to 16
// characters, the first "A".."Z", every one of FixNameChars.
bool IsFixNameAsIs(std::string_view name);

// True when FitFixName would leave name as it is: no blank, at most 16
// characters, and after a "/" a suffix of 1 to 13 characters.
bool IsFittedFixName(std::string_view name);

// Fills fix with the unit vector of position and FitFixName(name), then marks
// it valid. Throws Error "Cannot normalize a null vector" for a zero
// position, leaving fix invalid.
void MakeFix(FixRecord& fix, const Vector3& position, std::string name);

}  // namespace navorix
