#include "stores/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "geometry/error.h"

namespace navorix {

namespace {
constexpr char CR = '\r';
constexpr char LF = '\n';
}  // namespace

std::string FileBaseName(const std::string& Path) {
  const std::size_t slash = Path.find_last_of('/');
  return slash == std::string::npos ? Path : Path.substr(slash + 1);
}

std::string SystemErrorText(int Code) {
  char text[256] = {};
  // The GNU strerror_r returns its text, which may not be the buffer.
  return std::string(strerror_r(Code, text, sizeof text));
}

TLineReader::TLineReader(const std::string& FileName, std::size_t MaxLength)
    : name_(FileName), max_length_(MaxLength) {
  // Without blocking, so that a named pipe cannot hold the program up; only
  // regular files are read (a device could deliver bytes without end).
  fd_ = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  std::string reason = fd_ < 0 ? SystemErrorText(errno) : std::string();
  struct stat info {};
  if (fd_ >= 0) {
    if (::fstat(fd_, &info) != 0) {
      reason = SystemErrorText(errno);
    } else if (S_ISDIR(info.st_mode)) {
      reason = SystemErrorText(EISDIR);
    } else if (!S_ISREG(info.st_mode)) {
      reason = "not a regular file";
    }
  }
  if (!reason.empty()) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    throw Error("Cannot open " + FileBaseName(FileName) + ": " + reason);
  }
  (void)::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  buffer_ = std::make_unique<char[]>(BufferSize);
}

TLineReader::~TLineReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool TLineReader::Fill() {
  if (eof_) return false;
  for (;;) {
    const ssize_t got = ::read(fd_, buffer_.get(), BufferSize);
    if (got > 0) {
      pos_ = 0;
      end_ = static_cast<std::size_t>(got);
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
