#include "stores/app_data.h"

#include <unistd.h>

#include <climits>
#include <vector>

namespace navorix {

TAppData AppData;

std::string ProgramFileName() {
  std::vector<char> path(PATH_MAX + 1);
  const ssize_t size = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (size <= 0) return {};
  return std::string(path.data(), static_cast<std::size_t>(size));
}

void SetDirectories(const std::string& ProgramFile) {
  const std::size_t slash = ProgramFile.find_last_of('/');
  AppData.ProgramDir = slash == std::string::npos ? "./" : ProgramFile.substr(0, slash + 1);
  AppData.DataDir = AppData.ProgramDir + "data/";
  const std::size_t dot = ProgramFile.find_last_of('.');
  const bool has_extension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  AppData.HelpFile = (has_extension ? ProgramFile.substr(0, dot) : ProgramFile) + ".hlp";
}

bool StartUp() {
  AppData.Version = VersionText;
  std::string program = ProgramFileName();
  if (program.empty()) {
    std::vector<char> cwd(PATH_MAX + 1);
    const std::string dir = ::getcwd(cwd.data(), cwd.size()) != nullptr ? cwd.data() : ".";
    program = dir + (dir.back() == '/' ? "" : "/") + "navorix";
  }
  SetDirectories(program);
  return ::chdir(AppData.ProgramDir.c_str()) == 0;
}

}  // namespace navorix
