// The eleven operations of the operation panel, as data: the button's tag,
// caption ("&" marks the accelerator letter), hint, the title the input
// dialog shows, the dialog layout that collects the operands, and the
// executor they go to; and the seven layouts of the operation input dialog.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace navorix {

class TExecutors;
struct TOpResult;

// The operations by their button tags.
enum class TOpTag : std::uint8_t {
  FixFix = 1,
  ArcFix,
  ArcArc,
  Midpoint,
  Azimuth,
  FixAtDistAz,
  Projection,
  Intersection,
  NextFix,
  FixesAtDistance,
  FixAtDistance,
};

// The layouts of the operation input dialog.
enum class TDialogEntry : std::uint8_t {
  OneFix,       // C
  TwoFixes,     // A, B
  FixDistAzim,  // F, distance, azimuth
  ArcDist,      // A, B, distance
  ArcFixDist,   // A, B, R, distance
  ArcFix,       // A, B, R
  TwoArcs,      // A, B, C, D
};

// The operands of one operation, in the order the layout lists them. The
// dialog gives the typed numbers (distance in the current unit, azimuth in
// degrees); the dispatcher turns them into radians.
struct TOperands {
  std::uint16_t Fix[4] = {0, 0, 0, 0};
  long double Distance = 0.0L;
  long double Azimuth = 0.0L;
};

using TExecutorCall = TOpResult (*)(const TExecutors&, const TOperands&);

struct TOperationInfo {
  TOpTag Tag;
  std::string_view Caption;
  std::string_view Hint;  // a "\n" separates the lines of a two-line hint
  std::string_view DialogTitle;
  TDialogEntry Entry;
  TExecutorCall Execute;
};

inline constexpr std::uint8_t OperationCount = 11;

// Indexed by tag - 1.
extern const std::array<TOperationInfo, OperationCount> OperationCatalogue;

// The entry of Tag, or nullptr for a tag outside 1..11.
const TOperationInfo* FindOperation(std::uint8_t Tag);
const TOperationInfo& Operation(TOpTag Tag);

// What one field of a layout holds.
enum class TFieldKind : std::uint8_t { Fix, Distance, Azimuth };

// One visible field of the dialog: its number 1..6 (which fixes its place),
// its label and what it holds. A layout lists its fields in the order of
// the operands, which is also the order of the field numbers.
struct TLayoutField {
  std::uint8_t Field;
  std::string_view Label;
  TFieldKind Kind;
};

struct TDialogLayout {
  TDialogEntry Entry;
  std::uint8_t FieldCount;
  std::array<TLayoutField, 4> Fields;
  // The first of this layout's texts among all layouts' remembered texts.
  std::uint8_t FirstText;
};

inline constexpr std::uint8_t LayoutCount = 7;
// Fields of all layouts together (1 + 2 + 3 + 3 + 4 + 3 + 4).
inline constexpr std::uint8_t LayoutTextCount = 20;
inline constexpr std::uint8_t DialogFieldCount = 6;

const TDialogLayout& Layout(TDialogEntry Entry);

// The panel, top to bottom: the first four tags sit in a group box with the
// caption DistanceGroupCaption.
inline constexpr std::array<TOpTag, OperationCount> PanelOrder = {
    TOpTag::FixFix,     TOpTag::NextFix,     TOpTag::ArcFix,          TOpTag::ArcArc,
    TOpTag::Midpoint,   TOpTag::Azimuth,     TOpTag::FixAtDistance,   TOpTag::FixAtDistAz,
    TOpTag::FixesAtDistance, TOpTag::Projection, TOpTag::Intersection};
inline constexpr std::uint8_t DistanceGroupSize = 4;
inline constexpr std::string_view DistanceGroupCaption = "  Distance  ";

}  // namespace navorix
