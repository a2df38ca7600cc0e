#include "stores/file_stamp.h"

#include <sys/stat.h>

#include <cerrno>

namespace navorix {

TFileStamp StampOf(const std::string& FileName) {
  TFileStamp stamp;
  struct stat info {};
  if (::stat(FileName.c_str(), &info) != 0) {
    if (errno != ENOENT) stamp.Problem = errno;
    return stamp;
  }
  stamp.Exists = true;
  stamp.Device = info.st_dev;
  stamp.Inode = info.st_ino;
  stamp.Size = info.st_size;
  stamp.ModifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return stamp;
}

bool SameFile(const TFileStamp& A, const TFileStamp& B) {
  return A.Exists && B.Exists && A.Device == B.Device && A.Inode == B.Inode;
}

}  // namespace navorix
