// The text routines as they were before they were made faster (notation in
// previous_text.h), copied unchanged: the fix-line reader with a squashed
// copy of the line and the mark searches of the general DMS reader, the
// decimal reader without its one-pass case, and the formatting with PosLat
// and a string per field. Calls between them are qualified, so that none
// can reach the current routine of the same name.
#include "tests/text/previous_text.h"
#include "text/fix_names.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <exception>
#include <string>
#include <system_error>

#include "geometry/numeric.h"
#include "text/format.h"
#include "text/text_helpers.h"

namespace navorix::previous {
namespace {

constexpr std::size_t MaxNameLength = FixNameText::Capacity;  // 16
constexpr std::size_t MaxSuffixLength = 13;

// An exponent beyond this many decimal places is saturated while the order
// of magnitude is estimated; the true limits are below 5000.
constexpr std::int64_t ExponentClamp = 1000000000;

struct LexedLine {
  std::string_view number;  // the part handed to from_chars (sign "-" kept, "+" dropped)
  bool negative = false;
  bool allZero = true;     // every mantissa digit is "0"
  std::int64_t order = 0;  // order of magnitude of the first non-zero digit
};

// Checks text against the decimal syntax (without fraction and exponent when
// whole) and describes it. False when text does not match.
bool Lex(std::string_view text, bool whole, LexedLine& out) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    out.negative = text[i] == '-';
    if (text[i] == '+')
      out.number = text.substr(i + 1);
    else
      out.number = text.substr(i);
    ++i;
  } else {
    out.number = text.substr(i);
  }
  std::int64_t intDigits = 0;
  std::int64_t digitIndex = 0;
  std::int64_t firstNonZero = -1;
  std::size_t digitCount = 0;
  auto scanDigits = [&](bool integerPart) {
    while (i < n && IsDigit(text[i])) {
      if (firstNonZero < 0 && text[i] != '0') firstNonZero = digitIndex;
      if (integerPart && digitIndex < ExponentClamp) ++intDigits;
      if (digitIndex < ExponentClamp) ++digitIndex;
      ++digitCount;
      ++i;
    }
  };
  scanDigits(true);
  if (!whole && i < n && text[i] == '.') {
    ++i;
    scanDigits(false);
  }
  if (digitCount == 0) return false;
  std::int64_t exponent = 0;
  if (!whole && i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      ++i;
    }
    const std::size_t start = i;
    while (i < n && IsDigit(text[i])) {
      exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), ExponentClamp);
      ++i;
    }
    if (i == start) return false;
    if (negativeExponent) exponent = -exponent;
  }
  if (i != n) return false;
  out.allZero = firstNonZero < 0;
  out.order = out.allZero ? 0 : intDigits - 1 - firstNonZero + exponent;
  return true;
}

// Powers of ten that the 80-bit type holds exactly: 5^27 still fits the
// 64-bit mantissa.
constexpr int ExactPowers = 27;
constexpr std::array<long double, ExactPowers + 1> PowersOfTen = [] {
  std::array<long double, ExactPowers + 1> p{};
  p[0] = 1.0L;
  for (std::size_t k = 1; k < p.size(); ++k) p[k] = p[k - 1] * 10.0L;
  return p;
}();
constexpr int MaxExactDigits = 19;  // any 19-digit integer fits the 64-bit mantissa

// The common case of short coordinate text, without the library's locale
// set-up: up to 19 significant digits and a small exponent make the mantissa
// M and 10^k exact, so M * 10^k or M / 10^k is one correctly rounded
// operation. False when the text is outside that case.
bool ConvertShort(std::string_view number, long double& value) {
  std::size_t i = 0;
  const bool negative = !number.empty() && number[0] == '-';
  if (negative) ++i;
  std::uint64_t mantissa = 0;
  int digits = 0;  // significant digits taken into the mantissa
  int scale = 0;   // power of ten of the mantissa's last digit
  bool fraction = false;
  for (; i < number.size(); ++i) {
    const char c = number[i];
    if (c == '.') {
      fraction = true;
      continue;
    }
    if (c == 'E' || c == 'e') break;
    if (mantissa == 0 && c == '0') {
      if (fraction) --scale;  // leading zeros carry no digit
      continue;
    }
    if (digits == MaxExactDigits) return false;
    mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
    ++digits;
    if (fraction) --scale;
  }
  if (i < number.size()) {  // the exponent, already checked by Lex
    ++i;
    bool negativeExponent = false;
    if (number[i] == '+' || number[i] == '-') negativeExponent = number[i++] == '-';
    int exponent = 0;
    for (; i < number.size(); ++i) {
      if (exponent > 10000) return false;
      exponent = exponent * 10 + (number[i] - '0');
    }
    scale += negativeExponent ? -exponent : exponent;
  }
  long double result = static_cast<long double>(mantissa);
  if (mantissa != 0) {
    if (scale < -ExactPowers || scale > ExactPowers) return false;
    result = scale < 0 ? result / PowersOfTen[static_cast<std::size_t>(-scale)]
                       : result * PowersOfTen[static_cast<std::size_t>(scale)];
  }
  value = negative ? -result : result;
  return true;
}

bool Convert(const LexedLine& lexed, long double& value) {
  if (ConvertShort(lexed.number, value)) return true;
  const char* first = lexed.number.data();
  const char* last = first + lexed.number.size();
  long double result = 0.0L;
  const auto [ptr, ec] = std::from_chars(first, last, result, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Too large to be meaningful is a failure; too small is a zero.
    if (lexed.allZero || lexed.order >= 0) return false;
    value = lexed.negative ? -0.0L : 0.0L;
    return true;
  }
  if (ec != std::errc() || ptr != last || !std::isfinite(result)) return false;
  value = result;
  return true;
}

bool ReadDigitFraction(std::string_view digits, long double& value);

// Text without its leading and trailing blanks and control characters.
std::string_view Trimmed(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlankOrControl(text[first])) ++first;
  while (last > first && IsBlankOrControl(text[last - 1])) --last;
  return text.substr(first, last - first);
}

}  // namespace

long double PosLat(const EarthModel& E, const Vector3& P) {
  // A unit vector may carry |z| one rounding above 1; the root must stay real.
  const long double c2 = 1.0L - P.z * P.z;
  const long double psi = std::atan2(P.z, std::sqrt(c2 > 0.0L ? c2 : 0.0L));
  return E.ellipticLat ? GeocToGeod(E.shape, psi) : psi;
}

bool ReadDecimal(std::string_view text, long double& value) {
  LexedLine lexed;
  return Lex(text, false, lexed) && Convert(lexed, value);
}

std::string SquashBlanks(std::string_view text, bool toUpper) {
  const std::string_view trimmed = Trimmed(text);
  std::string result;
  result.reserve(trimmed.size());
  for (char c : trimmed) {
    if (c == ' ' && !result.empty() && result.back() == ' ') continue;
    if (toUpper) {
      const auto byte = static_cast<unsigned char>(c);
      const bool small =
          (byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xF6) || (byte >= 0xF8 && byte <= 0xFE);
      if (small) c = static_cast<char>(byte - 32);
    }
    result += c;
  }
  return result;
}

void FitFixName(std::string& name) {
  const std::size_t blank = name.find(' ');
  if (blank != std::string::npos) name.resize(blank);
  const std::size_t slash = name.find('/');
  if (slash == std::string::npos) {
    if (name.size() > MaxNameLength) name.resize(MaxNameLength);
    return;
  }
  std::string base = name.substr(0, slash);
  std::string suffix = name.substr(slash + 1);
  if (suffix.size() > MaxSuffixLength) suffix.resize(MaxSuffixLength);
  if (suffix.empty()) {
    if (base.size() > MaxNameLength) base.resize(MaxNameLength);
    name = base;
    return;
  }
  // base + "/" + suffix stays within 16 characters.
  const std::size_t baseLength = MaxNameLength - 1 - suffix.size();
  if (base.size() > baseLength) base.resize(baseLength);
  name = base + "/" + suffix;
}

namespace {

bool ReadDigitFraction(std::string_view digits, long double& value) {
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDigit)) return false;
  std::string text;
  text.reserve(digits.size() + 2);
  text += "0.";
  text += digits;
  return previous::ReadDecimal(text, value);
}

constexpr long double MinutesPerDegree = 60.0L;
constexpr long double SecondsPerDegree = 3600.0L;
constexpr std::size_t CompactFieldWidth = 2;
constexpr std::size_t MaxExactDigitCount = 19;

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// A marked minute or second field: a decimal number in [0, 60).
bool ReadSexagesimal(std::string_view text, long double& value) {
  return previous::ReadDecimal(text, value) && !std::signbit(value) && value < 60.0L;
}

// A compact field: exactly two digits (not range-checked: "29\xB0" "75" is 30.25).
long double CompactField(std::string_view text) {
  return static_cast<long double>((text[0] - '0') * 10 + (text[1] - '0'));
}

// 10^N for N <= 19, exactly (5^19 < 2^64, so every power fits the mantissa).
long double PowerOfTen(std::size_t N) {
  long double p = 1.0L;
  for (std::size_t i = 0; i < N && i < MaxExactDigitCount; ++i) p *= 10.0L;
  return p;
}

// Adds the decimal fraction of a second written by the digits text (at least
// one) to degrees: the whole number F of n digits contributes
// F / (10^n 3600), divided once. Longer digit strings than any the program
// writes are read as a rounded fraction first.
bool AddSecondFraction(std::string_view text, long double& degrees) {
  if (!AllDigits(text)) return false;
  if (text.size() > MaxExactDigitCount) {
    long double fraction = 0.0L;
    if (!ReadDigitFraction(text, fraction)) return false;
    degrees += fraction / SecondsPerDegree;
    return true;
  }
  std::uint64_t whole = 0;
  for (const char c : text) whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
  degrees += static_cast<long double>(whole) / (PowerOfTen(text.size()) * SecondsPerDegree);
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

// True when a sign or a bare number of this axis means S (latitude) or W
// (longitude) under PlusDir.
bool PlusIsNegative(PlusDir plus, Axis axis) {
  const int plusDir = std::clamp(Index(plus), 0, PlusDirCount - 1);
  return axis == Axis::Latitude ? plusDir >= 2 : plusDir % 2 == 1;
}

// The largest count FormatAngle splits; far beyond every angle it receives.
constexpr long double MaxAngleCount = 9.0e18L;
constexpr std::size_t LatitudeField = 14;
constexpr std::size_t LongitudeField = 15;
constexpr std::size_t NameColumn = 16;

int Clamped(int value, int count) { return std::clamp(value, 0, count - 1); }
template <typename E>
int Clamped(E value, int count) {
  return Clamped(Index(value), count);
}

// Decimal digits of value >= 0, zero-padded to width.
std::string Digits(std::int64_t value, int width) {
  std::string text = std::to_string(value);
  return PadLeft(text, static_cast<std::size_t>(std::max(width, 0)), '0');
}

}  // namespace

// x - floor(x) is exact in binary floating point, so the tie test is too.
std::int64_t RoundHalfEven(long double x) {
  const long double whole = std::floor(x);
  const long double rest = x - whole;
  auto n = static_cast<std::int64_t>(whole);
  if (rest > 0.5L || (rest == 0.5L && n % 2 != 0)) ++n;
  return n;
}

bool ParseDMS(std::string_view text, long double& result) {
  if (text.empty()) return false;
  std::size_t separator = text.find(DegreeSign);
  if (separator == std::string_view::npos) separator = text.find('D');
  if (separator == text.size() - 1) {
    text.remove_suffix(1);  // "29\xB0" reads as 29
    separator = std::string_view::npos;
  }
  long double degrees = 0.0L;
  if (separator == std::string_view::npos) {
    if (!previous::ReadDecimal(text, degrees)) return false;
  } else {
    if (!previous::ReadDecimal(text.substr(0, separator), degrees)) return false;
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

bool ParseCoord(PlusDir plusDir, std::string_view written, Axis axis, long double& result) {
  if (written.empty()) return false;
  const bool latitude = axis == Axis::Latitude;
  const char positive = latitude ? 'N' : 'E';
  const char negative = latitude ? 'S' : 'W';
  const bool plusNegative = PlusIsNegative(plusDir, axis);
  std::string text(written);
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
  if (!previous::ParseDMS(text, degrees)) return false;
  const long double radians = degrees * DegToRad;
  result = south ? -radians : radians;
  return true;
}

bool ParseLatLon(PlusDir plusDir, const EarthModel& E, FixRecord& fix, std::string_view text) {
  const std::size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return false;
  long double lat = 0.0L;
  long double lon = 0.0L;
  if (!previous::ParseCoord(plusDir, text.substr(0, blank), Axis::Latitude, lat) ||
      !previous::ParseCoord(plusDir, text.substr(blank + 1), Axis::Longitude, lon)) {
    return false;
  }
  try {
    // A latitude of 0 South keeps its letter in the sign of z.
    fix.position = PosFromLatLon(E, lat, lon);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

void ParseFixLine(PlusDir plusDir, const EarthModel& E, FixRecord& fix, std::string_view line) {
  fix.valid = false;
  const std::string text = previous::SquashBlanks(line, true);
  const std::size_t first = text.find(' ');
  if (first == std::string::npos) return;
  const std::size_t second = text.find(' ', first + 1);
  if (second == std::string::npos) return;
  const std::size_t third = text.find(' ', second + 1);
  std::string name =
      text.substr(second + 1, third == std::string::npos ? std::string::npos : third - second - 1);
  previous::FitFixName(name);
  // The name rule of the fix input dialog, as the reader before the faster
  // one had it.
  std::string checked = name;
  if (!IsValidFixName(checked) || checked != name) return;
  fix.name = name;
  fix.valid = previous::ParseLatLon(plusDir, E, fix, std::string_view(text).substr(0, second));
}

std::string FormatAngle(AngleFormat format, Accuracy accuracy, long double angle) {
  const int f = Clamped(format, LatLonFormatCount);
  const int p = Clamped(accuracy, PrecisionCount);
  const std::int64_t s = AngleScale[f][p];
  const long double units = std::fabs(angle) * RadToDeg * static_cast<long double>(s);
  if (!(units < MaxAngleCount)) return "?";
  const std::int64_t n = RoundHalfEven(units);
  const std::int64_t degrees = n / s;
  std::int64_t rest = n % s;
  std::string text = std::to_string(degrees);
  if (f == 0) {
    text += '.';
    text += Digits(rest, 2 * p + 2);
    text += DegreeSign;
    return text;
  }
  const std::int64_t perMinute = s / 60;
  const std::int64_t minutes = rest / perMinute;
  rest %= perMinute;
  std::int64_t seconds = 0;
  if (f >= 2) {
    if (p == 2) {
      seconds = rest / 100;
      rest %= 100;
    } else if (p == 1) {
      seconds = rest;
    }
  }
  text += DegreeSign;
  text += Digits(minutes, 2);
  if (f == 1 && p >= 1) {
    text += '.';
    text += Digits(rest, 2 * p);
    text += MinuteMark;
  } else if (f <= 2) {
    text += MinuteMark;
    if (p >= 1) {
      text += Digits(seconds, 2);
      if (p == 2) {
        text += '.';
        text += Digits(rest, 2);
      }
      text += SecondMark;
    }
  } else {
    if (p >= 1) text += Digits(seconds, 2);
    if (p == 2) text += Digits(rest, 2);
  }
  return text;
}

std::string FormatLatLon(const DisplayOptions& options, const EarthModel& E, const FixRecord& fix,
                         Accuracy accuracy) {
  const long double lat = previous::PosLat(E, fix.position);
  const long double lon = PosLon(fix.position);
  // The letter follows the unrounded sign, a zero's sign included, so that
  // "0.00\xB0W" reads back as W.
  const bool south = std::signbit(lat);
  const bool west = std::signbit(lon);
  const auto format = static_cast<AngleFormat>(Clamped(options.latLonFormat, LatLonFormatCount));
  auto withLetter = [format](std::string text, char letter) {
    const std::size_t sign = text.find(DegreeSign);
    if (format == AngleFormat::InfixDMS && sign != std::string::npos)
      text[sign] = letter;
    else
      text += letter;
    return text;
  };
  const std::string latText = withLetter(previous::FormatAngle(format, accuracy, lat), south ? 'S' : 'N');
  const std::string lonText = withLetter(previous::FormatAngle(format, accuracy, lon), west ? 'W' : 'E');
  return PadLeft(latText, LatitudeField, ' ') + PadLeft(lonText, LongitudeField, ' ');
}

std::string FixText(const DisplayOptions& options, const EarthModel& E, const FixRecord& fix) {
  if (!fix.valid) return {};
  const std::string name = FixName(fix);
  const std::size_t slash = name.find('/');
  std::string column;
  if (slash == std::string::npos) {
    column = PadRight(name, NameColumn, ' ');
  } else {
    // The suffix after the "/" ends in the last column of the name.
    const std::size_t suffixLength = name.size() - slash - 1;
    const std::size_t baseWidth = NameColumn > suffixLength ? NameColumn - suffixLength : 0;
    column = PadRight(name.substr(0, slash), baseWidth, ' ') + name.substr(slash + 1);
  }
  return column + previous::FormatLatLon(options, E, fix, options.precision);
}

std::string FixFileLine(const DisplayOptions& options, const EarthModel& E, const FixRecord& fix) {
  return previous::FormatLatLon(options, E, fix, Accuracy::High) + " " + FixName(fix);
}

}  // namespace navorix::previous
