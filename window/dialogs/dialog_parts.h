// Pieces the two input dialogs share.
#pragma once

#include <QDialog>
#include <Qt>

class QLabel;
class QObject;
class QPushButton;
class QTimer;
class QWidget;

namespace navorix {

// A modal dialog made once and shown again and again: the input dialogs
// and the two boxes.
//  - Closing only hides it, so its native window, and the frame the window
//    manager gave it, stay for the next showing (QDialog::done would
//    destroy them); the window the user works in gets the keyboard back.
//  - It can never be lost: a window manager that minimises it (with the
//    window it belongs to) has it back at once, as it waits for an answer.
class TModalDialog : public QDialog {
  Q_OBJECT

 public:
  TModalDialog(QWidget* Parent, Qt::WindowFlags Flags);

 public slots:
  void done(int Result) override;

 protected:
  void changeEvent(QEvent* Event) override;

 private:
  void BringBack();
};

// Window flags of the input dialogs: a fixed dialog border and a caption,
// no title-bar buttons.
Qt::WindowFlags InputDialogFlags();

// "&OK" or "&Cancel" of a button strip: 75 x 25, reached by the mouse and
// its Alt accelerator, never by Tab.
QPushButton* StripButton(QWidget* Strip, const char* Name, const char* Caption);

QLabel* MakeFieldLabel(QWidget* Parent, const char* Name);

// The one-shot timer that ends the flash of invalid fields (200 ms).
QTimer* MakeFlashTimer(QObject* Owner);
inline constexpr int FlashMs = 200;

inline constexpr int StripButtonWidth = 75;
inline constexpr int StripButtonHeight = 25;

}  // namespace navorix
