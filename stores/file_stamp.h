// What a file was when the program last read or wrote it, so that a later
// save can tell whether someone else has changed it since.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace navorix {

struct FileStamp {
  bool exists = false;
  // The error number when the file could not be looked at for another
  // reason than its absence (a loop of symbolic links, a directory that may
  // not be searched); 0 otherwise. Such a file is not taken as absent.
  int problem = 0;
  dev_t device = 0;
  ino_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;  // modification time, nanoseconds since 1970
  friend bool operator==(const FileStamp&, const FileStamp&) = default;

  // There is certainly no such file.
  bool Absent() const { return !exists && problem == 0; }
};

// The stamp of fileName now.
FileStamp StampOf(const std::string& fileName);

// True when A and B are stamps of one existing file (whatever its contents).
bool SameFile(const FileStamp& A, const FileStamp& B);

}  // namespace navorix
