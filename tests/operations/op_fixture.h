// A fix database, options and a model owned by each test, and an owner of
// the session that runs the executors and keeps what they return the way
// the workbench does: the log record with its blanks reduced, the proposed
// fix, the chain and the Next Fix state.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/earth_model.h"
#include "geometry/ellipsoid.h"
#include "geometry/numeric.h"
#include "operations/executors.h"
#include "stores/fix_db.h"
#include "stores/log_list.h"
#include "text/display_options.h"
#include "text/fix_names.h"
#include "text/format.h"
#include "text/text_helpers.h"

namespace navorix::test {

class Owner {
 public:
  Owner(const FixDatabase& db, const DisplayOptions& options, const EarthModel& earth)
      : db_(db), options_(options), earth_(earth) {}

  Executors MakeExecutors() const { return Executors(db_, options_, earth_, distanceChain); }

  void OpDistance(std::uint16_t A, std::uint16_t B) { Keep(MakeExecutors().OpDistance(A, B)); }
  void OpDistance(std::uint16_t C) { Keep(MakeExecutors().OpDistance(C)); }
  void OpArcFixDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R) {
    Keep(MakeExecutors().OpArcFixDistance(A, B, R));
  }
  void OpArcArcDistance(std::uint16_t A, std::uint16_t B, std::uint16_t C, std::uint16_t D) {
    Keep(MakeExecutors().OpArcArcDistance(A, B, C, D));
  }
  void OpMidpoint(std::uint16_t A, std::uint16_t B) { Keep(MakeExecutors().OpMidpoint(A, B)); }
  void OpAzimuth(std::uint16_t A, std::uint16_t B) { Keep(MakeExecutors().OpAzimuth(A, B)); }
  void OpFixAtDistAz(std::uint16_t F, long double az, long double D) {
    Keep(MakeExecutors().OpFixAtDistAz(F, az, D));
  }
  void OpProjection(std::uint16_t A, std::uint16_t B, std::uint16_t R) {
    Keep(MakeExecutors().OpProjection(A, B, R));
  }
  void OpIntersection(std::uint16_t A, std::uint16_t B, std::uint16_t C, std::uint16_t D) {
    Keep(MakeExecutors().OpIntersection(A, B, C, D));
  }
  void OpFixesAtDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R, long double D) {
    Keep(MakeExecutors().OpFixesAtDistance(A, B, R, D));
  }
  void OpFixAtDistance(std::uint16_t A, std::uint16_t B, long double D) {
    Keep(MakeExecutors().OpFixAtDistance(A, B, D));
  }

  bool NextFixEnabled() const { return nextFix_; }
  void SetNextFixEnabled(bool enabled) {
    if (enabled != nextFix_) nextFixChanges.push_back(enabled);
    nextFix_ = enabled;
  }

  void Keep(const OperationResult& R) {
    ++sounds;
    log.Add(SquashBlanks(R.line1, false), SquashBlanks(R.line2, false), SquashBlanks(R.line3, false));
    if (R.chain) {
      SetNextFixEnabled(true);
      distanceChain = *R.chain;
    }
    if (R.proposal) pendingFix = *R.proposal;
  }

  FixRecord pendingFix;
  DistanceChain distanceChain;
  LogList log;
  std::vector<bool> nextFixChanges;  // every change of the button
  int sounds = 0;                    // done sounds: one per logged result

 private:
  const FixDatabase& db_;
  const DisplayOptions& options_;
  const EarthModel& earth_;
  bool nextFix_ = false;
};

class OperationsTest : public ::testing::Test {
 protected:
  OperationsTest() {
    // Spherical latitudes keep the expected values exact; tests of the
    // ellipsoid switch it on.
    earth.ellipticLat = false;
  }

  template <typename E>
  static void Set(E& option, int number) {
    option = static_cast<E>(number);
  }

  // Appends a fix at latDeg, lonDeg (degrees) and returns its position.
  std::uint16_t Add(const std::string& name, long double latDeg, long double lonDeg) {
    FixRecord fix;
    MakeFix(fix, PosFromLatLon(earth, latDeg * DegToRad, lonDeg * DegToRad), name);
    db.Add(fix);
    return db.Count();
  }
  // The lines of the last log record.
  std::string Line(int N) const { return log.GetLine(log.Count(), N); }

  std::string FormatDistance(long double angle, bool withUnit) const {
    return navorix::FormatDistance(options, earth, angle, withUnit);
  }
  long double EllipticArcDist(const Vector3& A, const Vector3& B) const {
    return navorix::EllipticArcDist(earth.shape, A, B);
  }
  long double GeodesicDist(const Vector3& A, const Vector3& B) const {
    return navorix::GeodesicDist(earth.shape, A, B);
  }
  long double GeodesicAzimuth(const Vector3& A, const Vector3& B) const {
    return navorix::GeodesicAzimuth(earth.shape, A, B);
  }
  std::string FormatAzimuth(long double angle) const { return navorix::FormatAzimuth(options, angle); }

  FixDatabase db;
  DisplayOptions options;
  EarthModel earth;
  Owner ex{db, options, earth};
  LogList& log = ex.log;
};

// "\xB0" spelled out in expected texts.
inline constexpr const char* Deg = "\xB0";

}  // namespace navorix::test
