#include "window/dialogs/fix_dialog.h"

#include "window/dialogs/dialog_parts.h"
#include "window/look/fonts.h"
#include "window/look/qt_text.h"
#include "window/look/window_frame.h"
#include "workbench/input_rules.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

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

TFixInp::TFixInp(QWidget* Parent) : TModalDialog(Parent, InputDialogFlags()) {
  setObjectName(QStringLiteral("TFixInp"));
  setModal(true);
  SetTitleBar(*this, TTitleBar::Caption);
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
  for (int n = 1; n <= FieldCount; ++n) {
    Field(n)->installEventFilter(this);
    const auto kind = static_cast<TFixField>(n - 1);
    Field(n)->SetTyping([kind](TInputField& Typed, char C) {
      if (const char accepted = FilterFixChar(kind, C)) Typed.InsertChar(accepted);
    });
  }
  flash_ = MakeFlashTimer(this);
  connect(flash_, &QTimer::timeout, this, &TFixInp::Flash);
  connect(ok_, &QPushButton::clicked, this, &TFixInp::Ok);
  connect(cancel_, &QPushButton::clicked, this, &TFixInp::Cancel);
  Relayout();
}

void TFixInp::EditFix(TWorkbench& Bench, bool AddButton) {
  bench_ = &Bench;
  edit_ = Bench.BeginFixEdit(AddButton);
  setWindowTitle(ToQString(edit_.Caption));
  fields_[0]->setText(ToQString(edit_.Name));
  fields_[1]->setText(ToQString(edit_.Latitude));
  fields_[2]->setText(ToQString(edit_.Longitude));
  bad_.fill(false);
  check_ = TFixCheck{};
  Bench.PlaySound(TSound::Input, false);
  const int result = exec();
  flash_->stop();
  for (TInputField* field : fields_) field->SetColour(TFieldColour::Normal);
  if (result == QDialog::Accepted) {
    Bench.StoreFix(edit_, check_, FromQString(fields_[1]->text()),
                   FromQString(fields_[2]->text()));
  }
  bench_ = nullptr;
}

void TFixInp::showEvent(QShowEvent* Event) {
  QDialog::showEvent(Event);
  fields_[0]->setFocus(Qt::OtherFocusReason);
  fields_[0]->selectAll();
}

void TFixInp::MarkBad(int N) {
  Field(N)->MarkBad();
  bad_[static_cast<std::size_t>(N - 1)] = true;
}

void TFixInp::Ok() {
  if (bench_ == nullptr) return;
  bad_.fill(false);
  check_ = bench_->CheckFixInput(edit_, FromQString(fields_[0]->text()),
                                 FromQString(fields_[1]->text()), FromQString(fields_[2]->text()));
  // A name in use was shown in the error box; no field is marked then.
  if (check_.NameInUse) return;
  if (check_.NameBad) MarkBad(1);
  if (check_.LatitudeBad) MarkBad(2);
  if (check_.LongitudeBad) MarkBad(3);
  if (!check_.Passed()) {
    flash_->start();
    return;
  }
  accept();
}

void TFixInp::Cancel() { reject(); }

// The first invalid field is left and entered again, which turns it white
// with its text selected; the others go back to the normal colour.
void TFixInp::Flash() {
  int first = 0;
  for (int n = 1; n <= FieldCount; ++n) {
    if (bad_[static_cast<std::size_t>(n - 1)] && first == 0) first = n;
  }
  if (first == 0) return;
  ok_->setFocus(Qt::OtherFocusReason);
  Field(first)->setFocus(Qt::OtherFocusReason);
  Field(first)->selectAll();
  for (int n = first + 1; n <= FieldCount; ++n) {
    if (bad_[static_cast<std::size_t>(n - 1)]) Field(n)->SetColour(TFieldColour::Normal);
  }
  bad_.fill(false);
}

int TFixInp::FieldNumber(const QObject* Watched) const {
  for (int n = 1; n <= FieldCount; ++n) {
    if (Field(n) == Watched) return n;
  }
  return 0;
}

bool TFixInp::eventFilter(QObject* Watched, QEvent* Event) {
  const int n = FieldNumber(Watched);
  if (n == 0 || Event->type() != QEvent::KeyPress) return QDialog::eventFilter(Watched, Event);
  auto* key = static_cast<QKeyEvent*>(Event);
  TInputField* field = Field(n);
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Ok();
      return true;
    case Qt::Key_Escape:
      if (field->text().isEmpty()) {
        Cancel();
      } else {
        field->clear();
      }
      return true;
    default:
      break;
  }
  if (key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier) {
    field->Type(DegreeSign);
    return true;
  }
  // Characters reach the field's filter from the field itself.
  return false;
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
