// The Navorix window program. It takes no arguments, but for
// "--chart FILE [--size WxH]", which draws the saved session's chart into a
// picture file on Qt's offscreen platform and ends.
#include "app/chart_command.h"
#include "app/display_check.h"
#include "stores/app_data.h"
#include "window/chart/chart_painter.h"
#include "window/chart/chart_window.h"
#include "window/main/main_controller.h"
#include "window/look/navorix_style.h"
#include "window/look/pictures.h"
#include "window/look/qt_text.h"
#include "workbench/workbench.h"

#include <QApplication>

#include <cstdio>
#include <optional>
#include <vector>

namespace {

// The errors of loading the status go to the standard error.
struct TStderrMessages : navorix::TMessageObserver {
  void ShowError(const std::string& Message) override { std::fprintf(stderr, "%s\n", Message.c_str()); }
};

int DrawChart(const navorix::TChartCommand& Command, const navorix::TAppData& Paths) {
  using namespace navorix;
  TWorkbench bench(Paths);
  TStderrMessages messages;
  TObservers observers;
  observers.Messages = &messages;
  bench.Attach(observers);
  bench.LoadStatus();
  TChartScene scene(LoadChartLand(ToQString(Paths.ShareDir)));
  const ProjectionKind kind = bench.Settings().Chart.Projection == TChartProjection::Mercator
                                  ? ProjectionKind::Mercator
                                  : ProjectionKind::Globe;
  scene.Build(StartingChartView(bench, kind), Command.Width, Command.Height, bench.Fixes(), bench.CurrentRow(),
              bench.ShownFigure(), bench.Settings().Earth, ChartLabelMetrics());
  if (!SaveChartPicture(QString::fromStdString(Command.File), scene)) {
    std::fprintf(stderr, "Cannot write %s\n", Command.File.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace navorix;
  std::optional<TChartCommand> chart;
  try {
    chart = ParseChartCommand(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 2;
  }
  if (chart) {
    bool changed = false;
    const TAppData chart_paths = StartUp(changed);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return DrawChart(*chart, chart_paths);
  }
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
