// The executors of the operation panel.
//
// Notation:
//   A, B   start and end fix of an arc (or the two fixes of a distance)
//   C, D   the second arc, or the fix a chain is continued to
//   F, R   a single reference fix
//   P      a computed point; its mark tells where it lies on the arc
//
// Common order: copy the fixes, compute (an Error ends the executor here),
// build line 3 then lines 1 and 2, and only then the proposal, so that a
// failure never leaves a half-done record or proposal.
#include "operations/executors.h"

#include "geometry/ellipsoid.h"
#include "geometry/error.h"
#include "operations/messages.h"
#include "stores/fix_db.h"
#include "text/fix_names.h"
#include "text/format.h"

namespace navorix {

namespace {

void AppendArc(std::string& line, const FixRecord& start, const FixRecord& end) {
  line.append(start.name.View()).append(1, '-').append(end.name.View());
}

FixRecord Proposal(const Vector3& position, const char* name) {
  FixRecord fix;
  MakeFix(fix, position, name);
  return fix;
}

}  // namespace

Executors::Executors(const FixDatabase& fixes, const DisplayOptions& options, const EarthModel& earth,
                     const DistanceChain& chain)
    : fixes_(fixes), options_(options), earth_(earth), chain_(chain) {}

FixRecord Executors::FixAt(std::uint16_t pos) const {
  if (pos == 0 || pos > fixes_.Count()) throw Error(msg::NoSuchFix);
  FixRecord fix = fixes_.Get(pos);
  if (!fix.valid) throw Error(msg::FixNotValid);
  return fix;
}

bool Executors::EllipsoidalUnits() const {
  return earth_.ellipticLat && options_.distUnits != DistUnits::Degrees;
}

void Executors::AppendPosition(std::string& line, const Vector3& P) const {
  FixRecord point;
  point.position = P;
  point.valid = true;
  line += FormatLatLon(options_, earth_, point, options_.precision);
}

void Executors::AppendDistance(std::string& line, long double angle, bool withUnit) const {
  line += FormatDistance(options_, earth_, angle, withUnit);
}

// ---------------------------------------------------------------- distances

std::string Executors::ChainResult(const DistanceChain& chain) const {
  std::string line;
  if (chain.withE) {
    line += "  (E) ";
    AppendDistance(line, chain.sumE, false);
  }
  if (chain.withG) {
    line += "  (G) ";
    AppendDistance(line, chain.sumG, false);
  }
  line += "  (S) ";
  AppendDistance(line, chain.sumS, false);
  // The unit exactly as the distance text with unit carries it.
  if (options_.distUnits == DistUnits::Degrees) {
    line += DegreeSign;
  } else {
    line.append(1, ' ').append(UnitInfo(options_.distUnits).suffix);
  }
  return line;
}

// Both forms return the chain after the result instead of changing it, so a
// failure on the sphere (antipodal fixes) leaves the previous chain whole:
// otherwise its start name would describe sums that no longer belong to it,
// and a later Next Fix would log a wrong description.
OperationResult Executors::OpDistance(std::uint16_t A, std::uint16_t B) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  DistanceChain chain;  // the sums start at 0
  chain.startName = a.name;
  chain.lastFix = a;
  chain.withE = earth_.ellipticArc && EllipsoidalUnits();
  chain.withG = earth_.geoDistance && EllipsoidalUnits();
  ExtendChain(chain, b, earth_.shape);
  OperationResult r;
  r.line3 = ChainResult(chain);
  r.line1.assign("Distance from ").append(a.name.View()).append(" to ").append(b.name.View());
  r.chain = chain;
  return r;
}

OperationResult Executors::OpDistance(std::uint16_t C) const {
  if (!chain_.lastFix.valid) throw Error(msg::NoDistanceChain);
  const FixRecord c = FixAt(C);
  DistanceChain chain = chain_;
  ExtendChain(chain, c, earth_.shape);
  OperationResult r;
  r.line3 = ChainResult(chain);
  r.line1.assign("Accumulated distance from ").append(chain.startName.View());
  r.line2.assign("to ").append(c.name.View());
  r.chain = chain;
  return r;
}

// The arc distance is the distance to the nearer end when the foot of the
// perpendicular falls outside the arc.
OperationResult Executors::OpArcFixDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord r = FixAt(R);
  const Arc arc = MakeArc(a.position, b.position);
  const Vector3 foot = FootOnCircle(arc, r.position);
  const long double circle = CentralAngle(foot, r.position);
  const PlaceOnArc side = ArcSide(arc, foot);
  const long double along = side == PlaceOnArc::BeforeStart ? CentralAngle(a.position, r.position)
                            : side == PlaceOnArc::Within    ? circle
                                                            : CentralAngle(b.position, r.position);
  OperationResult result;
  result.line3.assign("(Circ) ");
  AppendDistance(result.line3, circle, false);
  result.line3 += " (Arc) ";
  AppendDistance(result.line3, along, true);
  result.line3.append(1, ' ').append(1, SideMark(side));
  result.line1.assign("Distance from ");
  AppendArc(result.line1, a, b);
  result.line2.assign(" to ").append(r.name.View());
  return result;
}

OperationResult Executors::OpArcArcDistance(std::uint16_t A, std::uint16_t B, std::uint16_t C,
                                            std::uint16_t D) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord c = FixAt(C);
  const FixRecord d = FixAt(D);
  const long double distance =
      ArcArcDistance(MakeArc(a.position, b.position), MakeArc(c.position, d.position));
  OperationResult r;
  AppendDistance(r.line3, distance, true);
  r.line1.assign("Distance from ");
  AppendArc(r.line1, a, b);
  r.line2.assign("  to ");
  AppendArc(r.line2, c, d);
  return r;
}

// ------------------------------------------------------------------ points

OperationResult Executors::OpMidpoint(std::uint16_t A, std::uint16_t B) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const Vector3 M = Midpoint(a.position, b.position);
  OperationResult r;
  AppendPosition(r.line3, M);
  r.line1.assign("Midpoint from ").append(a.name.View()).append(" to ").append(b.name.View());
  r.proposal = Proposal(M, MidpointName);
  return r;
}

// The geodesic azimuth is decided now from the options, not from the chain;
// its Error is not caught.
OperationResult Executors::OpAzimuth(std::uint16_t A, std::uint16_t B) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  OperationResult r;
  if (earth_.geoDistance && EllipsoidalUnits()) {
    r.line3 += "(G) ";
    r.line3 += FormatAzimuth(options_, GeodesicAzimuth(earth_.shape, a.position, b.position));
    r.line3 += "  ";
  }
  r.line3 += "(S) ";
  r.line3 += FormatAzimuth(options_, Azimuth(a.position, b.position));
  r.line1.assign("Azimuth from ").append(a.name.View()).append(" to ").append(b.name.View());
  return r;
}

OperationResult Executors::OpFixAtDistAz(std::uint16_t F, long double azimuth, long double distance) const {
  const FixRecord f = FixAt(F);
  const Vector3 P = FixAtDistAz(f.position, azimuth, distance);
  OperationResult r;
  AppendPosition(r.line3, P);
  r.line1.assign("Fix at distance ");
  AppendDistance(r.line1, distance, true);
  r.line2.assign("and azimuth ");
  r.line2 += FormatAzimuth(options_, azimuth);
  r.line2.append(" from ").append(f.name.View());
  r.proposal = Proposal(P, FixAtDistAzName);
  return r;
}

OperationResult Executors::OpProjection(std::uint16_t A, std::uint16_t B, std::uint16_t R) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord r = FixAt(R);
  const Arc arc = MakeArc(a.position, b.position);
  const Vector3 P = FootOnCircle(arc, r.position);
  OperationResult result;
  AppendPosition(result.line3, P);
  result.line3.append(1, ' ').append(1, SideMark(ArcSide(arc, P)));
  result.line1.assign("Projection of ").append(r.name.View());
  result.line2.assign("on ");
  AppendArc(result.line2, a, b);
  result.proposal = Proposal(P, ProjectionName);
  return result;
}

OperationResult Executors::OpIntersection(std::uint16_t A, std::uint16_t B, std::uint16_t C,
                                          std::uint16_t D) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord c = FixAt(C);
  const FixRecord d = FixAt(D);
  const Arc arc1 = MakeArc(a.position, b.position);
  const Arc arc2 = MakeArc(c.position, d.position);
  const Vector3 X = ArcIntersection(arc1, arc2);
  OperationResult r;
  AppendPosition(r.line3, X);
  r.line3.append(1, ' ').append(1, SideMark(ArcSide(arc1, X))).append(1, SideMark(ArcSide(arc2, X)));
  r.line1.assign("Intersection of ");
  AppendArc(r.line1, a, b);
  r.line2.assign("and ");
  AppendArc(r.line2, c, d);
  r.proposal = Proposal(X, IntersectionName);
  return r;
}

// Only the second solution is proposed; without a solution there is no
// proposal and the previous one stays.
OperationResult Executors::OpFixesAtDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R,
                                             long double distance) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord r = FixAt(R);
  const Arc arc = MakeArc(a.position, b.position);
  const FixesAtDistanceResult found = FixesAtDistance(arc, r.position, distance);
  OperationResult result;
  if (found.found) {
    AppendPosition(result.line3, found.P1);
    result.line3.append(1, SideMark(ArcSide(arc, found.P1))).append(1, ',');
    AppendPosition(result.line3, found.P2);
    result.line3.append(1, SideMark(ArcSide(arc, found.P2)));
  } else {
    result.line3 = NoSolutionsText;
  }
  result.line1.assign("Fixes at ");
  AppendDistance(result.line1, distance, true);
  result.line1.append(" from ").append(r.name.View());
  result.line2.assign("on ");
  AppendArc(result.line2, a, b);
  if (found.found) result.proposal = Proposal(found.P2, ProximityName);
  return result;
}

OperationResult Executors::OpFixAtDistance(std::uint16_t A, std::uint16_t B, long double distance) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const Arc arc = MakeArc(a.position, b.position);
  const Vector3 P = PointOnArc(arc, distance);
  OperationResult r;
  AppendPosition(r.line3, P);
  r.line3.append(1, SideMark(ArcSide(arc, P)));
  r.line1.assign("Fix at distance ");
  AppendDistance(r.line1, distance, true);
  r.line2.assign("along ");
  AppendArc(r.line2, a, b);
  r.proposal = Proposal(P, FixAtDistanceName);
  return r;
}

}  // namespace navorix
