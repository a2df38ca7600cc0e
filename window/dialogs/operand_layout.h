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

inline constexpr int InPanFieldCount = DialogFieldCount;

// A set of field numbers 1..6 as bits 1 << n.
using TFieldSet = unsigned;
constexpr TFieldSet FieldBit(int N) { return 1U << N; }
constexpr bool HasField(TFieldSet Set, int N) { return (Set & FieldBit(N)) != 0; }

struct TInPanLayout {
  TFieldSet Visible = 0;
  std::array<const char*, InPanFieldCount + 1> Labels{};  // by field number; [0] unused
};

// The fields and labels of a dialog entry.
const TInPanLayout& InPanLayoutOf(TDialogEntry Entry);

// Fields 2 and 4 form the right column, the others the left one.
constexpr bool IsRightColumn(int N) { return N == 2 || N == 4; }

// The Tab order over the fields.
inline constexpr std::array<int, InPanFieldCount> InPanTabOrder = {1, 2, 3, 5, 4, 6};

struct TInPanGrid {
  int LeftLabelWidth = 0;   // widest left-column label
  int RightLabelWidth = 0;  // widest right-column label
  int FieldWidth = 0;
  int FieldHeight = 0;
  int ButtonWidth = 0;
  int ButtonHeight = 0;
};

struct TInPanGeometry {
  int Rows = 0;
  std::array<TRect, InPanFieldCount + 1> Field{};  // in the panel; [0] unused
  std::array<TRect, InPanFieldCount + 1> Label{};
  TRect Panel;   // in the dialog
  TRect Strip;   // the button strip, in the dialog
  TRect Ok;      // in the strip
  TRect Cancel;  // in the strip
  int ClientWidth = 0;
  int ClientHeight = 0;
};

// Places the dialog for the visible fields Visible: three rows when field 6
// shows, two when field 3 or 5 shows, one otherwise; the panel reaches 6
// pixels past the right edge of field 2 when it shows, else of field 1,
// and 6 pixels below the lowest row; the strip sits 6 pixels below the
// panel, centred.
TInPanGeometry LayoutInPan(TFieldSet Visible, const TInPanGrid& Grid);

}  // namespace navorix
