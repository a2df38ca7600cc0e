// The program's status: the option settings in "navorix.ini" (program
// directory), the fix database in "navorix.fix" and the operation log in
// "navorix.his" (data directory); and the option setters, which apply one
// value to the program and to its Options menu.
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

#include <cstdint>
#include <string>

#include "stores/options_menu.h"
#include "stores/win_fix_db.h"
#include "stores/win_log_db.h"

namespace navorix {

inline constexpr const char* SettingsFileName = "navorix.ini";
inline constexpr const char* StatusFixFileName = "navorix.fix";
inline constexpr const char* HistoryFileName = "navorix.his";
inline constexpr const char* OldHistoryFileName = "navorix.log";

inline constexpr int MinFontSize = 7;
inline constexpr int MaxFontSize = 12;

namespace msg {
inline constexpr const char* BadEarthRadii = "Unusable Earth radii in the settings file";
}  // namespace msg

// The Sound option: the sounds play only while it is on.
extern bool SoundOn;
// The balloon hints as the main window last reported them (saved as
// "Hints").
extern bool HintsOn;

// The setters store the value in the program-wide option, then set the
// check marks and the submenu caption. A value outside the option's range
// changes nothing.
void SetLatLonFormat(TOptionsMenu& Menu, int Value);
void SetAzimFormat(TOptionsMenu& Menu, int Value);
void SetPlusDir(TOptionsMenu& Menu, int Value);
void SetPrecision(TOptionsMenu& Menu, int Value);
// Also enables "&Next Fix" unless the unit is degrees, and disables it then.
void SetDistUnits(TOptionsMenu& Menu, int Value);
void SetAzimRange(TOptionsMenu& Menu, int Value);
void SetSound(TOptionsMenu& Menu, bool On);
// The menu item shows whether the window could switch the hints.
void SetHints(TOptionsMenu& Menu, bool On);
// Checks "Elliptic D&istances" when EllipticArc or GeoDistance is on, and
// each of the three ellipsoid items by its switch.
void ShowEllipsoidSwitches(TOptionsMenu& Menu);

// Reads the settings file FileName as status loading does: the ellipsoid
// switches, the display options through their setters, the radii and the
// interface options. A missing file gives every default. Throws at the
// first failure (the settings not yet read keep their values); radii that
// make no usable model are refused as a set and reported, as Error
// msg::BadEarthRadii, after the rest has been read.
void LoadSettings(const std::string& FileName, TOptionsMenu& Menu);

// Clears both stores, reads the settings (a failure there is shown once in
// the error box and the settings not yet read keep their values), loads
// "navorix.fix" when it exists, renames "navorix.log" to "navorix.his"
// unless that exists, and loads "navorix.his" when it exists, showing its
// last record. A failure of the history file is raised.
void LoadStatus(TWinFixDB& Fixes, TWinLogDB& Log, TOptionsMenu& Menu);

// Writes the settings keys (every other line of the file stays), then
// "navorix.fix", then "navorix.his", each replacing its file only when
// complete. The first failure is raised and ends the saving.
void SaveStatus(const TFixDB& Fixes, const TLogList& Log);

}  // namespace navorix
