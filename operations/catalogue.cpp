// The operation catalogue. The executor column adapts the operands of each
// dialog layout to the executor's own argument list.
#include "operations/catalogue.h"

#include "operations/executors.h"

namespace navorix {

namespace {

TOpResult RunFixFix(const TExecutors& E, const TOperands& O) {
  return E.OpDistance(O.Fix[0], O.Fix[1]);
}
TOpResult RunArcFix(const TExecutors& E, const TOperands& O) {
  return E.OpArcFixDistance(O.Fix[0], O.Fix[1], O.Fix[2]);
}
TOpResult RunArcArc(const TExecutors& E, const TOperands& O) {
  return E.OpArcArcDistance(O.Fix[0], O.Fix[1], O.Fix[2], O.Fix[3]);
}
TOpResult RunMidpoint(const TExecutors& E, const TOperands& O) {
  return E.OpMidpoint(O.Fix[0], O.Fix[1]);
}
TOpResult RunAzimuth(const TExecutors& E, const TOperands& O) {
  return E.OpAzimuth(O.Fix[0], O.Fix[1]);
}
TOpResult RunFixAtDA(const TExecutors& E, const TOperands& O) {
  return E.OpFixAtDistAz(O.Fix[0], O.Azimuth, O.Distance);
}
TOpResult RunProjection(const TExecutors& E, const TOperands& O) {
  return E.OpProjection(O.Fix[0], O.Fix[1], O.Fix[2]);
}
TOpResult RunIntersection(const TExecutors& E, const TOperands& O) {
  return E.OpIntersection(O.Fix[0], O.Fix[1], O.Fix[2], O.Fix[3]);
}
TOpResult RunNextFix(const TExecutors& E, const TOperands& O) { return E.OpDistance(O.Fix[0]); }
TOpResult RunProximity(const TExecutors& E, const TOperands& O) {
  return E.OpFixesAtDistance(O.Fix[0], O.Fix[1], O.Fix[2], O.Distance);
}
TOpResult RunFixAtD(const TExecutors& E, const TOperands& O) {
  return E.OpFixAtDistance(O.Fix[0], O.Fix[1], O.Distance);
}

using E = TDialogEntry;
using T = TOpTag;
using K = TFieldKind;

constexpr std::array<TDialogLayout, LayoutCount> Layouts = {{
    {E::OneFix, 1, {{{1, "Next Fix:", K::Fix}}}, 0},
    {E::TwoFixes, 2, {{{1, "First Fix:", K::Fix}, {3, "Second Fix:", K::Fix}}}, 1},
    {E::FixDistAzim,
     3,
     {{{1, "From Fix:", K::Fix}, {5, "Distance:", K::Distance}, {6, "Azimuth:", K::Azimuth}}},
     3},
    {E::ArcDist,
     3,
     {{{1, "Arc from:", K::Fix}, {2, "to:", K::Fix}, {5, "Distance:", K::Distance}}},
     6},
    {E::ArcFixDist,
     4,
     {{{1, "Arc from:", K::Fix},
       {2, "to:", K::Fix},
       {4, "Fix:", K::Fix},
       {5, "Distance:", K::Distance}}},
     9},
    {E::ArcFix, 3, {{{1, "Arc from:", K::Fix}, {2, "to:", K::Fix}, {3, "Fix:", K::Fix}}}, 13},
    {E::TwoArcs,
     4,
     {{{1, "1st Arc from:", K::Fix},
       {2, "to:", K::Fix},
       {3, "2nd Arc from:", K::Fix},
       {4, "to:", K::Fix}}},
     16},
}};

}  // namespace

const std::array<TOperationInfo, OperationCount> OperationCatalogue = {{
    {T::FixFix, "Fi&x-Fix", "Distance between two fixes", "Distance from Fix to Fix",
     E::TwoFixes, RunFixFix},
    {T::ArcFix, "A&rc-Fix", "Distance between a great arc and a fix", "Distance from Arc to Fix",
     E::ArcFix, RunArcFix},
    {T::ArcArc, "Ar&c-Arc", "Distance between two great arcs", "Distance between two Arcs",
     E::TwoArcs, RunArcArc},
    {T::Midpoint, "&Midpoint", "Midpoint between two fixes", "Midpoint between Fixes",
     E::TwoFixes, RunMidpoint},
    {T::Azimuth, "A&zimuth", "Azimuth from one fix to another", "Azimuth from Fix to Fix",
     E::TwoFixes, RunAzimuth},
    {T::FixAtDistAz, "Fix &at DA", "Fix at a given distance and azimuth from another",
     "Fix at Distance and Azimuth", E::FixDistAzim, RunFixAtDA},
    {T::Projection, "&Project", "Projection of a fix on a great circle", "Projection of Fix on Arc",
     E::ArcFix, RunProjection},
    {T::Intersection, "&Intersect", "Intersection of two great arcs", "Intersection of two Arcs",
     E::TwoArcs, RunIntersection},
    {T::NextFix, "&Next Fix", "Next fix for accumulated distance", "Accumulated distance",
     E::OneFix, RunNextFix},
    {T::FixesAtDistance, "Fixes a&t D",
     "Two fixes on a great circle at a given\ndistance from a given fix", "Arc to Fix Proximity",
     E::ArcFixDist, RunProximity},
    {T::FixAtDistance, "Fix at &D", "Fix at a given distance along a great arc",
     "Fix at Distance along Arc", E::ArcDist, RunFixAtD},
}};

const TOperationInfo* FindOperation(std::uint8_t Tag) {
  if (Tag < 1 || Tag > OperationCount) return nullptr;
  return &OperationCatalogue[Tag - 1U];
}

const TOperationInfo& Operation(TOpTag Tag) { return OperationCatalogue[static_cast<std::uint8_t>(Tag) - 1U]; }

const TDialogLayout& Layout(TDialogEntry Entry) { return Layouts[static_cast<std::uint8_t>(Entry)]; }

}  // namespace navorix
