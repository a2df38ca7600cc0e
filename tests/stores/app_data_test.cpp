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

// An environment in which exactly the directories existing exist.
StartEnvironment Environment(std::set<std::string> existing) {
  StartEnvironment env;
  env.home = "/home/ann";
  env.isDirectory = [existing](const std::string& dir) { return existing.count(dir) != 0; };
  return env;
}

TEST(AppData, PortableFolderKeepsEverythingBesideTheProgram) {
  const AppData data = MakeAppData("/Opt/NavoriX Tools/Navorix.EXE",
                                   Environment({"/Opt/NavoriX Tools/data/", "/Opt/NavoriX Tools/wav"}));
  EXPECT_TRUE(data.portable);
  EXPECT_EQ(data.programDir, "/Opt/NavoriX Tools/");
  EXPECT_EQ(data.settingsDir, "/Opt/NavoriX Tools/");
  EXPECT_EQ(data.dataDir, "/Opt/NavoriX Tools/data/");
  EXPECT_EQ(data.shareDir, "/Opt/NavoriX Tools/");
  EXPECT_EQ(data.helpFile, "/Opt/NavoriX Tools/Navorix.hlp");
}

TEST(AppData, HelpFileOfAProgramWithoutExtension) {
  const AppData data = MakeAppData("/usr/Local.D/navorix", Environment({"/usr/Local.D/wav"}));
  EXPECT_EQ(data.helpFile, "/usr/Local.D/navorix.hlp");  // the "." of a directory is no extension
  const AppData bare = MakeAppData("navorix", Environment({"./data/"}));
  EXPECT_EQ(bare.programDir, "./");
  EXPECT_EQ(bare.dataDir, "./data/");
}

// Without a data folder beside it the program keeps the user's files where
// a rebuild or a read-only installation cannot lose them.
TEST(AppData, WithoutADataFolderTheFilesArePerUser) {
  const AppData data = MakeAppData("/usr/local/bin/navorix", Environment({}));
  EXPECT_FALSE(data.portable);
  EXPECT_EQ(data.settingsDir, "/home/ann/.config/navorix/");
  EXPECT_EQ(data.dataDir, "/home/ann/.local/share/navorix/data/");
  EXPECT_EQ(data.shareDir, "/usr/local/bin/../share/navorix/");
  EXPECT_EQ(data.helpFile, "/usr/local/bin/../share/navorix/navorix.hlp");

  StartEnvironment env = Environment({});
  env.xdgConfigHome = "/cfg";
  env.xdgDataHome = "/xdg/data/";
  const AppData xdg = MakeAppData("/usr/local/bin/navorix", env);
  EXPECT_EQ(xdg.settingsDir, "/cfg/navorix/");
  EXPECT_EQ(xdg.dataDir, "/xdg/data/navorix/data/");
  env.xdgConfigHome = "relative/cfg";  // not absolute: ignored
  EXPECT_EQ(MakeAppData("/usr/local/bin/navorix", env).settingsDir, "/home/ann/.config/navorix/");
}

TEST(AppData, MakeDirectoriesCreatesTheMissingParents) {
  testing::TempDir dir;
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
  const AppData data = StartUp(changed);
  EXPECT_TRUE(changed);
  EXPECT_EQ(data.version, "1.20");
  EXPECT_EQ(data.programDir, program.substr(0, program.find_last_of('/') + 1));
  char now[PATH_MAX];
  ASSERT_NE(::getcwd(now, sizeof now), nullptr);
  EXPECT_EQ(std::string(now) + "/", data.programDir);
  EXPECT_EQ(data.propFontName, "Verdana");
  EXPECT_EQ(data.fixedFontName, "Courier New");
  ASSERT_EQ(::chdir(saved), 0);
}

}  // namespace
}  // namespace navorix
