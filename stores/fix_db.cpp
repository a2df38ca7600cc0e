#include "stores/fix_db.h"

#include <algorithm>
#include <utility>

#include "geometry/error.h"

namespace navorix {

FixRecord TFixDB::Get(std::uint16_t Pos) const {
  if (Pos < 1 || Pos > Count()) return {};
  return fixes_[Pos - 1u]->Record;
}

void TFixDB::Clear() {
  fixes_.clear();
  Changed();
}

void TFixDB::Delete(std::uint16_t Pos) {
  if (Pos < 1 || Pos > Count()) return;
  fixes_.erase(fixes_.begin() + (Pos - 1));
  Changed();
}

void TFixDB::Add(const FixRecord& Fix) {
  if (Count() == MaxFixes) throw Error(msg::FixDBFull);
  fixes_.push_back(std::make_unique<TFix>(Fix));
  ++revision_;
  // An appended fix cannot hide an earlier one of the same name, so a valid
  // index stays valid.
  const std::string_view name = fixes_.back()->Record.Name.View();
  if (index_valid_ && !name.empty()) index_.try_emplace(name, Count());
}

void TFixDB::Insert(const FixRecord& Fix, std::uint16_t Pos) {
  if (Count() == MaxFixes) throw Error(msg::FixDBFull);
  const std::size_t at = std::clamp<std::size_t>(Pos, 1, fixes_.size() + 1) - 1;
  fixes_.insert(fixes_.begin() + static_cast<std::ptrdiff_t>(at), std::make_unique<TFix>(Fix));
  Changed();
}

void TFixDB::Replace(const FixRecord& Fix, std::uint16_t Pos) {
  if (Pos < 1 || Pos > Count()) return;
  fixes_[Pos - 1u]->Record = Fix;
  Changed();
}

bool TFixDB::MoveUp(std::uint16_t Pos) {
  if (Pos < 2 || Pos > Count()) return false;
  std::swap(fixes_[Pos - 2u], fixes_[Pos - 1u]);
  Changed();
  return true;
}

bool TFixDB::MoveDown(std::uint16_t Pos) {
  if (Pos < 1 || Pos >= Count()) return false;
  std::swap(fixes_[Pos - 1u], fixes_[Pos]);
  Changed();
  return true;
}

std::uint16_t TFixDB::FindName(std::string_view Name) const {
  if (!index_valid_) {
    index_.clear();
    index_.reserve(fixes_.size());
    for (std::size_t i = 0; i < fixes_.size(); ++i) {
      const std::string_view name = fixes_[i]->Record.Name.View();
      if (!name.empty()) index_.try_emplace(name, static_cast<std::uint16_t>(i + 1));
    }
    index_valid_ = true;
  }
  const auto found = index_.find(Name);
  return found == index_.end() ? 0 : found->second;
}

std::uint16_t TFixDB::FindPrefix(std::string_view Text, std::uint16_t Start) const {
  if (Text.empty()) return 0;
  for (std::size_t i = std::max<std::size_t>(Start, 1); i <= fixes_.size(); ++i) {
    if (fixes_[i - 1]->Record.Name.View().starts_with(Text)) return static_cast<std::uint16_t>(i);
  }
  return 0;
}

}  // namespace navorix
