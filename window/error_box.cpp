#include "window/error_box.h"

#include "window/fonts.h"
#include "window/pictures.h"
#include "window/qt_placement.h"
#include "window/qt_text.h"
#include "window/sound_table.h"
#include "window/window_frame.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace navorix {

namespace {

constexpr std::string_view AccessViolation = "Access violation";
constexpr const char* AccessViolationPlea = "Impossible! Please send in a problem report.";
constexpr int ErrFontPointSize = 10;
constexpr int IconLeft = 14;
// The sunken panel lies 2 pixels inside the box's edge.
constexpr int PanelInset = 2;

}  // namespace

std::string ErrBoxText(std::string_view Text) {
  if (Text.find(AccessViolation) != std::string_view::npos) return AccessViolationPlea;
  return std::string(Text.substr(0, ErrTextMaxChars));
}

TErrBox::TErrBox(QWidget* Parent)
    : TModalDialog(Parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("TErrBox"));
  setModal(true);
  SetTitleBar(*this, TTitleBar::None);
  setFocusPolicy(Qt::StrongFocus);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  pal.setColor(QPalette::WindowText, Qt::red);
  setPalette(pal);
  setAutoFillBackground(true);

  panel_ = new QFrame(this);
  panel_->setObjectName(QStringLiteral("xPanel"));
  panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel_->setLineWidth(1);

  icon_ = new QLabel(this);
  icon_->setObjectName(QStringLiteral("Img"));
  icon_->setPixmap(ErrorIcon());
  icon_->setGeometry(IconLeft, (Height - IconSize) / 2, IconSize, IconSize);

  txt_ = new QLabel(this);
  txt_->setObjectName(QStringLiteral("Txt"));
  txt_->setTextFormat(Qt::PlainText);
  txt_->setAlignment(Qt::AlignCenter);
  txt_->setWordWrap(false);
  txt_->setMargin(0);
  txt_->setIndent(0);
  // Until start-up names the box's own font: the fixed-pitch font.
  Set_Font(QString::fromLatin1(FixedFontFamily));
}

void TErrBox::Set_Font(const QString& Family) {
  QFont font(Family);
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(ErrFontPointSize);
  font.setBold(false);
  font.setItalic(false);
  setFont(font);
}

void TErrBox::SetSound(TSoundTable* Sounds, int Number) {
  sounds_ = Sounds;
  sound_ = Number;
}

void TErrBox::Prepare(const std::string& Text) {
  const QString shown = ToQString(ErrBoxText(Text));
  const QFontMetrics fm(font());
  txt_->setText(shown);
  const int width = fm.horizontalAdvance(shown);
  txt_->setGeometry(TextLeft, TextTop, width, fm.height());
  setFixedSize(TextLeft + width + RightMargin, Height);
  panel_->setGeometry(PanelInset, PanelInset, this->width() - 2 * PanelInset, Height - 2 * PanelInset);
}

void TErrBox::Show_Text(const std::string& Text) {
  Prepare(Text);
  CentreOnActiveForm(*this);
  exec();
}

void TErrBox::Display(const std::exception& E) {
  while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
  if (dynamic_cast<const TSilentAbort*>(&E) != nullptr) return;
  Show_Text(E.what());
}

void TErrBox::showEvent(QShowEvent* Event) {
  QDialog::showEvent(Event);
  setFocus();
  if (sounds_ != nullptr) {
    // The box plays its sound to the end; a key pressed meanwhile still
    // closes it.
    QTimer::singleShot(0, this, [this] {
      if (isVisible()) sounds_->PlaySnd(sound_, true);
    });
  }
}

void TErrBox::keyPressEvent(QKeyEvent* Event) {
  Event->accept();
  accept();
}

void TErrBox::mousePressEvent(QMouseEvent* Event) {
  QDialog::mousePressEvent(Event);
  accept();
}

}  // namespace navorix
