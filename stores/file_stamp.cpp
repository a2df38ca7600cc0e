#include "stores/file_stamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "stores/line_reader.h"

namespace navorix {

TFileStamp StampOf(const std::string& FileName) {
  TFileStamp stamp;
  struct stat info {};
  if (::stat(FileName.c_str(), &info) != 0) return stamp;
  stamp.Exists = true;
  stamp.Device = info.st_dev;
  stamp.Inode = info.st_ino;
  stamp.Size = info.st_size;
  stamp.ModifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return stamp;
}

std::string BackupName(const std::string& FileName) { return FileName + ".bak"; }

bool KeepBackup(const std::string& FileName, std::string& Problem) {
  struct stat info {};
  if (::stat(FileName.c_str(), &info) != 0) {
    if (errno == ENOENT) return true;
    Problem = "Cannot keep a backup of " + FileBaseName(FileName) + ": " + SystemErrorText(errno);
    return false;
  }
  // A new link under a temporary name, then renamed over the old backup, so
  // that there is always one complete backup.
  const std::string backup = BackupName(FileName);
  const std::string temporary = backup + ".new";
  (void)::unlink(temporary.c_str());
  // A symbolic link is followed: the backup is of the file that is replaced.
  if (::linkat(AT_FDCWD, FileName.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0 ||
      ::rename(temporary.c_str(), backup.c_str()) != 0) {
    const int code = errno;
    (void)::unlink(temporary.c_str());
    Problem = "Cannot keep a backup of " + FileBaseName(FileName) + ": " + SystemErrorText(code);
    return false;
  }
  return true;
}

}  // namespace navorix
