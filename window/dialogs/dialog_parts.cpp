#include "window/dialogs/dialog_parts.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace navorix {

TModalDialog::TModalDialog(QWidget* Parent, Qt::WindowFlags Flags) : QDialog(Parent, Flags) {}

void TModalDialog::done(int Result) {
  setResult(Result);
  hide();
  // The keyboard goes back to the window the user works in. A window
  // manager does that by itself; without one the focus would stay nowhere.
  QWidget* next = QApplication::activeModalWidget();
  if (next == nullptr && parentWidget() != nullptr) next = parentWidget()->window();
  if (next != nullptr && next->isVisible()) next->activateWindow();
  if (Result == QDialog::Accepted) emit accepted();
  if (Result == QDialog::Rejected) emit rejected();
  emit finished(Result);
}

void TModalDialog::changeEvent(QEvent* Event) {
  QDialog::changeEvent(Event);
  if (Event->type() == QEvent::WindowStateChange && isVisible() && isModal() && isMinimized()) {
    QTimer::singleShot(0, this, &TModalDialog::BringBack);
  }
}

void TModalDialog::BringBack() {
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

QTimer* MakeFlashTimer(QObject* Owner) {
  auto* timer = new QTimer(Owner);
  timer->setSingleShot(true);
  timer->setInterval(FlashMs);
  return timer;
}

Qt::WindowFlags InputDialogFlags() {
  return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;
}

QPushButton* StripButton(QWidget* Strip, const char* Name, const char* Caption) {
  auto* button = new QPushButton(QString::fromLatin1(Caption), Strip);
  button->setObjectName(QLatin1String(Name));
  button->setFocusPolicy(Qt::ClickFocus);
  button->setAutoDefault(false);
  button->resize(StripButtonWidth, StripButtonHeight);
  return button;
}

QLabel* MakeFieldLabel(QWidget* Parent, const char* Name) {
  auto* label = new QLabel(Parent);
  label->setObjectName(QLatin1String(Name));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

}  // namespace navorix
