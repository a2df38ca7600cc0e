// Pieces the two input dialogs share.
#pragma once

#include <Qt>

class QLabel;
class QObject;
class QPushButton;
class QTimer;
class QWidget;

namespace navorix {

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
