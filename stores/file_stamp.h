// What a file was when the program last read or wrote it, so that a later
// save can tell whether someone else has changed it since; and the backup
// of a file about to be replaced.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace navorix {

struct TFileStamp {
  bool Exists = false;
  dev_t Device = 0;
  ino_t Inode = 0;
  std::int64_t Size = 0;
  std::int64_t ModifiedNs = 0;  // modification time, nanoseconds since 1970
  friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};

// The stamp of FileName now (Exists false when there is no such file).
TFileStamp StampOf(const std::string& FileName);

// The name of the one backup generation of FileName.
std::string BackupName(const std::string& FileName);

// Keeps the present FileName as BackupName(FileName), replacing an older
// backup, before FileName is replaced: a second name for the same file, so
// that the replacement leaves the old version there whole. Nothing to do
// when FileName does not exist. False with Problem set ("Cannot keep a
// backup of NAME: reason") when it fails; FileName is never touched.
bool KeepBackup(const std::string& FileName, std::string& Problem);

}  // namespace navorix
