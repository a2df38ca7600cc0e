// The seven layouts of the operation input dialog and the arithmetic that
// places its six fields, its panel and its buttons.
//
// Fields 1 and 2 form row 1 (left, right), fields 3 and 4 row 2, field 5
// stands in the place of field 3 (never shown with it) and field 6 in row 3
// on the left.
#pragma once

#include "operations/catalogue.h"
#include "window/look/placement.h"

#include <array>

namespace navorix {

inline constexpr int OperandFieldCount = DialogFieldCount;

// A set of field numbers 1..6 as bits 1 << n.
using FieldSet = unsigned;
constexpr FieldSet fieldBit(int N) { return 1U << N; }
constexpr bool hasField(FieldSet set, int N) { return (set & fieldBit(N)) != 0; }

struct OperandDialogLayout {
  FieldSet visible = 0;
  std::array<const char*, OperandFieldCount + 1> labels{};  // by field number; [0] unused
};

// The fields and labels of a dialog entry.
const OperandDialogLayout& inPanLayoutOf(DialogEntry entry);

// Fields 2 and 4 form the right column, the others the left one.
constexpr bool isRightColumn(int N) { return N == 2 || N == 4; }

// The Tab order over the fields.
inline constexpr std::array<int, OperandFieldCount> OperandTabOrder = {1, 2, 3, 5, 4, 6};

struct OperandDialogGrid {
  int leftLabelWidth = 0;   // widest left-column label
  int rightLabelWidth = 0;  // widest right-column label
  int fieldWidth = 0;
  int fieldHeight = 0;
  int buttonWidth = 0;
  int buttonHeight = 0;
};

struct OperandDialogGeometry {
  int rows = 0;
  std::array<Rect, OperandFieldCount + 1> field{};  // in the panel; [0] unused
  std::array<Rect, OperandFieldCount + 1> label{};
  Rect panel;   // in the dialog
  Rect strip;   // the button strip, in the dialog
  Rect ok;      // in the strip
  Rect cancel;  // in the strip
  int clientWidth = 0;
  int clientHeight = 0;
};

// Places the dialog for the visible fields visible: three rows when field 6
// shows, two when field 3 or 5 shows, one otherwise; the panel reaches 6
// pixels past the right edge of field 2 when it shows, else of field 1,
// and 6 pixels below the lowest row; the strip sits 6 pixels below the
// panel, centred.
OperandDialogGeometry layoutOperandDialog(FieldSet visible, const OperandDialogGrid& grid);

}  // namespace navorix
