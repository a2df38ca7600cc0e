#include "stores/app_data.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace navorix {

namespace {

std::string WithSlash(std::string Dir) {
  if (Dir.empty() || Dir.back() != '/') Dir += '/';
  return Dir;
}

std::string Variable(const char* Name) {
  const char* value = std::getenv(Name);
  return value != nullptr ? value : "";
}

// An XDG base directory: the variable when it names an absolute path (the
// base-directory convention ignores relative ones), else the default under
// $HOME.
std::string BaseDir(const std::string& Value, const std::string& Home, const char* Default) {
  if (!Value.empty() && Value.front() == '/') return WithSlash(Value);
  return WithSlash(Home) + Default;
}

}  // namespace

TStartEnvironment ProcessEnvironment() {
  TStartEnvironment env;
  env.Home = Variable("HOME");
  env.XdgConfigHome = Variable("XDG_CONFIG_HOME");
  env.XdgDataHome = Variable("XDG_DATA_HOME");
  env.IsDirectory = [](const std::string& Dir) {
    struct stat info {};
    return ::stat(Dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  };
  return env;
}

std::string ProgramFileName() {
  std::vector<char> path(PATH_MAX + 1);
  const ssize_t size = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (size <= 0) return {};
  return std::string(path.data(), static_cast<std::size_t>(size));
}

TAppData MakeAppData(const std::string& ProgramFile, const TStartEnvironment& Env) {
  TAppData data;
  const std::size_t slash = ProgramFile.find_last_of('/');
  data.ProgramDir = slash == std::string::npos ? "./" : ProgramFile.substr(0, slash + 1);
  const std::size_t dot = ProgramFile.find_last_of('.');
  const bool hasExtension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  const std::string base = hasExtension ? ProgramFile.substr(0, dot) : ProgramFile;
  const std::string baseName = slash == std::string::npos ? base : base.substr(slash + 1);

  const std::string beside = data.ProgramDir + "data/";
  data.Portable = Env.IsDirectory && Env.IsDirectory(beside);
  if (data.Portable) {
    data.SettingsDir = data.ProgramDir;
    data.DataDir = beside;
  } else {
    data.SettingsDir = BaseDir(Env.XdgConfigHome, Env.Home, ".config/") + ProgramName + "/";
    data.DataDir = BaseDir(Env.XdgDataHome, Env.Home, ".local/share/") + ProgramName + "/data/";
  }

  // An installed program lives in PREFIX/bin and its files in
  // PREFIX/share/navorix.
  const bool shipsBeside = Env.IsDirectory && Env.IsDirectory(data.ProgramDir + "wav");
  data.ShareDir = shipsBeside ? data.ProgramDir
                              : data.ProgramDir + "../share/" + ProgramName + "/";
  data.HelpFile = shipsBeside ? base + ".hlp" : data.ShareDir + baseName + ".hlp";
  return data;
}

TAppData StartUp(bool& Changed) {
  std::string program = ProgramFileName();
  if (program.empty()) {
    std::vector<char> cwd(PATH_MAX + 1);
    const std::string dir = ::getcwd(cwd.data(), cwd.size()) != nullptr ? cwd.data() : ".";
    program = WithSlash(dir) + ProgramName;
  }
  TAppData data = MakeAppData(program, ProcessEnvironment());
  Changed = ::chdir(data.ProgramDir.c_str()) == 0;
  return data;
}

bool MakeDirectories(const std::string& Dir) {
  std::string path;
  std::size_t start = 0;
  while (start < Dir.size()) {
    const std::size_t next = Dir.find('/', start + 1);
    path = Dir.substr(0, next);
    start = next == std::string::npos ? Dir.size() : next;
    if (path.empty() || path == "/" ) continue;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat info {};
  return ::stat(Dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace navorix
