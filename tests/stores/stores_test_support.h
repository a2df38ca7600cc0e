// Shared pieces of the store tests: a scratch directory, whole-file
// reading and writing, failing writes, and fixes and fix files under given
// settings (the initial ones unless a test says otherwise).
#pragma once

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "geometry/earth_model.h"
#include "stores/atomic_file.h"
#include "stores/fix_db.h"
#include "stores/settings.h"
#include "text/fix_record.h"
#include "text/format.h"

namespace navorix::testing {

// A fresh directory, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "navorix_stores_XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // Path of Name inside the directory.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A fresh directory on another file system than the directory Near, under
// /dev/shm (a file system of its own on Linux), removed at the end; Path()
// is empty when there is none.
class OtherFileSystemDir {
 public:
  explicit OtherFileSystemDir(const std::string& near) {
    std::string pattern = "/dev/shm/navorix_other_XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return;
    struct stat here {
    }, there{};
    if (::stat(near.c_str(), &here) == 0 && ::stat(pattern.c_str(), &there) == 0 &&
        here.st_dev != there.st_dev) {
      path_ = pattern;
      return;
    }
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
  }
  ~OtherFileSystemDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  OtherFileSystemDir(const OtherFileSystemDir&) = delete;
  OtherFileSystemDir& operator=(const OtherFileSystemDir&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Names of the entries of a directory, to see that no temporary file stays.
inline std::vector<std::string> DirEntries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// System calls whose writes fail with Code (ENOSPC: a full disk) once
// Budget bytes have been written; hand Calls to the save.
class FailingWrites {
 public:
  explicit FailingWrites(std::size_t budget = 0, int code = ENOSPC)
      : calls(SystemCalls()), budget_(budget), code_(code) {
    calls.write = [this](int fd, const void* data, std::size_t size) -> ssize_t {
      if (budget_ == 0) {
        errno = code_;
        return -1;
      }
      const std::size_t now = std::min(size, budget_);
      budget_ -= now;
      return ::write(fd, data, now);
    };
  }
  FailingWrites(const FailingWrites&) = delete;
  FailingWrites& operator=(const FailingWrites&) = delete;

  FileSystemCalls calls;

 private:
  std::size_t budget_;
  int code_;
};

// System calls that let Allowed reads through and then fail every read
// with EIO (a disk that fails part-way); hand Calls to the load.
class FailingReads {
 public:
  explicit FailingReads(int allowed) : calls(SystemCalls()), allowed_(allowed) {
    calls.read = [this](int fd, void* data, std::size_t size) -> ssize_t {
      if (allowed_ <= 0) {
        errno = EIO;
        return -1;
      }
      --allowed_;
      return ::read(fd, data, size);
    };
  }
  FailingReads(const FailingReads&) = delete;
  FailingReads& operator=(const FailingReads&) = delete;

  FileSystemCalls calls;

 private:
  int allowed_;
};

// The points at which a save calls the system.
enum class CallPoint { Write, Fsync, Fchown, Fchmod, Close, Linkat, Renameat, DirectoryFsync };
inline constexpr std::array<CallPoint, 8> AllCallPoints = {
    CallPoint::Write, CallPoint::Fsync,  CallPoint::Fchown,   CallPoint::Fchmod,
    CallPoint::Close, CallPoint::Linkat, CallPoint::Renameat, CallPoint::DirectoryFsync};
inline const char* CallPointName(CallPoint point) {
  static constexpr const char* Names[] = {"write", "fsync",  "fchown",   "fchmod",
                                          "close", "linkat", "renameat", "directory fsync"};
  return Names[static_cast<int>(point)];
}

// System calls that count the calls at every point of a save and make call
// number Nth (1-based; 0: none) at Point fail with Code; hand Calls to the
// save. With noLinks, every hard link fails with that error number besides,
// as on a file system without hard links.
class FaultyCalls {
 public:
  explicit FaultyCalls(CallPoint point = CallPoint::Write, int nth = 0, int code = EIO, int noLinks = 0)
      : calls(SystemCalls()), point_(point), nth_(nth), code_(code), noLinks_(noLinks) {
    calls_.fill(0);
    calls.write = [this](int fd, const void* data, std::size_t size) -> ssize_t {
      return Hit(CallPoint::Write) ? -1 : ::write(fd, data, size);
    };
    calls.fsync = [this](int fd) { return Hit(CallPoint::Fsync) ? -1 : ::fsync(fd); };
    calls.fchown = [this](int fd, uid_t uid, gid_t gid) {
      return Hit(CallPoint::Fchown) ? -1 : ::fchown(fd, uid, gid);
    };
    calls.fchmod = [this](int fd, mode_t mode) { return Hit(CallPoint::Fchmod) ? -1 : ::fchmod(fd, mode); };
    // A failed close (a write-back error) has still closed the descriptor.
    calls.close = [this](int fd) {
      const int result = ::close(fd);
      return Hit(CallPoint::Close) ? -1 : result;
    };
    calls.linkat = [this](int fromDir, const char* from, int toDir, const char* to, int flags) {
      if (Hit(CallPoint::Linkat)) return -1;
      if (noLinks_ != 0) {
        errno = noLinks_;
        return -1;
      }
      return ::linkat(fromDir, from, toDir, to, flags);
    };
    calls.renameat = [this](int fromDir, const char* from, int toDir, const char* to) {
      return Hit(CallPoint::Renameat) ? -1 : ::renameat(fromDir, from, toDir, to);
    };
    calls.directoryFsync = [this](int fd) { return Hit(CallPoint::DirectoryFsync) ? -1 : ::fsync(fd); };
  }
  FaultyCalls(const FaultyCalls&) = delete;
  FaultyCalls& operator=(const FaultyCalls&) = delete;

  int Count(CallPoint point) const { return calls_[static_cast<std::size_t>(point)]; }
  // True once the chosen call has failed.
  bool Fired() const { return fired_; }

  FileSystemCalls calls;

 private:
  bool Hit(CallPoint point) {
    const int call = ++calls_[static_cast<std::size_t>(point)];
    if (point != point_ || call != nth_) return false;
    fired_ = true;
    errno = code_;
    return true;
  }

  CallPoint point_;
  int nth_;
  int code_;
  int noLinks_;
  bool fired_ = false;
  std::array<int, AllCallPoints.size()> calls_{};
};

// Runs action in a child process and tells whether it returned within
// limit; an exception from action counts as a failure, and a child that
// blocks is killed.
template <typename F>
bool EndsWithin(std::chrono::milliseconds limit, F action) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    int status = 0;
    try {
      action();
    } catch (...) {
      status = 1;
    }
    ::_exit(status);
  }
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, &status, 0);
  return false;
}

// A valid fix at latitude/longitude given in degrees.
inline FixRecord MakeTestFix(const std::string& name, long double latDeg = 10.0L, long double lonDeg = 20.0L,
                             const EarthModel& E = EarthModel{}) {
  FixRecord fix;
  fix.position = PosFromLatLon(E, latDeg * DegToRad, lonDeg * DegToRad);
  fix.name = name;
  fix.valid = true;
  return fix;
}

inline bool LoadFixes(FixDatabase& fixes, const std::string& fileName,
                      const ProgramSettings& S = ProgramSettings{}) {
  return fixes.LoadFromFile(fileName, S.display.plusDir, S.earth);
}
inline void SaveFixes(const FixDatabase& fixes, const std::string& fileName,
                      const ProgramSettings& S = ProgramSettings{},
                      const FileSystemCalls& calls = SystemCalls()) {
  fixes.SaveToFile(fileName, S.display, S.earth, calls);
}
inline std::string FileLine(const FixRecord& fix, const ProgramSettings& S = ProgramSettings{}) {
  return FixFileLine(S.display, S.earth, fix);
}

}  // namespace navorix::testing
