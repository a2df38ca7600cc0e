// The application data record and where the program's files live, fixed at
// start before any window exists.
//
// Notation:
//   program directory  the directory of the running program file, as the
//                      file system spells it, ending in "/"
//   portable           a program directory that holds a folder "data": the
//                      settings file lives in the program directory and the
//                      status files in its "data" folder, all beside the
//                      program
//   per-user           any other place (a build tree, an installed copy the
//                      user cannot write): settings in
//                      $XDG_CONFIG_HOME/navorix/, status files in
//                      $XDG_DATA_HOME/navorix/data/, so that neither a
//                      rebuild nor a read-only installation loses them
//   share directory    where the shipped sounds ("wav/") and the help file
//                      are: the program directory when it holds "wav",
//                      else the installed share folder beside "bin"
#pragma once

#include <functional>
#include <string>

namespace navorix {

inline constexpr const char* VersionText = "1.20";
inline constexpr const char* ApplicationTitle = "Navorix";
inline constexpr const char* ProgramName = "navorix";
// The font families the windows ask for by name.
inline constexpr const char* PropFontFamily = "Verdana";
inline constexpr const char* FixedFontFamily = "Courier New";

struct AppData {
  std::string version = VersionText;
  std::string programDir;                     // ends in "/"
  std::string settingsDir;                    // holds "navorix.ini"; ends in "/"
  std::string dataDir;                        // status files and the fix-file dialogs; ends in "/"
  std::string shareDir;                       // holds "wav/"; ends in "/"
  std::string helpFile;                       // the program's name with the extension ".hlp"
  bool portable = true;                       // every file beside the program
  std::string propFontName = PropFontFamily;  // proportional font of the windows
  std::string fixedFontName = FixedFontFamily;
};

// What the directories are decided from, so that the rule can be tested
// without touching the real environment.
struct StartEnvironment {
  std::string home;           // $HOME
  std::string xdgConfigHome;  // $XDG_CONFIG_HOME ("" when unset)
  std::string xdgDataHome;    // $XDG_DATA_HOME ("" when unset)
  std::function<bool(const std::string&)> isDirectory;
};

// The environment of this process.
StartEnvironment ProcessEnvironment();

// The full name of the running program file (from /proc/self/exe), or an
// empty text when the system does not tell it.
std::string ProgramFileName();

// The directories for the program file programFile (the case of every name
// kept; a name without a directory is in "./"), by the rules above.
AppData MakeAppData(const std::string& programFile, const StartEnvironment& env);

// The start-up steps that need no window: the application data from the
// running program file (the current directory when it cannot be found) and
// the program directory made the current directory. changed is false when
// changing the current directory failed.
AppData StartUp(bool& changed);

// Creates dir and its missing parents (mode 0700 for new ones); false with
// errno set when that fails.
bool MakeDirectories(const std::string& dir);

}  // namespace navorix
