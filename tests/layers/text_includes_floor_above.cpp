// Built as text's code: the stores are a floor above, out of reach.
#include "stores/settings.h"

int LayerAboveIsOutOfReach() { return navorix::DefaultFontSize; }
