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
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "geometry/error.h"
#include "stores/fix_db.h"

namespace navorix {

namespace {

// Byte for byte as unsigned characters; a prefix sorts first.
int CompareBytes(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

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

struct NameItem {
  std::unique_ptr<TFix>* Slot;
};

struct SuffixItem {
  std::array<char, TFixName::Capacity + 1> Key;
  std::uint8_t Length;
  std::unique_ptr<TFix>* Slot;
  std::string_view View() const { return {Key.data(), Length}; }
};

struct DistanceItem {
  long double Key;
  std::unique_ptr<TFix>* Slot;
};

SuffixItem MakeSuffixItem(std::unique_ptr<TFix>& Slot) {
  SuffixItem item{};
  item.Slot = &Slot;
  const std::string_view name = Slot->Record.Name.View();
  const std::size_t slash = name.find('/');
  std::string key;
  if (slash == std::string_view::npos) {
    key = " ";
    key += name;
  } else {
    key = name.substr(slash + 1);
    key += name.substr(0, slash);
  }
  item.Length = static_cast<std::uint8_t>(key.size());
  std::copy(key.begin(), key.end(), item.Key.begin());
  return item;
}

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
  if (Order == TSortOrder::ByName) {
    std::vector<NameItem> items;
    items.reserve(fixes_.size());
    for (auto& slot : fixes_) items.push_back({&slot});
    QuickSort(items, [](const NameItem& a, const NameItem& b) {
      return CompareBytes((*a.Slot)->Record.Name.View(), (*b.Slot)->Record.Name.View());
    });
    collect(items);
  } else if (Order == TSortOrder::BySuffix) {
    std::vector<SuffixItem> items;
    items.reserve(fixes_.size());
    for (auto& slot : fixes_) items.push_back(MakeSuffixItem(slot));
    QuickSort(items, [](const SuffixItem& a, const SuffixItem& b) {
      return CompareBytes(a.View(), b.View());
    });
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
