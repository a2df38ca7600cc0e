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

[[noreturn]] inline void Violated(const char* Property, std::string_view Input = {}) {
  std::fprintf(stderr, "property violated: %s\ninput: %.*s\n", Property,
               static_cast<int>(Input.size()), Input.data());
  std::abort();
}

inline void Check(bool Holds, const char* Property, std::string_view Input = {}) {
  if (!Holds) Violated(Property, Input);
}

// The options that reading and writing depend on.
struct TChosen {
  TDisplayOptions Options;
  TEarthModel Earth;
  std::string_view Text;
};

// The first byte of an input chooses the options; the rest is the text.
inline TChosen ChooseOptions(const std::uint8_t* Data, std::size_t Size) {
  TChosen chosen;
  if (Size == 0) return chosen;
  const std::uint8_t b = Data[0];
  chosen.Options.LatLonFormat = static_cast<TAngleFormat>(b % LatLonFormatCount);
  chosen.Options.PlusDir = static_cast<TPlusDir>((b >> 2) % PlusDirCount);
  chosen.Options.Precision = static_cast<TAccuracy>((b >> 4) % PrecisionCount);
  chosen.Earth.EllipticLat = (b & 0x40) != 0;
  chosen.Text = {reinterpret_cast<const char*>(Data + 1), Size - 1};
  return chosen;
}

// An in-memory regular file holding Bytes, named through /proc.
class TMemoryFile {
 public:
  explicit TMemoryFile(std::string_view Bytes) {
    fd_ = ::memfd_create("navorix-fuzz", MFD_CLOEXEC);
    if (fd_ < 0) Violated("memfd_create works");
    std::size_t done = 0;
    while (done < Bytes.size()) {
      const ssize_t n = ::write(fd_, Bytes.data() + done, Bytes.size() - done);
      if (n <= 0) Violated("the input can be written");
      done += static_cast<std::size_t>(n);
    }
    name_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  ~TMemoryFile() { ::close(fd_); }
  TMemoryFile(const TMemoryFile&) = delete;
  TMemoryFile& operator=(const TMemoryFile&) = delete;
  const std::string& Name() const { return name_; }

 private:
  int fd_ = -1;
  std::string name_;
};

// The system calls without the disk flushes, for saves into the scratch
// directory.
inline const TFileSystemCalls& ScratchCalls() {
  static const TFileSystemCalls calls = [] {
    TFileSystemCalls c = SystemCalls();
    c.Fsync = [](int) { return 0; };
    c.DirectoryFsync = [](int) { return 0; };
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
