// Operand fields of a script line, read as the operation input dialog
// reads its fields.
#include <gtest/gtest.h>

#include <string_view>

#include "app/script_operands.h"
#include "geometry/earth_model.h"
#include "stores/fix_db.h"
#include "text/fix_names.h"

namespace navorix {
namespace {

class ScriptOperandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FixRecord fix;
    MakeFix(fix, PosFromLatLon(0.1L, 0.2L), "ALPHA");
    DB.Add(fix);
    FixRecord unread;  // a named entry whose coordinates did not read
    unread.Name = "BAD";
    DB.Add(unread);
  }
  TFixDB DB;
};

TEST_F(ScriptOperandsTest, NamesAreTypedInCapitalsAndMustHaveAPosition) {
  const std::string_view tokens[] = {"alpha", "Alpha"};
  TScriptOperands source(DB, tokens, 2);
  std::uint16_t a = 0, b = 0;
  ASSERT_TRUE(source.AskTwoFixes("", a, b));
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 1);

  const std::string_view bad[] = {"ALPHA", "BAD"};
  TScriptOperands refused(DB, bad, 2);
  a = b = 7;
  EXPECT_FALSE(refused.AskTwoFixes("", a, b));
  EXPECT_EQ(refused.Failure(), "fix has no valid position: BAD");
  EXPECT_EQ(a, 7);  // nothing written on a refusal
  EXPECT_EQ(b, 7);
}

TEST_F(ScriptOperandsTest, FieldsAreCheckedInTheDialogsOrder) {
  const std::string_view tokens[] = {"NOPE", "ten", "east"};
  TScriptOperands source(DB, tokens, 3);
  std::uint16_t f = 0;
  long double d = 0, az = 0;
  EXPECT_FALSE(source.AskFixDistAzim("", f, d, az));
  EXPECT_EQ(source.Failure(), "unknown fix NOPE");

  const std::string_view later[] = {"ALPHA", "1E3", "east"};
  TScriptOperands azimuth(DB, later, 3);
  EXPECT_FALSE(azimuth.AskFixDistAzim("", f, d, az));
  EXPECT_EQ(azimuth.Failure(), "unreadable azimuth east");

  // Pasted text such as an exponent is read like typed text.
  const std::string_view good[] = {"ALPHA", "1E3", "-45.5"};
  TScriptOperands ok(DB, good, 3);
  ASSERT_TRUE(ok.AskFixDistAzim("", f, d, az));
  EXPECT_EQ(d, 1000.0L);
  EXPECT_EQ(az, -45.5L);
}

TEST_F(ScriptOperandsTest, NamesLongerThanAFixNameAreUnknown) {
  const char* reason = nullptr;
  EXPECT_EQ(FindScriptFix(DB, "ALPHAALPHAALPHAAL", reason), 0);
  EXPECT_STREQ(reason, "unknown fix");
  EXPECT_EQ(FindScriptFix(DB, "", reason), 0);
}

}  // namespace
}  // namespace navorix
