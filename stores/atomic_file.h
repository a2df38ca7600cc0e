// Saving a file so that it is either replaced whole or left as it was, and
// keeping the version it replaces.
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
//   second name a hard link, or where the file system has none (a FAT or
//               exFAT stick, a network share) a copy flushed to the disk
//   backup      "<target>.bak" beside the target: the version the last
//               successful save replaced
//
// The text goes to a new temporary file; only when every byte is written and
// flushed to the disk is that file renamed over the target, and the
// directory is flushed so that the rename survives a crash. A failure on the
// way (disk full, an input/output error, an owner that cannot be kept, a
// rename or directory flush that fails) removes the temporary file and
// leaves the old file and its backup byte for byte, then raises Error
// "Cannot write NAME: reason" (or "Cannot back up NAME: reason") with the
// platform's reason. The one exception: a save that keeps no backup does
// not copy the old file where hard links are missing, and a failed
// directory flush after the rename is then reported with the new file in
// place.
//
// A save whose text equals the target's byte for byte changes nothing: the
// target, its backup and its time stay as they were.
//
// A read-only target is refused, not replaced. Before a save, the
// temporaries and kept names that an earlier save of the same target left
// (its process has ended) are removed; nothing else in the directory is
// touched, whatever its name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "stores/file_calls.h"

namespace navorix {

namespace msg {
inline constexpr const char* ReadOnlyFile = "the file is read-only";
inline constexpr const char* OwnerNotKept = "its owner cannot be kept";
}  // namespace msg

// What a save keeps of the target it replaces, beside it.
struct KeepOld {
  // The replaced version becomes the backup, replacing an older backup
  // only once the new file is in place.
  bool backup = false;
  // Also a lasting copy under this name (a name in the target's directory,
  // not a path), which no save replaces; empty for none. The name must be
  // free: the save fails rather than take another file's name.
  std::string lasting;
};

// How a successful Commit ended.
enum class CommitResult : std::uint8_t {
  Written,    // the new file is in place
  Unchanged,  // the target already held the text: nothing was touched
};

// The file that a save of fileName replaces: fileName, or the file its
// symbolic links lead to (fileName itself when they cannot be followed).
std::string ReplacedFile(const std::string& fileName);

// The backup of the file path (a replaced file, see ReplacedFile).
std::string BackupName(const std::string& path);

// A lasting name for the present version of the file path, made from the
// local time when: "<path>.unread-YYYYMMDD-HHMMSS", with "-2", "-3"... added
// when that name is taken.
std::string UnreadName(const std::string& path, std::time_t when);

class AtomicFile {
 public:
  // Creates the temporary file for fileName. Throws Error "Cannot write
  // NAME: reason" when that is impossible (a missing directory, a target
  // that is a directory, a device or read-only, an owner that cannot be
  // kept).
  // Writes through calls, which must outlive the object; keep says what a
  // save that replaces the target keeps of it.
  explicit AtomicFile(const std::string& fileName, const FileSystemCalls& calls = SystemCalls(),
                      KeepOld keep = {});
  // Without Commit, the temporary file is removed and the target untouched.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Appends text. Throws Error as the constructor does.
  void Write(std::string_view text);
  // Appends line followed by CR LF, the line end of every file we write.
  void WriteLine(std::string_view line);
  // Writes what is buffered; unless the target already holds that text,
  // flushes it to the disk, keeps what Keep asks of the old target, renames
  // the temporary file over the target and flushes the directory. Throws
  // Error as the constructor does; the old file and its backup are then as
  // they were.
  CommitResult Commit();

 private:
  void Flush();
  // True when the target holds exactly the text written.
  bool SameAsTarget();
  // Gives the file from of the directory the second name to; a copy only
  // when mayCopy. 0, or the error number of the failure (nothing is left
  // under to then).
  int SecondName(const std::string& from, const std::string& to, bool mayCopy);
  int CopyFile(const std::string& from, const std::string& to);
  [[noreturn]] void Fail(int code);
  [[noreturn]] void FailBackup(int code);
  [[noreturn]] void Fail(const std::string& reason);
  void Discard() noexcept;
  // A number for the next temporary name of this object. Two objects of one
  // process may draw the same number; the exclusive create then fails and
  // the next number is tried, so no counter is shared by the program.
  unsigned NextSerial() { return ++serial_; }

  static constexpr std::size_t BufferSize = 64 * 1024;

  const FileSystemCalls& calls_;
  std::string shown_;    // the base name of the caller's file name, for messages
  std::string base_;     // the target's name inside its directory
  std::string temp_;     // the temporary's name, empty when there is none
  std::string kept_;     // the kept name of the old target, empty when none
  std::string lasting_;  // the lasting copy made by this save, until it succeeds
  KeepOld keep_;
  std::uint64_t written_ = 0;  // bytes written to the temporary file
  std::size_t nameMax_ = 0;    // the longest file name of the directory
  int dirFd_ = -1;
  int fd_ = -1;
  bool existed_ = false;
  unsigned serial_ = 0;
  std::string buffer_;
};

// Renames oldName to newName unless newName exists; false when it exists or
// the rename fails for another reason (nothing is changed then).
bool RenameNoReplace(const std::string& oldName, const std::string& newName);

}  // namespace navorix
