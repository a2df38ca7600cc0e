// Operation dispatch: dialog layout, conversion and range checks, executor.
#include "operations/dispatch.h"

#include "geometry/error.h"
#include "operations/conversion.h"
#include "operations/messages.h"
#include "operations/operand_source.h"

namespace navorix {

namespace {

bool Holds(const DialogLayout& layout, FieldKind kind) {
  for (std::uint8_t i = 0; i < layout.fieldCount; ++i) {
    if (layout.fields[i].kind == kind) return true;
  }
  return false;
}

}  // namespace

std::optional<OperationResult> Dispatch(OperationTag tag, OperandSource& source, const Executors& executors,
                                        bool nextFixEnabled) {
  const OperationInfo& op = Operation(tag);
  if (tag == OperationTag::NextFix && !nextFixEnabled) throw Error(msg::NextFixDisabled);
  const DialogLayout& layout = Layout(op.entry);
  Operands operands;
  if (!source.Ask(layout, op.dialogTitle, operands)) return std::nullopt;
  if (Holds(layout, FieldKind::Distance)) {
    operands.distance = CheckedDistance(executors.Options().distUnits, executors.Earth().shape.spherRadius,
                                        operands.distance);
  }
  if (Holds(layout, FieldKind::Azimuth)) operands.azimuth = CheckedAzimuth(operands.azimuth);
  return op.execute(executors, operands);
}

}  // namespace navorix
