// Formatting of angles, positions, azimuths, distances and fix rows.
//
// Notation:
//   F, P   format 0..3 and accuracy 0..2 (clamped to those ranges)
//   S      AngleScale[F][P], units per degree; U = S / 60 units per minute
//   N      |angle| in units, rounded once, half to even
//   D, M   whole degrees and minutes of N; Sec whole seconds; R the rest
//   phi    the shown latitude (PosLat); phi' the direct one (PosLatDirect)
//
// Coordinate texts are built in a fixed buffer and become a string once:
// with a string per field and per padding a fix row cost more in
// allocations than in arithmetic.
#include "text/format.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "geometry/numeric.h"
#include "text/decimal.h"
#include "text/text_helpers.h"

namespace navorix {
namespace {

// The largest count FormatAngle splits; far beyond every angle it receives.
constexpr long double MaxAngleCount = 9.0e18L;
constexpr std::size_t LatitudeField = 14;
constexpr std::size_t LongitudeField = 15;
constexpr std::size_t NameColumn = 16;
// Room for a fix row or file line without a second allocation: 45
// characters, and a name after the coordinates of a file line.
constexpr std::size_t RowReserve = 64;

int Clamped(int value, int count) { return std::clamp(value, 0, count - 1); }
template <typename E>
int Clamped(E value, int count) {
  return Clamped(Index(value), count);
}

// An angle text built in place. The longest one, at a count near 9e18 with
// a letter, has 25 characters; characters beyond the capacity would be
// dropped, never written outside it.
class AngleText {
 public:
  static constexpr std::size_t Capacity = 48;

  void Put(char c) {
    if (size_ < Capacity) text_[size_++] = c;
  }
  // The decimal digits of value, zero-padded to width; wider numbers are
  // never cut.
  void PutNumber(std::uint64_t value, int width) {
    char digits[20];  // 2^64 has 20 digits
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    for (int i = n; i < width; ++i) Put('0');
    while (n > 0) Put(digits[--n]);
  }
  // Replaces the first degree sign by letter, or appends letter when there
  // is none.
  void ReplaceDegreeSign(char letter) {
    const std::size_t sign = View().find(DegreeSign);
    if (sign == std::string_view::npos)
      Put(letter);
    else
      text_[sign] = letter;
  }
  std::string_view View() const { return {text_, size_}; }

 private:
  char text_[Capacity];
  std::size_t size_ = 0;
};

// Below 2^61, adding 1.5 2^63 rounds x to a whole number n (to nearest, an
// exact half to even) and leaves the sum below 2^64, so that n is the low
// part of its 64-bit mantissa 0xC000000000000000 + n; this needs no switch
// of the FPU's rounding mode, which a conversion to an integer type makes
// twice.
constexpr long double RoundingShift = 0x1.8p63L;
constexpr long double ShiftLimit = 0x1p61L;
constexpr std::uint64_t ShiftMantissa = 0xC000000000000000U;

// x >= 0 (and below MaxAngleCount) rounded to the nearest integer, an exact
// half to the even one. Monotone in x, which the latitude shortcut relies on.
std::int64_t RoundHalfEven(long double x) {
  if (x < ShiftLimit) {
    const long double shifted = x + RoundingShift;
    std::uint64_t mantissa = 0;
    std::memcpy(&mantissa, &shifted, sizeof mantissa);
    return static_cast<std::int64_t>(mantissa - ShiftMantissa);
  }
  // x - floor(x) is exact in binary floating point, so the tie test is too.
  const long double whole = std::floor(x);
  const long double rest = x - whole;
  auto n = static_cast<std::int64_t>(whole);
  if (rest > 0.5L || (rest == 0.5L && n % 2 != 0)) ++n;
  return n;
}

// |angle| (radians) in units of 1/S degree, rounded as the counts and their
// ties are defined: |angle| 180/pi, then times S. Monotone in |angle|.
long double Units(long double angle, std::int64_t S) {
  return std::fabs(angle) * RadToDeg * static_cast<long double>(S);
}

// N of angle at S units per degree; false when it does not fit 63 bits or
// angle is NaN.
bool AngleCount(long double angle, std::int64_t S, std::int64_t& N) {
  const long double units = Units(angle, S);
  if (!(units < MaxAngleCount)) return false;
  N = RoundHalfEven(units);
  return true;
}

// The count of the latitude that P shows under E, and its hemisphere.
// phi' decides when the two ends of [|phi'| - bound, |phi'| + bound] have the
// same count: phi lies in that interval and the count is monotone, so it has
// that count too. Otherwise (within the bound of a rounding boundary, which
// includes the exact ties of typed positions) PosLat decides. Both take the
// sign of Pz.
bool LatitudeCount(const EarthModel& E, const Vector3& P, std::int64_t S, std::int64_t& N, bool& south) {
  if (E.ellipticLat) {
    const long double direct = PosLatDirect(E, P);
    const long double bound = DirectLatBound(E.shape);
    const long double magnitude = std::fabs(direct);
    // A NaN low end becomes 0; the high end is NaN then and fails the test.
    const long double lowEnd = magnitude - bound;
    const long double low = Units(lowEnd > 0.0L ? lowEnd : 0.0L, S);
    const long double high = Units(magnitude + bound, S);
    if (high < MaxAngleCount) {
      const std::int64_t n = RoundHalfEven(low);
      if (n == RoundHalfEven(high)) {
        N = n;
        south = std::signbit(direct);
        return true;
      }
    }
  }
  const long double lat = PosLat(E, P);
  south = std::signbit(lat);
  return AngleCount(lat, S, N);
}

// The text of the count N at (F, P), as FormatAngle describes it. F and P
// are constants here, so that every division is by a constant.
template <int F, int P>
void PutAngleAt(AngleText& text, std::uint64_t N) {
  constexpr auto s = static_cast<std::uint64_t>(AngleScale[F][P]);
  const std::uint64_t degrees = N / s;
  std::uint64_t rest = N % s;
  text.PutNumber(degrees, 1);
  if constexpr (F == 0) {
    text.Put('.');
    text.PutNumber(rest, 2 * P + 2);
    text.Put(DegreeSign);
    return;
  }
  constexpr std::uint64_t perMinute = s / 60;
  const std::uint64_t minutes = rest / perMinute;
  rest %= perMinute;
  std::uint64_t seconds = 0;
  if constexpr (F >= 2 && P == 2) {
    seconds = rest / 100;
    rest %= 100;
  } else if constexpr (F >= 2 && P == 1) {
    seconds = rest;
  }
  text.Put(DegreeSign);
  text.PutNumber(minutes, 2);
  if constexpr (F == 1 && P >= 1) {
    text.Put('.');
    text.PutNumber(rest, 2 * P);
    text.Put(MinuteMark);
  } else if constexpr (F <= 2) {
    text.Put(MinuteMark);
    if constexpr (P >= 1) {
      text.PutNumber(seconds, 2);
      if constexpr (P == 2) {
        text.Put('.');
        text.PutNumber(rest, 2);
      }
      text.Put(SecondMark);
    }
  } else {
    if constexpr (P >= 1) text.PutNumber(seconds, 2);
    if constexpr (P == 2) text.PutNumber(rest, 2);
  }
}

using AnglePutter = void (*)(AngleText&, std::uint64_t);
constexpr AnglePutter PutAngleTable[LatLonFormatCount][PrecisionCount] = {
    {PutAngleAt<0, 0>, PutAngleAt<0, 1>, PutAngleAt<0, 2>},
    {PutAngleAt<1, 0>, PutAngleAt<1, 1>, PutAngleAt<1, 2>},
    {PutAngleAt<2, 0>, PutAngleAt<2, 1>, PutAngleAt<2, 2>},
    {PutAngleAt<3, 0>, PutAngleAt<3, 1>, PutAngleAt<3, 2>},
};

// The text of the count N >= 0 at (F, P), F and P in range.
void PutAngle(AngleText& text, int F, int P, std::int64_t N) {
  PutAngleTable[F][P](text, static_cast<std::uint64_t>(N));
}

// One coordinate field: the count N at (F, P), or "?" when there is none,
// with its hemisphere letter (in place of the degree sign in the infix
// layout), right-aligned in width.
void AppendCoordinate(std::string& out, int F, int P, bool counted, std::int64_t N, char letter,
                      std::size_t width) {
  AngleText text;
  if (counted)
    PutAngle(text, F, P, N);
  else
    text.Put('?');
  if (F == Index(AngleFormat::InfixDMS))
    text.ReplaceDegreeSign(letter);
  else
    text.Put(letter);
  const std::string_view field = text.View();
  if (field.size() < width) out.append(width - field.size(), ' ');
  out += field;
}

// FormatLatLon appended to out.
void AppendLatLon(std::string& out, const DisplayOptions& options, const EarthModel& E, const FixRecord& fix,
                  Accuracy accuracy) {
  const int f = Clamped(options.latLonFormat, LatLonFormatCount);
  const int p = Clamped(accuracy, PrecisionCount);
  const std::int64_t s = AngleScale[f][p];
  std::int64_t latCount = 0;
  bool south = false;
  const bool latCounted = LatitudeCount(E, fix.position, s, latCount, south);
  const long double lon = PosLon(fix.position);
  std::int64_t lonCount = 0;
  const bool lonCounted = AngleCount(lon, s, lonCount);
  // The letter follows the unrounded sign, a zero's sign included, so that
  // "0.00\xB0W" reads back as W.
  AppendCoordinate(out, f, p, latCounted, latCount, south ? 'S' : 'N', LatitudeField);
  AppendCoordinate(out, f, p, lonCounted, lonCount, std::signbit(lon) ? 'W' : 'E', LongitudeField);
}

}  // namespace

std::string NumText(std::int32_t value, int minWidth, bool zeros) {
  const std::int64_t wide = value;
  const std::string digits = std::to_string(wide < 0 ? -wide : wide);
  const std::size_t width = static_cast<std::size_t>(std::max(minWidth, 0));
  if (!zeros) return PadLeft(wide < 0 ? "-" + digits : digits, width, ' ');
  if (wide >= 0) return PadLeft(digits, width, '0');
  return "-" + PadLeft(digits, width > 0 ? width - 1 : 0, '0');
}

std::string FormatAngle(AngleFormat format, Accuracy accuracy, long double angle) {
  const int f = Clamped(format, LatLonFormatCount);
  const int p = Clamped(accuracy, PrecisionCount);
  std::int64_t n = 0;
  if (!AngleCount(angle, AngleScale[f][p], n)) return "?";
  AngleText text;
  PutAngle(text, f, p, n);
  return std::string(text.View());
}

std::string FormatLatLon(const DisplayOptions& options, const EarthModel& E, const FixRecord& fix,
                         Accuracy accuracy) {
  std::string text;
  text.reserve(LatitudeField + LongitudeField);
  AppendLatLon(text, options, E, fix, accuracy);
  return text;
}

std::string FormatAzimuth(const DisplayOptions& options, long double angle) {
  if (options.azimRange == AzimRange::Zero360 && angle < 0.0L) angle += TwoPi;
  std::string text = FormatAngle(options.azimFormat, options.precision, angle);
  if (angle < 0.0L) text.insert(text.begin(), '-');
  return text;
}

std::string FormatDistance(const DisplayOptions& options, const EarthModel& E, long double angle,
                           bool withUnit) {
  const int units = Clamped(options.distUnits, DistUnitsCount);
  const int precision = Clamped(options.precision, PrecisionCount);
  const DistUnitInfo& unit = DistUnitTable[units];
  const bool degrees = units == Index(DistUnits::Degrees);
  long double value = 0.0L;
  int decimals = 2 * precision;
  if (degrees) {
    value = angle / DegToRad;
    decimals += 2;
  } else {
    value = angle * E.shape.spherRadius / unit.kmPerUnit;
  }
  std::string text = FixedText(value, decimals);
  if (withUnit) {
    if (!degrees) text += ' ';
    text += unit.suffix;
  }
  return TrimBlanks(text);
}

std::string FixName(const FixRecord& fix) { return fix.name.Str(); }

std::string FixText(const DisplayOptions& options, const EarthModel& E, const FixRecord& fix) {
  if (!fix.valid) return {};
  const std::string_view name = fix.name.View();
  const std::size_t slash = name.find('/');
  std::string row;
  row.reserve(RowReserve);
  if (slash == std::string_view::npos) {
    row = name;
    if (row.size() < NameColumn) row.append(NameColumn - row.size(), ' ');
  } else {
    // The suffix after the "/" ends in the last column of the name.
    const std::size_t suffixLength = name.size() - slash - 1;
    const std::size_t baseWidth = NameColumn > suffixLength ? NameColumn - suffixLength : 0;
    row = name.substr(0, slash);
    if (row.size() < baseWidth) row.append(baseWidth - row.size(), ' ');
    row += name.substr(slash + 1);
  }
  AppendLatLon(row, options, E, fix, options.precision);
  return row;
}

std::string FixFileLine(const DisplayOptions& options, const EarthModel& E, const FixRecord& fix) {
  std::string line;
  line.reserve(RowReserve);
  AppendLatLon(line, options, E, fix, Accuracy::High);
  line += ' ';
  line += fix.name.View();
  return line;
}

}  // namespace navorix
