// Pieces the two input dialogs share.
#pragma once

#include <QDialog>
#include <Qt>

class QKeyEvent;
class QLabel;
class QObject;
class QPushButton;
class QTimer;
class QWidget;

namespace navorix {

class InputField;

// The keys every input field of the two input dialogs shares: Enter asks to
// confirm, Esc clears a field with text (Cleared) and asks to leave from an
// empty one (Leave), Ctrl+D types the degree sign (Typed). Other keys are
// None, and characters reach the field's filter from the field itself.
enum class FieldKey { None, Confirm, Leave, Cleared, Typed };
FieldKey handleFieldKey(InputField& field, const QKeyEvent& key);

// A modal dialog made once and shown again and again: the input dialogs
// and the two boxes.
//  - Closing only hides it, so its native window, and the frame the window
//    manager gave it, stay for the next showing (QDialog::done would
//    destroy them); the window the user works in gets the keyboard back.
//  - It can never be lost: a window manager that minimises it (with the
//    window it belongs to) has it back at once, as it waits for an answer.
class ModalDialog : public QDialog {
  Q_OBJECT

 public:
  ModalDialog(QWidget* parent, Qt::WindowFlags flags);

 public slots:
  void done(int result) override;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void bringBack();
};

// Window flags of the input dialogs: a fixed dialog border and a caption,
// no title-bar buttons.
Qt::WindowFlags inputDialogFlags();

// "&OK" or "&Cancel" of a button strip: 75 x 25, reached by the mouse and
// its Alt accelerator, never by Tab.
QPushButton* stripButton(QWidget* strip, const char* name, const char* caption);

QLabel* makeFieldLabel(QWidget* parent, const char* name);

// The one-shot timer that ends the flash of invalid fields (200 ms).
QTimer* makeFlashTimer(QObject* owner);
inline constexpr int FlashMs = 200;

inline constexpr int StripButtonWidth = 75;
inline constexpr int StripButtonHeight = 25;

}  // namespace navorix
