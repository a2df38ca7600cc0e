// Line-by-line reading of the program's text files (fix files, the history
// file, the settings file) whatever produced them.
//
// Notation:
//   line end   CR LF, a lone LF or a lone CR; the end of the file also ends
//              a last line that has no line break
//   at end     no byte of the file is left to read
//
// A line longer than the reader's limit is cut at the limit and the rest of
// it is skipped, so a file of any content is read in bounded memory. A UTF-8
// byte-order mark at the start of the file is no part of the first line.
// Opening never waits: only a regular file is read, and its type is known
// before anything could block (a named pipe without a writer, a device).
// A reader may be given a largest file size: a larger file is refused when
// it is opened, and one that grows beyond it while it is read fails there,
// so that no file can hold the program for long.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "stores/file_calls.h"

namespace navorix {

namespace msg {
// The reason given for a directory entry that is no regular file.
inline constexpr const char* NotRegularFile = "not a regular file";
}  // namespace msg

// The largest fix file or history file read, in bytes. The largest real
// ones are a few megabytes (65535 fixes take under 4 MB); a larger file is
// a mistake, and reading it would hold the program for minutes.
inline constexpr std::uint64_t MaxDataFileSize = std::uint64_t{64} << 20;

class LineReader {
 public:
  // Longest line kept by default, in bytes. Every line the program writes is
  // far shorter; longer lines only come from foreign or damaged files.
  static constexpr std::size_t DefaultMaxLength = 4096;

  static constexpr std::uint64_t AnySize = UINT64_MAX;

  // Opens fileName for reading. Throws Error "Cannot open NAME: reason" (the
  // platform's reason, "not a regular file", or "larger than N MiB" for a
  // file above maxFileSize) when it cannot be opened or is no regular file.
  // Reads through calls, which must outlive the reader.
  explicit LineReader(const std::string& fileName, std::size_t maxLength = DefaultMaxLength,
                      const FileSystemCalls& calls = SystemCalls(), std::uint64_t maxFileSize = AnySize);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Reads the next line into line, without its line end. At the end of the
  // file line becomes empty and the result is false; otherwise true.
  // Throws Error "Cannot read NAME: reason" on an input/output failure or
  // when the file has grown beyond its largest size.
  bool ReadLine(std::string& line);

  // True when the file has no byte left. Throws as ReadLine does.
  bool AtEnd();

  // True when the line last read was cut at the limit.
  bool Truncated() const { return truncated_; }

 private:
  // Refills the buffer; false at the end of the file.
  bool Fill();
  // The next byte without consuming it, or -1 at the end of the file.
  int Peek();

  static constexpr std::size_t BufferSize = 64 * 1024;

  std::string name_;
  std::size_t maxLength_;
  const FileSystemCalls& calls_;
  std::uint64_t maxFileSize_;
  std::uint64_t read_ = 0;  // bytes read so far
  int fd_ = -1;
  std::unique_ptr<char[]> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool truncated_ = false;
  bool started_ = false;
};

// Why fileName cannot be read as LineReader reads it (the platform's reason
// or "not a regular file"), or an empty text when it can. Never waits.
std::string CannotReadReason(const std::string& fileName);

// The reason given for a file above limit bytes: "larger than N MiB" (or
// "larger than N bytes" for a limit of no whole MiB).
std::string TooLargeReason(std::uint64_t limit);

// The last component of a path, for messages that must stay short.
std::string FileBaseName(const std::string& path);

// The platform's text for the error number code.
std::string SystemErrorText(int code);

}  // namespace navorix
