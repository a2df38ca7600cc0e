// The program's settings as one value, and the settings file "navorix.ini"
// that keeps them between runs.
//
// Settings file keys, with the default used when a key is missing, does
// not convert or lies outside its range:
//   [Settings] EllipticLat 1, EllipticArc 0, GeoDistance 0 (Booleans);
//              LatLonFormat 0..3, AzimFormat 0..2, PlusDir 0..3,
//              Precision 0..2, DistUnits 0..3, AzimRange 0..1 (default 0);
//              SpherRadius, PolarRadius, EquatRadius (km, default the radius
//              in force; never written by the program)
//   [Interface] Sound 1, Hints 1 (Booleans); MenuFontSize, PropFontSize
//              (taken only when 7..12; never written by the program)
#pragma once

#include <string>
#include <vector>

#include "geometry/earth_model.h"
#include "stores/atomic_file.h"
#include "stores/chart_settings.h"
#include "stores/file_calls.h"
#include "text/display_options.h"

namespace navorix {

inline constexpr const char* SettingsFileName = "navorix.ini";
inline constexpr const char* StatusFixFileName = "navorix.fix";
inline constexpr const char* HistoryFileName = "navorix.his";
inline constexpr const char* OldHistoryFileName = "navorix.log";

inline constexpr int MinFontSize = 7;
inline constexpr int MaxFontSize = 12;
inline constexpr int DefaultFontSize = 9;

namespace msg {
inline constexpr const char* BadEarthRadii = "Unusable Earth radii in the settings file";
inline constexpr const char* BadMenuFontSize = "Settings file: MenuFontSize not used (only 7 to 12)";
inline constexpr const char* BadPropFontSize = "Settings file: PropFontSize not used (only 7 to 12)";
}  // namespace msg

// The options of the window itself.
struct InterfaceOptions {
  bool sound = true;                   // the sounds play only while it is on
  bool hints = true;                   // balloon hints of the main window
  int menuFontSize = DefaultFontSize;  // point size of the menu font
  int propFontSize = DefaultFontSize;  // proportional font of the windows
  friend bool operator==(const InterfaceOptions&, const InterfaceOptions&) = default;
};

// Everything the settings file holds, with the values before it is read.
struct ProgramSettings {
  DisplayOptions display;
  EarthModel earth;
  InterfaceOptions interface;
  ChartSettings chart;  // [Chart], the chart window's own section
};

class ProfileFile;

// Reads the settings of a loaded settings file into settings, in the order
// status loading takes them: the ellipsoid switches, the display options,
// the radii, the interface options. Returns the messages of the values a
// person wrote that were refused (the program never writes them): radii
// that make no usable model (refused as a set; the radii in force stay)
// and font sizes outside 7 to 12. Everything else is read all the same,
// and a refused value stays in the file.
std::vector<std::string> ReadSettings(const ProfileFile& ini, ProgramSettings& settings);

// Reads the settings file fileName into settings, in the order status
// loading takes them: the ellipsoid switches, the display options, the
// radii, the interface options. A missing file gives every default. Throws
// at the first failure (the settings not yet read keep their values); a
// refused value (see ReadSettings) is raised as Error with its message
// after the rest has been read.
void LoadSettings(const std::string& fileName, ProgramSettings& settings,
                  const FileSystemCalls& calls = SystemCalls());

// Writes the keys the program writes ("Settings": the three switches and
// the six display options; "Interface": Sound and Hints; "Chart" once the
// chart window has been placed), keeping every
// other line of the file as it was, and of the old file what keep says. A
// file that exists but cannot be read is not overwritten. Throws Error on
// failure; the old file stays then.
CommitResult SaveSettings(const std::string& fileName, const ProgramSettings& settings,
                          const FileSystemCalls& calls = SystemCalls(), const KeepOld& keep = {});
// Writes the keys into ini as it stands (loaded or not) and saves it.
CommitResult SaveSettings(ProfileFile& ini, const ProgramSettings& settings, const KeepOld& keep = {});

}  // namespace navorix
