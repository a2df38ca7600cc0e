#include "geometry/error.h"

#include <cmath>

namespace navorix {

long double RequireFinite(long double v) {
  if (!std::isfinite(v)) throw Error(msg::NotANumber);
  return v;
}

}  // namespace navorix
