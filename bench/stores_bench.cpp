// Costs of the stores at their capacity: a full fix database (65535 fixes)
// loaded from its file, sorted in each order, shown row by row and saved;
// and a full history file (999 records) loaded.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "geometry/earth_model.h"
#include "stores/fix_db.h"
#include "stores/fix_list_view.h"
#include "stores/log_list.h"
#include "stores/win_fix_db.h"

namespace navorix {
namespace {

// The scratch files, made once for the whole run and removed at its end.
class TBenchFiles {
 public:
  TBenchFiles() {
    std::string pattern = (std::filesystem::temp_directory_path() / "navorix_bench_XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : ".";
    std::mt19937 random(2026);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    TFixDB db;
    for (std::uint32_t i = 0; i < MaxFixes; ++i) {
      FixRecord fix;
      const long double lat = static_cast<long double>(unit(random)) * 89.0L * DegToRad;
      const long double lon = static_cast<long double>(unit(random)) * 180.0L * DegToRad;
      fix.Position = PosFromLatLon(lat, lon);
      std::string name = "F" + std::to_string(random() % 1000000);
      if (i % 3 == 0) name += "/S" + std::to_string(i % 97);
      fix.Name = name;
      fix.Valid = true;
      db.Add(fix);
      records.push_back(fix);
    }
    db.SaveToFile(FixFile());
    TLogList log;
    for (int i = 0; i < MaxLogRecords; ++i) {
      log.Add("Distance from Fix to Fix F" + std::to_string(i),
              "from NOVOSIBIRSK/RUS to MIDPOINT/NEW",
              "  (E) 1234.5678  (G) 1234.5679  (S) 1233.0001 km");
    }
    log.SaveToFile(HistoryFile());
  }
  ~TBenchFiles() {
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

const TBenchFiles& Files() {
  static const TBenchFiles files;
  return files;
}

// A list that keeps its rows as the window's would, without drawing them.
class TRowsOnly : public TFixListView {
 public:
  void SetRows(std::vector<std::string> Rows) override { rows_ = std::move(Rows); }
  void InsertRow(int Row, const std::string& Text) override { rows_.insert(rows_.begin() + Row, Text); }
  void DeleteRow(int Row) override { rows_.erase(rows_.begin() + Row); }
  void SetRow(int Row, const std::string& Text) override { rows_[static_cast<std::size_t>(Row)] = Text; }
  void MoveRow(int, int) override {}
  void SelectRow(int Row) override { selected_ = Row; }
  int SelectedRow() const override { return selected_; }
  void SetCounterText(const std::string&) override {}
  void EnableFixButtons(const TFixButtons&) override {}
  void FocusFixList() override {}
  void ShowError(const std::string&) override {}
  std::size_t RowCount() const { return rows_.size(); }

 private:
  std::vector<std::string> rows_{""};
  int selected_ = 0;
};

void LoadFixFile(benchmark::State& state) {
  const std::string name = Files().FixFile();
  for (auto _ : state) {
    TFixDB db;
    db.LoadFromFile(name);
    benchmark::DoNotOptimize(db.Count());
  }
}

void SortFixes(benchmark::State& state) {
  const int order = static_cast<int>(state.range(0));
  TFixDB db;
  SortReference = Files().records[100].Position;
  for (auto _ : state) {
    state.PauseTiming();
    db.Clear();
    for (const FixRecord& fix : Files().records) db.Add(fix);
    state.ResumeTiming();
    db.Sort(order);
  }
}

void FormatRows(benchmark::State& state) {
  TRowsOnly list;
  TWinFixDB db(list);
  {
    TListUpdatesOff quiet;
    for (const FixRecord& fix : Files().records) db.Add(fix);
  }
  for (auto _ : state) {
    db.RebuildFixList(1);
    benchmark::DoNotOptimize(list.RowCount());
  }
}

void SaveFixFile(benchmark::State& state) {
  TFixDB db;
  db.LoadFromFile(Files().FixFile());
  for (auto _ : state) db.SaveToFile(Files().SavedFile());
}

void LoadHistory(benchmark::State& state) {
  for (auto _ : state) {
    TLogList log;
    log.LoadFromFile(Files().HistoryFile());
    benchmark::DoNotOptimize(log.Count());
  }
}

// Heap held by a full database, its name index included.
void FullDatabaseMemory(benchmark::State& state) {
  for (auto _ : state) {
    const std::size_t before = ::mallinfo2().uordblks;
    auto db = std::make_unique<TFixDB>();
    db->LoadFromFile(Files().FixFile());
    benchmark::DoNotOptimize(db->FindName("F1"));
    const std::size_t after = ::mallinfo2().uordblks;
    state.counters["heap_MB"] = static_cast<double>(after - before) / (1024.0 * 1024.0);
  }
}

void Medians(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(LoadFixFile)->Apply(Medians);
BENCHMARK(SortFixes)->Arg(ByName)->Arg(BySuffix)->Arg(ByDistance)->Apply(Medians);
BENCHMARK(FormatRows)->Apply(Medians);
BENCHMARK(SaveFixFile)->Apply(Medians);
BENCHMARK(LoadHistory)->Apply(Medians);
BENCHMARK(FullDatabaseMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace navorix

BENCHMARK_MAIN();
