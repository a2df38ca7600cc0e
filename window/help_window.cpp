#include "window/help_window.h"

#include "window/pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QUrl>

namespace navorix {

namespace {

constexpr int HelpWidth = 640;
constexpr int HelpHeight = 560;

}  // namespace

THelpWindow::THelpWindow(const QString& HelpFile, QWidget* Parent) : QTextBrowser(Parent), file_(HelpFile) {
  setObjectName(QStringLiteral("THelpWindow"));
  setWindowFlags(Qt::Window);
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(QStringLiteral("Navorix Help"));
  setWindowIcon(AppIcon());
  setOpenExternalLinks(true);
  resize(HelpWidth, HelpHeight);
}

bool THelpWindow::ShowTopic(const QString& Topic) {
  if (!loaded_) {
    QFile file(file_);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QString html = QString::fromUtf8(file.readAll());
    // Links between topics stay inside the document.
    document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(file_).absoluteFilePath()));
    setHtml(html);
    loaded_ = true;
  }
  show();
  raise();
  activateWindow();
  scrollToAnchor(Topic);
  return true;
}

}  // namespace navorix
