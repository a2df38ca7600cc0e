// The Navorix window program. It takes no arguments.
#include "app/display_check.h"
#include "stores/app_data.h"
#include "window/about_box.h"
#include "window/alert_box.h"
#include "window/error_box.h"
#include "window/fonts.h"
#include "window/main_window.h"
#include "window/navorix_style.h"
#include "window/pictures.h"
#include "window/sound_table.h"

#include <QApplication>

#include <cstdio>

namespace {

constexpr int SplashMs = 1000;

}  // namespace

int main(int argc, char** argv) {
  using namespace navorix;
  const std::string no_display = MissingDisplayReason();
  if (!no_display.empty()) {
    std::fprintf(stderr, "%s\n", no_display.c_str());
    return 1;
  }
  // The program directory becomes the current directory: the sounds are
  // found in its "wav" folder.
  bool in_program_dir = false;
  const TAppData app_data = StartUp(in_program_dir);

  QApplication app(argc, argv);
  QApplication::setStyle(new TNavorixStyle);
  QApplication::setApplicationName(QStringLiteral("navorix"));
  QApplication::setApplicationVersion(QString::fromLatin1(VersionText));
  QApplication::setWindowIcon(AppIcon());

  TSoundTable sounds;
  LoadStandardSounds(sounds, QString());
  TErrBox error_box;
  TAlertBox alert_box;
  error_box.Set_Font(QString::fromLatin1(ErrorFontFamily));

  TAboutBox about(QString::fromLatin1(VersionText));
  about.ShowSplash();

  TMainWindow window;
  error_box.SetSound(&sounds, SndError);
  alert_box.SetSound(&sounds, SndQuestion);
  window.show();
  about.CloseAfter(SplashMs);
  return QApplication::exec();
}
