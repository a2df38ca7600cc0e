#include "window/dialogs/operand_layout.h"

namespace navorix {

namespace {

constexpr int PanelMargin = 6;  // dialog edge to panel, and panel to strip
constexpr int PanelRightGap = 6;
constexpr int PanelBottomGap = 6;
constexpr int LabelLeft = 8;
constexpr int LabelGap = 6;    // label to its field
constexpr int ColumnGap = 12;  // field 1 to the label of field 2
constexpr int FirstRowTop = 8;
constexpr int RowGap = 8;
constexpr int ButtonGap = 6;
constexpr int BottomMargin = 6;

int rowOf(int N) { return N <= 2 ? 0 : (N == 6 ? 2 : 1); }

}  // namespace

const OperandDialogLayout& inPanLayoutOf(DialogEntry entry) {
  // Made once from the catalogue's layouts, which the workbench and the
  // batch program read too.
  static const std::array<OperandDialogLayout, LayoutCount> layouts = [] {
    std::array<OperandDialogLayout, LayoutCount> all{};
    for (std::size_t e = 0; e < LayoutCount; ++e) {
      const DialogLayout& layout = Layout(static_cast<DialogEntry>(e));
      for (std::size_t i = 0; i < layout.fieldCount; ++i) {
        const LayoutField& field = layout.fields[i];
        all[e].visible |= fieldBit(field.field);
        all[e].labels[field.field] = field.label.data();
      }
    }
    return all;
  }();
  return layouts[static_cast<std::size_t>(entry)];
}

OperandDialogGeometry layoutOperandDialog(FieldSet visible, const OperandDialogGrid& G) {
  OperandDialogGeometry out;
  const int leftField = LabelLeft + G.leftLabelWidth + LabelGap;
  const int rightLabel = leftField + G.fieldWidth + ColumnGap;
  const int rightField = rightLabel + G.rightLabelWidth + LabelGap;
  for (int n = 1; n <= OperandFieldCount; ++n) {
    const int top = FirstRowTop + rowOf(n) * (G.fieldHeight + RowGap);
    const auto i = static_cast<std::size_t>(n);
    if (isRightColumn(n)) {
      out.field[i] = {rightField, top, G.fieldWidth, G.fieldHeight};
      out.label[i] = {rightLabel, top, G.rightLabelWidth, G.fieldHeight};
    } else {
      out.field[i] = {leftField, top, G.fieldWidth, G.fieldHeight};
      out.label[i] = {LabelLeft, top, G.leftLabelWidth, G.fieldHeight};
    }
  }
  out.rows = hasField(visible, 6) ? 3 : (hasField(visible, 3) || hasField(visible, 5)) ? 2 : 1;
  const Rect& widest = out.field[hasField(visible, 2) ? 2 : 1];
  const int lowestBottom = FirstRowTop + out.rows * G.fieldHeight + (out.rows - 1) * RowGap;
  out.panel = {PanelMargin, PanelMargin, widest.left + widest.width + PanelRightGap,
               lowestBottom + PanelBottomGap};
  out.clientWidth = out.panel.left + out.panel.width + PanelMargin;

  const int stripWidth = 2 * G.buttonWidth + ButtonGap;
  out.strip = {(out.clientWidth - stripWidth) / 2, out.panel.top + out.panel.height + PanelMargin, stripWidth,
               G.buttonHeight};
  out.ok = {0, 0, G.buttonWidth, G.buttonHeight};
  out.cancel = {G.buttonWidth + ButtonGap, 0, G.buttonWidth, G.buttonHeight};
  out.clientHeight = out.strip.top + out.strip.height + BottomMargin;
  return out;
}

}  // namespace navorix
