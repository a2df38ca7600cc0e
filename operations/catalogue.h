// The eleven operations of the operation panel, as data: the button's tag,
// its control name, caption ("&" marks the accelerator letter), hint, the
// title the input dialog shows, the dialog entry that collects the operands,
// and the executor they go to.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace navorix {

class TExecutors;

// The layouts of the operation input dialog (TOperandSource).
enum class TDialogEntry : std::uint8_t {
  OneFix,       // C
  TwoFixes,     // A, B
  FixDistAzim,  // F, distance, azimuth
  ArcDist,      // A, B, distance
  ArcFixDist,   // A, B, R, distance
  ArcFix,       // A, B, R
  TwoArcs,      // A, B, C, D
};

// The operands of one operation, in the order the dialog entry returns them.
// Distance and Azimuth are radians once the dispatcher has converted them.
struct TOperands {
  std::uint16_t Fix[4] = {0, 0, 0, 0};
  long double Distance = 0.0L;
  long double Azimuth = 0.0L;
};

using TExecutorCall = void (*)(TExecutors&, const TOperands&);

struct TOperationInfo {
  std::uint8_t Tag;
  std::string_view Button;
  std::string_view Caption;
  std::string_view Hint;  // a "\n" separates the lines of a two-line hint
  std::string_view DialogTitle;
  TDialogEntry Entry;
  std::string_view ExecutorName;
  TExecutorCall Execute;
};

inline constexpr std::uint8_t OperationCount = 11;

// Indexed by tag - 1.
extern const std::array<TOperationInfo, OperationCount> OperationCatalogue;

// The entry of Tag, or nullptr for a tag outside 1..11.
const TOperationInfo* FindOperation(std::uint8_t Tag);

// True for the layouts with a distance field (tags 6, 10, 11), and for the
// one with an azimuth field (tag 6).
bool HasDistance(TDialogEntry Entry);
bool HasAzimuth(TDialogEntry Entry);

// The panel, top to bottom: the first four tags sit in a group box with the
// caption DistanceGroupCaption.
inline constexpr std::array<std::uint8_t, OperationCount> PanelOrder = {1, 9, 2, 3, 4, 5,
                                                                        11, 6, 10, 7, 8};
inline constexpr std::string_view DistanceGroupCaption = "  Distance  ";

}  // namespace navorix
