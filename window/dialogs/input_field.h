// A one-line input field of the two input dialogs: at most 16 characters
// in the fixed-pitch font, light green without the focus, white with it,
// red while marked invalid. Every character typed or composed into it goes
// through its owner's filter (SetTyping); a key held with Alt, Ctrl or
// the logo key types nothing. Pasted text is taken as it is and checked
// when the dialog closes.
#pragma once

#include <QColor>
#include <QLineEdit>

#include <functional>

namespace navorix {

inline const QColor NormalEditColor(192, 220, 192);
inline const QColor FocusedEditColor(255, 255, 255);
inline const QColor BadEditColor(255, 0, 0);

enum class TFieldColour { Normal, Focused, Bad };

class TInputField : public QLineEdit {
  Q_OBJECT

 public:
  static constexpr int MaxChars = 16;

  // What a typed Windows-1252 character does to the field.
  using TTyping = std::function<void(TInputField& Field, char Typed)>;

  explicit TInputField(QWidget* Parent = nullptr);

  // The filter of every typed character; without one the character is
  // inserted as it is.
  void SetTyping(TTyping Typing) { typing_ = std::move(Typing); }
  // Types Typed as a key would: through the filter.
  void Type(char Typed);

  void SetColour(TFieldColour Colour);
  // Marks the field invalid: red, the caret after its text, nothing
  // selected.
  void MarkBad();
  // Types the one Windows-1252 character Char at the caret.
  void InsertChar(char Char);
  TFieldColour Colour() const { return colour_; }
  // The width of a field that shows MaxChars characters of its font.
  int FullWidth() const;

 protected:
  // Entering the field turns it white, leaving it light green; a window
  // that merely loses or regains activation changes nothing.
  void focusInEvent(QFocusEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void inputMethodEvent(QInputMethodEvent* Event) override;

 private:
  void TypeText(const QString& Text);

  TFieldColour colour_ = TFieldColour::Normal;
  TTyping typing_;
};

}  // namespace navorix
