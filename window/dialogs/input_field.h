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

enum class FieldColour { Normal, Focused, Bad };

class InputField : public QLineEdit {
  Q_OBJECT

 public:
  static constexpr int MaxChars = 16;

  // What a typed Windows-1252 character does to the field.
  using Typing = std::function<void(InputField& field, char typed)>;

  explicit InputField(QWidget* parent = nullptr);

  // The filter of every typed character; without one the character is
  // inserted as it is.
  void setTyping(Typing typing) { typing_ = std::move(typing); }
  // Types typed as a key would: through the filter.
  void type(char typed);

  void setColour(FieldColour colour);
  // Marks the field invalid: red, the caret after its text, nothing
  // selected.
  void markBad();
  // Types the one Windows-1252 character Char at the caret.
  void insertChar(char character);
  FieldColour colour() const { return colour_; }
  // The width of a field that shows MaxChars characters of its font.
  int fullWidth() const;

 protected:
  // Entering the field turns it white, leaving it light green; a window
  // that merely loses or regains activation changes nothing.
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  void typeText(const QString& text);

  FieldColour colour_ = FieldColour::Normal;
  Typing typing_;
};

}  // namespace navorix
