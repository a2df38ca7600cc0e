#include "stores/atomic_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "geometry/error.h"
#include "stores/line_reader.h"

namespace navorix {

TFileSystemCalls& FileSystemCalls() {
  static TFileSystemCalls calls{::write, ::fsync, ::rename};
  return calls;
}

namespace {

// A symbolic link is saved through: the file it points to is replaced and
// the link stays.
std::string ResolvedTarget(const std::string& FileName) {
  struct stat info {};
  if (::lstat(FileName.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return FileName;
  char resolved[PATH_MAX];
  if (::realpath(FileName.c_str(), resolved) == nullptr) return FileName;
  return resolved;
}

// Asks the disk to keep the directory entry of the renamed file; a failure
// here does not make the save fail, the file itself is complete.
void SyncDirectoryOf(const std::string& FileName) {
  const std::size_t slash = FileName.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : FileName.substr(0, slash + 1);
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

}  // namespace

TAtomicFile::TAtomicFile(const std::string& FileName) : target_(ResolvedTarget(FileName)) {
  // Only a regular file is replaced: a directory or a device stays what it
  // is (a save over /dev/null must not replace the device).
  struct stat existing {};
  const bool exists = ::stat(target_.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) Fail(EISDIR);
  if (exists && !S_ISREG(existing.st_mode)) {
    throw Error("Cannot write " + FileBaseName(target_) + ": not a regular file");
  }
  // The name is new for every attempt; O_EXCL never takes over a file that
  // happens to be there.
  static unsigned counter = 0;
  int code = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_ = target_ + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) break;
    code = errno;
    if (code != EEXIST) break;
  }
  if (fd_ < 0) {
    temp_.clear();
    Fail(code);
  }
  // A replaced file keeps its owner and permissions where the system lets us.
  if (exists) {
    (void)::fchown(fd_, existing.st_uid, existing.st_gid);
    (void)::fchmod(fd_, existing.st_mode & 07777);
  }
  buffer_.reserve(BufferSize);
}

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

void TAtomicFile::Fail(int Code) {
  const std::string name = FileBaseName(target_);
  Discard();
  throw Error("Cannot write " + name + ": " + SystemErrorText(Code));
}

void TAtomicFile::Flush() {
  const char* data = buffer_.data();
  std::size_t left = buffer_.size();
  while (left > 0) {
    const ssize_t done = FileSystemCalls().Write(fd_, data, left);
    if (done < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    if (done == 0) Fail(ENOSPC);
    data += done;
    left -= static_cast<std::size_t>(done);
  }
  buffer_.clear();
}

void TAtomicFile::Write(std::string_view Text) {
  if (fd_ < 0) throw Error("Cannot write " + FileBaseName(target_) + ": file already closed");
  buffer_.append(Text);
  if (buffer_.size() >= BufferSize) Flush();
}

void TAtomicFile::WriteLine(std::string_view Line) {
  Write(Line);
  Write("\r\n");
}

void TAtomicFile::Commit() {
  if (fd_ < 0) throw Error("Cannot write " + FileBaseName(target_) + ": file already closed");
  Flush();
  if (FileSystemCalls().Fsync(fd_) != 0) Fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail(errno);
  if (FileSystemCalls().Rename(temp_.c_str(), target_.c_str()) != 0) Fail(errno);
  temp_.clear();
  SyncDirectoryOf(target_);
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
