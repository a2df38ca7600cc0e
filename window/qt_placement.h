// The placement rules applied to real windows. A window's rectangle is its
// outer (frame) rectangle once the window system has given it a frame.
#pragma once

#include "window/placement.h"

class QWidget;

namespace navorix {

// The rectangle of the screen Window is on (the primary screen when it has
// none yet).
TRect ScreenRectOf(const QWidget& Window);

void KeepOnScreen(QWidget& Window);
// Centres Window on the active window other than itself, else on the screen.
void CentreOnActiveForm(QWidget& Window);
// Centres Window on Control (any widget, by its screen position and size).
void CentreOnControl(QWidget& Window, const QWidget& Control);

}  // namespace navorix
