#include "window/boxes/alert_box.h"

#include "window/look/fonts.h"
#include "window/look/qt_placement.h"
#include "window/look/qt_text.h"
#include "window/sound/sound_table.h"
#include "window/look/window_frame.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace navorix {

namespace {

// The caption: two blanks, the application's title, one blank.
const char* const AlertCaption = "  Navorix ";

QPushButton* AnswerButton(QWidget* Parent, const char* Name, const char* Caption) {
  auto* button = new QPushButton(QString::fromLatin1(Caption), Parent);
  button->setObjectName(QLatin1String(Name));
  button->setAutoDefault(true);
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
}

}  // namespace

TAlertBox::TAlertBox(QWidget* Parent)
    : TModalDialog(Parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      font_(PropFont()) {
  setObjectName(QStringLiteral("TAlertBox"));
  setModal(true);
  SetTitleBar(*this, TTitleBar::Caption);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("xText%1").arg(i + 1));
    label->setTextFormat(Qt::PlainText);
    label->setMargin(0);
    label->setIndent(0);
    label->hide();
    lines_[i] = label;
  }
  yes_ = AnswerButton(this, "xYes", "&Yes");
  no_ = AnswerButton(this, "xNo", "&No");
  cancel_ = AnswerButton(this, "xCancel", "&Cancel");
  yes_->setDefault(true);
  connect(yes_, &QPushButton::clicked, this, [this] { Answer(TAnswer::Yes); });
  connect(no_, &QPushButton::clicked, this, [this] { Answer(TAnswer::No); });
  connect(cancel_, &QPushButton::clicked, this, [this] { Answer(TAnswer::Cancel); });
  setTabOrder(yes_, no_);
  setTabOrder(no_, cancel_);
}

void TAlertBox::SetPropFontSize(int PointSize) {
  if (IsFontSize(PointSize)) font_ = PropFont(PointSize);
}

void TAlertBox::SetSound(TSoundTable* Sounds, int Number) {
  sounds_ = Sounds;
  sound_ = Number;
}

void TAlertBox::Prepare(const std::string& Message, int Buttons) {
  buttons_ = Buttons < 1 ? 1 : (Buttons > 3 ? 3 : Buttons);
  setFont(font_);
  const QFontMetrics fm(font_);
  const std::vector<std::string> texts = AlertLines(Message);
  std::vector<int> widths;
  for (const std::string& text : texts) widths.push_back(fm.horizontalAdvance(ToQString(text)));
  const TAlertLayout layout = LayoutAlert(widths, fm.height(), buttons_, ButtonWidth, ButtonHeight, FrameWidth);

  for (std::size_t i = 0; i < lines_.size(); ++i) {
    QLabel* label = lines_[i];
    if (static_cast<int>(i) < layout.LineCount) {
      label->setText(ToQString(texts[i]));
      label->setGeometry(AlertTextLeft, layout.LineTop[i], widths[i], fm.height());
      label->show();
    } else {
      label->hide();
    }
  }
  const std::array<QPushButton*, 3> buttons = {yes_, no_, cancel_};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons[i]->setGeometry(layout.ButtonLeft[i], layout.ButtonTop, ButtonWidth, ButtonHeight);
    buttons[i]->setVisible(static_cast<int>(i) < buttons_);
  }
  setFixedSize(layout.ClientWidth, layout.ClientHeight);
  setWindowTitle(QString::fromLatin1(AlertCaption));
  yes_->setDefault(true);
  yes_->setFocus();
}

TAnswer TAlertBox::Ask(const std::string& Message, int Buttons) {
  Prepare(Message, Buttons);
  CentreOnActiveForm(*this);
  // Results are the answer + 1: a box closed any other way (0) counts as Esc.
  const int result = exec();
  if (result < 1 || result > 3) return buttons_ > 2 ? TAnswer::Cancel : TAnswer::No;
  return static_cast<TAnswer>(result - 1);
}

void TAlertBox::Answer(TAnswer A) { done(static_cast<int>(A) + 1); }

void TAlertBox::reject() { Answer(buttons_ > 2 ? TAnswer::Cancel : TAnswer::No); }

void TAlertBox::keyPressEvent(QKeyEvent* Event) {
  const bool plain = (Event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
  if (plain && Event->key() == Qt::Key_Y) {
    Answer(TAnswer::Yes);
  } else if (plain && Event->key() == Qt::Key_N && buttons_ > 1) {
    Answer(TAnswer::No);
  } else if (plain && Event->key() == Qt::Key_C && buttons_ > 2) {
    Answer(TAnswer::Cancel);
  } else {
    QDialog::keyPressEvent(Event);
  }
}

void TAlertBox::showEvent(QShowEvent* Event) {
  QDialog::showEvent(Event);
  yes_->setFocus();
  if (sounds_ != nullptr) {
    QTimer::singleShot(0, this, [this] { sounds_->PlaySnd(sound_, false); });
  }
}

}  // namespace navorix
