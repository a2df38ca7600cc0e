// Decimal text of 80-bit values.
//
// Notation:
//   digits  the mantissa digits of a decimal text (integer and fraction part)
//   order   the decimal order of magnitude of the first non-zero digit
//
// The conversions themselves are std::from_chars and std::to_chars, which in
// the C++ library of this toolchain are exact for the 80-bit type (correctly
// rounded to nearest, ties to even) and never consult the locale. This file
// adds the syntax of coordinate text in front of them and turns their range
// errors into the rules of the readers.
#include "text/decimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "text/text_helpers.h"

namespace navorix {
namespace {

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

// The commonest text of all, digits with at most one "." (no blank, sign
// or exponent) and at most 19 digits, read in one pass: the value is the
// one ConvertShort gives after Lex, the whole number of all the digits
// divided once by the exact power of ten of the fraction digits. False when
// the text is not of that form; the general path then decides.
bool ReadPlainDecimal(std::string_view text, long double& value) {
  std::uint64_t mantissa = 0;
  int digits = 0;
  int decimals = 0;
  bool point = false;
  for (const char c : text) {
    if (IsDigit(c)) {
      if (digits == MaxExactDigits) return false;
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
      ++digits;
      if (point) ++decimals;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (digits == 0) return false;
  const auto whole = static_cast<long double>(mantissa);
  value = decimals == 0 ? whole : whole / PowersOfTen[static_cast<std::size_t>(decimals)];
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

}  // namespace

bool ReadDecimal(std::string_view text, long double& value) {
  if (ReadPlainDecimal(text, value)) return true;
  LexedLine lexed;
  return Lex(text, false, lexed) && Convert(lexed, value);
}

bool ReadWholeNumber(std::string_view text, long double& value) {
  LexedLine lexed;
  return Lex(text, true, lexed) && Convert(lexed, value);
}

bool ReadDigitFraction(std::string_view digits, long double& value) {
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDigit)) return false;
  std::string text;
  text.reserve(digits.size() + 2);
  text += "0.";
  text += digits;
  return ReadDecimal(text, value);
}

namespace {

// The exact products below need more than 64 bits; g++ offers 128.
__extension__ typedef unsigned __int128 UInt128;

constexpr int MaxShortDecimals = 8;  // 10^8 < 2^27: m 10^d stays below 2^91

// The common case of FixedText, without the library's printf-based
// fallback for the 80-bit type: |value| < 2^63 and at most 8 decimals. With
// value = m 2^e (m the 64-bit mantissa, e < 0) the exact product m 10^d is
// shifted right by -e, rounding the dropped bits half to even. False when
// value is outside that case.
bool ShortFixedText(long double value, int decimals, std::string& text) {
  if (decimals > MaxShortDecimals) return false;
  int exponent = 0;
  const long double fraction = std::frexp(std::fabs(value), &exponent);  // in [0.5, 1)
  const int e = exponent - 64;
  if (e >= 0) return false;
  const auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  UInt128 scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const UInt128 product = static_cast<UInt128>(m) * scale;
  UInt128 units = 0;  // Value 10^d, rounded
  const int shift = -e;
  if (shift < 127) {
    units = product >> shift;
    const UInt128 dropped = product - (units << shift);
    const UInt128 half = static_cast<UInt128>(1) << (shift - 1);
    if (dropped > half || (dropped == half && (units & 1) != 0)) ++units;
  }
  char digits[48];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + static_cast<int>(units % 10));
    units /= 10;
  } while (units != 0 || n <= decimals);
  text.clear();
  if (std::signbit(value)) text += '-';
  while (n > decimals) text += digits[--n];
  if (decimals > 0) {
    text += '.';
    while (n > 0) text += digits[--n];
  }
  return true;
}

}  // namespace

std::string FixedText(long double value, int decimals) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  decimals = std::clamp(decimals, 0, 40);
  if (std::string text; ShortFixedText(value, decimals, text)) return text;
  // The largest finite value has 4933 integer digits.
  std::array<char, 5000> buffer{};
  const auto [ptr, ec] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "?";
  return std::string(buffer.data(), ptr);
}

std::string DecimalText(long double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  std::array<char, 64> buffer{};
  const auto [ptr, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  if (ec != std::errc()) return "?";
  return std::string(buffer.data(), ptr);
}

}  // namespace navorix
