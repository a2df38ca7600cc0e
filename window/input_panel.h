// The look of the operation input dialog: six fields with their labels on
// a sunken panel (xBevel) and a strip with OK and Cancel below it, which
// Tab does not reach. ApplyLayout shows the fields of one dialog entry,
// sizes the dialog to them and sets the caption. Buttons, keys, filters and
// completion are not connected here.
#pragma once

#include "operations/catalogue.h"
#include "window/inpan_layout.h"
#include "window/input_field.h"

#include <QDialog>

#include <array>
#include <string>

class QFrame;
class QLabel;
class QPushButton;

namespace navorix {

class TInPan : public QDialog {
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

 private:
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
};

}  // namespace navorix
