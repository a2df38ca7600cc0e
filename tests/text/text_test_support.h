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
inline FixRecord FixAt(long double latDeg, long double lonDeg, const EarthModel& E = EarthModel{}) {
  FixRecord fix;
  fix.position = PosFromLatLon(E, latDeg * DegToRad, lonDeg * DegToRad);
  fix.valid = true;
  return fix;
}

// Every test owns its display options and Earth model (the initial options
// and the default model); the members below call the text routines with
// them, so that a test reads like the user's view of one setting.
class TextTest : public ::testing::Test {
 protected:
  DisplayOptions options;
  EarthModel earth;

  // Sets an option from its number, as the settings file gives it; numbers
  // outside the enumeration are let through to test the clamping.
  template <typename E>
  static void Set(E& option, int number) {
    option = static_cast<E>(number);
  }

  FixRecord FixAt(long double latDeg, long double lonDeg) const {
    return testing::FixAt(latDeg, lonDeg, earth);
  }
  static std::string FormatAngle(int format, int accuracy, long double angle) {
    return navorix::FormatAngle(static_cast<AngleFormat>(format), static_cast<Accuracy>(accuracy), angle);
  }
  std::string FormatLatLon(const FixRecord& fix, int accuracy) const {
    return navorix::FormatLatLon(options, earth, fix, static_cast<Accuracy>(accuracy));
  }
  std::string FormatAzimuth(long double angle) const { return navorix::FormatAzimuth(options, angle); }
  std::string FormatDistance(long double angle, bool withUnit) const {
    return navorix::FormatDistance(options, earth, angle, withUnit);
  }
  std::string FixText(const FixRecord& fix) const { return navorix::FixText(options, earth, fix); }
  std::string FixFileLine(const FixRecord& fix) const { return navorix::FixFileLine(options, earth, fix); }
  bool ParseCoord(std::string_view text, int axis, long double& radians) const {
    return navorix::ParseCoord(options.plusDir, text, static_cast<Axis>(axis), radians);
  }
  bool ParseLatLon(FixRecord& fix, std::string_view text) const {
    return navorix::ParseLatLon(options.plusDir, earth, fix, text);
  }
  void ParseFixLine(FixRecord& fix, std::string_view line) const {
    navorix::ParseFixLine(options.plusDir, earth, fix, line);
  }
};

inline long double Dms(long double deg, long double min, long double sec) {
  return deg + min / 60.0L + sec / 3600.0L;
}

// |a - b| <= tol in 80-bit arithmetic (EXPECT_NEAR would compare doubles).
inline ::testing::AssertionResult NearLD(const char* ae, const char* be, const char*, long double a,
                                         long double b, long double tol) {
  if (std::fabs(a - b) <= tol) return ::testing::AssertionSuccess();
  std::ostringstream text;
  text << std::setprecision(21) << ae << " = " << a << ", " << be << " = " << b << ", difference " << (a - b);
  return ::testing::AssertionFailure() << text.str();
}

}  // namespace navorix::testing

#define EXPECT_NEAR_LD(a, b, tol) EXPECT_PRED_FORMAT3(::navorix::testing::NearLD, a, b, tol)
