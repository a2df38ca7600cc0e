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

class TOwner {
 public:
  TOwner(const TFixDB& DB, const TDisplayOptions& Options, const TEarthModel& Earth)
      : db_(DB), options_(Options), earth_(Earth) {}

  TExecutors Executors() const { return TExecutors(db_, options_, earth_, DistanceChain); }

  void OpDistance(std::uint16_t A, std::uint16_t B) { Keep(Executors().OpDistance(A, B)); }
  void OpDistance(std::uint16_t C) { Keep(Executors().OpDistance(C)); }
  void OpArcFixDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R) {
    Keep(Executors().OpArcFixDistance(A, B, R));
  }
  void OpArcArcDistance(std::uint16_t A, std::uint16_t B, std::uint16_t C, std::uint16_t D) {
    Keep(Executors().OpArcArcDistance(A, B, C, D));
  }
  void OpMidpoint(std::uint16_t A, std::uint16_t B) { Keep(Executors().OpMidpoint(A, B)); }
  void OpAzimuth(std::uint16_t A, std::uint16_t B) { Keep(Executors().OpAzimuth(A, B)); }
  void OpFixAtDistAz(std::uint16_t F, long double Az, long double D) {
    Keep(Executors().OpFixAtDistAz(F, Az, D));
  }
  void OpProjection(std::uint16_t A, std::uint16_t B, std::uint16_t R) {
    Keep(Executors().OpProjection(A, B, R));
  }
  void OpIntersection(std::uint16_t A, std::uint16_t B, std::uint16_t C, std::uint16_t D) {
    Keep(Executors().OpIntersection(A, B, C, D));
  }
  void OpFixesAtDistance(std::uint16_t A, std::uint16_t B, std::uint16_t R, long double D) {
    Keep(Executors().OpFixesAtDistance(A, B, R, D));
  }
  void OpFixAtDistance(std::uint16_t A, std::uint16_t B, long double D) {
    Keep(Executors().OpFixAtDistance(A, B, D));
  }

  bool NextFixEnabled() const { return nextFix_; }
  void SetNextFixEnabled(bool Enabled) {
    if (Enabled != nextFix_) NextFixChanges.push_back(Enabled);
    nextFix_ = Enabled;
  }

  void Keep(const TOpResult& R) {
    ++Sounds;
    Log.Add(SquashBlanks(R.Line1, false), SquashBlanks(R.Line2, false), SquashBlanks(R.Line3, false));
    if (R.Chain) {
      SetNextFixEnabled(true);
      DistanceChain = *R.Chain;
    }
    if (R.Proposal) PendingFix = *R.Proposal;
  }

  FixRecord PendingFix;
  TDistanceChain DistanceChain;
  TLogList Log;
  std::vector<bool> NextFixChanges;  // every change of the button
  int Sounds = 0;                    // done sounds: one per logged result

 private:
  const TFixDB& db_;
  const TDisplayOptions& options_;
  const TEarthModel& earth_;
  bool nextFix_ = false;
};

class OperationsTest : public ::testing::Test {
 protected:
  OperationsTest() {
    // Spherical latitudes keep the expected values exact; tests of the
    // ellipsoid switch it on.
    Earth.EllipticLat = false;
  }

  template <typename E>
  static void Set(E& Option, int Number) {
    Option = static_cast<E>(Number);
  }

  // Appends a fix at LatDeg, LonDeg (degrees) and returns its position.
  std::uint16_t Add(const std::string& Name, long double LatDeg, long double LonDeg) {
    FixRecord fix;
    MakeFix(fix, PosFromLatLon(Earth, LatDeg * DegToRad, LonDeg * DegToRad), Name);
    DB.Add(fix);
    return DB.Count();
  }
  // The lines of the last log record.
  std::string Line(int N) const { return Log.GetLine(Log.Count(), N); }

  std::string FormatDistance(long double Angle, bool WithUnit) const {
    return navorix::FormatDistance(Options, Earth, Angle, WithUnit);
  }
  long double EllipticArcDist(const TTriV& A, const TTriV& B) const {
    return navorix::EllipticArcDist(Earth.Shape, A, B);
  }
  long double GeodesicDist(const TTriV& A, const TTriV& B) const {
    return navorix::GeodesicDist(Earth.Shape, A, B);
  }
  long double GeodesicAzimuth(const TTriV& A, const TTriV& B) const {
    return navorix::GeodesicAzimuth(Earth.Shape, A, B);
  }
  std::string FormatAzimuth(long double Angle) const { return navorix::FormatAzimuth(Options, Angle); }

  TFixDB DB;
  TDisplayOptions Options;
  TEarthModel Earth;
  TOwner Ex{DB, Options, Earth};
  TLogList& Log = Ex.Log;
};

// "\xB0" spelled out in expected texts.
inline constexpr const char* Deg = "\xB0";

}  // namespace navorix::test
