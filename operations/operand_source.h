// Where the dispatcher gets the operands of an operation: the operation
// input dialog of the window, or a script line of the batch program.
#pragma once

#include <string_view>

#include "operations/catalogue.h"

namespace navorix {

class OperandSource {
 public:
  virtual ~OperandSource() = default;

  // Shows (or reads) the fields of Layout under Title and returns true with
  // Operands filled in the layout's order: the k-th fix field gives Fix[k]
  // (a 1-based position in the fix database), a distance field the number
  // typed in the current distance unit, an azimuth field the signed number
  // of degrees typed. False when the user cancelled; Operands are then not
  // used.
  virtual bool Ask(const DialogLayout& layout, std::string_view title, Operands& operands) = 0;
};

}  // namespace navorix
