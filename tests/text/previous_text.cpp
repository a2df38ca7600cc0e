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

constexpr std::size_t MaxNameLength = TFixName::Capacity;  // 16
constexpr std::size_t MaxSuffixLength = 13;

// An exponent beyond this many decimal places is saturated while the order
// of magnitude is estimated; the true limits are below 5000.
constexpr std::int64_t ExponentClamp = 1000000000;

struct TLexed {
  std::string_view Number;  // the part handed to from_chars (sign "-" kept, "+" dropped)
  bool Negative = false;
  bool AllZero = true;      // every mantissa digit is "0"
  std::int64_t Order = 0;   // order of magnitude of the first non-zero digit
};

// Checks Text against the decimal syntax (without fraction and exponent when
// Whole) and describes it. False when Text does not match.
bool Lex(std::string_view Text, bool Whole, TLexed& Out) {
  std::size_t i = 0;
  const std::size_t n = Text.size();
  while (i < n && Text[i] == ' ') ++i;
  if (i < n && (Text[i] == '+' || Text[i] == '-')) {
    Out.Negative = Text[i] == '-';
    if (Text[i] == '+') Out.Number = Text.substr(i + 1);
    else Out.Number = Text.substr(i);
    ++i;
  } else {
    Out.Number = Text.substr(i);
  }
  std::int64_t intDigits = 0;
  std::int64_t digitIndex = 0;
  std::int64_t firstNonZero = -1;
  std::size_t digitCount = 0;
  auto scanDigits = [&](bool integerPart) {
    while (i < n && IsDigit(Text[i])) {
      if (firstNonZero < 0 && Text[i] != '0') firstNonZero = digitIndex;
      if (integerPart && digitIndex < ExponentClamp) ++intDigits;
      if (digitIndex < ExponentClamp) ++digitIndex;
      ++digitCount;
      ++i;
    }
  };
  scanDigits(true);
  if (!Whole && i < n && Text[i] == '.') {
    ++i;
    scanDigits(false);
  }
  if (digitCount == 0) return false;
  std::int64_t exponent = 0;
  if (!Whole && i < n && (Text[i] == 'E' || Text[i] == 'e')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (Text[i] == '+' || Text[i] == '-')) {
      negativeExponent = Text[i] == '-';
      ++i;
    }
    const std::size_t start = i;
    while (i < n && IsDigit(Text[i])) {
      exponent = std::min<std::int64_t>(exponent * 10 + (Text[i] - '0'), ExponentClamp);
      ++i;
    }
    if (i == start) return false;
    if (negativeExponent) exponent = -exponent;
  }
  if (i != n) return false;
  Out.AllZero = firstNonZero < 0;
  Out.Order = Out.AllZero ? 0 : intDigits - 1 - firstNonZero + exponent;
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
bool ConvertShort(std::string_view Number, long double& Value) {
  std::size_t i = 0;
  const bool negative = !Number.empty() && Number[0] == '-';
  if (negative) ++i;
  std::uint64_t mantissa = 0;
  int digits = 0;       // significant digits taken into the mantissa
  int scale = 0;        // power of ten of the mantissa's last digit
  bool fraction = false;
  for (; i < Number.size(); ++i) {
    const char c = Number[i];
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
  if (i < Number.size()) {  // the exponent, already checked by Lex
    ++i;
    bool negativeExponent = false;
    if (Number[i] == '+' || Number[i] == '-') negativeExponent = Number[i++] == '-';
    int exponent = 0;
    for (; i < Number.size(); ++i) {
      if (exponent > 10000) return false;
      exponent = exponent * 10 + (Number[i] - '0');
    }
    scale += negativeExponent ? -exponent : exponent;
  }
  long double result = static_cast<long double>(mantissa);
  if (mantissa != 0) {
    if (scale < -ExactPowers || scale > ExactPowers) return false;
    result = scale < 0 ? result / PowersOfTen[static_cast<std::size_t>(-scale)]
                       : result * PowersOfTen[static_cast<std::size_t>(scale)];
  }
  Value = negative ? -result : result;
  return true;
}

bool Convert(const TLexed& Lexed, long double& Value) {
  if (ConvertShort(Lexed.Number, Value)) return true;
  const char* first = Lexed.Number.data();
  const char* last = first + Lexed.Number.size();
  long double result = 0.0L;
  const auto [ptr, ec] = std::from_chars(first, last, result, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Too large to be meaningful is a failure; too small is a zero.
    if (Lexed.AllZero || Lexed.Order >= 0) return false;
    Value = Lexed.Negative ? -0.0L : 0.0L;
    return true;
  }
  if (ec != std::errc() || ptr != last || !std::isfinite(result)) return false;
  Value = result;
  return true;
}

bool ReadDigitFraction(std::string_view Digits, long double& Value);

// Text without its leading and trailing blanks and control characters.
std::string_view Trimmed(std::string_view Text) {
  std::size_t first = 0;
  std::size_t last = Text.size();
  while (first < last && IsBlankOrControl(Text[first])) ++first;
  while (last > first && IsBlankOrControl(Text[last - 1])) --last;
  return Text.substr(first, last - first);
}

}  // namespace

long double PosLat(const TEarthModel& E, const TTriV& P) {
  // A unit vector may carry |z| one rounding above 1; the root must stay real.
  const long double c2 = 1.0L - P.z * P.z;
  const long double psi = std::atan2(P.z, std::sqrt(c2 > 0.0L ? c2 : 0.0L));
  return E.EllipticLat ? GeocToGeod(E.Shape, psi) : psi;
}

bool ReadDecimal(std::string_view Text, long double& Value) {
  TLexed lexed;
  return Lex(Text, false, lexed) && Convert(lexed, Value);
}

std::string SquashBlanks(std::string_view Text, bool ToUpper) {
  const std::string_view trimmed = Trimmed(Text);
  std::string result;
  result.reserve(trimmed.size());
  for (char c : trimmed) {
    if (c == ' ' && !result.empty() && result.back() == ' ') continue;
    if (ToUpper) {
      const auto byte = static_cast<unsigned char>(c);
      const bool small = (byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xF6) ||
                         (byte >= 0xF8 && byte <= 0xFE);
      if (small) c = static_cast<char>(byte - 32);
    }
    result += c;
  }
  return result;
}

void FitFixName(std::string& Name) {
  const std::size_t blank = Name.find(' ');
  if (blank != std::string::npos) Name.resize(blank);
  const std::size_t slash = Name.find('/');
  if (slash == std::string::npos) {
    if (Name.size() > MaxNameLength) Name.resize(MaxNameLength);
    return;
  }
  std::string base = Name.substr(0, slash);
  std::string suffix = Name.substr(slash + 1);
  if (suffix.size() > MaxSuffixLength) suffix.resize(MaxSuffixLength);
  if (suffix.empty()) {
    if (base.size() > MaxNameLength) base.resize(MaxNameLength);
    Name = base;
    return;
  }
  // base + "/" + suffix stays within 16 characters.
  const std::size_t baseLength = MaxNameLength - 1 - suffix.size();
  if (base.size() > baseLength) base.resize(baseLength);
  Name = base + "/" + suffix;
}

namespace {

bool ReadDigitFraction(std::string_view Digits, long double& Value) {
  if (Digits.empty() || !std::all_of(Digits.begin(), Digits.end(), IsDigit)) return false;
  std::string text;
  text.reserve(Digits.size() + 2);
  text += "0.";
  text += Digits;
  return previous::ReadDecimal(text, Value);
}

constexpr long double MinutesPerDegree = 60.0L;
constexpr long double SecondsPerDegree = 3600.0L;
constexpr std::size_t CompactFieldWidth = 2;
constexpr std::size_t MaxExactDigitCount = 19;

bool AllDigits(std::string_view Text) {
  return !Text.empty() && std::all_of(Text.begin(), Text.end(), IsDigit);
}

// A marked minute or second field: a decimal number in [0, 60).
bool ReadSexagesimal(std::string_view Text, long double& Value) {
  return previous::ReadDecimal(Text, Value) && !std::signbit(Value) && Value < 60.0L;
}

// A compact field: exactly two digits (not range-checked: "29\xB0" "75" is 30.25).
long double CompactField(std::string_view Text) {
  return static_cast<long double>((Text[0] - '0') * 10 + (Text[1] - '0'));
}

// 10^N for N <= 19, exactly (5^19 < 2^64, so every power fits the mantissa).
long double PowerOfTen(std::size_t N) {
  long double p = 1.0L;
  for (std::size_t i = 0; i < N && i < MaxExactDigitCount; ++i) p *= 10.0L;
  return p;
}

// Adds the decimal fraction of a second written by the digits Text (at least
// one) to Degrees: the whole number F of n digits contributes
// F / (10^n 3600), divided once. Longer digit strings than any the program
// writes are read as a rounded fraction first.
bool AddSecondFraction(std::string_view Text, long double& Degrees) {
  if (!AllDigits(Text)) return false;
  if (Text.size() > MaxExactDigitCount) {
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

// The largest count FormatAngle splits; far beyond every angle it receives.
constexpr long double MaxAngleCount = 9.0e18L;
constexpr std::size_t LatitudeField = 14;
constexpr std::size_t LongitudeField = 15;
constexpr std::size_t NameColumn = 16;

int Clamped(int Value, int Count) { return std::clamp(Value, 0, Count - 1); }
template <typename E>
int Clamped(E Value, int Count) {
  return Clamped(Index(Value), Count);
}

// Decimal digits of Value >= 0, zero-padded to Width.
std::string Digits(std::int64_t Value, int Width) {
  std::string text = std::to_string(Value);
  return PadLeft(text, static_cast<std::size_t>(std::max(Width, 0)), '0');
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
    if (!previous::ReadDecimal(Text, degrees)) return false;
  } else {
    if (!previous::ReadDecimal(Text.substr(0, separator), degrees)) return false;
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
  if (!previous::ParseDMS(text, degrees)) return false;
  const long double radians = degrees * DegToRad;
  Radians = south ? -radians : radians;
  return true;
}

bool ParseLatLon(TPlusDir PlusDir, const TEarthModel& E, FixRecord& Fix, std::string_view Text) {
  const std::size_t blank = Text.find(' ');
  if (blank == std::string_view::npos) return false;
  long double lat = 0.0L;
  long double lon = 0.0L;
  if (!previous::ParseCoord(PlusDir, Text.substr(0, blank), TAxis::Latitude, lat) ||
      !previous::ParseCoord(PlusDir, Text.substr(blank + 1), TAxis::Longitude, lon)) {
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
  const std::string text = previous::SquashBlanks(Line, true);
  const std::size_t first = text.find(' ');
  if (first == std::string::npos) return;
  const std::size_t second = text.find(' ', first + 1);
  if (second == std::string::npos) return;
  const std::size_t third = text.find(' ', second + 1);
  std::string name = text.substr(second + 1, third == std::string::npos ? std::string::npos
                                                                         : third - second - 1);
  previous::FitFixName(name);
  // The name rule of the fix input dialog, as the reader before the faster
  // one had it.
  std::string checked = name;
  if (!IsValidFixName(checked) || checked != name) return;
  Fix.Name = name;
  Fix.Valid = previous::ParseLatLon(PlusDir, E, Fix, std::string_view(text).substr(0, second));
}

std::string FormatAngle(TAngleFormat Format, TAccuracy Accuracy, long double Angle) {
  const int f = Clamped(Format, LatLonFormatCount);
  const int p = Clamped(Accuracy, PrecisionCount);
  const std::int64_t s = AngleScale[f][p];
  const long double units = std::fabs(Angle) * RadToDeg * static_cast<long double>(s);
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

std::string FormatLatLon(const TDisplayOptions& Options, const TEarthModel& E, const FixRecord& Fix,
                         TAccuracy Accuracy) {
  const long double lat = previous::PosLat(E, Fix.Position);
  const long double lon = PosLon(Fix.Position);
  // The letter follows the unrounded sign, a zero's sign included, so that
  // "0.00\xB0W" reads back as W.
  const bool south = std::signbit(lat);
  const bool west = std::signbit(lon);
  const auto format = static_cast<TAngleFormat>(Clamped(Options.LatLonFormat, LatLonFormatCount));
  auto withLetter = [format](std::string text, char letter) {
    const std::size_t sign = text.find(DegreeSign);
    if (format == TAngleFormat::InfixDMS && sign != std::string::npos) text[sign] = letter;
    else text += letter;
    return text;
  };
  const std::string latText = withLetter(previous::FormatAngle(format, Accuracy, lat), south ? 'S' : 'N');
  const std::string lonText = withLetter(previous::FormatAngle(format, Accuracy, lon), west ? 'W' : 'E');
  return PadLeft(latText, LatitudeField, ' ') + PadLeft(lonText, LongitudeField, ' ');
}

std::string FixText(const TDisplayOptions& Options, const TEarthModel& E, const FixRecord& Fix) {
  if (!Fix.Valid) return {};
  const std::string name = FixName(Fix);
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
  return column + previous::FormatLatLon(Options, E, Fix, Options.Precision);
}

std::string FixFileLine(const TDisplayOptions& Options, const TEarthModel& E, const FixRecord& Fix) {
  return previous::FormatLatLon(Options, E, Fix, TAccuracy::High) + " " + FixName(Fix);
}

}  // namespace navorix::previous
