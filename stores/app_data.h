// The application data record and the program's directories, fixed at
// start before any window exists.
//
// Notation:
//   program directory  the directory of the running program file, as the
//                      file system spells it, ending in "/"
//   data directory     the program directory followed by "data/"
#pragma once

#include <cstdint>
#include <string>

namespace navorix {

inline constexpr const char* VersionText = "1.20";
inline constexpr const char* ApplicationTitle = "Navorix";

struct TAppData {
  std::string Version;                   // "1.20"
  std::string ProgramDir;                // ends in "/"
  std::string DataDir;                   // ProgramDir + "data/"
  std::string HelpFile;                  // program file with extension ".hlp"
  std::string PropFontName = "Verdana";  // proportional font of the windows
  std::string FixedFontName = "Courier New";
  std::uint16_t PropFontSize = 9;  // replaced by "PropFontSize" when 7..12
};

// The program-wide application data.
extern TAppData AppData;

// The full name of the running program file (from /proc/self/exe), or an
// empty text when the system does not tell it.
std::string ProgramFileName();

// Fills the directories and the help file name of AppData from the program
// file's full name ProgramFile; the case of every name is kept. A name
// without a directory gives the current directory "./".
void SetDirectories(const std::string& ProgramFile);

// The start-up steps that need no window: the version text, the
// directories from the running program file (the current directory when it
// cannot be found), and the program directory made the current directory.
// Returns false when changing the current directory failed.
bool StartUp();

}  // namespace navorix
