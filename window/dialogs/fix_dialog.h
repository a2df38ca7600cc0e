// The fix input dialog: the fields "Fix Name:", "Latitude:" and
// "Longitude:" (numbers 1, 2, 3; Tab moves in that order) over a strip with
// OK and Cancel, which Tab does not reach. The dialog edits text and
// colours; what it may take, what OK checks and where the fix goes are the
// workbench's rules.
#pragma once

#include "window/dialogs/dialog_parts.h"
#include "window/dialogs/input_field.h"
#include "workbench/workbench.h"


#include <array>

class QLabel;
class QPushButton;
class QTimer;

namespace navorix {

class TFixInp : public TModalDialog {
  Q_OBJECT

 public:
  static constexpr int FieldCount = 3;

  explicit TFixInp(QWidget* Parent = nullptr);

  // Field N (1 xEName, 2 xELat, 3 xELon) and its label.
  TInputField* Field(int N) const { return fields_[static_cast<std::size_t>(N - 1)]; }
  QLabel* FieldLabel(int N) const { return labels_[static_cast<std::size_t>(N - 1)]; }
  QWidget* ButtonStrip() const { return strip_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

  // The proportional font of the labels and buttons (7..12); the dialog
  // is laid out again.
  void SetPropFontSize(int PointSize);

  // Add (AddButton) or Edit at the workbench's current row: the caption,
  // the prefilled texts, the input sound, the modal dialog, and after an OK
  // that passed the checks the fix stored. The caller places the dialog.
  void EditFix(TWorkbench& Bench, bool AddButton);

 protected:
  // The keys of the dialog, seen before the fields: Enter, Esc and Ctrl+D;
  // typed characters go through the field's filter.
  bool eventFilter(QObject* Watched, QEvent* Event) override;
  void showEvent(QShowEvent* Event) override;

 private:
  void Ok();
  void Cancel();
  void Flash();
  void MarkBad(int N);
  int FieldNumber(const QObject* Watched) const;
  void Relayout();

  std::array<TInputField*, FieldCount> fields_{};
  std::array<QLabel*, FieldCount> labels_{};
  QWidget* strip_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;

  TWorkbench* bench_ = nullptr;  // while a dialog runs
  TFixEdit edit_;
  TFixCheck check_;
  std::array<bool, FieldCount> bad_{};  // fields marked invalid, waiting for the flash
  QTimer* flash_ = nullptr;
};

}  // namespace navorix
