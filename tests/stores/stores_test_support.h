// Shared pieces of the store tests: a scratch directory, whole-file
// reading and writing, and fake windows that record what the stores ask of
// them.
#pragma once

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "geometry/earth_model.h"
#include "stores/atomic_file.h"
#include "stores/fix_list_view.h"
#include "stores/log_view.h"
#include "stores/options_menu.h"
#include "text/fix_record.h"

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

// Lets Allowed reads through, then makes every read fail with EIO (a disk
// that fails part-way); puts the real call back at its end.
class TFailingReads {
 public:
  explicit TFailingReads(int Allowed) : saved_(FileSystemCalls()) {
    allowed_ = Allowed;
    FileSystemCalls().Read = [](int fd, void* data, std::size_t size) -> ssize_t {
      if (allowed_ <= 0) {
        errno = EIO;
        return -1;
      }
      --allowed_;
      return ::read(fd, data, size);
    };
  }
  ~TFailingReads() { FileSystemCalls() = saved_; }
  TFailingReads(const TFailingReads&) = delete;
  TFailingReads& operator=(const TFailingReads&) = delete;

 private:
  static inline int allowed_ = 0;
  TFileSystemCalls saved_;
};

// The points at which a save calls the system.
enum class TCallPoint { Write, Fsync, Fchown, Fchmod, Close, Linkat, Renameat, DirectoryFsync };
inline constexpr std::array<TCallPoint, 8> AllCallPoints = {
    TCallPoint::Write,  TCallPoint::Fsync,  TCallPoint::Fchown,   TCallPoint::Fchmod,
    TCallPoint::Close,  TCallPoint::Linkat, TCallPoint::Renameat, TCallPoint::DirectoryFsync};
inline const char* CallPointName(TCallPoint Point) {
  static constexpr const char* Names[] = {"write", "fsync", "fchown", "fchmod",
                                          "close", "linkat", "renameat", "directory fsync"};
  return Names[static_cast<int>(Point)];
}

// Counts the calls at every point of a save and makes call number Nth
// (1-based; 0: none) at Point fail with Code; puts the real calls back at
// its end.
class TFaultyCalls {
 public:
  explicit TFaultyCalls(TCallPoint Point = TCallPoint::Write, int Nth = 0, int Code = EIO)
      : saved_(FileSystemCalls()) {
    point_ = Point;
    nth_ = Nth;
    code_ = Code;
    fired_ = false;
    calls_.fill(0);
    TFileSystemCalls& calls = FileSystemCalls();
    calls.Write = [](int fd, const void* data, std::size_t size) -> ssize_t {
      return Hit(TCallPoint::Write) ? -1 : ::write(fd, data, size);
    };
    calls.Fsync = [](int fd) { return Hit(TCallPoint::Fsync) ? -1 : ::fsync(fd); };
    calls.Fchown = [](int fd, uid_t uid, gid_t gid) {
      return Hit(TCallPoint::Fchown) ? -1 : ::fchown(fd, uid, gid);
    };
    calls.Fchmod = [](int fd, mode_t mode) { return Hit(TCallPoint::Fchmod) ? -1 : ::fchmod(fd, mode); };
    // A failed close (a write-back error) has still closed the descriptor.
    calls.Close = [](int fd) {
      const int result = ::close(fd);
      return Hit(TCallPoint::Close) ? -1 : result;
    };
    calls.Linkat = [](int from_dir, const char* from, int to_dir, const char* to, int flags) {
      return Hit(TCallPoint::Linkat) ? -1 : ::linkat(from_dir, from, to_dir, to, flags);
    };
    calls.Renameat = [](int from_dir, const char* from, int to_dir, const char* to) {
      return Hit(TCallPoint::Renameat) ? -1 : ::renameat(from_dir, from, to_dir, to);
    };
    calls.DirectoryFsync = [](int fd) { return Hit(TCallPoint::DirectoryFsync) ? -1 : ::fsync(fd); };
  }
  ~TFaultyCalls() { FileSystemCalls() = saved_; }
  TFaultyCalls(const TFaultyCalls&) = delete;
  TFaultyCalls& operator=(const TFaultyCalls&) = delete;

  static int Calls(TCallPoint Point) { return calls_[static_cast<std::size_t>(Point)]; }
  // True once the chosen call has failed.
  static bool Fired() { return fired_; }

 private:
  static bool Hit(TCallPoint Point) {
    const int call = ++calls_[static_cast<std::size_t>(Point)];
    if (Point != point_ || call != nth_) return false;
    fired_ = true;
    errno = code_;
    return true;
  }

  static inline TCallPoint point_ = TCallPoint::Write;
  static inline int nth_ = 0;
  static inline int code_ = 0;
  static inline bool fired_ = false;
  static inline std::array<int, AllCallPoints.size()> calls_{};
  TFileSystemCalls saved_;
};

// Runs Action in a child process and tells whether it returned within
// Limit; an exception from Action counts as a failure, and a child that
// blocks is killed.
template <typename F>
bool EndsWithin(std::chrono::milliseconds Limit, F Action) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    int status = 0;
    try {
      Action();
    } catch (...) {
      status = 1;
    }
    ::_exit(status);
  }
  const auto deadline = std::chrono::steady_clock::now() + Limit;
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, &status, 0);
  return false;
}

// A valid fix at latitude/longitude given in degrees.
inline FixRecord MakeTestFix(const std::string& Name, long double LatDeg = 10.0L,
                             long double LonDeg = 20.0L) {
  FixRecord fix;
  fix.Position = PosFromLatLon(LatDeg * DegToRad, LonDeg * DegToRad);
  fix.Name = Name;
  fix.Valid = true;
  return fix;
}

// A list that behaves as the main window's: rows, one selected row, the
// counter text and the button states, plus the messages of the error box.
class TFakeFixList : public TFixListView {
 public:
  TFakeFixList() : rows_{""} {}
  void SetRows(std::vector<std::string> Rows) override {
    rows_ = std::move(Rows);
    ++full_rebuilds;
  }
  void InsertRow(int Row, const std::string& Text) override {
    rows_.insert(rows_.begin() + Row, Text);
  }
  void DeleteRow(int Row) override { rows_.erase(rows_.begin() + Row); }
  void SetRow(int Row, const std::string& Text) override { rows_.at(static_cast<std::size_t>(Row)) = Text; }
  void MoveRow(int From, int To) override {
    std::string text = rows_.at(static_cast<std::size_t>(From));
    rows_.erase(rows_.begin() + From);
    rows_.insert(rows_.begin() + To, text);
  }
  void SelectRow(int Row) override { selected = Row; }
  int SelectedRow() const override { return selected; }
  void SetCounterText(const std::string& Text) override { counter = Text; }
  void EnableFixButtons(const TFixButtons& Buttons) override { buttons = Buttons; }
  void FocusFixList() override { ++focus_calls; }
  void ShowError(const std::string& Message) override { errors.push_back(Message); }

  const std::vector<std::string>& Rows() const { return rows_; }

  int selected = 0;
  std::string counter;
  TFixButtons buttons;
  int focus_calls = 0;
  int full_rebuilds = 0;
  std::vector<std::string> errors;

 private:
  std::vector<std::string> rows_;
};

class TFakeLogView : public TLogView {
 public:
  void ShowLogLines(const std::string& Line1, const std::string& Line2,
                    const std::string& Line3) override {
    lines = {Line1, Line2, Line3};
  }
  void ShowLogNumber(const std::string& Text) override { number = Text; }
  void EnableLogButtons(bool Up, bool Down) override {
    up = Up;
    down = Down;
  }
  void SetNextFixEnabled(bool Enabled) override { next_fix = Enabled; }
  void PlayDoneSound() override { ++sounds; }
  void FocusFixList() override { ++focus_calls; }

  std::vector<std::string> lines{"?", "?", "?"};
  std::string number = "?";
  bool up = true;
  bool down = true;
  bool next_fix = true;
  int sounds = 0;
  int focus_calls = 0;
};

class TFakeMenu : public TOptionsMenu {
 public:
  void SetMenuChecked(TMenuItem Item, bool Checked) override { checked[Item] = Checked; }
  void SetMenuCaption(TMenuItem Item, const std::string& Caption) override {
    captions[Item] = Caption;
  }
  bool SetHintsShown(bool Shown) override { return hints = Shown && hints_possible; }
  void SetNextFixEnabled(bool Enabled) override { next_fix = Enabled; }
  void SetMenuFontSize(int Size) override { menu_font = Size; }
  void SetPropFontSize(int Size) override { prop_font = Size; }
  void ShowError(const std::string& Message) override { errors.push_back(Message); }

  std::map<TMenuItem, bool> checked;
  std::map<TMenuItem, std::string> captions;
  bool hints = false;
  bool hints_possible = true;
  bool next_fix = false;
  int menu_font = 0;
  int prop_font = 0;
  std::vector<std::string> errors;
};

}  // namespace navorix::testing
