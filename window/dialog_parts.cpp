#include "window/dialog_parts.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace navorix {

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
