// Shared pieces of the store tests: a scratch directory, whole-file
// reading and writing, failing writes, and fixes and fix files under given
// settings (the initial ones unless a test says otherwise).
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "geometry/earth_model.h"
#include "stores/atomic_file.h"
#include "stores/fix_db.h"
#include "stores/settings.h"
#include "text/fix_record.h"
#include "text/format.h"

namespace navorix::testing {

// A fresh directory, removed with everything in it at the end of the test.
class TTempDir {
 public:
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "navorix_stores_XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }
  ~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  // Path of Name inside the directory.
  std::string operator/(const std::string& Name) const { return path_ + "/" + Name; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& Path, const std::string& Bytes) {
  std::ofstream out(Path, std::ios::binary | std::ios::trunc);
  out << Bytes;
}

inline std::string ReadFile(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Names of the entries of a directory, to see that no temporary file stays.
inline std::vector<std::string> DirEntries(const std::string& Dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Makes every write fail with Code (ENOSPC: a full disk) once Budget bytes
// have been written, and puts the real calls back at its end.
class TFailingWrites {
 public:
  explicit TFailingWrites(std::size_t Budget = 0, int Code = ENOSPC) : saved_(FileSystemCalls()) {
    budget_ = Budget;
    code_ = Code;
    FileSystemCalls().Write = [](int fd, const void* data, std::size_t size) -> ssize_t {
      if (budget_ == 0) {
        errno = code_;
        return -1;
      }
      const std::size_t now = std::min(size, budget_);
      budget_ -= now;
      return ::write(fd, data, now);
    };
  }
  ~TFailingWrites() { FileSystemCalls() = saved_; }
  TFailingWrites(const TFailingWrites&) = delete;
  TFailingWrites& operator=(const TFailingWrites&) = delete;

 private:
  static inline std::size_t budget_ = 0;
  static inline int code_ = 0;
  TFileSystemCalls saved_;
};

// A valid fix at latitude/longitude given in degrees.
inline FixRecord MakeTestFix(const std::string& Name, long double LatDeg = 10.0L,
                             long double LonDeg = 20.0L, const TEarthModel& E = TEarthModel{}) {
  FixRecord fix;
  fix.Position = PosFromLatLon(E, LatDeg * DegToRad, LonDeg * DegToRad);
  fix.Name = Name;
  fix.Valid = true;
  return fix;
}

inline bool LoadFixes(TFixDB& Fixes, const std::string& FileName, const TSettings& S = TSettings{}) {
  return Fixes.LoadFromFile(FileName, S.Display.PlusDir, S.Earth);
}
inline void SaveFixes(const TFixDB& Fixes, const std::string& FileName,
                      const TSettings& S = TSettings{}) {
  Fixes.SaveToFile(FileName, S.Display, S.Earth);
}
inline std::string FileLine(const FixRecord& Fix, const TSettings& S = TSettings{}) {
  return FixFileLine(S.Display, S.Earth, Fix);
}

}  // namespace navorix::testing
