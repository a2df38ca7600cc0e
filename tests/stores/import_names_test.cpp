// The rule that makes any name another program gave a waypoint into a
// valid, unused fix name.
#include "stores/import_names.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "stores_test_support.h"
#include "text/fix_names.h"

namespace navorix {
namespace {

using testing::MakeTestFix;

struct NameCase {
  const char* original;  // UTF-8
  const char* name;
};

TEST(ImportNames, EachNameBecomesAValidOne) {
  const NameCase cases[] = {
      {"Paris", "PARIS"},
      {"  paris\t", "PARIS"},
      {"Port of Spain", "PORT-OF-SPAIN"},
      {"Washington,  D.C.", "WASHINGTON-D.C."},
      {"Saint George's", "SAINT-GEORGE-S"},
      {"A - B", "A-B"},
      {"Le Croisic / Port", "LE-CROISIC/PORT"},
      {"Brest Marina du Ch\xC3\xA2teau", "BREST-MARINA-DU"},  // no "-" left by the cut
      {"abcdefghijklmno-", "ABCDEFGHIJKLMNO-"},               // not cut: the "-" stays
      {"A-", "A-"},
      {"(Paris)", "PARIS"},
      {"Bogot\xC3\xA1", "BOGOTA"},
      {"K\xC3\xB8"
       "benhavn",
       "KOBENHAVN"},
      {"\xC3\x9Cr\xC3\xBCmqi", "URUMQI"},
      {"Stra\xC3\x9F"
       "e",
       "STRASSE"},
      {"\xC3\x86r\xC3\xB8", "AERO"},
      {"Chi\xC8\x99in\xC4\x83u", "CHISINAU"},  // s and a of Latin Extended
      {"\xC5\x81\xC3\xB3"
       "d\xC5\xBA",
       "LODZ"},  // L-stroke, o-acute, z-acute
      {"\xC5\x92uvre", "OEUVRE"},
      {"Cafe\xCC\x81", "CAFE"},  // a combining accent is dropped
      {"Tab\there", "TAB-HERE"},
      {"\xFF\xFE"
       "abc",
       "ABC"},            // malformed UTF-8
      {"x\xE9y", "X-Y"},  // a Windows-1252 byte in UTF-8
      {"001", "WP001"},
      {"-12", "WP-12"},
      {"1st Street", "WP1ST-STREET"},
      {"Sri Jayawardenepura Kotte", "SRI-JAYAWARDENEP"},
      {"MIDPOINT/NEW", "MIDPOINT/NEW"},
      {"abcdefghijklmnopq/x", "ABCDEFGHIJKLMN/X"},
      {"abc/", "ABC"},
      {"a.b_c-d/e", "A.B_C-D/E"},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(ValidFixName(c.original, 1), c.name) << c.original;
  }
}

TEST(ImportNames, AnEntryWithoutANameIsNamedByItsNumber) {
  EXPECT_EQ(ValidFixName("", 7), "WP7");
  EXPECT_EQ(ValidFixName("  \r\n", 12), "WP12");
  EXPECT_EQ(ValidFixName("\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", 65535), "WP65535");  // Cyrillic
}

TEST(ImportNames, OnlyCapitalsTellsACaseChangeFromARename) {
  EXPECT_TRUE(OnlyCapitals(" paris ", "PARIS"));
  EXPECT_TRUE(OnlyCapitals("Mid/New", "MID/NEW"));
  EXPECT_FALSE(OnlyCapitals("Port of Spain", "PORT-OF-SPAIN"));
  EXPECT_FALSE(OnlyCapitals("Bogot\xC3\xA1", "BOGOTA"));
  EXPECT_FALSE(OnlyCapitals("abcdefghijklmnopq", "ABCDEFGHIJKLMNOP"));
}

TEST(ImportNames, ATakenNameGetsTheFirstFreeNumber) {
  FixDatabase db;
  db.Add(MakeTestFix("PARIS"));
  db.Add(MakeTestFix("PARIS-3"));
  db.Add(MakeTestFix("ABCDEFGHIJKLMNOP"));
  db.Add(MakeTestFix("ABCDEFGHIJKLM/XY"));
  db.Add(MakeTestFix("A/BCDEFGHIJKLM"));
  ImportNames names(db);
  EXPECT_EQ(names.Claim("LONDON"), "LONDON");
  EXPECT_EQ(names.Claim("LONDON"), "LONDON-2");
  EXPECT_EQ(names.Claim("PARIS"), "PARIS-2");
  EXPECT_EQ(names.Claim("PARIS"), "PARIS-4");
  EXPECT_EQ(names.Claim("ABCDEFGHIJKLMNOP"), "ABCDEFGHIJKLMN-2");
  // A suffix after "/" keeps at most 13 characters, and a cut that leaves
  // a bare "/" drops it.
  EXPECT_EQ(names.Claim("ABCDEFGHIJKLM/XY"), "ABCDEFGHIJKLM-2");
  EXPECT_EQ(names.Claim("A/BCDEFGHIJKLM"), "A/BCDEFGHIJKL-2");
}

TEST(ImportNames, NumbersGoOnBeyondNine) {
  FixDatabase db;
  ImportNames names(db);
  std::vector<std::string> got;
  for (int i = 0; i < 12; ++i) got.push_back(names.Claim("ABCDEFGHIJKLMNOP"));
  EXPECT_EQ(got[1], "ABCDEFGHIJKLMN-2");
  EXPECT_EQ(got[8], "ABCDEFGHIJKLMN-9");
  EXPECT_EQ(got[9], "ABCDEFGHIJKLM-10");
  EXPECT_EQ(got[11], "ABCDEFGHIJKLM-12");
}

// Names made of random characters, blanks, slashes and accented letters all
// come out valid, stored as they are, and distinct.
TEST(ImportNames, EveryResultIsAValidDistinctStoredName) {
  const std::vector<std::string> pieces = {"a",    "Z",  "0",  " ",        "/",        "-",
                                           ".",    "_",  "'",  "\xC3\xA9", "\xC3\x9F", "\xE2\x82\xAC",
                                           "\xFF", "\t", "//", "9"};
  std::mt19937 random(19);
  FixDatabase db;
  db.Add(MakeTestFix("A"));
  ImportNames names(db);
  std::vector<std::string> seen;
  for (int i = 0; i < 4000; ++i) {
    std::string original;
    const int length = static_cast<int>(random() % 24);
    for (int k = 0; k < length; ++k) original += pieces[random() % pieces.size()];
    std::string name = names.Claim(ValidFixName(original, static_cast<std::uint32_t>(i + 1)));
    EXPECT_TRUE(IsFixNameAsIs(name)) << original << " -> " << name;
    EXPECT_TRUE(IsFittedFixName(name)) << original << " -> " << name;
    EXPECT_NE(name, "A");
    seen.push_back(name);
  }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
}

}  // namespace
}  // namespace navorix
