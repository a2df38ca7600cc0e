#include "window/boxes/alert_box.h"

#include "window/look/fonts.h"
#include "window/look/qt_placement.h"
#include "window/look/qt_text.h"
#include "window/look/window_frame.h"
#include "window/sound/sound_table.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace navorix {

namespace {

// The caption: two blanks, the application's title, one blank.
const char* const AlertCaption = "  Navorix ";

QPushButton* answerButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(true);
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
}

}  // namespace

AlertBox::AlertBox(QWidget* parent)
    : ModalDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), font_(propFont()) {
  setObjectName(QStringLiteral("AlertBox"));
  setModal(true);
  setTitleBar(*this, TitleBar::Caption);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("messageLine%1").arg(i + 1));
    label->setTextFormat(Qt::PlainText);
    label->setMargin(0);
    label->setIndent(0);
    label->hide();
    lines_[i] = label;
  }
  yes_ = answerButton(this, "yesButton", "&Yes");
  no_ = answerButton(this, "noButton", "&No");
  cancel_ = answerButton(this, "cancelButton", "&Cancel");
  yes_->setDefault(true);
  connect(yes_, &QPushButton::clicked, this, [this] { answer(Answer::Yes); });
  connect(no_, &QPushButton::clicked, this, [this] { answer(Answer::No); });
  connect(cancel_, &QPushButton::clicked, this, [this] { answer(Answer::Cancel); });
  setTabOrder(yes_, no_);
  setTabOrder(no_, cancel_);
}

void AlertBox::setPropFontSize(int pointSize) {
  if (isFontSize(pointSize)) font_ = propFont(pointSize);
}

void AlertBox::setSound(SoundTable* sounds, int number) {
  sounds_ = sounds;
  sound_ = number;
}

void AlertBox::prepare(const std::string& message, int buttonSet) {
  buttons_ = buttonSet < 1 ? 1 : (buttonSet > 3 ? 3 : buttonSet);
  setFont(font_);
  const QFontMetrics fm(font_);
  const std::vector<std::string> texts = alertLines(message);
  std::vector<int> widths;
  for (const std::string& text : texts) widths.push_back(fm.horizontalAdvance(toQString(text)));
  const AlertLayout layout =
      layoutAlert(widths, fm.height(), buttons_, ButtonWidth, ButtonHeight, FrameWidth);

  for (std::size_t i = 0; i < lines_.size(); ++i) {
    QLabel* label = lines_[i];
    if (static_cast<int>(i) < layout.lineCount) {
      label->setText(toQString(texts[i]));
      label->setGeometry(AlertTextLeft, layout.lineTop[i], widths[i], fm.height());
      label->show();
    } else {
      label->hide();
    }
  }
  const std::array<QPushButton*, 3> buttons = {yes_, no_, cancel_};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons[i]->setGeometry(layout.buttonLeft[i], layout.buttonTop, ButtonWidth, ButtonHeight);
    buttons[i]->setVisible(static_cast<int>(i) < buttons_);
  }
  setFixedSize(layout.clientWidth, layout.clientHeight);
  setWindowTitle(QString::fromLatin1(AlertCaption));
  yes_->setDefault(true);
  yes_->setFocus();
}

Answer AlertBox::ask(const std::string& message, int buttons) {
  prepare(message, buttons);
  centreOnActiveForm(*this);
  // Results are the answer + 1: a box closed any other way (0) counts as Esc.
  const int result = exec();
  if (result < 1 || result > 3) return buttons_ > 2 ? Answer::Cancel : Answer::No;
  return static_cast<Answer>(result - 1);
}

void AlertBox::answer(Answer A) { done(static_cast<int>(A) + 1); }

void AlertBox::reject() { answer(buttons_ > 2 ? Answer::Cancel : Answer::No); }

void AlertBox::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
  if (plain && event->key() == Qt::Key_Y) {
    answer(Answer::Yes);
  } else if (plain && event->key() == Qt::Key_N && buttons_ > 1) {
    answer(Answer::No);
  } else if (plain && event->key() == Qt::Key_C && buttons_ > 2) {
    answer(Answer::Cancel);
  } else {
    QDialog::keyPressEvent(event);
  }
}

void AlertBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  yes_->setFocus();
  if (sounds_ != nullptr) {
    QTimer::singleShot(0, this, [this] { sounds_->playSound(sound_, false); });
  }
}

}  // namespace navorix
