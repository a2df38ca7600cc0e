// Shared helpers of the geometry tests: Earth models and positions in
// degrees.
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

// The built-in model with elliptic latitude on, and the same with latitudes
// taken on the sphere.
inline EarthModel Elliptic() { return EarthModel{}; }
inline EarthModel Spherical() {
  EarthModel model;
  model.ellipticLat = false;
  return model;
}

// The stored position of a fix typed at lat/lon degrees under model.
inline Vector3 Fix(long double latDeg, long double lonDeg, const EarthModel& model = EarthModel{}) {
  return PosFromLatLon(model, Deg(latDeg), Deg(lonDeg));
}

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

// Distance of two values in units of the last place of the larger
// magnitude.
inline long double Ulps(long double a, long double b) {
  const long double scale = std::fmax(std::fabs(a), std::fabs(b));
  if (scale == 0.0L) return 0.0L;
  return std::fabs(a - b) / (std::nextafter(scale, HUGE_VALL) - scale);
}

inline ::testing::AssertionResult Near(long double expected, long double actual, long double tol) {
  if (std::fabs(expected - actual) <= tol) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "expected " << static_cast<double>(expected) << " got " << static_cast<double>(actual)
         << " (difference " << static_cast<double>(actual - expected) << ")";
}

inline ::testing::AssertionResult NearVec(const Vector3& e, const Vector3& a, long double tol) {
  if (std::fabs(e.x - a.x) <= tol && std::fabs(e.y - a.y) <= tol && std::fabs(e.z - a.z) <= tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "expected (" << static_cast<double>(e.x) << ", " << static_cast<double>(e.y) << ", "
         << static_cast<double>(e.z) << ") got (" << static_cast<double>(a.x) << ", "
         << static_cast<double>(a.y) << ", " << static_cast<double>(a.z) << ")";
}

}  // namespace navorix::testing
