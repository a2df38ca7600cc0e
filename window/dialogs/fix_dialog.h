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

class FixDialog : public ModalDialog {
  Q_OBJECT

 public:
  static constexpr int FieldCount = 3;

  explicit FixDialog(QWidget* parent = nullptr);

  // Field N (1 fixNameField, 2 latitudeField, 3 longitudeField) and its label.
  InputField* fieldAt(int N) const { return fields_[static_cast<std::size_t>(N - 1)]; }
  QLabel* fieldLabel(int N) const { return labels_[static_cast<std::size_t>(N - 1)]; }
  QWidget* buttonStrip() const { return strip_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  // The proportional font of the labels and buttons (7..12); the dialog
  // is laid out again.
  void setPropFontSize(int pointSize);

  // Add (addButton) or Edit at the workbench's current row: the caption,
  // the prefilled texts, the input sound, the modal dialog, and after an OK
  // that passed the checks the fix stored. The caller places the dialog.
  void editFix(Workbench& bench, bool addButton);

 protected:
  // The keys of the dialog, seen before the fields: Enter, Esc and Ctrl+D;
  // typed characters go through the field's filter.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ok();
  void cancel();
  void flash();
  void markBad(int N);
  int fieldNumber(const QObject* watched) const;
  void relayout();

  std::array<InputField*, FieldCount> fields_{};
  std::array<QLabel*, FieldCount> labels_{};
  QWidget* strip_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;

  Workbench* bench_ = nullptr;  // while a dialog runs
  FixEdit edit_;
  FixCheck check_;
  std::array<bool, FieldCount> bad_{};  // fields marked invalid, waiting for the flash
  QTimer* flash_ = nullptr;
};

}  // namespace navorix
