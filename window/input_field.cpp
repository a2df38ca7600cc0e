#include "window/input_field.h"

#include "window/fonts.h"
#include "window/qt_text.h"

#include <QFocusEvent>
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
