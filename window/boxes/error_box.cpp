#include "window/boxes/error_box.h"

#include "window/look/fonts.h"
#include "window/look/pictures.h"
#include "window/look/qt_placement.h"
#include "window/look/qt_text.h"
#include "window/sound/sound_table.h"
#include "window/look/window_frame.h"

#include <QStringList>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include <algorithm>

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

void TErrBox::Prepare(const std::string& Text) { Prepare(std::vector<std::string>{Text}); }

void TErrBox::Prepare(const std::vector<std::string>& Lines) {
  const QFontMetrics fm(font());
  QStringList shown;
  int width = 0;
  for (const std::string& line : Lines) {
    shown << ToQString(ErrBoxText(line));
    width = std::max(width, fm.horizontalAdvance(shown.back()));
  }
  const QString text = shown.join(QLatin1Char('\n'));
  txt_->setText(text);
  // One line keeps the box's own height; further lines make it taller by
  // what they take as the label draws them.
  const int more =
      Lines.size() < 2 ? 0 : fm.boundingRect(QRect(), Qt::AlignCenter, text).height() - fm.height();
  txt_->setGeometry(TextLeft, TextTop, width, fm.height() + more);
  setFixedSize(TextLeft + width + RightMargin, Height + more);
  panel_->setGeometry(PanelInset, PanelInset, this->width() - 2 * PanelInset,
                      height() - 2 * PanelInset);
}

void TErrBox::Show_Text(const std::string& Text) { Show_Lines({Text}); }

void TErrBox::Show_Lines(const std::vector<std::string>& Lines) {
  Prepare(Lines);
  CentreOnActiveForm(*this);
  exec();
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
