// Nothing the user keeps is lost: the backups of the status files, saving
// where hard links are missing, every loss said at loading, the bounds on
// reading, and the messages around saving. Each test drives the workbench
// as the window does, on a portable folder of its own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "stores/line_reader.h"
#include "tests/workbench/workbench_test_support.h"
#include "workbench/texts.h"

namespace navorix {
namespace {

using testing::DirEntries;
using testing::ReadFile;
using testing::Recorder;
using testing::WorkbenchTest;
using testing::WriteFile;

// A fix file of count readable lines.
std::string FixLines(int count, const std::string& prefix = "F") {
  std::string text;
  for (int i = 0; i < count; ++i) text += "10 20 " + prefix + std::to_string(i) + "\r\n";
  return text;
}

class KeepingTest : public WorkbenchTest {
 protected:
  // The names in the data folder that begin with start.
  std::vector<std::string> DataNames(const std::string& start) {
    std::vector<std::string> found;
    for (const std::string& name : DirEntries(dir.Path() + "/data")) {
      if (name.rfind(start, 0) == 0) found.push_back(name);
    }
    return found;
  }
  // A second workbench on the same folder, with its own view.
  struct Other {
    explicit Other(const AppData& paths, const FileSystemCalls& calls = SystemCalls())
        : bench(paths, calls), view(bench) {
      bench.Attach(view.All());
    }
    Workbench bench;
    Recorder view;
  };
};

// -------------------------------------------------------------- backups

TEST_F(KeepingTest, AFileNotReadCompletelyOutlivesEverySaveAfterIt) {
  // A line that does not read among 40000 that do (1 MB). The user agrees
  // to replace the file and saves twice more; the original is still there,
  // byte for byte.
  const std::string original = "PARIS 48.8567 2.3522\r\n" + FixLines(40000);
  WriteFile(Data("navorix.fix"), original);
  Bench().LoadStatus();
  View().answer = Answer::Yes;
  ASSERT_TRUE(Bench().SaveStatus());
  ASSERT_EQ(View().questions.size(), 1u);
  AddFix("LATER");
  ASSERT_TRUE(Bench().SaveStatus());
  AddFix("LATEST");
  ASSERT_TRUE(Bench().SaveStatus());
  const std::vector<std::string> kept = DataNames("navorix.fix.unread-");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(ReadFile(Data(kept[0])), original);
  // The question said where.
  EXPECT_NE(View().questions[0].find("(The old file is kept as " + kept[0] + ".)"), std::string::npos)
      << View().questions[0];
}

TEST_F(KeepingTest, AFailedSaveTouchesNoBackup) {
  WriteFile(Data("navorix.fix"), "10 20 OLD\r\n");
  WriteFile(Data("navorix.fix.bak"), "10 20 OLDER\r\n");
  WriteFile(Data("navorix.his"), "a\r\nb\r\nc\r\n");
  WriteFile(Data("navorix.his.bak"), "x\r\ny\r\nz\r\n");
  testing::FailingWrites fullDisk;
  Other full(Bench().Paths(), fullDisk.calls);
  full.bench.LoadStatus();
  EXPECT_FALSE(full.bench.SaveStatus());
  EXPECT_FALSE(full.bench.SaveStatus()) << "and once more";
  EXPECT_EQ(ReadFile(Data("navorix.fix")), "10 20 OLD\r\n");
  EXPECT_EQ(ReadFile(Data("navorix.fix.bak")), "10 20 OLDER\r\n");
  EXPECT_EQ(ReadFile(Data("navorix.his.bak")), "x\r\ny\r\nz\r\n");
  // No second name of a backup is left behind either.
  EXPECT_EQ(DataNames("navorix.fix"), (std::vector<std::string>{"navorix.fix", "navorix.fix.bak"}));
  EXPECT_EQ(DataNames("navorix.his"), (std::vector<std::string>{"navorix.his", "navorix.his.bak"}));
}

TEST_F(KeepingTest, ASaveThatChangesNothingTouchesNoBackup) {
  WriteFile(Data("navorix.fix"), "10 20 OLD\r\n");
  Bench().LoadStatus();
  ASSERT_TRUE(Bench().SaveStatus());  // in the program's own format now
  ASSERT_EQ(ReadFile(Data("navorix.fix.bak")), "10 20 OLD\r\n");
  ASSERT_TRUE(Bench().SaveStatus());
  ASSERT_TRUE(Bench().SaveStatus());
  EXPECT_EQ(ReadFile(Data("navorix.fix.bak")), "10 20 OLD\r\n")
      << "the version before the first save stays the backup";
  // A refused save neither.
  WriteFile(Data("navorix.fix"), "30 40 THEIRS\r\n");
  View().answer = Answer::No;
  EXPECT_FALSE(Bench().SaveStatus());
  EXPECT_EQ(ReadFile(Data("navorix.fix.bak")), "10 20 OLD\r\n");
  EXPECT_EQ(ReadFile(Data("navorix.fix")), "30 40 THEIRS\r\n");
}

TEST_F(KeepingTest, WhatAnotherCopySavedOutlivesTheSecondCopysSaves) {
  Bench().LoadStatus();
  Other second(Bench().Paths());
  second.bench.LoadStatus();  // told that the first copy uses the folder
  AddFix("FROMFIRST");
  ASSERT_TRUE(Bench().SaveStatus());
  const std::string first = ReadFile(Data("navorix.fix"));
  second.view.answer = Answer::Yes;
  ASSERT_TRUE(second.bench.SaveStatus());
  second.bench.ClearFixes();
  ASSERT_TRUE(second.bench.SaveStatus());
  const std::vector<std::string> kept = DataNames("navorix.fix.unread-");
  ASSERT_FALSE(kept.empty());
  bool found = false;
  for (const std::string& name : kept) found = found || ReadFile(Data(name)) == first;
  EXPECT_TRUE(found) << "FROMFIRST lives on";
}

// ------------------------------------------------- saving on any disk

// The status file on another file system, through a link from the data
// folder (/dev/shm is a file system of its own on Linux).
TEST_F(KeepingTest, AStatusFileLinkedToAnotherFileSystemIsSaved) {
  const testing::OtherFileSystemDir otherDir(dir.Path());
  if (otherDir.Path().empty()) GTEST_SKIP() << "no other file system under /dev/shm";
  const std::string& other = otherDir.Path();
  WriteFile(other + "/fixes.fix", "10 20 OLD\r\n");
  std::filesystem::create_symlink(other + "/fixes.fix", Data("navorix.fix"));
  Bench().LoadStatus();
  AddFix("NEW");
  EXPECT_TRUE(Bench().SaveStatus());
  EXPECT_EQ(View().errors, std::vector<std::string>{});
  EXPECT_TRUE(std::filesystem::is_symlink(Data("navorix.fix")));
  EXPECT_NE(ReadFile(other + "/fixes.fix").find("NEW"), std::string::npos);
  EXPECT_EQ(ReadFile(other + "/fixes.fix.bak"), "10 20 OLD\r\n");
}

// A portable folder on a FAT or exFAT stick (EPERM), a link across file
// systems (EXDEV), file systems without links (ENOSYS, EOPNOTSUPP).
TEST_F(KeepingTest, WithoutHardLinksEveryStatusFileIsSavedWithItsBackup) {
  for (const int code : {EPERM, EXDEV, ENOSYS, EOPNOTSUPP}) {
    const std::string reason = SystemErrorText(code);
    WriteFile(Ini(), "[Settings]\r\nLatLonFormat=1\r\n");
    WriteFile(Data("navorix.fix"), "10 20 OLD\r\n");
    WriteFile(Data("navorix.his"), "a\r\nb\r\nc\r\n");
    testing::FaultyCalls noLinks(testing::CallPoint::Write, 0, EIO, code);
    Other stick(Bench().Paths(), noLinks.calls);
    stick.bench.LoadStatus();
    stick.bench.SetDisplayOption(DisplayOption::LatLonFormat, Index(AngleFormat::DegMinSec));
    stick.bench.ClearAll();
    EXPECT_TRUE(stick.bench.SaveStatus()) << reason;
    EXPECT_EQ(stick.view.errors, std::vector<std::string>{}) << reason;
    EXPECT_EQ(ReadFile(Ini() + ".bak"), "[Settings]\r\nLatLonFormat=1\r\n") << reason;
    EXPECT_EQ(ReadFile(Data("navorix.fix.bak")), "10 20 OLD\r\n") << reason;
    EXPECT_EQ(ReadFile(Data("navorix.his.bak")), "a\r\nb\r\nc\r\n") << reason;
    EXPECT_EQ(ReadFile(Data("navorix.fix")), "") << reason;
    EXPECT_EQ(DataNames("navorix.fix"), (std::vector<std::string>{"navorix.fix", "navorix.fix.bak"}))
        << reason;
  }
}

// -------------------------------------------------------------- settings

TEST_F(KeepingTest, ARefusedValueIsSaidAndTheFileIsMergedWithoutAQuestion) {
  const std::string mine =
      "; my navorix\r\n[Settings]\r\nSpherRadius=0.5\r\nLatLonFormat=1\r\n"
      "  MyOwnKey = kept as typed  \r\n\r\n[Interface]\r\nPropFontSize=11\r\nMenuFontSize=30\r\n"
      "\r\n[Other program]\r\nx=1\r\n";
  WriteFile(Ini(), mine);
  Bench().LoadStatus();
  EXPECT_EQ(View().errors, (std::vector<std::string>{"Unusable Earth radii in the settings file",
                                                     "Settings file: MenuFontSize not used (only 7 to 12)"}));
  EXPECT_EQ(Bench().Settings().interface.propFontSize, 11);
  EXPECT_TRUE(Bench().SaveStatus());
  EXPECT_TRUE(View().questions.empty());
  EXPECT_EQ(ReadFile(Ini()),
            "; my navorix\r\n[Settings]\r\nSpherRadius=0.5\r\nLatLonFormat=1\r\n"
            "  MyOwnKey = kept as typed  \r\nEllipticLat=1\r\nEllipticArc=0\r\nGeoDistance=0\r\n"
            "AzimFormat=0\r\nPlusDir=0\r\nPrecision=0\r\nDistUnits=0\r\nAzimRange=0\r\n\r\n"
            "[Interface]\r\nPropFontSize=11\r\nMenuFontSize=30\r\nSound=1\r\nHints=1\r\n"
            "\r\n[Other program]\r\nx=1\r\n");
  EXPECT_EQ(ReadFile(Ini() + ".bak"), mine);
}

// ------------------------------------------------------------- reports

TEST_F(KeepingTest, EveryKindOfLossIsSaid) {
  // One line that does not read, then 65535 that do: one of them no longer
  // fits, and the unreadable one is an empty row.
  WriteFile(Data("navorix.fix"), "PARIS 48.8567 2.3522\r\n" + FixLines(65535));
  Bench().LoadStatus();
  EXPECT_EQ(View().errors, (std::vector<std::string>{"Fix file: 1 fix beyond 65535 not loaded",
                                                     "Fix file: 1 unreadable line shown as an empty row"}));
  EXPECT_EQ(Bench().Fixes().Count(), MaxFixes);
  EXPECT_EQ(View().rows[0], "") << "the unreadable line is an empty row";
}

TEST_F(KeepingTest, AStatusFileThatCannotBeLookedAtIsSaidAndKept) {
  std::filesystem::create_symlink("navorix.his", Data("navorix.fix"));
  std::filesystem::create_symlink("navorix.fix", Data("navorix.his"));
  Bench().LoadStatus();
  EXPECT_EQ(View().errors,
            (std::vector<std::string>{"Cannot open navorix.fix: Too many levels of symbolic links",
                                      "Cannot open navorix.his: Too many levels of symbolic links"}));
  // Saving asks first (promising no copy of what is not there), and a yes
  // fails with a message that fits the box.
  EXPECT_FALSE(Bench().SaveStatus());
  ASSERT_EQ(View().questions.size(), 2u);
  EXPECT_EQ(View().questions[0],
            "navorix.fix could not be read completely.|Replace it with what Navorix shows now?");
  View().answer = Answer::Yes;
  View().errors.clear();
  EXPECT_FALSE(Bench().SaveStatus());
  ASSERT_EQ(View().errors.size(), 2u);
  for (const std::string& error : View().errors) {
    EXPECT_LE(error.size(), 64u) << error;
    EXPECT_NE(error.find("Too many levels of symbolic links"), std::string::npos) << error;
  }
  EXPECT_TRUE(std::filesystem::is_symlink(Data("navorix.fix")));
}

// --------------------------------------------------------------- bounds

TEST_F(KeepingTest, AHugeStatusFileIsRefusedAtOnceAndNotReplacedUnasked) {
  // 10 GB of nothing (a sparse file), a history just above the bound, and a
  // settings file above its own.
  const auto sparse = [](const std::string& name, off_t size) {
    WriteFile(name, "");
    ASSERT_EQ(::truncate(name.c_str(), size), 0);
  };
  sparse(Data("navorix.fix"), off_t{10} << 30);
  sparse(Data("navorix.his"), (off_t{64} << 20) + 1);
  sparse(Ini(), (off_t{1} << 20) + 1);
  const AppData paths = Bench().Paths();
  EXPECT_TRUE(testing::EndsWithin(std::chrono::seconds(1), [&paths] {
    Other huge(paths);
    huge.bench.LoadStatus();
    if (huge.view.errors != std::vector<std::string>{"Cannot open navorix.ini: larger than 1 MiB",
                                                     "Cannot open navorix.fix: larger than 64 MiB",
                                                     "Cannot open navorix.his: larger than 64 MiB"}) {
      throw 1;
    }
  }));
  Bench().LoadStatus();
  EXPECT_FALSE(Bench().SaveStatus());
  EXPECT_EQ(View().questions.size(), 3u);
  EXPECT_EQ(std::filesystem::file_size(Data("navorix.fix")), std::uintmax_t{10} << 30);
  EXPECT_EQ(std::filesystem::file_size(Ini()), (std::uintmax_t{1} << 20) + 1);
}

// -------------------------------------------------------------- clean-up

TEST_F(KeepingTest, SavingAFixFileRemovesNoOtherFile) {
  // Names of the form of a save's temporary, with a process number that no
  // process has.
  const std::vector<std::string> theirs = {".notes.nvx-999999-1", ".out2.fix.bak.nvx-4194999-2",
                                           ".x.nvx-4194999-1"};
  for (const std::string& name : theirs) WriteFile(dir / name, "theirs");
  AddFix("A");
  ASSERT_TRUE(Bench().SaveFixFile(dir / "out2.fix"));
  for (const std::string& name : theirs) EXPECT_EQ(ReadFile(dir / name), "theirs") << name;
}

// -------------------------------------------------------------- messages

TEST_F(KeepingTest, SavingTheStatusFixFileAsAFixFileIsNoChangeByAnotherProgram) {
  WriteFile(Data("navorix.fix"), "10 20 OLD\r\n");
  Bench().LoadStatus();
  AddFix("NEW");
  ASSERT_TRUE(Bench().SaveFixFile(Data("navorix.fix")));
  EXPECT_TRUE(Bench().SaveStatus());
  EXPECT_EQ(View().questions, std::vector<std::string>{});
  EXPECT_NE(ReadFile(Data("navorix.fix")).find("NEW"), std::string::npos);
}

TEST_F(KeepingTest, WithoutAnOldFileNoQuestionPromisesABackup) {
  // Another copy holds the folder, and no status file exists yet.
  Bench().LoadStatus();
  Other second(Bench().Paths());
  second.bench.LoadStatus();
  second.view.answer = Answer::No;
  EXPECT_TRUE(second.bench.SaveStatus());
  for (const std::string& question : second.view.questions) {
    EXPECT_EQ(question.find(".bak"), std::string::npos) << question;
  }
  EXPECT_TRUE(std::filesystem::exists(Data("navorix.fix")));
}

}  // namespace
}  // namespace navorix
