// Saving a file so that it is either replaced whole or left as it was.
//
// The text goes to a new temporary file in the target's directory; only
// when every byte is written and flushed to the disk is that file renamed
// over the target. A failure on the way (disk full, an input/output error, a
// target that cannot be replaced) removes the temporary file and leaves the
// old file byte for byte, then raises Error with the platform's reason.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace navorix {

class TAtomicFile {
 public:
  // Creates the temporary file beside FileName. Throws Error "Cannot write
  // NAME: reason" when that is impossible (for instance a missing directory).
  explicit TAtomicFile(const std::string& FileName);
  // Without Commit, the temporary file is removed and the target untouched.
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  // Appends Text. Throws Error as the constructor does.
  void Write(std::string_view Text);
  // Appends Line followed by CR LF, the line end of every file we write.
  void WriteLine(std::string_view Line);
  // Writes what is buffered, flushes it to the disk and renames the
  // temporary file over the target. Throws Error as the constructor does.
  void Commit();

 private:
  void Flush();
  [[noreturn]] void Fail(int Code);
  void Discard() noexcept;

  static constexpr std::size_t BufferSize = 64 * 1024;

  std::string target_;
  std::string temp_;
  int fd_ = -1;
  std::string buffer_;
};

// The system calls the writer makes, replaceable so that tests can make a
// save fail half-way. Every member has the signature of its POSIX namesake.
struct TFileSystemCalls {
  ssize_t (*Write)(int, const void*, std::size_t);
  int (*Fsync)(int);
  int (*Rename)(const char*, const char*);
};
// The calls in force (initially the real ones).
TFileSystemCalls& FileSystemCalls();

// Renames OldName to NewName unless NewName exists; false when it exists or
// the rename fails for another reason (nothing is changed then).
bool RenameNoReplace(const std::string& OldName, const std::string& NewName);

}  // namespace navorix
