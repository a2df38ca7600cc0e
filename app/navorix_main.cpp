// The Navorix window program. It takes no arguments, but for
// "--chart FILE [--size WxH]", which draws the saved session's chart into a
// picture file on Qt's offscreen platform and ends.
#include "app/chart_command.h"
#include "app/display_check.h"
#include "stores/app_data.h"
#include "window/chart/chart_painter.h"
#include "window/chart/chart_window.h"
#include "window/look/navorix_style.h"
#include "window/look/pictures.h"
#include "window/look/qt_text.h"
#include "window/main/main_controller.h"
#include "workbench/workbench.h"

#include <QApplication>

#include <cstdio>
#include <optional>
#include <vector>

namespace {

// The errors of loading the status go to the standard error.
struct StderrMessages : navorix::MessageObserver {
  void ShowError(const std::string& message) override { std::fprintf(stderr, "%s\n", message.c_str()); }
};

int drawChart(const navorix::ChartCommand& command, const navorix::AppData& paths) {
  using namespace navorix;
  Workbench bench(paths);
  StderrMessages messages;
  Observers observers;
  observers.messages = &messages;
  bench.Attach(observers);
  bench.LoadStatus();
  ChartScene scene(loadChartLand(toQString(paths.shareDir)));
  const ProjectionKind kind = bench.Settings().chart.projection == ChartProjection::Mercator
                                  ? ProjectionKind::Mercator
                                  : ProjectionKind::Globe;
  scene.Build(startingChartView(bench, kind), command.width, command.height, bench.Fixes(),
              bench.CurrentRow(), bench.ShownFigure(), bench.Settings().earth, chartLabelMetrics());
  if (!saveChartPicture(QString::fromStdString(command.file), scene)) {
    std::fprintf(stderr, "Cannot write %s\n", command.file.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace navorix;
  std::optional<ChartCommand> chart;
  try {
    chart = ParseChartCommand(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 2;
  }
  if (chart) {
    bool changed = false;
    const AppData chartPaths = StartUp(changed);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return drawChart(*chart, chartPaths);
  }
  const std::string noDisplay = missingDisplayReason();
  if (!noDisplay.empty()) {
    std::fprintf(stderr, "%s\n", noDisplay.c_str());
    return 1;
  }
  // The program directory becomes the current directory; where the
  // settings, the status files, the sounds and the help are is decided here.
  bool inProgramDir = false;
  const AppData paths = StartUp(inProgramDir);

  QApplication app(argc, argv);
  QApplication::setStyle(new NavorixStyle);
  QApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
  QApplication::setApplicationVersion(QString::fromLatin1(VersionText));
  QApplication::setWindowIcon(appIcon());

  Workbench bench(paths);
  MainController controller(bench, toQString(paths.shareDir), toQString(paths.helpFile));
  controller.start();
  return QApplication::exec();
}
