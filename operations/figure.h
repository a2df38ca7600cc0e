// The figure of a log record: what the chart draws of one operation, its
// operand fixes, the great arcs and circles it worked on and the points it
// found, and the same recovered from a record's text as far as it goes.
//
// Notation:
//   operand    a fix the operation took, by name and stored position
//   arc        a great arc between two operand fixes; an extended arc is one
//              whose whole great circle the operation used (a projection, an
//              intersection), so the chart draws the circle beyond the arc
//              too, dashed
//   segment    a great-circle distance the operation measured or built on
//              (Fix-Fix, a leg of a chain, the perpendicular to an arc)
//   geodesic   the ellipsoid's geodesic between two operands, where the
//              record gives the geodesic distance or azimuth "(G)"
//   ray        the course from a fix at an azimuth, to the fix at distance
//   circle     the points at distance D from a fix (Fixes at D)
//   result     a point the operation found
//
// Positions are stored positions (geocentric directions under elliptic
// latitude), as the fixes hold them; the chart moves them onto its sphere
// (ChartDirection) when it draws them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "geometry/earth_model.h"
#include "geometry/path_set.h"
#include "geometry/vector.h"
#include "operations/catalogue.h"
#include "text/display_options.h"
#include "text/fix_record.h"

namespace navorix {

class FixDatabase;

enum class FigureLineKind : std::uint8_t { Arc, ExtendedArc, Segment, Geodesic };

struct FigureLine {
  FigureLineKind kind = FigureLineKind::Segment;
  Vector3 start;
  Vector3 end;
};

// What a result point is, in the order the operations give them.
enum class ResultKind : std::uint8_t {
  Midpoint,
  Foot,  // the projection of a fix on an arc's great circle
  Intersection,
  FixAtDistAz,    // the fix at a distance and azimuth
  FixAtDistance,  // the fix at a distance along an arc
  FirstOfTwo,     // the two fixes of Fixes at D
  SecondOfTwo,
};

struct FigureResult {
  ResultKind kind = ResultKind::Midpoint;
  Vector3 position;
};

struct FigureRay {
  Vector3 from;
  long double azimuth = 0.0L;   // radians clockwise from North at from
  long double distance = 0.0L;  // radians, signed: a negative one runs back
};

struct FigureCircle {
  Vector3 centre;
  long double radius = 0.0L;  // radians
};

struct Figure {
  // The operation whose record this is; none when the record's text is not
  // one the operations write.
  std::optional<OperationTag> operation;
  // Recovered from a record's text (the history file) rather than kept when
  // the operation ran.
  bool recovered = false;
  std::vector<FixRecord> operands;  // valid fixes only, in the order taken
  std::vector<FigureLine> lines;
  std::vector<FigureResult> results;
  std::optional<FigureRay> ray;
  std::optional<FigureCircle> circle;

  bool Empty() const { return operands.empty() && lines.empty() && results.empty() && !ray && !circle; }
};

// What a figure is made of: the operation, its operand fixes by their place
// in the operation's input dialog (A, B, C, D; A, B, R; F; C), any of which
// may be missing, the result points, and what the record says beyond them.
struct FigureInputs {
  OperationTag operation = OperationTag::FixFix;
  std::optional<FixRecord> fixes[4];
  std::vector<FigureResult> results;
  bool geodesic = false;                // "(G)" was computed
  std::optional<long double> distance;  // the distance typed, radians
  std::optional<long double> azimuth;   // the azimuth typed, radians
};

// The figure of inputs: the operands present; the lines between operands
// that are both present (the arc of Fix-Fix, Midpoint and Azimuth and the
// leg of Next Fix as segments, the geodesic of the first two when asked,
// the arcs of the arc operations, extended where the operation used the
// whole circle); the perpendicular from R to its foot (Arc-Fix, where the
// foot is found again, and Projection) and, for an Arc-Fix whose foot lies
// beyond the arc, the segment from R to the nearer end; the course of the
// fix at distance and azimuth (from the typed azimuth and distance, or from
// F to the result); the circle of Fixes at D about R (the typed distance, or
// the distance from R to the first result). A part that cannot be built
// (same or opposite positions, R at a pole of the arc) is left out.
Figure BuildFigure(const FigureInputs& inputs);

// The figure of a record from its three lines as the log keeps them (blanks
// reduced), for records of the history file: the operation from lines 1 and
// 2; its operands, the fixes named there that fixes still holds (by exact
// name, the first of equal names; in an arc "A-B" whose names may hold "-"
// themselves, the first split that names two fixes, else one); the
// positions printed in line 3, read under the model e and the hemisphere
// letters they carry; and what follows from those: the arcs between
// operands found, the geodesic where line 3 gives "(G)", the perpendicular
// from a fix to its foot, the course from a fix to the fix found at a
// distance and azimuth, and the circle of fixes at D (its radius from the
// first solution, or, without one, from the distance in line 1 in the unit
// it names, with e's sphere radius). The foot of an arc-to-fix distance is
// not printed; it is found again from the operands when all three are
// there. Text the operations do not write gives a figure without operation
// and with whatever positions line 3 prints. Never throws for any text.
Figure RecoverFigure(std::string_view line1, std::string_view line2, std::string_view line3,
                     const FixDatabase& fixes, const EarthModel& e);

// The centre of a figure: the direction of the sum of its operand and result
// positions, or the first of them when they cancel; none for a figure
// without positions.
std::optional<Vector3> FigureCentre(const Figure& figure);

// The lines of a figure on the chart's sphere, densified (chart_paths.h),
// by how the chart draws them.
struct FigurePaths {
  SpherePaths solid;     // arcs, segments and the ray
  SpherePaths dashed;    // the rest of the great circle of extended arcs
  SpherePaths geodesic;  // geodesics
  SpherePaths circle;    // the circle of Fixes at D
  void Clear();
};
// Appends the lines of figure under the model e (the geodesic on its
// ellipsoid) to out, with points at most step apart. A line between the
// same or opposite positions has no arc and is left out.
void AddFigurePaths(const Figure& figure, const EarthModel& e, long double step, FigurePaths& out);

}  // namespace navorix
