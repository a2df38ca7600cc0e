#include "stores/settings.h"

#include "geometry/error.h"
#include "stores/profile_file.h"

namespace navorix {

namespace {

constexpr const char* SettingsSection = "Settings";
constexpr const char* InterfaceSection = "Interface";

bool IsFontSize(int Size) { return Size >= MinFontSize && Size <= MaxFontSize; }

}  // namespace

std::vector<std::string> ReadSettings(const TProfileFile& ini, TSettings& Settings) {
  std::vector<std::string> refused;
  TEarthModel& earth = Settings.Earth;
  earth.EllipticLat = ini.ReadBool(SettingsSection, "EllipticLat", true);
  earth.EllipticArc = ini.ReadBool(SettingsSection, "EllipticArc", false);
  earth.GeoDistance = ini.ReadBool(SettingsSection, "GeoDistance", false);

  // An option value that is missing, does not convert or lies outside its
  // range gives the first value, every option's default.
  for (const TDisplayOptionInfo& option : DisplayOptionTable) {
    const int value = ini.ReadInteger(SettingsSection, option.Key, 0);
    option.Set(Settings.Display, value >= 0 && value < option.Count ? value : 0);
  }

  // The three radii are taken together or not at all: a model made of one
  // hand-entered radius and two others that do not fit it would be worse
  // than the model in force.
  const EarthShape& shape = earth.Shape;
  const long double spher = ini.ReadFloat(SettingsSection, "SpherRadius", shape.SpherRadius);
  const long double polar = ini.ReadFloat(SettingsSection, "PolarRadius", shape.PolarRadius);
  const long double equat = ini.ReadFloat(SettingsSection, "EquatRadius", shape.EquatRadius);
  if (IsUsableEarthModel(spher, polar, equat)) {
    earth.Shape = EarthShape(spher, polar, equat);
  } else {
    refused.emplace_back(msg::BadEarthRadii);
  }

  TInterfaceOptions& face = Settings.Interface;
  face.Sound = ini.ReadBool(InterfaceSection, "Sound", true);
  face.Hints = ini.ReadBool(InterfaceSection, "Hints", true);
  // A size outside the range leaves the size as it is, and is said: only a
  // person writes these keys.
  const auto fontSize = [&](const char* Key, int& Size, const char* Refused) {
    if (!ini.HasKey(InterfaceSection, Key)) {
      Size = DefaultFontSize;
      return;
    }
    const int size = ini.ReadInteger(InterfaceSection, Key, 0);
    if (IsFontSize(size)) {
      Size = size;
    } else {
      refused.emplace_back(Refused);
    }
  };
  fontSize("MenuFontSize", face.MenuFontSize, msg::BadMenuFontSize);
  fontSize("PropFontSize", face.PropFontSize, msg::BadPropFontSize);
  Settings.Chart = ReadChartSettings(ini);
  return refused;
}

void LoadSettings(const std::string& FileName, TSettings& Settings, const TFileSystemCalls& Calls) {
  TProfileFile ini(FileName, Calls);
  ini.Load();
  const std::vector<std::string> refused = ReadSettings(ini, Settings);
  if (!refused.empty()) throw Error(refused.front());
}

TCommitResult SaveSettings(const std::string& FileName, const TSettings& Settings,
                           const TFileSystemCalls& Calls, const TKeepOld& Keep) {
  // Reading the file first keeps every line that is not written here; a
  // file that cannot be read is not overwritten.
  TProfileFile ini(FileName, Calls);
  ini.Load();
  return SaveSettings(ini, Settings, Keep);
}

TCommitResult SaveSettings(TProfileFile& ini, const TSettings& Settings, const TKeepOld& Keep) {
  const TEarthModel& earth = Settings.Earth;
  ini.WriteBool(SettingsSection, "EllipticLat", earth.EllipticLat);
  ini.WriteBool(SettingsSection, "EllipticArc", earth.EllipticArc);
  ini.WriteBool(SettingsSection, "GeoDistance", earth.GeoDistance);
  for (const TDisplayOptionInfo& option : DisplayOptionTable) {
    ini.WriteInteger(SettingsSection, option.Key, option.Get(Settings.Display));
  }
  ini.WriteBool(InterfaceSection, "Sound", Settings.Interface.Sound);
  ini.WriteBool(InterfaceSection, "Hints", Settings.Interface.Hints);
  WriteChartSettings(ini, Settings.Chart);
  return ini.Save(Keep);
}

}  // namespace navorix
