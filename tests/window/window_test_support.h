// Helpers of the window tests.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace navorix::test {

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
