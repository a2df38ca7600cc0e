// The road from an operation button to its executor, shared by the window's
// click handler and the batch program.
#pragma once

#include <cstdint>
#include <string_view>

namespace navorix {

class TOperandSource;
class TExecutors;
struct TOperands;
enum class TDialogEntry : std::uint8_t;

// Asks Source for the operands of the layout Entry under Title and stores
// them in Operands in catalogue order (typed numbers, not yet converted).
// False when the source cancelled; Operands is then unchanged.
bool AskOperands(TDialogEntry Entry, std::string_view Title, TOperandSource& Source,
                 TOperands& Operands);

// Runs the operation with button tag Tag (0..255):
//   1. a tag outside 1..11 does nothing (false);
//   2. tag 9 while Next Fix is disabled raises "Next Fix is disabled: start
//      with Fix-Fix" (the window's disabled button never gets this far);
//   3. the dialog entry of the catalogue is asked under its title; a cancel
//      ends here with false and changes nothing;
//   4. a distance is converted and must be smaller than pi, else
//      "Distance too large (>pi)"; only then an azimuth is converted and its
//      absolute value must be smaller than 2 pi, else "Illegal azimuth value
//      (>2pi)" (so with both bad only the distance is reported);
//   5. the executor runs; its Errors pass through.
// Returns true when the executor completed. Every Error leaves to the
// caller, which shows it in the error box; nothing is logged then.
bool RunOperation(std::uint8_t Tag, TOperandSource& Source, TExecutors& Executors);

}  // namespace navorix
