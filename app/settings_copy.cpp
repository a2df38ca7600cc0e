// The private settings directory of the batch program.
#include "app/settings_copy.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "stores/status.h"

namespace navorix {

namespace {

// A file's whole content; false when it cannot be opened or read.
bool ReadWhole(const std::string& FileName, std::string& Content) {
  std::ifstream in(FileName, std::ios::binary);
  if (!in) return false;
  Content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

TSettingsCopy::~TSettingsCopy() {
  if (!copy_.empty()) std::remove(copy_.c_str());
  if (!directory_.empty()) ::rmdir(directory_.c_str());
}

bool TSettingsCopy::Prepare(const std::string& IniFile, std::string& Failure) {
  std::string content;
  if (!IniFile.empty() && !ReadWhole(IniFile, content)) {
    Failure = "Cannot read " + IniFile + ": " + std::strerror(errno);
    return false;
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                        "/navorix-batch-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    Failure = "Cannot create a directory for the settings: " + std::string(std::strerror(errno));
    return false;
  }
  directory_ = pattern + "/";
  if (IniFile.empty()) return true;
  copy_ = directory_ + SettingsFileName;
  std::ofstream out(copy_, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  if (!out) {
    Failure = "Cannot copy the settings file " + IniFile;
    return false;
  }
  return true;
}

}  // namespace navorix
