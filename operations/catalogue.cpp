// The operation catalogue. The executor column adapts the operands of each
// dialog layout to the executor's own argument list.
#include "operations/catalogue.h"

#include "operations/executors.h"

namespace navorix {

namespace {

OperationResult RunFixFix(const Executors& E, const Operands& O) { return E.OpDistance(O.fix[0], O.fix[1]); }
OperationResult RunArcFix(const Executors& E, const Operands& O) {
  return E.OpArcFixDistance(O.fix[0], O.fix[1], O.fix[2]);
}
OperationResult RunArcArc(const Executors& E, const Operands& O) {
  return E.OpArcArcDistance(O.fix[0], O.fix[1], O.fix[2], O.fix[3]);
}
OperationResult RunMidpoint(const Executors& E, const Operands& O) {
  return E.OpMidpoint(O.fix[0], O.fix[1]);
}
OperationResult RunAzimuth(const Executors& E, const Operands& O) { return E.OpAzimuth(O.fix[0], O.fix[1]); }
OperationResult RunFixAtDA(const Executors& E, const Operands& O) {
  return E.OpFixAtDistAz(O.fix[0], O.azimuth, O.distance);
}
OperationResult RunProjection(const Executors& E, const Operands& O) {
  return E.OpProjection(O.fix[0], O.fix[1], O.fix[2]);
}
OperationResult RunIntersection(const Executors& E, const Operands& O) {
  return E.OpIntersection(O.fix[0], O.fix[1], O.fix[2], O.fix[3]);
}
OperationResult RunNextFix(const Executors& E, const Operands& O) { return E.OpDistance(O.fix[0]); }
OperationResult RunProximity(const Executors& E, const Operands& O) {
  return E.OpFixesAtDistance(O.fix[0], O.fix[1], O.fix[2], O.distance);
}
OperationResult RunFixAtD(const Executors& E, const Operands& O) {
  return E.OpFixAtDistance(O.fix[0], O.fix[1], O.distance);
}

using E = DialogEntry;
using T = OperationTag;
using K = FieldKind;

constexpr std::array<DialogLayout, LayoutCount> Layouts = {{
    {E::OneFix, 1, {{{1, "Next Fix:", K::Fix}}}, 0},
    {E::TwoFixes, 2, {{{1, "First Fix:", K::Fix}, {3, "Second Fix:", K::Fix}}}, 1},
    {E::FixDistAzim,
     3,
     {{{1, "From Fix:", K::Fix}, {5, "Distance:", K::Distance}, {6, "Azimuth:", K::Azimuth}}},
     3},
    {E::ArcDist, 3, {{{1, "Arc from:", K::Fix}, {2, "to:", K::Fix}, {5, "Distance:", K::Distance}}}, 6},
    {E::ArcFixDist,
     4,
     {{{1, "Arc from:", K::Fix}, {2, "to:", K::Fix}, {4, "Fix:", K::Fix}, {5, "Distance:", K::Distance}}},
     9},
    {E::ArcFix, 3, {{{1, "Arc from:", K::Fix}, {2, "to:", K::Fix}, {3, "Fix:", K::Fix}}}, 13},
    {E::TwoArcs,
     4,
     {{{1, "1st Arc from:", K::Fix}, {2, "to:", K::Fix}, {3, "2nd Arc from:", K::Fix}, {4, "to:", K::Fix}}},
     16},
}};

}  // namespace

const std::array<OperationInfo, OperationCount> OperationCatalogue = {{
    {T::FixFix, "Fi&x-Fix", "Distance between two fixes", "Distance from Fix to Fix", E::TwoFixes, RunFixFix},
    {T::ArcFix, "A&rc-Fix", "Distance between a great arc and a fix", "Distance from Arc to Fix", E::ArcFix,
     RunArcFix},
    {T::ArcArc, "Ar&c-Arc", "Distance between two great arcs", "Distance between two Arcs", E::TwoArcs,
     RunArcArc},
    {T::Midpoint, "&Midpoint", "Midpoint between two fixes", "Midpoint between Fixes", E::TwoFixes,
     RunMidpoint},
    {T::Azimuth, "A&zimuth", "Azimuth from one fix to another", "Azimuth from Fix to Fix", E::TwoFixes,
     RunAzimuth},
    {T::FixAtDistAz, "Fix &at DA", "Fix at a given distance and azimuth from another",
     "Fix at Distance and Azimuth", E::FixDistAzim, RunFixAtDA},
    {T::Projection, "&Project", "Projection of a fix on a great circle", "Projection of Fix on Arc",
     E::ArcFix, RunProjection},
    {T::Intersection, "&Intersect", "Intersection of two great arcs", "Intersection of two Arcs", E::TwoArcs,
     RunIntersection},
    {T::NextFix, "&Next Fix", "Next fix for accumulated distance", "Accumulated distance", E::OneFix,
     RunNextFix},
    {T::FixesAtDistance, "Fixes a&t D", "Two fixes on a great circle at a given\ndistance from a given fix",
     "Arc to Fix Proximity", E::ArcFixDist, RunProximity},
    {T::FixAtDistance, "Fix at &D", "Fix at a given distance along a great arc", "Fix at Distance along Arc",
     E::ArcDist, RunFixAtD},
}};

const OperationInfo* FindOperation(std::uint8_t tag) {
  if (tag < 1 || tag > OperationCount) return nullptr;
  return &OperationCatalogue[tag - 1U];
}

const OperationInfo& Operation(OperationTag tag) {
  return OperationCatalogue[static_cast<std::uint8_t>(tag) - 1U];
}

const DialogLayout& Layout(DialogEntry entry) { return Layouts[static_cast<std::uint8_t>(entry)]; }

}  // namespace navorix
