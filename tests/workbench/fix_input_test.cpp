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
  FixEdit edit = Bench().BeginFixEdit(false);
  EXPECT_FALSE(edit.isNew);
  EXPECT_EQ(edit.caption, " Edit Fix");
  EXPECT_EQ(edit.editPos, 2);
  EXPECT_EQ(edit.name, "B");
  // Add on a fix row, and Edit on the blank row, are new fixes.
  edit = Bench().BeginFixEdit(true);
  EXPECT_TRUE(edit.isNew);
  EXPECT_EQ(edit.caption, " New Fix");
  EXPECT_EQ(edit.pos, 2);
  Bench().SelectRow(2);
  edit = Bench().BeginFixEdit(false);
  EXPECT_TRUE(edit.isNew);
  EXPECT_EQ(edit.pos, 3);
  // With no pending fix a new fix starts empty.
  EXPECT_EQ(edit.name, "");
  EXPECT_EQ(edit.latitude, "");
  EXPECT_EQ(edit.longitude, "");
}

TEST_F(FixInputTest, PrefilledTextsAreTheShownCoordinates) {
  AddFix("NOVOSIBIRSK/RUS", "29.552867", "-175.309289");
  Bench().SetDisplayOption(DisplayOption::LatLonFormat, Index(AngleFormat::DegMinSec));
  Bench().SetDisplayOption(DisplayOption::Precision, Index(Accuracy::High));
  Bench().SelectRow(0);
  const FixEdit edit = Bench().BeginFixEdit(false);
  EXPECT_EQ(edit.name, "NOVOSIBIRSK/RUS");
  EXPECT_EQ(edit.latitude,
            "29\xB0"
            "33'10.32\"N");
  EXPECT_EQ(edit.longitude,
            "175\xB0"
            "18'33.44\"W");
}

TEST_F(FixInputTest, ChangingOnlyTheNameKeepsThePositionBitForBit) {
  Bench().SetDisplayOption(DisplayOption::LatLonFormat, Index(AngleFormat::DegFrac));
  AddFix("A", "12.3456789", "-98.7654321");  // shown rounded to 0.01 degree
  const Vector3 before = Bench().Fixes().Get(1).position;
  Bench().SelectRow(0);
  const FixEdit edit = Bench().BeginFixEdit(false);
  ASSERT_EQ(edit.latitude, "12.35\xB0N");
  const FixCheck check = Bench().CheckFixInput(edit, "RENAMED", edit.latitude, edit.longitude);
  ASSERT_TRUE(Bench().StoreFix(edit, check, edit.latitude, edit.longitude));
  EXPECT_EQ(Bench().Fixes().Get(1).name, "RENAMED");
  EXPECT_EQ(Bench().Fixes().Get(1).position, before);
  EXPECT_EQ(Bench().Fixes().Count(), 1);
}

TEST_F(FixInputTest, RetypedCoordinatesReplaceThePosition) {
  Bench().SetDisplayOption(DisplayOption::LatLonFormat, Index(AngleFormat::DegFrac));
  AddFix("A", "12.3456789", "-98.7654321");
  const Vector3 before = Bench().Fixes().Get(1).position;
  Bench().SelectRow(0);
  const FixEdit edit = Bench().BeginFixEdit(false);
  // The same latitude in another notation is new text: it is parsed.
  const std::string lat =
      "12\xB0"
      "21'N";
  const FixCheck check = Bench().CheckFixInput(edit, "A", lat, edit.longitude);
  ASSERT_TRUE(check.Passed()) << "a fix may keep its own name";
  ASSERT_TRUE(Bench().StoreFix(edit, check, lat, edit.longitude));
  EXPECT_NE(Bench().Fixes().Get(1).position, before);
  EXPECT_EQ(View().rows[0], Bench().RowText(0));
}

TEST_F(FixInputTest, ANameInUseIsShownBeforeAnyFieldIsMarked) {
  AddNames({"ALPHA", "BRAVO"});
  Bench().SelectRow(2);
  const FixEdit edit = Bench().BeginFixEdit(true);
  const FixCheck check = Bench().CheckFixInput(edit, " alpha ", "not", "read");
  EXPECT_TRUE(check.nameInUse);
  EXPECT_FALSE(check.latitudeBad) << "the coordinates are not checked";
  ASSERT_EQ(View().errors.size(), 1u);
  EXPECT_EQ(View().errors[0], "This fix name is already in use");
  EXPECT_FALSE(Bench().StoreFix(edit, check, "not", "read"));
  EXPECT_EQ(Bench().Fixes().Count(), 2);
  // An edited fix may not take another fix's name either.
  Bench().SelectRow(1);
  const FixEdit bravo = Bench().BeginFixEdit(false);
  EXPECT_TRUE(Bench().CheckFixInput(bravo, "ALPHA", "1", "2").nameInUse);
}

TEST_F(FixInputTest, EveryBadFieldIsMarked) {
  const FixEdit edit = Bench().BeginFixEdit(true);
  FixCheck check = Bench().CheckFixInput(edit, "1ABC",
                                         "29\xB0"
                                         "3",
                                         "175W1");
  EXPECT_TRUE(check.nameBad);
  EXPECT_TRUE(check.latitudeBad);
  EXPECT_TRUE(check.longitudeBad);
  EXPECT_FALSE(check.Passed());
  check = Bench().CheckFixInput(edit, "  kilo-1 ",
                                "29\xB0"
                                "33'10.32\"N",
                                "175W183344");
  EXPECT_TRUE(check.Passed());
  EXPECT_EQ(check.name, "KILO-1");
  EXPECT_TRUE(View().errors.empty());
}

TEST_F(FixInputTest, APendingFixAppendedStaysAndInsertedAboveARowGoes) {
  AddNames({"A", "B"});
  ASSERT_EQ(Run(OperationTag::Midpoint, {1, 2}), RunResult::Logged);
  ASSERT_TRUE(Bench().PendingFix().valid);
  const Vector3 midpoint = Bench().PendingFix().position;
  // From the blank row: appended, and the next new fix starts from it again.
  Bench().SelectRow(2);
  FixEdit edit = Bench().BeginFixEdit(true);
  EXPECT_EQ(edit.name, "MIDPOINT/NEW");
  FixCheck check = Bench().CheckFixInput(edit, edit.name, edit.latitude, edit.longitude);
  ASSERT_TRUE(Bench().StoreFix(edit, check, edit.latitude, edit.longitude));
  EXPECT_EQ(Bench().Fixes().Get(3).position, midpoint);
  EXPECT_TRUE(Bench().PendingFix().valid);
  edit = Bench().BeginFixEdit(true);
  EXPECT_EQ(edit.name, "MIDPOINT/NEW");
  // Refused now as a name in use, unless renamed; stored above row 0 it
  // empties the pending fix.
  EXPECT_TRUE(Bench().CheckFixInput(edit, edit.name, edit.latitude, edit.longitude).nameInUse);
  Bench().SelectRow(0);
  edit = Bench().BeginFixEdit(true);
  check = Bench().CheckFixInput(edit, "MID2", edit.latitude, edit.longitude);
  ASSERT_TRUE(Bench().StoreFix(edit, check, edit.latitude, edit.longitude));
  EXPECT_EQ(Bench().Fixes().Get(1).name, "MID2");
  EXPECT_FALSE(Bench().PendingFix().valid);
  EXPECT_EQ(Bench().BeginFixEdit(true).name, "");
}

TEST_F(FixInputTest, StoringAsShownNeverMovesAPositionByARounding) {
  // Computed and typed positions are unit vectors only to a rounding; scaled
  // to unit length once more their last bits may move, and each rename
  // would move them again.
  const char* coordinates[][2] = {{"10.123456789", "20.987654321"},
                                  {"-33.3333333333", "151.2222222222"},
                                  {"89.9999", "-179.9999"},
                                  {"0.0001", "0.0001"},
                                  {"45.5", "-120.25"},
                                  {"-60.606060606", "77.777777777"}};
  for (const auto& c : coordinates) AddFix("F" + std::to_string(Bench().Fixes().Count()), c[0], c[1]);
  const std::uint16_t typed = Bench().Fixes().Count();
  for (std::uint16_t a = 1; a <= typed; ++a) {
    for (std::uint16_t b = static_cast<std::uint16_t>(a + 1); b <= typed; ++b) {
      ASSERT_EQ(Run(OperationTag::Midpoint, {a, b}), RunResult::Logged);
      const Vector3 proposed = Bench().PendingFix().position;
      Bench().SelectRow(Bench().RowCount() - 1);
      const FixEdit edit = Bench().BeginFixEdit(true);
      const std::string name = "M" + std::to_string(a) + "-" + std::to_string(b);
      const FixCheck check = Bench().CheckFixInput(edit, name, edit.latitude, edit.longitude);
      ASSERT_TRUE(Bench().StoreFix(edit, check, edit.latitude, edit.longitude));
      EXPECT_EQ(Bench().Fixes().Get(Bench().Fixes().Count()).position, proposed) << name;
    }
  }
  for (std::uint16_t pos = 1; pos <= Bench().Fixes().Count(); ++pos) {
    const Vector3 before = Bench().Fixes().Get(pos).position;
    for (int rename = 0; rename < 3; ++rename) {
      Bench().SelectRow(pos - 1);
      const FixEdit edit = Bench().BeginFixEdit(false);
      const std::string name = "R" + std::to_string(pos) + "-" + std::to_string(rename);
      const FixCheck check = Bench().CheckFixInput(edit, name, edit.latitude, edit.longitude);
      ASSERT_TRUE(Bench().StoreFix(edit, check, edit.latitude, edit.longitude));
    }
    EXPECT_EQ(Bench().Fixes().Get(pos).position, before) << "fix " << pos;
  }
}

TEST_F(FixInputTest, TypedCharactersOfTheFixDialog) {
  const std::string typed = "29d33'10\"n";
  std::string shown;
  for (const char c : typed) {
    if (const char k = FilterFixChar(FixField::Latitude, c)) shown += k;
  }
  EXPECT_EQ(shown,
            "29\xB0"
            "33'10\"N");
  EXPECT_EQ(FilterFixChar(FixField::Latitude, 'E'), 0);
  EXPECT_EQ(FilterFixChar(FixField::Longitude, 'e'), 'E');
  EXPECT_EQ(FilterFixChar(FixField::Longitude, 'd'), DegreeSign);
  EXPECT_EQ(FilterFixChar(FixField::Name, 'd'), 'D') << "no degree sign in a name";
  EXPECT_EQ(FilterFixChar(FixField::Name, ' '), 0);
  EXPECT_EQ(FilterFixChar(FixField::Name, '/'), '/');
  EXPECT_EQ(FilterFixChar(FixField::Name, '\xE9'), 0);
  EXPECT_EQ(FilterFixChar(FixField::Name, BackspaceChar), BackspaceChar);
}

TEST_F(FixInputTest, TypedCharactersOfTheOperationDialog) {
  EXPECT_EQ(FilterOperandChar(1, ' ').key, OperandKey::Complete);
  EXPECT_EQ(FilterOperandChar(4, 'a').character, 'A');
  EXPECT_EQ(FilterOperandChar(2, '.').key, OperandKey::Accepted);
  EXPECT_EQ(FilterOperandChar(3, '\xB0').key, OperandKey::Dropped);
  EXPECT_EQ(FilterOperandChar(5, 'E').key, OperandKey::Dropped) << "1E3 cannot be typed";
  EXPECT_EQ(FilterOperandChar(5, '-').key, OperandKey::Accepted);
  EXPECT_EQ(FilterOperandChar(6, '\'').key, OperandKey::Accepted);
  EXPECT_EQ(FilterOperandChar(6, ' ').key, OperandKey::Dropped);
  EXPECT_EQ(FilterOperandChar(6, BackspaceChar).key, OperandKey::Accepted);
}

TEST_F(FixInputTest, OperandFieldsAndCompletion) {
  AddNames({"ALPHA", "ALBANY", "BETA"});
  EXPECT_EQ(Bench().CheckOperandField(FieldKind::Fix, "ALBANY").fix, 2);
  EXPECT_FALSE(Bench().CheckOperandField(FieldKind::Fix, "albany").valid) << "case-sensitive";
  EXPECT_FALSE(Bench().CheckOperandField(FieldKind::Fix, " BETA").valid) << "untrimmed";
  EXPECT_FALSE(Bench().CheckOperandField(FieldKind::Fix, "").valid);
  EXPECT_EQ(Bench().CheckOperandField(FieldKind::Distance, "1E3").number, 1000.0L);
  EXPECT_FALSE(Bench().CheckOperandField(FieldKind::Distance, "").valid);
  EXPECT_EQ(Bench()
                .CheckOperandField(FieldKind::Azimuth,
                                   "-45\xB0"
                                   "30'")
                .number,
            -45.5L);
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
