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

constexpr const char* FieldNames[FixDialog::FieldCount] = {"fixNameField", "latitudeField", "longitudeField"};
constexpr const char* LabelNames[FixDialog::FieldCount] = {"xlName", "xlLat", "xlLon"};
constexpr const char* LabelTexts[FixDialog::FieldCount] = {"Fix Name:", "Latitude:", "Longitude:"};

}  // namespace

FixDialog::FixDialog(QWidget* parent) : ModalDialog(parent, inputDialogFlags()) {
  setObjectName(QStringLiteral("FixDialog"));
  setModal(true);
  setTitleBar(*this, TitleBar::Caption);
  setFont(propFont());
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    labels_[i] = makeFieldLabel(this, LabelNames[i]);
    labels_[i]->setText(QString::fromLatin1(LabelTexts[i]));
    fields_[i] = new InputField(this);
    fields_[i]->setObjectName(QLatin1String(FieldNames[i]));
    labels_[i]->setBuddy(fields_[i]);
  }
  strip_ = new QWidget(this);
  strip_->setObjectName(QStringLiteral("buttonStrip"));
  ok_ = stripButton(strip_, "okButton", "&OK");
  cancel_ = stripButton(strip_, "cancelButton", "&Cancel");
  setTabOrder(fields_[0], fields_[1]);
  setTabOrder(fields_[1], fields_[2]);
  for (int n = 1; n <= FieldCount; ++n) {
    fieldAt(n)->installEventFilter(this);
    const auto kind = static_cast<FixField>(n - 1);
    fieldAt(n)->setTyping([kind](InputField& typed, char C) {
      if (const char accepted = FilterFixChar(kind, C)) typed.insertChar(accepted);
    });
  }
  flash_ = makeFlashTimer(this);
  connect(flash_, &QTimer::timeout, this, &FixDialog::flash);
  connect(ok_, &QPushButton::clicked, this, &FixDialog::ok);
  connect(cancel_, &QPushButton::clicked, this, &FixDialog::cancel);
  relayout();
}

void FixDialog::editFix(Workbench& bench, bool addButton) {
  bench_ = &bench;
  edit_ = bench.BeginFixEdit(addButton);
  setWindowTitle(toQString(edit_.caption));
  fields_[0]->setText(toQString(edit_.name));
  fields_[1]->setText(toQString(edit_.latitude));
  fields_[2]->setText(toQString(edit_.longitude));
  bad_.fill(false);
  check_ = FixCheck{};
  bench.PlaySound(Sound::Input, false);
  const int result = exec();
  flash_->stop();
  for (InputField* field : fields_) field->setColour(FieldColour::Normal);
  if (result == QDialog::Accepted) {
    bench.StoreFix(edit_, check_, fromQString(fields_[1]->text()), fromQString(fields_[2]->text()));
  }
  bench_ = nullptr;
}

void FixDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  fields_[0]->setFocus(Qt::OtherFocusReason);
  fields_[0]->selectAll();
}

void FixDialog::markBad(int N) {
  fieldAt(N)->markBad();
  bad_[static_cast<std::size_t>(N - 1)] = true;
}

void FixDialog::ok() {
  if (bench_ == nullptr) return;
  bad_.fill(false);
  check_ = bench_->CheckFixInput(edit_, fromQString(fields_[0]->text()), fromQString(fields_[1]->text()),
                                 fromQString(fields_[2]->text()));
  // A name in use was shown in the error box; no field is marked then.
  if (check_.nameInUse) return;
  if (check_.nameBad) markBad(1);
  if (check_.latitudeBad) markBad(2);
  if (check_.longitudeBad) markBad(3);
  if (!check_.Passed()) {
    flash_->start();
    return;
  }
  accept();
}

void FixDialog::cancel() { reject(); }

// The first invalid field is left and entered again, which turns it white
// with its text selected; the others go back to the normal colour.
void FixDialog::flash() {
  int first = 0;
  for (int n = 1; n <= FieldCount; ++n) {
    if (bad_[static_cast<std::size_t>(n - 1)] && first == 0) first = n;
  }
  if (first == 0) return;
  ok_->setFocus(Qt::OtherFocusReason);
  fieldAt(first)->setFocus(Qt::OtherFocusReason);
  fieldAt(first)->selectAll();
  for (int n = first + 1; n <= FieldCount; ++n) {
    if (bad_[static_cast<std::size_t>(n - 1)]) fieldAt(n)->setColour(FieldColour::Normal);
  }
  bad_.fill(false);
}

int FixDialog::fieldNumber(const QObject* watched) const {
  for (int n = 1; n <= FieldCount; ++n) {
    if (fieldAt(n) == watched) return n;
  }
  return 0;
}

bool FixDialog::eventFilter(QObject* watched, QEvent* event) {
  const int n = fieldNumber(watched);
  if (n == 0 || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  switch (handleFieldKey(*fieldAt(n), *static_cast<QKeyEvent*>(event))) {
    case FieldKey::Confirm:
      ok();
      return true;
    case FieldKey::Leave:
      cancel();
      return true;
    case FieldKey::Cleared:
    case FieldKey::Typed:
      return true;
    case FieldKey::None:
      break;
  }
  return false;
}

void FixDialog::setPropFontSize(int pointSize) {
  if (!isFontSize(pointSize)) return;
  setFont(propFont(pointSize));
  relayout();
}

void FixDialog::relayout() {
  int labelWidth = 0;
  for (const QLabel* label : labels_) {
    labelWidth = std::max(labelWidth, label->fontMetrics().horizontalAdvance(label->text()));
  }
  const int fieldWidth = fields_[0]->fullWidth();
  const int fieldHeight = fields_[0]->sizeHint().height();
  const int fieldLeft = Margin + labelWidth + LabelGap;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const int top = Margin + static_cast<int>(i) * (fieldHeight + RowGap);
    labels_[i]->setGeometry(Margin, top, labelWidth, fieldHeight);
    fields_[i]->setGeometry(fieldLeft, top, fieldWidth, fieldHeight);
  }
  const int width = fieldLeft + fieldWidth + Margin;
  const int stripTop = Margin + FieldCount * fieldHeight + (FieldCount - 1) * RowGap + StripGap;
  const int stripWidth = 2 * StripButtonWidth + ButtonGap;
  strip_->setGeometry((width - stripWidth) / 2, stripTop, stripWidth, StripButtonHeight);
  ok_->setGeometry(0, 0, StripButtonWidth, StripButtonHeight);
  cancel_->setGeometry(StripButtonWidth + ButtonGap, 0, StripButtonWidth, StripButtonHeight);
  setFixedSize(width, stripTop + StripButtonHeight + Margin);
}

}  // namespace navorix
