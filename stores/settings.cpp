#include "stores/status.h"

#include <sys/stat.h>

#include <exception>
#include <initializer_list>
#include <string>

#include "geometry/earth_model.h"
#include "geometry/error.h"
#include "stores/app_data.h"
#include "stores/atomic_file.h"
#include "stores/profile_file.h"
#include "text/display_options.h"

namespace navorix {

bool SoundOn = true;
bool HintsOn = true;

namespace {

constexpr const char* SettingsSection = "Settings";
constexpr const char* InterfaceSection = "Interface";

using enum TMenuItem;

// Checks the item of Value among Items and clears the others.
void CheckOne(TOptionsMenu& Menu, std::initializer_list<TMenuItem> Items, int Value) {
  int index = 0;
  for (const TMenuItem item : Items) Menu.SetMenuChecked(item, index++ == Value);
}

bool InRange(int Value, int Count) { return Value >= 0 && Value < Count; }

bool Exists(const std::string& FileName) {
  struct stat info {};
  return ::stat(FileName.c_str(), &info) == 0;
}

// An option value of the settings file; 0 (every option's default) when it
// is missing, does not convert or lies outside 0..Count - 1.
int ReadOption(const TProfileFile& Ini, const char* Key, int Count) {
  const int value = Ini.ReadInteger(SettingsSection, Key, 0);
  return InRange(value, Count) ? value : 0;
}

}  // namespace

void LoadSettings(const std::string& FileName, TOptionsMenu& Menu) {
  TProfileFile ini(FileName);
  ini.Load();

  EllipticLat = ini.ReadBool(SettingsSection, "EllipticLat", true);
  EllipticArc = ini.ReadBool(SettingsSection, "EllipticArc", false);
  GeoDistance = ini.ReadBool(SettingsSection, "GeoDistance", false);
  ShowEllipsoidSwitches(Menu);

  SetLatLonFormat(Menu, ReadOption(ini, "LatLonFormat", LatLonFormatCount));
  SetAzimFormat(Menu, ReadOption(ini, "AzimFormat", AzimFormatCount));
  SetPlusDir(Menu, ReadOption(ini, "PlusDir", PlusDirCount));
  SetPrecision(Menu, ReadOption(ini, "Precision", PrecisionCount));
  SetDistUnits(Menu, ReadOption(ini, "DistUnits", DistUnitsCount));
  SetAzimRange(Menu, ReadOption(ini, "AzimRange", AzimRangeCount));

  // The three radii are taken together or not at all: a model made of one
  // hand-entered radius and two others that do not fit it would be worse
  // than the model in force.
  const EarthShape& earth = Earth();
  const long double spher = ini.ReadFloat(SettingsSection, "SpherRadius", earth.SpherRadius);
  const long double polar = ini.ReadFloat(SettingsSection, "PolarRadius", earth.PolarRadius);
  const long double equat = ini.ReadFloat(SettingsSection, "EquatRadius", earth.EquatRadius);
  const bool usable = IsUsableEarthModel(spher, polar, equat);
  if (usable) SetEarthModel(spher, polar, equat);

  SetSound(Menu, ini.ReadBool(InterfaceSection, "Sound", true));
  SetHints(Menu, ini.ReadBool(InterfaceSection, "Hints", true));
  const int menu_size = ini.ReadInteger(InterfaceSection, "MenuFontSize", 9);
  if (menu_size >= MinFontSize && menu_size <= MaxFontSize) Menu.SetMenuFontSize(menu_size);
  const int prop_size = ini.ReadInteger(InterfaceSection, "PropFontSize", 9);
  if (prop_size >= MinFontSize && prop_size <= MaxFontSize) {
    AppData.PropFontSize = static_cast<std::uint16_t>(prop_size);
    Menu.SetPropFontSize(prop_size);
  }

  if (!usable) throw Error(msg::BadEarthRadii);
}

namespace {

// Stores Value in Option, checks its item among Items and sets the caption
// of Submenu to Prefix and the value's name. A Value outside the names
// changes nothing.
template <std::size_t Count>
bool ApplyOption(TOptionsMenu& Menu, std::uint8_t& Option, int Value,
                 std::initializer_list<TMenuItem> Items, TMenuItem Submenu, const char* Prefix,
                 const char* const (&Names)[Count]) {
  if (!InRange(Value, static_cast<int>(Count))) return false;
  Option = static_cast<std::uint8_t>(Value);
  CheckOne(Menu, Items, Value);
  Menu.SetMenuCaption(Submenu, std::string(Prefix) + Names[Value]);
  return true;
}

constexpr const char* PrecisionNames[3] = {"Low", "Medium", "High"};
constexpr const char* AzimFormatNames[3] = {FormatNames[0], FormatNames[1], FormatNames[2]};
constexpr const char* DistUnitNames[4] = {DistUnitTable[0].Name, DistUnitTable[1].Name,
                                          DistUnitTable[2].Name, DistUnitTable[3].Name};

}  // namespace

void SetLatLonFormat(TOptionsMenu& Menu, int Value) {
  ApplyOption(Menu, DisplayOptions.LatLonFormat, Value, {maDeg, maDMF, maDMS, maInf}, mLatLon,
              "Lat/Lon &Format: ", FormatNames);
}

void SetAzimFormat(TOptionsMenu& Menu, int Value) {
  ApplyOption(Menu, DisplayOptions.AzimFormat, Value, {mzDeg, mzDMF, mzDMS}, mAzAngle,
              "&Azimuth Format: ", AzimFormatNames);
}

void SetPlusDir(TOptionsMenu& Menu, int Value) {
  ApplyOption(Menu, DisplayOptions.PlusDir, Value, {mopNE, mopNW, mopSE, mopSW}, moPlus,
              "&Plus coordinates: ", PlusDirNames);
}

void SetPrecision(TOptionsMenu& Menu, int Value) {
  ApplyOption(Menu, DisplayOptions.Precision, Value, {moAccuL, moAccuM, moAccuH}, moAccu,
              "&Display Accuracy: ", PrecisionNames);
}

void SetDistUnits(TOptionsMenu& Menu, int Value) {
  if (ApplyOption(Menu, DisplayOptions.DistUnits, Value, {muKm, muMi, muNmi, muDeg}, mDist,
                  "Distance &Units: ", DistUnitNames)) {
    Menu.SetNextFixEnabled(Value != DegreesUnit);
  }
}

void SetAzimRange(TOptionsMenu& Menu, int Value) {
  ApplyOption(Menu, DisplayOptions.AzimRange, Value, {mAz180, mAz360}, moAzim, "Azimuth Range: ",
              AzimRangeNames);
}

void SetSound(TOptionsMenu& Menu, bool On) {
  SoundOn = On;
  Menu.SetMenuChecked(moSound, On);
}

void SetHints(TOptionsMenu& Menu, bool On) {
  HintsOn = Menu.SetHintsShown(On);
  Menu.SetMenuChecked(moHints, HintsOn);
}

void ShowEllipsoidSwitches(TOptionsMenu& Menu) {
  Menu.SetMenuChecked(mEllip, EllipticLat);
  Menu.SetMenuChecked(mEllArc, EllipticArc);
  Menu.SetMenuChecked(mEllDist, EllipticArc || GeoDistance);
  Menu.SetMenuChecked(mGeodesic, GeoDistance);
}

void LoadStatus(TWinFixDB& Fixes, TWinLogDB& Log, TOptionsMenu& Menu) {
  Fixes.Clear();
  Log.Clear();
  try {
    LoadSettings(AppData.ProgramDir + SettingsFileName, Menu);
  } catch (const std::exception& failure) {
    Menu.ShowError(failure.what());
  }
  const std::string fix_file = AppData.DataDir + StatusFixFileName;
  if (Exists(fix_file)) Fixes.LoadFromFile(fix_file);
  const std::string old_history = AppData.DataDir + OldHistoryFileName;
  const std::string history = AppData.DataDir + HistoryFileName;
  // A failed rename (the history file exists) is no failure: the old file
  // simply stays.
  if (Exists(old_history)) (void)RenameNoReplace(old_history, history);
  if (Exists(history)) Log.LoadFromFile(history);
}

void SaveStatus(const TFixDB& Fixes, const TLogList& Log) {
  // Reading the file first keeps every line that is not written here; a
  // file that cannot be read is not overwritten.
  TProfileFile ini(AppData.ProgramDir + SettingsFileName);
  ini.Load();
  ini.WriteBool(SettingsSection, "EllipticLat", EllipticLat);
  ini.WriteBool(SettingsSection, "EllipticArc", EllipticArc);
  ini.WriteBool(SettingsSection, "GeoDistance", GeoDistance);
  ini.WriteInteger(SettingsSection, "LatLonFormat", DisplayOptions.LatLonFormat);
  ini.WriteInteger(SettingsSection, "AzimFormat", DisplayOptions.AzimFormat);
  ini.WriteInteger(SettingsSection, "PlusDir", DisplayOptions.PlusDir);
  ini.WriteInteger(SettingsSection, "Precision", DisplayOptions.Precision);
  ini.WriteInteger(SettingsSection, "DistUnits", DisplayOptions.DistUnits);
  ini.WriteInteger(SettingsSection, "AzimRange", DisplayOptions.AzimRange);
  ini.WriteBool(InterfaceSection, "Sound", SoundOn);
  ini.WriteBool(InterfaceSection, "Hints", HintsOn);
  ini.Save();
  Fixes.SaveToFile(AppData.DataDir + StatusFixFileName);
  Log.SaveToFile(AppData.DataDir + HistoryFileName);
}

}  // namespace navorix
