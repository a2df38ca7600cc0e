#include "stores/file_stamp.h"

#include <sys/stat.h>

#include <cerrno>

namespace navorix {

FileStamp StampOf(const std::string& fileName) {
  FileStamp stamp;
  struct stat info {};
  if (::stat(fileName.c_str(), &info) != 0) {
    if (errno != ENOENT) stamp.problem = errno;
    return stamp;
  }
  stamp.exists = true;
  stamp.device = info.st_dev;
  stamp.inode = info.st_ino;
  stamp.size = info.st_size;
  stamp.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return stamp;
}

bool SameFile(const FileStamp& A, const FileStamp& B) {
  return A.exists && B.exists && A.device == B.device && A.inode == B.inode;
}

}  // namespace navorix
