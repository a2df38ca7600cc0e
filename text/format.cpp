// Formatting of angles, positions, azimuths, distances and fix rows.
//
// Notation:
//   F, P   format 0..3 and accuracy 0..2 (clamped to those ranges)
//   S      AngleScale[F][P], units per degree; U = S / 60 units per minute
//   N      |angle| in units, rounded once, half to even
//   D, M   whole degrees and minutes of N; Sec whole seconds; R the rest
#include "text/format.h"

#include <algorithm>
#include <cmath>

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

// x >= 0 rounded to the nearest integer, an exact half to the even one.
// x - floor(x) is exact in binary floating point, so the tie test is too.
std::int64_t RoundHalfEven(long double x) {
  const long double whole = std::floor(x);
  const long double rest = x - whole;
  auto n = static_cast<std::int64_t>(whole);
  if (rest > 0.5L || (rest == 0.5L && n % 2 != 0)) ++n;
  return n;
}

}  // namespace

std::string NumText(std::int32_t Value, int Width, bool Zeros) {
  const std::int64_t wide = Value;
  const std::string digits = std::to_string(wide < 0 ? -wide : wide);
  const std::size_t width = static_cast<std::size_t>(std::max(Width, 0));
  if (!Zeros) return PadLeft(wide < 0 ? "-" + digits : digits, width, ' ');
  if (wide >= 0) return PadLeft(digits, width, '0');
  return "-" + PadLeft(digits, width > 0 ? width - 1 : 0, '0');
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
  const long double lat = PosLat(E, Fix.Position);
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
  const std::string latText = withLetter(FormatAngle(format, Accuracy, lat), south ? 'S' : 'N');
  const std::string lonText = withLetter(FormatAngle(format, Accuracy, lon), west ? 'W' : 'E');
  return PadLeft(latText, LatitudeField, ' ') + PadLeft(lonText, LongitudeField, ' ');
}

std::string FormatAzimuth(const TDisplayOptions& Options, long double Angle) {
  if (Options.AzimRange == TAzimRange::Zero360 && Angle < 0.0L) Angle += TwoPi;
  std::string text = FormatAngle(Options.AzimFormat, Options.Precision, Angle);
  if (Angle < 0.0L) text.insert(text.begin(), '-');
  return text;
}

std::string FormatDistance(const TDisplayOptions& Options, const TEarthModel& E, long double Angle,
                           bool WithUnit) {
  const int units = Clamped(Options.DistUnits, DistUnitsCount);
  const int precision = Clamped(Options.Precision, PrecisionCount);
  const TDistUnitInfo& unit = DistUnitTable[units];
  const bool degrees = units == Index(TDistUnits::Degrees);
  long double value = 0.0L;
  int decimals = 2 * precision;
  if (degrees) {
    value = Angle / DegToRad;
    decimals += 2;
  } else {
    value = Angle * E.Shape.SpherRadius / unit.KmPerUnit;
  }
  std::string text = FixedText(value, decimals);
  if (WithUnit) {
    if (!degrees) text += ' ';
    text += unit.Suffix;
  }
  return TrimBlanks(text);
}

std::string FixName(const FixRecord& Fix) { return Fix.Name.Str(); }

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
  return column + FormatLatLon(Options, E, Fix, Options.Precision);
}

std::string FixFileLine(const TDisplayOptions& Options, const TEarthModel& E, const FixRecord& Fix) {
  return FormatLatLon(Options, E, Fix, TAccuracy::High) + " " + FixName(Fix);
}

}  // namespace navorix
