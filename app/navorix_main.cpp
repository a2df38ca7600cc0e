// The Navorix window program. It takes no arguments.
#include "app/display_check.h"
#include "stores/app_data.h"
#include "window/main/main_controller.h"
#include "window/look/navorix_style.h"
#include "window/look/pictures.h"
#include "window/look/qt_text.h"
#include "workbench/workbench.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
  using namespace navorix;
  const std::string no_display = MissingDisplayReason();
  if (!no_display.empty()) {
    std::fprintf(stderr, "%s\n", no_display.c_str());
    return 1;
  }
  // The program directory becomes the current directory; where the
  // settings, the status files, the sounds and the help are is decided here.
  bool in_program_dir = false;
  const TAppData paths = StartUp(in_program_dir);

  QApplication app(argc, argv);
  QApplication::setStyle(new TNavorixStyle);
  QApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
  QApplication::setApplicationVersion(QString::fromLatin1(VersionText));
  QApplication::setWindowIcon(AppIcon());

  TWorkbench bench(paths);
  TMainController controller(bench, ToQString(paths.ShareDir), ToQString(paths.HelpFile));
  controller.Start();
  return QApplication::exec();
}
