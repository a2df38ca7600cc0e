// Whether another copy of the program works on the same data directory.
//
// The copies agree through an exclusive lock on the file "navorix.lock" in
// that directory: the first copy takes it, a later one finds it held. The
// system releases the lock when its holder ends in any way (also a crash),
// so a lock is never left behind. The lock file itself stays: removing it
// would let two copies lock two different files of the same name.
#pragma once

#include <string>

namespace navorix {

inline constexpr const char* InstanceLockFileName = "navorix.lock";

namespace msg {
inline constexpr const char* DataDirInUse = "Another copy of Navorix uses the same data directory";
}  // namespace msg

enum class InstanceLockState {
  Taken,          // this object holds the lock
  HeldElsewhere,  // another process (or another object) holds it
  Unavailable,    // the lock file cannot be opened or locked; see Failure
};

class InstanceLock {
 public:
  // Tries once, without waiting, to take the lock of directory (with or
  // without a trailing "/"), creating the lock file when it is missing.
  explicit InstanceLock(const std::string& directory);
  // Releases the lock when this object holds it.
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  InstanceLockState State() const { return state_; }
  bool Taken() const { return state_ == InstanceLockState::Taken; }
  // The platform's reason (or "not a regular file") when Unavailable.
  const std::string& Failure() const { return failure_; }

  // Tries to take the lock again, without waiting (after the other copy
  // has ended, for instance); the new state.
  InstanceLockState TryAgain();

 private:
  std::string path_;
  int fd_ = -1;
  InstanceLockState state_ = InstanceLockState::Unavailable;
  std::string failure_;
};

}  // namespace navorix
