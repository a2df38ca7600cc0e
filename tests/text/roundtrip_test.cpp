// Every coordinate text the formatter prints reads back to a position that
// prints the same, in every format and accuracy: a fix file written in one
// format loads under any other display setting.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/format.h"
#include "text/parse.h"
#include "text/text_helpers.h"
#include "text_test_support.h"

namespace navorix {
namespace {

using testing::FixAt;

class RoundTripTest : public testing::TextTest {
 protected:
  struct LatLon {
    long double lat;
    long double lon;
  };

  // Seeded positions: the poles, the equator, both sides of the prime and
  // the antimeridian, values a hair from a rounding boundary, and uniform
  // random ones.
  static std::vector<LatLon> Positions() {
    std::vector<LatLon> list;
    for (long double lon :
         {-180.0L, -179.999999L, -90.0L, -0.004L, 0.0L, 0.004L, 45.0L, 179.9999999L, 180.0L}) {
      for (long double lat : {-90.0L, -89.9999999L, -45.0L, -0.001L, 0.0L, 0.001L, 30.0L, 89.99999L, 90.0L}) {
        list.push_back({lat, lon});
      }
    }
    std::mt19937_64 random(3);
    std::uniform_real_distribution<long double> lat(-90.0L, 90.0L);
    std::uniform_real_distribution<long double> lon(-180.0L, 180.0L);
    std::uniform_int_distribution<int> count(-36000, 36000);
    for (int i = 0; i < 1500; ++i) list.push_back({lat(random), lon(random)});
    // Halfway between two printed hundredths of a degree.
    for (int i = 0; i < 500; ++i) {
      list.push_back({(count(random) / 4 + 0.5L) / 100.0L, (count(random) + 0.5L) / 200.0L});
    }
    return list;
  }

  int Check(const std::vector<LatLon>& positions) {
    int checked = 0;
    for (const LatLon& p : positions) {
      const FixRecord fix = FixAt(p.lat, p.lon);
      for (int format = 0; format < 4; ++format) {
        Set(options.latLonFormat, format);
        for (int accuracy = 0; accuracy < 3; ++accuracy) {
          const std::string text = FormatLatLon(fix, accuracy);
          FixRecord back;
          EXPECT_TRUE(ParseLatLon(back, SquashBlanks(text, false))) << text;
          EXPECT_EQ(FormatLatLon(back, accuracy), text)
              << "lat " << static_cast<double>(p.lat) << " lon " << static_cast<double>(p.lon);
          ++checked;
        }
      }
    }
    return checked;
  }
};

TEST_F(RoundTripTest, EveryFormatReadsBackWithEllipticLatitude) {
  const auto positions = Positions();
  EXPECT_EQ(Check(positions), static_cast<int>(positions.size()) * 12);
}

TEST_F(RoundTripTest, EveryFormatReadsBackOnTheSphere) {
  earth.ellipticLat = false;
  const auto positions = Positions();
  EXPECT_EQ(Check(positions), static_cast<int>(positions.size()) * 12);
}

// A file line written in one format reads under every display format.
TEST_F(RoundTripTest, FileLinesReadUnderAnyFormat) {
  FixRecord fix = FixAt(-33.8688197L, 151.2092955L);
  fix.name = "SYDNEY/AUS";
  for (int written = 0; written < 4; ++written) {
    Set(options.latLonFormat, written);
    const std::string line = FixFileLine(fix);
    for (int shown = 0; shown < 4; ++shown) {
      Set(options.latLonFormat, shown);
      FixRecord back;
      ParseFixLine(back, line);
      ASSERT_TRUE(back.valid) << line;
      EXPECT_EQ(back.name, "SYDNEY/AUS");
      Set(options.latLonFormat, written);
      EXPECT_EQ(FixFileLine(back), line);
    }
  }
}

}  // namespace
}  // namespace navorix
