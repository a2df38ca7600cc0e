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
#include <array>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
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

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// A marked minute or second field: a decimal number in [0, 60).
bool ReadSexagesimal(std::string_view text, long double& value) {
  return ReadDecimal(text, value) && !std::signbit(value) && value < 60.0L;
}

// A compact field: exactly two digits (not range-checked: "29\xB0" "75" is 30.25).
long double CompactField(std::string_view text) {
  return static_cast<long double>((text[0] - '0') * 10 + (text[1] - '0'));
}

// Adds the decimal fraction of a second written by the digits text (at least
// one) to degrees: the whole number F of n digits contributes
// F / (10^n 3600), divided once. Longer digit strings than any the program
// writes are read as a rounded fraction first.
bool AddSecondFraction(std::string_view text, long double& degrees) {
  if (!AllDigits(text)) return false;
  if (text.size() > static_cast<std::size_t>(MaxExactDigits)) {
    long double fraction = 0.0L;
    if (!ReadDigitFraction(text, fraction)) return false;
    degrees += fraction / SecondsPerDegree;
    return true;
  }
  std::uint64_t whole = 0;
  for (const char c : text) whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
  degrees += static_cast<long double>(whole) / (PowersOfTen[text.size()] * SecondsPerDegree);
  return true;
}

// Adds the minutes and seconds after the degree separator to degrees, the
// magnitude of the angle, one field at a time: minutes / 60, then seconds /
// 3600, then the fraction of a second. Each addition rounds, so the order is
// part of the result's last bit.
bool AddRest(std::string_view rest, long double& degrees) {
  const std::size_t minuteMark = rest.find(MinuteMark);
  if (minuteMark != std::string_view::npos) {
    long double minutes = 0.0L;
    if (!ReadSexagesimal(rest.substr(0, minuteMark), minutes)) return false;
    degrees += minutes / MinutesPerDegree;
    const std::string_view after = rest.substr(minuteMark + 1);
    if (after.empty()) return true;
    const std::size_t secondMark = after.find(SecondMark);
    if (secondMark != after.size() - 1) return false;  // missing, or text after it
    long double seconds = 0.0L;
    if (!ReadSexagesimal(after.substr(0, secondMark), seconds)) return false;
    degrees += seconds / SecondsPerDegree;
    return true;
  }
  if (rest.size() < CompactFieldWidth || !AllDigits(rest.substr(0, CompactFieldWidth))) {
    return false;
  }
  degrees += CompactField(rest) / MinutesPerDegree;
  rest.remove_prefix(CompactFieldWidth);
  if (rest.empty()) return true;
  if (rest.size() < CompactFieldWidth || !AllDigits(rest.substr(0, CompactFieldWidth))) {
    return false;
  }
  degrees += CompactField(rest) / SecondsPerDegree;
  rest.remove_prefix(CompactFieldWidth);
  if (rest.empty()) return true;
  // The digits continue as decimal fractions of a second.
  return AddSecondFraction(rest, degrees);
}

// The whole number written by the count digits of text from from on; false
// when one of them is not a digit (or text is too short).
bool DigitsAt(std::string_view text, std::size_t from, std::size_t count, std::uint64_t& result) {
  if (from + count > text.size()) return false;
  std::uint64_t value = 0;
  for (std::size_t i = from; i < from + count; ++i) {
    if (!IsDigit(text[i])) return false;
    value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  result = value;
  return true;
}

// Lengths of the High-accuracy texts after the whole degrees: ".dddddd\xB0",
// "\xB0MM.mmmm'", "\xB0MM'SS.ss\"" and "\xB0MMSSss" (the infix form, its
// letter made a degree sign).
constexpr std::size_t WrittenDegFrac = 8;
constexpr std::size_t WrittenDegMinFrac = 9;
constexpr std::size_t WrittenDegMinSec = 10;
constexpr std::size_t WrittenInfix = 7;
constexpr std::size_t MaxWholeDegreeDigits = 3;
constexpr long double NotWritten = std::numeric_limits<long double>::quiet_NaN();

// n / Divisor for the two-digit fields n = 0..99, each the correctly rounded
// quotient, as the division of the two exact operands gives it (the tests
// compare them with the division): a table read instead of a division,
// which waits for the divider.
template <int Divisor>
constexpr std::array<long double, 100> TwoDigitParts = [] {
  std::array<long double, 100> parts{};
  for (std::size_t n = 0; n < parts.size(); ++n) parts[n] = static_cast<long double>(n) / Divisor;
  return parts;
}();
// The seconds "SS.ss" of Deg/Min/Sec as degrees, n = 100 SS + ss: n / 100,
// then / 3600, two correctly rounded quotients, as the general reader
// divides them.
constexpr std::array<long double, 6000> SecondParts = [] {
  std::array<long double, 6000> parts{};
  for (std::size_t n = 0; n < parts.size(); ++n) parts[n] = static_cast<long double>(n) / 1e2L / 3600.0L;
  return parts;
}();

// The texts that fix files hold: an unsigned angle as FormatAngle writes it
// at High accuracy, with up to three digits of whole degrees, and separator
// where the degree sign stands (the infix letter may stand in its place).
// They are read in one pass, with the same roundings in the same order as
// the general reader below gives them (the field values are exact or one
// correctly rounded quotient, as ReadDecimal gives them, then added one at a
// time), so the result is the same to the last bit; the general reader,
// which searches the marks and reads each field on its own, costs three
// times as much. NotWritten (a NaN) for every other text, which the general
// reader then reads. The value is returned, not stored, because every 80-bit
// value that goes through memory costs more than an addition.
long double ReadWrittenAngle(std::string_view text, char separator) {
  if (text.empty()) return NotWritten;
  // The last character tells the form, and with it the length after the
  // whole degrees.
  std::size_t tail = 0;
  switch (text.back()) {
    case DegreeSign:
      tail = WrittenDegFrac;
      break;
    case MinuteMark:
      tail = WrittenDegMinFrac;
      break;
    case SecondMark:
      tail = WrittenDegMinSec;
      break;
    default:
      tail = WrittenInfix;
      break;
  }
  if (text.size() <= tail || text.size() > tail + MaxWholeDegreeDigits) return NotWritten;
  std::uint64_t whole = 0;
  if (!DigitsAt(text, 0, text.size() - tail, whole)) return NotWritten;
  const std::string_view rest = text.substr(text.size() - tail);
  const auto degrees = static_cast<long double>(whole);
  std::uint64_t a = 0;
  std::uint64_t b = 0;
  std::uint64_t c = 0;
  switch (tail) {
    case WrittenDegFrac:
      // "D.dddddd" is one decimal number: all its digits over 10^6.
      if (rest[0] != '.' || !DigitsAt(rest, 1, 6, a)) return NotWritten;
      return static_cast<long double>(whole * 1000000 + a) / 1e6L;
    case WrittenDegMinFrac:
      // Minutes "MM.mmmm" below 60.
      if (rest[0] != separator || rest[3] != '.' || !DigitsAt(rest, 1, 2, a) || !DigitsAt(rest, 4, 4, b) ||
          a >= 60) {
        return NotWritten;
      }
      return degrees + static_cast<long double>(a * 10000 + b) / 1e4L / MinutesPerDegree;
    case WrittenDegMinSec:
      // Minutes "MM" and seconds "SS.ss", each below 60.
      if (rest[0] != separator || rest[3] != MinuteMark || rest[6] != '.' || !DigitsAt(rest, 1, 2, a) ||
          !DigitsAt(rest, 4, 2, b) || !DigitsAt(rest, 7, 2, c) || a >= 60 || b >= 60) {
        return NotWritten;
      }
      return (degrees + TwoDigitParts<60>[a]) + SecondParts[b * 100 + c];
    default:
      // Compact fields, not range-checked, and hundredths of a second.
      if (rest[0] != separator || !DigitsAt(rest, 1, 6, a)) return NotWritten;
      return ((degrees + TwoDigitParts<60>[a / 10000]) + TwoDigitParts<3600>[a / 100 % 100]) +
             TwoDigitParts<360000>[a % 100];
  }
}

// ParseCoord of a written coordinate: a written angle followed by its
// hemisphere letter, or the infix form with the letter in place of the
// degree sign. Under any PlusDir, since the letter decides; NotWritten for
// every other text.
long double ReadWrittenCoordinate(std::string_view text, Axis axis) {
  const bool latitude = axis == Axis::Latitude;
  const char positive = latitude ? 'N' : 'E';
  const char negative = latitude ? 'S' : 'W';
  if (text.empty()) return NotWritten;
  char letter = text.back();
  long double degrees = NotWritten;
  if (letter == positive || letter == negative) {
    degrees = ReadWrittenAngle(text.substr(0, text.size() - 1), DegreeSign);
  } else {
    if (text.size() <= WrittenInfix) return NotWritten;
    letter = text[text.size() - WrittenInfix];
    if (letter != positive && letter != negative) return NotWritten;
    degrees = ReadWrittenAngle(text, letter);
  }
  const long double radians = degrees * DegToRad;
  return letter == negative ? -radians : radians;
}

// True when a sign or a bare number of this axis means S (latitude) or W
// (longitude) under PlusDir.
bool PlusIsNegative(PlusDir plus, Axis axis) {
  const int plusDir = std::clamp(Index(plus), 0, PlusDirCount - 1);
  return axis == Axis::Latitude ? plusDir >= 2 : plusDir % 2 == 1;
}

// Word with its small letters made capitals (ToCapital): word itself when
// it has none, otherwise a copy made in storage.
std::string_view CapitalWord(std::string_view word, std::string& storage) {
  if (std::all_of(word.begin(), word.end(), [](char c) { return ToCapital(c) == c; })) return word;
  storage = word;
  for (char& c : storage) c = ToCapital(c);
  return storage;
}

// ParseLatLon with the two coordinate texts apart. With capitalize, the
// texts are read as if their small letters were capitals; a written
// coordinate has none (no byte it consists of is a small letter), so only
// the general reader needs the copy.
bool ParseLatLonTexts(PlusDir plusDir, const EarthModel& E, FixRecord& fix, std::string_view latText,
                      std::string_view lonText, bool capitalize) {
  std::string storage;
  auto read = [&](std::string_view text, Axis axis, long double& radians) {
    radians = ReadWrittenCoordinate(text, axis);
    // A NaN is the only value that differs from itself.
    if (radians == radians) return true;
    return ParseCoord(plusDir, capitalize ? CapitalWord(text, storage) : text, axis, radians);
  };
  long double lat = 0.0L;
  long double lon = 0.0L;
  if (!read(latText, Axis::Latitude, lat) || !read(lonText, Axis::Longitude, lon)) return false;
  try {
    // A latitude of 0 South keeps its letter in the sign of z.
    fix.position = PosFromLatLon(E, lat, lon);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

}  // namespace

bool ParseDMS(std::string_view text, long double& result) {
  if (const long double written = ReadWrittenAngle(text, DegreeSign); written == written) {
    result = written;
    return true;
  }
  if (text.empty()) return false;
  std::size_t separator = text.find(DegreeSign);
  if (separator == std::string_view::npos) separator = text.find('D');
  if (separator == text.size() - 1) {
    text.remove_suffix(1);  // "29\xB0" reads as 29
    separator = std::string_view::npos;
  }
  long double degrees = 0.0L;
  if (separator == std::string_view::npos) {
    if (!ReadDecimal(text, degrees)) return false;
  } else {
    if (!ReadDecimal(text.substr(0, separator), degrees)) return false;
    // A sign of the degrees belongs to the whole angle: -29 30' is -29.5.
    const bool negative = std::signbit(degrees);
    long double magnitude = std::fabs(degrees);
    if (!AddRest(text.substr(separator + 1), magnitude)) return false;
    degrees = negative ? -magnitude : magnitude;
  }
  if (!std::isfinite(degrees)) return false;
  result = degrees;
  return true;
}

bool ParseCoord(PlusDir plusDir, std::string_view text, Axis axis, long double& result) {
  if (text.empty()) return false;
  const bool latitude = axis == Axis::Latitude;
  const char positive = latitude ? 'N' : 'E';
  const char negative = latitude ? 'S' : 'W';
  const bool plusNegative = PlusIsNegative(plusDir, axis);
  bool south = plusNegative;  // a bare number
  std::string infix;          // only the infix form needs a changed copy
  if (text.front() == '+' || text.front() == '-') {
    south = (text.front() == '-') != plusNegative;
    text.remove_prefix(1);
  } else if (text.back() == positive || text.back() == negative) {
    south = text.back() == negative;
    text.remove_suffix(1);
  } else {
    std::size_t letter = text.find(positive);
    if (letter == std::string_view::npos) letter = text.find(negative);
    if (letter != std::string_view::npos) {
      south = text[letter] == negative;
      infix = text;
      infix[letter] = DegreeSign;  // infix form: "29N331032" is "29\xB0" "331032"
      text = infix;
    }
  }
  long double degrees = 0.0L;
  if (!ParseDMS(text, degrees)) return false;
  const long double radians = degrees * DegToRad;
  result = south ? -radians : radians;
  return true;
}

bool ParseLatLon(PlusDir plusDir, const EarthModel& E, FixRecord& fix, std::string_view text) {
  const std::size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return false;
  return ParseLatLonTexts(plusDir, E, fix, text.substr(0, blank), text.substr(blank + 1), false);
}

void ParseFixLine(PlusDir plusDir, const EarthModel& E, FixRecord& fix, std::string_view line) {
  fix.valid = false;
  // The first three words of the trimmed line, split at runs of blanks as
  // SquashBlanks would leave them, found in place.
  const std::string_view text = TrimmedView(line);
  std::string_view words[3];
  std::size_t at = 0;
  for (std::string_view& word : words) {
    while (at < text.size() && text[at] == ' ') ++at;
    if (at == text.size()) return;
    const std::size_t start = at;
    at = std::min(text.find(' ', at), text.size());
    word = text.substr(start, at - start);
  }
  std::string storage;
  const std::string_view capital = CapitalWord(words[2], storage);
  std::string fitted;
  std::string_view name = capital;
  if (!IsFittedFixName(capital)) {
    fitted.assign(capital);
    FitFixName(fitted);
    name = fitted;
  }
  // A name that the fix input dialog would refuse (a control character, a
  // letter outside A..Z), or would change (control characters left at the
  // end by the cut to 16), could not be typed again or written back the same.
  if (!IsFixNameAsIs(name)) return;
  fix.name = name;
  fix.valid = ParseLatLonTexts(plusDir, E, fix, words[0], words[1], true);
}

bool ParseDistanceText(std::string_view text, long double& value) { return ReadDecimal(text, value); }

bool ParseAzimuthText(std::string_view text, long double& result) {
  if (text.empty()) return false;
  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  long double degrees = 0.0L;
  if (!ParseDMS(text, degrees)) return false;
  result = negative ? -degrees : degrees;
  return true;
}

}  // namespace navorix
