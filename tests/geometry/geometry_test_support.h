// Shared helpers of the geometry tests: positions in degrees and a fixture
// that restores the program-wide Earth model around every test.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "geometry/earth_model.h"
#include "geometry/error.h"
#include "geometry/numeric.h"
#include "geometry/vector.h"

namespace navorix::testing {

inline long double Deg(long double degrees) { return degrees * DegToRad; }
inline long double ToDeg(long double radians) { return radians * RadToDeg; }

// The stored position of a fix typed at lat/lon degrees, under the model in
// force.
inline TTriV Fix(long double latDeg, long double lonDeg) { return PosFromLatLon(Deg(latDeg), Deg(lonDeg)); }

class EarthModelTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    SetEarthModel(DefaultSpherRadius, DefaultPolarRadius, DefaultEquatRadius);
    EllipticLat = true;
    EllipticArc = false;
    GeoDistance = false;
  }
};

// Runs f and returns the text of the Error it raised, or "" when it raised
// nothing.
inline std::string ErrorText(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

inline ::testing::AssertionResult Near(long double expected, long double actual, long double tol) {
  if (std::fabs(expected - actual) <= tol) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected " << static_cast<double>(expected) << " got "
                                       << static_cast<double>(actual) << " (difference "
                                       << static_cast<double>(actual - expected) << ")";
}

inline ::testing::AssertionResult NearVec(const TTriV& e, const TTriV& a, long double tol) {
  if (std::fabs(e.x - a.x) <= tol && std::fabs(e.y - a.y) <= tol && std::fabs(e.z - a.z) <= tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected (" << static_cast<double>(e.x) << ", "
                                       << static_cast<double>(e.y) << ", " << static_cast<double>(e.z)
                                       << ") got (" << static_cast<double>(a.x) << ", "
                                       << static_cast<double>(a.y) << ", " << static_cast<double>(a.z) << ")";
}

}  // namespace navorix::testing
