// Shared set-up of the coordinate-text tests: options, Earth model and fixes
// owned by each test.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>

#include "geometry/earth_model.h"
#include "geometry/numeric.h"
#include "text/display_options.h"
#include "text/fix_record.h"
#include "text/format.h"
#include "text/parse.h"

namespace navorix::testing {

// A valid fix at the given latitude and longitude in degrees under model E.
inline FixRecord FixAt(long double LatDeg, long double LonDeg, const TEarthModel& E = TEarthModel{}) {
  FixRecord fix;
  fix.Position = PosFromLatLon(E, LatDeg * DegToRad, LonDeg * DegToRad);
  fix.Valid = true;
  return fix;
}

// Every test owns its display options and Earth model (the initial options
// and the default model); the members below call the text routines with
// them, so that a test reads like the user's view of one setting.
class TextTest : public ::testing::Test {
 protected:
  TDisplayOptions Options;
  TEarthModel Earth;

  // Sets an option from its number, as the settings file gives it; numbers
  // outside the enumeration are let through to test the clamping.
  template <typename E>
  static void Set(E& Option, int Number) {
    Option = static_cast<E>(Number);
  }

  FixRecord FixAt(long double LatDeg, long double LonDeg) const {
    return testing::FixAt(LatDeg, LonDeg, Earth);
  }
  static std::string FormatAngle(int Format, int Accuracy, long double Angle) {
    return navorix::FormatAngle(static_cast<TAngleFormat>(Format), static_cast<TAccuracy>(Accuracy),
                                Angle);
  }
  std::string FormatLatLon(const FixRecord& Fix, int Accuracy) const {
    return navorix::FormatLatLon(Options, Earth, Fix, static_cast<TAccuracy>(Accuracy));
  }
  std::string FormatAzimuth(long double Angle) const { return navorix::FormatAzimuth(Options, Angle); }
  std::string FormatDistance(long double Angle, bool WithUnit) const {
    return navorix::FormatDistance(Options, Earth, Angle, WithUnit);
  }
  std::string FixText(const FixRecord& Fix) const { return navorix::FixText(Options, Earth, Fix); }
  std::string FixFileLine(const FixRecord& Fix) const {
    return navorix::FixFileLine(Options, Earth, Fix);
  }
  bool ParseCoord(std::string_view Text, int Axis, long double& Radians) const {
    return navorix::ParseCoord(Options.PlusDir, Text, static_cast<TAxis>(Axis), Radians);
  }
  bool ParseLatLon(FixRecord& Fix, std::string_view Text) const {
    return navorix::ParseLatLon(Options.PlusDir, Earth, Fix, Text);
  }
  void ParseFixLine(FixRecord& Fix, std::string_view Line) const {
    navorix::ParseFixLine(Options.PlusDir, Earth, Fix, Line);
  }
};

inline long double Dms(long double Deg, long double Min, long double Sec) {
  return Deg + Min / 60.0L + Sec / 3600.0L;
}

// |a - b| <= tol in 80-bit arithmetic (EXPECT_NEAR would compare doubles).
inline ::testing::AssertionResult NearLD(const char* ae, const char* be, const char*, long double a,
                                         long double b, long double tol) {
  if (std::fabs(a - b) <= tol) return ::testing::AssertionSuccess();
  std::ostringstream text;
  text << std::setprecision(21) << ae << " = " << a << ", " << be << " = " << b
       << ", difference " << (a - b);
  return ::testing::AssertionFailure() << text.str();
}

}  // namespace navorix::testing

#define EXPECT_NEAR_LD(a, b, tol) EXPECT_PRED_FORMAT3(::navorix::testing::NearLD, a, b, tol)
