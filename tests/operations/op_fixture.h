// A fix database, a log and a recording sink around one TExecutors, with the
// options reset for every test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/earth_model.h"
#include "geometry/numeric.h"
#include "operations/executors.h"
#include "stores/fix_db.h"
#include "stores/log_view.h"
#include "stores/win_log_db.h"
#include "text/display_options.h"
#include "text/fix_names.h"

namespace navorix::test {

// A log display that shows nothing.
struct TQuietLogView : TLogView {
  void ShowLogLines(const std::string&, const std::string&, const std::string&) override {}
  void ShowLogNumber(const std::string&) override {}
  void EnableLogButtons(bool, bool) override {}
  void SetNextFixEnabled(bool) override {}
  void PlayDoneSound() override { ++Sounds; }
  void FocusFixList() override {}
  int Sounds = 0;
};

// Records the results through the window-bound log, as the main window does.
struct TRecordingSink : TResultSink {
  explicit TRecordingSink(TWinLogDB& L) : Log(L) {}
  void LogResult(std::string_view L1, std::string_view L2, std::string_view L3) override {
    Log.LogResult(L1, L2, L3);
  }
  void NextFixChanged(bool Enabled) override { NextFix.push_back(Enabled); }
  TWinLogDB& Log;
  std::vector<bool> NextFix;  // every change of the button
};

class OperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DisplayOptions = TDisplayOptions{};
    // Spherical latitudes keep the expected values exact; tests of the
    // ellipsoid switch it on.
    EllipticLat = false;
    EllipticArc = false;
    GeoDistance = false;
    SetEarthModel(DefaultSpherRadius, DefaultPolarRadius, DefaultEquatRadius);
  }
  void TearDown() override {
    DisplayOptions = TDisplayOptions{};
    EllipticLat = true;
  }

  // Appends a fix at LatDeg, LonDeg (degrees) and returns its position.
  std::uint16_t Add(const std::string& Name, long double LatDeg, long double LonDeg) {
    FixRecord fix;
    MakeFix(fix, PosFromLatLon(LatDeg * DegToRad, LonDeg * DegToRad), Name);
    DB.Add(fix);
    return DB.Count();
  }
  // The lines of the last log record.
  std::string Line(int N) const { return Log.GetLine(Log.Count(), N); }

  TFixDB DB;
  TQuietLogView View;
  TWinLogDB Log{View};
  TRecordingSink Sink{Log};
  TExecutors Ex{DB, Sink};
};

// "\xB0" spelled out in expected texts.
inline constexpr const char* Deg = "\xB0";

}  // namespace navorix::test
