// The cost of importing and exporting a full fix database (65535 fixes) as
// GPX, CSV and GeoJSON, against loading the same fixes from a fix file.
//
// Each round runs every task once, in the same order, so that a slow
// moment of the machine falls on all of them; the figures are the median
// CPU time over the rounds with the spread (lowest to highest), and each
// ratio is taken within a round and then its median reported.
// Usage: exchange_bench [ROUNDS]
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "stores/fix_db.h"
#include "stores/fix_exchange.h"
#include "stores/load_report.h"
#include "text/fix_names.h"

namespace {

using namespace navorix;

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void FillFixes(FixDatabase& fixes, const EarthModel& earth) {
  std::mt19937_64 random(19);
  std::uniform_real_distribution<long double> z(-1.0L, 1.0L);
  std::uniform_real_distribution<long double> turn(-3.14159265358979323846L, 3.14159265358979323846L);
  for (std::uint32_t i = 0; i < MaxFixes; ++i) {
    FixRecord fix;
    fix.valid = true;
    fix.position = PosFromLatLon(earth, std::asin(z(random)), turn(random));
    std::string name = (i % 3 == 0 ? "WAYPOINT/" : "FIX-") + std::to_string(i);
    FitFixName(name);
    fix.name = name;
    fixes.Add(fix);
  }
}

struct Task {
  const char* title;
  std::function<void()> run;
  std::vector<double> seconds;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
  const auto dir = std::filesystem::temp_directory_path() / ("exchange-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const EarthModel earth;
  FixDatabase fixes;
  FillFixes(fixes, earth);
  const DisplayOptions options;  // the fix file in the default Lat/Lon format
  const std::string fixFile = (dir / "all.fix").string();
  fixes.SaveToFile(fixFile, options, earth);
  const char* extensions[] = {"gpx", "csv", "geojson"};
  const ExchangeFormat formats[] = {ExchangeFormat::Gpx, ExchangeFormat::Csv, ExchangeFormat::GeoJson};
  std::string files[3];
  for (int f = 0; f < 3; ++f) {
    files[f] = (dir / (std::string("all.") + extensions[f])).string();
    ExportFixFile(files[f], fixes, formats[f], earth);
  }

  ImportSettings settings;
  settings.earth = earth;
  bool complete = true;
  std::vector<Task> tasks;
  tasks.push_back({"load fix file",
                   [&] {
                     FixDatabase loaded;
                     LoadReport report;
                     loaded.LoadFromFile(fixFile, settings.plusDir, earth, report);
                     complete = complete && loaded.Count() == MaxFixes;
                   },
                   {}});
  for (int f = 0; f < 3; ++f) {
    tasks.push_back({nullptr,
                     [&, f] {
                       const FixDatabase empty;
                       const ImportResult result = ImportFixFile(files[f], settings, empty);
                       complete = complete && result.Complete() && result.fixes.size() == MaxFixes;
                     },
                     {}});
  }
  for (int f = 0; f < 3; ++f) {
    tasks.push_back({nullptr,
                     [&, f] {
                       ExportFixFile((dir / (std::string("out.") + extensions[f])).string(), fixes,
                                     formats[f], earth);
                     },
                     {}});
  }
  std::string titles[6];
  for (std::size_t f = 0; f < 3; ++f) {
    titles[f] = std::string("import ") + ExchangeFormatName(formats[f]);
    titles[f + 3] = std::string("export ") + ExchangeFormatName(formats[f]);
    tasks[1 + f].title = titles[f].c_str();
    tasks[4 + f].title = titles[f + 3].c_str();
  }

  for (int round = 0; round < rounds; ++round) {
    for (Task& task : tasks) {
      const double start = CpuSeconds();
      task.run();
      task.seconds.push_back(CpuSeconds() - start);
    }
  }
  std::printf("%u fixes; GPX file %ju bytes; %d interleaved rounds; CPU time\n", MaxFixes,
              static_cast<std::uintmax_t>(std::filesystem::file_size(files[0])), rounds);
  std::printf("%-16s %10s %10s %10s %14s\n", "task", "median s", "lowest s", "highest s", "x fix file");
  for (const Task& task : tasks) {
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
      ratios.push_back(task.seconds[static_cast<std::size_t>(round)] /
                       tasks[0].seconds[static_cast<std::size_t>(round)]);
    }
    std::printf("%-16s %10.4f %10.4f %10.4f %14.2f\n", task.title, Median(task.seconds),
                *std::min_element(task.seconds.begin(), task.seconds.end()),
                *std::max_element(task.seconds.begin(), task.seconds.end()), Median(ratios));
  }
  std::filesystem::remove_all(dir);
  if (!complete) {
    std::fprintf(stderr, "an import or load did not take every fix\n");
    return 1;
  }
  return 0;
}
