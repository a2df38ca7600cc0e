// The value of one fix, copied by value wherever a fix travels.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "geometry/vector.h"

namespace navorix {

// A counted name of at most 16 characters held in place, so that copying a
// fix never allocates. Longer text is cut at 16 characters.
class FixNameText {
 public:
  static constexpr std::size_t Capacity = 16;

  FixNameText() = default;
  FixNameText(std::string_view text) { Assign(text); }  // NOLINT: names convert from text
  FixNameText& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }

  std::string_view View() const { return {text_, length_}; }
  std::string Str() const { return std::string(View()); }
  std::size_t Size() const { return length_; }
  bool Empty() const { return length_ == 0; }

  friend bool operator==(const FixNameText& a, const FixNameText& b) { return a.View() == b.View(); }
  friend bool operator==(const FixNameText& a, std::string_view b) { return a.View() == b; }

 private:
  void Assign(std::string_view text) {
    length_ = static_cast<std::uint8_t>(std::min(text.size(), Capacity));
    std::copy_n(text.data(), length_, text_);
  }

  std::uint8_t length_ = 0;
  char text_[Capacity] = {};
};

struct FixRecord {
  Vector3 position;    // unit position vector (zero when not valid)
  FixNameText name;    // upper case, at most 16 characters, no blanks
  bool valid = false;  // the record holds a usable fix
};

}  // namespace navorix
