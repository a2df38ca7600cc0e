// The figure of a log record (notation in figure.h).
//
//   words      the blank-separated words of a log line (the log keeps one
//              blank between words)
//   slot       the place of an operand in the operation's input dialog
#include "operations/figure.h"

#include <array>
#include <cmath>
#include <string>

#include "geometry/chart_paths.h"
#include "geometry/error.h"
#include "geometry/great_circle.h"
#include "geometry/sincos.h"
#include "operations/conversion.h"
#include "stores/fix_db.h"
#include "text/parse.h"

namespace navorix {
namespace {

// Slots of the operands, by the dialog's layouts.
constexpr int SlotA = 0, SlotB = 1, SlotC = 2, SlotD = 3;
constexpr int SlotR = 2;  // the fix of Arc-Fix, Projection and Fixes at D
constexpr int SlotF = 0;  // the fix of Fix at Dist/Az, the fix of Next Fix

// Runs part, leaving out what it would add when the geometry refuses its
// positions (same or opposite fixes, a fix at a pole of a circle).
template <typename Part>
void Try(Part part) {
  try {
    part();
  } catch (const Error&) {}
}

// Adds the line from slot a to slot b when both are present.
void AddLine(Figure& figure, const FigureInputs& inputs, FigureLineKind kind, int a, int b) {
  if (inputs.fixes[a] && inputs.fixes[b])
    figure.lines.push_back({kind, inputs.fixes[a]->position, inputs.fixes[b]->position});
}

const Vector3* ResultOf(const FigureInputs& inputs, ResultKind kind) {
  for (const FigureResult& result : inputs.results)
    if (result.kind == kind) return &result.position;
  return nullptr;
}

// The perpendicular from R to the foot on the arc A-B; for Arc-Fix the
// foot is found here (it is not a printed result) and, when it lies beyond
// the arc, the segment to the nearer end is the distance measured.
void AddPerpendicular(Figure& figure, const FigureInputs& inputs) {
  const auto& a = inputs.fixes[SlotA];
  const auto& b = inputs.fixes[SlotB];
  const auto& r = inputs.fixes[SlotR];
  if (!r) return;
  if (const Vector3* foot = ResultOf(inputs, ResultKind::Foot)) {
    figure.lines.push_back({FigureLineKind::Segment, r->position, *foot});
    return;
  }
  if (inputs.operation != OperationTag::ArcFix || !a || !b) return;
  Try([&] {
    const Arc arc = MakeArc(a->position, b->position);
    const Vector3 foot = FootOnCircle(arc, r->position);
    figure.results.push_back({ResultKind::Foot, foot});
    figure.lines.push_back({FigureLineKind::Segment, r->position, foot});
    const PlaceOnArc side = ArcSide(arc, foot);
    if (side != PlaceOnArc::Within) {
      const Vector3& end = side == PlaceOnArc::BeforeStart ? arc.startPos : arc.endPos;
      figure.lines.push_back({FigureLineKind::Segment, r->position, end});
    }
  });
}

void AddRay(Figure& figure, const FigureInputs& inputs) {
  const auto& f = inputs.fixes[SlotF];
  if (!f) return;
  if (inputs.azimuth && inputs.distance) {
    figure.ray = FigureRay{f->position, *inputs.azimuth, *inputs.distance};
    return;
  }
  const Vector3* found = ResultOf(inputs, ResultKind::FixAtDistAz);
  if (found == nullptr) return;
  Try([&] {
    figure.ray = FigureRay{f->position, Azimuth(f->position, *found), CentralAngle(f->position, *found)};
  });
}

void AddCircle(Figure& figure, const FigureInputs& inputs) {
  const auto& r = inputs.fixes[SlotR];
  if (!r) return;
  if (inputs.distance) {
    figure.circle = FigureCircle{r->position, *inputs.distance};
  } else if (const Vector3* first = ResultOf(inputs, ResultKind::FirstOfTwo)) {
    figure.circle = FigureCircle{r->position, VectorAngle(r->position, *first)};
  }
}

// ------------------------------------------------------------- the records

using Words = std::vector<std::string_view>;

Words SplitWords(std::string_view line) {
  Words words;
  std::size_t start = 0;
  while (start < line.size()) {
    const std::size_t blank = line.find(' ', start);
    const std::size_t end = blank == std::string_view::npos ? line.size() : blank;
    if (end > start) words.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

bool Starts(const Words& words, std::initializer_list<std::string_view> head) {
  if (words.size() < head.size()) return false;
  std::size_t i = 0;
  for (const std::string_view word : head)
    if (words[i++] != word) return false;
  return true;
}

std::optional<FixRecord> FixNamed(const FixDatabase& fixes, std::string_view name) {
  const std::uint16_t position = fixes.FindName(name);
  if (position == 0) return std::nullopt;
  FixRecord fix = fixes.Get(position);
  if (!fix.valid) return std::nullopt;
  return fix;
}

// The two fixes of an arc written "A-B": the first split at a "-" that names
// two fixes, else the first that names one of them.
void ReadArc(const FixDatabase& fixes, std::string_view arc, std::optional<FixRecord>& start,
             std::optional<FixRecord>& end) {
  bool found = false;
  for (int pass = 0; pass < 2 && !found; ++pass) {
    for (std::size_t dash = arc.find('-'); dash != std::string_view::npos && !found;
         dash = arc.find('-', dash + 1)) {
      const auto a = FixNamed(fixes, arc.substr(0, dash));
      const auto b = FixNamed(fixes, arc.substr(dash + 1));
      if ((a && b) || (pass == 1 && (a || b))) {
        start = a;
        end = b;
        found = true;
      }
    }
  }
}

bool HasOneOf(std::string_view word, char letter1, char letter2) {
  return word.find(letter1) != std::string_view::npos || word.find(letter2) != std::string_view::npos;
}

// The positions printed in line 3: pairs of a latitude with its N or S and a
// longitude with its E or W, in any display format, the marks of the arc
// ("-", "*", "+") and the comma between two solutions taken off.
std::vector<Vector3> PrintedPositions(std::string_view line, const EarthModel& e) {
  Words words;
  for (std::string_view word : SplitWords(line)) {
    std::size_t start = 0;
    while (start <= word.size()) {
      const std::size_t comma = word.find(',', start);
      const std::size_t end = comma == std::string_view::npos ? word.size() : comma;
      std::string_view piece = word.substr(start, end - start);
      while (!piece.empty() && (piece.back() == '-' || piece.back() == '*' || piece.back() == '+'))
        piece.remove_suffix(1);
      if (!piece.empty()) words.push_back(piece);
      start = end + 1;
    }
  }
  std::vector<Vector3> positions;
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    if (!HasOneOf(words[i], 'N', 'S') || !HasOneOf(words[i + 1], 'E', 'W')) continue;
    FixRecord point;
    std::string text(words[i]);
    text.append(1, ' ').append(words[i + 1]);
    if (ParseLatLon(PlusDir::NorthEast, e, point, text)) {
      positions.push_back(point.position);
      ++i;
    }
  }
  return positions;
}

// A distance written with its unit, "12.5 km" or "1.25\xB0" (two words or
// one), in radians on e's sphere.
std::optional<long double> WrittenDistance(const Words& words, const EarthModel& e) {
  std::string number;
  std::string_view unit;
  if (words.size() == 2) {
    number = words[0];
    unit = words[1];
  } else if (words.size() == 1 && !words[0].empty() && words[0].back() == DegreeSign) {
    number = words[0].substr(0, words[0].size() - 1);
    unit = UnitInfo(DistUnits::Degrees).suffix;
  } else {
    return std::nullopt;
  }
  long double value = 0.0L;
  if (!ParseDistanceText(number, value)) return std::nullopt;
  for (int i = 0; i < DistUnitsCount; ++i) {
    const auto units = static_cast<DistUnits>(i);
    if (unit == UnitInfo(units).suffix) {
      const long double angle = DistanceToAngle(units, e.shape.spherRadius, value);
      if (std::isfinite(angle)) return angle;
    }
  }
  return std::nullopt;
}

void AddResults(FigureInputs& inputs, const std::vector<Vector3>& printed,
                std::initializer_list<ResultKind> kinds) {
  std::size_t i = 0;
  for (const ResultKind kind : kinds) {
    if (i == printed.size()) return;
    inputs.results.push_back({kind, printed[i++]});
  }
}

// The inputs a record's text gives, or none for text the operations do not
// write.
std::optional<FigureInputs> ReadRecord(const Words& w1, const Words& w2, std::string_view line3,
                                       const std::vector<Vector3>& printed, const FixDatabase& fixes,
                                       const EarthModel& e) {
  FigureInputs inputs;
  auto fix = [&](int slot, std::string_view name) { inputs.fixes[slot] = FixNamed(fixes, name); };
  auto arc = [&](int slot, std::string_view text) {
    ReadArc(fixes, text, inputs.fixes[slot], inputs.fixes[slot + 1]);
  };
  const bool geodesic = line3.find("(G) ") != std::string_view::npos;
  if (Starts(w1, {"Distance", "from"}) && w1.size() == 5 && w1[3] == "to" && w2.empty()) {
    inputs.operation = OperationTag::FixFix;
    fix(SlotA, w1[2]);
    fix(SlotB, w1[4]);
    inputs.geodesic = geodesic;
  } else if (Starts(w1, {"Distance", "from"}) && w1.size() == 3 && w2.size() == 2 && w2[0] == "to") {
    const bool arcToFix = line3.starts_with("(Circ) ");
    inputs.operation = arcToFix ? OperationTag::ArcFix : OperationTag::ArcArc;
    arc(SlotA, w1[2]);
    if (arcToFix)
      fix(SlotR, w2[1]);
    else
      arc(SlotC, w2[1]);
  } else if (Starts(w1, {"Midpoint", "from"}) && w1.size() == 5 && w1[3] == "to") {
    inputs.operation = OperationTag::Midpoint;
    fix(SlotA, w1[2]);
    fix(SlotB, w1[4]);
    AddResults(inputs, printed, {ResultKind::Midpoint});
  } else if (Starts(w1, {"Azimuth", "from"}) && w1.size() == 5 && w1[3] == "to") {
    inputs.operation = OperationTag::Azimuth;
    fix(SlotA, w1[2]);
    fix(SlotB, w1[4]);
    inputs.geodesic = geodesic;
  } else if (Starts(w1, {"Fix", "at", "distance"}) && Starts(w2, {"and", "azimuth"}) && w2.size() >= 5 &&
             w2[w2.size() - 2] == "from") {
    inputs.operation = OperationTag::FixAtDistAz;
    fix(SlotF, w2.back());
    AddResults(inputs, printed, {ResultKind::FixAtDistAz});
  } else if (Starts(w1, {"Fix", "at", "distance"}) && w2.size() == 2 && w2[0] == "along") {
    inputs.operation = OperationTag::FixAtDistance;
    arc(SlotA, w2[1]);
    AddResults(inputs, printed, {ResultKind::FixAtDistance});
  } else if (Starts(w1, {"Projection", "of"}) && w1.size() == 3 && w2.size() == 2 && w2[0] == "on") {
    inputs.operation = OperationTag::Projection;
    arc(SlotA, w2[1]);
    fix(SlotR, w1[2]);
    AddResults(inputs, printed, {ResultKind::Foot});
  } else if (Starts(w1, {"Intersection", "of"}) && w1.size() == 3 && w2.size() == 2 && w2[0] == "and") {
    inputs.operation = OperationTag::Intersection;
    arc(SlotA, w1[2]);
    arc(SlotC, w2[1]);
    AddResults(inputs, printed, {ResultKind::Intersection});
  } else if (Starts(w1, {"Fixes", "at"}) && w1.size() >= 5 && w1[w1.size() - 2] == "from" && w2.size() == 2 &&
             w2[0] == "on") {
    inputs.operation = OperationTag::FixesAtDistance;
    arc(SlotA, w2[1]);
    fix(SlotR, w1.back());
    AddResults(inputs, printed, {ResultKind::FirstOfTwo, ResultKind::SecondOfTwo});
    if (printed.empty()) inputs.distance = WrittenDistance(Words(w1.begin() + 2, w1.end() - 2), e);
  } else {
    return std::nullopt;
  }
  return inputs;
}

}  // namespace

Figure BuildFigure(const FigureInputs& inputs) {
  Figure figure;
  figure.operation = inputs.operation;
  for (const auto& fix : inputs.fixes)
    if (fix && fix->valid) figure.operands.push_back(*fix);
  figure.results = inputs.results;
  switch (inputs.operation) {
    case OperationTag::FixFix:
    case OperationTag::NextFix:
    case OperationTag::Azimuth:
      AddLine(figure, inputs, FigureLineKind::Segment, SlotA, SlotB);
      if (inputs.geodesic) AddLine(figure, inputs, FigureLineKind::Geodesic, SlotA, SlotB);
      break;
    case OperationTag::Midpoint:
      AddLine(figure, inputs, FigureLineKind::Segment, SlotA, SlotB);
      break;
    case OperationTag::ArcFix:
      AddLine(figure, inputs, FigureLineKind::ExtendedArc, SlotA, SlotB);
      AddPerpendicular(figure, inputs);
      break;
    case OperationTag::ArcArc:
      AddLine(figure, inputs, FigureLineKind::Arc, SlotA, SlotB);
      AddLine(figure, inputs, FigureLineKind::Arc, SlotC, SlotD);
      break;
    case OperationTag::FixAtDistAz:
      AddRay(figure, inputs);
      break;
    case OperationTag::Projection:
      AddLine(figure, inputs, FigureLineKind::ExtendedArc, SlotA, SlotB);
      AddPerpendicular(figure, inputs);
      break;
    case OperationTag::Intersection:
      AddLine(figure, inputs, FigureLineKind::ExtendedArc, SlotA, SlotB);
      AddLine(figure, inputs, FigureLineKind::ExtendedArc, SlotC, SlotD);
      break;
    case OperationTag::FixesAtDistance:
      AddLine(figure, inputs, FigureLineKind::ExtendedArc, SlotA, SlotB);
      AddCircle(figure, inputs);
      break;
    case OperationTag::FixAtDistance:
      AddLine(figure, inputs, FigureLineKind::ExtendedArc, SlotA, SlotB);
      break;
  }
  return figure;
}

Figure RecoverFigure(std::string_view line1, std::string_view line2, std::string_view line3,
                     const FixDatabase& fixes, const EarthModel& e) {
  const Words w1 = SplitWords(line1);
  const Words w2 = SplitWords(line2);
  const std::vector<Vector3> printed = PrintedPositions(line3, e);
  Figure figure;
  // A chain names its first and its last fix; the legs between them are not
  // in the record.
  if (Starts(w1, {"Accumulated", "distance", "from"}) && w1.size() == 4 && w2.size() == 2 && w2[0] == "to") {
    figure.operation = OperationTag::NextFix;
    for (const std::string_view name : {w1[3], w2[1]})
      if (const auto fix = FixNamed(fixes, name)) figure.operands.push_back(*fix);
  } else if (const auto inputs = ReadRecord(w1, w2, line3, printed, fixes, e)) {
    figure = BuildFigure(*inputs);
  } else {
    for (const Vector3& p : printed) figure.results.push_back({ResultKind::Midpoint, p});
  }
  figure.recovered = true;
  return figure;
}

std::optional<Vector3> FigureCentre(const Figure& figure) {
  Vector3 sum;
  const Vector3* first = nullptr;
  auto take = [&](const Vector3& p) {
    sum = TriAdd(sum, p);
    if (first == nullptr) first = &p;
  };
  for (const FixRecord& fix : figure.operands) take(fix.position);
  for (const FigureResult& result : figure.results) take(result.position);
  if (first == nullptr) return std::nullopt;
  // Positions that nearly cancel (two antipodes) have no middle worth
  // showing; the first of them will do.
  if (TriLength(sum) < 1e-6L) return *first;
  TriNormalize(sum);
  return sum;
}

void FigurePaths::Clear() {
  solid.Clear();
  dashed.Clear();
  geodesic.Clear();
  circle.Clear();
}

void AddFigurePaths(const Figure& figure, const EarthModel& e, long double step, FigurePaths& out) {
  const std::size_t solidFrom = out.solid.Count();
  const std::size_t dashedFrom = out.dashed.Count();
  const std::size_t circleFrom = out.circle.Count();
  for (const FigureLine& line : figure.lines) {
    if (SameOrOpposite(line.start, line.end, Coincidence::Either)) continue;
    if (line.kind == FigureLineKind::Geodesic) {
      // The geodesic runs between the fixes' shown (geodetic) latitudes and
      // comes out on the chart's sphere already.
      AddGeodesicPath(e.shape, PosLat(e, line.start), PosLon(line.start), PosLat(e, line.end),
                      PosLon(line.end), step, out.geodesic);
      continue;
    }
    AddArcPath(line.start, line.end, step, out.solid);
    if (line.kind == FigureLineKind::ExtendedArc)
      AddArcExtensionPath(MakeArc(line.start, line.end), step, out.dashed);
  }
  if (figure.ray) {
    // The course direction at the fix: East and North there from its
    // longitude, so that it is defined up to the poles.
    const Vector3& from = figure.ray->from;
    long double sinLon, cosLon, sinAz, cosAz;
    SinCos(TriLon(from), sinLon, cosLon);
    SinCos(figure.ray->azimuth, sinAz, cosAz);
    const Vector3 east{-sinLon, cosLon, 0.0L};
    const Vector3 north = TriCross(from, east);
    const Vector3 course = TriAdd(TriScale(east, sinAz), TriScale(north, cosAz));
    AddCirclePath(from, course, 0.0L, figure.ray->distance, step, out.solid);
  }
  if (figure.circle) AddSmallCirclePath(figure.circle->centre, figure.circle->radius, step, out.circle);
  ChartToSphere(e, solidFrom, out.solid);
  ChartToSphere(e, dashedFrom, out.dashed);
  ChartToSphere(e, circleFrom, out.circle);
}

}  // namespace navorix
