#include "stores/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "geometry/error.h"
#include "stores/fix_db.h"
#include "stores/line_reader.h"
#include "stores/log_list.h"
#include "stores/profile_file.h"
#include "stores_test_support.h"

namespace navorix {
namespace {

using testing::AllCallPoints;
using testing::CallPoint;
using testing::CallPointName;
using testing::DirEntries;
using testing::FaultyCalls;
using testing::MakeTestFix;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(AtomicFile, WritesLinesWithCrLfAndLeavesNoTemporaryFile) {
  TempDir dir;
  AtomicFile file(dir / "out.txt");
  file.WriteLine("one");
  file.Write("two");
  file.Commit();
  EXPECT_EQ(ReadFile(dir / "out.txt"), "one\r\ntwo");
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"out.txt"});
}

TEST(AtomicFile, AFullDiskHalfWayLeavesTheOldFileByteForByte) {
  TempDir dir;
  const std::string oldText = "old content\r\nkept\r\n";
  WriteFile(dir / "keep.fix", oldText);
  {
    testing::FailingWrites disk(100 * 1024);  // more than one buffer gets through
    AtomicFile file(dir / "keep.fix", disk.calls);
    try {
      for (int i = 0; i < 20000; ++i) file.WriteLine("a line that will never be complete");
      file.Commit();
      FAIL() << "the save reported success";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot write keep.fix: No space left on device");
    }
  }
  EXPECT_EQ(ReadFile(dir / "keep.fix"), oldText);
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"keep.fix"});
}

TEST(AtomicFile, AFailedFlushToDiskOrRenameKeepsTheOldFile) {
  TempDir dir;
  WriteFile(dir / "keep.his", "old");
  {
    FaultyCalls failingFsync(CallPoint::Fsync, 1);
    AtomicFile file(dir / "keep.his", failingFsync.calls);
    file.WriteLine("new");
    EXPECT_THROW(file.Commit(), Error);
  }
  {
    FaultyCalls failingRename(CallPoint::Renameat, 1, EXDEV);
    AtomicFile file(dir / "keep.his", failingRename.calls);
    file.WriteLine("new");
    EXPECT_THROW(file.Commit(), Error);
  }
  EXPECT_EQ(ReadFile(dir / "keep.his"), "old");
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"keep.his"});
}

TEST(AtomicFile, ATargetThatIsADirectoryOrInAMissingDirectoryFails) {
  TempDir dir;
  std::filesystem::create_directory(dir / "busy.fix");
  WriteFile(dir / "busy.fix/inside", "x");
  try {
    AtomicFile file(dir / "busy.fix");
    file.WriteLine("data");
    file.Commit();
    FAIL() << "a directory was replaced";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot write busy.fix: Is a directory");
  }
  EXPECT_EQ(ReadFile(dir / "busy.fix/inside"), "x");
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"busy.fix"});
  EXPECT_THROW(AtomicFile(dir / "nodir/file.fix"), Error);
}

TEST(AtomicFile, ADeviceIsNeverReplaced) {
  EXPECT_THROW(AtomicFile("/dev/null"), Error);
  EXPECT_FALSE(std::filesystem::is_regular_file("/dev/null"));
}

TEST(AtomicFile, AnAbandonedSaveChangesNothing) {
  TempDir dir;
  WriteFile(dir / "a.ini", "x=1\r\n");
  {
    AtomicFile file(dir / "a.ini");
    file.WriteLine("partial");
  }  // no Commit: e.g. a failure while the text was being made
  EXPECT_EQ(ReadFile(dir / "a.ini"), "x=1\r\n");
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"a.ini"});
}

TEST(AtomicFile, SavingThroughASymbolicLinkReplacesItsTarget) {
  TempDir dir;
  WriteFile(dir / "real.fix", "old");
  std::filesystem::create_symlink(dir / "real.fix", dir / "link.fix");
  AtomicFile file(dir / "link.fix");
  file.Write("new");
  file.Commit();
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.fix"));
  EXPECT_EQ(ReadFile(dir / "real.fix"), "new");
}

// The three status files with their old text, and the stores that save new
// text over them (longer than the write buffer, so that a save writes more
// than once).
struct StatusFiles {
  StatusFiles() {
    for (int i = 0; i < 4000; ++i) fixes.Add(MakeTestFix("FIX" + std::to_string(i)));
    for (int i = 0; i < 900; ++i) log.Add("line one " + std::to_string(i), "", "result");
    WriteFile(dir / "navorix.fix", oldFix);
    WriteFile(dir / "navorix.his", oldHis);
    WriteFile(dir / "navorix.ini", oldIni);
  }
  // Saves all three, each on its own (a failure does not stop the others);
  // the number of saves that failed.
  int SaveAll(const FileSystemCalls& calls) {
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
    fixSaved = attempt([&] { testing::SaveFixes(fixes, dir / "navorix.fix", {}, calls); });
    hisSaved = attempt([&] { log.SaveToFile(dir / "navorix.his", calls); });
    iniSaved = attempt([&] {
      ProfileFile settings(dir / "navorix.ini", calls);
      settings.WriteInteger("Settings", "LatLonFormat", 2);
      settings.Save();
    });
    return failed;
  }

  TempDir dir;
  const std::string oldFix = "10 20 OLD\r\n";
  const std::string oldHis = "old\r\nhistory\r\nkept\r\n";
  const std::string oldIni = "[Settings]\r\nSpherRadius=6371\r\n";
  FixDatabase fixes;
  LogList log;
  bool fixSaved = false;
  bool hisSaved = false;
  bool iniSaved = false;
};

TEST(AtomicFile, AFailureAtAnyPointOfASaveLeavesEveryPreviousFileByteForByte) {
  const std::vector<std::string> names = {"navorix.fix", "navorix.his", "navorix.ini"};
  // How often a clean save of the three files passes each point, and what
  // it writes.
  std::map<CallPoint, int> calls;
  std::vector<std::string> newTexts;
  {
    StatusFiles files;
    FaultyCalls counting;
    ASSERT_EQ(files.SaveAll(counting.calls), 0);
    for (const CallPoint point : AllCallPoints) calls[point] = counting.Count(point);
    for (const std::string& name : names) newTexts.push_back(ReadFile(files.dir / name));
  }
  for (const CallPoint point : AllCallPoints) {
    ASSERT_GE(calls[point], 3) << CallPointName(point) << ": each save passes every point";
    for (int nth = 1; nth <= calls[point]; ++nth) {
      StatusFiles files;
      const std::string where = std::string(CallPointName(point)) + " call " + std::to_string(nth);
      int failed = 0;
      {
        FaultyCalls faulty(point, nth, EIO);
        failed = files.SaveAll(faulty.calls);
        ASSERT_TRUE(faulty.Fired()) << where;
      }
      // Without its second name the old file cannot be put back, so a
      // failed link alone does not fail the save; every other point does.
      EXPECT_EQ(failed, point == CallPoint::Linkat ? 0 : 1) << where;
      const bool saved[] = {files.fixSaved, files.hisSaved, files.iniSaved};
      const std::string oldTexts[] = {files.oldFix, files.oldHis, files.oldIni};
      for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(ReadFile(files.dir / names[i]), saved[i] ? newTexts[i] : oldTexts[i])
            << where << ", " << names[i];
      }
      EXPECT_EQ(DirEntries(files.dir.Path()), names) << where << ": a temporary file or second name was left";
    }
  }
}

TEST(AtomicFile, AFailedDirectoryFlushOrOwnerIsReportedAndUndone) {
  TempDir dir;
  WriteFile(dir / "keep.fix", "old");
  {
    FaultyCalls faulty(CallPoint::DirectoryFsync, 1, EIO);
    AtomicFile file(dir / "keep.fix", faulty.calls);
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
    FaultyCalls faulty(CallPoint::DirectoryFsync, 1, EIO);
    AtomicFile file(dir / "new.fix", faulty.calls);
    file.Write("new");
    EXPECT_THROW(file.Commit(), Error);
  }
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"keep.fix"});
  {
    // Another user's file would become ours.
    FaultyCalls faulty(CallPoint::Fchown, 1, EPERM);
    try {
      AtomicFile file(dir / "keep.fix", faulty.calls);
      FAIL() << "a file whose owner cannot be kept was taken on";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot write keep.fix: its owner cannot be kept");
    }
  }
  EXPECT_EQ(ReadFile(dir / "keep.fix"), "old");
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"keep.fix"});
}

TEST(AtomicFile, AReadOnlyFileIsRefusedNotReplaced) {
  TempDir dir;
  WriteFile(dir / "ro.fix", "kept");
  ASSERT_EQ(::chmod((dir / "ro.fix").c_str(), 0444), 0);
  try {
    AtomicFile file(dir / "ro.fix");
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
  TempDir dir;
  std::filesystem::create_directory(dir / "real");
  std::filesystem::create_symlink("real/made.fix", dir / "link.fix");
  std::filesystem::create_symlink("link.fix", dir / "chain.fix");
  {
    AtomicFile file(dir / "chain.fix");
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
  EXPECT_THROW(AtomicFile(dir / "lost.fix"), Error);
  EXPECT_THROW(AtomicFile(dir / "loop1.fix"), Error);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "lost.fix"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "loop1.fix"));
  EXPECT_EQ(DirEntries(dir.Path()), (std::vector<std::string>{"chain.fix", "link.fix", "loop1.fix",
                                                              "loop2.fix", "lost.fix", "real"}));
}

TEST(AtomicFile, ANameOfTheLongestLengthSavesAndSavesAgain) {
  TempDir dir;
  const long nameMax = ::pathconf(dir.Path().c_str(), _PC_NAME_MAX);
  const std::string name(static_cast<std::size_t>(nameMax > 0 ? nameMax : 255), 'n');
  for (const char* text : {"first", "second"}) {
    AtomicFile file(dir / name);
    file.Write(text);
    file.Commit();
  }
  EXPECT_EQ(ReadFile(dir / name), "second");
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{name});
}

TEST(AtomicFile, OnlyTheLeftoversOfTheSameTargetAreRemoved) {
  TempDir dir;
  // No process has a number above the kernel's limit of 4194304.
  const std::string dead = ".navorix.fix.nvx-4194999-1";
  const std::string deadLocked = ".navorix.fix.nvx-4194997-3";
  const std::string running = ".navorix.fix.nvx-" + std::to_string(::getppid()) + "-2";
  const std::string own = ".navorix.fix.nvx-" + std::to_string(::getpid()) + "-999999";
  // Names of the same form made for other files, or by the user: a save of
  // navorix.fix has no business with them, dead process or not.
  const std::vector<std::string> others = {".navorix.his.nvx-4194999-1", "..nvx-4194998-17",
                                           ".notes.nvx-999999-1",        ".notes.nvx-4194999-1",
                                           "navorix.fix.nvx-4194999-1",  ".navorix.fi.nvx-4194999-1",
                                           ".notes.nvx-4194999-x",       ".old.tmp4194999_1"};
  for (const std::string& name : {dead, deadLocked, running, own}) WriteFile(dir / name, "x");
  for (const std::string& name : others) WriteFile(dir / name, "mine");
  // A save still under way elsewhere holds a lock on its file.
  const int held = ::open((dir / deadLocked).c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  {
    AtomicFile file(dir / "navorix.fix");
    file.Write("new");
    file.Commit();
  }
  ::close(held);
  std::vector<std::string> expected = others;
  expected.insert(expected.end(), {deadLocked, running, own, "navorix.fix"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(DirEntries(dir.Path()), expected);
  for (const std::string& name : others) EXPECT_EQ(ReadFile(dir / name), "mine") << name;
}

TEST(AtomicFile, TheLeftoverOfALongNameShortenedToFitIsRecognised) {
  TempDir dir;
  const long nameMax = ::pathconf(dir.Path().c_str(), _PC_NAME_MAX);
  ASSERT_GT(nameMax, 40);
  const std::string target(static_cast<std::size_t>(nameMax) - 4, 'n');
  const std::string tail = ".nvx-4194999-1";
  const std::string stale =
      "." + target.substr(0, static_cast<std::size_t>(nameMax) - tail.size() - 1) + tail;
  // The same shortened start, but not as long as the directory allows: no
  // save of the target makes such a name.
  const std::string shorter = "." + target.substr(0, 10) + tail;
  WriteFile(dir / stale, "x");
  WriteFile(dir / shorter, "mine");
  {
    AtomicFile file(dir / target);
    file.Write("new");
    file.Commit();
  }
  EXPECT_EQ(DirEntries(dir.Path()), (std::vector<std::string>{shorter, target}));
}

// The old version, its backup and a lasting copy, and the new text saved
// over them.
struct KeptFiles {
  KeptFiles() {
    WriteFile(dir / "keep.fix", oldText);
    WriteFile(dir / "keep.fix.bak", oldBackup);
    EXPECT_EQ(::chmod((dir / "keep.fix").c_str(), 0640), 0);
  }
  // Saves new_text with a backup and a lasting copy; false when it failed.
  bool Save(const FileSystemCalls& calls, std::string* message = nullptr) {
    try {
      AtomicFile file(dir / "keep.fix", calls, KeepOld{true, "keep.fix.unread-1"});
      for (int i = 0; i < 8000; ++i) file.WriteLine(newText);  // more than one buffer
      file.Commit();
    } catch (const Error& e) {
      if (message != nullptr) *message = e.what();
      return false;
    }
    return true;
  }
  std::string NewText() const {
    std::string text;
    for (int i = 0; i < 8000; ++i) text += newText + "\r\n";
    return text;
  }
  // saved: the new file, the old one as the backup and the lasting copy.
  // Not saved: everything as it was, and nothing more.
  void ExpectSavedOrUntouched(bool saved, const std::string& where) const {
    EXPECT_EQ(ReadFile(dir / "keep.fix"), saved ? NewText() : oldText) << where;
    EXPECT_EQ(ReadFile(dir / "keep.fix.bak"), saved ? oldText : oldBackup) << where;
    std::vector<std::string> names = {"keep.fix", "keep.fix.bak"};
    if (saved) names.push_back("keep.fix.unread-1");
    EXPECT_EQ(DirEntries(dir.Path()), names) << where << ": a temporary or copy was left";
    if (saved) {
      EXPECT_EQ(ReadFile(dir / "keep.fix.unread-1"), oldText) << where;
      struct stat info {};
      EXPECT_EQ(::stat((dir / "keep.fix.bak").c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 07777, 0640u) << where << ": the backup keeps the permissions";
      EXPECT_EQ(::stat((dir / "keep.fix").c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 07777, 0640u) << where;
    }
  }

  TempDir dir;
  const std::string oldText = "10 20 OLD\r\n";
  const std::string oldBackup = "10 20 OLDER\r\n";
  const std::string newText = "30 40 NEW";
};

TEST(AtomicFileBackup, WithoutHardLinksTheOldFileIsCopiedAndTheSaveGoesOn) {
  // FAT and exFAT answer EPERM, a link across file systems EXDEV, others
  // ENOSYS or EOPNOTSUPP; every one of them means "copy instead".
  for (const int code : {0, EPERM, EXDEV, ENOSYS, EOPNOTSUPP}) {
    KeptFiles files;
    FaultyCalls noLinks(CallPoint::Write, 0, EIO, code);
    std::string message;
    EXPECT_TRUE(files.Save(noLinks.calls, &message)) << SystemErrorText(code) << ": " << message;
    files.ExpectSavedOrUntouched(true, SystemErrorText(code));
  }
  // Any other failure of the link is a failure of the save.
  KeptFiles files;
  FaultyCalls failing(CallPoint::Linkat, 0, EIO, EIO);
  std::string message;
  EXPECT_FALSE(files.Save(failing.calls, &message));
  EXPECT_EQ(message, "Cannot back up keep.fix: Input/output error");
  files.ExpectSavedOrUntouched(false, "EIO");
}

// A FAT image mounted through FUSE refuses links (EPERM) and has no owner
// or permission calls at all (ENOSYS); others answer EOPNOTSUPP.
TEST(AtomicFileBackup, AFileSystemWithoutOwnersSavesWhereTheOwnerStaysTheSame) {
  for (const int code : {ENOSYS, EOPNOTSUPP}) {
    KeptFiles files;
    FileSystemCalls fat = SystemCalls();
    fat.linkat = [](int, const char*, int, const char*, int) {
      errno = EPERM;
      return -1;
    };
    fat.fchown = [code](int, uid_t, gid_t) {
      errno = code;
      return -1;
    };
    fat.fchmod = [code](int, mode_t) {
      errno = code;
      return -1;
    };
    std::string message;
    EXPECT_TRUE(files.Save(fat, &message)) << SystemErrorText(code) << ": " << message;
    EXPECT_EQ(ReadFile(files.dir / "keep.fix"), files.NewText());
    EXPECT_EQ(ReadFile(files.dir / "keep.fix.bak"), files.oldText);
    EXPECT_EQ(ReadFile(files.dir / "keep.fix.unread-1"), files.oldText);
    // Another user's file is still never taken on.
    if (::chown((files.dir / "keep.fix").c_str(), 12345, 12345) != 0) continue;  // not the super-user
    EXPECT_FALSE(files.Save(fat, &message));
    EXPECT_EQ(message, "Cannot write keep.fix: its owner cannot be kept");
  }
}

TEST(AtomicFileBackup, AFailureAtAnyPointLeavesTheFileAndItsBackupAsTheyWere) {
  // With hard links, and with copies (every read, write, flush and close of
  // the copies can fail too).
  for (const int links : {0, EPERM}) {
    std::map<CallPoint, int> calls;
    {
      KeptFiles files;
      FaultyCalls counting(CallPoint::Write, 0, EIO, links);
      ASSERT_TRUE(files.Save(counting.calls));
      for (const CallPoint point : AllCallPoints) calls[point] = counting.Count(point);
    }
    for (const CallPoint point : AllCallPoints) {
      for (int nth = 1; nth <= calls[point]; ++nth) {
        KeptFiles files;
        const std::string where = std::string(links != 0 ? "copies, " : "links, ") + CallPointName(point) +
                                  " call " + std::to_string(nth);
        bool saved = false;
        {
          FaultyCalls faulty(point, nth, EIO, links);
          saved = files.Save(faulty.calls);
          ASSERT_TRUE(faulty.Fired()) << where;
        }
        // Only the last directory flush, after the backup is in place, may
        // fail without undoing the save.
        const bool lastFlush = point == CallPoint::DirectoryFsync && nth == calls[point];
        EXPECT_EQ(saved, lastFlush) << where;
        files.ExpectSavedOrUntouched(saved, where);
      }
    }
  }
}

TEST(AtomicFileBackup, AnUnchangedSaveTouchesNothing) {
  KeptFiles files;
  ASSERT_TRUE(files.Save(SystemCalls()));
  std::filesystem::remove(files.dir / "keep.fix.unread-1");
  struct stat before {};
  ASSERT_EQ(::stat((files.dir / "keep.fix").c_str(), &before), 0);
  AtomicFile file(files.dir / "keep.fix", SystemCalls(), KeepOld{true, "keep.fix.unread-2"});
  file.Write(files.NewText());
  EXPECT_EQ(file.Commit(), CommitResult::Unchanged);
  struct stat after {};
  ASSERT_EQ(::stat((files.dir / "keep.fix").c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "the file was not replaced";
  EXPECT_EQ(ReadFile(files.dir / "keep.fix.bak"), files.oldText) << "the backup stays";
  EXPECT_EQ(DirEntries(files.dir.Path()), (std::vector<std::string>{"keep.fix", "keep.fix.bak"}));
}

TEST(AtomicFileBackup, ABackupThatCannotBeReplacedUndoesTheSave) {
  KeptFiles files;
  std::filesystem::remove(files.dir / "keep.fix.bak");
  std::filesystem::create_directory(files.dir / "keep.fix.bak");
  WriteFile(files.dir / "keep.fix.bak/inside", "x");
  std::string message;
  EXPECT_FALSE(files.Save(SystemCalls(), &message));
  EXPECT_EQ(message.rfind("Cannot back up keep.fix: ", 0), 0u) << message;
  EXPECT_EQ(ReadFile(files.dir / "keep.fix"), files.oldText);
  EXPECT_EQ(DirEntries(files.dir.Path()), (std::vector<std::string>{"keep.fix", "keep.fix.bak"}));
  // A lasting name that is taken is never replaced either.
  KeptFiles taken;
  WriteFile(taken.dir / "keep.fix.unread-1", "someone's");
  EXPECT_FALSE(taken.Save(SystemCalls(), &message));
  EXPECT_EQ(message, "Cannot back up keep.fix: File exists");
  EXPECT_EQ(ReadFile(taken.dir / "keep.fix.unread-1"), "someone's");
  EXPECT_EQ(ReadFile(taken.dir / "keep.fix"), taken.oldText);
}

// /dev/shm is a file system of its own on Linux; a status file there,
// reached through a link from the data folder, is saved with its backup
// beside it, where renames and links stay on one file system.
TEST(AtomicFileBackup, ALinkToAnotherFileSystemSavesBesideItsTarget) {
  TempDir dir;
  const testing::OtherFileSystemDir other(dir.Path());
  if (other.Path().empty()) GTEST_SKIP() << "no other file system under /dev/shm";
  const std::string& pattern = other.Path();
  const std::string target = pattern + "/mine.fix";
  WriteFile(target, "old");
  std::filesystem::create_symlink(target, dir / "navorix.fix");
  std::string failure;
  try {
    AtomicFile file(dir / "navorix.fix", SystemCalls(), KeepOld{true, "mine.fix.unread-1"});
    file.Write("new");
    file.Commit();
  } catch (const Error& e) {
    failure = e.what();
  }
  EXPECT_EQ(failure, "");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "navorix.fix"));
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_EQ(ReadFile(target + ".bak"), "old");
  EXPECT_EQ(ReadFile(pattern + "/mine.fix.unread-1"), "old");
  EXPECT_EQ(ReplacedFile(dir / "navorix.fix"), target);
  EXPECT_EQ(DirEntries(dir.Path()), std::vector<std::string>{"navorix.fix"});
}

TEST(AtomicFileBackup, UnreadNamesAreDatedAndNeverTaken) {
  TempDir dir;
  std::tm when{};
  when.tm_year = 2025 - 1900;
  when.tm_mon = 2;
  when.tm_mday = 7;
  when.tm_hour = 9;
  when.tm_min = 5;
  when.tm_sec = 3;
  when.tm_isdst = -1;
  const std::time_t time = std::mktime(&when);
  const std::string first = UnreadName(dir / "navorix.fix", time);
  EXPECT_EQ(first, dir / "navorix.fix.unread-20250307-090503");
  WriteFile(first, "x");
  EXPECT_EQ(UnreadName(dir / "navorix.fix", time), first + "-2");
  EXPECT_EQ(BackupName(dir / "navorix.fix"), dir / "navorix.fix.bak");
}

TEST(RenameNoReplace, NeverOverwritesAnExistingFile) {
  TempDir dir;
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
