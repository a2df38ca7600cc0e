#include "window/fix_input.h"

#include "window/dialog_parts.h"
#include "window/fonts.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace navorix {

namespace {

constexpr int Margin = 10;
constexpr int LabelGap = 8;
constexpr int RowGap = 8;
constexpr int StripGap = 10;
constexpr int ButtonGap = 6;

constexpr const char* FieldNames[TFixInp::FieldCount] = {"xEName", "xELat", "xELon"};
constexpr const char* LabelNames[TFixInp::FieldCount] = {"xlName", "xlLat", "xlLon"};
constexpr const char* LabelTexts[TFixInp::FieldCount] = {"Fix Name:", "Latitude:", "Longitude:"};

}  // namespace

TFixInp::TFixInp(QWidget* Parent) : QDialog(Parent, InputDialogFlags()) {
  setObjectName(QStringLiteral("TFixInp"));
  setModal(true);
  setFont(PropFont());
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    labels_[i] = MakeFieldLabel(this, LabelNames[i]);
    labels_[i]->setText(QString::fromLatin1(LabelTexts[i]));
    fields_[i] = new TInputField(this);
    fields_[i]->setObjectName(QLatin1String(FieldNames[i]));
    labels_[i]->setBuddy(fields_[i]);
  }
  strip_ = new QWidget(this);
  strip_->setObjectName(QStringLiteral("xButPan"));
  ok_ = StripButton(strip_, "xOK", "&OK");
  cancel_ = StripButton(strip_, "xCancel", "&Cancel");
  setTabOrder(fields_[0], fields_[1]);
  setTabOrder(fields_[1], fields_[2]);
  Relayout();
}

void TFixInp::SetPropFontSize(int PointSize) {
  if (!IsFontSize(PointSize)) return;
  setFont(PropFont(PointSize));
  Relayout();
}

void TFixInp::Relayout() {
  int label_width = 0;
  for (const QLabel* label : labels_) {
    label_width = std::max(label_width, label->fontMetrics().horizontalAdvance(label->text()));
  }
  const int field_width = fields_[0]->FullWidth();
  const int field_height = fields_[0]->sizeHint().height();
  const int field_left = Margin + label_width + LabelGap;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const int top = Margin + static_cast<int>(i) * (field_height + RowGap);
    labels_[i]->setGeometry(Margin, top, label_width, field_height);
    fields_[i]->setGeometry(field_left, top, field_width, field_height);
  }
  const int width = field_left + field_width + Margin;
  const int strip_top = Margin + FieldCount * field_height + (FieldCount - 1) * RowGap + StripGap;
  const int strip_width = 2 * StripButtonWidth + ButtonGap;
  strip_->setGeometry((width - strip_width) / 2, strip_top, strip_width, StripButtonHeight);
  ok_->setGeometry(0, 0, StripButtonWidth, StripButtonHeight);
  cancel_->setGeometry(StripButtonWidth + ButtonGap, 0, StripButtonWidth, StripButtonHeight);
  setFixedSize(width, strip_top + StripButtonHeight + Margin);
}

}  // namespace navorix
