#include "stores/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "geometry/error.h"
#include "stores/settings.h"
#include "stores_test_support.h"

namespace navorix {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

ProfileFile Loaded(const std::string& path) {
  ProfileFile ini(path);
  ini.Load();
  return ini;
}

TEST(ProfileFile, NamesMatchWithoutCaseAndValuesAreTrimmed) {
  TempDir dir;
  WriteFile(dir / "a.ini",
            "; settings\r\n[settings]\r\n  latlonformat = 3 \r\nName=\" quoted \"\r\n"
            "[SETTINGS]\r\nLatLonFormat=1\r\n");
  const ProfileFile ini = Loaded(dir / "a.ini");
  // The first section and key of a name count.
  EXPECT_EQ(ini.ReadInteger("Settings", "LatLonFormat", 0), 3);
  EXPECT_EQ(ini.ReadString("Settings", "NAME", "-"), " quoted ");
  EXPECT_EQ(ini.ReadString("Interface", "Sound", "dflt"), "dflt");
}

TEST(ProfileFile, UnconvertibleValuesGiveTheDefault) {
  TempDir dir;
  WriteFile(dir / "a.ini",
            "[S]\nint=12abc\nbig=99999999999\nneg=-4\nempty=\nbool2=2\nbool0=0\nbooltext=true\n"
            "f1=6371.0\nf2=6371,5\nf3=1.5.2\nf4=abc\nf5=1e99999\n");
  const ProfileFile ini = Loaded(dir / "a.ini");
  EXPECT_EQ(ini.ReadInteger("S", "int", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "big", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "neg", 7), -4);
  EXPECT_EQ(ini.ReadInteger("S", "empty", 7), 7);
  EXPECT_TRUE(ini.ReadBool("S", "bool2", false));
  EXPECT_FALSE(ini.ReadBool("S", "bool0", true));
  EXPECT_TRUE(ini.ReadBool("S", "booltext", true));
  EXPECT_FALSE(ini.ReadBool("S", "booltext", false));
  EXPECT_EQ(ini.ReadFloat("S", "f1", 1.0L), 6371.0L);
  EXPECT_EQ(ini.ReadFloat("S", "f2", 1.0L), 6371.5L);
  EXPECT_EQ(ini.ReadFloat("S", "f3", 1.0L), 1.0L);
  EXPECT_EQ(ini.ReadFloat("S", "f4", 1.0L), 1.0L);
  EXPECT_EQ(ini.ReadFloat("S", "f5", 1.0L), 1.0L);
  EXPECT_EQ(ini.ReadFloat("S", "missing", 2.5L), 2.5L);
}

TEST(ProfileFile, WritingKeepsEveryOtherLineInPlace) {
  TempDir dir;
  const std::string original =
      "; my notes\r\n"
      "[Settings]\r\n"
      "SpherRadius=6371.0\r\n"
      "LatLonFormat=2\r\n"
      "; keep me\r\n"
      "\r\n"
      "[Other]\r\n"
      "x=y\r\n";
  WriteFile(dir / "a.ini", original);
  ProfileFile ini = Loaded(dir / "a.ini");
  ini.WriteInteger("settings", "latlonformat", 3);  // existing key, other case
  ini.WriteBool("Settings", "Sound", true);         // new key in an existing section
  ini.WriteBool("Interface", "Hints", false);       // new section
  ini.Save();
  EXPECT_EQ(ReadFile(dir / "a.ini"),
            "; my notes\r\n"
            "[Settings]\r\n"
            "SpherRadius=6371.0\r\n"
            "LatLonFormat=3\r\n"
            "; keep me\r\n"
            "Sound=1\r\n"
            "\r\n"
            "[Other]\r\n"
            "x=y\r\n"
            "\r\n"
            "[Interface]\r\n"
            "Hints=0\r\n");
}

TEST(ProfileFile, LfOnlyFileIsRewrittenWithCrLfAndAValueCannotAddLines) {
  TempDir dir;
  WriteFile(dir / "a.ini", "[A]\nk=1\n");
  ProfileFile ini = Loaded(dir / "a.ini");
  ini.WriteString("A", "k", "2\r\n[Injected]\r\nx=1");
  ini.Save();
  EXPECT_EQ(ReadFile(dir / "a.ini"), "[A]\r\nk=2\r\n");
}

TEST(ProfileFile, MissingFileIsEmptyAndAnUnreadableOneFails) {
  TempDir dir;
  ProfileFile missing = Loaded(dir / "none.ini");
  EXPECT_TRUE(missing.Lines().empty());
  missing.WriteInteger("Settings", "Precision", 1);
  missing.Save();
  EXPECT_EQ(ReadFile(dir / "none.ini"), "[Settings]\r\nPrecision=1\r\n");

  std::filesystem::create_directory(dir / "dir.ini");
  ProfileFile directory(dir / "dir.ini");
  EXPECT_THROW(directory.Load(), Error);
}

// Every display option keeps every one of its values through the settings
// file under its own key, and a number beyond its values reads as the
// first: a table entry with a wrong key, count or field fails here.
TEST(ProfileFile, EveryDisplayOptionValueSurvivesTheSettingsFile) {
  TempDir dir;
  const std::string file = dir / "navorix.ini";
  for (const DisplayOptionInfo& option : DisplayOptionTable) {
    for (int value = 0; value < option.count; ++value) {
      ProgramSettings written;
      option.set(written.display, value);
      SaveSettings(file, written);
      EXPECT_NE(ReadFile(file).find(std::string(option.key) + "=" + std::to_string(value) + "\r\n"),
                std::string::npos)
          << option.key << " " << value;
      ProgramSettings read;
      LoadSettings(file, read);
      EXPECT_EQ(read.display, written.display) << option.key << " " << value;
    }
    WriteFile(file, "[Settings]\r\n" + std::string(option.key) + "=" + std::to_string(option.count) + "\r\n");
    ProgramSettings read;
    option.set(read.display, option.count - 1);
    LoadSettings(file, read);
    EXPECT_EQ(option.get(read.display), 0) << option.key;
  }
}

}  // namespace
}  // namespace navorix
