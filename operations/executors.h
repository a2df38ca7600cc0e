// The executors: one per result kind of the operation panel. Each takes its
// inputs already checked by the dispatcher (fixes as 1-based database
// positions, distances as central angles and azimuths in radians), copies
// the fixes from the database, computes, and hands the three lines of one
// log record to the sink's LogResult; the point-producing ones then propose
// the point as the next new fix (PendingFix).
//
// Failures leave as Error before anything is logged: nothing is recorded,
// PendingFix and the distance chain keep their values, and the caller shows
// the message. A fix position outside the database raises "No such fix in
// the database"; an entry whose valid flag is 0 (a fix-file line that did
// not read) raises "This fix has no valid position".
//
// The object is Qt-free; the main window owns one, implements TResultSink,
// and the batch program does the same without a window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "operations/distance_chain.h"
#include "text/fix_record.h"

namespace navorix {

class TFixDB;

// Where a point of an arc's great circle lies, indexed by ArcSide: beyond the
// start fix, within the arc, beyond the end fix.
inline constexpr char SideMark[3] = {'-', '*', '+'};

// The proposed names of the point results.
inline constexpr const char* MidpointName = "MIDPOINT/NEW";
inline constexpr const char* FixAtDistAzName = "FIXAT/NEW";
inline constexpr const char* ProjectionName = "PROJECTION/NEW";
inline constexpr const char* IntersectionName = "INTERSECT/NEW";
inline constexpr const char* ProximityName = "PROX-2/NEW";
inline constexpr const char* FixAtDistanceName = "FIX/NEW";

// The result line of Fixes at D when the circle does not reach the arc's.
inline constexpr const char* NoSolutionsText = "No solutions: out of range";

// What the executors need from the window (or the batch program).
class TResultSink {
 public:
  virtual ~TResultSink() = default;
  // Records one result as built by an executor, once all computing is done:
  // the done sound plays, the lines are normalised (SquashBlanks) and
  // appended to the operation log, and the record is shown. The window-bound
  // log does all of it (TWinLogDB::LogResult).
  virtual void LogResult(std::string_view Line1, std::string_view Line2,
                         std::string_view Line3) = 0;
  // The "Next Fix" button is to be enabled (true) or disabled.
  virtual void NextFixChanged(bool Enabled) = 0;
};

class TExecutors {
 public:
  TExecutors(const TFixDB& FixDB, TResultSink& Sink);

  // The proposed next new fix: valid after a point result, empty at start.
  // The fix input dialog reads it and empties it after an insertion.
  FixRecord PendingFix;
  // Never saved; only a new Fix-Fix distance restarts it.
  TDistanceChain DistanceChain;

  // The state of the "Next Fix" button. Disabling never clears the chain.
  // Every change of the button (a cleared log, a distance unit, a switched
  // ellipsoid option) goes through SetNextFixEnabled, which tells the sink,
  // so that the dispatcher knows the state.
  bool NextFixEnabled() const { return nextFixEnabled_; }
  void SetNextFixEnabled(bool Enabled);

  // Fix-Fix (tag 1): a new chain from A to B.
  void OpDistance(std::uint16_t A, std::uint16_t B);
  // Next Fix (tag 9): the chain continued to C. Raises "Next Fix needs a
  // Fix-Fix distance first" when no chain was ever started.
  void OpDistance(std::uint16_t C);
  void OpArcFixDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R);
  void OpArcArcDistance(std::uint16_t A, std::uint16_t B, std::uint16_t C, std::uint16_t D);
  void OpMidpoint(std::uint16_t A, std::uint16_t B);
  void OpAzimuth(std::uint16_t A, std::uint16_t B);
  void OpFixAtDistAz(std::uint16_t F, long double Azimuth, long double Distance);
  void OpProjection(std::uint16_t A, std::uint16_t B, std::uint16_t R);
  void OpIntersection(std::uint16_t A, std::uint16_t B, std::uint16_t C, std::uint16_t D);
  void OpFixesAtDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R, long double Distance);
  void OpFixAtDistance(std::uint16_t A, std::uint16_t B, long double Distance);

 private:
  // A copy of the fix at Pos, checked to exist and to be valid.
  FixRecord FixAt(std::uint16_t Pos) const;
  void LogLines();
  void Propose(const TTriV& Position, const char* Name);
  void ChainResult(const TDistanceChain& Chain);

  const TFixDB& fixDB_;
  TResultSink& sink_;
  bool nextFixEnabled_ = false;
  // The lines under construction, kept so that their storage is reused.
  std::string line1_, line2_, line3_;
};

}  // namespace navorix
