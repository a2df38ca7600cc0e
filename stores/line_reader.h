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
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "stores/file_calls.h"

namespace navorix {

namespace msg {
// The reason given for a directory entry that is no regular file.
inline constexpr const char* NotRegularFile = "not a regular file";
}  // namespace msg

class TLineReader {
 public:
  // Longest line kept by default, in bytes. Every line the program writes is
  // far shorter; longer lines only come from foreign or damaged files.
  static constexpr std::size_t DefaultMaxLength = 4096;

  // Opens FileName for reading. Throws Error "Cannot open NAME: reason" (the
  // platform's reason, or "not a regular file") when it cannot be opened or
  // is no regular file.
  // Reads through Calls, which must outlive the reader.
  explicit TLineReader(const std::string& FileName, std::size_t MaxLength = DefaultMaxLength,
                       const TFileSystemCalls& Calls = SystemCalls());
  ~TLineReader();
  TLineReader(const TLineReader&) = delete;
  TLineReader& operator=(const TLineReader&) = delete;

  // Reads the next line into Line, without its line end. At the end of the
  // file Line becomes empty and the result is false; otherwise true.
  // Throws Error "Cannot read NAME: reason" on an input/output failure.
  bool ReadLine(std::string& Line);

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
  std::size_t max_length_;
  const TFileSystemCalls& calls_;
  int fd_ = -1;
  std::unique_ptr<char[]> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool truncated_ = false;
  bool started_ = false;
};

// Why FileName cannot be read as TLineReader reads it (the platform's reason
// or "not a regular file"), or an empty text when it can. Never waits.
std::string CannotReadReason(const std::string& FileName);

// The last component of a path, for messages that must stay short.
std::string FileBaseName(const std::string& Path);

// The platform's text for the error number Code.
std::string SystemErrorText(int Code);

}  // namespace navorix
