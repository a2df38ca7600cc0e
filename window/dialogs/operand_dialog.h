// The operation input dialog: six fields with their labels on a sunken
// panel (fieldPanel) and a strip with OK and Cancel below it, which Tab does not
// reach. ApplyLayout shows the fields of one dialog entry, sizes the dialog
// to them and sets the caption. As the operand source of the workbench it
// asks for the operands of one operation: the texts last confirmed in the
// layout, the character filter, name completion with the blank, and the
// checks of OK are the workbench's rules; the dialog edits text and colours.
#pragma once

#include "operations/catalogue.h"
#include "operations/operand_source.h"
#include "window/dialogs/dialog_parts.h"
#include "window/dialogs/input_field.h"
#include "window/dialogs/operand_layout.h"
#include "workbench/operand_checks.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace navorix {

class OperandDialog : public ModalDialog, public OperandSource {
  Q_OBJECT

 public:
  explicit OperandDialog(QWidget* parent = nullptr);

  // Field N (1..6, xEd1..xEd6) and its label (xLa1..xLa6).
  InputField* fieldAt(int N) const { return fields_[static_cast<std::size_t>(N - 1)]; }
  QLabel* fieldLabel(int N) const { return labels_[static_cast<std::size_t>(N - 1)]; }
  QFrame* bevel() const { return bevel_; }
  QWidget* buttonStrip() const { return strip_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  // Shows the fields and labels of entry, sizes the dialog and sets the
  // caption to " " + title (Windows-1252).
  void applyLayout(DialogEntry entry, const std::string& title);
  // The same for any set of fields and labels.
  void applyLayout(const OperandDialogLayout& layout, const std::string& title);
  FieldSet visibleFields() const { return visible_; }

  // The proportional font of the labels and buttons (7..12); the current
  // layout is applied again.
  void setPropFontSize(int pointSize);

  // The checks of the fields against the session (the workbench), and the
  // control the dialog is centred on (the fix list's frame). Both outlive
  // the dialog.
  void attach(OperandChecks& checks, const QWidget& centreOn);

  // OperandSource: shows layout under title modally.
  bool Ask(const DialogLayout& layout, std::string_view title, Operands& operands) override;

 protected:
  // The keys of the dialog, seen before the fields: Enter, Esc and Ctrl+D;
  // typed characters go through Filter.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ok();
  void filter(int N, InputField& typed, char C);
  void complete(int N);
  void markBad(int N);
  void flash();
  int fieldNumber(const QObject* watched) const;
  OperandDialogGrid grid() const;

  std::array<InputField*, OperandFieldCount> fields_{};
  std::array<QLabel*, OperandFieldCount> labels_{};
  QFrame* bevel_ = nullptr;
  QWidget* strip_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  OperandDialogLayout layout_;
  std::string title_;
  FieldSet visible_ = 0;

  OperandChecks* checks_ = nullptr;
  const QWidget* centreOn_ = nullptr;
  const DialogLayout* asked_ = nullptr;  // while a dialog runs
  Operands results_;
  FieldSet bad_ = 0;                   // fields waiting for the flash
  std::uint16_t completionStart_ = 0;  // 0: no completion in progress
  std::string completionPrefix_;
  // The texts last confirmed in each layout, shared by the operations that
  // use the layout; empty at start, not kept between runs.
  std::array<std::string, LayoutTextCount> lastTexts_{};
  QTimer* flash_ = nullptr;
};

}  // namespace navorix
