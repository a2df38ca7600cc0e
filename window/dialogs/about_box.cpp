#include "window/dialogs/about_box.h"

#include "window/look/fonts.h"
#include "window/look/pictures.h"
#include "window/look/qt_placement.h"
#include "window/look/window_frame.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace navorix {

namespace {

constexpr int BoxWidth = 320;
constexpr int BoxHeight = 150;
constexpr int RoseSize = 96;
constexpr int RoseLeft = 22;
constexpr int TextLeft = 136;

}  // namespace

AboutBox::AboutBox(const QString& version, QWidget* parent)
    : ModalDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("AboutBox"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setTitleBar(*this, TitleBar::None);
  setFixedSize(BoxWidth, BoxHeight);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(250, 246, 232));
  pal.setColor(QPalette::WindowText, QColor(24, 44, 96));
  setPalette(pal);
  setAutoFillBackground(true);

  auto* frame = new QFrame(this);
  frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
  frame->setLineWidth(2);
  frame->setGeometry(0, 0, BoxWidth, BoxHeight);

  auto* rose = new QLabel(this);
  rose->setObjectName(QStringLiteral("compassRose"));
  rose->setPixmap(compassRose(RoseSize));
  rose->setGeometry(RoseLeft, (BoxHeight - RoseSize) / 2, RoseSize, RoseSize);

  title_ = new QLabel(QStringLiteral("Navorix"), this);
  title_->setObjectName(QStringLiteral("titleLabel"));
  QFont titleFont = propFont(22);
  titleFont.setBold(true);
  title_->setFont(titleFont);
  title_->setGeometry(TextLeft, 28, BoxWidth - TextLeft - 10, 40);

  version_ = new QLabel(QStringLiteral("Version ") + version, this);
  version_->setObjectName(QStringLiteral("versionLabel"));
  version_->setFont(propFont(11));
  version_->setGeometry(TextLeft, 72, BoxWidth - TextLeft - 10, 22);

  auto* purpose = new QLabel(QStringLiteral("Navigation on the sphere\nand on the Earth ellipsoid"), this);
  purpose->setFont(propFont(8));
  purpose->setGeometry(TextLeft, 98, BoxWidth - TextLeft - 10, 34);

  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &AboutBox::finish);
}

void AboutBox::showSplash() {
  setModal(false);
  // The splash must not take the keyboard from the main window: the first
  // keys a user types at start are the window's.
  setAttribute(Qt::WA_ShowWithoutActivating, true);
  centreOnActiveForm(*this);
  show();
  raise();
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void AboutBox::closeAfter(int ms) { timer_->start(ms); }

void AboutBox::showModal() {
  timer_->stop();
  setAttribute(Qt::WA_ShowWithoutActivating, false);
  centreOnActiveForm(*this);
  exec();
}

void AboutBox::finish() {
  timer_->stop();
  if (isModal() && isVisible()) {
    accept();
  } else {
    hide();
  }
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
  event->accept();
  finish();
}

void AboutBox::mousePressEvent(QMouseEvent* event) {
  QDialog::mousePressEvent(event);
  finish();
}

}  // namespace navorix
