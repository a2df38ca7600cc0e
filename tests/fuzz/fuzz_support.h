// Shared pieces of the fuzz targets: the options an input chooses, a file
// holding an input, and a scratch directory whose saves skip the disk
// flushes (they test durability, which fuzzing does not).
//
// A property that fails calls Violated, which aborts, so that libFuzzer
// keeps the input as a crash.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "geometry/earth_model.h"
#include "stores/file_calls.h"
#include "text/display_options.h"

namespace navorix::fuzz {

[[noreturn]] inline void Violated(const char* property, std::string_view input = {}) {
  std::fprintf(stderr, "property violated: %s\ninput: %.*s\n", property, static_cast<int>(input.size()),
               input.data());
  std::abort();
}

inline void Check(bool holds, const char* property, std::string_view input = {}) {
  if (!holds) Violated(property, input);
}

// The options that reading and writing depend on.
struct Chosen {
  DisplayOptions options;
  EarthModel earth;
  std::string_view text;
};

// The first byte of an input chooses the options; the rest is the text.
inline Chosen ChooseOptions(const std::uint8_t* data, std::size_t size) {
  Chosen chosen;
  if (size == 0) return chosen;
  const std::uint8_t b = data[0];
  chosen.options.latLonFormat = static_cast<AngleFormat>(b % LatLonFormatCount);
  chosen.options.plusDir = static_cast<PlusDir>((b >> 2) % PlusDirCount);
  chosen.options.precision = static_cast<Accuracy>((b >> 4) % PrecisionCount);
  chosen.earth.ellipticLat = (b & 0x40) != 0;
  chosen.text = {reinterpret_cast<const char*>(data + 1), size - 1};
  return chosen;
}

// An in-memory regular file holding bytes, named through /proc.
class MemoryFile {
 public:
  explicit MemoryFile(std::string_view bytes) {
    fd_ = ::memfd_create("navorix-fuzz", MFD_CLOEXEC);
    if (fd_ < 0) Violated("memfd_create works");
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) Violated("the input can be written");
      done += static_cast<std::size_t>(n);
    }
    name_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  ~MemoryFile() { ::close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  const std::string& Name() const { return name_; }

 private:
  int fd_ = -1;
  std::string name_;
};

// The system calls without the disk flushes, for saves into the scratch
// directory.
inline const FileSystemCalls& ScratchCalls() {
  static const FileSystemCalls calls = [] {
    FileSystemCalls c = SystemCalls();
    c.fsync = [](int) { return 0; };
    c.directoryFsync = [](int) { return 0; };
    return c;
  }();
  return calls;
}

// One scratch directory for the whole run, removed at exit.
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "navorix_fuzz_XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) Violated("a scratch directory can be made");
    static const std::string path = pattern;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    });
    return pattern;
  }();
  return dir;
}

}  // namespace navorix::fuzz
