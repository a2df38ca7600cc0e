// Whether the window can be opened at all: without a display Qt would
// abort with a long message; the program says so in one line instead.
#pragma once

#include <string>

namespace navorix {

// Empty when a display seems reachable (or a Qt platform is named
// explicitly); otherwise the reason, as one line for the user.
std::string missingDisplayReason();

}  // namespace navorix
