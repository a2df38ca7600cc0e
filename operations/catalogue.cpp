// The operation catalogue. The executor column adapts the operands of each
// dialog entry to the executor's own argument list.
#include "operations/catalogue.h"

#include "operations/executors.h"

namespace navorix {

namespace {

void RunFixFix(TExecutors& E, const TOperands& O) { E.OpDistance(O.Fix[0], O.Fix[1]); }
void RunArcFix(TExecutors& E, const TOperands& O) {
  E.OpArcFixDistance(O.Fix[0], O.Fix[1], O.Fix[2]);
}
void RunArcArc(TExecutors& E, const TOperands& O) {
  E.OpArcArcDistance(O.Fix[0], O.Fix[1], O.Fix[2], O.Fix[3]);
}
void RunMidpoint(TExecutors& E, const TOperands& O) { E.OpMidpoint(O.Fix[0], O.Fix[1]); }
void RunAzimuth(TExecutors& E, const TOperands& O) { E.OpAzimuth(O.Fix[0], O.Fix[1]); }
void RunFixAtDA(TExecutors& E, const TOperands& O) {
  E.OpFixAtDistAz(O.Fix[0], O.Azimuth, O.Distance);
}
void RunProjection(TExecutors& E, const TOperands& O) {
  E.OpProjection(O.Fix[0], O.Fix[1], O.Fix[2]);
}
void RunIntersection(TExecutors& E, const TOperands& O) {
  E.OpIntersection(O.Fix[0], O.Fix[1], O.Fix[2], O.Fix[3]);
}
void RunNextFix(TExecutors& E, const TOperands& O) { E.OpDistance(O.Fix[0]); }
void RunProximity(TExecutors& E, const TOperands& O) {
  E.OpFixesAtDistance(O.Fix[0], O.Fix[1], O.Fix[2], O.Distance);
}
void RunFixAtD(TExecutors& E, const TOperands& O) {
  E.OpFixAtDistance(O.Fix[0], O.Fix[1], O.Distance);
}

using E = TDialogEntry;

}  // namespace

const std::array<TOperationInfo, OperationCount> OperationCatalogue = {{
    {1, "xFFDist", "Fi&x-Fix", "Distance between two fixes", "Distance from Fix to Fix",
     E::TwoFixes, "OpDistance", RunFixFix},
    {2, "xAFDist", "A&rc-Fix", "Distance between a great arc and a fix",
     "Distance from Arc to Fix", E::ArcFix, "OpArcFixDistance", RunArcFix},
    {3, "xAADist", "Ar&c-Arc", "Distance between two great arcs", "Distance between two Arcs",
     E::TwoArcs, "OpArcArcDistance", RunArcArc},
    {4, "xMidp", "&Midpoint", "Midpoint between two fixes", "Midpoint between Fixes",
     E::TwoFixes, "OpMidpoint", RunMidpoint},
    {5, "xAzim", "A&zimuth", "Azimuth from one fix to another", "Azimuth from Fix to Fix",
     E::TwoFixes, "OpAzimuth", RunAzimuth},
    {6, "xFixAtDA", "Fix &at DA", "Fix at a given distance and azimuth from another",
     "Fix at Distance and Azimuth", E::FixDistAzim, "OpFixAtDistAz", RunFixAtDA},
    {7, "xProj", "&Project", "Projection of a fix on a great circle", "Projection of Fix on Arc",
     E::ArcFix, "OpProjection", RunProjection},
    {8, "xInters", "&Intersect", "Intersection of two great arcs", "Intersection of two Arcs",
     E::TwoArcs, "OpIntersection", RunIntersection},
    {9, "xNext", "&Next Fix", "Next fix for accumulated distance", "Accumulated distance",
     E::OneFix, "OpDistance", RunNextFix},
    {10, "xProx", "Fixes a&t D",
     "Two fixes on a great circle at a given\ndistance from a given fix", "Arc to Fix Proximity",
     E::ArcFixDist, "OpFixesAtDistance", RunProximity},
    {11, "xFixAtD", "Fix at &D", "Fix at a given distance along a great arc",
     "Fix at Distance along Arc", E::ArcDist, "OpFixAtDistance", RunFixAtD},
}};

const TOperationInfo* FindOperation(std::uint8_t Tag) {
  if (Tag < 1 || Tag > OperationCount) return nullptr;
  return &OperationCatalogue[Tag - 1U];
}

bool HasDistance(TDialogEntry Entry) {
  return Entry == E::FixDistAzim || Entry == E::ArcDist || Entry == E::ArcFixDist;
}

bool HasAzimuth(TDialogEntry Entry) { return Entry == E::FixDistAzim; }

}  // namespace navorix
