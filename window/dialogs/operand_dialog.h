// The operation input dialog: six fields with their labels on a sunken
// panel (xBevel) and a strip with OK and Cancel below it, which Tab does not
// reach. ApplyLayout shows the fields of one dialog entry, sizes the dialog
// to them and sets the caption. As the operand source of the workbench it
// asks for the operands of one operation: the texts last confirmed in the
// layout, the character filter, name completion with the blank, and the
// checks of OK are the workbench's rules; the dialog edits text and colours.
#pragma once

#include "operations/catalogue.h"
#include "operations/operand_source.h"
#include "workbench/operand_checks.h"
#include "window/dialogs/operand_layout.h"
#include "window/dialogs/dialog_parts.h"
#include "window/dialogs/input_field.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace navorix {

class TInPan : public TModalDialog, public TOperandSource {
  Q_OBJECT

 public:
  explicit TInPan(QWidget* Parent = nullptr);

  // Field N (1..6, xEd1..xEd6) and its label (xLa1..xLa6).
  TInputField* Field(int N) const { return fields_[static_cast<std::size_t>(N - 1)]; }
  QLabel* FieldLabel(int N) const { return labels_[static_cast<std::size_t>(N - 1)]; }
  QFrame* Bevel() const { return bevel_; }
  QWidget* ButtonStrip() const { return strip_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

  // Shows the fields and labels of Entry, sizes the dialog and sets the
  // caption to " " + Title (Windows-1252).
  void ApplyLayout(TDialogEntry Entry, const std::string& Title);
  // The same for any set of fields and labels.
  void ApplyLayout(const TInPanLayout& Layout, const std::string& Title);
  TFieldSet VisibleFields() const { return visible_; }

  // The proportional font of the labels and buttons (7..12); the current
  // layout is applied again.
  void SetPropFontSize(int PointSize);

  // The checks of the fields against the session (the workbench), and the
  // control the dialog is centred on (the fix list's frame). Both outlive
  // the dialog.
  void Attach(TOperandChecks& Checks, const QWidget& CentreOn);

  // TOperandSource: shows Layout under Title modally.
  bool Ask(const TDialogLayout& Layout, std::string_view Title, TOperands& Operands) override;

 protected:
  // The keys of the dialog, seen before the fields: Enter, Esc and Ctrl+D;
  // typed characters go through Filter.
  bool eventFilter(QObject* Watched, QEvent* Event) override;
  void showEvent(QShowEvent* Event) override;

 private:
  void Ok();
  void Filter(int N, TInputField& Typed, char C);
  void Complete(int N);
  void MarkBad(int N);
  void Flash();
  int FieldNumber(const QObject* Watched) const;
  TInPanGrid Grid() const;

  std::array<TInputField*, InPanFieldCount> fields_{};
  std::array<QLabel*, InPanFieldCount> labels_{};
  QFrame* bevel_ = nullptr;
  QWidget* strip_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  TInPanLayout layout_;
  std::string title_;
  TFieldSet visible_ = 0;

  TOperandChecks* checks_ = nullptr;
  const QWidget* centreOn_ = nullptr;
  const TDialogLayout* asked_ = nullptr;  // while a dialog runs
  TOperands results_;
  TFieldSet bad_ = 0;                    // fields waiting for the flash
  std::uint16_t completionStart_ = 0;    // 0: no completion in progress
  std::string completionPrefix_;
  // The texts last confirmed in each layout, shared by the operations that
  // use the layout; empty at start, not kept between runs.
  std::array<std::string, LayoutTextCount> lastTexts_{};
  QTimer* flash_ = nullptr;
};

}  // namespace navorix
