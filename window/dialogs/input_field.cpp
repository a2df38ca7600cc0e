#include "window/dialogs/input_field.h"

#include "window/look/fonts.h"
#include "window/look/qt_text.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>

namespace navorix {

namespace {

constexpr int FieldFontHeight = 16;
// QLineEdit's own room around the text: 2 pixels each side, plus the caret.
constexpr int TextRoom = 2 * 2 + 2;

bool ChangesColour(const QFocusEvent& Event) {
  return Event.reason() != Qt::ActiveWindowFocusReason && Event.reason() != Qt::PopupFocusReason;
}

}  // namespace

TInputField::TInputField(QWidget* Parent) : QLineEdit(Parent) {
  setMaxLength(MaxChars);
  setFont(FixedFontOfHeight(FieldFontHeight, true));
  setAutoFillBackground(true);
  SetColour(TFieldColour::Normal);
}

void TInputField::SetColour(TFieldColour Colour) {
  colour_ = Colour;
  QPalette pal = palette();
  const QColor& ground = Colour == TFieldColour::Normal    ? NormalEditColor
                         : Colour == TFieldColour::Focused ? FocusedEditColor
                                                           : BadEditColor;
  pal.setColor(QPalette::Base, ground);
  pal.setColor(QPalette::Text, Qt::black);
  setPalette(pal);
}

void TInputField::MarkBad() {
  deselect();
  setCursorPosition(static_cast<int>(text().size()));
  SetColour(TFieldColour::Bad);
}

void TInputField::InsertChar(char Char) { insert(ToQString(std::string(1, Char))); }

void TInputField::Type(char Typed) {
  if (typing_) {
    typing_(*this, Typed);
  } else {
    InsertChar(Typed);
  }
}

// Each character on its own; one that Windows-1252 does not have is
// dropped.
void TInputField::TypeText(const QString& Text) {
  for (const QChar c : Text) {
    const std::string typed = FromQString(QString(c));
    if (typed.size() == 1) Type(typed[0]);
  }
}

void TInputField::keyPressEvent(QKeyEvent* Event) {
  const QString text = Event->text();
  if (text.isEmpty() || !text.at(0).isPrint()) {
    // Editing keys, and Ctrl's shortcuts (copy, paste, undo), whose text
    // is a control character.
    QLineEdit::keyPressEvent(Event);
    return;
  }
  // With Alt, Ctrl or the logo key held a key is a command, not a
  // character: one that no accelerator took types nothing.
  if (!(Event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))) TypeText(text);
  Event->accept();
}

void TInputField::inputMethodEvent(QInputMethodEvent* Event) {
  const QString committed = Event->commitString();
  if (committed.isEmpty()) {
    QLineEdit::inputMethodEvent(Event);
    return;
  }
  // The text being composed is shown as usual; what is committed is typed.
  QInputMethodEvent composing(Event->preeditString(), Event->attributes());
  QLineEdit::inputMethodEvent(&composing);
  TypeText(committed);
  Event->accept();
}

int TInputField::FullWidth() const {
  QStyleOptionFrame option;
  initStyleOption(&option);
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  return fontMetrics().horizontalAdvance(QString(MaxChars, QLatin1Char('W'))) + TextRoom + 2 * frame;
}

void TInputField::focusInEvent(QFocusEvent* Event) {
  if (ChangesColour(*Event)) SetColour(TFieldColour::Focused);
  QLineEdit::focusInEvent(Event);
}

void TInputField::focusOutEvent(QFocusEvent* Event) {
  if (ChangesColour(*Event)) SetColour(TFieldColour::Normal);
  QLineEdit::focusOutEvent(Event);
}

}  // namespace navorix
