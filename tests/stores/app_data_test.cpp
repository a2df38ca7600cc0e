#include "stores/app_data.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace navorix {
namespace {

TEST(AppData, DirectoriesKeepTheirCaseAndUseSlashes) {
  SetDirectories("/Opt/NavoriX Tools/Navorix.EXE");
  EXPECT_EQ(AppData.ProgramDir, "/Opt/NavoriX Tools/");
  EXPECT_EQ(AppData.DataDir, "/Opt/NavoriX Tools/data/");
  EXPECT_EQ(AppData.HelpFile, "/Opt/NavoriX Tools/Navorix.hlp");
}

TEST(AppData, HelpFileOfAProgramWithoutExtension) {
  SetDirectories("/usr/Local.D/navorix");  // the "." of a directory is no extension
  EXPECT_EQ(AppData.HelpFile, "/usr/Local.D/navorix.hlp");
  SetDirectories("navorix");
  EXPECT_EQ(AppData.ProgramDir, "./");
  EXPECT_EQ(AppData.DataDir, "./data/");
}

TEST(AppData, StartUpUsesTheRunningProgramsDirectory) {
  char saved[PATH_MAX];
  ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
  const std::string program = ProgramFileName();
  ASSERT_FALSE(program.empty());
  EXPECT_EQ(program.substr(program.find_last_of('/') + 1), "stores_tests");
  EXPECT_TRUE(StartUp());
  EXPECT_EQ(AppData.Version, "1.20");
  EXPECT_EQ(AppData.ProgramDir, program.substr(0, program.find_last_of('/') + 1));
  char now[PATH_MAX];
  ASSERT_NE(::getcwd(now, sizeof now), nullptr);
  EXPECT_EQ(std::string(now) + "/", AppData.ProgramDir);
  EXPECT_EQ(AppData.PropFontName, "Verdana");
  EXPECT_EQ(AppData.FixedFontName, "Courier New");
  EXPECT_EQ(AppData.PropFontSize, 9);
  ASSERT_EQ(::chdir(saved), 0);
}

}  // namespace
}  // namespace navorix
