#include "stores/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "geometry/error.h"
#include "stores/fix_db.h"
#include "stores/log_list.h"
#include "stores/profile_file.h"
#include "stores_test_support.h"

namespace navorix {
namespace {

using testing::AllCallPoints;
using testing::CallPointName;
using testing::DirEntries;
using testing::MakeTestFix;
using testing::ReadFile;
using testing::TCallPoint;
using testing::TFaultyCalls;
using testing::TTempDir;
using testing::WriteFile;

TEST(AtomicFile, WritesLinesWithCrLfAndLeavesNoTemporaryFile) {
  TTempDir dir;
  TAtomicFile file(dir / "out.txt");
  file.WriteLine("one");
  file.Write("two");
  file.Commit();
  EXPECT_EQ(ReadFile(dir / "out.txt"), "one\r\ntwo");
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"out.txt"});
}

TEST(AtomicFile, AFullDiskHalfWayLeavesTheOldFileByteForByte) {
  TTempDir dir;
  const std::string old_text = "old content\r\nkept\r\n";
  WriteFile(dir / "keep.fix", old_text);
  {
    testing::TFailingWrites disk(100 * 1024);  // more than one buffer gets through
    TAtomicFile file(dir / "keep.fix", disk.Calls);
    try {
      for (int i = 0; i < 20000; ++i) file.WriteLine("a line that will never be complete");
      file.Commit();
      FAIL() << "the save reported success";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot write keep.fix: No space left on device");
    }
  }
  EXPECT_EQ(ReadFile(dir / "keep.fix"), old_text);
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"keep.fix"});
}

TEST(AtomicFile, AFailedFlushToDiskOrRenameKeepsTheOldFile) {
  TTempDir dir;
  WriteFile(dir / "keep.his", "old");
  {
    TFaultyCalls failingFsync(TCallPoint::Fsync, 1);
    TAtomicFile file(dir / "keep.his", failingFsync.Calls);
    file.WriteLine("new");
    EXPECT_THROW(file.Commit(), Error);
  }
  {
    TFaultyCalls failingRename(TCallPoint::Renameat, 1, EXDEV);
    TAtomicFile file(dir / "keep.his", failingRename.Calls);
    file.WriteLine("new");
    EXPECT_THROW(file.Commit(), Error);
  }
  EXPECT_EQ(ReadFile(dir / "keep.his"), "old");
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"keep.his"});
}

TEST(AtomicFile, ATargetThatIsADirectoryOrInAMissingDirectoryFails) {
  TTempDir dir;
  std::filesystem::create_directory(dir / "busy.fix");
  WriteFile(dir / "busy.fix/inside", "x");
  try {
    TAtomicFile file(dir / "busy.fix");
    file.WriteLine("data");
    file.Commit();
    FAIL() << "a directory was replaced";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot write busy.fix: Is a directory");
  }
  EXPECT_EQ(ReadFile(dir / "busy.fix/inside"), "x");
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"busy.fix"});
  EXPECT_THROW(TAtomicFile(dir / "nodir/file.fix"), Error);
}

TEST(AtomicFile, ADeviceIsNeverReplaced) {
  EXPECT_THROW(TAtomicFile("/dev/null"), Error);
  EXPECT_FALSE(std::filesystem::is_regular_file("/dev/null"));
}

TEST(AtomicFile, AnAbandonedSaveChangesNothing) {
  TTempDir dir;
  WriteFile(dir / "a.ini", "x=1\r\n");
  {
    TAtomicFile file(dir / "a.ini");
    file.WriteLine("partial");
  }  // no Commit: e.g. a failure while the text was being made
  EXPECT_EQ(ReadFile(dir / "a.ini"), "x=1\r\n");
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"a.ini"});
}

TEST(AtomicFile, SavingThroughASymbolicLinkReplacesItsTarget) {
  TTempDir dir;
  WriteFile(dir / "real.fix", "old");
  std::filesystem::create_symlink(dir / "real.fix", dir / "link.fix");
  TAtomicFile file(dir / "link.fix");
  file.Write("new");
  file.Commit();
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.fix"));
  EXPECT_EQ(ReadFile(dir / "real.fix"), "new");
}

// The three status files with their old text, and the stores that save new
// text over them (longer than the write buffer, so that a save writes more
// than once).
struct TStatusFiles {
  TStatusFiles() {
    for (int i = 0; i < 4000; ++i) fixes.Add(MakeTestFix("FIX" + std::to_string(i)));
    for (int i = 0; i < 900; ++i) log.Add("line one " + std::to_string(i), "", "result");
    WriteFile(dir / "navorix.fix", old_fix);
    WriteFile(dir / "navorix.his", old_his);
    WriteFile(dir / "navorix.ini", old_ini);
  }
  // Saves all three, each on its own (a failure does not stop the others);
  // the number of saves that failed.
  int SaveAll(const TFileSystemCalls& Calls) {
    int failed = 0;
    const auto attempt = [&failed](auto save) {
      try {
        save();
      } catch (const Error&) {
        ++failed;
        return false;
      }
      return true;
    };
    fix_saved = attempt([&] { testing::SaveFixes(fixes, dir / "navorix.fix", {}, Calls); });
    his_saved = attempt([&] { log.SaveToFile(dir / "navorix.his", Calls); });
    ini_saved = attempt([&] {
      TProfileFile settings(dir / "navorix.ini", Calls);
      settings.WriteInteger("Settings", "LatLonFormat", 2);
      settings.Save();
    });
    return failed;
  }

  TTempDir dir;
  const std::string old_fix = "10 20 OLD\r\n";
  const std::string old_his = "old\r\nhistory\r\nkept\r\n";
  const std::string old_ini = "[Settings]\r\nSpherRadius=6371\r\n";
  TFixDB fixes;
  TLogList log;
  bool fix_saved = false;
  bool his_saved = false;
  bool ini_saved = false;
};

TEST(AtomicFile, AFailureAtAnyPointOfASaveLeavesEveryPreviousFileByteForByte) {
  const std::vector<std::string> names = {"navorix.fix", "navorix.his", "navorix.ini"};
  // How often a clean save of the three files passes each point, and what
  // it writes.
  std::map<TCallPoint, int> calls;
  std::vector<std::string> new_texts;
  {
    TStatusFiles files;
    TFaultyCalls counting;
    ASSERT_EQ(files.SaveAll(counting.Calls), 0);
    for (const TCallPoint point : AllCallPoints) calls[point] = counting.Count(point);
    for (const std::string& name : names) new_texts.push_back(ReadFile(files.dir / name));
  }
  for (const TCallPoint point : AllCallPoints) {
    ASSERT_GE(calls[point], 3) << CallPointName(point) << ": each save passes every point";
    for (int nth = 1; nth <= calls[point]; ++nth) {
      TStatusFiles files;
      const std::string where = std::string(CallPointName(point)) + " call " + std::to_string(nth);
      int failed = 0;
      {
        TFaultyCalls faulty(point, nth, EIO);
        failed = files.SaveAll(faulty.Calls);
        ASSERT_TRUE(faulty.Fired()) << where;
      }
      // Without its second name the old file cannot be put back, so a
      // failed link alone does not fail the save; every other point does.
      EXPECT_EQ(failed, point == TCallPoint::Linkat ? 0 : 1) << where;
      const bool saved[] = {files.fix_saved, files.his_saved, files.ini_saved};
      const std::string old_texts[] = {files.old_fix, files.old_his, files.old_ini};
      for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(ReadFile(files.dir / names[i]), saved[i] ? new_texts[i] : old_texts[i])
            << where << ", " << names[i];
      }
      EXPECT_EQ(DirEntries(files.dir.Path()), names)
          << where << ": a temporary file or second name was left";
    }
  }
}

TEST(AtomicFile, AFailedDirectoryFlushOrOwnerIsReportedAndUndone) {
  TTempDir dir;
  WriteFile(dir / "keep.fix", "old");
  {
    TFaultyCalls faulty(TCallPoint::DirectoryFsync, 1, EIO);
    TAtomicFile file(dir / "keep.fix", faulty.Calls);
    file.Write("new");
    try {
      file.Commit();
      FAIL() << "a failed directory flush was reported as success";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot write keep.fix: Input/output error");
    }
  }
  EXPECT_EQ(ReadFile(dir / "keep.fix"), "old");
  {
    // A new file whose directory entry did not reach the disk is not left
    // behind as if it had been saved.
    TFaultyCalls faulty(TCallPoint::DirectoryFsync, 1, EIO);
    TAtomicFile file(dir / "new.fix", faulty.Calls);
    file.Write("new");
    EXPECT_THROW(file.Commit(), Error);
  }
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"keep.fix"});
  {
    // Another user's file would become ours.
    TFaultyCalls faulty(TCallPoint::Fchown, 1, EPERM);
    try {
      TAtomicFile file(dir / "keep.fix", faulty.Calls);
      FAIL() << "a file whose owner cannot be kept was taken on";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot write keep.fix: its owner cannot be kept");
    }
  }
  EXPECT_EQ(ReadFile(dir / "keep.fix"), "old");
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"keep.fix"});
}

TEST(AtomicFile, AReadOnlyFileIsRefusedNotReplaced) {
  TTempDir dir;
  WriteFile(dir / "ro.fix", "kept");
  ASSERT_EQ(::chmod((dir / "ro.fix").c_str(), 0444), 0);
  try {
    TAtomicFile file(dir / "ro.fix");
    file.Write("new");
    file.Commit();
    FAIL() << "a read-only file was replaced";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot write ro.fix: the file is read-only");
  }
  EXPECT_EQ(ReadFile(dir / "ro.fix"), "kept");
  struct stat info {};
  ASSERT_EQ(::stat((dir / "ro.fix").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0444u);
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"ro.fix"});
}

TEST(AtomicFile, ADanglingSymbolicLinkIsSavedThroughAndStaysALink) {
  TTempDir dir;
  std::filesystem::create_directory(dir / "real");
  std::filesystem::create_symlink("real/made.fix", dir / "link.fix");
  std::filesystem::create_symlink("link.fix", dir / "chain.fix");
  {
    TAtomicFile file(dir / "chain.fix");
    file.Write("new");
    file.Commit();
  }
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "chain.fix"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.fix"));
  EXPECT_EQ(ReadFile(dir / "real/made.fix"), "new");
  // A link into a missing directory, and a loop of links, fail and stay.
  std::filesystem::create_symlink("nowhere/x.fix", dir / "lost.fix");
  std::filesystem::create_symlink("loop2.fix", dir / "loop1.fix");
  std::filesystem::create_symlink("loop1.fix", dir / "loop2.fix");
  EXPECT_THROW(TAtomicFile(dir / "lost.fix"), Error);
  EXPECT_THROW(TAtomicFile(dir / "loop1.fix"), Error);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "lost.fix"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "loop1.fix"));
  EXPECT_EQ(DirEntries(dir.Path()), (std::vector<std::string>{"chain.fix", "link.fix", "loop1.fix",
                                                              "loop2.fix", "lost.fix", "real"}));
}

TEST(AtomicFile, ANameOfTheLongestLengthSavesAndSavesAgain) {
  TTempDir dir;
  const long name_max = ::pathconf(dir.Path().c_str(), _PC_NAME_MAX);
  const std::string name(static_cast<std::size_t>(name_max > 0 ? name_max : 255), 'n');
  for (const char* text : {"first", "second"}) {
    TAtomicFile file(dir / name);
    file.Write(text);
    file.Commit();
  }
  EXPECT_EQ(ReadFile(dir / name), "second");
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{name});
}

TEST(AtomicFile, StaleTemporaryFilesAreRemovedAtTheNextSave) {
  TTempDir dir;
  // No process has a number above the kernel's limit of 4194304.
  const std::string dead = ".navorix.fix.nvx-4194999-1";
  const std::string dead_short = "..nvx-4194998-17";
  const std::string dead_locked = ".navorix.his.nvx-4194997-3";
  const std::string running = ".navorix.fix.nvx-" + std::to_string(::getppid()) + "-2";
  const std::string own = ".navorix.fix.nvx-" + std::to_string(::getpid()) + "-999999";
  const std::vector<std::string> users = {"navorix.fix.nvx-4194999-1", ".notes.nvx-4194999-x",
                                          ".notes.nvx-4194999", ".old.tmp4194999_1"};
  for (const std::string& name : {dead, dead_short, dead_locked, running, own}) WriteFile(dir / name, "x");
  for (const std::string& name : users) WriteFile(dir / name, "mine");
  // A save still under way elsewhere holds a lock on its file.
  const int held = ::open((dir / dead_locked).c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  {
    TAtomicFile file(dir / "navorix.fix");
    file.Write("new");
    file.Commit();
  }
  ::close(held);
  std::vector<std::string> expected = users;
  expected.insert(expected.end(), {dead_locked, running, own, "navorix.fix"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(DirEntries(dir.Path()), expected);
  for (const std::string& name : users) EXPECT_EQ(ReadFile(dir / name), "mine") << name;
}

TEST(RenameNoReplace, NeverOverwritesAnExistingFile) {
  TTempDir dir;
  WriteFile(dir / "navorix.log", "log");
  WriteFile(dir / "navorix.his", "his");
  EXPECT_FALSE(RenameNoReplace(dir / "navorix.log", dir / "navorix.his"));
  EXPECT_EQ(ReadFile(dir / "navorix.his"), "his");
  EXPECT_EQ(ReadFile(dir / "navorix.log"), "log");
  std::filesystem::remove(dir / "navorix.his");
  EXPECT_TRUE(RenameNoReplace(dir / "navorix.log", dir / "navorix.his"));
  EXPECT_EQ(ReadFile(dir / "navorix.his"), "log");
}

}  // namespace
}  // namespace navorix
