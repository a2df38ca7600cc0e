// The placement rules applied to real windows. A window's rectangle is its
// outer (frame) rectangle: the client area with the frame the window
// manager puts around it, asked for before the window is shown (see
// window/window_frame.h).
#pragma once

#include "window/look/placement.h"

class QWidget;

namespace navorix {

// The rectangle of the screen window is on (the primary screen when it has
// none yet).
Rect screenRectOf(const QWidget& window);

// The window the user works in, other than window: the active one, else
// the modal one, else the one window belongs to; nullptr when none is
// shown.
QWidget* workingWindow(const QWidget& window);

void keepOnScreen(QWidget& window);
// Centres window on the screen, then keeps it on the screen.
void centreOnScreen(QWidget& window);
// Centres window on the window the user works in (WorkingWindow), else on
// the screen.
void centreOnActiveForm(QWidget& window);
// Centres window on Control (any widget, by its screen position and size).
void centreOnControl(QWidget& window, const QWidget& target);
// Puts window beside Main (both by their frames; see BesideWindow).
void placeBeside(QWidget& window, QWidget& mainWindow);

}  // namespace navorix
