#include "stores/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "stores/line_reader.h"

namespace navorix {

namespace {

// Never waits and never follows a link: a named pipe or a link put in the
// lock file's place cannot hold up or redirect the start.
constexpr int OpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
constexpr mode_t LockFileMode = 0644;

}  // namespace

InstanceLock::InstanceLock(const std::string& directory)
    : path_(directory.empty() || directory.back() == '/' ? directory + InstanceLockFileName
                                                         : directory + "/" + InstanceLockFileName) {
  TryAgain();
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

InstanceLockState InstanceLock::TryAgain() {
  if (state_ == InstanceLockState::Taken) return state_;
  failure_.clear();
  if (fd_ < 0) {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | OpenFlags, LockFileMode);
    // A lock file of another user, or on a read-only disk, can still be
    // locked: flock needs no write access.
    if (fd_ < 0 && (errno == EACCES || errno == EROFS)) fd_ = ::open(path_.c_str(), O_RDONLY | OpenFlags);
    if (fd_ < 0) {
      failure_ = SystemErrorText(errno);
      return state_ = InstanceLockState::Unavailable;
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
      failure_ = msg::NotRegularFile;
      ::close(fd_);
      fd_ = -1;
      return state_ = InstanceLockState::Unavailable;
    }
  }
  // flock, not fcntl: its lock belongs to this open file, so a second object
  // of the same process finds it held too, and closing another descriptor of
  // the file does not drop it.
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return state_ = InstanceLockState::Taken;
  if (errno == EWOULDBLOCK) return state_ = InstanceLockState::HeldElsewhere;
  failure_ = SystemErrorText(errno);
  return state_ = InstanceLockState::Unavailable;
}

}  // namespace navorix
