// Operation dispatch: dialog entry, conversion and range checks, executor.
#include "operations/dispatch.h"

#include "geometry/error.h"
#include "operations/catalogue.h"
#include "operations/conversion.h"
#include "operations/executors.h"
#include "operations/messages.h"
#include "operations/operand_source.h"

namespace navorix {

bool AskOperands(TDialogEntry Entry, std::string_view Title, TOperandSource& Source,
                 TOperands& Operands) {
  TOperands got = Operands;
  std::uint16_t* f = got.Fix;
  bool confirmed = false;
  switch (Entry) {
    case TDialogEntry::OneFix:
      confirmed = Source.AskOneFix(Title, f[0]);
      break;
    case TDialogEntry::TwoFixes:
      confirmed = Source.AskTwoFixes(Title, f[0], f[1]);
      break;
    case TDialogEntry::FixDistAzim:
      confirmed = Source.AskFixDistAzim(Title, f[0], got.Distance, got.Azimuth);
      break;
    case TDialogEntry::ArcDist:
      confirmed = Source.AskArcDist(Title, f[0], f[1], got.Distance);
      break;
    case TDialogEntry::ArcFixDist:
      confirmed = Source.AskArcFixDist(Title, f[0], f[1], f[2], got.Distance);
      break;
    case TDialogEntry::ArcFix:
      confirmed = Source.AskArcFix(Title, f[0], f[1], f[2]);
      break;
    case TDialogEntry::TwoArcs:
      confirmed = Source.AskTwoArcs(Title, f[0], f[1], f[2], f[3]);
      break;
  }
  if (confirmed) Operands = got;
  return confirmed;
}

bool RunOperation(std::uint8_t Tag, TOperandSource& Source, TExecutors& Executors) {
  const TOperationInfo* op = FindOperation(Tag);
  if (op == nullptr) return false;
  if (Tag == 9 && !Executors.NextFixEnabled()) throw Error(msg::NextFixDisabled);
  TOperands operands;
  if (!AskOperands(op->Entry, op->DialogTitle, Source, operands)) return false;
  if (HasDistance(op->Entry)) operands.Distance = CheckedDistance(operands.Distance);
  if (HasAzimuth(op->Entry)) operands.Azimuth = CheckedAzimuth(operands.Azimuth);
  op->Execute(Executors, operands);
  return true;
}

}  // namespace navorix
