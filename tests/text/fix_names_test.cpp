#include "text/fix_names.h"

#include <gtest/gtest.h>

#include <string>

#include "geometry/error.h"
#include "text_test_support.h"

namespace navorix {
namespace {

std::string Fitted(std::string name) {
  FitFixName(name);
  return name;
}

TEST(FixNames, ValidationTrimsAndCapitalises) {
  std::string name = "  kilo-1 ";
  EXPECT_TRUE(IsValidFixName(name));
  EXPECT_EQ(name, "KILO-1");
  name = "\tmid/new_2.b\r\n";
  EXPECT_TRUE(IsValidFixName(name));
  EXPECT_EQ(name, "MID/NEW_2.B");
  name = "ABCDEFGHIJKLMNOP";
  EXPECT_TRUE(IsValidFixName(name));
  for (const char* bad : {"1ABC", "", "   ", "ABCDEFGHIJKLMNOPQ", "AB CD", "-AB", "AB+C",
                          "M\xDC"
                          "NCHEN",
                          "a\xE4"}) {
    name = bad;
    EXPECT_FALSE(IsValidFixName(name)) << bad;
  }
  name = std::string("AB\0C", 4);
  EXPECT_FALSE(IsValidFixName(name));
}

TEST(FixNames, Fitting) {
  EXPECT_EQ(Fitted("MIDPOINT/NEW"), "MIDPOINT/NEW");
  EXPECT_EQ(Fitted("ABCDEFGHIJKLMNOPQ/X"), "ABCDEFGHIJKLMN/X");
  EXPECT_EQ(Fitted("A/BCDEFGHIJKLMNOPQ"), "A/BCDEFGHIJKLMN");
  EXPECT_EQ(Fitted("NAME EXTRA"), "NAME");
  EXPECT_EQ(Fitted("ABC/"), "ABC");
  EXPECT_EQ(Fitted("ABCDEFGHIJKLMNOPQRS/"), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(Fitted("ABCDEFGHIJKLMNOP"), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(Fitted("ABCDEFGHIJKLMNOPQ"), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(Fitted("A/B/C"), "A/B/C");
  EXPECT_EQ(Fitted("ABCDEFGHIJKLMNOP/Q R"), "ABCDEFGHIJKLMN/Q");
  EXPECT_EQ(Fitted(" LEADING"), "");
  EXPECT_EQ(Fitted(""), "");
}

// A fitted name is exactly one that fitting leaves alone, at every limit.
TEST(FixNames, FittedNamesAreTheOnesFittingKeeps) {
  for (const char* name : {"K", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOPQ", "AB CD", "ABC/", "/A", "A//B",
                           "AB/CDEFGHIJKLMN", "A/BCDEFGHIJKLMNO", "AB/CDEFGHIJKLMNO", "A/B C", ""}) {
    EXPECT_EQ(IsFittedFixName(name), Fitted(name) == name) << name;
  }
  EXPECT_TRUE(IsFittedFixName("AB/CDEFGHIJKLMN"));    // 16 characters, suffix of 13
  EXPECT_FALSE(IsFittedFixName("A/BCDEFGHIJKLMNO"));  // 16 characters, suffix of 14
}

TEST(FixNames, MakeFixNormalisesAndFits) {
  FixRecord fix;
  MakeFix(fix, Vector3{0.0L, 3.0L, 4.0L}, "ABCDEFGHIJKLMNOPQ/X");
  EXPECT_TRUE(fix.valid);
  EXPECT_EQ(fix.name, "ABCDEFGHIJKLMN/X");
  EXPECT_NEAR_LD(fix.position.y, 0.6L, 1e-18L);
  EXPECT_NEAR_LD(fix.position.z, 0.8L, 1e-18L);

  FixRecord zero;
  zero.valid = true;
  try {
    MakeFix(zero, Vector3{}, "ZERO");
    ADD_FAILURE() << "a zero position must raise";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Cannot normalize a null vector");
  }
  EXPECT_FALSE(zero.valid);
}

}  // namespace
}  // namespace navorix
