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

// The whole number written by the Count digits of Text from From on; false
// when one of them is not a digit (or Text is too short).
bool DigitsAt(std::string_view Text, std::size_t From, std::size_t Count, std::uint64_t& Value) {
  if (From + Count > Text.size()) return false;
  std::uint64_t value = 0;
  for (std::size_t i = From; i < From + Count; ++i) {
    if (!IsDigit(Text[i])) return false;
    value = value * 10 + static_cast<std::uint64_t>(Text[i] - '0');
  }
  Value = value;
  return true;
}

// Lengths of the High-accuracy texts after the whole degrees: ".dddddd\xB0",
// "\xB0MM.mmmm'", "\xB0MM'SS.ss\"" and (the infix letter made a degree sign)
// "\xB0MMSSss".
constexpr std::size_t WrittenDegFrac = 8;
constexpr std::size_t WrittenDegMinFrac = 9;
constexpr std::size_t WrittenDegMinSec = 10;
constexpr std::size_t WrittenInfix = 7;
constexpr std::size_t MaxWholeDegreeDigits = 3;

// The texts that fix files hold: an unsigned angle as FormatAngle writes it
// at High accuracy, with up to three digits of whole degrees. They are read
// in one pass, with the same roundings in the same order as the general
// reader below gives them (the field values are exact or one correctly
// rounded quotient, as ReadDecimal gives them, then added one at a time), so
// the result is the same to the last bit; the general reader, which
// searches the marks and reads each field on its own, costs three times as
// much. False for every other text, which the general reader then reads.
bool ReadWrittenDMS(std::string_view Text, long double& Degrees) {
  std::size_t i = 0;
  std::uint64_t whole = 0;
  while (i < Text.size() && i < MaxWholeDegreeDigits && IsDigit(Text[i])) {
    whole = whole * 10 + static_cast<std::uint64_t>(Text[i] - '0');
    ++i;
  }
  if (i == 0) return false;
  const std::string_view rest = Text.substr(i);
  const auto degrees = static_cast<long double>(whole);
  std::uint64_t a = 0;
  std::uint64_t b = 0;
  std::uint64_t c = 0;
  if (rest.size() == WrittenDegFrac) {
    // "D.dddddd" is one decimal number: all its digits over 10^6.
    if (rest[0] != '.' || rest[7] != DegreeSign || !DigitsAt(rest, 1, 6, a)) return false;
    Degrees = static_cast<long double>(whole * 1000000 + a) / 1e6L;
    return true;
  }
  if (rest.empty() || rest[0] != DegreeSign) return false;
  if (rest.size() == WrittenDegMinFrac) {
    // Minutes "MM.mmmm" below 60.
    if (rest[3] != '.' || rest[8] != MinuteMark || !DigitsAt(rest, 1, 2, a) ||
        !DigitsAt(rest, 4, 4, b) || a * 10000 + b >= 600000) {
      return false;
    }
    Degrees = degrees + static_cast<long double>(a * 10000 + b) / 1e4L / MinutesPerDegree;
    return true;
  }
  if (rest.size() == WrittenDegMinSec) {
    // Minutes "MM" and seconds "SS.ss", each below 60.
    if (rest[3] != MinuteMark || rest[6] != '.' || rest[9] != SecondMark ||
        !DigitsAt(rest, 1, 2, a) || !DigitsAt(rest, 4, 2, b) || !DigitsAt(rest, 7, 2, c) ||
        a >= 60 || b >= 60) {
      return false;
    }
    const long double seconds = static_cast<long double>(b * 100 + c) / 1e2L;
    Degrees = (degrees + static_cast<long double>(a) / MinutesPerDegree) + seconds / SecondsPerDegree;
    return true;
  }
  if (rest.size() == WrittenInfix) {
    // Compact fields, not range-checked, and hundredths of a second.
    if (!DigitsAt(rest, 1, 2, a) || !DigitsAt(rest, 3, 2, b) || !DigitsAt(rest, 5, 2, c)) {
      return false;
    }
    Degrees = ((degrees + static_cast<long double>(a) / MinutesPerDegree) +
               static_cast<long double>(b) / SecondsPerDegree) +
              static_cast<long double>(c) / (1e2L * SecondsPerDegree);
    return true;
  }
  return false;
}

// True when a sign or a bare number of this axis means S (latitude) or W
// (longitude) under PlusDir.
bool PlusIsNegative(TPlusDir PlusDir, TAxis Axis) {
  const int plusDir = std::clamp(Index(PlusDir), 0, PlusDirCount - 1);
  return Axis == TAxis::Latitude ? plusDir >= 2 : plusDir % 2 == 1;
}

// Word with its small letters made capitals (ToCapital): Word itself when
// it has none, otherwise a copy made in Storage.
std::string_view CapitalWord(std::string_view Word, std::string& Storage) {
  if (std::all_of(Word.begin(), Word.end(), [](char c) { return ToCapital(c) == c; })) return Word;
  Storage = Word;
  for (char& c : Storage) c = ToCapital(c);
  return Storage;
}

// ParseLatLon with the two coordinate texts apart.
bool ParseLatLonTexts(TPlusDir PlusDir, const TEarthModel& E, FixRecord& Fix, std::string_view Lat,
                      std::string_view Lon) {
  long double lat = 0.0L;
  long double lon = 0.0L;
  if (!ParseCoord(PlusDir, Lat, TAxis::Latitude, lat) ||
      !ParseCoord(PlusDir, Lon, TAxis::Longitude, lon)) {
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

}  // namespace

bool ParseDMS(std::string_view Text, long double& Degrees) {
  if (ReadWrittenDMS(Text, Degrees)) return true;
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
  bool south = plusNegative;  // a bare number
  std::string infix;          // only the infix form needs a changed copy
  if (Text.front() == '+' || Text.front() == '-') {
    south = (Text.front() == '-') != plusNegative;
    Text.remove_prefix(1);
  } else if (Text.back() == positive || Text.back() == negative) {
    south = Text.back() == negative;
    Text.remove_suffix(1);
  } else {
    std::size_t letter = Text.find(positive);
    if (letter == std::string_view::npos) letter = Text.find(negative);
    if (letter != std::string_view::npos) {
      south = Text[letter] == negative;
      infix = Text;
      infix[letter] = DegreeSign;  // infix form: "29N331032" is "29\xB0" "331032"
      Text = infix;
    }
  }
  long double degrees = 0.0L;
  if (!ParseDMS(Text, degrees)) return false;
  const long double radians = degrees * DegToRad;
  Radians = south ? -radians : radians;
  return true;
}

bool ParseLatLon(TPlusDir PlusDir, const TEarthModel& E, FixRecord& Fix, std::string_view Text) {
  const std::size_t blank = Text.find(' ');
  if (blank == std::string_view::npos) return false;
  return ParseLatLonTexts(PlusDir, E, Fix, Text.substr(0, blank), Text.substr(blank + 1));
}

void ParseFixLine(TPlusDir PlusDir, const TEarthModel& E, FixRecord& Fix, std::string_view Line) {
  Fix.Valid = false;
  // The first three words of the trimmed line, split at runs of blanks as
  // SquashBlanks would leave them, without copying the line.
  std::string_view rest = TrimmedView(Line);
  std::string_view words[3];
  for (std::string_view& word : words) {
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    if (rest.empty()) return;
    const std::size_t end = std::min(rest.find(' '), rest.size());
    word = rest.substr(0, end);
    rest.remove_prefix(end);
  }
  std::string name(words[2]);
  for (char& c : name) c = ToCapital(c);
  FitFixName(name);
  Fix.Name = name;
  std::string latStorage;
  std::string lonStorage;
  Fix.Valid = ParseLatLonTexts(PlusDir, E, Fix, CapitalWord(words[0], latStorage),
                               CapitalWord(words[1], lonStorage));
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
