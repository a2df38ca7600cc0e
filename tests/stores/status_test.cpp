// Settings and status: loading, saving and the option setters.
#include "stores/status.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "geometry/earth_model.h"
#include "geometry/error.h"
#include "stores/app_data.h"
#include "stores_test_support.h"
#include "text/display_options.h"

namespace navorix {
namespace {

using testing::MakeTestFix;
using testing::ReadFile;
using testing::TFakeFixList;
using testing::TFakeLogView;
using testing::TFakeMenu;
using testing::TTempDir;
using testing::WriteFile;
using enum TMenuItem;

class StatusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_app_ = AppData;
    saved_options_ = DisplayOptions;
    saved_earth_ = Earth();
    saved_switches_[0] = EllipticLat;
    saved_switches_[1] = EllipticArc;
    saved_switches_[2] = GeoDistance;
    AppData.ProgramDir = dir.Path() + "/";
    AppData.DataDir = dir.Path() + "/data/";
    std::filesystem::create_directory(AppData.DataDir);
    fixes.Clear();
  }
  void TearDown() override {
    AppData = saved_app_;
    DisplayOptions = saved_options_;
    SetEarthModel(saved_earth_.SpherRadius, saved_earth_.PolarRadius, saved_earth_.EquatRadius);
    EllipticLat = saved_switches_[0];
    EllipticArc = saved_switches_[1];
    GeoDistance = saved_switches_[2];
    SoundOn = true;
    HintsOn = true;
  }

  std::string Ini() const { return dir / "navorix.ini"; }
  std::string Data(const std::string& name) const { return AppData.DataDir + name; }
  void Load() { LoadStatus(fixes, log, menu); }

  TTempDir dir;
  TFakeFixList list;
  TWinFixDB fixes{list};
  TFakeLogView log_view;
  TWinLogDB log{log_view};
  TFakeMenu menu;

 private:
  TAppData saved_app_;
  TDisplayOptions saved_options_;
  EarthShape saved_earth_;
  bool saved_switches_[3] = {};
};

TEST_F(StatusTest, WithoutASettingsFileEveryOptionTakesItsDefault) {
  DisplayOptions = TDisplayOptions{};  // LatLonFormat 2 before loading
  EllipticLat = false;
  EllipticArc = true;
  SoundOn = false;
  Load();
  EXPECT_TRUE(menu.errors.empty());
  EXPECT_TRUE(EllipticLat);
  EXPECT_FALSE(EllipticArc);
  EXPECT_FALSE(GeoDistance);
  EXPECT_EQ(DisplayOptions.LatLonFormat, 0);
  EXPECT_EQ(DisplayOptions.AzimFormat, 0);
  EXPECT_EQ(DisplayOptions.PlusDir, 0);
  EXPECT_EQ(DisplayOptions.Precision, 0);
  EXPECT_EQ(DisplayOptions.DistUnits, 0);
  EXPECT_EQ(DisplayOptions.AzimRange, 0);
  EXPECT_TRUE(SoundOn);
  EXPECT_TRUE(menu.hints);
  EXPECT_EQ(menu.captions[mLatLon], "Lat/Lon &Format: Deg/Frac");
  EXPECT_EQ(menu.captions[moAzim], "Azimuth Range: -180\xB0..+180\xB0");
  EXPECT_EQ(menu.captions[mDist], "Distance &Units: Kilometers");
  EXPECT_EQ(menu.captions[moAccu], "&Display Accuracy: Low");
  EXPECT_EQ(menu.captions[mAzAngle], "&Azimuth Format: Deg/Frac");
  EXPECT_EQ(menu.captions[moPlus], "&Plus coordinates: North-East");
  EXPECT_TRUE(menu.checked[maDeg]);
  EXPECT_FALSE(menu.checked[maDMS]);
  EXPECT_TRUE(menu.checked[mAz180]);
  EXPECT_FALSE(menu.checked[mAz360]);
  EXPECT_TRUE(menu.checked[mEllip]);
  EXPECT_FALSE(menu.checked[mEllDist]);
  EXPECT_TRUE(menu.checked[moSound]);
  EXPECT_TRUE(menu.checked[moHints]);
  EXPECT_TRUE(menu.next_fix);  // kilometres
  EXPECT_EQ(menu.menu_font, 9);
  EXPECT_EQ(fixes.Count(), 0);
  EXPECT_EQ(log.Count(), 0);
}

TEST_F(StatusTest, ValuesOutsideTheirRangeKeepTheDefault) {
  WriteFile(Ini(), "[Settings]\r\nLatLonFormat=7\r\nAzimFormat=3\r\nPrecision=-1\r\n"
                   "DistUnits=2\r\nAzimRange=1\r\nPlusDir=x\r\n");
  Load();
  EXPECT_EQ(DisplayOptions.LatLonFormat, 0);
  EXPECT_EQ(DisplayOptions.AzimFormat, 0);
  EXPECT_EQ(DisplayOptions.Precision, 0);
  EXPECT_EQ(DisplayOptions.PlusDir, 0);
  EXPECT_EQ(DisplayOptions.DistUnits, 2);
  EXPECT_EQ(DisplayOptions.AzimRange, 1);
  EXPECT_EQ(menu.captions[moAzim], "Azimuth Range: 0\xB0..+360\xB0");
  EXPECT_TRUE(menu.errors.empty());
}

TEST_F(StatusTest, FontSizesOutside7To12AreIgnored) {
  AppData.PropFontSize = 9;
  WriteFile(Ini(), "[Interface]\r\nMenuFontSize=13\r\nPropFontSize=6\r\n");
  Load();
  EXPECT_EQ(menu.menu_font, 0);
  EXPECT_EQ(menu.prop_font, 0);
  EXPECT_EQ(AppData.PropFontSize, 9);
  WriteFile(Ini(), "[Interface]\r\nMenuFontSize=12\r\nPropFontSize=7\r\n");
  Load();
  EXPECT_EQ(menu.menu_font, 12);
  EXPECT_EQ(menu.prop_font, 7);
  EXPECT_EQ(AppData.PropFontSize, 7);
}

TEST_F(StatusTest, AHandEnteredRadiusSurvivesSavingAndIsUsedNextTime) {
  WriteFile(Ini(), "; my own sphere\r\n[Settings]\r\nSpherRadius=6371.0\r\nLatLonFormat=1\r\n"
                   "\r\n[Interface]\r\nPropFontSize=11\r\n");
  Load();
  EXPECT_EQ(Earth().SpherRadius, 6371.0L);
  SetEarthModel(DefaultSpherRadius, DefaultPolarRadius, DefaultEquatRadius);
  DisplayOptions.Precision = 2;
  SaveStatus(fixes, log);
  EXPECT_EQ(ReadFile(Ini()),
            "; my own sphere\r\n[Settings]\r\nSpherRadius=6371.0\r\nLatLonFormat=1\r\n"
            "EllipticLat=1\r\nEllipticArc=0\r\nGeoDistance=0\r\nAzimFormat=0\r\nPlusDir=0\r\n"
            "Precision=2\r\nDistUnits=0\r\nAzimRange=0\r\n"
            "\r\n[Interface]\r\nPropFontSize=11\r\nSound=1\r\nHints=1\r\n");
  Load();
  EXPECT_EQ(Earth().SpherRadius, 6371.0L);
  EXPECT_EQ(Earth().PolarRadius, DefaultPolarRadius);
  EXPECT_EQ(DisplayOptions.Precision, 2);
}

TEST_F(StatusTest, UnusableRadiiAreRefusedTogetherAndReportedOnce) {
  WriteFile(Ini(), "[Settings]\r\nSpherRadius=6000\r\nPolarRadius=6400\r\nEquatRadius=6378\r\n"
                   "[Interface]\r\nSound=0\r\n");
  Load();
  EXPECT_EQ(Earth().SpherRadius, DefaultSpherRadius);
  EXPECT_EQ(Earth().PolarRadius, DefaultPolarRadius);
  ASSERT_EQ(menu.errors.size(), 1u);
  EXPECT_EQ(menu.errors[0], "Unusable Earth radii in the settings file");
  EXPECT_FALSE(SoundOn);  // the rest of the settings was read all the same
  for (const char* bad : {"0", "-6371", "1e5000"}) {
    menu.errors.clear();
    WriteFile(Ini(), std::string("[Settings]\r\nSpherRadius=") + bad + "\r\n");
    Load();
    EXPECT_EQ(Earth().SpherRadius, DefaultSpherRadius) << bad;
  }
}

TEST_F(StatusTest, RadiiThatMakeNoSensibleEarthAreRefusedAsASet) {
  // A polar radius of 1e-6 km (a flattening near 1), radii of 1e4000 km, a
  // flattening just above 1/10, a radius below 1 km.
  for (const char* bad : {"SpherRadius=6371\r\nPolarRadius=1e-6", "SpherRadius=1e4000",
                          "PolarRadius=5000\r\nEquatRadius=5556", "SpherRadius=0.999"}) {
    menu.errors.clear();
    WriteFile(Ini(), std::string("[Settings]\r\n") + bad + "\r\n");
    Load();
    EXPECT_EQ(Earth().SpherRadius, DefaultSpherRadius) << bad;
    EXPECT_EQ(Earth().PolarRadius, DefaultPolarRadius) << bad;
    EXPECT_EQ(Earth().EquatRadius, DefaultEquatRadius) << bad;
    EXPECT_EQ(menu.errors, std::vector<std::string>{"Unusable Earth radii in the settings file"}) << bad;
  }
  // The bounds themselves are taken.
  menu.errors.clear();
  WriteFile(Ini(), "[Settings]\r\nSpherRadius=1\r\nPolarRadius=90000\r\nEquatRadius=100000\r\n");
  Load();
  EXPECT_TRUE(menu.errors.empty());
  EXPECT_EQ(Earth().SpherRadius, 1.0L);
  EXPECT_EQ(Earth().PolarRadius, 90000.0L);
  EXPECT_EQ(Earth().EquatRadius, 100000.0L);
}

TEST_F(StatusTest, AnUnreadableSettingsFileIsShownAndTheStoresStillLoad) {
  std::filesystem::create_directory(Ini());
  WriteFile(Data("navorix.fix"), "10 20 A\r\n");
  WriteFile(Data("navorix.his"), "l1\r\nl2\r\nl3\r\n");
  DisplayOptions.LatLonFormat = 3;
  Load();
  ASSERT_EQ(menu.errors.size(), 1u);
  EXPECT_EQ(DisplayOptions.LatLonFormat, 3);  // not read, so kept
  EXPECT_EQ(fixes.Count(), 1);
  EXPECT_EQ(log.Count(), 1);
  // Saving must not replace a settings file it could not read.
  EXPECT_THROW(SaveStatus(fixes, log), Error);
  EXPECT_TRUE(std::filesystem::is_directory(Ini()));
}

TEST_F(StatusTest, AnOldLogIsRenamedOnlyWhenThereIsNoHistory) {
  WriteFile(Data("navorix.log"), "old1\r\nold2\r\nold3\r\n");
  WriteFile(Data("navorix.his"), "his1\r\nhis2\r\nhis3\r\n");
  Load();
  EXPECT_TRUE(std::filesystem::exists(Data("navorix.log")));
  EXPECT_EQ(log.GetLine(1, 1), "his1");
  std::filesystem::remove(Data("navorix.his"));
  Load();
  EXPECT_FALSE(std::filesystem::exists(Data("navorix.log")));
  EXPECT_EQ(ReadFile(Data("navorix.his")), "old1\r\nold2\r\nold3\r\n");
  EXPECT_EQ(log.GetLine(1, 1), "old1");
}

TEST_F(StatusTest, ReloadRestoresTheSavedFixesAndLog) {
  fixes.Add(MakeTestFix("ALPHA", 1.0L, 2.0L));
  log.Add("saved 1", "", "r1");
  log.Add("saved 2", "", "r2");
  SaveStatus(fixes, log);
  fixes.Add(MakeTestFix("BRAVO"));
  log.Add("unsaved", "", "");
  log_view.next_fix = true;
  Load();
  EXPECT_EQ(fixes.Count(), 1);
  EXPECT_EQ(fixes.Get(1).Name, "ALPHA");
  EXPECT_EQ(list.selected, 0);
  EXPECT_EQ(log.Count(), 2);
  EXPECT_EQ(log.Current(), 2);
  EXPECT_EQ(log_view.lines[0], "saved 2");
  EXPECT_FALSE(log_view.next_fix);  // clearing the log ended the chain
}

TEST_F(StatusTest, WithoutADataDirectorySavingFailsAfterTheSettings) {
  std::filesystem::remove_all(AppData.DataDir);
  fixes.Add(MakeTestFix("A"));
  EXPECT_THROW(SaveStatus(fixes, log), Error);
  EXPECT_TRUE(std::filesystem::exists(Ini()));
  // Loading without one starts empty.
  Load();
  EXPECT_EQ(fixes.Count(), 0);
}

TEST_F(StatusTest, AFailedSaveLeavesTheOldStatusFilesIntact) {
  WriteFile(Data("navorix.fix"), "10 20 OLD\r\n");
  fixes.Add(MakeTestFix("NEW"));
  // A directory where the history file should go makes the last step fail.
  std::filesystem::create_directory(Data("navorix.his"));
  WriteFile(Data("navorix.his/x"), "");
  EXPECT_THROW(SaveStatus(fixes, log), Error);
  EXPECT_NE(ReadFile(Data("navorix.fix")), "10 20 OLD\r\n");  // this step was done
  EXPECT_TRUE(std::filesystem::exists(Data("navorix.his/x")));
  std::vector<std::string> names = testing::DirEntries(AppData.DataDir);
  EXPECT_EQ(names, (std::vector<std::string>{"navorix.fix", "navorix.his"}));
}

TEST_F(StatusTest, AFailedSettingsSaveKeepsTheFileAndEndsTheSaving) {
  const std::string old_ini = "[Settings]\r\nSpherRadius=6371\r\n";
  WriteFile(Ini(), old_ini);
  WriteFile(Data("navorix.fix"), "10 20 OLD\r\n");
  fixes.Add(MakeTestFix("NEW"));
  {
    testing::TFailingWrites full_disk;
    EXPECT_THROW(SaveStatus(fixes, log), Error);
  }
  EXPECT_EQ(ReadFile(Ini()), old_ini);
  EXPECT_EQ(ReadFile(Data("navorix.fix")), "10 20 OLD\r\n");
  EXPECT_FALSE(std::filesystem::exists(Data("navorix.his")));
}

TEST_F(StatusTest, SettersCheckOneItemAndSetTheCaption) {
  SetLatLonFormat(menu, 3);
  EXPECT_EQ(DisplayOptions.LatLonFormat, 3);
  EXPECT_TRUE(menu.checked[maInf]);
  EXPECT_FALSE(menu.checked[maDeg]);
  EXPECT_EQ(menu.captions[mLatLon], "Lat/Lon &Format: Infix DMS");
  SetAzimFormat(menu, 2);
  EXPECT_TRUE(menu.checked[mzDMS]);
  EXPECT_EQ(menu.captions[mAzAngle], "&Azimuth Format: Deg/Min/Sec");
  SetPlusDir(menu, 3);
  EXPECT_TRUE(menu.checked[mopSW]);
  EXPECT_EQ(menu.captions[moPlus], "&Plus coordinates: South-West");
  SetPrecision(menu, 1);
  EXPECT_TRUE(menu.checked[moAccuM]);
  EXPECT_FALSE(menu.checked[moAccuH]);
  EXPECT_EQ(menu.captions[moAccu], "&Display Accuracy: Medium");
  SetAzimRange(menu, 1);
  EXPECT_TRUE(menu.checked[mAz360]);
  EXPECT_FALSE(menu.checked[mAz180]);
  // A value outside the range changes nothing.
  SetLatLonFormat(menu, 4);
  SetPrecision(menu, 3);
  EXPECT_EQ(DisplayOptions.LatLonFormat, 3);
  EXPECT_EQ(DisplayOptions.Precision, 1);
  EXPECT_EQ(menu.captions[mLatLon], "Lat/Lon &Format: Infix DMS");
}

TEST_F(StatusTest, DegreesDisableNextFixAndOtherUnitsEnableIt) {
  SetDistUnits(menu, 3);
  EXPECT_FALSE(menu.next_fix);
  EXPECT_TRUE(menu.checked[muDeg]);
  EXPECT_EQ(menu.captions[mDist], "Distance &Units: Degrees");
  SetDistUnits(menu, 2);
  EXPECT_TRUE(menu.next_fix);
  EXPECT_FALSE(menu.checked[muDeg]);
  EXPECT_EQ(menu.captions[mDist], "Distance &Units: Naut.Miles");
}

TEST_F(StatusTest, HintsAreSavedAsTheWindowShowsThem) {
  menu.hints_possible = false;
  SetHints(menu, true);
  EXPECT_FALSE(menu.checked[moHints]);
  SetSound(menu, false);
  EXPECT_FALSE(menu.checked[moSound]);
  SaveStatus(fixes, log);
  const std::string text = ReadFile(Ini());
  EXPECT_NE(text.find("Sound=0\r\nHints=0\r\n"), std::string::npos) << text;
}

TEST_F(StatusTest, EllipsoidSwitchesAndTheirParentItem) {
  WriteFile(Ini(), "[Settings]\r\nEllipticLat=0\r\nEllipticArc=0\r\nGeoDistance=5\r\n");
  Load();
  EXPECT_FALSE(EllipticLat);
  EXPECT_TRUE(GeoDistance);
  EXPECT_FALSE(menu.checked[mEllip]);
  EXPECT_FALSE(menu.checked[mEllArc]);
  EXPECT_TRUE(menu.checked[mGeodesic]);
  EXPECT_TRUE(menu.checked[mEllDist]);
}

}  // namespace
}  // namespace navorix
