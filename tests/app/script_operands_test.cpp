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
    ASSERT_TRUE(Bench.LoadFixFile(file, false));
  }

  // Asks for the operands of Layout from Tokens.
  bool Ask(TDialogEntry Entry, std::initializer_list<std::string_view> Tokens, TOperands& Out,
           std::string& Failure) {
    TScriptOperands source(Bench, Tokens.begin(), Tokens.size());
    const bool confirmed = source.Ask(Layout(Entry), "", Out);
    Failure = source.Failure();
    return confirmed;
  }

  testing::TTempDir dir_;
  TWorkbench Bench;
};

TEST_F(ScriptOperandsTest, NamesAreTypedInCapitals) {
  TOperands operands;
  std::string failure;
  ASSERT_TRUE(Ask(TDialogEntry::TwoFixes, {"alpha", "Bravo"}, operands, failure));
  EXPECT_EQ(operands.Fix[0], 1);
  EXPECT_EQ(operands.Fix[1], 2);

  operands.Fix[0] = 7;
  EXPECT_FALSE(Ask(TDialogEntry::TwoFixes, {"ALPHA", "CHARLIE"}, operands, failure));
  EXPECT_EQ(failure, "unknown fix CHARLIE");
  EXPECT_EQ(operands.Fix[0], 7);  // nothing written on a refusal
}

TEST_F(ScriptOperandsTest, FieldsAreCheckedInTheDialogsOrder) {
  TOperands operands;
  std::string failure;
  EXPECT_FALSE(Ask(TDialogEntry::FixDistAzim, {"NOPE", "ten", "east"}, operands, failure));
  EXPECT_EQ(failure, "unknown fix NOPE");
  EXPECT_FALSE(Ask(TDialogEntry::FixDistAzim, {"ALPHA", "1E3", "east"}, operands, failure));
  EXPECT_EQ(failure, "unreadable azimuth east");
  EXPECT_FALSE(Ask(TDialogEntry::ArcFixDist, {"ALPHA", "BRAVO", "ALPHA"}, operands, failure));
  EXPECT_EQ(failure, "missing distance");

  // Pasted text such as an exponent is read like typed text.
  ASSERT_TRUE(Ask(TDialogEntry::FixDistAzim, {"ALPHA", "1E3", "-45.5"}, operands, failure));
  EXPECT_EQ(operands.Distance, 1000.0L);
  EXPECT_EQ(operands.Azimuth, -45.5L);
  // Fix fields fill the fixes in order, whatever their field numbers.
  ASSERT_TRUE(Ask(TDialogEntry::ArcFixDist, {"BRAVO", "ALPHA", "BRAVO", "-5"}, operands, failure));
  EXPECT_EQ(operands.Fix[0], 2);
  EXPECT_EQ(operands.Fix[1], 1);
  EXPECT_EQ(operands.Fix[2], 2);
  EXPECT_EQ(operands.Distance, -5.0L);
}

TEST_F(ScriptOperandsTest, NamesLongerThanAFixNameAreUnknown) {
  const char* reason = nullptr;
  EXPECT_EQ(FindScriptFix(Bench, "ALPHAALPHAALPHAAL", reason), 0);
  EXPECT_STREQ(reason, "unknown fix");
  EXPECT_EQ(FindScriptFix(Bench, "", reason), 0);
}

}  // namespace
}  // namespace navorix
