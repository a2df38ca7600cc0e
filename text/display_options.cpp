#include "text/display_options.h"

namespace navorix {

TDisplayOptions DisplayOptions;

}  // namespace navorix
