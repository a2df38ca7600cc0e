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

QRect ToQRect(const TRect& R) { return {R.Left, R.Top, R.Width, R.Height}; }

}  // namespace

TInPan::TInPan(QWidget* Parent) : TModalDialog(Parent, InputDialogFlags()) {
  setObjectName(QStringLiteral("TInPan"));
  setModal(true);
  SetTitleBar(*this, TTitleBar::Caption);
  setFont(PropFont());
  bevel_ = new QFrame(this);
  bevel_->setObjectName(QStringLiteral("xBevel"));
  bevel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  bevel_->setLineWidth(1);
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    labels_[i] = MakeFieldLabel(bevel_, ("xLa" + n).c_str());
    fields_[i] = new TInputField(bevel_);
    fields_[i]->setObjectName(QString::fromStdString("xEd" + n));
    labels_[i]->setBuddy(fields_[i]);
  }
  strip_ = new QWidget(this);
  strip_->setObjectName(QStringLiteral("xButPan"));
  ok_ = StripButton(strip_, "xOK", "&OK");
  cancel_ = StripButton(strip_, "xCancel", "&Cancel");
  for (std::size_t k = 0; k + 1 < InPanTabOrder.size(); ++k) {
    setTabOrder(Field(InPanTabOrder[k]), Field(InPanTabOrder[k + 1]));
  }
  for (int n = 1; n <= InPanFieldCount; ++n) {
    Field(n)->installEventFilter(this);
    Field(n)->SetTyping([this, n](TInputField& Typed, char C) { Filter(n, Typed, C); });
  }
  flash_ = MakeFlashTimer(this);
  connect(flash_, &QTimer::timeout, this, &TInPan::Flash);
  connect(ok_, &QPushButton::clicked, this, &TInPan::Ok);
  connect(cancel_, &QPushButton::clicked, this, &TInPan::reject);
  ApplyLayout(TDialogEntry::OneFix, "");
}

void TInPan::Attach(TOperandChecks& Checks, const QWidget& CentreOn) {
  checks_ = &Checks;
  centreOn_ = &CentreOn;
}

bool TInPan::Ask(const TDialogLayout& Layout, std::string_view Title, TOperands& Operands) {
  if (checks_ == nullptr) return false;
  ApplyLayout(Layout.Entry, std::string(Title));
  for (int n = 1; n <= InPanFieldCount; ++n) Field(n)->clear();
  for (std::size_t i = 0; i < Layout.FieldCount; ++i) {
    Field(Layout.Fields[i].Field)->setText(ToQString(lastTexts_[Layout.FirstText + i]));
  }
  if (centreOn_ != nullptr) CentreOnControl(*this, *centreOn_);
  asked_ = &Layout;
  bad_ = 0;
  completionStart_ = 0;
  completionPrefix_.clear();
  checks_->PlaySound(TSound::Input, false);
  const bool confirmed = exec() == QDialog::Accepted;
  flash_->stop();
  for (TInputField* field : fields_) field->SetColour(TFieldColour::Normal);
  asked_ = nullptr;
  if (!confirmed) return false;
  for (std::size_t i = 0; i < Layout.FieldCount; ++i) {
    lastTexts_[Layout.FirstText + i] = FromQString(Field(Layout.Fields[i].Field)->text());
  }
  Operands = results_;
  return true;
}

void TInPan::showEvent(QShowEvent* Event) {
  QDialog::showEvent(Event);
  Field(1)->setFocus(Qt::OtherFocusReason);
  Field(1)->selectAll();
  completionStart_ = 0;
}

int TInPan::FieldNumber(const QObject* Watched) const {
  for (int n = 1; n <= InPanFieldCount; ++n) {
    if (Field(n) == Watched) return n;
  }
  return 0;
}

void TInPan::MarkBad(int N) {
  Field(N)->MarkBad();
  bad_ |= FieldBit(N);
  flash_->start();
}

// Every visible field is checked in field order; the first invalid one gets
// the focus and each invalid one flashes.
void TInPan::Ok() {
  if (asked_ == nullptr || checks_ == nullptr) return;
  bad_ = 0;
  TOperands results;
  std::size_t fix = 0;
  TFieldSet invalid = 0;
  int firstBad = 0;
  for (std::size_t i = 0; i < asked_->FieldCount; ++i) {
    const TLayoutField& layoutField = asked_->Fields[i];
    const TFieldCheck check =
        checks_->CheckOperandField(layoutField.Kind, FromQString(Field(layoutField.Field)->text()));
    if (layoutField.Kind == TFieldKind::Fix) results.Fix[fix++] = check.Fix;
    if (layoutField.Kind == TFieldKind::Distance) results.Distance = check.Number;
    if (layoutField.Kind == TFieldKind::Azimuth) results.Azimuth = check.Number;
    if (check.Valid) continue;
    invalid |= FieldBit(layoutField.Field);
    if (firstBad == 0) firstBad = layoutField.Field;
  }
  if (firstBad == 0) {
    results_ = results;
    accept();
    Field(1)->setFocus(Qt::OtherFocusReason);
    return;
  }
  Field(firstBad)->setFocus(Qt::OtherFocusReason);
  for (int n = 1; n <= InPanFieldCount; ++n) {
    if (HasField(invalid, n)) MarkBad(n);
  }
  checks_->PlaySound(TSound::Error, false);
}

// Repeated blanks step through the fixes whose names begin with the text
// typed; after the last one the field flashes, and the next blank starts
// again at the first.
void TInPan::Complete(int N) {
  TInputField* field = Field(N);
  if (completionStart_ == 0) {
    completionPrefix_ = FromQString(field->text());
    completionStart_ = 1;
  }
  std::string name;
  const std::uint16_t found = checks_->CompleteName(completionPrefix_, completionStart_, name);
  completionStart_ = static_cast<std::uint16_t>(found + 1);
  if (found != 0) {
    field->setText(ToQString(name));
  } else {
    MarkBad(N);
  }
  // After the 15th character: the end of every name shorter than 16.
  field->deselect();
  field->setCursorPosition(std::min(static_cast<int>(field->text().size()), TInputField::MaxChars - 1));
}

// Fields that still have the focus turn white with their text selected; the
// others go back to the normal colour.
void TInPan::Flash() {
  for (int n = 1; n <= InPanFieldCount; ++n) {
    if (!HasField(bad_, n)) continue;
    if (Field(n)->hasFocus()) {
      Field(n)->SetColour(TFieldColour::Focused);
      Field(n)->selectAll();
    } else {
      Field(n)->SetColour(TFieldColour::Normal);
    }
  }
}

// Every character typed into field N: a blank in a name field is a
// completion step, the rest is filtered.
void TInPan::Filter(int N, TInputField& Typed, char C) {
  const TOperandChar filtered = FilterOperandChar(N, C);
  switch (filtered.Key) {
    case TOperandKey::Complete:
      if (checks_ != nullptr) Complete(N);
      break;
    case TOperandKey::Dropped:
      break;
    case TOperandKey::Accepted:
      completionStart_ = 0;
      Typed.InsertChar(filtered.Char);
      break;
  }
}

bool TInPan::eventFilter(QObject* Watched, QEvent* Event) {
  const int n = FieldNumber(Watched);
  if (n == 0) return QDialog::eventFilter(Watched, Event);
  if (Event->type() == QEvent::FocusIn) completionStart_ = 0;
  if (Event->type() != QEvent::KeyPress) return QDialog::eventFilter(Watched, Event);
  auto* key = static_cast<QKeyEvent*>(Event);
  TInputField* field = Field(n);
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Ok();
      return true;
    case Qt::Key_Escape:
      completionStart_ = 0;
      if (field->text().isEmpty()) {
        reject();
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
  if (key->key() == Qt::Key_Backspace) completionStart_ = 0;
  // Characters reach the field's filter from the field itself.
  return false;
}

TInPanGrid TInPan::Grid() const {
  TInPanGrid grid;
  const QFontMetrics fm(font());
  // Each column is as wide as the widest label any layout puts in it, so
  // that the fields stand in the same place in every layout.
  for (std::size_t e = 0; e < LayoutCount; ++e) {
    const TInPanLayout& layout = InPanLayoutOf(static_cast<TDialogEntry>(e));
    for (int n = 1; n <= InPanFieldCount; ++n) {
      const char* label = layout.Labels[static_cast<std::size_t>(n)];
      if (label == nullptr) continue;
      int& width = IsRightColumn(n) ? grid.RightLabelWidth : grid.LeftLabelWidth;
      width = std::max(width, fm.horizontalAdvance(ToQString(label)));
    }
  }
  grid.FieldWidth = fields_[0]->FullWidth();
  grid.FieldHeight = fields_[0]->sizeHint().height();
  grid.ButtonWidth = StripButtonWidth;
  grid.ButtonHeight = StripButtonHeight;
  return grid;
}

void TInPan::ApplyLayout(TDialogEntry Entry, const std::string& Title) {
  ApplyLayout(InPanLayoutOf(Entry), Title);
}

void TInPan::ApplyLayout(const TInPanLayout& Layout, const std::string& Title) {
  layout_ = Layout;
  title_ = Title;
  visible_ = Layout.Visible;
  const TInPanGeometry g = LayoutInPan(visible_, Grid());
  for (int n = 1; n <= InPanFieldCount; ++n) {
    const auto i = static_cast<std::size_t>(n);
    const bool shown = HasField(visible_, n);
    QLabel* label = FieldLabel(n);
    label->setText(shown && Layout.Labels[i] != nullptr ? ToQString(Layout.Labels[i]) : QString());
    label->setGeometry(ToQRect(g.Label[i]));
    Field(n)->setGeometry(ToQRect(g.Field[i]));
    label->setVisible(shown);
    Field(n)->setVisible(shown);
  }
  bevel_->setGeometry(ToQRect(g.Panel));
  strip_->setGeometry(ToQRect(g.Strip));
  ok_->setGeometry(ToQRect(g.Ok));
  cancel_->setGeometry(ToQRect(g.Cancel));
  setFixedSize(g.ClientWidth, g.ClientHeight);
  setWindowTitle(QStringLiteral(" ") + ToQString(Title));
}

void TInPan::SetPropFontSize(int PointSize) {
  if (!IsFontSize(PointSize)) return;
  setFont(PropFont(PointSize));
  ApplyLayout(layout_, title_);
}

}  // namespace navorix
