#include "text/format.h"

#include <gtest/gtest.h>

#include <string>

#include "text/text_helpers.h"
#include "text_test_support.h"

namespace navorix {
namespace {

using testing::Dms;
using testing::FixAt;

class FormatTest : public testing::TextTest {};

// 29 33'10.32"N 175 18'33.44"W, the worked position.
FixRecord WorkedFix() { return FixAt(Dms(29, 33, 10.32L), -Dms(175, 18, 33.44L)); }

TEST_F(FormatTest, WorkedPositionInEveryFormatAndAccuracy) {
  const char* expected[4][3] = {
      {"       29.55\xB0N       175.31\xB0W", "     29.5529\xB0N     175.3093\xB0W",
       "   29.552867\xB0N   175.309289\xB0W"},
      {"       29\xB0"
       "33'N       175\xB0"
       "19'W",
       "    29\xB0"
       "33.17'N    175\xB0"
       "18.56'W",
       "  29\xB0"
       "33.1720'N  175\xB0"
       "18.5573'W"},
      {"       29\xB0"
       "33'N       175\xB0"
       "19'W",
       "    29\xB0"
       "33'10\"N    175\xB0"
       "18'33\"W",
       " 29\xB0"
       "33'10.32\"N 175\xB0"
       "18'33.44\"W"},
      {"         29N33         175W19", "       29N3310       175W1833", "     29N331032     175W183344"},
  };
  const FixRecord fix = WorkedFix();
  for (int format = 0; format < 4; ++format) {
    Set(options.latLonFormat, format);
    for (int accuracy = 0; accuracy < 3; ++accuracy) {
      const std::string text = FormatLatLon(fix, accuracy);
      EXPECT_EQ(text, expected[format][accuracy]) << "format " << format << " accuracy " << accuracy;
      EXPECT_EQ(text.size(), 29u);
    }
  }
}

TEST_F(FormatTest, AzimuthTable) {
  const char* expected[3][3] = {
      {"123.46\xB0", "123.4568\xB0", "123.456789\xB0"},
      {"123\xB0"
       "27'",
       "123\xB0"
       "27.41'",
       "123\xB0"
       "27.4073'"},
      {"123\xB0"
       "27'",
       "123\xB0"
       "27'24\"",
       "123\xB0"
       "27'24.44\""},
  };
  for (int format = 0; format < 3; ++format) {
    for (int precision = 0; precision < 3; ++precision) {
      Set(options.azimFormat, format);
      Set(options.precision, precision);
      EXPECT_EQ(FormatAzimuth(123.456789L * DegToRad), expected[format][precision]);
    }
  }
}

TEST_F(FormatTest, NegativeAzimuthFollowsTheRange) {
  Set(options.azimRange, 1);
  EXPECT_EQ(FormatAzimuth(-45.0L * DegToRad), "315.00\xB0");
  Set(options.azimRange, 0);
  EXPECT_EQ(FormatAzimuth(-45.0L * DegToRad), "-45.00\xB0");
  // A hair below zero is a full circle in the 0..360 range.
  Set(options.azimRange, 1);
  Set(options.azimFormat, 2);
  Set(options.precision, 2);
  EXPECT_EQ(FormatAzimuth(-1e-9L),
            "360\xB0"
            "00'00.00\"");
}

TEST_F(FormatTest, DistanceTableForATenthOfARadian) {
  const char* expected[4][3] = {
      {"637 km", "636.74 km", "636.7436 km"},
      {"396 mi", "395.65 mi", "395.6541 mi"},
      {"344 nm", "343.81 nm", "343.8140 nm"},
      {"5.73\xB0", "5.7296\xB0", "5.729578\xB0"},
  };
  for (int units = 0; units < 4; ++units) {
    for (int precision = 0; precision < 3; ++precision) {
      Set(options.distUnits, units);
      Set(options.precision, precision);
      EXPECT_EQ(FormatDistance(0.1L, true), expected[units][precision]);
    }
  }
  Set(options.distUnits, 0);
  Set(options.precision, 1);
  EXPECT_EQ(FormatDistance(0.1L, false), "636.74");
}

TEST_F(FormatTest, DistanceInDegreesIgnoresTheRadius) {
  Set(options.distUnits, 3);
  Set(options.precision, 2);
  const std::string before = FormatDistance(0.1L, true);
  earth.shape = EarthShape(1000.0L, DefaultPolarRadius, DefaultEquatRadius);
  EXPECT_EQ(FormatDistance(0.1L, true), before);
  Set(options.distUnits, 0);
  EXPECT_EQ(FormatDistance(0.1L, true), "100.0000 km");
}

TEST_F(FormatTest, DistanceKeepsSignAndHandlesLongChains) {
  Set(options.precision, 1);
  EXPECT_EQ(FormatDistance(-0.1L, true), "-636.74 km");
  // An accumulated chain far beyond pi.
  EXPECT_EQ(FormatDistance(100.0L, false), "636743.57");
  EXPECT_EQ(FormatDistance(0.0L, true), "0.00 km");
}

TEST_F(FormatTest, AngleRoundsOnceSoNoFieldShowsSixty) {
  EXPECT_EQ(FormatAngle(2, 1, Dms(29, 59, 59.7L) * DegToRad),
            "30\xB0"
            "00'00\"");
  EXPECT_EQ(FormatAngle(1, 1, Dms(29, 59.996L, 0) * DegToRad),
            "30\xB0"
            "00.00'");
  EXPECT_EQ(FormatAngle(0, 0, 29.999L * DegToRad), "30.00\xB0");
  EXPECT_EQ(FormatAngle(3, 2, Dms(29, 59, 59.996L) * DegToRad),
            "30\xB0"
            "000000");
  // Low accuracy prints whole minutes in both minute formats.
  EXPECT_EQ(FormatAngle(1, 0, Dms(10, 20, 31) * DegToRad),
            "10\xB0"
            "21'");
  EXPECT_EQ(FormatAngle(2, 0, Dms(10, 20, 31) * DegToRad),
            "10\xB0"
            "21'");
  // The sign is dropped.
  EXPECT_EQ(FormatAngle(0, 1, -12.5L * DegToRad), "12.5000\xB0");
  // Infix layout without a letter, as an azimuth format 3 from a settings file.
  EXPECT_EQ(FormatAngle(3, 1, Dms(123, 27, 24) * DegToRad),
            "123\xB0"
            "2724");
}

// Angles whose scaled value is an exact half in 80-bit arithmetic must go to
// the even count, both from an even and from an odd floor.
TEST_F(FormatTest, AngleExactHalfGoesToEven) {
  int evenTies = 0;
  int oddTies = 0;
  for (int k = 0; k < 4000 && (evenTies < 3 || oddTies < 3); ++k) {
    const long double half = static_cast<long double>(k) + 0.5L;
    const long double angle = half / 100.0L * DegToRad;
    if (angle * RadToDeg * 100.0L != half) continue;
    const int even = k % 2 == 0 ? k : k + 1;
    const std::string expected =
        std::to_string(even / 100) + "." + PadLeft(std::to_string(even % 100), 2, '0') + "\xB0";
    EXPECT_EQ(FormatAngle(0, 0, angle), expected) << "k = " << k;
    (k % 2 == 0 ? evenTies : oddTies) += 1;
  }
  EXPECT_GE(evenTies, 3);
  EXPECT_GE(oddTies, 3);
}

TEST_F(FormatTest, HemisphereLetterFollowsTheUnroundedSign) {
  Set(options.latLonFormat, 0);
  EXPECT_EQ(FormatLatLon(FixAt(0, -0.004L), 0), "        0.00\xB0N         0.00\xB0W");
  EXPECT_EQ(FormatLatLon(FixAt(-0.004L, 0), 0),
            "        0.00\xB0S         0.00\xB0"
            "E");
  EXPECT_EQ(FormatLatLon(FixAt(0, 0), 0),
            "        0.00\xB0N         0.00\xB0"
            "E");
}

TEST_F(FormatTest, PolesAndAntimeridian) {
  Set(options.latLonFormat, 2);
  EXPECT_EQ(FormatLatLon(FixAt(-89.99999L, 10), 2).substr(0, 14),
            " 89\xB0"
            "59'59.96\"S");
  EXPECT_EQ(FormatLatLon(FixAt(0, 180), 2).substr(15),
            "180\xB0"
            "00'00.00\"E");
  EXPECT_EQ(FormatLatLon(FixAt(0, -180), 2).substr(15),
            "180\xB0"
            "00'00.00\"W");
  // A fix typed at a pole keeps its longitude.
  EXPECT_EQ(FormatLatLon(FixAt(90, -75.5L), 1),
            "    90\xB0"
            "00'00\"N     75\xB0"
            "30'00\"W");
  EXPECT_EQ(FormatLatLon(FixAt(-90, 33), 0),
            "       90\xB0"
            "00'S        33\xB0"
            "00'E");
  // The longest texts still leave a blank in front of each field.
  const std::string wide = FormatLatLon(FixAt(-89.99999L, -179.99999L), 2);
  EXPECT_EQ(wide,
            " 89\xB0"
            "59'59.96\"S 179\xB0"
            "59'59.96\"W");
}

TEST_F(FormatTest, NumText) {
  EXPECT_EQ(NumText(5, 3, false), "  5");
  EXPECT_EQ(NumText(5, 3, true), "005");
  EXPECT_EQ(NumText(123456, 2, true), "123456");
  EXPECT_EQ(NumText(0, 1, false), "0");
  EXPECT_EQ(NumText(-5, 3, true), "-05");
  EXPECT_EQ(NumText(-5, 3, false), " -5");
  EXPECT_EQ(NumText(-2147483647 - 1, 0, false), "-2147483648");
}

TEST_F(FormatTest, FixRowsAndFileLines) {
  FixRecord fix = WorkedFix();
  fix.name = "MIDPOINT/NEW";
  const std::string row = FixText(fix);
  EXPECT_EQ(row,
            "MIDPOINT     NEW       29\xB0"
            "33'N       175\xB0"
            "19'W");
  EXPECT_EQ(row.size(), 45u);
  fix.name = "ABCDEFGHIJKLMNOP";
  EXPECT_EQ(FixText(fix).substr(0, 17), "ABCDEFGHIJKLMNOP ");
  fix.name = "A/BCDEFGHIJKLMN";
  EXPECT_EQ(FixText(fix).substr(0, 16), "A  BCDEFGHIJKLMN");
  fix.name = "KILO";
  EXPECT_EQ(FixText(fix).substr(0, 16), "KILO            ");
  fix.valid = false;
  EXPECT_EQ(FixText(fix), "");

  fix = WorkedFix();
  fix.name = "NOVOSIBIRSK/RUS";
  EXPECT_EQ(FixFileLine(fix),
            " 29\xB0"
            "33'10.32\"N 175\xB0"
            "18'33.44\"W NOVOSIBIRSK/RUS");
  Set(options.precision, 0);  // file lines are always written at High accuracy
  Set(options.latLonFormat, 3);
  EXPECT_EQ(FixFileLine(fix), "     29N331032     175W183344 NOVOSIBIRSK/RUS");
  EXPECT_EQ(FixName(fix), "NOVOSIBIRSK/RUS");
}

TEST_F(FormatTest, DamagedOptionValuesStayInsideTheTables) {
  Set(options.latLonFormat, 200);
  Set(options.precision, 9);
  Set(options.distUnits, 77);
  Set(options.azimFormat, 5);
  EXPECT_EQ(FormatLatLon(WorkedFix(), 7), "     29N331032     175W183344");
  EXPECT_EQ(FormatDistance(0.1L, true), "5.729578\xB0");
  EXPECT_EQ(FormatAzimuth(0.0L),
            "0\xB0"
            "000000");
  EXPECT_EQ(FormatAngle(0, 0, 1e30L), "?");
}

TEST(TextHelpers, SquashAndPad) {
  EXPECT_EQ(SquashBlanks("  29N33   175W19 \t kilo  \r\n", false), "29N33 175W19 \t kilo");
  EXPECT_EQ(SquashBlanks(" ab\xE4\xF6\xF7\xF8\xFE\xFF ", true), "AB\xC4\xD6\xF7\xD8\xDE\xFF");
  EXPECT_EQ(SquashBlanks("", true), "");
  EXPECT_EQ(SquashBlanks(" \t ", true), "");
  EXPECT_EQ(PadLeft("ab", 4, '*'), "**ab");
  EXPECT_EQ(PadRight("ab", 4, '*'), "ab**");
  EXPECT_EQ(PadLeft("abcde", 4, '*'), "abcde");
  EXPECT_EQ(ReplaceChar('.', ',', "1.2.3"), "1,2,3");
  EXPECT_EQ(AppendChar("29", DegreeSign), "29\xB0");
}

}  // namespace
}  // namespace navorix
