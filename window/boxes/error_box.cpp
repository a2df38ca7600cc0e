#include "window/boxes/error_box.h"

#include "window/look/fonts.h"
#include "window/look/pictures.h"
#include "window/look/qt_placement.h"
#include "window/look/qt_text.h"
#include "window/look/window_frame.h"
#include "window/sound/sound_table.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QStringList>
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

std::string errBoxText(std::string_view text) {
  if (text.find(AccessViolation) != std::string_view::npos) return AccessViolationPlea;
  return std::string(text.substr(0, ErrTextMaxChars));
}

ErrorBox::ErrorBox(QWidget* parent)
    : ModalDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("ErrorBox"));
  setModal(true);
  setTitleBar(*this, TitleBar::None);
  setFocusPolicy(Qt::StrongFocus);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  pal.setColor(QPalette::WindowText, Qt::red);
  setPalette(pal);
  setAutoFillBackground(true);

  panel_ = new QFrame(this);
  panel_->setObjectName(QStringLiteral("messagePanel"));
  panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel_->setLineWidth(1);

  icon_ = new QLabel(this);
  icon_->setObjectName(QStringLiteral("Img"));
  icon_->setPixmap(errorIcon());
  icon_->setGeometry(IconLeft, (Height - IconSize) / 2, IconSize, IconSize);

  txt_ = new QLabel(this);
  txt_->setObjectName(QStringLiteral("Txt"));
  txt_->setTextFormat(Qt::PlainText);
  txt_->setAlignment(Qt::AlignCenter);
  txt_->setWordWrap(false);
  txt_->setMargin(0);
  txt_->setIndent(0);
  // Until start-up names the box's own font: the fixed-pitch font.
  setFontFamily(QString::fromLatin1(FixedFontFamily));
}

void ErrorBox::setFontFamily(const QString& family) {
  QFont font(family);
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(ErrFontPointSize);
  font.setBold(false);
  font.setItalic(false);
  setFont(font);
}

void ErrorBox::setSound(SoundTable* sounds, int number) {
  sounds_ = sounds;
  sound_ = number;
}

void ErrorBox::prepare(const std::string& text) { prepare(std::vector<std::string>{text}); }

void ErrorBox::prepare(const std::vector<std::string>& lines) {
  const QFontMetrics fm(font());
  QStringList shown;
  int width = 0;
  for (const std::string& line : lines) {
    shown << toQString(errBoxText(line));
    width = std::max(width, fm.horizontalAdvance(shown.back()));
  }
  const QString text = shown.join(QLatin1Char('\n'));
  txt_->setText(text);
  // One line keeps the box's own height; further lines make it taller by
  // what they take as the label draws them.
  const int more =
      lines.size() < 2 ? 0 : fm.boundingRect(QRect(), Qt::AlignCenter, text).height() - fm.height();
  txt_->setGeometry(TextLeft, TextTop, width, fm.height() + more);
  setFixedSize(TextLeft + width + RightMargin, Height + more);
  panel_->setGeometry(PanelInset, PanelInset, this->width() - 2 * PanelInset, height() - 2 * PanelInset);
}

void ErrorBox::showText(const std::string& text) { showLines({text}); }

void ErrorBox::showLines(const std::vector<std::string>& lines) {
  prepare(lines);
  centreOnActiveForm(*this);
  exec();
}

void ErrorBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  setFocus();
  if (sounds_ != nullptr) {
    // The box plays its sound to the end; a key pressed meanwhile still
    // closes it.
    QTimer::singleShot(0, this, [this] {
      if (isVisible()) sounds_->playSound(sound_, true);
    });
  }
}

void ErrorBox::keyPressEvent(QKeyEvent* event) {
  event->accept();
  accept();
}

void ErrorBox::mousePressEvent(QMouseEvent* event) {
  QDialog::mousePressEvent(event);
  accept();
}

}  // namespace navorix
