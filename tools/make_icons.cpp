// Writes the application icon, drawn by the window library, as PNG files
// navorix-SIZE.png into a directory.
// Usage: QT_QPA_PLATFORM=offscreen navorix-icons DIRECTORY
#include "window/look/pictures.h"

#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: navorix-icons DIRECTORY\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  for (const int size : navorix::AppIconSizes) {
    const QString file = dir + QStringLiteral("/navorix-%1.png").arg(size);
    if (!navorix::compassRose(size).save(file, "PNG")) {
      std::fprintf(stderr, "navorix-icons: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
