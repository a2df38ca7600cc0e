#include "stores/atomic_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>

#include "geometry/error.h"
#include "stores_test_support.h"

namespace navorix {
namespace {

using testing::DirEntries;
using testing::ReadFile;
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
    TAtomicFile file(dir / "keep.fix");
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
  const TFileSystemCalls saved = FileSystemCalls();
  FileSystemCalls().Fsync = [](int) {
    errno = EIO;
    return -1;
  };
  {
    TAtomicFile file(dir / "keep.his");
    file.WriteLine("new");
    EXPECT_THROW(file.Commit(), Error);
  }
  FileSystemCalls() = saved;
  FileSystemCalls().Rename = [](const char*, const char*) {
    errno = EXDEV;
    return -1;
  };
  {
    TAtomicFile file(dir / "keep.his");
    file.WriteLine("new");
    EXPECT_THROW(file.Commit(), Error);
  }
  FileSystemCalls() = saved;
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
