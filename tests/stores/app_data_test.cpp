#include "stores/app_data.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <fcntl.h>

#include <climits>
#include <set>
#include <string>

#include "stores_test_support.h"

namespace navorix {
namespace {

// An environment in which exactly the directories Existing exist.
TStartEnvironment Environment(std::set<std::string> Existing) {
  TStartEnvironment env;
  env.Home = "/home/ann";
  env.IsDirectory = [Existing](const std::string& Dir) { return Existing.count(Dir) != 0; };
  return env;
}

TEST(AppData, PortableFolderKeepsEverythingBesideTheProgram) {
  const TAppData data = MakeAppData("/Opt/NavoriX Tools/Navorix.EXE",
                                    Environment({"/Opt/NavoriX Tools/data/", "/Opt/NavoriX Tools/wav"}));
  EXPECT_TRUE(data.Portable);
  EXPECT_EQ(data.ProgramDir, "/Opt/NavoriX Tools/");
  EXPECT_EQ(data.SettingsDir, "/Opt/NavoriX Tools/");
  EXPECT_EQ(data.DataDir, "/Opt/NavoriX Tools/data/");
  EXPECT_EQ(data.ShareDir, "/Opt/NavoriX Tools/");
  EXPECT_EQ(data.HelpFile, "/Opt/NavoriX Tools/Navorix.hlp");
}

TEST(AppData, HelpFileOfAProgramWithoutExtension) {
  const TAppData data = MakeAppData("/usr/Local.D/navorix", Environment({"/usr/Local.D/wav"}));
  EXPECT_EQ(data.HelpFile, "/usr/Local.D/navorix.hlp");  // the "." of a directory is no extension
  const TAppData bare = MakeAppData("navorix", Environment({"./data/"}));
  EXPECT_EQ(bare.ProgramDir, "./");
  EXPECT_EQ(bare.DataDir, "./data/");
}

// Without a data folder beside it the program keeps the user's files where
// a rebuild or a read-only installation cannot lose them.
TEST(AppData, WithoutADataFolderTheFilesArePerUser) {
  const TAppData data = MakeAppData("/usr/local/bin/navorix", Environment({}));
  EXPECT_FALSE(data.Portable);
  EXPECT_EQ(data.SettingsDir, "/home/ann/.config/navorix/");
  EXPECT_EQ(data.DataDir, "/home/ann/.local/share/navorix/data/");
  EXPECT_EQ(data.ShareDir, "/usr/local/bin/../share/navorix/");
  EXPECT_EQ(data.HelpFile, "/usr/local/bin/../share/navorix/navorix.hlp");

  TStartEnvironment env = Environment({});
  env.XdgConfigHome = "/cfg";
  env.XdgDataHome = "/xdg/data/";
  const TAppData xdg = MakeAppData("/usr/local/bin/navorix", env);
  EXPECT_EQ(xdg.SettingsDir, "/cfg/navorix/");
  EXPECT_EQ(xdg.DataDir, "/xdg/data/navorix/data/");
  env.XdgConfigHome = "relative/cfg";  // not absolute: ignored
  EXPECT_EQ(MakeAppData("/usr/local/bin/navorix", env).SettingsDir, "/home/ann/.config/navorix/");
}

TEST(AppData, MakeDirectoriesCreatesTheMissingParents) {
  testing::TTempDir dir;
  ASSERT_FALSE(dir.Path().empty());
  const std::string& root = dir.Path();
  const std::string deep = root + "/a/b/c/";
  EXPECT_TRUE(MakeDirectories(deep));
  EXPECT_TRUE(MakeDirectories(deep)) << "existing directories are fine";
  EXPECT_EQ(::access(deep.c_str(), W_OK), 0);
  // A file in the way is no directory.
  ASSERT_EQ(::close(::creat((root + "/file").c_str(), 0600)), 0);
  EXPECT_FALSE(MakeDirectories(root + "/file/sub/"));
}

TEST(AppData, StartUpUsesTheRunningProgramsDirectory) {
  char saved[PATH_MAX];
  ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
  const std::string program = ProgramFileName();
  ASSERT_FALSE(program.empty());
  EXPECT_EQ(program.substr(program.find_last_of('/') + 1), "stores_tests");
  bool changed = false;
  const TAppData data = StartUp(changed);
  EXPECT_TRUE(changed);
  EXPECT_EQ(data.Version, "1.20");
  EXPECT_EQ(data.ProgramDir, program.substr(0, program.find_last_of('/') + 1));
  char now[PATH_MAX];
  ASSERT_NE(::getcwd(now, sizeof now), nullptr);
  EXPECT_EQ(std::string(now) + "/", data.ProgramDir);
  EXPECT_EQ(data.PropFontName, "Verdana");
  EXPECT_EQ(data.FixedFontName, "Courier New");
  ASSERT_EQ(::chdir(saved), 0);
}

}  // namespace
}  // namespace navorix
