#include "window/dialogs/operand_layout.h"

namespace navorix {

namespace {

constexpr int PanelMargin = 6;   // dialog edge to panel, and panel to strip
constexpr int PanelRightGap = 6;
constexpr int PanelBottomGap = 6;
constexpr int LabelLeft = 8;
constexpr int LabelGap = 6;      // label to its field
constexpr int ColumnGap = 12;    // field 1 to the label of field 2
constexpr int FirstRowTop = 8;
constexpr int RowGap = 8;
constexpr int ButtonGap = 6;
constexpr int BottomMargin = 6;

int RowOf(int N) { return N <= 2 ? 0 : (N == 6 ? 2 : 1); }

}  // namespace

const TInPanLayout& InPanLayoutOf(TDialogEntry Entry) {
  // Made once from the catalogue's layouts, which the workbench and the
  // batch program read too.
  static const std::array<TInPanLayout, LayoutCount> layouts = [] {
    std::array<TInPanLayout, LayoutCount> all{};
    for (std::size_t e = 0; e < LayoutCount; ++e) {
      const TDialogLayout& layout = Layout(static_cast<TDialogEntry>(e));
      for (std::size_t i = 0; i < layout.FieldCount; ++i) {
        const TLayoutField& field = layout.Fields[i];
        all[e].Visible |= FieldBit(field.Field);
        all[e].Labels[field.Field] = field.Label.data();
      }
    }
    return all;
  }();
  return layouts[static_cast<std::size_t>(Entry)];
}

TInPanGeometry LayoutInPan(TFieldSet Visible, const TInPanGrid& G) {
  TInPanGeometry out;
  const int left_field = LabelLeft + G.LeftLabelWidth + LabelGap;
  const int right_label = left_field + G.FieldWidth + ColumnGap;
  const int right_field = right_label + G.RightLabelWidth + LabelGap;
  for (int n = 1; n <= InPanFieldCount; ++n) {
    const int top = FirstRowTop + RowOf(n) * (G.FieldHeight + RowGap);
    const auto i = static_cast<std::size_t>(n);
    if (IsRightColumn(n)) {
      out.Field[i] = {right_field, top, G.FieldWidth, G.FieldHeight};
      out.Label[i] = {right_label, top, G.RightLabelWidth, G.FieldHeight};
    } else {
      out.Field[i] = {left_field, top, G.FieldWidth, G.FieldHeight};
      out.Label[i] = {LabelLeft, top, G.LeftLabelWidth, G.FieldHeight};
    }
  }
  out.Rows = HasField(Visible, 6) ? 3 : (HasField(Visible, 3) || HasField(Visible, 5)) ? 2 : 1;
  const TRect& widest = out.Field[HasField(Visible, 2) ? 2 : 1];
  const int lowest_bottom = FirstRowTop + out.Rows * G.FieldHeight + (out.Rows - 1) * RowGap;
  out.Panel = {PanelMargin, PanelMargin, widest.Left + widest.Width + PanelRightGap,
               lowest_bottom + PanelBottomGap};
  out.ClientWidth = out.Panel.Left + out.Panel.Width + PanelMargin;

  const int strip_width = 2 * G.ButtonWidth + ButtonGap;
  out.Strip = {(out.ClientWidth - strip_width) / 2, out.Panel.Top + out.Panel.Height + PanelMargin,
               strip_width, G.ButtonHeight};
  out.Ok = {0, 0, G.ButtonWidth, G.ButtonHeight};
  out.Cancel = {G.ButtonWidth + ButtonGap, 0, G.ButtonWidth, G.ButtonHeight};
  out.ClientHeight = out.Strip.Top + out.Strip.Height + BottomMargin;
  return out;
}

}  // namespace navorix
