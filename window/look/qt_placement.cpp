#include "window/look/qt_placement.h"

#include "window/look/window_frame.h"

#include <QApplication>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace navorix {

namespace {

Rect fromQRect(const QRect& R) { return {R.left(), R.top(), R.width(), R.height()}; }

bool usable(const QWidget* candidate, const QWidget& window) {
  return candidate != nullptr && candidate != &window && candidate->isVisible() && !candidate->isMinimized();
}

}  // namespace

Rect screenRectOf(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {0, 0, 0, 0};
  return fromQRect(screen->geometry());
}

QWidget* workingWindow(const QWidget& window) {
  // Activation follows the window manager: just after a dialog has gone,
  // no window or the hidden dialog may still be the active one.
  for (QWidget* candidate : {QApplication::activeWindow(), QApplication::activeModalWidget(),
                             window.parentWidget() != nullptr ? window.parentWidget()->window() : nullptr}) {
    if (usable(candidate, window)) return candidate;
  }
  return nullptr;
}

void keepOnScreen(QWidget& window) {
  const Rect screen = screenRectOf(window);
  frameOf(window).place([screen](const Rect& outer) { return keepOnScreen(outer, screen); });
}

void centreOnScreen(QWidget& window) {
  const Rect screen = screenRectOf(window);
  frameOf(window).place([screen](const Rect& outer) { return centreOnActiveForm(outer, nullptr, screen); });
}

void centreOnActiveForm(QWidget& window) {
  QWidget* working = workingWindow(window);
  if (working == nullptr) {
    centreOnScreen(window);
    return;
  }
  const Rect active = frameOf(*working).outerRect();
  const Rect screen = screenRectOf(window);
  frameOf(window).place(
      [active, screen](const Rect& outer) { return centreOnActiveForm(outer, &active, screen); });
}

void centreOnControl(QWidget& window, const QWidget& target) {
  const QPoint origin = target.mapToGlobal(QPoint(0, 0));
  const Rect control{origin.x(), origin.y(), target.width(), target.height()};
  const Rect screen = screenRectOf(window);
  frameOf(window).place(
      [control, screen](const Rect& outer) { return centreOnControl(outer, control, screen); });
}

void placeBeside(QWidget& window, QWidget& mainWindow) {
  const Rect main = frameOf(mainWindow).outerRect();
  const Rect screen = screenRectOf(window);
  frameOf(window).place([main, screen](const Rect& outer) { return besideWindow(outer, main, screen); });
}

}  // namespace navorix
