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

// A descriptor of fileName open for reading, or -1 with reason set. The open
// does not wait (a named pipe without a writer would hold it for ever), and
// only a regular file is kept: a directory, a pipe or a device is refused.
int OpenRegularFile(const std::string& fileName, std::string& reason,
                    std::uint64_t maxFileSize = LineReader::AnySize) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    reason = SystemErrorText(errno);
    return -1;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    reason = SystemErrorText(errno);
  } else if (S_ISDIR(info.st_mode)) {
    reason = SystemErrorText(EISDIR);
  } else if (!S_ISREG(info.st_mode)) {
    reason = msg::NotRegularFile;
  } else if (static_cast<std::uint64_t>(info.st_size) > maxFileSize) {
    reason = TooLargeReason(maxFileSize);
  } else {
    (void)::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
  }
  ::close(fd);
  return -1;
}

}  // namespace

std::string FileBaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TooLargeReason(std::uint64_t limit) {
  constexpr std::uint64_t MiB = std::uint64_t{1} << 20;
  return "larger than " +
         (limit % MiB == 0 ? std::to_string(limit / MiB) + " MiB" : std::to_string(limit) + " bytes");
}

std::string SystemErrorText(int code) {
  char text[256] = {};
  // The GNU strerror_r returns its text, which may not be the buffer.
  return std::string(strerror_r(code, text, sizeof text));
}

LineReader::LineReader(const std::string& fileName, std::size_t maxLength, const FileSystemCalls& calls,
                       std::uint64_t maxFileSize)
    : name_(fileName), maxLength_(maxLength), calls_(calls), maxFileSize_(maxFileSize) {
  std::string reason;
  fd_ = OpenRegularFile(fileName, reason, maxFileSize);
  if (fd_ < 0) throw Error("Cannot open " + FileBaseName(fileName) + ": " + reason);
  buffer_ = std::make_unique<char[]>(BufferSize);
}

std::string CannotReadReason(const std::string& fileName) {
  std::string reason;
  const int fd = OpenRegularFile(fileName, reason);
  if (fd >= 0) ::close(fd);
  return reason;
}

LineReader::~LineReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool LineReader::Fill() {
  if (eof_) return false;
  for (;;) {
    const ssize_t got = calls_.read(fd_, buffer_.get(), BufferSize);
    if (got > 0) {
      read_ += static_cast<std::uint64_t>(got);
      if (read_ > maxFileSize_) {
        eof_ = true;
        throw Error("Cannot read " + FileBaseName(name_) + ": " + TooLargeReason(maxFileSize_));
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

int LineReader::Peek() {
  if (pos_ == end_ && !Fill()) return -1;
  return static_cast<unsigned char>(buffer_[pos_]);
}

bool LineReader::AtEnd() { return Peek() < 0; }

bool LineReader::ReadLine(std::string& line) {
  line.clear();
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
    const std::size_t room = maxLength_ - std::min(maxLength_, line.size());
    if (run > room) truncated_ = true;
    line.append(start, std::min(run, room));
    pos_ += run;
    if (p == stop) continue;
    const char ending = *p;
    ++pos_;
    if (ending == CR && Peek() == LF) ++pos_;
    return true;
  }
}

}  // namespace navorix
