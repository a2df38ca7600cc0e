// Helpers of the window tests.
#pragma once

#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QPalette>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace navorix::test {

// The grounds of an input field: white with the focus, red when marked
// bad, and the normal colour otherwise.
inline const QColor White(255, 255, 255);
inline const QColor Red(255, 0, 0);
inline const QColor Normal(192, 220, 192);

inline QColor ground(const QWidget* field) { return field->palette().color(QPalette::Base); }

// Milliseconds a modal window may stay open after WhenModal's Action.
inline constexpr int ModalStuckMs = 5000;

// Runs action on the modal widget once the next modal loop has started;
// action gets the widget that has the focus, or the modal window itself.
// A modal window that action leaves open and that is still open
// ModalStuckMs later fails the test and is closed, so that the test ends
// instead of hanging in the modal loop.
inline void whenModal(std::function<void(QWidget* modal, QWidget* focus)> action) {
  QTimer::singleShot(0, [action] {
    const QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (modal.isNull()) return;
    action(modal, modal->focusWidget() != nullptr ? modal->focusWidget() : modal.data());
    if (modal.isNull() || !modal->isVisible()) return;
    QTimer::singleShot(ModalStuckMs, modal, [modal] {
      if (!modal->isVisible()) return;
      QTest::qFail("the modal window stayed open", __FILE__, __LINE__);
      if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
      } else {
        modal->hide();
      }
    });
  });
}

}  // namespace navorix::test
