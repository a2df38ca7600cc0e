#include "stores/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "geometry/error.h"
#include "stores/file_calls.h"

namespace navorix {

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// A descriptor of FileName open for reading, or -1 with Reason set. The open
// does not wait (a named pipe without a writer would hold it for ever), and
// only a regular file is kept: a directory, a pipe or a device is refused.
int OpenRegularFile(const std::string& FileName, std::string& Reason,
                    std::uint64_t MaxFileSize = TLineReader::AnySize) {
  const int fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    Reason = SystemErrorText(errno);
    return -1;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    Reason = SystemErrorText(errno);
  } else if (S_ISDIR(info.st_mode)) {
    Reason = SystemErrorText(EISDIR);
  } else if (!S_ISREG(info.st_mode)) {
    Reason = msg::NotRegularFile;
  } else if (static_cast<std::uint64_t>(info.st_size) > MaxFileSize) {
    Reason = TooLargeReason(MaxFileSize);
  } else {
    (void)::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
  }
  ::close(fd);
  return -1;
}

}  // namespace

std::string FileBaseName(const std::string& Path) {
  const std::size_t slash = Path.find_last_of('/');
  return slash == std::string::npos ? Path : Path.substr(slash + 1);
}

std::string TooLargeReason(std::uint64_t Limit) {
  constexpr std::uint64_t MiB = std::uint64_t{1} << 20;
  return "larger than " +
         (Limit % MiB == 0 ? std::to_string(Limit / MiB) + " MiB" : std::to_string(Limit) + " bytes");
}

std::string SystemErrorText(int Code) {
  char text[256] = {};
  // The GNU strerror_r returns its text, which may not be the buffer.
  return std::string(strerror_r(Code, text, sizeof text));
}

TLineReader::TLineReader(const std::string& FileName, std::size_t MaxLength,
                         const TFileSystemCalls& Calls, std::uint64_t MaxFileSize)
    : name_(FileName), max_length_(MaxLength), calls_(Calls), max_file_size_(MaxFileSize) {
  std::string reason;
  fd_ = OpenRegularFile(FileName, reason, MaxFileSize);
  if (fd_ < 0) throw Error("Cannot open " + FileBaseName(FileName) + ": " + reason);
  buffer_ = std::make_unique<char[]>(BufferSize);
}

std::string CannotReadReason(const std::string& FileName) {
  std::string reason;
  const int fd = OpenRegularFile(FileName, reason);
  if (fd >= 0) ::close(fd);
  return reason;
}

TLineReader::~TLineReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool TLineReader::Fill() {
  if (eof_) return false;
  for (;;) {
    const ssize_t got = calls_.Read(fd_, buffer_.get(), BufferSize);
    if (got > 0) {
      read_ += static_cast<std::uint64_t>(got);
      if (read_ > max_file_size_) {
        eof_ = true;
        throw Error("Cannot read " + FileBaseName(name_) + ": " + TooLargeReason(max_file_size_));
      }
      pos_ = 0;
      end_ = static_cast<std::size_t>(got);
      // Editors that save UTF-8 may put a byte-order mark first; read as
      // Windows-1252 it would become part of the first line. (A first read
      // of a regular file returns the whole mark unless the file is shorter.)
      if (!started_ && std::string_view(buffer_.get(), end_).starts_with(ByteOrderMark)) {
        pos_ = ByteOrderMark.size();
      }
      started_ = true;
      if (pos_ == end_) continue;
      return true;
    }
    if (got == 0) {
      eof_ = true;
      return false;
    }
    if (errno != EINTR) {
      const int code = errno;
      eof_ = true;
      throw Error("Cannot read " + FileBaseName(name_) + ": " + SystemErrorText(code));
    }
  }
}

int TLineReader::Peek() {
  if (pos_ == end_ && !Fill()) return -1;
  return static_cast<unsigned char>(buffer_[pos_]);
}

bool TLineReader::AtEnd() { return Peek() < 0; }

bool TLineReader::ReadLine(std::string& Line) {
  Line.clear();
  truncated_ = false;
  if (Peek() < 0) return false;
  for (;;) {
    if (pos_ == end_ && !Fill()) return true;  // last line without a break
    // Scan the buffered bytes up to the next line end in one go.
    const char* start = buffer_.get() + pos_;
    const char* stop = buffer_.get() + end_;
    const char* p = start;
    while (p != stop && *p != CR && *p != LF) ++p;
    const std::size_t run = static_cast<std::size_t>(p - start);
    const std::size_t room = max_length_ - std::min(max_length_, Line.size());
    if (run > room) truncated_ = true;
    Line.append(start, std::min(run, room));
    pos_ += run;
    if (p == stop) continue;
    const char ending = *p;
    ++pos_;
    if (ending == CR && Peek() == LF) ++pos_;
    return true;
  }
}

}  // namespace navorix
