// Settings and status: loading, saving and the options.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "tests/workbench/workbench_test_support.h"
#include "workbench/texts.h"

namespace navorix {
namespace {

using testing::ReadFile;
using testing::WorkbenchTest;
using testing::WriteFile;

class StatusTest : public WorkbenchTest {
 protected:
  const ProgramSettings& S() { return Bench().Settings(); }
  std::string Caption(DisplayOption menu) { return OptionCaption(menu, S().display); }
};

TEST_F(StatusTest, WithoutASettingsFileEveryOptionTakesItsDefault) {
  // Before loading, the Lat/Lon format is Deg/Min/Sec; a toggled switch and
  // a sound switched off must come back to their defaults.
  ASSERT_EQ(S().display.latLonFormat, AngleFormat::DegMinSec);
  Bench().ToggleEllipticLat();
  Bench().ToggleEllipticArc();
  Bench().SetSound(false);
  Bench().SetHints(false);
  Bench().LoadStatus();
  EXPECT_TRUE(View().errors.empty());
  EXPECT_TRUE(S().earth.ellipticLat);
  EXPECT_FALSE(S().earth.ellipticArc);
  EXPECT_FALSE(S().earth.geoDistance);
  EXPECT_EQ(S().display, DisplayOptions({AngleFormat::DegFrac, AngleFormat::DegFrac, PlusDir::NorthEast,
                                         Accuracy::Low, DistUnits::Kilometers, AzimRange::PlusMinus180}));
  EXPECT_TRUE(S().interface.sound);
  EXPECT_TRUE(S().interface.hints);
  EXPECT_EQ(S().interface.menuFontSize, 9);
  EXPECT_EQ(S().interface.propFontSize, 9);
  EXPECT_EQ(View().settings.display, S().display) << "the views were told";
  EXPECT_EQ(Caption(DisplayOption::LatLonFormat), "Lat/Lon &Format: Deg/Frac");
  EXPECT_EQ(Caption(DisplayOption::AzimRange), "Azimuth Range: -180\xB0..+180\xB0");
  EXPECT_EQ(Caption(DisplayOption::DistUnits), "Distance &Units: Kilometers");
  EXPECT_EQ(Caption(DisplayOption::Precision), "&Display Accuracy: Low");
  EXPECT_EQ(Caption(DisplayOption::AzimFormat), "&Azimuth Format: Deg/Frac");
  EXPECT_EQ(Caption(DisplayOption::PlusDir), "&Plus coordinates: North-East");
  EXPECT_TRUE(Bench().NextFixEnabled());  // kilometres
  EXPECT_EQ(Bench().Fixes().Count(), 0);
  EXPECT_EQ(Bench().Log().Count(), 0);
}

TEST_F(StatusTest, ValuesOutsideTheirRangeKeepTheDefault) {
  WriteFile(Ini(),
            "[Settings]\r\nLatLonFormat=7\r\nAzimFormat=3\r\nPrecision=-1\r\n"
            "DistUnits=2\r\nAzimRange=1\r\nPlusDir=x\r\n");
  Bench().LoadStatus();
  EXPECT_EQ(S().display.latLonFormat, AngleFormat::DegFrac);
  EXPECT_EQ(S().display.azimFormat, AngleFormat::DegFrac);
  EXPECT_EQ(S().display.precision, Accuracy::Low);
  EXPECT_EQ(S().display.plusDir, PlusDir::NorthEast);
  EXPECT_EQ(S().display.distUnits, DistUnits::NautMiles);
  EXPECT_EQ(S().display.azimRange, AzimRange::Zero360);
  EXPECT_EQ(Caption(DisplayOption::AzimRange), "Azimuth Range: 0\xB0..+360\xB0");
  EXPECT_TRUE(View().errors.empty());
}

TEST_F(StatusTest, FontSizesOutside7To12AreIgnored) {
  WriteFile(Ini(), "[Interface]\r\nMenuFontSize=13\r\nPropFontSize=6\r\n");
  Bench().LoadStatus();
  EXPECT_EQ(S().interface.menuFontSize, 9);
  EXPECT_EQ(S().interface.propFontSize, 9);
  WriteFile(Ini(), "[Interface]\r\nMenuFontSize=12\r\nPropFontSize=7\r\n");
  Bench().LoadStatus();
  EXPECT_EQ(S().interface.menuFontSize, 12);
  EXPECT_EQ(S().interface.propFontSize, 7);
  EXPECT_EQ(View().settings.interface.propFontSize, 7);
}

TEST_F(StatusTest, AHandEnteredRadiusSurvivesSavingAndIsUsedNextTime) {
  WriteFile(Ini(),
            "; my own sphere\r\n[Settings]\r\nSpherRadius=6371.0\r\nLatLonFormat=1\r\n"
            "\r\n[Interface]\r\nPropFontSize=11\r\n");
  Bench().LoadStatus();
  EXPECT_EQ(S().earth.shape.spherRadius, 6371.0L);
  Bench().SetDisplayOption(DisplayOption::Precision, Index(Accuracy::High));
  ASSERT_TRUE(Bench().SaveStatus());
  EXPECT_EQ(ReadFile(Ini()),
            "; my own sphere\r\n[Settings]\r\nSpherRadius=6371.0\r\nLatLonFormat=1\r\n"
            "EllipticLat=1\r\nEllipticArc=0\r\nGeoDistance=0\r\nAzimFormat=0\r\nPlusDir=0\r\n"
            "Precision=2\r\nDistUnits=0\r\nAzimRange=0\r\n"
            "\r\n[Interface]\r\nPropFontSize=11\r\nSound=1\r\nHints=1\r\n");
  Workbench fresh(Bench().Paths());
  fresh.LoadStatus();
  EXPECT_EQ(fresh.Settings().earth.shape.spherRadius, 6371.0L);
  EXPECT_EQ(fresh.Settings().earth.shape.polarRadius, DefaultPolarRadius);
  EXPECT_EQ(fresh.Settings().display.precision, Accuracy::High);
}

TEST_F(StatusTest, UnusableRadiiAreRefusedTogetherAndReportedOnce) {
  WriteFile(Ini(),
            "[Settings]\r\nSpherRadius=6000\r\nPolarRadius=6400\r\nEquatRadius=6378\r\n"
            "DistUnits=3\r\n[Interface]\r\nSound=0\r\n");
  Bench().LoadStatus();
  EXPECT_EQ(S().earth.shape.spherRadius, DefaultSpherRadius);
  EXPECT_EQ(S().earth.shape.polarRadius, DefaultPolarRadius);
  ASSERT_EQ(View().errors.size(), 1u);
  EXPECT_EQ(View().errors[0], "Unusable Earth radii in the settings file");
  EXPECT_FALSE(S().interface.sound);  // the rest of the settings was read all the same
  EXPECT_FALSE(Bench().NextFixEnabled()) << "Degrees were read";
  for (const char* bad : {"0", "-6371", "1e5000"}) {
    View().errors.clear();
    WriteFile(Ini(), std::string("[Settings]\r\nSpherRadius=") + bad + "\r\n");
    Bench().LoadStatus();
    EXPECT_EQ(S().earth.shape.spherRadius, DefaultSpherRadius) << bad;
    // A number beyond the range does not convert and keeps the radius.
    EXPECT_EQ(View().errors.size(), std::string(bad) == "1e5000" ? 0u : 1u) << bad;
  }
}

TEST_F(StatusTest, RadiiThatMakeNoSensibleEarthAreRefusedAsASet) {
  // A polar radius of 1e-6 km (a flattening near 1), radii of 1e4000 km
  // (which read as no number and keep the default), a flattening just above
  // 1/10, a radius below 1 km.
  for (const char* bad : {"SpherRadius=6371\r\nPolarRadius=1e-6", "PolarRadius=5000\r\nEquatRadius=5556",
                          "SpherRadius=0.999", "EquatRadius=100000.1"}) {
    View().errors.clear();
    WriteFile(Ini(), std::string("[Settings]\r\n") + bad + "\r\n");
    Bench().LoadStatus();
    EXPECT_EQ(S().earth.shape.spherRadius, DefaultSpherRadius) << bad;
    EXPECT_EQ(S().earth.shape.polarRadius, DefaultPolarRadius) << bad;
    EXPECT_EQ(S().earth.shape.equatRadius, DefaultEquatRadius) << bad;
    EXPECT_EQ(View().errors, std::vector<std::string>{"Unusable Earth radii in the settings file"}) << bad;
  }
  // The bounds themselves are taken.
  View().errors.clear();
  WriteFile(Ini(), "[Settings]\r\nSpherRadius=1\r\nPolarRadius=90000\r\nEquatRadius=100000\r\n");
  Bench().LoadStatus();
  EXPECT_TRUE(View().errors.empty());
  EXPECT_EQ(S().earth.shape.spherRadius, 1.0L);
  EXPECT_EQ(S().earth.shape.polarRadius, 90000.0L);
  EXPECT_EQ(S().earth.shape.equatRadius, 100000.0L);
}

// 70000 fixes: the 4465 beyond the capacity are said at start, and the
// status file is not replaced by the 65535 shown unless the user agrees.
TEST_F(StatusTest, AStatusFileLoadedInPartIsKeptUntilTheUserAgrees) {
  std::string text;
  for (int i = 0; i < 70000; ++i) text += "10 20 F" + std::to_string(i) + "\r\n";
  WriteFile(Data("navorix.fix"), text);
  Bench().LoadStatus();
  EXPECT_EQ(Bench().Fixes().Count(), MaxFixes);
  ASSERT_EQ(View().errors.size(), 1u);
  EXPECT_EQ(View().errors[0], "Fix file: 4465 fixes beyond 65535 not loaded");
  EXPECT_FALSE(Bench().SaveStatus());
  ASSERT_EQ(View().questions.size(), 1u);
  EXPECT_EQ(ReadFile(Data("navorix.fix")), text) << "byte for byte";
  View().answer = Answer::Yes;
  EXPECT_TRUE(Bench().SaveStatus());
  EXPECT_EQ(ReadFile(Data("navorix.fix.bak")), text) << "the old file stays beside it";
}

TEST_F(StatusTest, ASecondCopyIsToldAndAsksBeforeReplacingTheFirstOnesFiles) {
  Bench().LoadStatus();
  AddFix("FIRST");
  ASSERT_TRUE(Bench().SaveStatus());
  Workbench second(Bench().Paths());
  testing::Recorder secondView(second);
  second.Attach(secondView.All());
  second.LoadStatus();
  EXPECT_EQ(secondView.errors,
            std::vector<std::string>{"Another copy of Navorix uses the same data directory"});
  EXPECT_FALSE(second.SaveStatus());
  EXPECT_EQ(secondView.questions.size(), 2u) << "the fix file and the history";
  EXPECT_NE(ReadFile(Data("navorix.fix")).find("FIRST"), std::string::npos);
  // The first copy is not told anything, and saves as before.
  EXPECT_TRUE(Bench().SaveStatus());
  EXPECT_TRUE(View().questions.empty());
}

TEST_F(StatusTest, AnUnreadableSettingsFileIsShownAndTheStoresStillLoad) {
  std::filesystem::create_directory(Ini());
  WriteFile(Data("navorix.fix"), "10 20 A\r\n");
  WriteFile(Data("navorix.his"), "l1\r\nl2\r\nl3\r\n");
  Bench().SetDisplayOption(DisplayOption::LatLonFormat, Index(AngleFormat::InfixDMS));
  Bench().LoadStatus();
  ASSERT_EQ(View().errors.size(), 1u);
  EXPECT_EQ(S().display.latLonFormat, AngleFormat::InfixDMS);  // not read, so kept
  EXPECT_FALSE(Bench().NextFixEnabled()) << "no unit was read";
  EXPECT_EQ(Bench().Fixes().Count(), 1);
  EXPECT_EQ(Bench().Log().Count(), 1);
  // Saving must not replace a settings file it could not read without a
  // question; the fixes and the log are saved all the same.
  EXPECT_FALSE(Bench().SaveStatus());
  ASSERT_EQ(View().questions.size(), 1u);
  EXPECT_EQ(View().questions[0].rfind("navorix.ini could not be read completely.|", 0), 0u);
  EXPECT_EQ(View().errors.size(), 1u);
  EXPECT_TRUE(std::filesystem::is_directory(Ini()));
  EXPECT_TRUE(std::filesystem::exists(Data("navorix.fix")));
  // Even with a yes a directory is never replaced by a file.
  View().answer = Answer::Yes;
  EXPECT_FALSE(Bench().SaveStatus());
  EXPECT_EQ(View().errors.size(), 2u);
  EXPECT_TRUE(std::filesystem::is_directory(Ini()));
}

TEST_F(StatusTest, AnOldLogIsRenamedOnlyWhenThereIsNoHistory) {
  WriteFile(Data("navorix.log"), "old1\r\nold2\r\nold3\r\n");
  WriteFile(Data("navorix.his"), "his1\r\nhis2\r\nhis3\r\n");
  Bench().LoadStatus();
  EXPECT_TRUE(std::filesystem::exists(Data("navorix.log")));
  EXPECT_EQ(Bench().Log().GetLine(1, 1), "his1");
  std::filesystem::remove(Data("navorix.his"));
  Bench().LoadStatus();
  EXPECT_FALSE(std::filesystem::exists(Data("navorix.log")));
  EXPECT_EQ(ReadFile(Data("navorix.his")), "old1\r\nold2\r\nold3\r\n");
  EXPECT_EQ(Bench().Log().GetLine(1, 1), "old1");
}

TEST_F(StatusTest, ReloadRestoresTheSavedFixesAndLog) {
  AddFix("ALPHA", "1", "2");
  AddFix("BETA", "3", "4");
  ASSERT_EQ(Run(OperationTag::FixFix, {1, 2}), RunResult::Logged);
  ASSERT_EQ(Run(OperationTag::Midpoint, {1, 2}), RunResult::Logged);
  ASSERT_TRUE(Bench().SaveStatus());
  AddFix("BRAVO");
  ASSERT_EQ(Run(OperationTag::Azimuth, {1, 3}), RunResult::Logged);
  ASSERT_TRUE(Bench().NextFixEnabled());
  Bench().LoadStatus();
  EXPECT_EQ(Bench().Fixes().Count(), 2);
  EXPECT_EQ(Bench().Fixes().Get(1).name, "ALPHA");
  EXPECT_EQ(View().selected, 0);
  EXPECT_EQ(Bench().Log().Count(), 2);
  EXPECT_EQ(Bench().ShownRecord(), 2);
  EXPECT_EQ(View().log.line1, "Midpoint from ALPHA to BETA");
  EXPECT_EQ(View().log.number, "2");
  // Clearing the log ended the chain; the kilometres read then enabled the
  // button again, as at start.
  ASSERT_GE(View().nextFix.size(), 2u);
  EXPECT_FALSE(View().nextFix[View().nextFix.size() - 2]);
  EXPECT_TRUE(View().nextFix.back());
}

TEST_F(StatusTest, WithoutADataDirectorySavingFailsAfterTheSettings) {
  std::filesystem::remove_all(dir.Path() + "/data");
  AddFix("A");
  EXPECT_FALSE(Bench().SaveStatus());
  EXPECT_EQ(View().errors.size(), 2u) << "the fix file and the history each failed";
  EXPECT_TRUE(std::filesystem::exists(Ini()));
  // Loading without one starts empty.
  Bench().LoadStatus();
  EXPECT_EQ(Bench().Fixes().Count(), 0);
}

TEST_F(StatusTest, PerUserDirectoriesAreMadeWhenFirstNeeded) {
  AppData paths = Bench().Paths();
  paths.portable = false;
  paths.settingsDir = dir.Path() + "/config/navorix/";
  paths.dataDir = dir.Path() + "/share/navorix/data/";
  Workbench perUser(paths);
  perUser.LoadStatus();  // nothing there yet: no failure
  ASSERT_TRUE(perUser.SaveStatus());
  EXPECT_TRUE(std::filesystem::exists(paths.settingsDir + "navorix.ini"));
  EXPECT_TRUE(std::filesystem::exists(paths.dataDir + "navorix.fix"));
  EXPECT_TRUE(std::filesystem::exists(paths.dataDir + "navorix.his"));
}

TEST_F(StatusTest, AFailedSaveLeavesTheOldFileAndTheOthersAreSaved) {
  WriteFile(Data("navorix.fix"), "10 20 OLD\r\n");
  Bench().LoadStatus();
  AddFix("NEW");
  // A directory where the history file should go makes that step fail.
  std::filesystem::create_directory(Data("navorix.his"));
  WriteFile(Data("navorix.his/x"), "");
  View().answer = Answer::Yes;  // to "changed since Navorix read it"
  EXPECT_FALSE(Bench().SaveStatus());
  EXPECT_EQ(View().errors.size(), 1u);
  EXPECT_NE(ReadFile(Data("navorix.fix")).find("NEW"), std::string::npos);
  EXPECT_EQ(ReadFile(Data("navorix.fix.bak")), "10 20 OLD\r\n") << "the previous version stays";
  EXPECT_TRUE(std::filesystem::exists(Data("navorix.his/x")));
  std::vector<std::string> names = testing::DirEntries(dir.Path() + "/data");
  EXPECT_EQ(names,
            (std::vector<std::string>{"navorix.fix", "navorix.fix.bak", "navorix.his", "navorix.lock"}));
}

TEST_F(StatusTest, ASettingsFileThatCannotBeWrittenStopsNothingElse) {
  WriteFile(Ini(), "[Settings]\r\nSpherRadius=6371\r\n");
  Bench().LoadStatus();
  AddFix("NEW");
  // The settings file turned into something that cannot be read or written.
  std::filesystem::remove(Ini());
  std::filesystem::create_directory(Ini());
  EXPECT_FALSE(Bench().SaveStatus());
  EXPECT_EQ(View().errors.size(), 1u);
  EXPECT_NE(ReadFile(Data("navorix.fix")).find("NEW"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(Data("navorix.his")));
}

TEST_F(StatusTest, AFullDiskLeavesEveryStatusFileAsItWas) {
  const std::string ini = "[Settings]\r\nSpherRadius=6371\r\n";
  const std::string fixes = "10 20 OLD\r\n";
  const std::string history = "h1\r\nh2\r\nh3\r\n";
  WriteFile(Ini(), ini);
  WriteFile(Data("navorix.fix"), fixes);
  WriteFile(Data("navorix.his"), history);
  // A workbench whose every write fails, as on a full disk.
  testing::FailingWrites fullDisk;
  Workbench fullBench(Bench().Paths(), fullDisk.calls);
  testing::Recorder fullView(fullBench);
  fullBench.Attach(fullView.All());
  fullBench.LoadStatus();
  ASSERT_EQ(fullBench.Fixes().Count(), 1);
  EXPECT_FALSE(fullBench.SaveStatus());
  EXPECT_EQ(fullView.errors.size(), 3u) << "every failure is reported";
  EXPECT_EQ(ReadFile(Ini()), ini);
  EXPECT_EQ(ReadFile(Data("navorix.fix")), fixes);
  EXPECT_EQ(ReadFile(Data("navorix.his")), history);
  EXPECT_TRUE(fullView.questions.empty());
}

TEST_F(StatusTest, AFileChangedOnDiskIsNotReplacedWithoutAQuestion) {
  WriteFile(Data("navorix.fix"), "10 20 OLD\r\n");
  Bench().LoadStatus();
  ASSERT_TRUE(Bench().SaveStatus());  // saving what was read asks nothing
  EXPECT_TRUE(View().questions.empty());
  // Another program (or another copy of Navorix) writes the file.
  WriteFile(Data("navorix.fix"), "30 40 THEIRS\r\n");
  EXPECT_FALSE(Bench().SaveStatus());
  ASSERT_EQ(View().questions.size(), 1u);
  EXPECT_EQ(View().questions[0].rfind("navorix.fix was changed on the disk|", 0), 0u);
  EXPECT_EQ(ReadFile(Data("navorix.fix")), "30 40 THEIRS\r\n");
  View().answer = Answer::Yes;
  EXPECT_TRUE(Bench().SaveStatus());
  EXPECT_EQ(ReadFile(Data("navorix.fix.bak")), "30 40 THEIRS\r\n");
  EXPECT_NE(ReadFile(Data("navorix.fix")).find("OLD"), std::string::npos);
}

TEST_F(StatusTest, AnUnreadableStatusFileSurvivesASaveByteForByte) {
  // A history that cannot be read (a directory stands for a file without
  // permission, which root would read all the same).
  std::filesystem::create_directory(Data("navorix.his"));
  WriteFile(Data("navorix.fix"), "10 20 A\r\n");
  Bench().LoadStatus();
  ASSERT_EQ(View().errors.size(), 1u);
  EXPECT_FALSE(Bench().SaveStatus());
  ASSERT_EQ(View().questions.size(), 1u);
  EXPECT_EQ(View().questions[0].rfind("navorix.his could not be read completely.|", 0), 0u);
  EXPECT_TRUE(std::filesystem::is_directory(Data("navorix.his")));
  EXPECT_EQ(View().errors.size(), 1u) << "a no is no failure";
}

TEST_F(StatusTest, LoadingShowsEveryLossOfTheThreeFilesInOneReport) {
  WriteFile(Ini(), "[Settings]\r\nSpherRadius=0.5\r\n[Interface]\r\nMenuFontSize=6\r\nPropFontSize=x\r\n");
  WriteFile(Data("navorix.fix"), "bad\r\nworse\r\n10 20 A\r\n\r\n30 40 B\r\n");
  WriteFile(Data("navorix.his"), "a\r\n" + std::string(5000, 'x') + "\r\nc\r\n");
  Bench().LoadStatus();
  ASSERT_EQ(View().reports.size(), 1u);
  EXPECT_EQ(View().reports[0],
            (std::vector<std::string>{"Unusable Earth radii in the settings file",
                                      "Settings file: MenuFontSize not used (only 7 to 12)",
                                      "Settings file: PropFontSize not used (only 7 to 12)",
                                      "Fix file: 2 unreadable lines shown as empty rows", "and 2 more"}));
  for (const std::string& line : View().reports[0]) EXPECT_LE(line.size(), MaxMessageLength) << line;
  // Everything read is there.
  EXPECT_EQ(Bench().Fixes().Count(), 3);
  EXPECT_EQ(Bench().Log().Count(), 1);
  // A clean start says nothing.
  WriteFile(Ini(), "");
  WriteFile(Data("navorix.fix"), "10 20 A\r\n");
  WriteFile(Data("navorix.his"), "a\r\nb\r\nc\r\n");
  View().reports.clear();
  Bench().LoadStatus();
  EXPECT_TRUE(View().reports.empty());
}

TEST_F(StatusTest, ReloadAsksOnlyAfterAChangeSinceLoadingOrSaving) {
  WriteFile(Data("navorix.fix"), "10 20 A\r\n10 30 B\r\n");
  Bench().LoadStatus();
  EXPECT_EQ(Bench().ReloadStatusQuestion(), "");
  // Each kind of change: fixes, log, options.
  const std::vector<std::function<void()>> changes = {
      [this] { AddFix("C"); },
      [this] { Bench().SortFixes(SortOrder::ByName); },
      [this] {
        ASSERT_EQ(Run(OperationTag::FixFix, {1, 2}), RunResult::Logged);
      },
      [this] { Bench().SetDisplayOption(DisplayOption::Precision, Index(Accuracy::High)); },
      [this] { Bench().ToggleEllipticArc(); },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    changes[i]();
    EXPECT_EQ(Bench().ReloadStatusQuestion(), question::ReloadStatus) << "change " << i;
    ASSERT_TRUE(Bench().SaveStatus());
    EXPECT_EQ(Bench().ReloadStatusQuestion(), "") << "saved " << i;
  }
  // Moving about changes nothing, nor does a load that took nothing.
  Bench().SelectRow(1);
  Bench().ShowPreviousRecord();
  Bench().LoadFixFile(dir / "missing.fix", false);
  EXPECT_EQ(Bench().ReloadStatusQuestion(), "");
  WriteFile(dir / "one.fix", "1 2 ONE\r\n");
  Bench().LoadFixFile(dir / "one.fix", false);
  EXPECT_EQ(Bench().ReloadStatusQuestion(), question::ReloadStatus);
  ASSERT_TRUE(Bench().SaveStatus());
  // A save that failed leaves the question.
  AddFix("D");
  std::filesystem::remove_all(dir.Path() + "/data");
  EXPECT_FALSE(Bench().SaveStatus());
  EXPECT_EQ(Bench().ReloadStatusQuestion(), question::ReloadStatus);
}

TEST_F(StatusTest, LeavingAfterANoToReplacingSaysWhyTheProgramStays) {
  WriteFile(Data("navorix.fix"), "10 20 A\r\n");
  Bench().LoadStatus();
  WriteFile(Data("navorix.fix"), "30 40 THEIRS\r\n");
  EXPECT_FALSE(Bench().SaveStatusToLeave());
  EXPECT_EQ(View().errors, std::vector<std::string>{"Status not saved in full, so Navorix stays open"});
  for (const std::string& error : View().errors) EXPECT_LE(error.size(), MaxMessageLength);
  // A yes saves all, and the program may end.
  View().answer = Answer::Yes;
  View().errors.clear();
  EXPECT_TRUE(Bench().SaveStatusToLeave());
  EXPECT_TRUE(View().errors.empty());
}

TEST_F(StatusTest, OptionsCaptionsFollowTheValues) {
  Bench().SetDisplayOption(DisplayOption::LatLonFormat, Index(AngleFormat::InfixDMS));
  EXPECT_EQ(Caption(DisplayOption::LatLonFormat), "Lat/Lon &Format: Infix DMS");
  Bench().SetDisplayOption(DisplayOption::AzimFormat, Index(AngleFormat::DegMinSec));
  EXPECT_EQ(Caption(DisplayOption::AzimFormat), "&Azimuth Format: Deg/Min/Sec");
  Bench().SetDisplayOption(DisplayOption::PlusDir, Index(PlusDir::SouthWest));
  EXPECT_EQ(Caption(DisplayOption::PlusDir), "&Plus coordinates: South-West");
  Bench().SetDisplayOption(DisplayOption::Precision, Index(Accuracy::Medium));
  EXPECT_EQ(Caption(DisplayOption::Precision), "&Display Accuracy: Medium");
  Bench().SetDisplayOption(DisplayOption::AzimRange, Index(AzimRange::Zero360));
  EXPECT_EQ(Caption(DisplayOption::AzimRange), "Azimuth Range: 0\xB0..+360\xB0");
  Bench().SetDisplayOption(DisplayOption::DistUnits, Index(DistUnits::NautMiles));
  EXPECT_EQ(Caption(DisplayOption::DistUnits), "Distance &Units: Naut.Miles");
  EXPECT_EQ(View().settings.display, S().display);
  // A damaged value shows the first name rather than reading past a table.
  DisplayOptions damaged;
  damaged.latLonFormat = static_cast<AngleFormat>(9);
  EXPECT_EQ(OptionCaption(DisplayOption::LatLonFormat, damaged), "Lat/Lon &Format: Deg/Frac");
}

// A number that is none of an option's values (a script's or a cast's)
// changes nothing and is no change to ask about before reloading.
TEST_F(StatusTest, ANumberBeyondAnOptionsValuesChangesNothing) {
  const DisplayOptions before = S().display;
  for (const DisplayOptionInfo& option : DisplayOptionTable) {
    for (int value : {-1, option.count}) {
      Bench().SetDisplayOption(option.option, value);
      EXPECT_EQ(S().display, before) << option.key << " " << value;
    }
  }
  EXPECT_EQ(Bench().ReloadStatusQuestion(), "");
}

TEST_F(StatusTest, SoundAndHintsAreSavedAsSet) {
  Bench().SetHints(false);
  Bench().SetSound(false);
  ASSERT_TRUE(Bench().SaveStatus());
  const std::string text = ReadFile(Ini());
  EXPECT_NE(text.find("Sound=0\r\nHints=0\r\n"), std::string::npos) << text;
  // With the sound off nothing is played, not even the done sound.
  AddNames({"A", "B"});
  ASSERT_EQ(Run(OperationTag::FixFix, {1, 2}), RunResult::Logged);
  EXPECT_TRUE(View().sounds.empty());
}

TEST_F(StatusTest, EllipsoidSwitchesAreRead) {
  WriteFile(Ini(), "[Settings]\r\nEllipticLat=0\r\nEllipticArc=0\r\nGeoDistance=5\r\n");
  Bench().LoadStatus();
  EXPECT_FALSE(S().earth.ellipticLat);
  EXPECT_FALSE(S().earth.ellipticArc);
  EXPECT_TRUE(S().earth.geoDistance);
}

TEST_F(StatusTest, TheChartsSectionIsWrittenOnlyOnceItWasPlacedAndTakenWhole) {
  const std::string kept = "[Settings]\r\nEllipticLat=1\r\n[Other]\r\nKey=x\r\n";
  WriteFile(Ini(), kept);
  Bench().LoadStatus();
  EXPECT_FALSE(S().chart.placed);
  ASSERT_TRUE(Bench().SaveStatus());
  EXPECT_EQ(ReadFile(Ini()).find("[Chart]"), std::string::npos) << "never opened, never written";

  ChartSettings chart{true, -40, 30, 640, 480, ChartProjection::Mercator};
  Bench().SetChartSettings(chart);
  EXPECT_EQ(Bench().ReloadStatusQuestion(), "") << "a moved window asks nothing";
  ASSERT_TRUE(Bench().SaveStatus());
  const std::string text = ReadFile(Ini());
  EXPECT_NE(text.find("[Chart]\r\nLeft=-40\r\nTop=30\r\nWidth=640\r\nHeight=480\r\nProjection=1\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("[Other]\r\nKey=x\r\n"), std::string::npos) << "other sections stay";
  Bench().SetChartSettings({});
  Bench().LoadStatus();
  EXPECT_EQ(S().chart, chart);

  // A place is taken whole or not at all; the projection on its own.
  struct Case {
    const char* section;
    bool placed;
    ChartProjection projection;
  };
  const Case cases[] = {
      {"Left=0\r\nTop=0\r\nWidth=100\r\nHeight=16384\r\nProjection=1", true, ChartProjection::Mercator},
      {"Left=0\r\nTop=0\r\nWidth=99\r\nHeight=480\r\nProjection=2", false, ChartProjection::Globe},
      {"Left=-16385\r\nTop=0\r\nWidth=640\r\nHeight=480", false, ChartProjection::Globe},
      {"Top=0\r\nWidth=640\r\nHeight=480\r\nProjection=1", true, ChartProjection::Mercator},
      {"Left=0\r\nTop=0\r\nWidth=640", false, ChartProjection::Globe},
  };
  for (const Case& c : cases) {
    WriteFile(Ini(), std::string("[Chart]\r\n") + c.section + "\r\n");
    Bench().LoadStatus();
    EXPECT_EQ(S().chart.placed, c.placed) << c.section;
    EXPECT_EQ(S().chart.projection, c.projection) << c.section;
  }
}

}  // namespace
}  // namespace navorix
