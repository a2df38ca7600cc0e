// Saving a file so that it is either replaced whole or left as it was.
//
// Notation:
//   target      the file to be replaced; a symbolic link is followed to the
//               file it names (also when that file does not exist yet), so
//               the link stays a link
//   temporary   ".<target>.nvx-<pid>-<serial>" in the target's directory,
//               the target's name shortened so that the whole never exceeds
//               the directory's longest file name
//   kept name   a second name of the old target, of the temporary's form,
//               held while the new file is put in place, so that the old
//               one can be put back
//
// The text goes to a new temporary file; only when every byte is written and
// flushed to the disk is that file renamed over the target, and the
// directory is flushed so that the rename survives a crash. A failure on the
// way (disk full, an input/output error, an owner that cannot be kept, a
// rename or directory flush that fails) removes the temporary file and
// leaves the old file byte for byte, then raises Error "Cannot write NAME:
// reason" with the platform's reason. The one exception: on a file system
// without hard links the old file cannot be kept aside, and a failed
// directory flush after the rename is reported with the new file in place.
//
// A read-only target is refused, not replaced. A temporary file (or kept
// name) left behind by a process that no longer runs is removed by the next
// save into its directory; one of a running save is recognised by its lock
// and its process and left alone.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "stores/file_calls.h"

namespace navorix {

namespace msg {
inline constexpr const char* ReadOnlyFile = "the file is read-only";
inline constexpr const char* OwnerNotKept = "its owner cannot be kept";
}  // namespace msg

class TAtomicFile {
 public:
  // Creates the temporary file for FileName. Throws Error "Cannot write
  // NAME: reason" when that is impossible (a missing directory, a target
  // that is a directory, a device or read-only, an owner that cannot be
  // kept).
  // Writes through Calls, which must outlive the object.
  explicit TAtomicFile(const std::string& FileName, const TFileSystemCalls& Calls = SystemCalls());
  // Without Commit, the temporary file is removed and the target untouched.
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  // Appends Text. Throws Error as the constructor does.
  void Write(std::string_view Text);
  // Appends Line followed by CR LF, the line end of every file we write.
  void WriteLine(std::string_view Line);
  // Writes what is buffered, flushes it to the disk, renames the temporary
  // file over the target and flushes the directory. Throws Error as the
  // constructor does; the old file is then back in place.
  void Commit();

 private:
  void Flush();
  [[noreturn]] void Fail(int Code);
  [[noreturn]] void Fail(const std::string& Reason);
  void Discard() noexcept;
  // A number for the next temporary name of this object. Two objects of one
  // process may draw the same number; the exclusive create then fails and
  // the next number is tried, so no counter is shared by the program.
  unsigned NextSerial() { return ++serial_; }

  static constexpr std::size_t BufferSize = 64 * 1024;

  const TFileSystemCalls& calls_;
  std::string shown_;  // the base name of the caller's file name, for messages
  std::string base_;   // the target's name inside its directory
  std::string temp_;   // the temporary's name, empty when there is none
  std::string kept_;   // the kept name of the old target, empty when none
  std::size_t name_max_ = 0;  // the longest file name of the directory
  int dir_fd_ = -1;
  int fd_ = -1;
  bool existed_ = false;
  unsigned serial_ = 0;
  std::string buffer_;
};

// Renames OldName to NewName unless NewName exists; false when it exists or
// the rename fails for another reason (nothing is changed then).
bool RenameNoReplace(const std::string& OldName, const std::string& NewName);

}  // namespace navorix
