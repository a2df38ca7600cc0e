// What the operation input dialog needs of the session: the checks of its
// fields, name completion and its sounds. The workbench provides them; the
// dialog sees nothing else of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "operations/catalogue.h"
#include "workbench/observers.h"

namespace navorix {

// One field of the operation input dialog as validated at its OK.
struct FieldCheck {
  bool valid = false;
  std::uint16_t fix = 0;      // fix fields
  long double number = 0.0L;  // distance and azimuth fields, as typed
};

class OperandChecks {
 public:
  virtual ~OperandChecks() = default;
  // Validates one field's text as the dialog's OK does: empty is invalid; a
  // fix name must be a fix's exact name (untrimmed, case-sensitive) whose
  // position is valid; distances and azimuths must read.
  virtual FieldCheck CheckOperandField(FieldKind kind, std::string_view text) const = 0;
  // The first fix at or after Start whose name begins with Prefix (0 for
  // none, and always for an empty prefix); its name in Name.
  virtual std::uint16_t CompleteName(std::string_view prefix, std::uint16_t start,
                                     std::string& name) const = 0;
  // A sound, when the Sound option is on.
  virtual void PlaySound(Sound sound, bool wait) = 0;
};

}  // namespace navorix
