// Operation dispatch: dialog layout, conversion and range checks, executor.
#include "operations/dispatch.h"

#include "geometry/error.h"
#include "operations/conversion.h"
#include "operations/messages.h"
#include "operations/operand_source.h"

namespace navorix {

namespace {

bool Holds(const TDialogLayout& Layout, TFieldKind Kind) {
  for (std::uint8_t i = 0; i < Layout.FieldCount; ++i) {
    if (Layout.Fields[i].Kind == Kind) return true;
  }
  return false;
}

}  // namespace

std::optional<TOpResult> Dispatch(TOpTag Op, TOperandSource& Source, const TExecutors& Executors,
                                  bool NextFixEnabled) {
  const TOperationInfo& op = Operation(Op);
  if (Op == TOpTag::NextFix && !NextFixEnabled) throw Error(msg::NextFixDisabled);
  const TDialogLayout& layout = Layout(op.Entry);
  TOperands operands;
  if (!Source.Ask(layout, op.DialogTitle, operands)) return std::nullopt;
  if (Holds(layout, TFieldKind::Distance)) {
    operands.Distance = CheckedDistance(Executors.Options().DistUnits,
                                        Executors.Earth().Shape.SpherRadius, operands.Distance);
  }
  if (Holds(layout, TFieldKind::Azimuth)) operands.Azimuth = CheckedAzimuth(operands.Azimuth);
  return op.Execute(Executors, operands);
}

}  // namespace navorix
