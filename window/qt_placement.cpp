#include "window/qt_placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace navorix {

namespace {

TRect FromQRect(const QRect& R) { return {R.left(), R.top(), R.width(), R.height()}; }

TRect OuterRect(const QWidget& Window) { return FromQRect(Window.frameGeometry()); }

void MoveTo(QWidget& Window, const TRect& R) { Window.move(R.Left, R.Top); }

}  // namespace

TRect ScreenRectOf(const QWidget& Window) {
  const QScreen* screen = Window.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {0, 0, 0, 0};
  return FromQRect(screen->geometry());
}

void KeepOnScreen(QWidget& Window) {
  MoveTo(Window, KeepOnScreen(OuterRect(Window), ScreenRectOf(Window)));
}

void CentreOnActiveForm(QWidget& Window) {
  const QWidget* active = QApplication::activeWindow();
  TRect active_rect;
  const TRect* centre_on = nullptr;
  if (active != nullptr && active != &Window) {
    active_rect = OuterRect(*active);
    centre_on = &active_rect;
  }
  MoveTo(Window, CentreOnActiveForm(OuterRect(Window), centre_on, ScreenRectOf(Window)));
}

void CentreOnControl(QWidget& Window, const QWidget& Control) {
  const QPoint origin = Control.mapToGlobal(QPoint(0, 0));
  const TRect control{origin.x(), origin.y(), Control.width(), Control.height()};
  MoveTo(Window, CentreOnControl(OuterRect(Window), control, ScreenRectOf(Window)));
}

}  // namespace navorix
