// Reading typed or stored coordinate, distance and azimuth text.
//
// Notation:
//   Deg, Min, Sec  the fields of a DMS text; Rest the text after the degree
//                  separator
//   marked form    minutes end with MinuteMark, seconds with SecondMark
//   compact form   two digits of minutes, two of seconds, then digits of
//                  decimal fractions of a second ("29\xB0" "331032")
//   P, Q           positive and negative hemisphere letter of the axis
#include "text/parse.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <string>

#include "geometry/numeric.h"
#include "text/decimal.h"
#include "text/fix_names.h"
#include "text/text_helpers.h"

namespace navorix {
namespace {

constexpr long double MinutesPerDegree = 60.0L;
constexpr long double SecondsPerDegree = 3600.0L;
constexpr std::size_t CompactFieldWidth = 2;
constexpr std::size_t MaxExactDigits = 19;

bool AllDigits(std::string_view Text) {
  return !Text.empty() && std::all_of(Text.begin(), Text.end(), IsDigit);
}

// A marked minute or second field: a decimal number in [0, 60).
bool ReadSexagesimal(std::string_view Text, long double& Value) {
  return ReadDecimal(Text, Value) && !std::signbit(Value) && Value < 60.0L;
}

// A compact field: exactly two digits (not range-checked: "29\xB0" "75" is 30.25).
long double CompactField(std::string_view Text) {
  return static_cast<long double>((Text[0] - '0') * 10 + (Text[1] - '0'));
}

// 10^N for N <= 19, exactly (5^19 < 2^64, so every power fits the mantissa).
long double PowerOfTen(std::size_t N) {
  long double p = 1.0L;
  for (std::size_t i = 0; i < N && i < MaxExactDigits; ++i) p *= 10.0L;
  return p;
}

// Adds the decimal fraction of a second written by the digits Text (at least
// one) to Degrees: the whole number F of n digits contributes
// F / (10^n 3600), divided once. Longer digit strings than any the program
// writes are read as a rounded fraction first.
bool AddSecondFraction(std::string_view Text, long double& Degrees) {
  if (!AllDigits(Text)) return false;
  if (Text.size() > MaxExactDigits) {
    long double fraction = 0.0L;
    if (!ReadDigitFraction(Text, fraction)) return false;
    Degrees += fraction / SecondsPerDegree;
    return true;
  }
  std::uint64_t whole = 0;
  for (const char c : Text) whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
  Degrees += static_cast<long double>(whole) / (PowerOfTen(Text.size()) * SecondsPerDegree);
  return true;
}

// Adds the minutes and seconds after the degree separator to Degrees, the
// magnitude of the angle, one field at a time: minutes / 60, then seconds /
// 3600, then the fraction of a second. Each addition rounds, so the order is
// part of the result's last bit.
bool AddRest(std::string_view Rest, long double& Degrees) {
  const std::size_t minuteMark = Rest.find(MinuteMark);
  if (minuteMark != std::string_view::npos) {
    long double minutes = 0.0L;
    if (!ReadSexagesimal(Rest.substr(0, minuteMark), minutes)) return false;
    Degrees += minutes / MinutesPerDegree;
    const std::string_view after = Rest.substr(minuteMark + 1);
    if (after.empty()) return true;
    const std::size_t secondMark = after.find(SecondMark);
    if (secondMark != after.size() - 1) return false;  // missing, or text after it
    long double seconds = 0.0L;
    if (!ReadSexagesimal(after.substr(0, secondMark), seconds)) return false;
    Degrees += seconds / SecondsPerDegree;
    return true;
  }
  if (Rest.size() < CompactFieldWidth || !AllDigits(Rest.substr(0, CompactFieldWidth))) {
    return false;
  }
  Degrees += CompactField(Rest) / MinutesPerDegree;
  Rest.remove_prefix(CompactFieldWidth);
  if (Rest.empty()) return true;
  if (Rest.size() < CompactFieldWidth || !AllDigits(Rest.substr(0, CompactFieldWidth))) {
    return false;
  }
  Degrees += CompactField(Rest) / SecondsPerDegree;
  Rest.remove_prefix(CompactFieldWidth);
  if (Rest.empty()) return true;
  // The digits continue as decimal fractions of a second.
  return AddSecondFraction(Rest, Degrees);
}

// True when a sign or a bare number of this axis means S (latitude) or W
// (longitude) under PlusDir.
bool PlusIsNegative(TPlusDir PlusDir, TAxis Axis) {
  const int plusDir = std::clamp(Index(PlusDir), 0, PlusDirCount - 1);
  return Axis == TAxis::Latitude ? plusDir >= 2 : plusDir % 2 == 1;
}

}  // namespace

bool ParseDMS(std::string_view Text, long double& Degrees) {
  if (Text.empty()) return false;
  std::size_t separator = Text.find(DegreeSign);
  if (separator == std::string_view::npos) separator = Text.find('D');
  if (separator == Text.size() - 1) {
    Text.remove_suffix(1);  // "29\xB0" reads as 29
    separator = std::string_view::npos;
  }
  long double degrees = 0.0L;
  if (separator == std::string_view::npos) {
    if (!ReadDecimal(Text, degrees)) return false;
  } else {
    if (!ReadDecimal(Text.substr(0, separator), degrees)) return false;
    // A sign of the degrees belongs to the whole angle: -29 30' is -29.5.
    const bool negative = std::signbit(degrees);
    long double magnitude = std::fabs(degrees);
    if (!AddRest(Text.substr(separator + 1), magnitude)) return false;
    degrees = negative ? -magnitude : magnitude;
  }
  if (!std::isfinite(degrees)) return false;
  Degrees = degrees;
  return true;
}

bool ParseCoord(TPlusDir PlusDir, std::string_view Text, TAxis Axis, long double& Radians) {
  if (Text.empty()) return false;
  const bool latitude = Axis == TAxis::Latitude;
  const char positive = latitude ? 'N' : 'E';
  const char negative = latitude ? 'S' : 'W';
  const bool plusNegative = PlusIsNegative(PlusDir, Axis);
  std::string text(Text);
  bool south = plusNegative;  // a bare number
  if (text.front() == '+' || text.front() == '-') {
    south = (text.front() == '-') != plusNegative;
    text.erase(0, 1);
  } else if (text.back() == positive || text.back() == negative) {
    south = text.back() == negative;
    text.pop_back();
  } else {
    std::size_t letter = text.find(positive);
    if (letter == std::string::npos) letter = text.find(negative);
    if (letter != std::string::npos) {
      south = text[letter] == negative;
      text[letter] = DegreeSign;  // infix form: "29N331032" is "29\xB0" "331032"
    }
  }
  long double degrees = 0.0L;
  if (!ParseDMS(text, degrees)) return false;
  const long double radians = degrees * DegToRad;
  Radians = south ? -radians : radians;
  return true;
}

bool ParseLatLon(TPlusDir PlusDir, const TEarthModel& E, FixRecord& Fix, std::string_view Text) {
  const std::size_t blank = Text.find(' ');
  if (blank == std::string_view::npos) return false;
  long double lat = 0.0L;
  long double lon = 0.0L;
  if (!ParseCoord(PlusDir, Text.substr(0, blank), TAxis::Latitude, lat) ||
      !ParseCoord(PlusDir, Text.substr(blank + 1), TAxis::Longitude, lon)) {
    return false;
  }
  try {
    // A latitude of 0 South keeps its letter in the sign of z.
    Fix.Position = PosFromLatLon(E, lat, lon);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

void ParseFixLine(TPlusDir PlusDir, const TEarthModel& E, FixRecord& Fix, std::string_view Line) {
  Fix.Valid = false;
  const std::string text = SquashBlanks(Line, true);
  const std::size_t first = text.find(' ');
  if (first == std::string::npos) return;
  const std::size_t second = text.find(' ', first + 1);
  if (second == std::string::npos) return;
  const std::size_t third = text.find(' ', second + 1);
  std::string name = text.substr(second + 1, third == std::string::npos ? std::string::npos
                                                                         : third - second - 1);
  FitFixName(name);
  // A name that the fix input dialog would refuse (a control character, a
  // letter outside A..Z), or would change (control characters left at the
  // end by the cut to 16), could not be typed again or written back the same.
  std::string checked = name;
  if (!IsValidFixName(checked) || checked != name) return;
  Fix.Name = name;
  Fix.Valid = ParseLatLon(PlusDir, E, Fix, std::string_view(text).substr(0, second));
}

bool ParseDistanceText(std::string_view Text, long double& Value) {
  return ReadDecimal(Text, Value);
}

bool ParseAzimuthText(std::string_view Text, long double& Degrees) {
  if (Text.empty()) return false;
  bool negative = false;
  if (Text.front() == '+' || Text.front() == '-') {
    negative = Text.front() == '-';
    Text.remove_prefix(1);
  }
  long double degrees = 0.0L;
  if (!ParseDMS(Text, degrees)) return false;
  Degrees = negative ? -degrees : degrees;
  return true;
}

}  // namespace navorix
