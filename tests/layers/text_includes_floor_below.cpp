// Built as text's code: its own headers and geometry's are in reach.
#include "geometry/vector.h"
#include "text/display_options.h"

int LayerBelowIsInReach() { return navorix::DisplayOptionCount; }
