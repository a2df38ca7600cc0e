// Operand fields of a script line, read as the operation input dialog
// reads its fields.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "app/script_operands.h"
#include "tests/stores/stores_test_support.h"
#include "workbench/workbench.h"

namespace navorix {
namespace {

class ScriptOperandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.Path().empty());
    const std::string file = dir_ / "operands.fix";
    const std::string text = "5.73 11.46 ALPHA\r\n1 2 BRAVO\r\n";
    testing::WriteFile(file, text);
    ASSERT_EQ(testing::ReadFile(file), text);
    ASSERT_TRUE(bench.LoadFixFile(file, false));
  }

  // Asks for the operands of Layout from tokens.
  bool Ask(DialogEntry entry, std::initializer_list<std::string_view> tokens, Operands& out,
           std::string& failure) {
    ScriptOperands source(bench, tokens.begin(), tokens.size());
    const bool confirmed = source.Ask(Layout(entry), "", out);
    failure = source.Failure();
    return confirmed;
  }

  testing::TempDir dir_;
  Workbench bench;
};

TEST_F(ScriptOperandsTest, NamesAreTypedInCapitals) {
  Operands operands;
  std::string failure;
  ASSERT_TRUE(Ask(DialogEntry::TwoFixes, {"alpha", "Bravo"}, operands, failure));
  EXPECT_EQ(operands.fix[0], 1);
  EXPECT_EQ(operands.fix[1], 2);

  operands.fix[0] = 7;
  EXPECT_FALSE(Ask(DialogEntry::TwoFixes, {"ALPHA", "CHARLIE"}, operands, failure));
  EXPECT_EQ(failure, "unknown fix CHARLIE");
  EXPECT_EQ(operands.fix[0], 7);  // nothing written on a refusal
}

TEST_F(ScriptOperandsTest, FieldsAreCheckedInTheDialogsOrder) {
  Operands operands;
  std::string failure;
  EXPECT_FALSE(Ask(DialogEntry::FixDistAzim, {"NOPE", "ten", "east"}, operands, failure));
  EXPECT_EQ(failure, "unknown fix NOPE");
  EXPECT_FALSE(Ask(DialogEntry::FixDistAzim, {"ALPHA", "1E3", "east"}, operands, failure));
  EXPECT_EQ(failure, "unreadable azimuth east");
  EXPECT_FALSE(Ask(DialogEntry::ArcFixDist, {"ALPHA", "BRAVO", "ALPHA"}, operands, failure));
  EXPECT_EQ(failure, "missing distance");

  // Pasted text such as an exponent is read like typed text.
  ASSERT_TRUE(Ask(DialogEntry::FixDistAzim, {"ALPHA", "1E3", "-45.5"}, operands, failure));
  EXPECT_EQ(operands.distance, 1000.0L);
  EXPECT_EQ(operands.azimuth, -45.5L);
  // Fix fields fill the fixes in order, whatever their field numbers.
  ASSERT_TRUE(Ask(DialogEntry::ArcFixDist, {"BRAVO", "ALPHA", "BRAVO", "-5"}, operands, failure));
  EXPECT_EQ(operands.fix[0], 2);
  EXPECT_EQ(operands.fix[1], 1);
  EXPECT_EQ(operands.fix[2], 2);
  EXPECT_EQ(operands.distance, -5.0L);
}

TEST_F(ScriptOperandsTest, NamesLongerThanAFixNameAreUnknown) {
  const char* reason = nullptr;
  EXPECT_EQ(FindScriptFix(bench, "ALPHAALPHAALPHAAL", reason), 0);
  EXPECT_STREQ(reason, "unknown fix");
  EXPECT_EQ(FindScriptFix(bench, "", reason), 0);
}

}  // namespace
}  // namespace navorix
