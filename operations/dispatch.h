// The road from an operation button to its executor, shared by the window
// and the batch program.
#pragma once

#include <optional>

#include "operations/catalogue.h"
#include "operations/executors.h"

namespace navorix {

class OperandSource;

// Runs operation Op:
//   1. Next Fix while it is disabled (nextFixEnabled false) raises "Next Fix
//      is disabled: start with Fix-Fix" (the window's disabled button never
//      gets this far);
//   2. source is asked for the operands of the catalogue's layout under its
//      title; a cancel ends here with nullopt and changes nothing;
//   3. a distance is converted (unit and sphere radius of the executors'
//      options and model) and must be smaller than pi, else "Distance too
//      large (>pi)"; only then an azimuth is converted and its absolute value
//      must be smaller than 2 pi, else "Illegal azimuth value (>2pi)" (so
//      with both bad only the distance is reported);
//   4. the executor runs; its Errors pass through.
// Returns the executor's result. Every Error leaves to the caller, which
// shows it in the error box; nothing is logged then.
std::optional<OperationResult> Dispatch(OperationTag tag, OperandSource& source, const Executors& executors,
                                        bool nextFixEnabled);

}  // namespace navorix
