// The look of the fix input dialog: the fields "Fix Name:", "Latitude:" and
// "Longitude:" (numbers 1, 2, 3; Tab moves in that order) over a strip with
// OK and Cancel, which Tab does not reach. The caption is the caller's
// (" New Fix" or " Edit Fix"). Buttons and keys are not connected here.
#pragma once

#include "window/input_field.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace navorix {

class TFixInp : public QDialog {
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

 private:
  void Relayout();

  std::array<TInputField*, FieldCount> fields_{};
  std::array<QLabel*, FieldCount> labels_{};
  QWidget* strip_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace navorix
