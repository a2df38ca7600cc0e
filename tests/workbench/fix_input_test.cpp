// The fix input dialog's rules: what it starts with, what OK checks, where
// the fix goes, and what becomes of the pending fix.
#include <gtest/gtest.h>

#include <string>

#include "tests/workbench/workbench_test_support.h"
#include "workbench/input_rules.h"
#include "workbench/texts.h"

namespace navorix {
namespace {

using testing::WorkbenchTest;

class FixInputTest : public WorkbenchTest {};

TEST_F(FixInputTest, NewAndEditCaptionsAndPlaces) {
  AddNames({"A", "B"});
  Bench().SelectRow(1);
  TFixEdit edit = Bench().BeginFixEdit(false);
  EXPECT_FALSE(edit.IsNew);
  EXPECT_EQ(edit.Caption, " Edit Fix");
  EXPECT_EQ(edit.EditPos, 2);
  EXPECT_EQ(edit.Name, "B");
  // Add on a fix row, and Edit on the blank row, are new fixes.
  edit = Bench().BeginFixEdit(true);
  EXPECT_TRUE(edit.IsNew);
  EXPECT_EQ(edit.Caption, " New Fix");
  EXPECT_EQ(edit.Pos, 2);
  Bench().SelectRow(2);
  edit = Bench().BeginFixEdit(false);
  EXPECT_TRUE(edit.IsNew);
  EXPECT_EQ(edit.Pos, 3);
  // With no pending fix a new fix starts empty.
  EXPECT_EQ(edit.Name, "");
  EXPECT_EQ(edit.Latitude, "");
  EXPECT_EQ(edit.Longitude, "");
}

TEST_F(FixInputTest, PrefilledTextsAreTheShownCoordinates) {
  AddFix("NOVOSIBIRSK/RUS", "29.552867", "-175.309289");
  Bench().SetDisplayOption(TDisplayOption::LatLonFormat, Index(TAngleFormat::DegMinSec));
  Bench().SetDisplayOption(TDisplayOption::Precision, Index(TAccuracy::High));
  Bench().SelectRow(0);
  const TFixEdit edit = Bench().BeginFixEdit(false);
  EXPECT_EQ(edit.Name, "NOVOSIBIRSK/RUS");
  EXPECT_EQ(edit.Latitude, "29\xB0" "33'10.32\"N");
  EXPECT_EQ(edit.Longitude, "175\xB0" "18'33.44\"W");
}

TEST_F(FixInputTest, ChangingOnlyTheNameKeepsThePositionBitForBit) {
  Bench().SetDisplayOption(TDisplayOption::LatLonFormat, Index(TAngleFormat::DegFrac));
  AddFix("A", "12.3456789", "-98.7654321");  // shown rounded to 0.01 degree
  const TTriV before = Bench().Fixes().Get(1).Position;
  Bench().SelectRow(0);
  const TFixEdit edit = Bench().BeginFixEdit(false);
  ASSERT_EQ(edit.Latitude, "12.35\xB0N");
  const TFixCheck check = Bench().CheckFixInput(edit, "RENAMED", edit.Latitude, edit.Longitude);
  ASSERT_TRUE(Bench().StoreFix(edit, check, edit.Latitude, edit.Longitude));
  EXPECT_EQ(Bench().Fixes().Get(1).Name, "RENAMED");
  EXPECT_EQ(Bench().Fixes().Get(1).Position, before);
  EXPECT_EQ(Bench().Fixes().Count(), 1);
}

TEST_F(FixInputTest, RetypedCoordinatesReplaceThePosition) {
  Bench().SetDisplayOption(TDisplayOption::LatLonFormat, Index(TAngleFormat::DegFrac));
  AddFix("A", "12.3456789", "-98.7654321");
  const TTriV before = Bench().Fixes().Get(1).Position;
  Bench().SelectRow(0);
  const TFixEdit edit = Bench().BeginFixEdit(false);
  // The same latitude in another notation is new text: it is parsed.
  const std::string lat = "12\xB0" "21'N";
  const TFixCheck check = Bench().CheckFixInput(edit, "A", lat, edit.Longitude);
  ASSERT_TRUE(check.Passed()) << "a fix may keep its own name";
  ASSERT_TRUE(Bench().StoreFix(edit, check, lat, edit.Longitude));
  EXPECT_NE(Bench().Fixes().Get(1).Position, before);
  EXPECT_EQ(View().rows[0], Bench().RowText(0));
}

TEST_F(FixInputTest, ANameInUseIsShownBeforeAnyFieldIsMarked) {
  AddNames({"ALPHA", "BRAVO"});
  Bench().SelectRow(2);
  const TFixEdit edit = Bench().BeginFixEdit(true);
  const TFixCheck check = Bench().CheckFixInput(edit, " alpha ", "not", "read");
  EXPECT_TRUE(check.NameInUse);
  EXPECT_FALSE(check.LatitudeBad) << "the coordinates are not checked";
  ASSERT_EQ(View().errors.size(), 1u);
  EXPECT_EQ(View().errors[0], "This fix name is already in use");
  EXPECT_FALSE(Bench().StoreFix(edit, check, "not", "read"));
  EXPECT_EQ(Bench().Fixes().Count(), 2);
  // An edited fix may not take another fix's name either.
  Bench().SelectRow(1);
  const TFixEdit bravo = Bench().BeginFixEdit(false);
  EXPECT_TRUE(Bench().CheckFixInput(bravo, "ALPHA", "1", "2").NameInUse);
}

TEST_F(FixInputTest, EveryBadFieldIsMarked) {
  const TFixEdit edit = Bench().BeginFixEdit(true);
  TFixCheck check = Bench().CheckFixInput(edit, "1ABC", "29\xB0" "3", "175W1");
  EXPECT_TRUE(check.NameBad);
  EXPECT_TRUE(check.LatitudeBad);
  EXPECT_TRUE(check.LongitudeBad);
  EXPECT_FALSE(check.Passed());
  check = Bench().CheckFixInput(edit, "  kilo-1 ", "29\xB0" "33'10.32\"N", "175W183344");
  EXPECT_TRUE(check.Passed());
  EXPECT_EQ(check.Name, "KILO-1");
  EXPECT_TRUE(View().errors.empty());
}

TEST_F(FixInputTest, APendingFixAppendedStaysAndInsertedAboveARowGoes) {
  AddNames({"A", "B"});
  ASSERT_EQ(Run(TOpTag::Midpoint, {1, 2}), TRunResult::Logged);
  ASSERT_TRUE(Bench().PendingFix().Valid);
  const TTriV midpoint = Bench().PendingFix().Position;
  // From the blank row: appended, and the next new fix starts from it again.
  Bench().SelectRow(2);
  TFixEdit edit = Bench().BeginFixEdit(true);
  EXPECT_EQ(edit.Name, "MIDPOINT/NEW");
  TFixCheck check = Bench().CheckFixInput(edit, edit.Name, edit.Latitude, edit.Longitude);
  ASSERT_TRUE(Bench().StoreFix(edit, check, edit.Latitude, edit.Longitude));
  EXPECT_EQ(Bench().Fixes().Get(3).Position, midpoint);
  EXPECT_TRUE(Bench().PendingFix().Valid);
  edit = Bench().BeginFixEdit(true);
  EXPECT_EQ(edit.Name, "MIDPOINT/NEW");
  // Refused now as a name in use, unless renamed; stored above row 0 it
  // empties the pending fix.
  EXPECT_TRUE(Bench().CheckFixInput(edit, edit.Name, edit.Latitude, edit.Longitude).NameInUse);
  Bench().SelectRow(0);
  edit = Bench().BeginFixEdit(true);
  check = Bench().CheckFixInput(edit, "MID2", edit.Latitude, edit.Longitude);
  ASSERT_TRUE(Bench().StoreFix(edit, check, edit.Latitude, edit.Longitude));
  EXPECT_EQ(Bench().Fixes().Get(1).Name, "MID2");
  EXPECT_FALSE(Bench().PendingFix().Valid);
  EXPECT_EQ(Bench().BeginFixEdit(true).Name, "");
}

TEST_F(FixInputTest, StoringAsShownNeverMovesAPositionByARounding) {
  // Computed and typed positions are unit vectors only to a rounding; scaled
  // to unit length once more their last bits may move, and each rename
  // would move them again.
  const char* coordinates[][2] = {{"10.123456789", "20.987654321"}, {"-33.3333333333", "151.2222222222"},
                                  {"89.9999", "-179.9999"},          {"0.0001", "0.0001"},
                                  {"45.5", "-120.25"},               {"-60.606060606", "77.777777777"}};
  for (const auto& c : coordinates) AddFix("F" + std::to_string(Bench().Fixes().Count()), c[0], c[1]);
  const std::uint16_t typed = Bench().Fixes().Count();
  for (std::uint16_t a = 1; a <= typed; ++a) {
    for (std::uint16_t b = static_cast<std::uint16_t>(a + 1); b <= typed; ++b) {
      ASSERT_EQ(Run(TOpTag::Midpoint, {a, b}), TRunResult::Logged);
      const TTriV proposed = Bench().PendingFix().Position;
      Bench().SelectRow(Bench().RowCount() - 1);
      const TFixEdit edit = Bench().BeginFixEdit(true);
      const std::string name = "M" + std::to_string(a) + "-" + std::to_string(b);
      const TFixCheck check = Bench().CheckFixInput(edit, name, edit.Latitude, edit.Longitude);
      ASSERT_TRUE(Bench().StoreFix(edit, check, edit.Latitude, edit.Longitude));
      EXPECT_EQ(Bench().Fixes().Get(Bench().Fixes().Count()).Position, proposed) << name;
    }
  }
  for (std::uint16_t pos = 1; pos <= Bench().Fixes().Count(); ++pos) {
    const TTriV before = Bench().Fixes().Get(pos).Position;
    for (int rename = 0; rename < 3; ++rename) {
      Bench().SelectRow(pos - 1);
      const TFixEdit edit = Bench().BeginFixEdit(false);
      const std::string name = "R" + std::to_string(pos) + "-" + std::to_string(rename);
      const TFixCheck check = Bench().CheckFixInput(edit, name, edit.Latitude, edit.Longitude);
      ASSERT_TRUE(Bench().StoreFix(edit, check, edit.Latitude, edit.Longitude));
    }
    EXPECT_EQ(Bench().Fixes().Get(pos).Position, before) << "fix " << pos;
  }
}

TEST_F(FixInputTest, TypedCharactersOfTheFixDialog) {
  const std::string typed = "29d33'10\"n";
  std::string shown;
  for (const char c : typed) {
    if (const char k = FilterFixChar(TFixField::Latitude, c)) shown += k;
  }
  EXPECT_EQ(shown, "29\xB0" "33'10\"N");
  EXPECT_EQ(FilterFixChar(TFixField::Latitude, 'E'), 0);
  EXPECT_EQ(FilterFixChar(TFixField::Longitude, 'e'), 'E');
  EXPECT_EQ(FilterFixChar(TFixField::Longitude, 'd'), DegreeSign);
  EXPECT_EQ(FilterFixChar(TFixField::Name, 'd'), 'D') << "no degree sign in a name";
  EXPECT_EQ(FilterFixChar(TFixField::Name, ' '), 0);
  EXPECT_EQ(FilterFixChar(TFixField::Name, '/'), '/');
  EXPECT_EQ(FilterFixChar(TFixField::Name, '\xE9'), 0);
  EXPECT_EQ(FilterFixChar(TFixField::Name, BackspaceChar), BackspaceChar);
}

TEST_F(FixInputTest, TypedCharactersOfTheOperationDialog) {
  EXPECT_EQ(FilterOperandChar(1, ' ').Key, TOperandKey::Complete);
  EXPECT_EQ(FilterOperandChar(4, 'a').Char, 'A');
  EXPECT_EQ(FilterOperandChar(2, '.').Key, TOperandKey::Accepted);
  EXPECT_EQ(FilterOperandChar(3, '\xB0').Key, TOperandKey::Dropped);
  EXPECT_EQ(FilterOperandChar(5, 'E').Key, TOperandKey::Dropped) << "1E3 cannot be typed";
  EXPECT_EQ(FilterOperandChar(5, '-').Key, TOperandKey::Accepted);
  EXPECT_EQ(FilterOperandChar(6, '\'').Key, TOperandKey::Accepted);
  EXPECT_EQ(FilterOperandChar(6, ' ').Key, TOperandKey::Dropped);
  EXPECT_EQ(FilterOperandChar(6, BackspaceChar).Key, TOperandKey::Accepted);
}

TEST_F(FixInputTest, OperandFieldsAndCompletion) {
  AddNames({"ALPHA", "ALBANY", "BETA"});
  EXPECT_EQ(Bench().CheckOperandField(TFieldKind::Fix, "ALBANY").Fix, 2);
  EXPECT_FALSE(Bench().CheckOperandField(TFieldKind::Fix, "albany").Valid) << "case-sensitive";
  EXPECT_FALSE(Bench().CheckOperandField(TFieldKind::Fix, " BETA").Valid) << "untrimmed";
  EXPECT_FALSE(Bench().CheckOperandField(TFieldKind::Fix, "").Valid);
  EXPECT_EQ(Bench().CheckOperandField(TFieldKind::Distance, "1E3").Number, 1000.0L);
  EXPECT_FALSE(Bench().CheckOperandField(TFieldKind::Distance, "").Valid);
  EXPECT_EQ(Bench().CheckOperandField(TFieldKind::Azimuth, "-45\xB0" "30'").Number, -45.5L);
  std::string name;
  EXPECT_EQ(Bench().CompleteName("AL", 1, name), 1);
  EXPECT_EQ(name, "ALPHA");
  EXPECT_EQ(Bench().CompleteName("AL", 2, name), 2);
  EXPECT_EQ(name, "ALBANY");
  EXPECT_EQ(Bench().CompleteName("AL", 3, name), 0);
  EXPECT_EQ(Bench().CompleteName("", 1, name), 0);
}

}  // namespace
}  // namespace navorix
