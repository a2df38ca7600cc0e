// Coordinate text uses "." whatever the process locale.
#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>
#include <vector>

#include "text/decimal.h"
#include "text/format.h"
#include "text/parse.h"
#include "text_test_support.h"

namespace navorix {
namespace {

using testing::Dms;

class LocaleTest : public testing::TextTest {
 protected:
  // Everything the formatters print for a few values, and what the readers
  // make of a few texts.
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    const FixRecord fix = FixAt(Dms(29, 33, 10.32L), -Dms(175, 18, 33.44L));
    for (int format = 0; format < 4; ++format) {
      Set(options.latLonFormat, format);
      for (int accuracy = 0; accuracy < 3; ++accuracy) texts.push_back(FormatLatLon(fix, accuracy));
    }
    for (int precision = 0; precision < 3; ++precision) {
      Set(options.precision, precision);
      for (int units = 0; units < 4; ++units) {
        Set(options.distUnits, units);
        texts.push_back(FormatDistance(0.1L, true));
      }
      texts.push_back(FormatAzimuth(2.15L));
    }
    texts.push_back(DecimalText(6367.4357L));
    texts.push_back(FixedText(1234.5678L, 3));
    long double v = 0.0L;
    for (const char* text : {"12.5", "12,5", "29.552867", "-1.5e3"}) {
      texts.push_back(ReadDecimal(text, v) ? FixedText(v, 6) : std::string("fails"));
      texts.push_back(ParseDMS(text, v) ? FixedText(v, 6) : std::string("fails"));
    }
    options = DisplayOptions{};
    return texts;
  }
};

TEST_F(LocaleTest, CommaLocaleChangesNothing) {
  const std::vector<std::string> inC = Texts();
  ASSERT_EQ(inC[inC.size() - 6], "fails");  // "12,5" is no number
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (setup.sh generates it)";
  }
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  const std::locale previousGlobal = std::locale::global(std::locale("de_DE.UTF-8"));
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  const std::vector<std::string> inGerman = Texts();
  std::locale::global(previousGlobal);
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(inGerman, inC);
}

}  // namespace
}  // namespace navorix
