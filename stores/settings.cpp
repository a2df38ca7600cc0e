#include "stores/settings.h"

#include "geometry/error.h"
#include "stores/profile_file.h"

namespace navorix {

namespace {

constexpr const char* SettingsSection = "Settings";
constexpr const char* InterfaceSection = "Interface";

bool IsFontSize(int size) { return size >= MinFontSize && size <= MaxFontSize; }

}  // namespace

std::vector<std::string> ReadSettings(const ProfileFile& ini, ProgramSettings& settings) {
  std::vector<std::string> refused;
  EarthModel& earth = settings.earth;
  earth.ellipticLat = ini.ReadBool(SettingsSection, "EllipticLat", true);
  earth.ellipticArc = ini.ReadBool(SettingsSection, "EllipticArc", false);
  earth.geoDistance = ini.ReadBool(SettingsSection, "GeoDistance", false);

  // An option value that is missing, does not convert or lies outside its
  // range gives the first value, every option's default.
  for (const DisplayOptionInfo& option : DisplayOptionTable) {
    const int value = ini.ReadInteger(SettingsSection, option.key, 0);
    option.set(settings.display, value >= 0 && value < option.count ? value : 0);
  }

  // The three radii are taken together or not at all: a model made of one
  // hand-entered radius and two others that do not fit it would be worse
  // than the model in force.
  const EarthShape& shape = earth.shape;
  const long double spher = ini.ReadFloat(SettingsSection, "SpherRadius", shape.spherRadius);
  const long double polar = ini.ReadFloat(SettingsSection, "PolarRadius", shape.polarRadius);
  const long double equat = ini.ReadFloat(SettingsSection, "EquatRadius", shape.equatRadius);
  if (IsUsableEarthModel(spher, polar, equat)) {
    earth.shape = EarthShape(spher, polar, equat);
  } else {
    refused.emplace_back(msg::BadEarthRadii);
  }

  InterfaceOptions& face = settings.interface;
  face.sound = ini.ReadBool(InterfaceSection, "Sound", true);
  face.hints = ini.ReadBool(InterfaceSection, "Hints", true);
  // A size outside the range leaves the size as it is, and is said: only a
  // person writes these keys.
  const auto fontSize = [&](const char* key, int& target, const char* refusal) {
    if (!ini.HasKey(InterfaceSection, key)) {
      target = DefaultFontSize;
      return;
    }
    const int size = ini.ReadInteger(InterfaceSection, key, 0);
    if (IsFontSize(size)) {
      target = size;
    } else {
      refused.emplace_back(refusal);
    }
  };
  fontSize("MenuFontSize", face.menuFontSize, msg::BadMenuFontSize);
  fontSize("PropFontSize", face.propFontSize, msg::BadPropFontSize);
  settings.chart = ReadChartSettings(ini);
  return refused;
}

void LoadSettings(const std::string& fileName, ProgramSettings& settings, const FileSystemCalls& calls) {
  ProfileFile ini(fileName, calls);
  ini.Load();
  const std::vector<std::string> refused = ReadSettings(ini, settings);
  if (!refused.empty()) throw Error(refused.front());
}

CommitResult SaveSettings(const std::string& fileName, const ProgramSettings& settings,
                          const FileSystemCalls& calls, const KeepOld& keep) {
  // Reading the file first keeps every line that is not written here; a
  // file that cannot be read is not overwritten.
  ProfileFile ini(fileName, calls);
  ini.Load();
  return SaveSettings(ini, settings, keep);
}

CommitResult SaveSettings(ProfileFile& ini, const ProgramSettings& settings, const KeepOld& keep) {
  const EarthModel& earth = settings.earth;
  ini.WriteBool(SettingsSection, "EllipticLat", earth.ellipticLat);
  ini.WriteBool(SettingsSection, "EllipticArc", earth.ellipticArc);
  ini.WriteBool(SettingsSection, "GeoDistance", earth.geoDistance);
  for (const DisplayOptionInfo& option : DisplayOptionTable) {
    ini.WriteInteger(SettingsSection, option.key, option.get(settings.display));
  }
  ini.WriteBool(InterfaceSection, "Sound", settings.interface.sound);
  ini.WriteBool(InterfaceSection, "Hints", settings.interface.hints);
  WriteChartSettings(ini, settings.chart);
  return ini.Save(keep);
}

}  // namespace navorix
