// Helpers of the window tests.
#pragma once

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace navorix::test {

// The grounds of an input field: white with the focus, red when marked
// bad, and the normal colour otherwise.
inline const QColor White(255, 255, 255);
inline const QColor Red(255, 0, 0);
inline const QColor Normal(192, 220, 192);

inline QColor Ground(const QWidget* Field) { return Field->palette().color(QPalette::Base); }

// Runs Action on the modal widget once the next modal loop has started;
// Action gets the widget that has the focus, or the modal window itself.
inline void WhenModal(std::function<void(QWidget* Modal, QWidget* Focus)> Action) {
  QTimer::singleShot(0, [Action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    QWidget* focus = modal->focusWidget() != nullptr ? modal->focusWidget() : modal;
    Action(modal, focus);
  });
}

}  // namespace navorix::test
