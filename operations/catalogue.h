// The eleven operations of the operation panel, as data: the button's tag,
// caption ("&" marks the accelerator letter), hint, the title the input
// dialog shows, the dialog layout that collects the operands, and the
// executor they go to; and the seven layouts of the operation input dialog.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace navorix {

class Executors;
struct OperationResult;

// The operations by their button tags.
enum class OperationTag : std::uint8_t {
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
enum class DialogEntry : std::uint8_t {
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
struct Operands {
  std::uint16_t fix[4] = {0, 0, 0, 0};
  long double distance = 0.0L;
  long double azimuth = 0.0L;
};

using ExecutorCall = OperationResult (*)(const Executors&, const Operands&);

struct OperationInfo {
  OperationTag tag;
  std::string_view caption;
  std::string_view hint;  // a "\n" separates the lines of a two-line hint
  std::string_view dialogTitle;
  DialogEntry entry;
  ExecutorCall execute;
};

inline constexpr std::uint8_t OperationCount = 11;

// Indexed by tag - 1.
extern const std::array<OperationInfo, OperationCount> OperationCatalogue;

// The entry of tag, or nullptr for a tag outside 1..11.
const OperationInfo* FindOperation(std::uint8_t tag);
const OperationInfo& Operation(OperationTag tag);

// What one field of a layout holds.
enum class FieldKind : std::uint8_t { Fix, Distance, Azimuth };

// One visible field of the dialog: its number 1..6 (which fixes its place),
// its label and what it holds. A layout lists its fields in the order of
// the operands, which is also the order of the field numbers.
struct LayoutField {
  std::uint8_t field;
  std::string_view label;
  FieldKind kind;
};

struct DialogLayout {
  DialogEntry entry;
  std::uint8_t fieldCount;
  std::array<LayoutField, 4> fields;
  // The first of this layout's texts among all layouts' remembered texts.
  std::uint8_t firstText;
};

inline constexpr std::uint8_t LayoutCount = 7;
// Fields of all layouts together (1 + 2 + 3 + 3 + 4 + 3 + 4).
inline constexpr std::uint8_t LayoutTextCount = 20;
inline constexpr std::uint8_t DialogFieldCount = 6;

const DialogLayout& Layout(DialogEntry entry);

// The panel, top to bottom: the first four tags sit in a group box with the
// caption DistanceGroupCaption.
inline constexpr std::array<OperationTag, OperationCount> PanelOrder = {
    OperationTag::FixFix,        OperationTag::NextFix,     OperationTag::ArcFix,
    OperationTag::ArcArc,        OperationTag::Midpoint,    OperationTag::Azimuth,
    OperationTag::FixAtDistance, OperationTag::FixAtDistAz, OperationTag::FixesAtDistance,
    OperationTag::Projection,    OperationTag::Intersection};
inline constexpr std::uint8_t DistanceGroupSize = 4;
inline constexpr std::string_view DistanceGroupCaption = "  Distance  ";

}  // namespace navorix
