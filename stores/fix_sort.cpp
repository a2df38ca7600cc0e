// The three sort orders of the fix database.
//
// Notation:
//   L, R   the range being sorted (0-based, inclusive)
//   I, J   the scans running up from L and down from R
//   key    what an order compares: the name, the suffix key (the text after
//          the first "/" followed by the text before it; a blank and the
//          name when there is no "/"), or the squared chord |P - reference|^2
//
// Keys are computed once per fix before sorting, so a comparison never
// allocates.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "geometry/error.h"
#include "stores/fix_db.h"

namespace navorix {

namespace {

// The program's quicksort: middle pivot, scans that stop at keys equal to
// the pivot, exchange, then the left part L..J and the right part I..R.
// The two parts are disjoint and each is sorted from its own contents only,
// so sorting the smaller part first (and keeping the larger one on a
// stack) leaves exactly the order of the recursive procedure while the
// stack never holds more than log2(n) ranges.
template <class Item, class Compare>
void QuickSort(std::vector<Item>& Items, Compare Cmp) {
  if (Items.size() < 2) return;
  struct Range {
    std::ptrdiff_t L, R;
  };
  std::vector<Range> pending{{0, static_cast<std::ptrdiff_t>(Items.size()) - 1}};
  while (!pending.empty()) {
    auto [L, R] = pending.back();
    pending.pop_back();
    while (L < R) {
      std::ptrdiff_t I = L;
      std::ptrdiff_t J = R;
      const Item pivot = Items[static_cast<std::size_t>((L + R) / 2)];
      do {
        while (Cmp(Items[static_cast<std::size_t>(I)], pivot) < 0) ++I;
        while (Cmp(Items[static_cast<std::size_t>(J)], pivot) > 0) --J;
        if (I <= J) {
          std::swap(Items[static_cast<std::size_t>(I)], Items[static_cast<std::size_t>(J)]);
          ++I;
          --J;
        }
      } while (I <= J);
      // Left L..J (when L < J) and right I..R (when I < R).
      if (J - L < R - I) {
        if (I < R) pending.push_back({I, R});
        R = J;
      } else {
        if (L < J) pending.push_back({L, J});
        L = I;
      }
    }
  }
}

// A name or suffix key packed into three big-endian words, zero-padded:
// comparing the words as integers, then the lengths, is comparing the keys
// byte for byte as unsigned characters with a prefix first (equal words
// mean that one key is the other followed by zero bytes). The items are
// contiguous, so the sort touches no fix while it compares.
struct KeyItem {
  std::array<std::uint64_t, 3> Words;
  std::uint8_t Length;
  std::unique_ptr<TFix>* Slot;
};

constexpr std::size_t KeyBytes = 3 * sizeof(std::uint64_t);
static_assert(KeyBytes >= TFixName::Capacity + 1, "a suffix key is a name and one more byte");

KeyItem MakeKeyItem(std::unique_ptr<TFix>& Slot, std::string_view Head, std::string_view Tail) {
  KeyItem item{};
  item.Slot = &Slot;
  item.Length = static_cast<std::uint8_t>(Head.size() + Tail.size());
  std::size_t at = 0;
  auto put = [&item, &at](std::string_view Text) {
    for (const char c : Text) {
      const std::size_t word = at / sizeof(std::uint64_t);
      const std::size_t shift = 8 * (sizeof(std::uint64_t) - 1 - at % sizeof(std::uint64_t));
      item.Words[word] |= static_cast<std::uint64_t>(static_cast<unsigned char>(c)) << shift;
      ++at;
    }
  };
  put(Head);
  put(Tail);
  return item;
}

KeyItem NameKey(std::unique_ptr<TFix>& Slot) { return MakeKeyItem(Slot, Slot->Record.Name.View(), {}); }

// The text after the first "/" followed by the text before it; a blank and
// the name when there is no "/".
KeyItem SuffixKey(std::unique_ptr<TFix>& Slot) {
  const std::string_view name = Slot->Record.Name.View();
  const std::size_t slash = name.find('/');
  if (slash == std::string_view::npos) return MakeKeyItem(Slot, " ", name);
  return MakeKeyItem(Slot, name.substr(slash + 1), name.substr(0, slash));
}

int CompareKeys(const KeyItem& A, const KeyItem& B) {
  for (std::size_t i = 0; i < A.Words.size(); ++i) {
    if (A.Words[i] != B.Words[i]) return A.Words[i] < B.Words[i] ? -1 : 1;
  }
  return A.Length == B.Length ? 0 : (A.Length < B.Length ? -1 : 1);
}

struct DistanceItem {
  long double Key;
  std::unique_ptr<TFix>* Slot;
};

}  // namespace

void TFixDB::Sort(TSortOrder Order, const TTriV& Reference) {
  if (Order != TSortOrder::ByName && Order != TSortOrder::BySuffix &&
      Order != TSortOrder::ByDistance) {
    throw Error(msg::BadSortOrder);
  }
  if (fixes_.size() < 2) return;
  // The items point at the slots of the array; the sorted order of the
  // records is then moved into a new array of references.
  std::vector<std::unique_ptr<TFix>> sorted;
  sorted.reserve(fixes_.size());
  auto collect = [&](const auto& items) {
    for (const auto& item : items) sorted.push_back(std::move(*item.Slot));
  };
  if (Order == TSortOrder::ByName || Order == TSortOrder::BySuffix) {
    std::vector<KeyItem> items;
    items.reserve(fixes_.size());
    for (auto& slot : fixes_) {
      items.push_back(Order == TSortOrder::ByName ? NameKey(slot) : SuffixKey(slot));
    }
    QuickSort(items, CompareKeys);
    collect(items);
  } else {
    std::vector<DistanceItem> items;
    items.reserve(fixes_.size());
    for (auto& slot : fixes_) {
      const TTriV d = TriSub(slot->Record.Position, Reference);
      items.push_back({TriDot(d, d), &slot});
    }
    QuickSort(items, [](const DistanceItem& a, const DistanceItem& b) {
      return a.Key < b.Key ? -1 : (a.Key > b.Key ? 1 : 0);
    });
    collect(items);
  }
  fixes_ = std::move(sorted);
  Changed();
}

}  // namespace navorix
