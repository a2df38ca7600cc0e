// The fixed texts raised by the operation dispatcher and the executors. The
// error box shows one line of at most 64 characters, so each text fits it.
#pragma once

namespace navorix::msg {

inline constexpr const char* DistanceTooLarge = "Distance too large (>pi)";
inline constexpr const char* IllegalAzimuth = "Illegal azimuth value (>2pi)";
// Next Fix continues a chain; without a Fix-Fix distance there is none and
// measuring from the empty last fix would give a meaningless number.
inline constexpr const char* NoDistanceChain = "Next Fix needs a Fix-Fix distance first";
// Next Fix requested while its button is disabled (the chain was ended).
inline constexpr const char* NextFixDisabled = "Next Fix is disabled: start with Fix-Fix";
// An operand that is not a fix of the database.
inline constexpr const char* NoSuchFix = "No such fix in the database";
// An entry from a fix-file line that did not read has no position.
inline constexpr const char* FixNotValid = "This fix has no valid position";

}  // namespace navorix::msg
