// Shared set-up of the coordinate-text tests: every test starts from the
// initial display options and the default Earth model, and leaves them so.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <sstream>

#include "geometry/earth_model.h"
#include "geometry/numeric.h"
#include "text/display_options.h"
#include "text/fix_record.h"

namespace navorix::testing {

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    DisplayOptions = TDisplayOptions{};
    EllipticLat = true;
    SetEarthModel(DefaultSpherRadius, DefaultPolarRadius, DefaultEquatRadius);
  }
};

// A valid fix at the given latitude and longitude in degrees.
inline FixRecord FixAt(long double LatDeg, long double LonDeg) {
  FixRecord fix;
  fix.Position = PosFromLatLon(LatDeg * DegToRad, LonDeg * DegToRad);
  fix.Valid = true;
  return fix;
}

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
