// The lock that tells a second copy of the program that the data directory
// is in use, between processes as the program meets it.
#include "stores/instance_lock.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "stores_test_support.h"

namespace navorix {
namespace {

using testing::TempDir;

// Another process that takes the lock of a directory and holds it until it
// is told to end (or is killed).
class OtherCopy {
 public:
  explicit OtherCopy(const std::string& directory) {
    if (::pipe(report_) != 0 || ::pipe(release_) != 0) return;
    std::fflush(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(report_[0]);
      ::close(release_[1]);
      InstanceLock lock(directory);
      const char state = lock.Taken() ? 'T' : 'N';
      if (::write(report_[1], &state, 1) != 1) ::_exit(2);
      char ignored = 0;
      (void)::read(release_[0], &ignored, 1);  // returns when the parent lets go
      ::_exit(0);
    }
    ::close(report_[1]);
    ::close(release_[0]);
  }
  ~OtherCopy() { End(); }
  OtherCopy(const OtherCopy&) = delete;
  OtherCopy& operator=(const OtherCopy&) = delete;

  // Whether the other process took the lock (waits for its answer).
  bool Took() {
    char state = 0;
    return ::read(report_[0], &state, 1) == 1 && state == 'T';
  }
  // Ends it normally, or with SIGKILL as a crash would.
  void End(bool crash = false) {
    if (pid_ <= 0) return;
    if (crash) ::kill(pid_, SIGKILL);
    ::close(release_[1]);
    ::close(report_[0]);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int report_[2] = {-1, -1};
  int release_[2] = {-1, -1};
};

TEST(InstanceLock, ASecondCopyFindsTheDirectoryInUseUntilTheFirstEnds) {
  TempDir dir;
  OtherCopy first(dir.Path());
  ASSERT_TRUE(first.Took());
  InstanceLock second(dir.Path() + "/");
  EXPECT_EQ(second.State(), InstanceLockState::HeldElsewhere);
  EXPECT_FALSE(second.Taken());
  EXPECT_EQ(second.TryAgain(), InstanceLockState::HeldElsewhere);
  first.End();
  EXPECT_EQ(second.TryAgain(), InstanceLockState::Taken);
  // Now the first finds it held, and the lock file stays for the next start.
  OtherCopy third(dir.Path());
  EXPECT_FALSE(third.Took());
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / InstanceLockFileName));
}

TEST(InstanceLock, ACrashedCopyLeavesNoLockBehind) {
  TempDir dir;
  OtherCopy first(dir.Path());
  ASSERT_TRUE(first.Took());
  first.End(true);
  InstanceLock next(dir.Path());
  EXPECT_TRUE(next.Taken());
}

TEST(InstanceLock, TwoLocksOfOneProcessExcludeEachOtherAndDestructionReleases) {
  TempDir dir;
  {
    InstanceLock one(dir.Path());
    ASSERT_TRUE(one.Taken());
    InstanceLock two(dir.Path());
    EXPECT_EQ(two.State(), InstanceLockState::HeldElsewhere);
  }
  InstanceLock again(dir.Path());
  EXPECT_TRUE(again.Taken());
}

TEST(InstanceLock, ALockFileThatCannotServeIsUnavailableAtOnce) {
  TempDir dir;
  InstanceLock missing(dir / "nodir");
  EXPECT_EQ(missing.State(), InstanceLockState::Unavailable);
  EXPECT_EQ(missing.Failure(), "No such file or directory");
  // A named pipe in the lock file's place neither blocks nor counts.
  ASSERT_EQ(::mkfifo((dir / InstanceLockFileName).c_str(), 0600), 0);
  EXPECT_TRUE(testing::EndsWithin(std::chrono::seconds(1), [&dir] {
    InstanceLock lock(dir.Path());
    if (lock.State() != InstanceLockState::Unavailable || lock.Failure() != "not a regular file") {
      throw 1;
    }
  }));
}

}  // namespace
}  // namespace navorix
