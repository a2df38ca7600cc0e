// A private directory that holds a copy of a settings file under the name
// status loading looks for, so that the batch program's "--ini FILE" is
// read by status loading itself. Removed again with the object.
#pragma once

#include <string>

namespace navorix {

class TSettingsCopy {
 public:
  TSettingsCopy() = default;
  ~TSettingsCopy();
  TSettingsCopy(const TSettingsCopy&) = delete;
  TSettingsCopy& operator=(const TSettingsCopy&) = delete;

  // Creates the directory and, unless IniFile is empty, copies IniFile into
  // it as "navorix.ini". False with Failure set when IniFile cannot be read
  // or the copy cannot be made.
  bool Prepare(const std::string& IniFile, std::string& Failure);
  // The directory, ending in "/".
  const std::string& Directory() const { return directory_; }

 private:
  std::string directory_;
  std::string copy_;
};

}  // namespace navorix
