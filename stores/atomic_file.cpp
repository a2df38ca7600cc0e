#include "stores/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <ctime>
#include <memory>

#include "geometry/error.h"
#include "stores/line_reader.h"

namespace navorix {

namespace {

// The kernel's own limit of links followed in one path.
constexpr int MaxLinkDepth = 40;
// The longest file name where the file system does not say (ext4, xfs, tmpfs).
constexpr long DefaultNameMax = 255;
// What sets our temporary files apart: ".<target>.nvx-<pid>-<serial>".
constexpr std::string_view TempMark = ".nvx-";
constexpr int MaxCreateAttempts = 100;
constexpr mode_t PermissionBits = 07777;
constexpr mode_t AnyWriteBits = 0222;

// The directory part of path with its trailing "/", or "" for a bare name.
std::string DirectoryPart(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows fileName through symbolic links to the file a save must replace,
// also when that file does not exist yet (a dangling link is saved through
// and stays a link). 0, or the error number that stops the resolution.
int ResolveLinks(const std::string& fileName, std::string& path) {
  path = fileName;
  for (int depth = 0; depth <= MaxLinkDepth; ++depth) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return 0;
    char text[PATH_MAX];
    const ssize_t size = ::readlink(path.c_str(), text, sizeof text);
    if (size < 0) return errno;
    if (static_cast<std::size_t>(size) == sizeof text) return ENAMETOOLONG;
    if (size == 0) return ENOENT;
    const std::string link(text, static_cast<std::size_t>(size));
    path = link.front() == '/' ? link : DirectoryPart(path) + link;
  }
  return ELOOP;
}

// A temporary name for base that fits nameMax: the target's name is
// shortened, never the part that makes the name ours and unique.
std::string TemporaryName(const std::string& base, std::size_t nameMax, unsigned serial) {
  const std::string tail = std::string(TempMark) + std::to_string(::getpid()) + "-" + std::to_string(serial);
  const std::size_t room = nameMax > tail.size() + 1 ? nameMax - tail.size() - 1 : 0;
  return "." + base.substr(0, room) + tail;
}

// The process that made a file of the temporary's form for the target base
// (see TemporaryName), or 0 for any other name: only what a save of this
// very target makes is ever taken for a leftover.
pid_t TemporaryOwner(std::string_view name, std::string_view base, std::size_t nameMax) {
  if (name.empty() || name.front() != '.') return 0;
  const std::size_t mark = name.rfind(TempMark);
  if (mark == std::string_view::npos || mark == 0) return 0;
  // The target's name, or its start where the whole was shortened to fit.
  const std::string_view stem = name.substr(1, mark - 1);
  if (stem != base && !(name.size() == nameMax && !stem.empty() && base.starts_with(stem))) {
    return 0;
  }
  const std::string_view rest = name.substr(mark + TempMark.size());
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos || dash == 0 || dash + 1 == rest.size()) return 0;
  const std::string_view serial = rest.substr(dash + 1);
  for (const char c : serial) {
    if (c < '0' || c > '9') return 0;
  }
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + dash, pid);
  return error == std::errc() && end == rest.data() + dash && pid > 0 ? pid : 0;
}

bool IsRunning(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// Removes the temporary files and kept names of earlier saves of the target
// base whose process no longer runs. Another process's save in progress is
// safe twice over: its process runs, and it holds a lock on its temporary
// file (which also covers a process of another machine sharing the
// directory). The files of this process are left to it.
void RemoveStaleTemporaries(int dirFd, const std::string& base, std::size_t nameMax) {
  const int scan = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (scan < 0) return;
  DIR* dir = ::fdopendir(scan);
  if (dir == nullptr) {
    ::close(scan);
    return;
  }
  const pid_t self = ::getpid();
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t owner = TemporaryOwner(entry->d_name, base, nameMax);
    if (owner <= 0 || owner == self || IsRunning(owner)) continue;
    const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) continue;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      (void)::unlinkat(dirFd, entry->d_name, 0);
    }
    ::close(fd);
  }
  ::closedir(dir);
}

// The errors of a hard link on a file system that has none, or none here:
// FAT and exFAT (EPERM), a link across file systems (EXDEV), file systems
// without the call (ENOSYS, EOPNOTSUPP), a file at its most links (EMLINK).
bool WithoutHardLinks(int code) {
  return code == EPERM || code == EXDEV || code == ENOSYS || code == EOPNOTSUPP || code == EMLINK;
}

// A file system that keeps no owners or permission bits of its own (a FAT
// stick mounted through FUSE) answers ENOSYS or EOPNOTSUPP to fchown and
// fchmod. A new file there keeps the old one's owner and permissions all
// the same when it already has that owner and no wider permissions.
bool WithoutOwners(int code) { return code == ENOSYS || code == EOPNOTSUPP; }

bool HasOwnerOf(int fd, const struct stat& old) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && info.st_uid == old.st_uid && info.st_gid == old.st_gid;
}

bool NoWiderThan(int fd, const struct stat& old) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && (info.st_mode & ~old.st_mode & PermissionBits) == 0;
}

// Gives the new file Fd the owner and the permissions of Old: 0, OwnerLost,
// or the error number of the permissions.
constexpr int OwnerLost = -1;
int KeepOwnerAndMode(const FileSystemCalls& calls, int fd, const struct stat& old) {
  if (calls.fchown(fd, old.st_uid, old.st_gid) != 0) {
    const int code = errno;
    if (!WithoutOwners(code) || !HasOwnerOf(fd, old)) return OwnerLost;
  }
  if (calls.fchmod(fd, old.st_mode & PermissionBits) != 0) {
    const int code = errno;
    if (!WithoutOwners(code) || !NoWiderThan(fd, old)) return code;
  }
  return 0;
}

constexpr std::string_view BackupSuffix = ".bak";
constexpr std::string_view UnreadSuffix = ".unread-";

// Writes all of size bytes, or returns the error number.
int WriteAll(const FileSystemCalls& calls, int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t done = calls.write(fd, data, size);
    if (done < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (done == 0) return ENOSPC;
    data += done;
    size -= static_cast<std::size_t>(done);
  }
  return 0;
}

// Reads up to size bytes, as many as the file has; -1 with errno on failure.
ssize_t ReadFull(const FileSystemCalls& calls, int fd, char* data, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t now = calls.read(fd, data + got, size - got);
    if (now < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (now == 0) break;
    got += static_cast<std::size_t>(now);
  }
  return static_cast<ssize_t>(got);
}

}  // namespace

std::string ReplacedFile(const std::string& fileName) {
  std::string path;
  return ResolveLinks(fileName, path) == 0 ? path : fileName;
}

std::string BackupName(const std::string& path) { return path + std::string(BackupSuffix); }

std::string UnreadName(const std::string& path, std::time_t when) {
  std::tm local{};
  char stamp[32] = "00000000-000000";
  if (::localtime_r(&when, &local) != nullptr) std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string name = path + std::string(UnreadSuffix) + stamp;
  std::string free = name;
  struct stat info {};
  for (int n = 2; n <= MaxCreateAttempts && ::lstat(free.c_str(), &info) == 0; ++n) {
    free = name + "-" + std::to_string(n);
  }
  return free;
}

AtomicFile::AtomicFile(const std::string& fileName, const FileSystemCalls& calls, KeepOld keep)
    : calls_(calls), shown_(FileBaseName(fileName)), keep_(std::move(keep)) {
  std::string path;
  if (const int code = ResolveLinks(fileName, path); code != 0) Fail(code);
  const std::string dir = DirectoryPart(path);
  base_ = path.substr(dir.size());
  if (base_.empty()) Fail(EISDIR);
  dirFd_ = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd_ < 0) Fail(errno);

  // Only a regular file that may be written is replaced: a directory or a
  // device stays what it is (a save over /dev/null must not replace the
  // device), and a read-only file is the user's way of keeping it, though
  // the directory would let a rename replace it.
  struct stat existing {};
  if (::fstatat(dirFd_, base_.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
    existed_ = true;
    if (S_ISDIR(existing.st_mode)) Fail(EISDIR);
    if (!S_ISREG(existing.st_mode)) Fail(msg::NotRegularFile);
    // The bits first: the super-user may write every file.
    if ((existing.st_mode & AnyWriteBits) == 0) Fail(msg::ReadOnlyFile);
    if (::faccessat(dirFd_, base_.c_str(), W_OK, AT_EACCESS) != 0) {
      if (errno == EACCES) Fail(msg::ReadOnlyFile);
      Fail(errno);
    }
  } else if (errno != ENOENT) {
    Fail(errno);
  }

  const long nameMax = ::fpathconf(dirFd_, _PC_NAME_MAX);
  nameMax_ = static_cast<std::size_t>(nameMax > 0 ? nameMax : DefaultNameMax);
  RemoveStaleTemporaries(dirFd_, base_, nameMax_);
  // The name is new for every attempt; O_EXCL never takes over a file that
  // happens to be there. Replacing a file, nobody else may read the new text
  // before it has the old file's permissions.
  int code = 0;
  for (int attempt = 0; attempt < MaxCreateAttempts; ++attempt) {
    temp_ = TemporaryName(base_, nameMax_, NextSerial());
    fd_ = ::openat(dirFd_, temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                   existed_ ? 0600 : 0666);
    if (fd_ >= 0) break;
    code = errno;
    if (code != EEXIST) break;
  }
  if (fd_ < 0) {
    temp_.clear();
    Fail(code);
  }
  // Tells the cleaning of another save that this file is in use.
  (void)::flock(fd_, LOCK_EX | LOCK_NB);
  // A replaced file keeps its owner and permissions; a file whose owner
  // cannot be kept (another user's) is not replaced.
  if (existed_) {
    const int kept = KeepOwnerAndMode(calls_, fd_, existing);
    if (kept == OwnerLost) Fail(msg::OwnerNotKept);
    if (kept != 0) Fail(kept);
  }
  buffer_.reserve(BufferSize);
}

AtomicFile::~AtomicFile() {
  Discard();
  if (dirFd_ >= 0) ::close(dirFd_);
}

void AtomicFile::Discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (dirFd_ >= 0) {
    if (!temp_.empty()) ::unlinkat(dirFd_, temp_.c_str(), 0);
    if (!kept_.empty()) ::unlinkat(dirFd_, kept_.c_str(), 0);
    if (!lasting_.empty()) ::unlinkat(dirFd_, lasting_.c_str(), 0);
  }
  temp_.clear();
  kept_.clear();
  lasting_.clear();
}

void AtomicFile::Fail(int code) { Fail(SystemErrorText(code)); }

void AtomicFile::FailBackup(int code) {
  Discard();
  if (dirFd_ >= 0) ::close(dirFd_);
  dirFd_ = -1;
  throw Error("Cannot back up " + shown_ + ": " + SystemErrorText(code));
}

void AtomicFile::Fail(const std::string& reason) {
  Discard();
  // Also reached from the constructor, whose failure runs no destructor.
  if (dirFd_ >= 0) ::close(dirFd_);
  dirFd_ = -1;
  throw Error("Cannot write " + shown_ + ": " + reason);
}

void AtomicFile::Flush() {
  if (const int code = WriteAll(calls_, fd_, buffer_.data(), buffer_.size()); code != 0) Fail(code);
  written_ += buffer_.size();
  buffer_.clear();
}

void AtomicFile::Write(std::string_view text) {
  if (fd_ < 0) throw Error("Cannot write " + shown_ + ": file already closed");
  buffer_.append(text);
  if (buffer_.size() >= BufferSize) Flush();
}

void AtomicFile::WriteLine(std::string_view line) {
  Write(line);
  Write("\r\n");
}

bool AtomicFile::SameAsTarget() {
  const int oldFd = ::openat(dirFd_, base_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (oldFd < 0) return false;
  struct stat info {};
  bool same = ::fstat(oldFd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<std::uint64_t>(info.st_size) == written_;
  const int newFd = same ? ::openat(dirFd_, temp_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW) : -1;
  same = same && newFd >= 0;
  if (same) {
    const auto oldText = std::make_unique<char[]>(BufferSize);
    const auto newText = std::make_unique<char[]>(BufferSize);
    for (;;) {
      const ssize_t a = ReadFull(calls_, oldFd, oldText.get(), BufferSize);
      const ssize_t b = ReadFull(calls_, newFd, newText.get(), BufferSize);
      // A read that fails proves nothing: the save goes on.
      if (a < 0 || a != b || std::memcmp(oldText.get(), newText.get(), static_cast<std::size_t>(a)) != 0) {
        same = false;
        break;
      }
      if (a == 0) break;
    }
  }
  if (newFd >= 0) ::close(newFd);
  ::close(oldFd);
  return same;
}

int AtomicFile::CopyFile(const std::string& from, const std::string& to) {
  const int in = ::openat(dirFd_, from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (in < 0) return errno;
  struct stat info {};
  if (::fstat(in, &info) != 0) {
    const int code = errno;
    ::close(in);
    return code;
  }
  const int out = ::openat(dirFd_, to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (out < 0) {
    const int code = errno;
    ::close(in);
    return code;
  }
  // The copy stands for the old file: its bytes on the disk, its owner and
  // its permissions.
  int code = 0;
  const auto buffer = std::make_unique<char[]>(BufferSize);
  for (;;) {
    const ssize_t got = ReadFull(calls_, in, buffer.get(), BufferSize);
    if (got < 0) {
      code = errno;
      break;
    }
    if (got == 0) break;
    code = WriteAll(calls_, out, buffer.get(), static_cast<std::size_t>(got));
    if (code != 0) break;
  }
  ::close(in);
  if (code == 0) code = KeepOwnerAndMode(calls_, out, info);
  if (code == OwnerLost) code = EPERM;
  if (code == 0 && calls_.fsync(out) != 0) code = errno;
  if (calls_.close(out) != 0 && code == 0) code = errno;
  if (code != 0) (void)::unlinkat(dirFd_, to.c_str(), 0);
  return code;
}

int AtomicFile::SecondName(const std::string& from, const std::string& to, bool mayCopy) {
  if (calls_.linkat(dirFd_, from.c_str(), dirFd_, to.c_str(), 0) == 0) return 0;
  const int code = errno;
  if (!mayCopy || !WithoutHardLinks(code)) return code;
  return CopyFile(from, to);
}

CommitResult AtomicFile::Commit() {
  if (fd_ < 0) throw Error("Cannot write " + shown_ + ": file already closed");
  Flush();
  // Nothing to replace: the target, its backup and its time stay.
  if (existed_ && SameAsTarget()) {
    Discard();
    return CommitResult::Unchanged;
  }
  if (calls_.fsync(fd_) != 0) Fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (calls_.close(fd) != 0) Fail(errno);
  const bool keeping = keep_.backup || !keep_.lasting.empty();
  if (existed_ && !keep_.lasting.empty()) {
    if (const int code = SecondName(base_, keep_.lasting, true); code != 0) FailBackup(code);
    lasting_ = keep_.lasting;
  }
  // The old file keeps a second name until the directory is flushed, so that
  // it can be put back, and then becomes the backup. A save that keeps no
  // backup goes on without it where there are no hard links.
  if (existed_) {
    kept_ = TemporaryName(base_, nameMax_, NextSerial());
    if (const int code = SecondName(base_, kept_, keeping); code != 0) {
      kept_.clear();
      // ENOENT: the old file went meanwhile, and there is nothing to keep.
      if (keeping && code != ENOENT) FailBackup(code);
    }
  }
  if (calls_.renameat(dirFd_, temp_.c_str(), dirFd_, base_.c_str()) != 0) Fail(errno);
  temp_.clear();
  // Without the directory on the disk, a crash could bring back the old file
  // after the user was told it was saved. EINVAL: the file system has no
  // directory flush, and nothing more can be done.
  if (calls_.directoryFsync(dirFd_) != 0 && errno != EINVAL) {
    const int code = errno;
    if (!kept_.empty()) {
      if (calls_.renameat(dirFd_, kept_.c_str(), dirFd_, base_.c_str()) == 0) {
        kept_.clear();
      }
    } else if (!existed_) {
      (void)::unlinkat(dirFd_, base_.c_str(), 0);
    }
    Fail(code);
  }
  if (keep_.backup && !kept_.empty()) {
    const std::string backup = BackupName(base_);
    if (calls_.renameat(dirFd_, kept_.c_str(), dirFd_, backup.c_str()) != 0) {
      // A save that cannot keep its backup is undone: the old file goes
      // back in place of the new one.
      const int code = errno;
      if (calls_.renameat(dirFd_, kept_.c_str(), dirFd_, base_.c_str()) == 0) {
        kept_.clear();
        (void)calls_.directoryFsync(dirFd_);
      }
      FailBackup(code);
    }
    // Still there only when it was already a name of the backup (a rename
    // between two names of one file does nothing).
    (void)::unlinkat(dirFd_, kept_.c_str(), 0);
    kept_.clear();
    // The new file is in place whatever this flush says; a crash before it
    // leaves the old backup, and the old file under its kept name.
    (void)calls_.directoryFsync(dirFd_);
  }
  lasting_.clear();
  if (!kept_.empty()) (void)::unlinkat(dirFd_, kept_.c_str(), 0);
  kept_.clear();
  return CommitResult::Written;
}

bool RenameNoReplace(const std::string& oldName, const std::string& newName) {
  if (::renameat2(AT_FDCWD, oldName.c_str(), AT_FDCWD, newName.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the no-replace flag: test first, then rename.
  struct stat info {};
  if (::lstat(newName.c_str(), &info) == 0) return false;
  return ::rename(oldName.c_str(), newName.c_str()) == 0;
}

}  // namespace navorix
