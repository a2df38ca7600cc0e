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

bool changesColour(const QFocusEvent& event) {
  return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

}  // namespace

InputField::InputField(QWidget* parent) : QLineEdit(parent) {
  setMaxLength(MaxChars);
  setFont(fixedFontOfHeight(FieldFontHeight, true));
  setAutoFillBackground(true);
  setColour(FieldColour::Normal);
}

void InputField::setColour(FieldColour colour) {
  colour_ = colour;
  QPalette pal = palette();
  const QColor& ground = colour == FieldColour::Normal    ? NormalEditColor
                         : colour == FieldColour::Focused ? FocusedEditColor
                                                          : BadEditColor;
  pal.setColor(QPalette::Base, ground);
  pal.setColor(QPalette::Text, Qt::black);
  setPalette(pal);
}

void InputField::markBad() {
  deselect();
  setCursorPosition(static_cast<int>(text().size()));
  setColour(FieldColour::Bad);
}

void InputField::insertChar(char character) { insert(toQString(std::string(1, character))); }

void InputField::type(char typed) {
  if (typing_) {
    typing_(*this, typed);
  } else {
    insertChar(typed);
  }
}

// Each character on its own; one that Windows-1252 does not have is
// dropped.
void InputField::typeText(const QString& text) {
  for (const QChar c : text) {
    const std::string typed = fromQString(QString(c));
    if (typed.size() == 1) type(typed[0]);
  }
}

void InputField::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  if (text.isEmpty() || !text.at(0).isPrint()) {
    // Editing keys, and Ctrl's shortcuts (copy, paste, undo), whose text
    // is a control character.
    QLineEdit::keyPressEvent(event);
    return;
  }
  // With Alt, Ctrl or the logo key held a key is a command, not a
  // character: one that no accelerator took types nothing.
  if (!(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))) typeText(text);
  event->accept();
}

void InputField::inputMethodEvent(QInputMethodEvent* event) {
  const QString committed = event->commitString();
  if (committed.isEmpty()) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  // The text being composed is shown as usual; what is committed is typed.
  QInputMethodEvent composing(event->preeditString(), event->attributes());
  QLineEdit::inputMethodEvent(&composing);
  typeText(committed);
  event->accept();
}

int InputField::fullWidth() const {
  QStyleOptionFrame option;
  initStyleOption(&option);
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  return fontMetrics().horizontalAdvance(QString(MaxChars, QLatin1Char('W'))) + TextRoom + 2 * frame;
}

void InputField::focusInEvent(QFocusEvent* event) {
  if (changesColour(*event)) setColour(FieldColour::Focused);
  QLineEdit::focusInEvent(event);
}

void InputField::focusOutEvent(QFocusEvent* event) {
  if (changesColour(*event)) setColour(FieldColour::Normal);
  QLineEdit::focusOutEvent(event);
}

}  // namespace navorix
