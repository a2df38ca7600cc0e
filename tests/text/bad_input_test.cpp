// The readers take any byte string: they answer false for what they cannot
// read, never throw, never read outside the text and always finish.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "text/decimal.h"
#include "text/fix_names.h"
#include "text/parse.h"
#include "text_test_support.h"

namespace navorix {
namespace {

class BadInputTest : public testing::TextTest {};

// Runs every reader on text; returns how many of them accepted it. Accepted
// values must be finite.
int ReadAll(const std::string& text) {
  int accepted = 0;
  long double v = 0.0L;
  auto finite = [&](bool ok) {
    if (ok) {
      EXPECT_TRUE(std::isfinite(v)) << text.substr(0, 40);
      ++accepted;
    }
  };
  finite(ReadDecimal(text, v));
  finite(ReadWholeNumber(text, v));
  finite(ParseDMS(text, v));
  const PlusDir plus = PlusDir::NorthEast;
  const EarthModel earth;
  finite(ParseCoord(plus, text, Axis::Latitude, v));
  finite(ParseCoord(plus, text, Axis::Longitude, v));
  finite(ParseDistanceText(text, v));
  finite(ParseAzimuthText(text, v));
  FixRecord fix;
  if (ParseLatLon(plus, earth, fix, text)) {
    EXPECT_TRUE(std::isfinite(fix.position.x) && std::isfinite(fix.position.y) &&
                std::isfinite(fix.position.z));
    ++accepted;
  }
  ParseFixLine(plus, earth, fix, text);
  std::string name = text;
  IsValidFixName(name);
  name = text;
  FitFixName(name);
  EXPECT_LE(name.size(), 16u);
  return accepted;
}

TEST_F(BadInputTest, UnreadableTextsFailEverywhere) {
  const std::vector<std::string> texts = {
      "",
      " ",
      "      ",
      std::string(1, '\0'),
      std::string("29\0"
                  "33",
                  5),
      std::string("29\xB0\0"
                  "3",
                  5),
      "\x80\x81\xFE\xFF",
      "\xB0\xB0\xB0",
      "'\"'\"",
      "N",
      "+",
      "-",
      "D",
      "E",
      "1e5000",
      "1" + std::string(6000, '0'),
      std::string(1000000, '7'),
  };
  for (const std::string& text : texts) {
    EXPECT_EQ(ReadAll(text), 0) << "text of " << text.size() << " bytes: " << text.substr(0, 20);
  }
}

TEST_F(BadInputTest, HugeTextsFinishQuickly) {
  const auto start = std::chrono::steady_clock::now();
  long double v = 0.0L;
  const std::string digits(1000000, '3');
  EXPECT_FALSE(ParseDistanceText(digits, v));  // 3.3e999999 is too large
  ASSERT_TRUE(ParseDistanceText("0." + digits, v));
  EXPECT_EQ(v, 1.0L / 3.0L);
  ASSERT_TRUE(
      ParseDMS("29\xB0"
               "3310" +
                   digits,
               v));  // decimals of a second
  EXPECT_NEAR_LD(v, 29.0L + 33.0L / 60 + (10.0L + 1.0L / 3) / 3600, 1e-15L);
  EXPECT_FALSE(ParseDMS(digits + "\xB0"
                                 "30",
                        v));
  EXPECT_FALSE(ParseCoord(std::string(1000000, 'N'), 0, v));
  EXPECT_FALSE(ParseAzimuthText(std::string(1000000, '\xB0'), v));
  ReadAll(std::string(1000000, ' ') + "1");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count(), 10);
}

// Random texts over the characters the readers care about and arbitrary
// bytes: nothing throws and whatever is accepted is finite.
TEST_F(BadInputTest, RandomBytesNeverThrow) {
  const std::string alphabet = std::string("0123456789+-.eEDNSEW'\" \xB0\x80\xFF\t") + '\0';
  std::mt19937 random(11);
  std::uniform_int_distribution<std::size_t> length(0, 24);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  int accepted = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string text(length(random), ' ');
    for (char& c : text) c = i % 4 == 0 ? static_cast<char>(byte(random)) : alphabet[pick(random)];
    EXPECT_NO_THROW(accepted += ReadAll(text)) << text;
  }
  EXPECT_GT(accepted, 0);  // the generator does reach readable texts
}

}  // namespace
}  // namespace navorix
