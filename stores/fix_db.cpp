#include "stores/fix_db.h"

#include <algorithm>
#include <utility>

#include "geometry/error.h"

namespace navorix {

FixRecord FixDatabase::Get(std::uint16_t pos) const {
  if (pos < 1 || pos > Count()) return {};
  return fixes_[pos - 1u]->record;
}

void FixDatabase::Clear() {
  fixes_.clear();
  Changed();
}

void FixDatabase::Delete(std::uint16_t pos) {
  if (pos < 1 || pos > Count()) return;
  fixes_.erase(fixes_.begin() + (pos - 1));
  Changed();
}

void FixDatabase::Add(const FixRecord& fix) {
  if (Count() == MaxFixes) throw Error(msg::FixDatabaseFull);
  fixes_.push_back(std::make_unique<Fix>(fix));
  ++revision_;
  // An appended fix cannot hide an earlier one of the same name, so a valid
  // index stays valid.
  const std::string_view name = fixes_.back()->record.name.View();
  if (indexValid_ && !name.empty()) index_.try_emplace(name, Count());
}

void FixDatabase::Insert(const FixRecord& fix, std::uint16_t pos) {
  if (Count() == MaxFixes) throw Error(msg::FixDatabaseFull);
  const std::size_t at = std::clamp<std::size_t>(pos, 1, fixes_.size() + 1) - 1;
  fixes_.insert(fixes_.begin() + static_cast<std::ptrdiff_t>(at), std::make_unique<Fix>(fix));
  Changed();
}

void FixDatabase::Replace(const FixRecord& fix, std::uint16_t pos) {
  if (pos < 1 || pos > Count()) return;
  fixes_[pos - 1u]->record = fix;
  Changed();
}

bool FixDatabase::MoveUp(std::uint16_t pos) {
  if (pos < 2 || pos > Count()) return false;
  std::swap(fixes_[pos - 2u], fixes_[pos - 1u]);
  Changed();
  return true;
}

bool FixDatabase::MoveDown(std::uint16_t pos) {
  if (pos < 1 || pos >= Count()) return false;
  std::swap(fixes_[pos - 1u], fixes_[pos]);
  Changed();
  return true;
}

std::uint16_t FixDatabase::FindName(std::string_view wanted) const {
  if (!indexValid_) {
    index_.clear();
    index_.reserve(fixes_.size());
    for (std::size_t i = 0; i < fixes_.size(); ++i) {
      const std::string_view name = fixes_[i]->record.name.View();
      if (!name.empty()) index_.try_emplace(name, static_cast<std::uint16_t>(i + 1));
    }
    indexValid_ = true;
  }
  const auto found = index_.find(wanted);
  return found == index_.end() ? 0 : found->second;
}

std::uint16_t FixDatabase::FindPrefix(std::string_view text, std::uint16_t start) const {
  if (text.empty()) return 0;
  for (std::size_t i = std::max<std::size_t>(start, 1); i <= fixes_.size(); ++i) {
    if (fixes_[i - 1]->record.name.View().starts_with(text)) return static_cast<std::uint16_t>(i);
  }
  return 0;
}

}  // namespace navorix
