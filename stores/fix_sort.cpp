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
#include <cstddef>
#include <cstdint>
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
void QuickSort(std::vector<Item>& items, Compare cmp) {
  if (items.size() < 2) return;
  struct Range {
    std::ptrdiff_t L, R;
  };
  std::vector<Range> pending{{0, static_cast<std::ptrdiff_t>(items.size()) - 1}};
  while (!pending.empty()) {
    auto [L, R] = pending.back();
    pending.pop_back();
    while (L < R) {
      std::ptrdiff_t I = L;
      std::ptrdiff_t J = R;
      const Item pivot = items[static_cast<std::size_t>((L + R) / 2)];
      do {
        while (cmp(items[static_cast<std::size_t>(I)], pivot) < 0) ++I;
        while (cmp(items[static_cast<std::size_t>(J)], pivot) > 0) --J;
        if (I <= J) {
          std::swap(items[static_cast<std::size_t>(I)], items[static_cast<std::size_t>(J)]);
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
  std::array<std::uint64_t, 3> words;
  std::uint8_t length;
  std::unique_ptr<Fix>* slot;
};

constexpr std::size_t KeyBytes = 3 * sizeof(std::uint64_t);
static_assert(KeyBytes >= FixNameText::Capacity + 1, "a suffix key is a name and one more byte");

KeyItem MakeKeyItem(std::unique_ptr<Fix>& slot, std::string_view head, std::string_view tail) {
  KeyItem item{};
  item.slot = &slot;
  item.length = static_cast<std::uint8_t>(head.size() + tail.size());
  std::size_t at = 0;
  auto put = [&item, &at](std::string_view text) {
    for (const char c : text) {
      const std::size_t word = at / sizeof(std::uint64_t);
      const std::size_t shift = 8 * (sizeof(std::uint64_t) - 1 - at % sizeof(std::uint64_t));
      item.words[word] |= static_cast<std::uint64_t>(static_cast<unsigned char>(c)) << shift;
      ++at;
    }
  };
  put(head);
  put(tail);
  return item;
}

KeyItem NameKey(std::unique_ptr<Fix>& slot) { return MakeKeyItem(slot, slot->record.name.View(), {}); }

// The text after the first "/" followed by the text before it; a blank and
// the name when there is no "/".
KeyItem SuffixKey(std::unique_ptr<Fix>& slot) {
  const std::string_view name = slot->record.name.View();
  const std::size_t slash = name.find('/');
  if (slash == std::string_view::npos) return MakeKeyItem(slot, " ", name);
  return MakeKeyItem(slot, name.substr(slash + 1), name.substr(0, slash));
}

int CompareKeys(const KeyItem& A, const KeyItem& B) {
  for (std::size_t i = 0; i < A.words.size(); ++i) {
    if (A.words[i] != B.words[i]) return A.words[i] < B.words[i] ? -1 : 1;
  }
  return A.length == B.length ? 0 : (A.length < B.length ? -1 : 1);
}

struct DistanceItem {
  long double key;
  std::unique_ptr<Fix>* slot;
};

}  // namespace

void FixDatabase::Sort(SortOrder order, const Vector3& reference) {
  if (order != SortOrder::ByName && order != SortOrder::BySuffix && order != SortOrder::ByDistance) {
    throw Error(msg::BadSortOrder);
  }
  if (fixes_.size() < 2) return;
  // The items point at the slots of the array; the sorted order of the
  // records is then moved into a new array of references.
  std::vector<std::unique_ptr<Fix>> sorted;
  sorted.reserve(fixes_.size());
  auto collect = [&](const auto& items) {
    for (const auto& item : items) sorted.push_back(std::move(*item.slot));
  };
  if (order == SortOrder::ByName || order == SortOrder::BySuffix) {
    std::vector<KeyItem> items;
    items.reserve(fixes_.size());
    for (auto& slot : fixes_) {
      items.push_back(order == SortOrder::ByName ? NameKey(slot) : SuffixKey(slot));
    }
    QuickSort(items, CompareKeys);
    collect(items);
  } else {
    std::vector<DistanceItem> items;
    items.reserve(fixes_.size());
    for (auto& slot : fixes_) {
      const Vector3 d = TriSub(slot->record.position, reference);
      items.push_back({TriDot(d, d), &slot});
    }
    QuickSort(items, [](const DistanceItem& a, const DistanceItem& b) {
      return a.key < b.key ? -1 : (a.key > b.key ? 1 : 0);
    });
    collect(items);
  }
  fixes_ = std::move(sorted);
  Changed();
}

}  // namespace navorix
