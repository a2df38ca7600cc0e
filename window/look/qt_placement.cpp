#include "window/look/qt_placement.h"

#include "window/look/window_frame.h"

#include <QApplication>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace navorix {

namespace {

TRect FromQRect(const QRect& R) { return {R.left(), R.top(), R.width(), R.height()}; }

bool Usable(const QWidget* Candidate, const QWidget& Window) {
  return Candidate != nullptr && Candidate != &Window && Candidate->isVisible() && !Candidate->isMinimized();
}

}  // namespace

TRect ScreenRectOf(const QWidget& Window) {
  const QScreen* screen = Window.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {0, 0, 0, 0};
  return FromQRect(screen->geometry());
}

QWidget* WorkingWindow(const QWidget& Window) {
  // Activation follows the window manager: just after a dialog has gone,
  // no window or the hidden dialog may still be the active one.
  for (QWidget* candidate : {QApplication::activeWindow(), QApplication::activeModalWidget(),
                             Window.parentWidget() != nullptr ? Window.parentWidget()->window() : nullptr}) {
    if (Usable(candidate, Window)) return candidate;
  }
  return nullptr;
}

void KeepOnScreen(QWidget& Window) {
  const TRect screen = ScreenRectOf(Window);
  FrameOf(Window).Place([screen](const TRect& Outer) { return KeepOnScreen(Outer, screen); });
}

void CentreOnScreen(QWidget& Window) {
  const TRect screen = ScreenRectOf(Window);
  FrameOf(Window).Place([screen](const TRect& Outer) { return CentreOnActiveForm(Outer, nullptr, screen); });
}

void CentreOnActiveForm(QWidget& Window) {
  QWidget* working = WorkingWindow(Window);
  if (working == nullptr) {
    CentreOnScreen(Window);
    return;
  }
  const TRect active = FrameOf(*working).OuterRect();
  const TRect screen = ScreenRectOf(Window);
  FrameOf(Window).Place(
      [active, screen](const TRect& Outer) { return CentreOnActiveForm(Outer, &active, screen); });
}

void CentreOnControl(QWidget& Window, const QWidget& Control) {
  const QPoint origin = Control.mapToGlobal(QPoint(0, 0));
  const TRect control{origin.x(), origin.y(), Control.width(), Control.height()};
  const TRect screen = ScreenRectOf(Window);
  FrameOf(Window).Place(
      [control, screen](const TRect& Outer) { return CentreOnControl(Outer, control, screen); });
}

void PlaceBeside(QWidget& Window, QWidget& Main) {
  const TRect main = FrameOf(Main).OuterRect();
  const TRect screen = ScreenRectOf(Window);
  FrameOf(Window).Place([main, screen](const TRect& Outer) { return BesideWindow(Outer, main, screen); });
}

}  // namespace navorix
