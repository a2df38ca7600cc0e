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

void AppendArc(std::string& Line, const FixRecord& Start, const FixRecord& End) {
  Line.append(Start.Name.View()).append(1, '-').append(End.Name.View());
}

FixRecord Proposal(const TTriV& Position, const char* Name) {
  FixRecord fix;
  MakeFix(fix, Position, Name);
  return fix;
}

}  // namespace

TExecutors::TExecutors(const TFixDB& Fixes, const TDisplayOptions& Options,
                       const TEarthModel& Earth, const TDistanceChain& Chain)
    : fixes_(Fixes), options_(Options), earth_(Earth), chain_(Chain) {}

FixRecord TExecutors::FixAt(std::uint16_t Pos) const {
  if (Pos == 0 || Pos > fixes_.Count()) throw Error(msg::NoSuchFix);
  FixRecord fix = fixes_.Get(Pos);
  if (!fix.Valid) throw Error(msg::FixNotValid);
  return fix;
}

bool TExecutors::EllipsoidalUnits() const {
  return earth_.EllipticLat && options_.DistUnits != TDistUnits::Degrees;
}

void TExecutors::AppendPosition(std::string& Line, const TTriV& P) const {
  FixRecord point;
  point.Position = P;
  point.Valid = true;
  Line += FormatLatLon(options_, earth_, point, options_.Precision);
}

void TExecutors::AppendDistance(std::string& Line, long double Angle, bool WithUnit) const {
  Line += FormatDistance(options_, earth_, Angle, WithUnit);
}

// ---------------------------------------------------------------- distances

std::string TExecutors::ChainResult(const TDistanceChain& Chain) const {
  std::string line;
  if (Chain.WithE) {
    line += "  (E) ";
    AppendDistance(line, Chain.SumE, false);
  }
  if (Chain.WithG) {
    line += "  (G) ";
    AppendDistance(line, Chain.SumG, false);
  }
  line += "  (S) ";
  AppendDistance(line, Chain.SumS, false);
  // The unit exactly as the distance text with unit carries it.
  if (options_.DistUnits == TDistUnits::Degrees) {
    line += DegreeSign;
  } else {
    line.append(1, ' ').append(UnitInfo(options_.DistUnits).Suffix);
  }
  return line;
}

// Both forms return the chain after the result instead of changing it, so a
// failure on the sphere (antipodal fixes) leaves the previous chain whole:
// otherwise its start name would describe sums that no longer belong to it,
// and a later Next Fix would log a wrong description.
TOpResult TExecutors::OpDistance(std::uint16_t A, std::uint16_t B) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  TDistanceChain chain;  // the sums start at 0
  chain.StartName = a.Name;
  chain.LastFix = a;
  chain.WithE = earth_.EllipticArc && EllipsoidalUnits();
  chain.WithG = earth_.GeoDistance && EllipsoidalUnits();
  ExtendChain(chain, b, earth_.Shape);
  TOpResult r;
  r.Line3 = ChainResult(chain);
  r.Line1.assign("Distance from ").append(a.Name.View()).append(" to ").append(b.Name.View());
  r.Chain = chain;
  return r;
}

TOpResult TExecutors::OpDistance(std::uint16_t C) const {
  if (!chain_.LastFix.Valid) throw Error(msg::NoDistanceChain);
  const FixRecord c = FixAt(C);
  TDistanceChain chain = chain_;
  ExtendChain(chain, c, earth_.Shape);
  TOpResult r;
  r.Line3 = ChainResult(chain);
  r.Line1.assign("Accumulated distance from ").append(chain.StartName.View());
  r.Line2.assign("to ").append(c.Name.View());
  r.Chain = chain;
  return r;
}

// The arc distance is the distance to the nearer end when the foot of the
// perpendicular falls outside the arc.
TOpResult TExecutors::OpArcFixDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord r = FixAt(R);
  const TArc arc = MakeArc(a.Position, b.Position);
  const TTriV foot = FootOnCircle(arc, r.Position);
  const long double circle = CentralAngle(foot, r.Position);
  const TArcSide side = ArcSide(arc, foot);
  const long double along = side == TArcSide::BeforeStart ? CentralAngle(a.Position, r.Position)
                            : side == TArcSide::Within    ? circle
                                                          : CentralAngle(b.Position, r.Position);
  TOpResult result;
  result.Line3.assign("(Circ) ");
  AppendDistance(result.Line3, circle, false);
  result.Line3 += " (Arc) ";
  AppendDistance(result.Line3, along, true);
  result.Line3.append(1, ' ').append(1, SideMark(side));
  result.Line1.assign("Distance from ");
  AppendArc(result.Line1, a, b);
  result.Line2.assign(" to ").append(r.Name.View());
  return result;
}

TOpResult TExecutors::OpArcArcDistance(std::uint16_t A, std::uint16_t B, std::uint16_t C,
                                       std::uint16_t D) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord c = FixAt(C);
  const FixRecord d = FixAt(D);
  const long double distance =
      ArcArcDistance(MakeArc(a.Position, b.Position), MakeArc(c.Position, d.Position));
  TOpResult r;
  AppendDistance(r.Line3, distance, true);
  r.Line1.assign("Distance from ");
  AppendArc(r.Line1, a, b);
  r.Line2.assign("  to ");
  AppendArc(r.Line2, c, d);
  return r;
}

// ------------------------------------------------------------------ points

TOpResult TExecutors::OpMidpoint(std::uint16_t A, std::uint16_t B) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const TTriV M = Midpoint(a.Position, b.Position);
  TOpResult r;
  AppendPosition(r.Line3, M);
  r.Line1.assign("Midpoint from ").append(a.Name.View()).append(" to ").append(b.Name.View());
  r.Proposal = Proposal(M, MidpointName);
  return r;
}

// The geodesic azimuth is decided now from the options, not from the chain;
// its Error is not caught.
TOpResult TExecutors::OpAzimuth(std::uint16_t A, std::uint16_t B) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  TOpResult r;
  if (earth_.GeoDistance && EllipsoidalUnits()) {
    r.Line3 += "(G) ";
    r.Line3 += FormatAzimuth(options_, GeodesicAzimuth(earth_.Shape, a.Position, b.Position));
    r.Line3 += "  ";
  }
  r.Line3 += "(S) ";
  r.Line3 += FormatAzimuth(options_, Azimuth(a.Position, b.Position));
  r.Line1.assign("Azimuth from ").append(a.Name.View()).append(" to ").append(b.Name.View());
  return r;
}

TOpResult TExecutors::OpFixAtDistAz(std::uint16_t F, long double Azimuth,
                                    long double Distance) const {
  const FixRecord f = FixAt(F);
  const TTriV P = FixAtDistAz(f.Position, Azimuth, Distance);
  TOpResult r;
  AppendPosition(r.Line3, P);
  r.Line1.assign("Fix at distance ");
  AppendDistance(r.Line1, Distance, true);
  r.Line2.assign("and azimuth ");
  r.Line2 += FormatAzimuth(options_, Azimuth);
  r.Line2.append(" from ").append(f.Name.View());
  r.Proposal = Proposal(P, FixAtDistAzName);
  return r;
}

TOpResult TExecutors::OpProjection(std::uint16_t A, std::uint16_t B, std::uint16_t R) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord r = FixAt(R);
  const TArc arc = MakeArc(a.Position, b.Position);
  const TTriV P = FootOnCircle(arc, r.Position);
  TOpResult result;
  AppendPosition(result.Line3, P);
  result.Line3.append(1, ' ').append(1, SideMark(ArcSide(arc, P)));
  result.Line1.assign("Projection of ").append(r.Name.View());
  result.Line2.assign("on ");
  AppendArc(result.Line2, a, b);
  result.Proposal = Proposal(P, ProjectionName);
  return result;
}

TOpResult TExecutors::OpIntersection(std::uint16_t A, std::uint16_t B, std::uint16_t C,
                                     std::uint16_t D) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord c = FixAt(C);
  const FixRecord d = FixAt(D);
  const TArc arc1 = MakeArc(a.Position, b.Position);
  const TArc arc2 = MakeArc(c.Position, d.Position);
  const TTriV X = ArcIntersection(arc1, arc2);
  TOpResult r;
  AppendPosition(r.Line3, X);
  r.Line3.append(1, ' ').append(1, SideMark(ArcSide(arc1, X))).append(1, SideMark(ArcSide(arc2, X)));
  r.Line1.assign("Intersection of ");
  AppendArc(r.Line1, a, b);
  r.Line2.assign("and ");
  AppendArc(r.Line2, c, d);
  r.Proposal = Proposal(X, IntersectionName);
  return r;
}

// Only the second solution is proposed; without a solution there is no
// proposal and the previous one stays.
TOpResult TExecutors::OpFixesAtDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R,
                                        long double Distance) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord r = FixAt(R);
  const TArc arc = MakeArc(a.Position, b.Position);
  const TFixesAtDistance found = FixesAtDistance(arc, r.Position, Distance);
  TOpResult result;
  if (found.found) {
    AppendPosition(result.Line3, found.P1);
    result.Line3.append(1, SideMark(ArcSide(arc, found.P1))).append(1, ',');
    AppendPosition(result.Line3, found.P2);
    result.Line3.append(1, SideMark(ArcSide(arc, found.P2)));
  } else {
    result.Line3 = NoSolutionsText;
  }
  result.Line1.assign("Fixes at ");
  AppendDistance(result.Line1, Distance, true);
  result.Line1.append(" from ").append(r.Name.View());
  result.Line2.assign("on ");
  AppendArc(result.Line2, a, b);
  if (found.found) result.Proposal = Proposal(found.P2, ProximityName);
  return result;
}

TOpResult TExecutors::OpFixAtDistance(std::uint16_t A, std::uint16_t B,
                                      long double Distance) const {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const TArc arc = MakeArc(a.Position, b.Position);
  const TTriV P = PointOnArc(arc, Distance);
  TOpResult r;
  AppendPosition(r.Line3, P);
  r.Line3.append(1, SideMark(ArcSide(arc, P)));
  r.Line1.assign("Fix at distance ");
  AppendDistance(r.Line1, Distance, true);
  r.Line2.assign("along ");
  AppendArc(r.Line2, a, b);
  r.Proposal = Proposal(P, FixAtDistanceName);
  return r;
}

}  // namespace navorix
