// The standard output of the batch program: lines collected in one buffer
// and written in large blocks, never flushed per line, in Windows-1252 or,
// on request, UTF-8.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace navorix {

// How the batch program's text is encoded: as asked by --utf8 or --cp1252,
// else chosen by where it goes.
enum class EncodingOption { Automatic, Utf8, Cp1252 };

// Whether the locale's character set is UTF-8, from the values of LC_ALL,
// LC_CTYPE and LANG (nullptr when unset), the first one set and not empty
// deciding, as the C library takes them.
bool LocaleIsUtf8(const char* lcAll, const char* lcCtype, const char* lang);

// Whether text on one stream is UTF-8: as asked, else when the stream is a
// terminal whose locale is UTF-8. Pipes and files get Windows-1252, which
// scripts and Navorix's own files read.
bool StreamIsUtf8(EncodingOption option, bool terminal, bool utf8Locale);

class BatchOutput {
 public:
  // Writes to file (not owned); with utf8 every line is converted first.
  BatchOutput(std::FILE* file, bool utf8);
  ~BatchOutput();
  BatchOutput(const BatchOutput&) = delete;
  BatchOutput& operator=(const BatchOutput&) = delete;

  // One line of Windows-1252 text followed by "\n".
  void Line(std::string_view text);
  // A line made of two pieces, so callers need not join them.
  void Line(std::string_view head, std::string_view tail);
  // True when the lines are written in UTF-8.
  bool Utf8() const { return utf8_; }
  // Writes what is buffered; false when the file reported an error.
  bool Flush();

 private:
  void Append(std::string_view text);
  // Hands the buffer to the file without flushing it.
  void WriteBuffer();

  static constexpr std::size_t BlockSize = 1u << 16;

  std::FILE* file_;
  bool utf8_;
  bool failed_ = false;
  std::string buffer_;
};

}  // namespace navorix
