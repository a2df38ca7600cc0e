// The program's exception: one fixed message text, shown unchanged to the
// user. In message texts a "|" breaks the line of the message box.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace navorix {

class Error : public std::exception {
 public:
  explicit Error(std::string text) : text_(std::move(text)) {}
  const char* what() const noexcept override { return text_.c_str(); }
  const std::string& Text() const noexcept { return text_; }

 private:
  std::string text_;
};

// The fixed texts raised by the geometry core.
namespace msg {
inline constexpr const char* NullVector = "Cannot normalize a null vector";
inline constexpr const char* IllegalAccuracy = "Illegal accuracy value";
inline constexpr const char* AccuracyNotReached = "Can't reach the accuracy requested";
inline constexpr const char* SameOrOpposing = "Same or opposing fixes";
inline constexpr const char* PolesNotAllowed = "Poles not allowed here";
inline constexpr const char* LoopingIterations = "Looping iterations";
// Raised where a computation would hand a NaN or an infinity to its caller.
inline constexpr const char* NotANumber = "Result out of numeric range";
}  // namespace msg

// v itself when it is finite; otherwise raises Error msg::NotANumber, so that
// no NaN or infinity leaves the core as a result.
long double RequireFinite(long double v);

}  // namespace navorix
