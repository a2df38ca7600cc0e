// What a file was when the program last read or wrote it, so that a later
// save can tell whether someone else has changed it since.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace navorix {

struct TFileStamp {
  bool Exists = false;
  // The error number when the file could not be looked at for another
  // reason than its absence (a loop of symbolic links, a directory that may
  // not be searched); 0 otherwise. Such a file is not taken as absent.
  int Problem = 0;
  dev_t Device = 0;
  ino_t Inode = 0;
  std::int64_t Size = 0;
  std::int64_t ModifiedNs = 0;  // modification time, nanoseconds since 1970
  friend bool operator==(const TFileStamp&, const TFileStamp&) = default;

  // There is certainly no such file.
  bool Absent() const { return !Exists && Problem == 0; }
};

// The stamp of FileName now.
TFileStamp StampOf(const std::string& FileName);

// True when A and B are stamps of one existing file (whatever its contents).
bool SameFile(const TFileStamp& A, const TFileStamp& B);

}  // namespace navorix
