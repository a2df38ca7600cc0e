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

TAboutBox::TAboutBox(const QString& Version, QWidget* Parent)
    : TModalDialog(Parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("TAboutBox"));
  setAttribute(Qt::WA_QuitOnClose, false);
  SetTitleBar(*this, TTitleBar::None);
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
  rose->setObjectName(QStringLiteral("xRose"));
  rose->setPixmap(CompassRose(RoseSize));
  rose->setGeometry(RoseLeft, (BoxHeight - RoseSize) / 2, RoseSize, RoseSize);

  title_ = new QLabel(QStringLiteral("Navorix"), this);
  title_->setObjectName(QStringLiteral("xTitle"));
  QFont title_font = PropFont(22);
  title_font.setBold(true);
  title_->setFont(title_font);
  title_->setGeometry(TextLeft, 28, BoxWidth - TextLeft - 10, 40);

  version_ = new QLabel(QStringLiteral("Version ") + Version, this);
  version_->setObjectName(QStringLiteral("xVersion"));
  version_->setFont(PropFont(11));
  version_->setGeometry(TextLeft, 72, BoxWidth - TextLeft - 10, 22);

  auto* purpose = new QLabel(QStringLiteral("Navigation on the sphere\nand on the Earth ellipsoid"), this);
  purpose->setFont(PropFont(8));
  purpose->setGeometry(TextLeft, 98, BoxWidth - TextLeft - 10, 34);

  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &TAboutBox::Finish);
}

void TAboutBox::ShowSplash() {
  setModal(false);
  // The splash must not take the keyboard from the main window: the first
  // keys a user types at start are the window's.
  setAttribute(Qt::WA_ShowWithoutActivating, true);
  CentreOnActiveForm(*this);
  show();
  raise();
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TAboutBox::CloseAfter(int Ms) { timer_->start(Ms); }

void TAboutBox::ShowModal() {
  timer_->stop();
  setAttribute(Qt::WA_ShowWithoutActivating, false);
  CentreOnActiveForm(*this);
  exec();
}

void TAboutBox::Finish() {
  timer_->stop();
  if (isModal() && isVisible()) {
    accept();
  } else {
    hide();
  }
}

void TAboutBox::keyPressEvent(QKeyEvent* Event) {
  Event->accept();
  Finish();
}

void TAboutBox::mousePressEvent(QMouseEvent* Event) {
  QDialog::mousePressEvent(Event);
  Finish();
}

}  // namespace navorix
