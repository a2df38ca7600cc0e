#include "window/dialogs/dialog_parts.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "text/display_options.h"
#include "window/dialogs/input_field.h"

namespace navorix {

FieldKey handleFieldKey(InputField& field, const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return FieldKey::Confirm;
    case Qt::Key_Escape:
      if (field.text().isEmpty()) return FieldKey::Leave;
      field.clear();
      return FieldKey::Cleared;
    case Qt::Key_D:
      if (key.modifiers() != Qt::ControlModifier) return FieldKey::None;
      field.type(DegreeSign);
      return FieldKey::Typed;
    default:
      return FieldKey::None;
  }
}

ModalDialog::ModalDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

void ModalDialog::done(int result) {
  setResult(result);
  hide();
  // The keyboard goes back to the window the user works in. A window
  // manager does that by itself; without one the focus would stay nowhere.
  QWidget* next = QApplication::activeModalWidget();
  if (next == nullptr && parentWidget() != nullptr) next = parentWidget()->window();
  if (next != nullptr && next->isVisible()) next->activateWindow();
  if (result == QDialog::Accepted) emit accepted();
  if (result == QDialog::Rejected) emit rejected();
  emit finished(result);
}

void ModalDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isVisible() && isModal() && isMinimized()) {
    QTimer::singleShot(0, this, &ModalDialog::bringBack);
  }
}

void ModalDialog::bringBack() {
  if (!isVisible() || !isMinimized()) return;
  if (QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
      owner != nullptr && owner->isMinimized()) {
    owner->setWindowState(owner->windowState() & ~Qt::WindowMinimized);
    owner->show();
  }
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

QTimer* makeFlashTimer(QObject* owner) {
  auto* timer = new QTimer(owner);
  timer->setSingleShot(true);
  timer->setInterval(FlashMs);
  return timer;
}

Qt::WindowFlags inputDialogFlags() {
  return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;
}

QPushButton* stripButton(QWidget* strip, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromLatin1(caption), strip);
  button->setObjectName(QLatin1String(name));
  button->setFocusPolicy(Qt::ClickFocus);
  button->setAutoDefault(false);
  button->resize(StripButtonWidth, StripButtonHeight);
  return button;
}

QLabel* makeFieldLabel(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

}  // namespace navorix
