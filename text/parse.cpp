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
#include <exception>
#include <string>

#include "geometry/earth_model.h"
#include "geometry/numeric.h"
#include "text/decimal.h"
#include "text/display_options.h"
#include "text/fix_names.h"
#include "text/text_helpers.h"

namespace navorix {
namespace {

constexpr long double MinutesPerDegree = 60.0L;
constexpr long double SecondsPerDegree = 3600.0L;
constexpr std::size_t CompactFieldWidth = 2;

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

// Minutes and seconds after the degree separator, as a positive number of
// degrees.
bool ParseRest(std::string_view Rest, long double& Degrees) {
  Degrees = 0.0L;
  const std::size_t minuteMark = Rest.find(MinuteMark);
  if (minuteMark != std::string_view::npos) {
    long double minutes = 0.0L;
    if (!ReadSexagesimal(Rest.substr(0, minuteMark), minutes)) return false;
    Degrees = minutes / MinutesPerDegree;
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
  Degrees = CompactField(Rest) / MinutesPerDegree;
  Rest.remove_prefix(CompactFieldWidth);
  if (Rest.empty()) return true;
  if (Rest.size() < CompactFieldWidth || !AllDigits(Rest.substr(0, CompactFieldWidth))) {
    return false;
  }
  Degrees += CompactField(Rest) / SecondsPerDegree;
  Rest.remove_prefix(CompactFieldWidth);
  if (Rest.empty()) return true;
  long double fraction = 0.0L;  // the digits continue as fractions of a second
  if (!ReadDigitFraction(Rest, fraction)) return false;
  Degrees += fraction / SecondsPerDegree;
  return true;
}

// True when a sign or a bare number of this axis means S (latitude) or W
// (longitude) under PlusDir.
bool PlusIsNegative(int Axis) {
  const int plusDir = std::clamp(static_cast<int>(DisplayOptions.PlusDir), 0, PlusDirCount - 1);
  return Axis == 0 ? plusDir >= 2 : plusDir % 2 == 1;
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
    long double rest = 0.0L;
    if (!ReadDecimal(Text.substr(0, separator), degrees)) return false;
    if (!ParseRest(Text.substr(separator + 1), rest)) return false;
    // A sign of the degrees belongs to the whole angle: -29 30' is -29.5.
    degrees = std::signbit(degrees) ? degrees - rest : degrees + rest;
  }
  if (!std::isfinite(degrees)) return false;
  Degrees = degrees;
  return true;
}

bool ParseCoord(std::string_view Text, int Axis, long double& Radians) {
  if (Text.empty() || (Axis != 0 && Axis != 1)) return false;
  const char positive = Axis == 0 ? 'N' : 'E';
  const char negative = Axis == 0 ? 'S' : 'W';
  const bool plusNegative = PlusIsNegative(Axis);
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

bool ParseLatLon(FixRecord& Fix, std::string_view Text) {
  const std::size_t blank = Text.find(' ');
  if (blank == std::string_view::npos) return false;
  long double lat = 0.0L;
  long double lon = 0.0L;
  if (!ParseCoord(Text.substr(0, blank), 0, lat) || !ParseCoord(Text.substr(blank + 1), 1, lon)) {
    return false;
  }
  try {
    // A latitude of 0 South keeps its letter in the sign of z.
    Fix.Position = PosFromLatLon(lat, lon);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

void ParseFixLine(FixRecord& Fix, std::string_view Line) {
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
  Fix.Valid = ParseLatLon(Fix, std::string_view(text).substr(0, second));
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
