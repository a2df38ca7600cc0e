// Costs of the stores at their capacity: a full fix database (65535 fixes)
// loaded from its file, sorted in each order, shown row by row and saved;
// and a full history file (999 records) loaded.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "geometry/earth_model.h"
#include "stores/fix_db.h"
#include "stores/log_list.h"
#include "text/format.h"

namespace navorix {
namespace {

// The settings before a settings file is read.
const DisplayOptions Options;
const EarthModel Earth;

// The scratch files, made once for the whole run and removed at its end.
class BenchFiles {
 public:
  BenchFiles() {
    std::string pattern = (std::filesystem::temp_directory_path() / "navorix_bench_XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : ".";
    std::mt19937 random(2026);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    FixDatabase db;
    for (std::uint32_t i = 0; i < MaxFixes; ++i) {
      FixRecord fix;
      const long double lat = static_cast<long double>(unit(random)) * 89.0L * DegToRad;
      const long double lon = static_cast<long double>(unit(random)) * 180.0L * DegToRad;
      fix.position = PosFromLatLon(Earth, lat, lon);
      std::string name = "F" + std::to_string(random() % 1000000);
      if (i % 3 == 0) name += "/S" + std::to_string(i % 97);
      fix.name = name;
      fix.valid = true;
      db.Add(fix);
      records.push_back(fix);
    }
    db.SaveToFile(FixFile(), Options, Earth);
    LogList log;
    for (int i = 0; i < MaxLogRecords; ++i) {
      log.Add("Distance from Fix to Fix F" + std::to_string(i), "from NOVOSIBIRSK/RUS to MIDPOINT/NEW",
              "  (E) 1234.5678  (G) 1234.5679  (S) 1233.0001 km");
    }
    log.SaveToFile(HistoryFile());
  }
  ~BenchFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string FixFile() const { return dir_ + "/bench.fix"; }
  std::string SavedFile() const { return dir_ + "/saved.fix"; }
  std::string HistoryFile() const { return dir_ + "/navorix.his"; }

  std::vector<FixRecord> records;  // the fixes in file order

 private:
  std::string dir_;
};

const BenchFiles& Files() {
  static const BenchFiles files;
  return files;
}

void LoadFixFile(benchmark::State& state) {
  const std::string name = Files().FixFile();
  for (auto _ : state) {
    FixDatabase db;
    db.LoadFromFile(name, Options.plusDir, Earth);
    benchmark::DoNotOptimize(db.Count());
  }
}

void SortFixes(benchmark::State& state) {
  const auto order = static_cast<SortOrder>(state.range(0));
  const Vector3 reference = Files().records[100].position;
  FixDatabase db;
  for (auto _ : state) {
    state.PauseTiming();
    db.Clear();
    for (const FixRecord& fix : Files().records) db.Add(fix);
    state.ResumeTiming();
    db.Sort(order, reference);
  }
}

// Every row's text, as a list that drew all its rows would ask for them.
void FormatRows(benchmark::State& state) {
  FixDatabase db;
  for (const FixRecord& fix : Files().records) db.Add(fix);
  for (auto _ : state) {
    std::size_t length = 0;
    for (std::uint32_t pos = 1; pos <= db.Count(); ++pos) {
      length += FixText(Options, Earth, db.Get(static_cast<std::uint16_t>(pos))).size();
    }
    benchmark::DoNotOptimize(length);
  }
}

// Each save replaces a file of other contents: a save of the very text the
// file holds changes nothing and only compares.
void SaveFixFile(benchmark::State& state) {
  FixDatabase db;
  db.LoadFromFile(Files().FixFile(), Options.plusDir, Earth);
  for (auto _ : state) {
    state.PauseTiming();
    std::ofstream(Files().SavedFile(), std::ios::binary | std::ios::trunc) << "other\r\n";
    state.ResumeTiming();
    db.SaveToFile(Files().SavedFile(), Options, Earth);
  }
}

void LoadHistory(benchmark::State& state) {
  for (auto _ : state) {
    LogList log;
    log.LoadFromFile(Files().HistoryFile());
    benchmark::DoNotOptimize(log.Count());
  }
}

// Heap held by a full database, its name index included.
void FullDatabaseMemory(benchmark::State& state) {
  for (auto _ : state) {
    const std::size_t before = ::mallinfo2().uordblks;
    auto db = std::make_unique<FixDatabase>();
    db->LoadFromFile(Files().FixFile(), Options.plusDir, Earth);
    benchmark::DoNotOptimize(db->FindName("F1"));
    const std::size_t after = ::mallinfo2().uordblks;
    state.counters["heap_MB"] = static_cast<double>(after - before) / (1024.0 * 1024.0);
  }
}

void Medians(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(LoadFixFile)->Apply(Medians);
BENCHMARK(SortFixes)->DenseRange(0, 2)->Apply(Medians);
BENCHMARK(FormatRows)->Apply(Medians);
BENCHMARK(SaveFixFile)->Apply(Medians);
BENCHMARK(LoadHistory)->Apply(Medians);
BENCHMARK(FullDatabaseMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace navorix

BENCHMARK_MAIN();
