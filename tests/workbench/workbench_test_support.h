// Shared pieces of the workbench tests: a view that mirrors the fix list
// the way a model/view list does (pulling the text of each row it is told
// about), recorders for the other observers, and a workbench in a scratch
// directory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "operations/operand_source.h"
#include "tests/stores/stores_test_support.h"
#include "workbench/workbench.h"

namespace navorix::testing {

// Every observer at once. The rows are kept by applying each notification,
// so a wrong or missing notification shows as rows that differ from the
// workbench's.
class Recorder : public FixListObserver,
                 public FixPanelObserver,
                 public LogObserver,
                 public OptionsObserver,
                 public NextFixObserver,
                 public MessageObserver {
 public:
  explicit Recorder(const Workbench& bench) : bench_(bench) {
    RowsReset();
    resets = 0;
    selected = bench.CurrentRow();
    panel = bench.FixPanel();
    log = bench.LogDisplay();
    settings = bench.Settings();
  }

  void RowsReset() override {
    rows.clear();
    for (int row = 0; row < bench_.RowCount(); ++row) rows.push_back(bench_.RowText(row));
    ++resets;
  }
  void RowInserted(int row) override { rows.insert(rows.begin() + row, bench_.RowText(row)); }
  void RowRemoved(int row) override { rows.erase(rows.begin() + row); }
  void RowChanged(int row) override { rows.at(static_cast<std::size_t>(row)) = bench_.RowText(row); }
  void RowsSwapped(int row) override {
    std::swap(rows.at(static_cast<std::size_t>(row)), rows.at(static_cast<std::size_t>(row) + 1));
  }
  void CurrentRowChanged(int row) override { selected = row; }
  void FixPanelChanged(const FixPanelState& shown) override { panel = shown; }
  void LogShown(const LogDisplayState& display) override { log = display; }
  void OptionsChanged(const ProgramSettings& changed) override {
    settings = changed;
    ++optionChanges;
  }
  void NextFixChanged(bool enabled) override { nextFix.push_back(enabled); }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  // A report is kept whole, and its lines count as errors too.
  void ShowReport(const std::vector<std::string>& lines) override {
    reports.push_back(lines);
    MessageObserver::ShowReport(lines);
  }
  void ShowEntryReport(const std::vector<std::string>& lines) override { entryReports.push_back(lines); }
  void PlaySound(Sound sound, bool wait) override { sounds.emplace_back(sound, wait); }
  Answer Ask(const std::string& question, Buttons) override {
    questions.push_back(question);
    return answer;
  }

  Observers All() { return {this, this, this, this, this, this}; }
  int Sounds(Sound sound) const {
    int n = 0;
    for (const auto& s : sounds) n += s.first == sound ? 1 : 0;
    return n;
  }

  std::vector<std::string> rows;
  int selected = 0;
  int resets = 0;
  FixPanelState panel;
  LogDisplayState log;
  ProgramSettings settings;
  int optionChanges = 0;
  std::vector<bool> nextFix;  // every announced change of the Next Fix button
  std::vector<std::string> errors;
  std::vector<std::vector<std::string>> reports;
  std::vector<std::vector<std::string>> entryReports;
  std::vector<std::pair<Sound, bool>> sounds;
  std::vector<std::string> questions;
  Answer answer = Answer::No;  // to every question

 private:
  const Workbench& bench_;
};

// Answers with the given operands, or cancels.
struct FixedOperands : OperandSource {
  bool confirm = true;
  Operands given;
  int asked = 0;
  bool Ask(const DialogLayout&, std::string_view, Operands& operands) override {
    ++asked;
    if (!confirm) return false;
    operands = given;
    return true;
  }
};

class WorkbenchTest : public ::testing::Test {
 protected:
  WorkbenchTest() {
    AppData paths;
    paths.programDir = dir.Path() + "/";
    paths.settingsDir = paths.programDir;
    paths.dataDir = dir.Path() + "/data/";
    std::filesystem::create_directory(paths.dataDir);
    bench = std::make_unique<Workbench>(paths);
    view = std::make_unique<Recorder>(*bench);
    bench->Attach(view->All());
  }

  // Adds a fix at the end through the fix input dialog's road, with its
  // coordinates typed in degrees.
  void AddFix(const std::string& name, const std::string& lat = "10", const std::string& lon = "20") {
    Bench().SelectRow(Bench().RowCount() - 1);
    const FixEdit edit = Bench().BeginFixEdit(true);
    const FixCheck check = Bench().CheckFixInput(edit, name, lat, lon);
    ASSERT_TRUE(check.Passed()) << name;
    ASSERT_TRUE(Bench().StoreFix(edit, check, lat, lon));
  }
  void AddNames(const std::vector<std::string>& names) {
    for (const auto& name : names) AddFix(name);
  }
  // Runs an operation with the given fixes and numbers.
  RunResult Run(OperationTag op, std::vector<std::uint16_t> fixes, long double distance = 0.0L,
                long double azimuth = 0.0L) {
    FixedOperands source;
    for (std::size_t i = 0; i < fixes.size() && i < 4; ++i) source.given.fix[i] = fixes[i];
    source.given.distance = distance;
    source.given.azimuth = azimuth;
    return Bench().RunOperation(op, source);
  }
  // The rows of the view must always be the workbench's rows.
  void ExpectRowsMatch() const {
    ASSERT_EQ(view->rows.size(), static_cast<std::size_t>(bench->RowCount()));
    for (int row = 0; row < bench->RowCount(); ++row) {
      EXPECT_EQ(view->rows[static_cast<std::size_t>(row)], bench->RowText(row)) << "row " << row;
    }
    EXPECT_EQ(view->rows.back(), "");
    EXPECT_EQ(view->panel.counter, "N = " + std::to_string(bench->Fixes().Count()));
    EXPECT_EQ(view->selected, bench->CurrentRow());
    EXPECT_EQ(view->panel, bench->FixPanel());
  }
  std::string Data(const std::string& name) const { return dir.Path() + "/data/" + name; }
  std::string Ini() const { return dir.Path() + "/navorix.ini"; }

  Workbench& Bench() { return *bench; }
  Recorder& View() { return *view; }

  TempDir dir;
  std::unique_ptr<Workbench> bench;
  std::unique_ptr<Recorder> view;
};

}  // namespace navorix::testing
