// The executors: one per result kind of the operation panel. Each takes its
// inputs already checked by the dispatcher (fixes as 1-based database
// positions, distances as central angles and azimuths in radians), copies
// the fixes from the database, computes, and returns the three lines of one
// log record together with what the operation changes: the point proposed
// as the next new fix, or the distance chain after this result.
//
// MakeExecutors change nothing themselves; the owner of the session logs the
// record and applies the changes. Failures leave as Error before anything is
// returned. A fix position outside the database raises "No such fix in the
// database"; an entry whose valid flag is 0 (a fix-file line that did not
// read) raises "This fix has no valid position".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "geometry/earth_model.h"
#include "geometry/great_circle.h"
#include "operations/distance_chain.h"
#include "text/display_options.h"
#include "text/fix_record.h"

namespace navorix {

class FixDatabase;

// The mark of a point of an arc's great circle, by PlaceOnArc: beyond the
// start fix, within the arc, beyond the end fix.
inline constexpr char SideMarks[3] = {'-', '*', '+'};
inline constexpr char SideMark(PlaceOnArc side) { return SideMarks[static_cast<int>(side) % 3]; }

// The proposed names of the point results.
inline constexpr const char* MidpointName = "MIDPOINT/NEW";
inline constexpr const char* FixAtDistAzName = "FIXAT/NEW";
inline constexpr const char* ProjectionName = "PROJECTION/NEW";
inline constexpr const char* IntersectionName = "INTERSECT/NEW";
inline constexpr const char* ProximityName = "PROX-2/NEW";
inline constexpr const char* FixAtDistanceName = "FIX/NEW";

// The result line of Fixes at D when the circle does not reach the arc's.
inline constexpr const char* NoSolutionsText = "No solutions: out of range";

// One result as an executor built it.
struct OperationResult {
  // The lines before the log reduces their blanks.
  std::string line1, line2, line3;
  // The point result under its proposed name (valid), for the operations
  // that have one.
  std::optional<FixRecord> proposal;
  // Fix-Fix and Next Fix: the chain after this result.
  std::optional<DistanceChain> chain;
};

class Executors {
 public:
  // The executors read the fixes, the options and the model in force, and
  // the chain that Next Fix continues; all must outlive the object.
  Executors(const FixDatabase& fixes, const DisplayOptions& options, const EarthModel& earth,
            const DistanceChain& chain);

  // Fix-Fix (tag 1): a new chain from A to B.
  OperationResult OpDistance(std::uint16_t A, std::uint16_t B) const;
  // Next Fix (tag 9): the chain continued to C. Raises "Next Fix needs a
  // Fix-Fix distance first" when no chain was ever started.
  OperationResult OpDistance(std::uint16_t C) const;
  OperationResult OpArcFixDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R) const;
  OperationResult OpArcArcDistance(std::uint16_t A, std::uint16_t B, std::uint16_t C, std::uint16_t D) const;
  OperationResult OpMidpoint(std::uint16_t A, std::uint16_t B) const;
  OperationResult OpAzimuth(std::uint16_t A, std::uint16_t B) const;
  OperationResult OpFixAtDistAz(std::uint16_t F, long double azimuth, long double distance) const;
  OperationResult OpProjection(std::uint16_t A, std::uint16_t B, std::uint16_t R) const;
  OperationResult OpIntersection(std::uint16_t A, std::uint16_t B, std::uint16_t C, std::uint16_t D) const;
  OperationResult OpFixesAtDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R,
                                    long double distance) const;
  OperationResult OpFixAtDistance(std::uint16_t A, std::uint16_t B, long double distance) const;

  const DisplayOptions& Options() const { return options_; }
  const EarthModel& Earth() const { return earth_; }

 private:
  // A copy of the fix at pos, checked to exist and to be valid.
  FixRecord FixAt(std::uint16_t pos) const;
  // Ellipsoidal results need geodetic latitudes and a length unit.
  bool EllipsoidalUnits() const;
  void AppendPosition(std::string& line, const Vector3& P) const;
  void AppendDistance(std::string& line, long double angle, bool withUnit) const;
  std::string ChainResult(const DistanceChain& chain) const;

  const FixDatabase& fixes_;
  const DisplayOptions& options_;
  const EarthModel& earth_;
  const DistanceChain& chain_;
};

}  // namespace navorix
