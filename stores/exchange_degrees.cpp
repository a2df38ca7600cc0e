// Decimal degrees for the exchange formats.
//
// Notation:
//   d        a shown value in degrees, as the formatter counts it: |angle|
//            times RadToDeg
//   room     the distance in degrees from d to the nearest boundary
//   Margin   what the way back (decimal -> radians -> position -> shown
//            value) may add to the error of the text: a few units in the
//            last place of 180 degrees, about 1e-17, bounded generously
#include "stores/exchange_degrees.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "geometry/numeric.h"
#include "text/decimal.h"
#include "text/display_options.h"
#include "text/fix_record.h"
#include "text/format.h"

namespace navorix {
namespace {

constexpr int MinDecimals = 8;
constexpr int MaxDecimals = 12;
constexpr long double Margin = 1e-12L;
// Values tried on each side of a shown value when the text must give it
// back exactly; the way back is off by a few units in the last place.
constexpr int NeighbourSteps = 16;

// The units per degree of every Lat/Lon format and accuracy; the infix
// format counts as Deg/Min/Sec does.
constexpr std::array<long double, 9> Scales = [] {
  std::array<long double, 9> scales{};
  std::size_t n = 0;
  for (int format = 0; format < 3; ++format) {
    for (int accuracy = 0; accuracy < PrecisionCount; ++accuracy) {
      scales[n++] = static_cast<long double>(AngleScale[format][accuracy]);
    }
  }
  return scales;
}();

long double RoomToBoundary(long double degrees, bool longitude) {
  const long double magnitude = std::fabs(degrees);
  long double room = magnitude;  // the hemisphere letter turns at zero
  if (longitude) room = std::min(room, std::fabs(180.0L - magnitude));
  for (const long double scale : Scales) {
    const long double units = magnitude * scale;
    const long double fraction = units - std::floor(units);
    room = std::min(room, std::fabs(fraction - 0.5L) / scale);
  }
  return room;
}

// FixedText without trailing zeros (nor a "." with nothing after it).
std::string ShortText(long double degrees, int decimals) {
  std::string text = FixedText(degrees, decimals);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

// Decimals far enough from every boundary, or 0 when even MaxDecimals are
// too near to one.
int SafeDecimals(long double degrees, bool longitude) {
  const long double room = RoomToBoundary(degrees, longitude);
  long double halfStep = 0.5e-8L;
  for (int decimals = MinDecimals; decimals <= MaxDecimals; ++decimals, halfStep /= 10.0L) {
    if (halfStep + Margin < room) return decimals;
  }
  return 0;
}

// The shortest plain text (no exponent, which GPX numbers lack) that reads
// back to exactly degrees; none when it would be absurdly long (a value
// within 1e-20 or so of zero).
std::optional<std::string> PlainText(long double degrees) {
  std::array<char, 64> buffer{};
  const auto [end, failure] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), degrees, std::chars_format::fixed);
  if (failure != std::errc()) return std::nullopt;
  return std::string(buffer.data(), end);
}

// Degrees rounded to MaxDecimals as a text, and the value it reads back to.
std::pair<std::string, long double> Rounded(long double degrees) {
  std::string text = ShortText(degrees, MaxDecimals);
  long double value = degrees;
  ReadDecimal(text, value);
  return {std::move(text), value};
}

bool Identical(long double A, long double B) { return A == B && std::signbit(A) == std::signbit(B); }

// Centre and its neighbours, nearest first: centre, one step up, one down...
std::vector<long double> Neighbours(long double centre) {
  std::vector<long double> values{centre};
  long double up = centre;
  long double down = centre;
  for (int i = 0; i < NeighbourSteps; ++i) {
    up = std::nextafter(up, HUGE_VALL);
    down = std::nextafter(down, -HUGE_VALL);
    values.push_back(up);
    values.push_back(down);
  }
  return values;
}

// Texts of the shown values near a boundary: see ExportDegrees.
DegreeTexts ExactTexts(const EarthModel& earth, const Vector3& position, long double latRadians,
                       long double lonRadians) {
  const std::vector<long double> lats = Neighbours(latRadians * RadToDeg);
  const std::vector<long double> lons = Neighbours(lonRadians * RadToDeg);
  // The shown latitude depends on the latitude alone (on z); the longitude
  // on both, a little, through the rounding of x and y.
  for (const long double lat : lats) {
    if (!Identical(PosLat(earth, PositionFromDegrees(earth, lat, lons.front())), latRadians)) continue;
    for (const long double lon : lons) {
      if (!Identical(PosLon(PositionFromDegrees(earth, lat, lon)), lonRadians)) continue;
      std::optional<std::string> latText = PlainText(lat);
      std::optional<std::string> lonText = PlainText(lon);
      if (latText && lonText) return {std::move(*latText), std::move(*lonText)};
    }
  }
  // No value near by gives back the shown values: take the nearest that
  // prints the same.
  FixRecord original;
  original.position = position;
  original.valid = true;
  DisplayOptions options;
  auto printsLike = [&](const FixRecord& fix) {
    for (int format = 0; format < LatLonFormatCount; ++format) {
      options.latLonFormat = static_cast<AngleFormat>(format);
      for (int accuracy = 0; accuracy < PrecisionCount; ++accuracy) {
        const auto at = static_cast<Accuracy>(accuracy);
        if (FormatLatLon(options, earth, fix, at) != FormatLatLon(options, earth, original, at)) {
          return false;
        }
      }
    }
    return true;
  };
  FixRecord candidate = original;
  // A value a hair from zero has no short exact text; rounded, it keeps
  // its sign and prints the same.
  auto [latRounded, latValue] = Rounded(lats.front());
  auto [lonRounded, lonValue] = Rounded(lons.front());
  candidate.position = PositionFromDegrees(earth, latValue, lonValue);
  if (printsLike(candidate)) return {std::move(latRounded), std::move(lonRounded)};
  for (std::size_t sum = 0; sum < lats.size() + lons.size(); ++sum) {
    for (std::size_t i = 0; i <= sum && i < lats.size(); ++i) {
      if (sum - i >= lons.size()) continue;
      std::optional<std::string> latText = PlainText(lats[i]);
      std::optional<std::string> lonText = PlainText(lons[sum - i]);
      if (!latText || !lonText) continue;
      candidate.position = PositionFromDegrees(earth, lats[i], lons[sum - i]);
      if (printsLike(candidate)) return {std::move(*latText), std::move(*lonText)};
    }
  }
  return {std::move(latRounded), std::move(lonRounded)};
}

}  // namespace

Vector3 PositionFromDegrees(const EarthModel& earth, long double latDeg, long double lonDeg) {
  return PosFromLatLon(earth, latDeg * DegToRad, lonDeg * DegToRad);
}

DegreeTexts ExportDegrees(const EarthModel& earth, const Vector3& position) {
  const long double lat = PosLat(earth, position);
  const long double lon = PosLon(position);
  const long double latDeg = lat * RadToDeg;
  const long double lonDeg = lon * RadToDeg;
  const int latDecimals = SafeDecimals(latDeg, false);
  const int lonDecimals = SafeDecimals(lonDeg, true);
  if (latDecimals == 0 || lonDecimals == 0) return ExactTexts(earth, position, lat, lon);
  return {ShortText(latDeg, latDecimals), ShortText(lonDeg, lonDecimals)};
}

}  // namespace navorix
