#include "window/dialogs/help_window.h"

#include "window/look/pictures.h"
#include "window/look/qt_placement.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QUrl>

#include <algorithm>

namespace navorix {

namespace {

constexpr int HelpWidth = 640;
constexpr int HelpHeight = 560;
// Room on the screen for the window manager's frame and the margins.
constexpr int FrameRoom = 48;

}  // namespace

HelpWindow::HelpWindow(const QString& helpFile, QWidget* parent) : QTextBrowser(parent), file_(helpFile) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowFlags(Qt::Window);
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(QStringLiteral("Navorix Help"));
  setWindowIcon(appIcon());
  setOpenExternalLinks(true);
  resize(HelpWidth, HelpHeight);
  // Esc, Ctrl+W and the platform's other keys that close a document.
  QList<QKeySequence> closing = QKeySequence::keyBindings(QKeySequence::Close);
  for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
    if (!closing.contains(keys)) closing << keys;
  }
  for (const QKeySequence& keys : closing) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
  }
}

bool HelpWindow::showTopic(const QString& topic) {
  if (!loaded_) {
    QFile file(file_);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QString html = QString::fromUtf8(file.readAll());
    // Links between topics stay inside the document.
    document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(file_).absoluteFilePath()));
    setHtml(html);
    loaded_ = true;
  }
  if (!placed_) {
    // A screen smaller than the window gets a window as tall as its free
    // area, below panels and docks.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
      const QRect free = screen->availableGeometry();
      resize(std::min(HelpWidth, free.width() - FrameRoom), std::min(HelpHeight, free.height() - FrameRoom));
    }
    centreOnScreen(*this);
    placed_ = true;
  }
  show();
  raise();
  activateWindow();
  scrollToAnchor(topic);
  return true;
}

}  // namespace navorix
