// The window with a full fix database (65535 fixes) and a full log (999
// records), against the same window empty: the time from start to the
// first painted window, the time until the list is drawn again after each
// kind of change, and the memory the full stores add. Prints its figures;
// not a test.
//
//   window_bench            (QT_QPA_PLATFORM=offscreen works too)
#include <malloc.h>
#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QListView>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "window/main/main_controller.h"
#include "window/main/main_window.h"
#include "workbench/workbench.h"

namespace {

using namespace navorix;

// Counts the paintings of one widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// A portable folder: the status files in data/, with Fixes fixes and
// records log records.
std::string MakeFolder(int fixCount, int records) {
  std::string pattern = (std::filesystem::temp_directory_path() / "navorix_wbench_XXXXXX").string();
  const std::string dir = ::mkdtemp(pattern.data());
  std::filesystem::create_directory(dir + "/data");
  std::mt19937 random(2026);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::ofstream fixes(dir + "/data/navorix.fix", std::ios::binary);
  for (int i = 0; i < fixCount; ++i) {
    fixes << unit(random) * 89.0 << ' ' << unit(random) * 180.0 << " F" << random() % 1000000 << "\r\n";
  }
  std::ofstream history(dir + "/data/navorix.his", std::ios::binary);
  for (int i = 0; i < records; ++i) {
    history << "Distance from F" << i << " to F" << i + 1 << "\r\n\r\n(S) " << i << " km\r\n";
  }
  return dir;
}

AppData Paths(const std::string& dir) {
  AppData paths;
  paths.programDir = paths.settingsDir = dir + "/";
  paths.dataDir = dir + "/data/";
  return paths;
}

std::size_t HeapBytes() { return ::mallinfo2().uordblks; }

// The program's start in folder dir, in this process: ends as soon as the
// fix list has been painted once.
int StartAndPaint(const std::string& dir, int argc, char** argv) {
  QApplication app(argc, argv);
  Workbench bench(Paths(dir));
  MainController controller(bench, QString(), QString());
  PaintCounter paints(controller.window().controls().fixList->viewport());
  controller.start();
  QElapsedTimer clock;
  clock.start();
  while (paints.paints == 0 && clock.elapsed() < 30000) QApplication::processEvents();
  return paints.paints > 0 ? 0 : 1;
}

// Milliseconds from starting a new process to the first painting of its
// fix list, the median of runs starts: the whole start of the program,
// libraries and fonts included.
double StartUpMs(const char* self, const std::string& dir, int runs) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    QElapsedTimer clock;
    clock.start();
    const std::string command = std::string("'") + self + "' --start '" + dir + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return -1.0;
    times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Milliseconds until the list has been painted again after Change.
template <typename Change>
double RedrawMs(MainController& controller, Change&& action) {
  QListView* list = controller.window().controls().fixList;
  PaintCounter paints(list->viewport());
  QElapsedTimer clock;
  clock.start();
  action();
  list->viewport()->update();
  while (paints.paints == 0 && clock.elapsed() < 30000) QApplication::processEvents();
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--start") return StartAndPaint(argv[2], argc, argv);
  const std::string empty = MakeFolder(0, 0);
  const std::string full = MakeFolder(MaxFixes, MaxLogRecords);

  // One start first, so that every measured start finds the fonts and the
  // libraries in the cache.
  StartUpMs(argv[0], empty, 1);
  const double emptyMs = StartUpMs(argv[0], empty, 5);
  const double fullMs = StartUpMs(argv[0], full, 5);
  std::printf(
      "start-up to the first painted list: empty %.1f ms, 65535 fixes and 999 records "
      "%.1f ms, ratio %.2f\n",
      emptyMs, fullMs, fullMs / emptyMs);
  QApplication app(argc, argv);

  std::size_t emptyHeap = 0;
  {
    const std::size_t before = HeapBytes();
    Workbench bench(Paths(empty));
    MainController controller(bench, QString(), QString());
    controller.start();
    QTest::qWait(1200);  // the splash is gone
    emptyHeap = HeapBytes() - before;
  }
  {
    const std::size_t before = HeapBytes();
    Workbench bench(Paths(full));
    MainController controller(bench, QString(), QString());
    controller.start();
    QTest::qWait(1200);
    const std::size_t fullHeap = HeapBytes() - before;
    std::printf("heap of the running window: empty %.1f MB, full %.1f MB, %.1f MB more\n",
                static_cast<double>(emptyHeap) / 1048576.0, static_cast<double>(fullHeap) / 1048576.0,
                static_cast<double>(fullHeap - emptyHeap) / 1048576.0);
    bench.SelectRow(0);
    std::printf("redraw after a format change:   %.2f ms\n", RedrawMs(controller, [&] {
                  bench.SetDisplayOption(DisplayOption::LatLonFormat, Index(AngleFormat::DegMinSec));
                }));
    std::printf("redraw after sorting by name:   %.2f ms\n",
                RedrawMs(controller, [&] { bench.SortFixes(SortOrder::ByName); }));
    bench.SelectRow(0);
    std::printf("redraw after a delete at the top: %.2f ms\n",
                RedrawMs(controller, [&] { bench.DeleteFix(); }));
    std::printf("redraw after an undelete at the top: %.2f ms\n",
                RedrawMs(controller, [&] { bench.UndeleteFix(); }));
    double worst = 0.0;
    bool shown = false;
    for (const char c : std::string("F12345")) {
      const double ms = RedrawMs(
          controller, [&] { shown = controller.keyPress(QString(QChar(c)), Qt::NoModifier) || shown; });
      worst = std::max(worst, ms);
    }
    std::printf("redraw after each type-ahead key, worst of 6: %.2f ms\n", worst);
  }
  std::filesystem::remove_all(empty);
  std::filesystem::remove_all(full);
  return 0;
}
