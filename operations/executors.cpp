// The executors of the operation panel.
//
// Notation:
//   A, B   start and end fix of an arc (or the two fixes of a distance)
//   C, D   the second arc, or the fix a chain is continued to
//   F, R   a single reference fix
//   P      a computed point; its mark tells where it lies on the arc
//
// Common order: copy the fixes, compute (an Error ends the executor here),
// build line 3 then lines 1 and 2, LogResult, and only then propose the
// point, so that a failure never leaves a half-done record or proposal.
// The lines are built in member strings so their storage is reused.
#include "operations/executors.h"

#include "geometry/earth_model.h"
#include "geometry/ellipsoid.h"
#include "geometry/error.h"
#include "geometry/great_circle.h"
#include "operations/messages.h"
#include "stores/fix_db.h"
#include "text/display_options.h"
#include "text/fix_names.h"
#include "text/format.h"

namespace navorix {

namespace {

// Ellipsoidal results need geodetic latitudes and a length unit.
bool EllipsoidalUnits() { return EllipticLat && DisplayOptions.DistUnits != DegreesUnit; }

void AppendPosition(std::string& Line, const TTriV& P) {
  FixRecord point;
  point.Position = P;
  point.Valid = true;
  Line += FormatLatLon(point, DisplayOptions.Precision);
}

void AppendDistance(std::string& Line, long double Angle, bool WithUnit) {
  Line += FormatDistance(Angle, WithUnit);
}

void AppendArc(std::string& Line, const FixRecord& Start, const FixRecord& End) {
  Line.append(Start.Name.View()).append(1, '-').append(End.Name.View());
}

}  // namespace

TExecutors::TExecutors(const TFixDB& FixDB, TResultSink& Sink) : fixDB_(FixDB), sink_(Sink) {}

void TExecutors::SetNextFixEnabled(bool Enabled) {
  nextFixEnabled_ = Enabled;
  sink_.NextFixChanged(Enabled);
}

FixRecord TExecutors::FixAt(std::uint16_t Pos) const {
  if (Pos == 0 || Pos > fixDB_.Count()) throw Error(msg::NoSuchFix);
  FixRecord fix = fixDB_.Get(Pos);
  if (!fix.Valid) throw Error(msg::FixNotValid);
  return fix;
}

void TExecutors::LogLines() { sink_.LogResult(line1_, line2_, line3_); }

void TExecutors::Propose(const TTriV& Position, const char* Name) {
  MakeFix(PendingFix, Position, Name);
}

// ---------------------------------------------------------------- distances

void TExecutors::ChainResult(const TDistanceChain& Chain) {
  line3_.clear();
  if (Chain.WithE) {
    line3_ += "  (E) ";
    AppendDistance(line3_, Chain.SumE, false);
  }
  if (Chain.WithG) {
    line3_ += "  (G) ";
    AppendDistance(line3_, Chain.SumG, false);
  }
  line3_ += "  (S) ";
  AppendDistance(line3_, Chain.SumS, false);
  // The unit exactly as the distance text with unit carries it.
  if (DisplayOptions.DistUnits == DegreesUnit) {
    line3_ += DegreeSign;
  } else {
    line3_.append(1, ' ').append(DistUnitTable[DisplayOptions.DistUnits].Suffix);
  }
}

// Both forms work on a copy of the chain and store it only after the record
// is logged, so a failure on the sphere (antipodal fixes) leaves the previous
// chain whole: otherwise its start name would describe sums that no longer
// belong to it, and a later Next Fix would log a wrong description.
void TExecutors::OpDistance(std::uint16_t A, std::uint16_t B) {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  TDistanceChain chain;  // the sums start at 0
  chain.StartName = a.Name;
  chain.LastFix = a;
  chain.WithE = EllipticArc && EllipsoidalUnits();
  chain.WithG = GeoDistance && EllipsoidalUnits();
  ExtendChain(chain, b);
  ChainResult(chain);
  line1_.assign("Distance from ").append(a.Name.View()).append(" to ").append(b.Name.View());
  line2_.clear();
  LogLines();
  SetNextFixEnabled(true);
  DistanceChain = chain;
}

void TExecutors::OpDistance(std::uint16_t C) {
  if (!DistanceChain.LastFix.Valid) throw Error(msg::NoDistanceChain);
  const FixRecord c = FixAt(C);
  TDistanceChain chain = DistanceChain;
  ExtendChain(chain, c);
  ChainResult(chain);
  line1_.assign("Accumulated distance from ").append(chain.StartName.View());
  line2_.assign("to ").append(c.Name.View());
  LogLines();
  SetNextFixEnabled(true);
  DistanceChain = chain;
}

// The arc distance is the distance to the nearer end when the foot of the
// perpendicular falls outside the arc.
void TExecutors::OpArcFixDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R) {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord r = FixAt(R);
  const TArc arc = MakeArc(a.Position, b.Position);
  const TTriV foot = FootOnCircle(arc, r.Position);
  const long double circle = CentralAngle(foot, r.Position);
  const int side = ArcSide(arc, foot);
  const long double along = side == 0   ? CentralAngle(a.Position, r.Position)
                            : side == 1 ? circle
                                        : CentralAngle(b.Position, r.Position);
  line3_.assign("(Circ) ");
  AppendDistance(line3_, circle, false);
  line3_ += " (Arc) ";
  AppendDistance(line3_, along, true);
  line3_.append(1, ' ').append(1, SideMark[side]);
  line1_.assign("Distance from ");
  AppendArc(line1_, a, b);
  line2_.assign(" to ").append(r.Name.View());
  LogLines();
}

void TExecutors::OpArcArcDistance(std::uint16_t A, std::uint16_t B, std::uint16_t C,
                                  std::uint16_t D) {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord c = FixAt(C);
  const FixRecord d = FixAt(D);
  const long double distance =
      ArcArcDistance(MakeArc(a.Position, b.Position), MakeArc(c.Position, d.Position));
  line3_.clear();
  AppendDistance(line3_, distance, true);
  line1_.assign("Distance from ");
  AppendArc(line1_, a, b);
  line2_.assign("  to ");
  AppendArc(line2_, c, d);
  LogLines();
}

// ------------------------------------------------------------------ points

void TExecutors::OpMidpoint(std::uint16_t A, std::uint16_t B) {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const TTriV M = Midpoint(a.Position, b.Position);
  line3_.clear();
  AppendPosition(line3_, M);
  line1_.assign("Midpoint from ").append(a.Name.View()).append(" to ").append(b.Name.View());
  line2_.clear();
  LogLines();
  Propose(M, MidpointName);
}

// The geodesic azimuth is decided now from the options, not from the chain;
// its Error is not caught.
void TExecutors::OpAzimuth(std::uint16_t A, std::uint16_t B) {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  line3_.clear();
  if (GeoDistance && EllipsoidalUnits()) {
    line3_ += "(G) ";
    line3_ += FormatAzimuth(GeodesicAzimuth(a.Position, b.Position));
    line3_ += "  ";
  }
  line3_ += "(S) ";
  line3_ += FormatAzimuth(Azimuth(a.Position, b.Position));
  line1_.assign("Azimuth from ").append(a.Name.View()).append(" to ").append(b.Name.View());
  line2_.clear();
  LogLines();
}

void TExecutors::OpFixAtDistAz(std::uint16_t F, long double Azimuth, long double Distance) {
  const FixRecord f = FixAt(F);
  const TTriV P = FixAtDistAz(f.Position, Azimuth, Distance);
  line3_.clear();
  AppendPosition(line3_, P);
  line1_.assign("Fix at distance ");
  AppendDistance(line1_, Distance, true);
  line2_.assign("and azimuth ");
  line2_ += FormatAzimuth(Azimuth);
  line2_.append(" from ").append(f.Name.View());
  LogLines();
  Propose(P, FixAtDistAzName);
}

void TExecutors::OpProjection(std::uint16_t A, std::uint16_t B, std::uint16_t R) {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord r = FixAt(R);
  const TArc arc = MakeArc(a.Position, b.Position);
  const TTriV P = FootOnCircle(arc, r.Position);
  line3_.clear();
  AppendPosition(line3_, P);
  line3_.append(1, ' ').append(1, SideMark[ArcSide(arc, P)]);
  line1_.assign("Projection of ").append(r.Name.View());
  line2_.assign("on ");
  AppendArc(line2_, a, b);
  LogLines();
  Propose(P, ProjectionName);
}

void TExecutors::OpIntersection(std::uint16_t A, std::uint16_t B, std::uint16_t C,
                                std::uint16_t D) {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord c = FixAt(C);
  const FixRecord d = FixAt(D);
  const TArc arc1 = MakeArc(a.Position, b.Position);
  const TArc arc2 = MakeArc(c.Position, d.Position);
  const TTriV X = ArcIntersection(arc1, arc2);
  line3_.clear();
  AppendPosition(line3_, X);
  line3_.append(1, ' ').append(1, SideMark[ArcSide(arc1, X)]).append(1, SideMark[ArcSide(arc2, X)]);
  line1_.assign("Intersection of ");
  AppendArc(line1_, a, b);
  line2_.assign("and ");
  AppendArc(line2_, c, d);
  LogLines();
  Propose(X, IntersectionName);
}

// Only the second solution is proposed; without a solution the previous
// proposal stays.
void TExecutors::OpFixesAtDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R,
                                   long double Distance) {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const FixRecord r = FixAt(R);
  const TArc arc = MakeArc(a.Position, b.Position);
  const TFixesAtDistance found = FixesAtDistance(arc, r.Position, Distance);
  line3_.clear();
  if (found.found) {
    AppendPosition(line3_, found.P1);
    line3_.append(1, SideMark[ArcSide(arc, found.P1)]).append(1, ',');
    AppendPosition(line3_, found.P2);
    line3_.append(1, SideMark[ArcSide(arc, found.P2)]);
  } else {
    line3_ += NoSolutionsText;
  }
  line1_.assign("Fixes at ");
  AppendDistance(line1_, Distance, true);
  line1_.append(" from ").append(r.Name.View());
  line2_.assign("on ");
  AppendArc(line2_, a, b);
  LogLines();
  if (found.found) Propose(found.P2, ProximityName);
}

void TExecutors::OpFixAtDistance(std::uint16_t A, std::uint16_t B, long double Distance) {
  const FixRecord a = FixAt(A);
  const FixRecord b = FixAt(B);
  const TArc arc = MakeArc(a.Position, b.Position);
  const TTriV P = PointOnArc(arc, Distance);
  line3_.clear();
  AppendPosition(line3_, P);
  line3_.append(1, SideMark[ArcSide(arc, P)]);
  line1_.assign("Fix at distance ");
  AppendDistance(line1_, Distance, true);
  line2_.assign("along ");
  AppendArc(line2_, a, b);
  LogLines();
  Propose(P, FixAtDistanceName);
}

}  // namespace navorix
