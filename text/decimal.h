// Locale-independent decimal reading and writing of 80-bit values.
//
// The decimal separator is always "."; nothing here looks at the process
// locale. Reading is correctly rounded to nearest (ties to even) and writing
// is exact before its single rounding, so text -> value -> text is stable.
//
// Decimal syntax: optional leading blanks, an optional "+" or "-", digits
// with an optional "." and fraction digits (at least one digit in all), an
// optional exponent "E"/"e" with optional sign and at least one digit;
// nothing may follow.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace navorix {

// Powers of ten that the 80-bit type holds exactly: 5^27 still fits the
// 64-bit mantissa.
inline constexpr int ExactPowers = 27;
inline constexpr std::array<long double, ExactPowers + 1> PowersOfTen = [] {
  std::array<long double, ExactPowers + 1> p{};
  p[0] = 1.0L;
  for (std::size_t k = 1; k < p.size(); ++k) p[k] = p[k - 1] * 10.0L;
  return p;
}();
// Any whole number of this many decimal digits fits the 64-bit mantissa.
inline constexpr int MaxExactDigits = 19;

// Reads text in the decimal syntax. False for anything else, and for a
// number too large for long double (never an infinity). Numbers below the
// normal range (|x| < 3.4e-4932) read as a zero of their sign.
bool ReadDecimal(std::string_view text, long double& value);

// Reads a whole number: optional leading blanks, an optional sign, digits.
bool ReadWholeNumber(std::string_view text, long double& value);

// Reads a text of decimal digits only (no blank, no sign) as the number
// 0.<digits>, i.e. digits / 10^n for n digits. False for an empty text.
bool ReadDigitFraction(std::string_view digits, long double& value);

// Value in fixed-point notation with decimals (0..40) digits after the ".",
// correctly rounded (an exact half goes to the even last digit). A negative
// value keeps its "-" even when it rounds to zero; NaN and infinities give
// "nan", "inf" and "-inf".
std::string FixedText(long double value, int decimals);

// The shortest decimal text that ReadDecimal reads back to exactly value
// (plain or with an exponent, whichever is shorter), e.g. "6367.4357".
std::string DecimalText(long double value);

}  // namespace navorix
