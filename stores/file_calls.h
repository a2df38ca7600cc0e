// The system calls through which the stores read and write files, as a
// value handed to each reader and writer: the system's own calls in the
// program, others in tests that make a load or a save fail at any point.
//
// Every member has the signature of its POSIX namesake; Fsync flushes a
// file's contents and DirectoryFsync the directory entry of a replaced file,
// so that each can be made to fail on its own.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>

namespace navorix {

struct FileSystemCalls {
  std::function<ssize_t(int, void*, std::size_t)> read;
  std::function<ssize_t(int, const void*, std::size_t)> write;
  std::function<int(int)> fsync;
  std::function<int(int, uid_t, gid_t)> fchown;
  std::function<int(int, mode_t)> fchmod;
  std::function<int(int)> close;
  std::function<int(int, const char*, int, const char*, int)> linkat;
  std::function<int(int, const char*, int, const char*)> renameat;
  std::function<int(int)> directoryFsync;
};

// The system's own calls.
const FileSystemCalls& SystemCalls();

}  // namespace navorix
