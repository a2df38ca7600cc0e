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
class TRecorder : public TFixListObserver,
                  public TFixPanelObserver,
                  public TLogObserver,
                  public TOptionsObserver,
                  public TNextFixObserver,
                  public TMessageObserver {
 public:
  explicit TRecorder(const TWorkbench& Bench) : bench_(Bench) {
    RowsReset();
    resets = 0;
    selected = Bench.CurrentRow();
    panel = Bench.FixPanel();
    log = Bench.LogDisplay();
    settings = Bench.Settings();
  }

  void RowsReset() override {
    rows.clear();
    for (int row = 0; row < bench_.RowCount(); ++row) rows.push_back(bench_.RowText(row));
    ++resets;
  }
  void RowInserted(int Row) override { rows.insert(rows.begin() + Row, bench_.RowText(Row)); }
  void RowRemoved(int Row) override { rows.erase(rows.begin() + Row); }
  void RowChanged(int Row) override { rows.at(static_cast<std::size_t>(Row)) = bench_.RowText(Row); }
  void RowsSwapped(int Row) override {
    std::swap(rows.at(static_cast<std::size_t>(Row)), rows.at(static_cast<std::size_t>(Row) + 1));
  }
  void CurrentRowChanged(int Row) override { selected = Row; }
  void FixPanelChanged(const TFixPanel& Panel) override { panel = Panel; }
  void LogShown(const TLogDisplay& Display) override { log = Display; }
  void OptionsChanged(const TSettings& Settings) override {
    settings = Settings;
    ++optionChanges;
  }
  void NextFixChanged(bool Enabled) override { nextFix.push_back(Enabled); }
  void ShowError(const std::string& Message) override { errors.push_back(Message); }
  // A report is kept whole, and its lines count as errors too.
  void ShowReport(const std::vector<std::string>& Lines) override {
    reports.push_back(Lines);
    TMessageObserver::ShowReport(Lines);
  }
  void ShowEntryReport(const std::vector<std::string>& Lines) override {
    entryReports.push_back(Lines);
  }
  void PlaySound(TSound Sound, bool Wait) override { sounds.emplace_back(Sound, Wait); }
  TAnswer Ask(const std::string& Question, TButtons) override {
    questions.push_back(Question);
    return answer;
  }

  TObservers All() {
    return {this, this, this, this, this, this};
  }
  int Sounds(TSound Sound) const {
    int n = 0;
    for (const auto& s : sounds) n += s.first == Sound ? 1 : 0;
    return n;
  }

  std::vector<std::string> rows;
  int selected = 0;
  int resets = 0;
  TFixPanel panel;
  TLogDisplay log;
  TSettings settings;
  int optionChanges = 0;
  std::vector<bool> nextFix;  // every announced change of the Next Fix button
  std::vector<std::string> errors;
  std::vector<std::vector<std::string>> reports;
  std::vector<std::vector<std::string>> entryReports;
  std::vector<std::pair<TSound, bool>> sounds;
  std::vector<std::string> questions;
  TAnswer answer = TAnswer::No;  // to every question

 private:
  const TWorkbench& bench_;
};

// Answers with the given operands, or cancels.
struct TFixedOperands : TOperandSource {
  bool Confirm = true;
  TOperands Given;
  int Asked = 0;
  bool Ask(const TDialogLayout&, std::string_view, TOperands& Operands) override {
    ++Asked;
    if (!Confirm) return false;
    Operands = Given;
    return true;
  }
};

class WorkbenchTest : public ::testing::Test {
 protected:
  WorkbenchTest() {
    TAppData paths;
    paths.ProgramDir = dir.Path() + "/";
    paths.SettingsDir = paths.ProgramDir;
    paths.DataDir = dir.Path() + "/data/";
    std::filesystem::create_directory(paths.DataDir);
    bench = std::make_unique<TWorkbench>(paths);
    view = std::make_unique<TRecorder>(*bench);
    bench->Attach(view->All());
  }

  // Adds a fix at the end through the fix input dialog's road, with its
  // coordinates typed in degrees.
  void AddFix(const std::string& Name, const std::string& Lat = "10", const std::string& Lon = "20") {
    Bench().SelectRow(Bench().RowCount() - 1);
    const TFixEdit edit = Bench().BeginFixEdit(true);
    const TFixCheck check = Bench().CheckFixInput(edit, Name, Lat, Lon);
    ASSERT_TRUE(check.Passed()) << Name;
    ASSERT_TRUE(Bench().StoreFix(edit, check, Lat, Lon));
  }
  void AddNames(const std::vector<std::string>& Names) {
    for (const auto& name : Names) AddFix(name);
  }
  // Runs an operation with the given fixes and numbers.
  TRunResult Run(TOpTag Op, std::vector<std::uint16_t> Fixes, long double Distance = 0.0L,
                 long double Azimuth = 0.0L) {
    TFixedOperands source;
    for (std::size_t i = 0; i < Fixes.size() && i < 4; ++i) source.Given.Fix[i] = Fixes[i];
    source.Given.Distance = Distance;
    source.Given.Azimuth = Azimuth;
    return Bench().RunOperation(Op, source);
  }
  // The rows of the view must always be the workbench's rows.
  void ExpectRowsMatch() const {
    ASSERT_EQ(view->rows.size(), static_cast<std::size_t>(bench->RowCount()));
    for (int row = 0; row < bench->RowCount(); ++row) {
      EXPECT_EQ(view->rows[static_cast<std::size_t>(row)], bench->RowText(row)) << "row " << row;
    }
    EXPECT_EQ(view->rows.back(), "");
    EXPECT_EQ(view->panel.Counter, "N = " + std::to_string(bench->Fixes().Count()));
    EXPECT_EQ(view->selected, bench->CurrentRow());
    EXPECT_EQ(view->panel, bench->FixPanel());
  }
  std::string Data(const std::string& Name) const { return dir.Path() + "/data/" + Name; }
  std::string Ini() const { return dir.Path() + "/navorix.ini"; }

  TWorkbench& Bench() { return *bench; }
  TRecorder& View() { return *view; }

  TTempDir dir;
  std::unique_ptr<TWorkbench> bench;
  std::unique_ptr<TRecorder> view;
};

}  // namespace navorix::testing
