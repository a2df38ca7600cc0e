// The system calls through which the stores read and write files,
// replaceable so that tests can make a load or a save fail at any point.
//
// Every member has the signature of its POSIX namesake; Fsync flushes a
// file's contents and DirectoryFsync the directory entry of a replaced file,
// so that each can be made to fail on its own.
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace navorix {

struct TFileSystemCalls {
  ssize_t (*Read)(int, void*, std::size_t);
  ssize_t (*Write)(int, const void*, std::size_t);
  int (*Fsync)(int);
  int (*Fchown)(int, uid_t, gid_t);
  int (*Fchmod)(int, mode_t);
  int (*Close)(int);
  int (*Linkat)(int, const char*, int, const char*, int);
  int (*Renameat)(int, const char*, int, const char*);
  int (*DirectoryFsync)(int);
};

// The calls in force (initially the real ones).
TFileSystemCalls& FileSystemCalls();

}  // namespace navorix
