#include "text/parse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "text/format.h"
#include "text_test_support.h"

namespace navorix {
namespace {

using testing::Dms;
using testing::FixAt;

class ParseTest : public testing::TextTest {
 protected:
  // Degrees read by ParseCoord, or NaN when the text does not read.
  long double CoordDeg(const std::string& text, int axis) const {
    long double radians = 0.0L;
    if (!ParseCoord(text, axis, radians)) return std::nanl("");
    return radians / DegToRad;
  }
};

constexpr long double Tight = 1e-15L;  // degrees; far below every printed unit

TEST_F(ParseTest, CoordTableNorthEast) {
  const long double worked = Dms(29, 33, 10.32L);
  EXPECT_NEAR_LD(CoordDeg("29\xB0"
                          "33'10.32\"N",
                          0),
                 worked, Tight);
  EXPECT_NEAR_LD(CoordDeg("29N331032", 0), worked, Tight);
  EXPECT_NEAR_LD(CoordDeg("29.552867", 0), 29.552867L, Tight);
  EXPECT_NEAR_LD(CoordDeg("-29.5", 0), -29.5L, Tight);
  EXPECT_NEAR_LD(CoordDeg("29D33.172'S", 0), -Dms(29, 33.172L, 0), Tight);
  EXPECT_NEAR_LD(CoordDeg("29\xB0"
                          "33'",
                          0),
                 29.55L, Tight);
  EXPECT_NEAR_LD(CoordDeg("29\xB0"
                          "33",
                          0),
                 29.55L, Tight);
  EXPECT_NEAR_LD(CoordDeg("29\xB0", 0), 29.0L, Tight);
  EXPECT_NEAR_LD(CoordDeg("175W183344", 1), -Dms(175, 18, 33.44L), Tight);
  EXPECT_TRUE(
      std::isnan(CoordDeg("29\xB0"
                          "33'10",
                          0)));  // seconds without their mark
  EXPECT_TRUE(
      std::isnan(CoordDeg("29\xB0"
                          "3",
                          0)));  // one minute digit
  EXPECT_TRUE(
      std::isnan(CoordDeg("29\xB0"
                          "335",
                          0)));                 // one digit after the minutes
  EXPECT_TRUE(std::isnan(CoordDeg("N29", 0)));  // degrees empty
}

TEST_F(ParseTest, PlusDirDecidesSignsAndBareNumbers) {
  Set(options.plusDir, 2);  // South-East
  EXPECT_NEAR_LD(CoordDeg("+29", 0), -29.0L, Tight);
  EXPECT_NEAR_LD(CoordDeg("29", 0), -29.0L, Tight);
  EXPECT_NEAR_LD(CoordDeg("-29", 0), 29.0L, Tight);
  EXPECT_NEAR_LD(CoordDeg("29N", 0), 29.0L, Tight);  // letters are absolute
  EXPECT_NEAR_LD(CoordDeg("+10", 1), 10.0L, Tight);
  Set(options.plusDir, 1);  // North-West
  EXPECT_NEAR_LD(CoordDeg("10", 1), -10.0L, Tight);
  EXPECT_NEAR_LD(CoordDeg("-10", 1), 10.0L, Tight);
  EXPECT_NEAR_LD(CoordDeg("10", 0), 10.0L, Tight);
  Set(options.plusDir, 3);  // South-West
  EXPECT_NEAR_LD(CoordDeg("10", 0), -10.0L, Tight);
  EXPECT_NEAR_LD(CoordDeg("+10", 1), -10.0L, Tight);
  EXPECT_NEAR_LD(CoordDeg("10E", 1), 10.0L, Tight);
}

TEST_F(ParseTest, DmsForms) {
  long double a = 0.0L;
  long double b = 0.0L;
  ASSERT_TRUE(
      ParseDMS("29\xB0"
               "33'10\"",
               a));
  ASSERT_TRUE(
      ParseDMS("29\xB0"
               "3310",
               b));
  EXPECT_EQ(a, b);
  ASSERT_TRUE(
      ParseDMS("29\xB0"
               "75",
               a));  // compact minutes are not range-checked
  EXPECT_NEAR_LD(a, 30.25L, Tight);
  EXPECT_FALSE(
      ParseDMS("29\xB0"
               "60'",
               a));  // marked minutes are
  EXPECT_FALSE(
      ParseDMS("29\xB0"
               "10'60\"",
               a));
  EXPECT_FALSE(
      ParseDMS("29\xB0"
               "10'5\"x",
               a));  // text after the second mark
  EXPECT_FALSE(
      ParseDMS("29\xB0"
               "10'\"",
               a));
  EXPECT_FALSE(
      ParseDMS("29\xB0"
               "-5'",
               a));
  EXPECT_FALSE(
      ParseDMS("29\xB0"
               "+5",
               a));  // compact fields are digits only
  ASSERT_TRUE(
      ParseDMS("29\xB0"
               "59.5'",
               a));
  EXPECT_NEAR_LD(a, Dms(29, 59.5L, 0), Tight);
  // Digits after the seconds continue as decimals of a second.
  ASSERT_TRUE(ParseDMS("29D3310325", a));
  EXPECT_NEAR_LD(a, Dms(29, 33, 10.325L), Tight);
  ASSERT_TRUE(ParseDMS("1.5E1", a));
  EXPECT_EQ(a, 15.0L);
  // The sign of the degrees belongs to the whole angle.
  ASSERT_TRUE(
      ParseDMS("-29\xB0"
               "30'",
               a));
  EXPECT_NEAR_LD(a, -29.5L, Tight);
  ASSERT_TRUE(
      ParseDMS("-0\xB0"
               "30",
               a));
  EXPECT_NEAR_LD(a, -0.5L, Tight);
  EXPECT_FALSE(
      ParseDMS("\xB0"
               "30'",
               a));
  EXPECT_FALSE(ParseDMS("\xB0", a));
  EXPECT_FALSE(ParseDMS("D", a));
}

// Minutes, seconds and the fraction of a second are added to the degrees one
// at a time. For 1 deg 01' 00.35" the sum grouped the other way rounds to a
// different last bit, which can decide the hemisphere letter of a computed
// point that should sit exactly on the equator.
TEST_F(ParseTest, DmsFieldsAreAddedOneAtATime) {
  volatile long double degrees = 1.0L, minutes = 1.0L, seconds = 0.35L;
  const long double inOrder = (degrees + minutes / 60.0L) + seconds / 3600.0L;
  const long double grouped = degrees + (minutes / 60.0L + seconds / 3600.0L);
  ASSERT_NE(inOrder, grouped) << "the case must tell the two orders apart";
  long double a = 0.0L;
  ASSERT_TRUE(
      ParseDMS("1\xB0"
               "01'00.35\"",
               a));
  EXPECT_EQ(a, inOrder);
  ASSERT_TRUE(
      ParseDMS("-1\xB0"
               "01'00.35\"",
               a));
  EXPECT_EQ(a, -inOrder) << "the sign applies to the sum of the magnitudes";
  // Compact form: the fraction digits 35 are 35 / (100 * 3600) degrees.
  const long double fraction = 35.0L / (100.0L * 3600.0L);
  ASSERT_TRUE(
      ParseDMS("1\xB0"
               "010035",
               a));
  EXPECT_EQ(a, (degrees + minutes / 60.0L + 0.0L / 3600.0L) + fraction);
}

TEST_F(ParseTest, LatLonSetsOnlyThePosition) {
  FixRecord fix;
  fix.name = "KEEP";
  ASSERT_TRUE(ParseLatLon(fix,
                          "29\xB0"
                          "33'10.32\"N 175\xB0"
                          "18'33.44\"W"));
  EXPECT_FALSE(fix.valid);
  EXPECT_EQ(fix.name, "KEEP");
  EXPECT_NEAR_LD(PosLat(earth, fix.position) / DegToRad, Dms(29, 33, 10.32L), Tight);
  EXPECT_NEAR_LD(PosLon(fix.position) / DegToRad, -Dms(175, 18, 33.44L), 1e-14L);
  const Vector3 before = fix.position;
  EXPECT_FALSE(ParseLatLon(fix, "29N33"));
  EXPECT_FALSE(ParseLatLon(fix, "29N33 175W1"));
  EXPECT_FALSE(ParseLatLon(fix, " 29N33 175W19"));
  EXPECT_EQ(fix.position, before);
  // Latitudes are typed geodetic while elliptic latitude is on.
  ASSERT_TRUE(ParseLatLon(fix, "45 0"));
  EXPECT_NEAR_LD(TriLat(fix.position) / DegToRad, 44.8075767L, 1e-7L);
  earth.ellipticLat = false;
  ASSERT_TRUE(ParseLatLon(fix, "45 0"));
  EXPECT_NEAR_LD(TriLat(fix.position) / DegToRad, 45.0L, Tight);
}

TEST_F(ParseTest, FixLines) {
  FixRecord fix;
  ParseFixLine(fix, "  29n33'10.32\"  175w18'33.44\"   novosibirsk/rus  extra words\r");
  EXPECT_TRUE(fix.valid);
  EXPECT_EQ(fix.name, "NOVOSIBIRSK/RUS");
  EXPECT_NEAR_LD(PosLat(earth, fix.position) / DegToRad, Dms(29, 33, 10.32L), Tight);

  FixRecord two;
  two.name = "OLD";
  two.valid = true;
  ParseFixLine(two, "29N33 175W19");
  EXPECT_FALSE(two.valid);
  EXPECT_EQ(two.name, "OLD");

  FixRecord bad;
  ParseFixLine(bad, "29N3 175W19 ALPHA");
  EXPECT_FALSE(bad.valid);
  EXPECT_EQ(bad.name, "ALPHA");

  FixRecord longName;
  ParseFixLine(longName, "1 2 ABCDEFGHIJKLMNOPQ/X");
  EXPECT_TRUE(longName.valid);
  EXPECT_EQ(longName.name, "ABCDEFGHIJKLMN/X");
}

TEST_F(ParseTest, AFixLineNameMustBeOneTheFixDialogTakesAsItIs) {
  const auto valid = [this](const char* line) {
    FixRecord fix;
    ParseFixLine(fix, line);
    return fix.valid;
  };
  EXPECT_TRUE(valid("1 2 A-1./_Z\x01")) << "a control character at the line's end is trimmed";
  EXPECT_FALSE(
      valid("1 2 AB\x01"
            "CD"));
  EXPECT_FALSE(valid("1 2 \xE4TNA")) << "a Latin-1 letter";
  EXPECT_FALSE(valid("1 2 9LIVES"));
  // The cut to 16 characters leaves control characters at the end, which
  // the dialog would trim: written back, the name would read differently.
  EXPECT_FALSE(valid("1 2 A52BCIJKLM/\x0F\x0F\x0F\x0F\x0F\x0F\x0F\x0F\x0F\x0F\x0F\x0F\x0F\x0FXY"));
}

TEST_F(ParseTest, DistanceField) {
  long double v = 0.0L;
  ASSERT_TRUE(ParseDistanceText("12.5", v));
  EXPECT_EQ(v, 12.5L);
  ASSERT_TRUE(ParseDistanceText("  -3e2", v));
  EXPECT_EQ(v, -300.0L);
  ASSERT_TRUE(ParseDistanceText("+.25", v));
  EXPECT_EQ(v, 0.25L);
  for (const char* bad :
       {"", " ", "1,5", "12 ", "1e", "e5", ".", "12km", "1e5000", "inf", "nan", "0x10", "--1"}) {
    EXPECT_FALSE(ParseDistanceText(bad, v)) << bad;
  }
}

TEST_F(ParseTest, AzimuthField) {
  long double v = 0.0L;
  ASSERT_TRUE(ParseAzimuthText("45", v));
  EXPECT_EQ(v, 45.0L);
  ASSERT_TRUE(ParseAzimuthText("-45.5", v));
  EXPECT_EQ(v, -45.5L);
  ASSERT_TRUE(
      ParseAzimuthText("45\xB0"
                       "30'",
                       v));
  EXPECT_NEAR_LD(v, 45.5L, Tight);
  ASSERT_TRUE(
      ParseAzimuthText("45\xB0"
                       "3015",
                       v));
  EXPECT_NEAR_LD(v, Dms(45, 30, 15), Tight);
  ASSERT_TRUE(
      ParseAzimuthText("+123\xB0"
                       "27'24.44\"",
                       v));
  EXPECT_NEAR_LD(v, Dms(123, 27, 24.44L), Tight);
  for (const char* bad : {"", "-", "+", "45N", "45E", "E45", "45 30"}) {
    EXPECT_FALSE(ParseAzimuthText(bad, v)) << bad;
  }
}

}  // namespace
}  // namespace navorix
