#include "window/dialogs/operand_dialog.h"

#include "window/dialogs/dialog_parts.h"
#include "window/look/fonts.h"
#include "window/look/qt_placement.h"
#include "window/look/qt_text.h"
#include "window/look/window_frame.h"
#include "workbench/input_rules.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace navorix {

namespace {

QRect toQRect(const Rect& R) { return {R.left, R.top, R.width, R.height}; }

}  // namespace

OperandDialog::OperandDialog(QWidget* parent) : ModalDialog(parent, inputDialogFlags()) {
  setObjectName(QStringLiteral("OperandDialog"));
  setModal(true);
  setTitleBar(*this, TitleBar::Caption);
  setFont(propFont());
  bevel_ = new QFrame(this);
  bevel_->setObjectName(QStringLiteral("fieldPanel"));
  bevel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  bevel_->setLineWidth(1);
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    labels_[i] = makeFieldLabel(bevel_, ("operandLabel" + n).c_str());
    fields_[i] = new InputField(bevel_);
    fields_[i]->setObjectName(QString::fromStdString("operandField" + n));
    labels_[i]->setBuddy(fields_[i]);
  }
  strip_ = new QWidget(this);
  strip_->setObjectName(QStringLiteral("buttonStrip"));
  ok_ = stripButton(strip_, "okButton", "&OK");
  cancel_ = stripButton(strip_, "cancelButton", "&Cancel");
  for (std::size_t k = 0; k + 1 < OperandTabOrder.size(); ++k) {
    setTabOrder(fieldAt(OperandTabOrder[k]), fieldAt(OperandTabOrder[k + 1]));
  }
  for (int n = 1; n <= OperandFieldCount; ++n) {
    fieldAt(n)->installEventFilter(this);
    fieldAt(n)->setTyping([this, n](InputField& typed, char C) { filter(n, typed, C); });
  }
  flash_ = makeFlashTimer(this);
  connect(flash_, &QTimer::timeout, this, &OperandDialog::flash);
  connect(ok_, &QPushButton::clicked, this, &OperandDialog::ok);
  connect(cancel_, &QPushButton::clicked, this, &OperandDialog::reject);
  applyLayout(DialogEntry::OneFix, "");
}

void OperandDialog::attach(OperandChecks& checks, const QWidget& centreOn) {
  checks_ = &checks;
  centreOn_ = &centreOn;
}

bool OperandDialog::Ask(const DialogLayout& layout, std::string_view title, Operands& operands) {
  if (checks_ == nullptr) return false;
  applyLayout(layout.entry, std::string(title));
  for (int n = 1; n <= OperandFieldCount; ++n) fieldAt(n)->clear();
  for (std::size_t i = 0; i < layout.fieldCount; ++i) {
    fieldAt(layout.fields[i].field)->setText(toQString(lastTexts_[layout.firstText + i]));
  }
  if (centreOn_ != nullptr) centreOnControl(*this, *centreOn_);
  asked_ = &layout;
  bad_ = 0;
  completionStart_ = 0;
  completionPrefix_.clear();
  checks_->PlaySound(Sound::Input, false);
  const bool confirmed = exec() == QDialog::Accepted;
  flash_->stop();
  for (InputField* field : fields_) field->setColour(FieldColour::Normal);
  asked_ = nullptr;
  if (!confirmed) return false;
  for (std::size_t i = 0; i < layout.fieldCount; ++i) {
    lastTexts_[layout.firstText + i] = fromQString(fieldAt(layout.fields[i].field)->text());
  }
  operands = results_;
  return true;
}

void OperandDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  fieldAt(1)->setFocus(Qt::OtherFocusReason);
  fieldAt(1)->selectAll();
  completionStart_ = 0;
}

int OperandDialog::fieldNumber(const QObject* watched) const {
  for (int n = 1; n <= OperandFieldCount; ++n) {
    if (fieldAt(n) == watched) return n;
  }
  return 0;
}

void OperandDialog::markBad(int N) {
  fieldAt(N)->markBad();
  bad_ |= fieldBit(N);
  flash_->start();
}

// Every visible field is checked in field order; the first invalid one gets
// the focus and each invalid one flashes.
void OperandDialog::ok() {
  if (asked_ == nullptr || checks_ == nullptr) return;
  bad_ = 0;
  Operands results;
  std::size_t fix = 0;
  FieldSet invalid = 0;
  int firstBad = 0;
  for (std::size_t i = 0; i < asked_->fieldCount; ++i) {
    const LayoutField& layoutField = asked_->fields[i];
    const FieldCheck check =
        checks_->CheckOperandField(layoutField.kind, fromQString(fieldAt(layoutField.field)->text()));
    if (layoutField.kind == FieldKind::Fix) results.fix[fix++] = check.fix;
    if (layoutField.kind == FieldKind::Distance) results.distance = check.number;
    if (layoutField.kind == FieldKind::Azimuth) results.azimuth = check.number;
    if (check.valid) continue;
    invalid |= fieldBit(layoutField.field);
    if (firstBad == 0) firstBad = layoutField.field;
  }
  if (firstBad == 0) {
    results_ = results;
    accept();
    fieldAt(1)->setFocus(Qt::OtherFocusReason);
    return;
  }
  fieldAt(firstBad)->setFocus(Qt::OtherFocusReason);
  for (int n = 1; n <= OperandFieldCount; ++n) {
    if (hasField(invalid, n)) markBad(n);
  }
  checks_->PlaySound(Sound::Error, false);
}

// Repeated blanks step through the fixes whose names begin with the text
// typed; after the last one the field flashes, and the next blank starts
// again at the first.
void OperandDialog::complete(int N) {
  InputField* field = fieldAt(N);
  if (completionStart_ == 0) {
    completionPrefix_ = fromQString(field->text());
    completionStart_ = 1;
  }
  std::string name;
  const std::uint16_t found = checks_->CompleteName(completionPrefix_, completionStart_, name);
  completionStart_ = static_cast<std::uint16_t>(found + 1);
  if (found != 0) {
    field->setText(toQString(name));
  } else {
    markBad(N);
  }
  // After the 15th character: the end of every name shorter than 16.
  field->deselect();
  field->setCursorPosition(std::min(static_cast<int>(field->text().size()), InputField::MaxChars - 1));
}

// Fields that still have the focus turn white with their text selected; the
// others go back to the normal colour.
void OperandDialog::flash() {
  for (int n = 1; n <= OperandFieldCount; ++n) {
    if (!hasField(bad_, n)) continue;
    if (fieldAt(n)->hasFocus()) {
      fieldAt(n)->setColour(FieldColour::Focused);
      fieldAt(n)->selectAll();
    } else {
      fieldAt(n)->setColour(FieldColour::Normal);
    }
  }
}

// Every character typed into field N: a blank in a name field is a
// completion step, the rest is filtered.
void OperandDialog::filter(int N, InputField& typed, char C) {
  const OperandChar filtered = FilterOperandChar(N, C);
  switch (filtered.key) {
    case OperandKey::Complete:
      if (checks_ != nullptr) complete(N);
      break;
    case OperandKey::Dropped:
      break;
    case OperandKey::Accepted:
      completionStart_ = 0;
      typed.insertChar(filtered.character);
      break;
  }
}

bool OperandDialog::eventFilter(QObject* watched, QEvent* event) {
  const int n = fieldNumber(watched);
  if (n == 0) return QDialog::eventFilter(watched, event);
  if (event->type() == QEvent::FocusIn) completionStart_ = 0;
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const auto& key = *static_cast<QKeyEvent*>(event);
  switch (handleFieldKey(*fieldAt(n), key)) {
    case FieldKey::Confirm:
      ok();
      return true;
    case FieldKey::Leave:
      completionStart_ = 0;
      reject();
      return true;
    case FieldKey::Cleared:
      completionStart_ = 0;
      return true;
    case FieldKey::Typed:
      return true;
    case FieldKey::None:
      break;
  }
  if (key.key() == Qt::Key_Backspace) completionStart_ = 0;
  return false;
}

OperandDialogGrid OperandDialog::grid() const {
  OperandDialogGrid grid;
  const QFontMetrics fm(font());
  // Each column is as wide as the widest label any layout puts in it, so
  // that the fields stand in the same place in every layout.
  for (std::size_t e = 0; e < LayoutCount; ++e) {
    const OperandDialogLayout& layout = inPanLayoutOf(static_cast<DialogEntry>(e));
    for (int n = 1; n <= OperandFieldCount; ++n) {
      const char* label = layout.labels[static_cast<std::size_t>(n)];
      if (label == nullptr) continue;
      int& width = isRightColumn(n) ? grid.rightLabelWidth : grid.leftLabelWidth;
      width = std::max(width, fm.horizontalAdvance(toQString(label)));
    }
  }
  grid.fieldWidth = fields_[0]->fullWidth();
  grid.fieldHeight = fields_[0]->sizeHint().height();
  grid.buttonWidth = StripButtonWidth;
  grid.buttonHeight = StripButtonHeight;
  return grid;
}

void OperandDialog::applyLayout(DialogEntry entry, const std::string& title) {
  applyLayout(inPanLayoutOf(entry), title);
}

void OperandDialog::applyLayout(const OperandDialogLayout& layout, const std::string& title) {
  layout_ = layout;
  title_ = title;
  visible_ = layout.visible;
  const OperandDialogGeometry g = layoutOperandDialog(visible_, grid());
  for (int n = 1; n <= OperandFieldCount; ++n) {
    const auto i = static_cast<std::size_t>(n);
    const bool shown = hasField(visible_, n);
    QLabel* label = fieldLabel(n);
    label->setText(shown && layout.labels[i] != nullptr ? toQString(layout.labels[i]) : QString());
    label->setGeometry(toQRect(g.label[i]));
    fieldAt(n)->setGeometry(toQRect(g.field[i]));
    label->setVisible(shown);
    fieldAt(n)->setVisible(shown);
  }
  bevel_->setGeometry(toQRect(g.panel));
  strip_->setGeometry(toQRect(g.strip));
  ok_->setGeometry(toQRect(g.ok));
  cancel_->setGeometry(toQRect(g.cancel));
  setFixedSize(g.clientWidth, g.clientHeight);
  setWindowTitle(QStringLiteral(" ") + toQString(title));
}

void OperandDialog::setPropFontSize(int pointSize) {
  if (!isFontSize(pointSize)) return;
  setFont(propFont(pointSize));
  applyLayout(layout_, title_);
}

}  // namespace navorix
