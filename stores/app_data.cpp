#include "stores/app_data.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace navorix {

namespace {

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// An XDG base directory: the variable when it names an absolute path (the
// base-directory convention ignores relative ones), else the default under
// $HOME.
std::string BaseDir(const std::string& value, const std::string& home, const char* fallback) {
  if (!value.empty() && value.front() == '/') return WithSlash(value);
  return WithSlash(home) + fallback;
}

}  // namespace

StartEnvironment ProcessEnvironment() {
  StartEnvironment env;
  env.home = Variable("HOME");
  env.xdgConfigHome = Variable("XDG_CONFIG_HOME");
  env.xdgDataHome = Variable("XDG_DATA_HOME");
  env.isDirectory = [](const std::string& dir) {
    struct stat info {};
    return ::stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  };
  return env;
}

std::string ProgramFileName() {
  std::vector<char> path(PATH_MAX + 1);
  const ssize_t size = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (size <= 0) return {};
  return std::string(path.data(), static_cast<std::size_t>(size));
}

AppData MakeAppData(const std::string& programFile, const StartEnvironment& env) {
  AppData data;
  const std::size_t slash = programFile.find_last_of('/');
  data.programDir = slash == std::string::npos ? "./" : programFile.substr(0, slash + 1);
  const std::size_t dot = programFile.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  const std::string base = hasExtension ? programFile.substr(0, dot) : programFile;
  const std::string baseName = slash == std::string::npos ? base : base.substr(slash + 1);

  const std::string beside = data.programDir + "data/";
  data.portable = env.isDirectory && env.isDirectory(beside);
  if (data.portable) {
    data.settingsDir = data.programDir;
    data.dataDir = beside;
  } else {
    data.settingsDir = BaseDir(env.xdgConfigHome, env.home, ".config/") + ProgramName + "/";
    data.dataDir = BaseDir(env.xdgDataHome, env.home, ".local/share/") + ProgramName + "/data/";
  }

  // An installed program lives in PREFIX/bin and its files in
  // PREFIX/share/navorix.
  const bool shipsBeside = env.isDirectory && env.isDirectory(data.programDir + "wav");
  data.shareDir = shipsBeside ? data.programDir : data.programDir + "../share/" + ProgramName + "/";
  data.helpFile = shipsBeside ? base + ".hlp" : data.shareDir + baseName + ".hlp";
  return data;
}

AppData StartUp(bool& changed) {
  std::string program = ProgramFileName();
  if (program.empty()) {
    std::vector<char> cwd(PATH_MAX + 1);
    const std::string dir = ::getcwd(cwd.data(), cwd.size()) != nullptr ? cwd.data() : ".";
    program = WithSlash(dir) + ProgramName;
  }
  AppData data = MakeAppData(program, ProcessEnvironment());
  changed = ::chdir(data.programDir.c_str()) == 0;
  return data;
}

bool MakeDirectories(const std::string& dir) {
  std::string path;
  std::size_t start = 0;
  while (start < dir.size()) {
    const std::size_t next = dir.find('/', start + 1);
    path = dir.substr(0, next);
    start = next == std::string::npos ? dir.size() : next;
    if (path.empty() || path == "/") continue;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat info {};
  return ::stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace navorix
