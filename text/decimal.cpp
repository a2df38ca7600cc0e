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

bool Convert(const TLexed& Lexed, long double& Value) {
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

}  // namespace

bool ReadDecimal(std::string_view Text, long double& Value) {
  TLexed lexed;
  return Lex(Text, false, lexed) && Convert(lexed, Value);
}

bool ReadWholeNumber(std::string_view Text, long double& Value) {
  TLexed lexed;
  return Lex(Text, true, lexed) && Convert(lexed, Value);
}

bool ReadDigitFraction(std::string_view Digits, long double& Value) {
  if (Digits.empty() || !std::all_of(Digits.begin(), Digits.end(), IsDigit)) return false;
  std::string text;
  text.reserve(Digits.size() + 2);
  text += "0.";
  text += Digits;
  return ReadDecimal(text, Value);
}

std::string FixedText(long double Value, int Decimals) {
  if (std::isnan(Value)) return "nan";
  if (std::isinf(Value)) return Value < 0 ? "-inf" : "inf";
  Decimals = std::clamp(Decimals, 0, 40);
  // The largest finite value has 4933 integer digits.
  std::array<char, 5000> buffer{};
  const auto [ptr, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), Value,
                                       std::chars_format::fixed, Decimals);
  if (ec != std::errc()) return "?";
  return std::string(buffer.data(), ptr);
}

std::string DecimalText(long double Value) {
  if (std::isnan(Value)) return "nan";
  if (std::isinf(Value)) return Value < 0 ? "-inf" : "inf";
  std::array<char, 64> buffer{};
  const auto [ptr, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), Value);
  if (ec != std::errc()) return "?";
  return std::string(buffer.data(), ptr);
}

}  // namespace navorix
