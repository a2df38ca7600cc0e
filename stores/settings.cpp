#include "stores/settings.h"

#include "geometry/error.h"
#include "stores/profile_file.h"

namespace navorix {

namespace {

constexpr const char* SettingsSection = "Settings";
constexpr const char* InterfaceSection = "Interface";

// An option value of the settings file; the first value (every option's
// default) when it is missing, does not convert or lies outside the range.
template <typename E>
E ReadOption(const TProfileFile& Ini, const char* Key, int Count) {
  E value{};
  FromIndex(Ini.ReadInteger(SettingsSection, Key, 0), Count, value);
  return value;
}

bool IsFontSize(int Size) { return Size >= MinFontSize && Size <= MaxFontSize; }

}  // namespace

bool ReadSettings(const TProfileFile& ini, TSettings& Settings) {
  TEarthModel& earth = Settings.Earth;
  earth.EllipticLat = ini.ReadBool(SettingsSection, "EllipticLat", true);
  earth.EllipticArc = ini.ReadBool(SettingsSection, "EllipticArc", false);
  earth.GeoDistance = ini.ReadBool(SettingsSection, "GeoDistance", false);

  TDisplayOptions& display = Settings.Display;
  display.LatLonFormat = ReadOption<TAngleFormat>(ini, "LatLonFormat", LatLonFormatCount);
  display.AzimFormat = ReadOption<TAngleFormat>(ini, "AzimFormat", AzimFormatCount);
  display.PlusDir = ReadOption<TPlusDir>(ini, "PlusDir", PlusDirCount);
  display.Precision = ReadOption<TAccuracy>(ini, "Precision", PrecisionCount);
  display.DistUnits = ReadOption<TDistUnits>(ini, "DistUnits", DistUnitsCount);
  display.AzimRange = ReadOption<TAzimRange>(ini, "AzimRange", AzimRangeCount);

  // The three radii are taken together or not at all: a model made of one
  // hand-entered radius and two others that do not fit it would be worse
  // than the model in force.
  const EarthShape& shape = earth.Shape;
  const long double spher = ini.ReadFloat(SettingsSection, "SpherRadius", shape.SpherRadius);
  const long double polar = ini.ReadFloat(SettingsSection, "PolarRadius", shape.PolarRadius);
  const long double equat = ini.ReadFloat(SettingsSection, "EquatRadius", shape.EquatRadius);
  const bool usable = IsUsableEarthModel(spher, polar, equat);
  if (usable) earth.Shape = EarthShape(spher, polar, equat);

  TInterfaceOptions& face = Settings.Interface;
  face.Sound = ini.ReadBool(InterfaceSection, "Sound", true);
  face.Hints = ini.ReadBool(InterfaceSection, "Hints", true);
  const int menuSize = ini.ReadInteger(InterfaceSection, "MenuFontSize", DefaultFontSize);
  if (IsFontSize(menuSize)) face.MenuFontSize = menuSize;
  const int propSize = ini.ReadInteger(InterfaceSection, "PropFontSize", DefaultFontSize);
  if (IsFontSize(propSize)) face.PropFontSize = propSize;
  return usable;
}

void LoadSettings(const std::string& FileName, TSettings& Settings, const TFileSystemCalls& Calls) {
  TProfileFile ini(FileName, Calls);
  ini.Load();
  if (!ReadSettings(ini, Settings)) throw Error(msg::BadEarthRadii);
}

void SaveSettings(const std::string& FileName, const TSettings& Settings, const TFileSystemCalls& Calls) {
  // Reading the file first keeps every line that is not written here; a
  // file that cannot be read is not overwritten.
  TProfileFile ini(FileName, Calls);
  ini.Load();
  SaveSettings(ini, Settings);
}

void SaveSettings(TProfileFile& ini, const TSettings& Settings) {
  const TEarthModel& earth = Settings.Earth;
  const TDisplayOptions& display = Settings.Display;
  ini.WriteBool(SettingsSection, "EllipticLat", earth.EllipticLat);
  ini.WriteBool(SettingsSection, "EllipticArc", earth.EllipticArc);
  ini.WriteBool(SettingsSection, "GeoDistance", earth.GeoDistance);
  ini.WriteInteger(SettingsSection, "LatLonFormat", Index(display.LatLonFormat));
  ini.WriteInteger(SettingsSection, "AzimFormat", Index(display.AzimFormat));
  ini.WriteInteger(SettingsSection, "PlusDir", Index(display.PlusDir));
  ini.WriteInteger(SettingsSection, "Precision", Index(display.Precision));
  ini.WriteInteger(SettingsSection, "DistUnits", Index(display.DistUnits));
  ini.WriteInteger(SettingsSection, "AzimRange", Index(display.AzimRange));
  ini.WriteBool(InterfaceSection, "Sound", Settings.Interface.Sound);
  ini.WriteBool(InterfaceSection, "Hints", Settings.Interface.Hints);
  ini.Save();
}

}  // namespace navorix
