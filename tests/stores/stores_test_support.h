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
class TTempDir {
 public:
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "navorix_stores_XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }
  ~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  // Path of Name inside the directory.
  std::string operator/(const std::string& Name) const { return path_ + "/" + Name; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A fresh directory on another file system than the directory Near, under
// /dev/shm (a file system of its own on Linux), removed at the end; Path()
// is empty when there is none.
class TOtherFileSystemDir {
 public:
  explicit TOtherFileSystemDir(const std::string& Near) {
    std::string pattern = "/dev/shm/navorix_other_XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return;
    struct stat here {}, there {};
    if (::stat(Near.c_str(), &here) == 0 && ::stat(pattern.c_str(), &there) == 0 &&
        here.st_dev != there.st_dev) {
      path_ = pattern;
      return;
    }
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
  }
  ~TOtherFileSystemDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TOtherFileSystemDir(const TOtherFileSystemDir&) = delete;
  TOtherFileSystemDir& operator=(const TOtherFileSystemDir&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& Path, const std::string& Bytes) {
  std::ofstream out(Path, std::ios::binary | std::ios::trunc);
  out << Bytes;
}

inline std::string ReadFile(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Names of the entries of a directory, to see that no temporary file stays.
inline std::vector<std::string> DirEntries(const std::string& Dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// System calls whose writes fail with Code (ENOSPC: a full disk) once
// Budget bytes have been written; hand Calls to the save.
class TFailingWrites {
 public:
  explicit TFailingWrites(std::size_t Budget = 0, int Code = ENOSPC)
      : Calls(SystemCalls()), budget_(Budget), code_(Code) {
    Calls.Write = [this](int fd, const void* data, std::size_t size) -> ssize_t {
      if (budget_ == 0) {
        errno = code_;
        return -1;
      }
      const std::size_t now = std::min(size, budget_);
      budget_ -= now;
      return ::write(fd, data, now);
    };
  }
  TFailingWrites(const TFailingWrites&) = delete;
  TFailingWrites& operator=(const TFailingWrites&) = delete;

  TFileSystemCalls Calls;

 private:
  std::size_t budget_;
  int code_;
};

// System calls that let Allowed reads through and then fail every read
// with EIO (a disk that fails part-way); hand Calls to the load.
class TFailingReads {
 public:
  explicit TFailingReads(int Allowed) : Calls(SystemCalls()), allowed_(Allowed) {
    Calls.Read = [this](int fd, void* data, std::size_t size) -> ssize_t {
      if (allowed_ <= 0) {
        errno = EIO;
        return -1;
      }
      --allowed_;
      return ::read(fd, data, size);
    };
  }
  TFailingReads(const TFailingReads&) = delete;
  TFailingReads& operator=(const TFailingReads&) = delete;

  TFileSystemCalls Calls;

 private:
  int allowed_;
};

// The points at which a save calls the system.
enum class TCallPoint { Write, Fsync, Fchown, Fchmod, Close, Linkat, Renameat, DirectoryFsync };
inline constexpr std::array<TCallPoint, 8> AllCallPoints = {
    TCallPoint::Write,  TCallPoint::Fsync,  TCallPoint::Fchown,   TCallPoint::Fchmod,
    TCallPoint::Close,  TCallPoint::Linkat, TCallPoint::Renameat, TCallPoint::DirectoryFsync};
inline const char* CallPointName(TCallPoint Point) {
  static constexpr const char* Names[] = {"write", "fsync", "fchown", "fchmod",
                                          "close", "linkat", "renameat", "directory fsync"};
  return Names[static_cast<int>(Point)];
}

// System calls that count the calls at every point of a save and make call
// number Nth (1-based; 0: none) at Point fail with Code; hand Calls to the
// save. With NoLinks, every hard link fails with that error number besides,
// as on a file system without hard links.
class TFaultyCalls {
 public:
  explicit TFaultyCalls(TCallPoint Point = TCallPoint::Write, int Nth = 0, int Code = EIO,
                        int NoLinks = 0)
      : Calls(SystemCalls()), point_(Point), nth_(Nth), code_(Code), no_links_(NoLinks) {
    calls_.fill(0);
    Calls.Write = [this](int fd, const void* data, std::size_t size) -> ssize_t {
      return Hit(TCallPoint::Write) ? -1 : ::write(fd, data, size);
    };
    Calls.Fsync = [this](int fd) { return Hit(TCallPoint::Fsync) ? -1 : ::fsync(fd); };
    Calls.Fchown = [this](int fd, uid_t uid, gid_t gid) {
      return Hit(TCallPoint::Fchown) ? -1 : ::fchown(fd, uid, gid);
    };
    Calls.Fchmod = [this](int fd, mode_t mode) {
      return Hit(TCallPoint::Fchmod) ? -1 : ::fchmod(fd, mode);
    };
    // A failed close (a write-back error) has still closed the descriptor.
    Calls.Close = [this](int fd) {
      const int result = ::close(fd);
      return Hit(TCallPoint::Close) ? -1 : result;
    };
    Calls.Linkat = [this](int from_dir, const char* from, int to_dir, const char* to, int flags) {
      if (Hit(TCallPoint::Linkat)) return -1;
      if (no_links_ != 0) {
        errno = no_links_;
        return -1;
      }
      return ::linkat(from_dir, from, to_dir, to, flags);
    };
    Calls.Renameat = [this](int from_dir, const char* from, int to_dir, const char* to) {
      return Hit(TCallPoint::Renameat) ? -1 : ::renameat(from_dir, from, to_dir, to);
    };
    Calls.DirectoryFsync = [this](int fd) {
      return Hit(TCallPoint::DirectoryFsync) ? -1 : ::fsync(fd);
    };
  }
  TFaultyCalls(const TFaultyCalls&) = delete;
  TFaultyCalls& operator=(const TFaultyCalls&) = delete;

  int Count(TCallPoint Point) const { return calls_[static_cast<std::size_t>(Point)]; }
  // True once the chosen call has failed.
  bool Fired() const { return fired_; }

  TFileSystemCalls Calls;

 private:
  bool Hit(TCallPoint Point) {
    const int call = ++calls_[static_cast<std::size_t>(Point)];
    if (Point != point_ || call != nth_) return false;
    fired_ = true;
    errno = code_;
    return true;
  }

  TCallPoint point_;
  int nth_;
  int code_;
  int no_links_;
  bool fired_ = false;
  std::array<int, AllCallPoints.size()> calls_{};
};

// Runs Action in a child process and tells whether it returned within
// Limit; an exception from Action counts as a failure, and a child that
// blocks is killed.
template <typename F>
bool EndsWithin(std::chrono::milliseconds Limit, F Action) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    int status = 0;
    try {
      Action();
    } catch (...) {
      status = 1;
    }
    ::_exit(status);
  }
  const auto deadline = std::chrono::steady_clock::now() + Limit;
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
inline FixRecord MakeTestFix(const std::string& Name, long double LatDeg = 10.0L,
                             long double LonDeg = 20.0L, const TEarthModel& E = TEarthModel{}) {
  FixRecord fix;
  fix.Position = PosFromLatLon(E, LatDeg * DegToRad, LonDeg * DegToRad);
  fix.Name = Name;
  fix.Valid = true;
  return fix;
}

inline bool LoadFixes(TFixDB& Fixes, const std::string& FileName, const TSettings& S = TSettings{}) {
  return Fixes.LoadFromFile(FileName, S.Display.PlusDir, S.Earth);
}
inline void SaveFixes(const TFixDB& Fixes, const std::string& FileName,
                      const TSettings& S = TSettings{},
                      const TFileSystemCalls& Calls = SystemCalls()) {
  Fixes.SaveToFile(FileName, S.Display, S.Earth, Calls);
}
inline std::string FileLine(const FixRecord& Fix, const TSettings& S = TSettings{}) {
  return FixFileLine(S.Display, S.Earth, Fix);
}

}  // namespace navorix::testing
