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

// The directory part of Path with its trailing "/", or "" for a bare name.
std::string DirectoryPart(const std::string& Path) {
  const std::size_t slash = Path.find_last_of('/');
  return slash == std::string::npos ? std::string() : Path.substr(0, slash + 1);
}

// Follows FileName through symbolic links to the file a save must replace,
// also when that file does not exist yet (a dangling link is saved through
// and stays a link). 0, or the error number that stops the resolution.
int ResolveLinks(const std::string& FileName, std::string& Path) {
  Path = FileName;
  for (int depth = 0; depth <= MaxLinkDepth; ++depth) {
    struct stat info {};
    if (::lstat(Path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return 0;
    char text[PATH_MAX];
    const ssize_t size = ::readlink(Path.c_str(), text, sizeof text);
    if (size < 0) return errno;
    if (static_cast<std::size_t>(size) == sizeof text) return ENAMETOOLONG;
    if (size == 0) return ENOENT;
    const std::string link(text, static_cast<std::size_t>(size));
    Path = link.front() == '/' ? link : DirectoryPart(Path) + link;
  }
  return ELOOP;
}

// A temporary name for Base that fits NameMax: the target's name is
// shortened, never the part that makes the name ours and unique.
std::string TemporaryName(const std::string& Base, std::size_t NameMax, unsigned Serial) {
  const std::string tail =
      std::string(TempMark) + std::to_string(::getpid()) + "-" + std::to_string(Serial);
  const std::size_t room = NameMax > tail.size() + 1 ? NameMax - tail.size() - 1 : 0;
  return "." + Base.substr(0, room) + tail;
}

// The process that made a file of the temporary's form for the target Base
// (see TemporaryName), or 0 for any other name: only what a save of this
// very target makes is ever taken for a leftover.
pid_t TemporaryOwner(std::string_view Name, std::string_view Base, std::size_t NameMax) {
  if (Name.empty() || Name.front() != '.') return 0;
  const std::size_t mark = Name.rfind(TempMark);
  if (mark == std::string_view::npos || mark == 0) return 0;
  // The target's name, or its start where the whole was shortened to fit.
  const std::string_view stem = Name.substr(1, mark - 1);
  if (stem != Base && !(Name.size() == NameMax && !stem.empty() && Base.starts_with(stem))) {
    return 0;
  }
  const std::string_view rest = Name.substr(mark + TempMark.size());
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

bool IsRunning(pid_t Pid) { return ::kill(Pid, 0) == 0 || errno == EPERM; }

// Removes the temporary files and kept names of earlier saves of the target
// Base whose process no longer runs. Another process's save in progress is
// safe twice over: its process runs, and it holds a lock on its temporary
// file (which also covers a process of another machine sharing the
// directory). The files of this process are left to it.
void RemoveStaleTemporaries(int DirFd, const std::string& Base, std::size_t NameMax) {
  const int scan = ::openat(DirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (scan < 0) return;
  DIR* dir = ::fdopendir(scan);
  if (dir == nullptr) {
    ::close(scan);
    return;
  }
  const pid_t self = ::getpid();
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t owner = TemporaryOwner(entry->d_name, Base, NameMax);
    if (owner <= 0 || owner == self || IsRunning(owner)) continue;
    const int fd =
        ::openat(DirFd, entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) continue;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      (void)::unlinkat(DirFd, entry->d_name, 0);
    }
    ::close(fd);
  }
  ::closedir(dir);
}

// The errors of a hard link on a file system that has none, or none here:
// FAT and exFAT (EPERM), a link across file systems (EXDEV), file systems
// without the call (ENOSYS, EOPNOTSUPP), a file at its most links (EMLINK).
bool WithoutHardLinks(int Code) {
  return Code == EPERM || Code == EXDEV || Code == ENOSYS || Code == EOPNOTSUPP || Code == EMLINK;
}

// A file system that keeps no owners or permission bits of its own (a FAT
// stick mounted through FUSE) answers ENOSYS or EOPNOTSUPP to fchown and
// fchmod. A new file there keeps the old one's owner and permissions all
// the same when it already has that owner and no wider permissions.
bool WithoutOwners(int Code) { return Code == ENOSYS || Code == EOPNOTSUPP; }

bool HasOwnerOf(int Fd, const struct stat& Old) {
  struct stat info {};
  return ::fstat(Fd, &info) == 0 && info.st_uid == Old.st_uid && info.st_gid == Old.st_gid;
}

bool NoWiderThan(int Fd, const struct stat& Old) {
  struct stat info {};
  return ::fstat(Fd, &info) == 0 && (info.st_mode & ~Old.st_mode & PermissionBits) == 0;
}

// Gives the new file Fd the owner and the permissions of Old: 0, OwnerLost,
// or the error number of the permissions.
constexpr int OwnerLost = -1;
int KeepOwnerAndMode(const TFileSystemCalls& Calls, int Fd, const struct stat& Old) {
  if (Calls.Fchown(Fd, Old.st_uid, Old.st_gid) != 0) {
    const int code = errno;
    if (!WithoutOwners(code) || !HasOwnerOf(Fd, Old)) return OwnerLost;
  }
  if (Calls.Fchmod(Fd, Old.st_mode & PermissionBits) != 0) {
    const int code = errno;
    if (!WithoutOwners(code) || !NoWiderThan(Fd, Old)) return code;
  }
  return 0;
}

constexpr std::string_view BackupSuffix = ".bak";
constexpr std::string_view UnreadSuffix = ".unread-";

// Writes all of Size bytes, or returns the error number.
int WriteAll(const TFileSystemCalls& Calls, int Fd, const char* Data, std::size_t Size) {
  while (Size > 0) {
    const ssize_t done = Calls.Write(Fd, Data, Size);
    if (done < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (done == 0) return ENOSPC;
    Data += done;
    Size -= static_cast<std::size_t>(done);
  }
  return 0;
}

// Reads up to Size bytes, as many as the file has; -1 with errno on failure.
ssize_t ReadFull(const TFileSystemCalls& Calls, int Fd, char* Data, std::size_t Size) {
  std::size_t got = 0;
  while (got < Size) {
    const ssize_t now = Calls.Read(Fd, Data + got, Size - got);
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

std::string ReplacedFile(const std::string& FileName) {
  std::string path;
  return ResolveLinks(FileName, path) == 0 ? path : FileName;
}

std::string BackupName(const std::string& Path) { return Path + std::string(BackupSuffix); }

std::string UnreadName(const std::string& Path, std::time_t When) {
  std::tm local {};
  char stamp[32] = "00000000-000000";
  if (::localtime_r(&When, &local) != nullptr) std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string name = Path + std::string(UnreadSuffix) + stamp;
  std::string free = name;
  struct stat info {};
  for (int n = 2; n <= MaxCreateAttempts && ::lstat(free.c_str(), &info) == 0; ++n) {
    free = name + "-" + std::to_string(n);
  }
  return free;
}

TAtomicFile::TAtomicFile(const std::string& FileName, const TFileSystemCalls& Calls,
                         TKeepOld Keep)
    : calls_(Calls), shown_(FileBaseName(FileName)), keep_(std::move(Keep)) {
  std::string path;
  if (const int code = ResolveLinks(FileName, path); code != 0) Fail(code);
  const std::string dir = DirectoryPart(path);
  base_ = path.substr(dir.size());
  if (base_.empty()) Fail(EISDIR);
  dir_fd_ = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd_ < 0) Fail(errno);

  // Only a regular file that may be written is replaced: a directory or a
  // device stays what it is (a save over /dev/null must not replace the
  // device), and a read-only file is the user's way of keeping it, though
  // the directory would let a rename replace it.
  struct stat existing {};
  if (::fstatat(dir_fd_, base_.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
    existed_ = true;
    if (S_ISDIR(existing.st_mode)) Fail(EISDIR);
    if (!S_ISREG(existing.st_mode)) Fail(msg::NotRegularFile);
    // The bits first: the super-user may write every file.
    if ((existing.st_mode & AnyWriteBits) == 0) Fail(msg::ReadOnlyFile);
    if (::faccessat(dir_fd_, base_.c_str(), W_OK, AT_EACCESS) != 0) {
      if (errno == EACCES) Fail(msg::ReadOnlyFile);
      Fail(errno);
    }
  } else if (errno != ENOENT) {
    Fail(errno);
  }

  const long name_max = ::fpathconf(dir_fd_, _PC_NAME_MAX);
  name_max_ = static_cast<std::size_t>(name_max > 0 ? name_max : DefaultNameMax);
  RemoveStaleTemporaries(dir_fd_, base_, name_max_);
  // The name is new for every attempt; O_EXCL never takes over a file that
  // happens to be there. Replacing a file, nobody else may read the new text
  // before it has the old file's permissions.
  int code = 0;
  for (int attempt = 0; attempt < MaxCreateAttempts; ++attempt) {
    temp_ = TemporaryName(base_, name_max_, NextSerial());
    fd_ = ::openat(dir_fd_, temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
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

TAtomicFile::~TAtomicFile() {
  Discard();
  if (dir_fd_ >= 0) ::close(dir_fd_);
}

void TAtomicFile::Discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (dir_fd_ >= 0) {
    if (!temp_.empty()) ::unlinkat(dir_fd_, temp_.c_str(), 0);
    if (!kept_.empty()) ::unlinkat(dir_fd_, kept_.c_str(), 0);
    if (!lasting_.empty()) ::unlinkat(dir_fd_, lasting_.c_str(), 0);
  }
  temp_.clear();
  kept_.clear();
  lasting_.clear();
}

void TAtomicFile::Fail(int Code) { Fail(SystemErrorText(Code)); }

void TAtomicFile::FailBackup(int Code) {
  Discard();
  if (dir_fd_ >= 0) ::close(dir_fd_);
  dir_fd_ = -1;
  throw Error("Cannot back up " + shown_ + ": " + SystemErrorText(Code));
}

void TAtomicFile::Fail(const std::string& Reason) {
  Discard();
  // Also reached from the constructor, whose failure runs no destructor.
  if (dir_fd_ >= 0) ::close(dir_fd_);
  dir_fd_ = -1;
  throw Error("Cannot write " + shown_ + ": " + Reason);
}

void TAtomicFile::Flush() {
  if (const int code = WriteAll(calls_, fd_, buffer_.data(), buffer_.size()); code != 0) Fail(code);
  written_ += buffer_.size();
  buffer_.clear();
}

void TAtomicFile::Write(std::string_view Text) {
  if (fd_ < 0) throw Error("Cannot write " + shown_ + ": file already closed");
  buffer_.append(Text);
  if (buffer_.size() >= BufferSize) Flush();
}

void TAtomicFile::WriteLine(std::string_view Line) {
  Write(Line);
  Write("\r\n");
}

bool TAtomicFile::SameAsTarget() {
  const int old_fd = ::openat(dir_fd_, base_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (old_fd < 0) return false;
  struct stat info {};
  bool same = ::fstat(old_fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<std::uint64_t>(info.st_size) == written_;
  const int new_fd = same ? ::openat(dir_fd_, temp_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW) : -1;
  same = same && new_fd >= 0;
  if (same) {
    const auto old_text = std::make_unique<char[]>(BufferSize);
    const auto new_text = std::make_unique<char[]>(BufferSize);
    for (;;) {
      const ssize_t a = ReadFull(calls_, old_fd, old_text.get(), BufferSize);
      const ssize_t b = ReadFull(calls_, new_fd, new_text.get(), BufferSize);
      // A read that fails proves nothing: the save goes on.
      if (a < 0 || a != b || std::memcmp(old_text.get(), new_text.get(), static_cast<std::size_t>(a)) != 0) {
        same = false;
        break;
      }
      if (a == 0) break;
    }
  }
  if (new_fd >= 0) ::close(new_fd);
  ::close(old_fd);
  return same;
}

int TAtomicFile::CopyFile(const std::string& From, const std::string& To) {
  const int in = ::openat(dir_fd_, From.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (in < 0) return errno;
  struct stat info {};
  if (::fstat(in, &info) != 0) {
    const int code = errno;
    ::close(in);
    return code;
  }
  const int out = ::openat(dir_fd_, To.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
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
  if (code == 0 && calls_.Fsync(out) != 0) code = errno;
  if (calls_.Close(out) != 0 && code == 0) code = errno;
  if (code != 0) (void)::unlinkat(dir_fd_, To.c_str(), 0);
  return code;
}

int TAtomicFile::SecondName(const std::string& From, const std::string& To, bool MayCopy) {
  if (calls_.Linkat(dir_fd_, From.c_str(), dir_fd_, To.c_str(), 0) == 0) return 0;
  const int code = errno;
  if (!MayCopy || !WithoutHardLinks(code)) return code;
  return CopyFile(From, To);
}

TCommitResult TAtomicFile::Commit() {
  if (fd_ < 0) throw Error("Cannot write " + shown_ + ": file already closed");
  Flush();
  // Nothing to replace: the target, its backup and its time stay.
  if (existed_ && SameAsTarget()) {
    Discard();
    return TCommitResult::Unchanged;
  }
  if (calls_.Fsync(fd_) != 0) Fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (calls_.Close(fd) != 0) Fail(errno);
  const bool keeping = keep_.Backup || !keep_.Lasting.empty();
  if (existed_ && !keep_.Lasting.empty()) {
    if (const int code = SecondName(base_, keep_.Lasting, true); code != 0) FailBackup(code);
    lasting_ = keep_.Lasting;
  }
  // The old file keeps a second name until the directory is flushed, so that
  // it can be put back, and then becomes the backup. A save that keeps no
  // backup goes on without it where there are no hard links.
  if (existed_) {
    kept_ = TemporaryName(base_, name_max_, NextSerial());
    if (const int code = SecondName(base_, kept_, keeping); code != 0) {
      kept_.clear();
      // ENOENT: the old file went meanwhile, and there is nothing to keep.
      if (keeping && code != ENOENT) FailBackup(code);
    }
  }
  if (calls_.Renameat(dir_fd_, temp_.c_str(), dir_fd_, base_.c_str()) != 0) Fail(errno);
  temp_.clear();
  // Without the directory on the disk, a crash could bring back the old file
  // after the user was told it was saved. EINVAL: the file system has no
  // directory flush, and nothing more can be done.
  if (calls_.DirectoryFsync(dir_fd_) != 0 && errno != EINVAL) {
    const int code = errno;
    if (!kept_.empty()) {
      if (calls_.Renameat(dir_fd_, kept_.c_str(), dir_fd_, base_.c_str()) == 0) {
        kept_.clear();
      }
    } else if (!existed_) {
      (void)::unlinkat(dir_fd_, base_.c_str(), 0);
    }
    Fail(code);
  }
  if (keep_.Backup && !kept_.empty()) {
    const std::string backup = BackupName(base_);
    if (calls_.Renameat(dir_fd_, kept_.c_str(), dir_fd_, backup.c_str()) != 0) {
      // A save that cannot keep its backup is undone: the old file goes
      // back in place of the new one.
      const int code = errno;
      if (calls_.Renameat(dir_fd_, kept_.c_str(), dir_fd_, base_.c_str()) == 0) {
        kept_.clear();
        (void)calls_.DirectoryFsync(dir_fd_);
      }
      FailBackup(code);
    }
    // Still there only when it was already a name of the backup (a rename
    // between two names of one file does nothing).
    (void)::unlinkat(dir_fd_, kept_.c_str(), 0);
    kept_.clear();
    // The new file is in place whatever this flush says; a crash before it
    // leaves the old backup, and the old file under its kept name.
    (void)calls_.DirectoryFsync(dir_fd_);
  }
  lasting_.clear();
  if (!kept_.empty()) (void)::unlinkat(dir_fd_, kept_.c_str(), 0);
  kept_.clear();
  return TCommitResult::Written;
}

bool RenameNoReplace(const std::string& OldName, const std::string& NewName) {
  if (::renameat2(AT_FDCWD, OldName.c_str(), AT_FDCWD, NewName.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the no-replace flag: test first, then rename.
  struct stat info {};
  if (::lstat(NewName.c_str(), &info) == 0) return false;
  return ::rename(OldName.c_str(), NewName.c_str()) == 0;
}

}  // namespace navorix
