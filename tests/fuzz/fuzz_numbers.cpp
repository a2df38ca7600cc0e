// Numbers, angles and coordinates as typed or stored: the decimal reader and
// writer, the DMS, coordinate, distance and azimuth readers.
//
// Properties: nothing read is NaN or infinite; a decimal read back from its
// shortest text is the same value, bit for bit (the sign of a zero
// included); a fixed-point text reads back within half its last digit.
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "text/decimal.h"
#include "text/parse.h"

using namespace navorix;
using navorix::fuzz::Check;

namespace {

bool SameValue(long double a, long double b) { return a == b && std::signbit(a) == std::signbit(b); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Chosen chosen = fuzz::ChooseOptions(data, size);
  const std::string_view text = chosen.text;
  const int decimals = size > 0 ? data[0] % 41 : 0;

  long double value = 0.0L;
  if (ReadDecimal(text, value)) {
    Check(std::isfinite(value), "ReadDecimal gives a finite value", text);
    const std::string shortest = DecimalText(value);
    long double back = 0.0L;
    Check(ReadDecimal(shortest, back) && SameValue(back, value), "DecimalText reads back to the same value",
          text);
    const std::string fixed = FixedText(value, decimals);
    if (ReadDecimal(fixed, back)) {
      const long double half = 0.5L * std::pow(10.0L, -static_cast<long double>(decimals));
      Check(std::fabs(back - value) <= half * (1.0L + 1e-15L) + std::fabs(value) * 1e-18L,
            "FixedText is within half its last digit", text);
    } else {
      fuzz::Violated("FixedText of a finite value reads back", text);
    }
  }
  if (ReadWholeNumber(text, value)) Check(std::isfinite(value), "a whole number is finite", text);
  if (ReadDigitFraction(text, value)) {
    Check(value >= 0.0L && value <= 1.0L, "a digit fraction lies in [0, 1]", text);
  }
  if (ParseDMS(text, value)) Check(std::isfinite(value), "ParseDMS gives a finite angle", text);
  if (ParseDistanceText(text, value)) Check(std::isfinite(value), "a distance is finite", text);
  if (ParseAzimuthText(text, value)) Check(std::isfinite(value), "an azimuth is finite", text);
  for (const Axis axis : {Axis::Latitude, Axis::Longitude}) {
    if (ParseCoord(chosen.options.plusDir, text, axis, value)) {
      Check(std::isfinite(value), "a coordinate is finite", text);
    }
  }
  FixRecord fix;
  if (ParseLatLon(chosen.options.plusDir, chosen.earth, fix, text)) {
    const long double length = TriDot(fix.position, fix.position);
    Check(std::fabs(length - 1.0L) < 1e-15L, "a position is a unit vector", text);
  }
  return 0;
}
