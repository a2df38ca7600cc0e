// The faster text routines against their previous implementations
// (previous_text.h), on random inputs and on the cases where a shortcut
// could slip: coordinate texts in every format and accuracy, in both
// latitude modes, must be the same character for character, and every fix
// line must read to the same fix, its position the same to the last bit.
//
// The latitude shortcut: PosLatDirect stays within DirectLatBound of the
// previous PosLat (1e-15 rad for the default Earth; measured below 1e-18),
// and the rounding ties of typed positions, which the direct latitude alone
// rounds the other way now and then, still print as before.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/earth_model.h"
#include "geometry/numeric.h"
#include "tests/text/previous_text.h"
#include "text/decimal.h"
#include "text/fix_names.h"
#include "text/format.h"
#include "text/parse.h"
#include "text/text_helpers.h"

namespace navorix::testing {
namespace {

constexpr int RandomPositions = 4000;
constexpr int TiesPerCase = 150;
constexpr int MutatedLines = 40000;

std::string Scientific(long double v) {
  std::ostringstream out;
  out << std::scientific << std::setprecision(2) << static_cast<double>(v);
  return out.str();
}

// Both numbers the same to the last bit, a zero's sign included.
bool SameBits(long double a, long double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return a == b && std::signbit(a) == std::signbit(b);
}

std::string VectorText(const Vector3& V) {
  return "(" + DecimalText(V.x) + ", " + DecimalText(V.y) + ", " + DecimalText(V.z) + ")";
}

// The Earth models the texts are checked under: the built-in one in both
// latitude modes, and a very flat ellipsoid, whose latitude conversion
// magnifies every rounding.
std::vector<EarthModel> Models() {
  EarthModel elliptic;
  EarthModel spherical;
  spherical.ellipticLat = false;
  EarthModel flat;
  flat.shape = EarthShape(DefaultSpherRadius, 600.0L, DefaultEquatRadius);
  return {elliptic, spherical, flat};
}

// Positions uniform on the sphere, typed as latitude and longitude, and
// unit vectors that no typed latitude gives, with bands near the poles and
// the equator, where the latitude formulas change character.
class PositionSource {
 public:
  explicit PositionSource(std::uint64_t seed) : random_(seed) {}

  Vector3 Typed(const EarthModel& E) {
    const long double lat = std::asin(Uniform(-1.0L, 1.0L));
    return PosFromLatLon(E, lat, Uniform(-Pi, Pi));
  }
  Vector3 Vector() {
    const long double lon = Uniform(-Pi, Pi);
    long double z = Uniform(-1.0L, 1.0L);
    switch (Index(5)) {
      case 0:  // within 2^-k of a pole
        z = std::copysign(1.0L - std::ldexp(Uniform(0.0L, 1.0L), -Index(60)), z);
        break;
      case 1:  // within 2^-k of the equator
        z = std::ldexp(z, -Index(60));
        break;
      default:
        break;
    }
    const long double c = std::sqrt(1.0L - z * z);
    return {c * std::cos(lon), c * std::sin(lon), z};
  }
  long double Uniform(long double from, long double to) {
    return std::uniform_real_distribution<long double>(from, to)(random_);
  }
  int Index(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

 private:
  std::mt19937_64 random_;
};

FixRecord FixAtPosition(const Vector3& P, const std::string& name = "F1/AB") {
  FixRecord fix;
  fix.position = P;
  fix.name = name;
  fix.valid = true;
  return fix;
}

// Every coordinate text of the fix, now and before, in every format and
// accuracy, with the rows and file lines; the first difference fails.
void ExpectSameTexts(const EarthModel& E, const FixRecord& fix) {
  DisplayOptions options;
  for (int f = 0; f < LatLonFormatCount; ++f) {
    options.latLonFormat = static_cast<AngleFormat>(f);
    for (int p = 0; p < PrecisionCount; ++p) {
      const auto accuracy = static_cast<Accuracy>(p);
      options.precision = accuracy;
      ASSERT_EQ(FormatLatLon(options, E, fix, accuracy), previous::FormatLatLon(options, E, fix, accuracy))
          << "format " << f << " accuracy " << p << " at " << VectorText(fix.position);
      ASSERT_EQ(FixText(options, E, fix), previous::FixText(options, E, fix));
    }
    ASSERT_EQ(FixFileLine(options, E, fix), previous::FixFileLine(options, E, fix));
  }
}

std::int64_t Count(long double angle, std::int64_t perDegree) {
  return previous::RoundHalfEven(std::fabs(angle) * RadToDeg * static_cast<long double>(perDegree));
}

TEST(AgainstPrevious, DirectLatitudeStaysWithinItsBound) {
  PositionSource positions(20261210);
  int model = 0;
  for (const EarthModel& E : Models()) {
    long double largest = 0.0L;
    for (int i = 0; i < 20000; ++i) {
      const Vector3 P = i % 2 == 0 ? positions.Typed(E) : positions.Vector();
      const long double now = PosLatDirect(E, P);
      const long double before = previous::PosLat(E, P);
      ASSERT_EQ(std::signbit(now), std::signbit(before)) << VectorText(P);
      largest = std::fmax(largest, std::fabs(now - before));
    }
    for (const Vector3& P : {NorthPoleVec, SouthPoleVec, Vector3{1.0L, 0.0L, 0.0L},
                             Vector3{1.0L, 0.0L, -0.0L}, Vector3{0.0L, 0.0L, 1.0L + 0x1p-63L}}) {
      EXPECT_TRUE(SameBits(PosLatDirect(E, P), previous::PosLat(E, P))) << VectorText(P);
    }
    // The bound holds with three orders of magnitude to spare.
    EXPECT_LE(largest, DirectLatBound(E.shape) / 1000.0L);
    ::testing::Test::RecordProperty("largest_rad_model_" + std::to_string(model++), Scientific(largest));
  }
}

TEST(AgainstPrevious, CoordinateTextsOnRandomPositions) {
  PositionSource positions(20261211);
  for (const EarthModel& E : Models()) {
    for (int i = 0; i < RandomPositions; ++i) {
      const Vector3 P = i % 3 == 0 ? positions.Vector() : positions.Typed(E);
      ASSERT_NO_FATAL_FAILURE(ExpectSameTexts(E, FixAtPosition(P)));
    }
  }
}

// The text of a latitude typed exactly half a counting unit (1/S degree)
// above units / S degrees, in degrees, minutes and seconds with as many
// decimals of a second as the half needs (at most four: every S divides
// 18 000 000, so the half is a whole number of 1/10000 second).
std::string TieText(std::int64_t units, std::int64_t S) {
  constexpr std::int64_t TenThousandthsPerDegree = 36000000;
  const std::int64_t t = (2 * (units % S) + 1) * (TenThousandthsPerDegree / 2) / S;
  const std::int64_t seconds = t / 10000;
  return std::to_string(units / S) + "\xB0" + PadLeft(std::to_string(seconds / 60), 2, '0') + "'" +
         PadLeft(std::to_string(seconds % 60), 2, '0') + "." + PadLeft(std::to_string(t % 10000), 4, '0') +
         "\"";
}

// Positions typed at the rounding ties of every format and accuracy, the
// way a user or a fix file types them: the shown latitude lands within a
// few units of the last place of the tie, so its last bits decide the digit.
// The direct latitude alone decides some of them the other way; the texts
// must not change.
TEST(AgainstPrevious, CoordinateTextsAtRoundingTies) {
  PositionSource positions(20261212);
  int directFlips = 0;
  int ties = 0;
  for (const EarthModel& E : Models()) {
    for (int f = 0; f < LatLonFormatCount; ++f) {
      for (int p = 0; p < PrecisionCount; ++p) {
        const std::int64_t perDegree = AngleScale[f][p];
        for (int i = 0; i < TiesPerCase; ++i) {
          const auto units =
              static_cast<std::int64_t>(positions.Uniform(0.0L, 89.0L) * static_cast<long double>(perDegree));
          const std::string line = TieText(units, perDegree) + (i % 2 == 0 ? "N " : "S ") +
                                   FixedText(positions.Uniform(-179.0L, 179.0L), 6) + " TIE";
          FixRecord fix;
          ParseFixLine(PlusDir::NorthEast, E, fix, line);
          ASSERT_TRUE(fix.valid) << line;
          ++ties;
          const long double direct = PosLatDirect(E, fix.position);
          const long double before = previous::PosLat(E, fix.position);
          if (Count(direct, perDegree) != Count(before, perDegree)) ++directFlips;
          ASSERT_NO_FATAL_FAILURE(ExpectSameTexts(E, fix)) << line;
        }
      }
    }
  }
  // The ties are real knife edges: without the fall-back, texts would change.
  EXPECT_GT(directFlips, 0);
  ::testing::Test::RecordProperty("ties", std::to_string(ties));
  ::testing::Test::RecordProperty("direct_latitude_flips", std::to_string(directFlips));
}

// Reads line now and before under every PlusDir and compares the fixes.
void ExpectSameFix(const EarthModel& E, const std::string& line) {
  for (int d = 0; d < PlusDirCount; ++d) {
    const auto plusDir = static_cast<PlusDir>(d);
    FixRecord now;
    FixRecord before;
    ParseFixLine(plusDir, E, now, line);
    previous::ParseFixLine(plusDir, E, before, line);
    ASSERT_EQ(now.valid, before.valid) << line;
    ASSERT_EQ(now.name.View(), before.name.View()) << line;
    ASSERT_TRUE(SameBits(now.position.x, before.position.x) && SameBits(now.position.y, before.position.y) &&
                SameBits(now.position.z, before.position.z))
        << line << ": " << VectorText(now.position) << " was " << VectorText(before.position);
  }
}

// Fix lines as the program writes them, in every format, and at the lower
// accuracies as a user might type them, with names that need fitting.
TEST(AgainstPrevious, FixLinesAsWritten) {
  PositionSource positions(20261213);
  const char* names[] = {"F1",  "NOVOSIBIRSK/RUS", "ABCDEFGHIJKLMNOPQ", "A/BCDEFGHIJKLMNOP", "kilo/x", "MID/",
                         "X//Y"};
  for (const EarthModel& E : Models()) {
    DisplayOptions options;
    for (int i = 0; i < 3000; ++i) {
      options.latLonFormat = static_cast<AngleFormat>(i % LatLonFormatCount);
      const FixRecord fix = FixAtPosition(positions.Typed(E));
      const auto accuracy = static_cast<Accuracy>(positions.Index(PrecisionCount));
      const std::string line =
          previous::FormatLatLon(options, E, fix, accuracy) + " " + names[positions.Index(std::size(names))];
      ASSERT_NO_FATAL_FAILURE(ExpectSameFix(E, line));
      ASSERT_NO_FATAL_FAILURE(ExpectSameFix(E, previous::FixFileLine(options, E, fix)));
    }
  }
}

// Every value of the fields of the written forms whose parts the one-pass
// reader takes from tables instead of dividing: minutes and seconds with
// their hundredths of Deg/Min/Sec, and the three fields of the infix form.
TEST(AgainstPrevious, FixLinesWithEveryValueOfTheTabledFields) {
  const EarthModel E;
  char line[64];
  for (int a = 0; a < 100; ++a) {
    for (int b = 0; b < 100; ++b) {
      const int c = (a * 37 + b * 11) % 100;
      if (a < 60) {
        std::snprintf(line, sizeof line, "12\xB0%02d'%02d.%02d\"S 123\xB0%02d'%02d.%02d\"W F", c % 60, a, b,
                      (a + b) % 60, a, 99 - b);
        ASSERT_NO_FATAL_FAILURE(ExpectSameFix(E, line));
      }
      std::snprintf(line, sizeof line, "12N%02d%02d%02d 7W%02d%02d%02d F", a, b, c, c, a, b);
      ASSERT_NO_FATAL_FAILURE(ExpectSameFix(E, line));
    }
  }
}

// Written lines with characters replaced, inserted or removed, so that the
// one-pass reader of written texts meets every near miss of its forms: a
// sixtieth minute, a fourth degree digit, a missing mark, a sign, a small
// letter, a tab, an extra blank.
TEST(AgainstPrevious, FixLinesNearTheWrittenForms) {
  PositionSource positions(20261214);
  const std::string alphabet = "0123456789.\xB0'\"NSEWnsewDd\xF6+- \t";
  const EarthModel E;
  DisplayOptions options;
  for (int i = 0; i < MutatedLines; ++i) {
    options.latLonFormat = static_cast<AngleFormat>(i % LatLonFormatCount);
    std::string line = previous::FixFileLine(options, E, FixAtPosition(positions.Typed(E), "KILO/3"));
    const int edits = 1 + positions.Index(2);
    for (int k = 0; k < edits; ++k) {
      const auto at = static_cast<std::size_t>(positions.Index(static_cast<int>(line.size())));
      const char c = alphabet[static_cast<std::size_t>(positions.Index(static_cast<int>(alphabet.size())))];
      switch (positions.Index(3)) {
        case 0:
          line[at] = c;
          break;
        case 1:
          line.insert(at, 1, c);
          break;
        default:
          line.erase(at, 1);
          break;
      }
    }
    ASSERT_NO_FATAL_FAILURE(ExpectSameFix(E, line));
  }
}

// Angles of every size at every format and accuracy, rounding ties and
// counts beyond 2^61 (which are rounded another way) included.
TEST(AgainstPrevious, AngleTexts) {
  PositionSource positions(20261216);
  std::vector<long double> angles = {0.0L, -0.0L, std::nanl(""), HUGE_VALL, -HUGE_VALL, 1e30L, Pi, -HalfPi};
  for (int i = 0; i < 3000; ++i) angles.push_back(positions.Uniform(-10.0L, 10.0L));
  for (int f = 0; f < LatLonFormatCount; ++f) {
    for (int p = 0; p < PrecisionCount; ++p) {
      const auto perDegree = static_cast<long double>(AngleScale[f][p]);
      for (int i = 0; i < 200; ++i) {
        angles.push_back((std::floor(positions.Uniform(0.0L, 400.0L) * perDegree) + 0.5L) / perDegree *
                         DegToRad);
      }
      // Around the counts 2^61 and 2^62 and the largest count that is split.
      for (long double count : {0x1p61L, 0x1p62L, 9.0e18L}) {
        for (int k = -3; k <= 3; ++k) {
          angles.push_back((count + 0.5L * static_cast<long double>(k)) / perDegree / RadToDeg);
        }
      }
    }
  }
  for (const long double angle : angles) {
    for (int f = 0; f < LatLonFormatCount; ++f) {
      for (int p = 0; p < PrecisionCount; ++p) {
        const auto format = static_cast<AngleFormat>(f);
        const auto accuracy = static_cast<Accuracy>(p);
        ASSERT_EQ(FormatAngle(format, accuracy, angle), previous::FormatAngle(format, accuracy, angle))
            << DecimalText(angle) << " format " << f << " accuracy " << p;
      }
    }
  }
}

TEST(AgainstPrevious, DecimalTextsNamesAndSquashing) {
  std::mt19937_64 random(20261215);
  auto text = [&random](const std::string& alphabet, int longest) {
    std::string t(std::uniform_int_distribution<std::size_t>(0, static_cast<std::size_t>(longest))(random),
                  ' ');
    for (char& c : t)
      c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
    return t;
  };
  for (int i = 0; i < 100000; ++i) {
    // Mostly digits and points, so that many texts are numbers, some of them
    // with 19 or 20 digits, leading zeros or no digit at all.
    const std::string number = text(i % 2 == 0 ? "0123456789." : "0000123456789.+- eE", 24);
    long double now = 0.0L;
    long double before = 0.0L;
    const bool readNow = ReadDecimal(number, now);
    ASSERT_EQ(readNow, previous::ReadDecimal(number, before)) << number;
    if (readNow) {
      ASSERT_TRUE(SameBits(now, before)) << number;
    }
    std::string name = text("AB/ 1c", 22);
    std::string fittedBefore = name;
    FitFixName(name);
    previous::FitFixName(fittedBefore);
    ASSERT_EQ(name, fittedBefore);
    const std::string raw = text(
        " \t\x01"
        "aZz\xE0\xF7\xFE\xFF",
        12);
    ASSERT_EQ(SquashBlanks(raw, true), previous::SquashBlanks(raw, true));
    ASSERT_EQ(SquashBlanks(raw, false), previous::SquashBlanks(raw, false));
  }
}

}  // namespace
}  // namespace navorix::testing
