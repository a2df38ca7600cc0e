#include "stores/fix_db.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "geometry/error.h"
#include "stores_test_support.h"

namespace navorix {
namespace {

using testing::MakeTestFix;

std::vector<std::string> Names(const FixDatabase& db) {
  std::vector<std::string> names;
  for (std::uint16_t pos = 1; pos <= db.Count(); ++pos) names.push_back(db.Get(pos).name.Str());
  return names;
}

void AddAll(FixDatabase& db, const std::vector<std::string>& names) {
  for (const auto& name : names) db.Add(MakeTestFix(name));
}

TEST(FixDatabase, EditingOperationsKeepTheOrder) {
  FixDatabase db;
  AddAll(db, {"A", "B", "C"});
  db.Insert(MakeTestFix("X"), 2);
  db.Insert(MakeTestFix("END"), 5);  // Count + 1 appends
  EXPECT_EQ(Names(db), (std::vector<std::string>{"A", "X", "B", "C", "END"}));
  db.Delete(1);
  db.Replace(MakeTestFix("Y"), 1);
  EXPECT_EQ(Names(db), (std::vector<std::string>{"Y", "B", "C", "END"}));
  // Positions that are no fix change nothing.
  db.Delete(0);
  db.Delete(5);
  db.Replace(MakeTestFix("Z"), 9);
  EXPECT_EQ(db.Count(), 4);
  EXPECT_FALSE(db.Get(0).valid);
  EXPECT_FALSE(db.Get(5).valid);
}

// Every change of the fixes gives a revision not seen before, so that what
// a reader worked out from them is never taken for current after a change.
TEST(FixDatabase, EveryChangeGivesANewRevision) {
  const std::vector<std::pair<const char*, std::function<void(FixDatabase&)>>> changes = {
      {"Add", [](FixDatabase& db) { db.Add(MakeTestFix("D")); }},
      {"Insert", [](FixDatabase& db) { db.Insert(MakeTestFix("E"), 1); }},
      {"Replace", [](FixDatabase& db) { db.Replace(MakeTestFix("F"), 2); }},
      {"MoveUp", [](FixDatabase& db) { db.MoveUp(2); }},
      {"MoveDown", [](FixDatabase& db) { db.MoveDown(1); }},
      {"Sort", [](FixDatabase& db) { db.Sort(SortOrder::ByName, Vector3{}); }},
      {"Delete", [](FixDatabase& db) { db.Delete(1); }},
      {"Clear", [](FixDatabase& db) { db.Clear(); }},
  };
  FixDatabase db;
  AddAll(db, {"C", "B", "A"});
  std::vector<std::uint64_t> seen{db.Revision()};
  for (const auto& [what, change] : changes) {
    change(db);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), db.Revision()), 0) << what;
    seen.push_back(db.Revision());
  }
  // Reading and looking up change nothing.
  const std::uint64_t now = db.Revision();
  AddAll(db, {"A"});
  const std::uint64_t added = db.Revision();
  (void)db.FindName("A");
  (void)db.Get(1);
  EXPECT_EQ(db.Revision(), added);
  EXPECT_NE(added, now);
}

TEST(FixDatabase, MoveUpAndDownRefuseTheEndsAndTheBlankRow) {
  FixDatabase db;
  AddAll(db, {"A", "B", "C"});
  EXPECT_FALSE(db.MoveUp(1));
  EXPECT_FALSE(db.MoveUp(4));  // the blank row
  EXPECT_FALSE(db.MoveDown(3));
  EXPECT_FALSE(db.MoveDown(4));
  EXPECT_FALSE(db.MoveDown(0));
  EXPECT_EQ(Names(db), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_TRUE(db.MoveUp(3));
  EXPECT_TRUE(db.MoveDown(1));
  EXPECT_EQ(Names(db), (std::vector<std::string>{"C", "A", "B"}));
}

TEST(FixDatabase, FindNameGivesTheFirstExactMatchAndFollowsEveryChange) {
  FixDatabase db;
  AddAll(db, {"ALPHA", "BRAVO", "ALPHA", "alpha"});
  EXPECT_EQ(db.FindName("ALPHA"), 1);
  EXPECT_EQ(db.FindName("alpha"), 4);
  EXPECT_EQ(db.FindName("ALPH"), 0);
  EXPECT_EQ(db.FindName("ALPHAX"), 0);
  EXPECT_EQ(db.FindName(""), 0);
  db.Delete(1);  // the second ALPHA becomes the first
  EXPECT_EQ(db.FindName("ALPHA"), 2);
  EXPECT_EQ(db.FindName("BRAVO"), 1);
  db.Insert(MakeTestFix("BRAVO"), 1);
  EXPECT_EQ(db.FindName("BRAVO"), 1);
  EXPECT_EQ(db.FindName("ALPHA"), 3);
  db.Add(MakeTestFix("CHARLIE"));
  db.Add(MakeTestFix("ALPHA"));  // a later duplicate does not win
  EXPECT_EQ(db.FindName("CHARLIE"), 5);
  EXPECT_EQ(db.FindName("ALPHA"), 3);
  db.Replace(MakeTestFix("DELTA"), 3);
  EXPECT_EQ(db.FindName("ALPHA"), 6);
  EXPECT_EQ(db.FindName("DELTA"), 3);
  EXPECT_TRUE(db.MoveUp(3));
  EXPECT_EQ(db.FindName("DELTA"), 2);
  db.Sort(SortOrder::ByName, {});
  EXPECT_EQ(db.FindName("ALPHA"), 1);
  db.Clear();
  EXPECT_EQ(db.FindName("ALPHA"), 0);
  // A 17-character name cannot match the 16 characters stored.
  db.Add(MakeTestFix("ABCDEFGHIJKLMNOPQ"));
  EXPECT_EQ(db.FindName("ABCDEFGHIJKLMNOPQ"), 0);
  EXPECT_EQ(db.FindName("ABCDEFGHIJKLMNOP"), 1);
}

TEST(FixDatabase, FindPrefixStartsAtStart) {
  FixDatabase db;
  AddAll(db, {"ALPHA", "MIKE", "BRAVO", "MIDPOINT/NEW"});
  EXPECT_EQ(db.FindPrefix("M", 1), 2);
  EXPECT_EQ(db.FindPrefix("M", 3), 4);  // skips MIKE at 2
  EXPECT_EQ(db.FindPrefix("MI", 5), 0);
  EXPECT_EQ(db.FindPrefix("", 1), 0);
  EXPECT_EQ(db.FindPrefix("m", 1), 0);
  EXPECT_EQ(db.FindPrefix("MIDPOINT/", 0), 4);
  EXPECT_EQ(db.FindPrefix("ALPHA2", 1), 0);
}

TEST(FixDatabase, SixtyFiveThousandFiveHundredThirtyFiveFixesFillIt) {
  FixDatabase db;
  for (std::uint32_t i = 0; i < MaxFixes; ++i) db.Add(MakeTestFix("F" + std::to_string(i)));
  EXPECT_EQ(db.Count(), 65535);
  try {
    db.Add(MakeTestFix("ONE_MORE"));
    FAIL() << "a full database took one more fix";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Not enough room in the fix database");
  }
  EXPECT_THROW(db.Insert(MakeTestFix("ONE_MORE"), 1), Error);
  EXPECT_EQ(db.Count(), 65535);
  EXPECT_EQ(db.Get(1).name, "F0");
  EXPECT_EQ(db.FindName("F65534"), 65535);
  EXPECT_EQ(db.FindName("ONE_MORE"), 0);
  // The last position is reachable with a 16-bit number.
  EXPECT_EQ(db.FindPrefix("F65534", 65535), 65535);
  EXPECT_FALSE(db.MoveDown(65535));
  EXPECT_TRUE(db.MoveUp(65535));
}

TEST(FixDatabase, SortByNameIsByteOrderWithPrefixesFirst) {
  FixDatabase db;
  AddAll(db, {"ZULU", "AB", "A", "\xC4RGER", "A1", "ABC"});
  db.Sort(SortOrder::ByName, {});
  // 0xC4 sorts after every ASCII letter: the bytes count as unsigned.
  EXPECT_EQ(Names(db), (std::vector<std::string>{"A", "A1", "AB", "ABC", "ZULU", "\xC4RGER"}));
}

TEST(FixDatabase, SortBySuffixPutsNamesWithoutSuffixFirst) {
  FixDatabase db;
  AddAll(db, {"ZULU/A", "X/B", "Y/A", "ALPHA", "MIDPOINT/NEW", "BRAVO"});
  db.Sort(SortOrder::BySuffix, {});
  // Keys: " ALPHA", " BRAVO", "AY", "AZULU", "BX", "NEWMIDPOINT".
  EXPECT_EQ(Names(db), (std::vector<std::string>{"ALPHA", "BRAVO", "Y/A", "ZULU/A", "X/B", "MIDPOINT/NEW"}));
}

TEST(FixDatabase, SortByDistanceFromAReferenceEqualToAFix) {
  FixDatabase db;
  db.Add(MakeTestFix("FAR", -40.0L, 170.0L));
  db.Add(MakeTestFix("NEAR", 11.0L, 20.0L));
  db.Add(MakeTestFix("HERE", 10.0L, 20.0L));
  db.Add(MakeTestFix("MID", 30.0L, 40.0L));
  db.Sort(SortOrder::ByDistance, db.Get(3).position);
  EXPECT_EQ(Names(db), (std::vector<std::string>{"HERE", "NEAR", "MID", "FAR"}));
}

TEST(FixDatabase, ABadOrderIsRefusedAndChangesNothing) {
  FixDatabase db;
  AddAll(db, {"B", "A"});
  try {
    db.Sort(static_cast<SortOrder>(3), {});
    FAIL() << "order 3 sorted";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Bad order in Sort() - please report!");
  }
  EXPECT_THROW(db.Sort(static_cast<SortOrder>(255), {}), Error);
  EXPECT_EQ(Names(db), (std::vector<std::string>{"B", "A"}));
}

// The procedure as the program describes it, recursive, on plain keys.
void ReferenceSort(std::vector<std::pair<int, int>>& a, int L, int R) {
  for (;;) {
    int I = L, J = R;
    const auto pivot = a[static_cast<std::size_t>((L + R) / 2)];
    auto cmp = [](const std::pair<int, int>& x, const std::pair<int, int>& y) {
      return x.first < y.first ? -1 : (x.first > y.first ? 1 : 0);
    };
    do {
      while (cmp(a[static_cast<std::size_t>(I)], pivot) < 0) ++I;
      while (cmp(a[static_cast<std::size_t>(J)], pivot) > 0) --J;
      if (I <= J) {
        std::swap(a[static_cast<std::size_t>(I)], a[static_cast<std::size_t>(J)]);
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) ReferenceSort(a, L, J);
    L = I;
    if (I >= R) break;
  }
}

TEST(FixDatabase, EqualKeysEndWhereTheDescribedQuicksortLeavesThem) {
  // Many fixes share a distance (the same position) and differ only by name,
  // so the result shows the order in which the procedure leaves equal keys.
  std::mt19937 random(12345);
  for (int round = 0; round < 20; ++round) {
    const int n = 50 + round * 97;
    std::vector<std::pair<int, int>> keys;
    FixDatabase db;
    for (int i = 0; i < n; ++i) {
      const int group = static_cast<int>(random() % 7);
      keys.push_back({group, i});
      db.Add(MakeTestFix("F" + std::to_string(i), 10.0L * group, 0.0L));
    }
    ReferenceSort(keys, 0, n - 1);
    db.Sort(SortOrder::ByDistance, PosFromLatLon(EarthModel{}, -10.0L * DegToRad, 0.0L));
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(db.Get(static_cast<std::uint16_t>(i + 1)).name,
                "F" + std::to_string(keys[static_cast<std::size_t>(i)].second))
          << "round " << round << " position " << i + 1;
    }
  }
}

// Names and suffix keys compared as packed words must order exactly as the
// plain byte comparison: bytes above 0x7F, prefixes, and even zero bytes.
TEST(FixDatabase, NameAndSuffixOrdersAreTheByteOrder) {
  std::mt19937 random(777);
  const std::string alphabet = std::string("AB/Z09-") + '\0' + '\x80' + '\xFF';
  std::vector<std::string> names;
  for (int i = 0; i < 3000; ++i) {
    std::string name;
    const std::size_t length = random() % 17;
    for (std::size_t k = 0; k < length; ++k) name += alphabet[random() % alphabet.size()];
    names.push_back(name);
  }
  auto suffixKey = [](const std::string& name) {
    const std::size_t slash = name.find('/');
    return slash == std::string::npos ? " " + name : name.substr(slash + 1) + name.substr(0, slash);
  };
  for (const SortOrder order : {SortOrder::ByName, SortOrder::BySuffix}) {
    FixDatabase db;
    for (const std::string& name : names) db.Add(MakeTestFix(name));
    db.Sort(order, {});
    for (std::uint16_t pos = 2; pos <= db.Count(); ++pos) {
      std::string a = db.Get(static_cast<std::uint16_t>(pos - 1)).name.Str();
      std::string b = db.Get(pos).name.Str();
      if (order == SortOrder::BySuffix) {
        a = suffixKey(a);
        b = suffixKey(b);
      }
      // std::string compares as unsigned bytes with the shorter prefix first.
      ASSERT_LE(a, b) << "position " << pos;
    }
  }
}

TEST(FixDatabase, SortingAFullDatabaseOfSortedOrEqualKeysFinishes) {
  FixDatabase db;
  for (std::uint32_t i = 0; i < MaxFixes; ++i) db.Add(MakeTestFix("SAME"));
  db.Sort(SortOrder::ByName, {});
  db.Sort(SortOrder::BySuffix, {});
  EXPECT_EQ(db.Count(), 65535);
}

}  // namespace
}  // namespace navorix
