// navorix-batch end to end: every operation and workbench line on a pinned
// script, bad script lines, bad arguments, settings files, standard input
// and UTF-8. Every pinned figure was checked against an independent
// computation (unit-sphere vector algebra, a quadrature of the elliptic
// section and GeographicLib's geodesic) before it was pinned.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/batch_output.h"

namespace {

namespace fs = std::filesystem;
using std::string;

string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& file, const string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
}

struct ProgramRun {
  int status = -1;
  string out;
  string err;
};

// Runs navorix-batch on world.fix with args, its output (and, with
// typedScript, its input) on a terminal whose locale is lang; the script
// is typed at that terminal or comes from the file "stdin". Returns what
// the terminal received; Status gets the exit status.
string RunOnTerminal(const fs::path& dir, const std::vector<string>& args, const char* lang, bool typedScript,
                     const string& script, int& exitStatus) {
  exitStatus = -1;
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return "no terminal";
  const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  if (slave < 0) return "no terminal";
  // Lines as typed, without echo; output bytes as they are (no CR before
  // LF). Set before anything is typed.
  struct termios mode {};
  ::tcgetattr(slave, &mode);
  mode.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  mode.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  ::tcsetattr(slave, TCSANOW, &mode);
  WriteFile(dir / "stdin", script);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::chdir(dir.c_str()) != 0) ::_exit(97);
    const int input = typedScript ? slave : ::open("stdin", O_RDONLY);
    if (input < 0 || ::dup2(input, STDIN_FILENO) < 0 || ::dup2(slave, STDOUT_FILENO) < 0) ::_exit(96);
    if (input != slave) ::close(input);
    ::close(slave);
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_CTYPE");
    ::setenv("LANG", lang, 1);
    std::vector<char*> argv{const_cast<char*>(NAVORIX_BATCH)};
    for (const string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(const_cast<char*>("clean.fix"));
    argv.push_back(nullptr);
    ::execv(NAVORIX_BATCH, argv.data());
    ::_exit(98);
  }
  // Once the program has ended nothing holds the terminal open.
  ::close(slave);
  // The typed script, then the end of the input (Ctrl+D).
  if (typedScript) (void)!::write(master, (script + "\x04").data(), script.size() + 1);
  // Everything the program wrote; the terminal reports an error once the
  // program has ended.
  string received;
  char buffer[4096];
  pollfd wanted{master, POLLIN, 0};
  while (::poll(&wanted, 1, 10000) > 0) {
    const ssize_t got = ::read(master, buffer, sizeof buffer);
    if (got <= 0) break;
    received.append(buffer, static_cast<std::size_t>(got));
  }
  int status = 0;
  if (::waitpid(child, &status, 0) == child && WIFEXITED(status)) exitStatus = WEXITSTATUS(status);
  ::close(master);
  return received;
}

// world.fix holds one line that does not read; every run says so on the
// error output, goes on with the fixes that did, and ends with status 1 (a
// save would drop the line). clean.fix is world.fix without that line.
const string BrokenLineWarning = "navorix-batch: Fix file: 1 unreadable line shown as an empty row\n";

// Each test runs the program in a directory of its own holding copies of
// the test data.
class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    string pattern = (fs::temp_directory_path() / "batch-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    for (const char* name : {"world.fix", "golden.txt", "bad.txt"}) {
      fs::copy_file(fs::path(NAVORIX_BATCH_DATA) / name, dir_ / name);
    }
    const string world = ReadFile(dir_ / "world.fix");
    const auto broken = world.find("X Y BROKEN\r\n");
    ASSERT_NE(broken, string::npos);
    WriteFile(dir_ / "clean.fix", world.substr(0, broken) + world.substr(broken + 12));
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs navorix-batch with args in the test directory, stdin as its input,
  // through the command wrapper when one is given.
  ProgramRun Run(const string& args, const string& stdin = "", const string& wrapper = "") {
    WriteFile(dir_ / "stdin", stdin);
    const string command = "cd '" + dir_.string() + "' && " + wrapper + "'" NAVORIX_BATCH "' " + args +
                           " < stdin > stdout 2> stderr";
    const int status = std::system(command.c_str());
    ProgramRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(dir_ / "stdout");
    run.err = ReadFile(dir_ / "stderr");
    return run;
  }
  // The largest resident size, in kB, of navorix-batch running world.fix
  // with script.
  long MaxResidentKb(const char* script) {
    const pid_t child = ::fork();
    if (child == 0) {
      if (::chdir(dir_.c_str()) != 0 || !std::freopen("/dev/null", "w", stdout)) ::_exit(99);
      ::execl(NAVORIX_BATCH, NAVORIX_BATCH, "world.fix", script, static_cast<char*>(nullptr));
      ::_exit(98);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child) return -1;
    return usage.ru_maxrss;
  }
  string Expected(const char* name) { return ReadFile(fs::path(NAVORIX_BATCH_DATA) / name); }

  fs::path dir_;
};

TEST_F(BatchTest, GoldenScriptCoversEveryOperationAndWorkbenchLine) {
  const ProgramRun run = Run("world.fix golden.txt");
  EXPECT_EQ(run.status, 1) << "the broken line was not taken";
  EXPECT_EQ(run.err, BrokenLineWarning);
  EXPECT_EQ(run.out, Expected("golden.out"));
  // The saved fix file: Deg/Min/Sec at High accuracy, CR LF, sorted by name,
  // the entry whose line did not read left out.
  const string saved = ReadFile(dir_ / "golden-out.fix");
  EXPECT_EQ(saved.substr(0, saved.find('\n') + 1),
            " 33\xB0"
            "55'29.64\"S  18\xB0"
            "25'26.76\"E CAPETOWN\r\n");
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 15);
}

TEST_F(BatchTest, BadLinesAreReportedAndTheScriptGoesOnButEndsWithStatus1) {
  const ProgramRun run = Run("world.fix bad.txt");
  EXPECT_EQ(run.status, 1) << "a script must be able to notice";
  EXPECT_EQ(run.err, BrokenLineWarning);
  EXPECT_EQ(run.out, Expected("bad.out"));
}

TEST_F(BatchTest, FixFileFailuresInsideTheScriptAreErrorsOfTheirLine) {
  const ProgramRun run = Run("world.fix", "load nothere.fix\nsave no-such-dir/x.fix\nmidpoint P Q\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out.rfind("ERROR: Cannot open nothere.fix: No such file or directory\n", 0), 0u) << run.out;
  // The path as the script typed it, and the reason.
  const auto second = run.out.find('\n') + 1;
  EXPECT_EQ(run.out.compare(second, 49, "ERROR: Cannot write no-such-dir/x.fix: No such fi"), 0) << run.out;
  EXPECT_NE(run.out.find("Midpoint from P to Q\n"), string::npos);
}

TEST_F(BatchTest, AnEntryThatDidNotReadIsNoOperand) {
  const ProgramRun run = Run("world.fix", "fixfix PARIS BROKEN\n");
  EXPECT_EQ(run.out.rfind("ERROR: line 1: ", 0), 0u) << run.out;
  EXPECT_EQ(run.out.find("Distance"), string::npos);
}

TEST_F(BatchTest, UnusableArgumentsExitWithStatus2) {
  WriteFile(dir_ / "radii.ini", "[Settings]\r\nSpherRadius=-1\r\n");
  const std::vector<std::pair<string, string>> cases = {
      {"", "the fix file is missing"},
      {"--frobnicate world.fix", "unknown option --frobnicate"},
      {"world.fix golden.txt extra", "too many arguments"},
      {"world.fix --ini", "--ini needs a file name"},
      {"nothere.fix", "Cannot read nothere.fix: No such file or directory"},
      {"world.fix nothere.txt", "Cannot read nothere.txt: No such file or directory"},
      {"--ini nothere.ini world.fix", "Cannot read nothere.ini: No such file or directory"},
      {"--ini . world.fix", "Cannot read .: not a regular file"},
      {"--ini radii.ini world.fix", "Unusable Earth radii in the settings file"},
  };
  for (const auto& [args, message] : cases) {
    const ProgramRun run = Run(args, "list\n");
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_EQ(run.out, "") << args;
    EXPECT_NE(run.err.find("navorix-batch: " + message), string::npos) << args << ": " << run.err;
  }
}

TEST_F(BatchTest, ANamedPipeAsAFileArgumentIsAnsweredWithinASecond) {
  ASSERT_EQ(::mkfifo((dir_ / "pipe.ini").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((dir_ / "pipe.fix").c_str(), 0600), 0);
  const std::vector<std::pair<string, string>> cases = {
      {"--ini pipe.ini world.fix", "Cannot read pipe.ini: not a regular file"},
      {"pipe.fix", "Cannot read pipe.fix: not a regular file"},
  };
  for (const auto& [args, message] : cases) {
    // A program that blocks is stopped after 5 s so that the test ends.
    const auto start = std::chrono::steady_clock::now();
    const ProgramRun run = Run(args, "list\n", "timeout -s KILL 5 ");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << args;
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_NE(run.err.find("navorix-batch: " + message), string::npos) << args << ": " << run.err;
  }
}

TEST_F(BatchTest, HelpShowsTheUsageAndEveryKeyword) {
  const ProgramRun run = Run("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("usage: navorix-batch [--ini FILE] [--utf8 | --cp1252] FIXFILE [SCRIPT]\n", 0), 0u);
  for (const char* keyword :
       {"fixfix",  "next",      "arcfix",    "arcarc", "midpoint", "azimuth", "fixatda",
        "project", "intersect", "proximity", "fixatd", "store",    "set",     "clearlog",
        "load",    "save",      "import",    "export", "sort",     "list"}) {
    EXPECT_NE(run.out.find(string("\n  ") + keyword + " "), string::npos) << keyword;
  }
  const ProgramRun version = Run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "navorix-batch 1.20\n");
}

TEST_F(BatchTest, OperationErrorsAreResultsAndKeepStatus0) {
  const ProgramRun run = Run("clean.fix", "project PARIS PARIS NEWYORK\nnext PARIS\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, "ERROR: Same or opposing fixes\nERROR: Next Fix needs a Fix-Fix distance first\n");
}

// A FIFO named as a file would make an open or a read wait for a writer
// that never comes.
TEST_F(BatchTest, NoArgumentCanBlockIt) {
  ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  for (const char* args : {"--ini fifo world.fix", "fifo", "world.fix fifo"}) {
    const ProgramRun run = Run(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_NE(run.err.find("Cannot read fifo: not a regular file"), string::npos) << run.err;
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

// A line of 10 MB is an error of its line; the program neither keeps it
// nor grows with it.
TEST_F(BatchTest, AnOverlongLineIsAnErrorOfItsLine) {
  string script = "midpoint P Q\n" + string(10u << 20, 'x') + "\nmidpoint P Q\n";
  WriteFile(dir_ / "long.txt", script);
  const ProgramRun run = Run("world.fix long.txt");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("ERROR: line 2: line longer than 4096 bytes\n"), string::npos);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), 'M'), 2) << "both midpoints ran";
  // Memory stays bounded: the largest resident size of the program is
  // that of a short script, not 10 MB more.
  script = string();
  WriteFile(dir_ / "short.txt", "midpoint P Q\n");
  const long shortRun = MaxResidentKb("short.txt");
  const long longRun = MaxResidentKb("long.txt");
  EXPECT_LT(longRun, shortRun + 2048) << "kB resident: " << shortRun << " and " << longRun;
}

TEST_F(BatchTest, StandardInputAndCrLfLinesRunLikeAScriptFile) {
  const string script = "fixfix P Q\r\nmidpoint P Q\r\n";
  WriteFile(dir_ / "crlf.txt", script);
  const ProgramRun piped = Run("clean.fix", script);
  const ProgramRun file = Run("clean.fix crlf.txt");
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.out, file.out);
  EXPECT_EQ(piped.out.substr(0, 22), "Distance from P to Q\n\n");
  EXPECT_EQ(piped.out.find('\r'), string::npos);
}

// Settings as status loading reads them at start: the distance unit also
// decides whether Next Fix starts enabled.
TEST_F(BatchTest, SettingsFileIsReadAsAtProgramStart) {
  WriteFile(dir_ / "nm.ini",
            "[Interface]\r\nSound=0\r\n[Settings]\r\nlatlonformat=2\r\nPrecision=1\r\n"
            "DistUnits=2\r\nSpherRadius=6371\r\n");
  const ProgramRun run = Run("--ini nm.ini clean.fix", "next P\nfixfix P Q\nmidpoint P Q\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "ERROR: Next Fix needs a Fix-Fix distance first\n"
            "Distance from P to Q\n\n(S) 5301.24 nm\n"  // on a sphere of 6371 km
            "Midpoint from P to Q\n\n14\xB0"
            "00'07\"N 45\xB0"
            "00'00\"E\n");
  WriteFile(dir_ / "deg.ini", "[Settings]\nDistUnits=3\n");
  EXPECT_EQ(Run("--ini deg.ini world.fix", "next P\n").out,
            "ERROR: Next Fix is disabled: start with Fix-Fix\n");
}

// Status 1 whenever something meant to be kept was not done, so that a
// script can notice before it relies on a saved file.
TEST_F(BatchTest, WorkNotKeptEndsWithStatus1) {
  string full;
  for (int i = 0; i < 65535; ++i) full += "10 20 F" + std::to_string(i) + "\r\n";
  WriteFile(dir_ / "full.fix", full + "0 0 P\r\n");
  WriteFile(dir_ / "late.fix", "10 20 A\r\n\r\n30 40 B\r\n");
  struct Case {
    string args, script, out, err;
  };
  const std::vector<Case> cases = {
      {"world.fix", "list\n", "", BrokenLineWarning},
      {"late.fix", "", "", "navorix-batch: Fix file: 1 line after the empty line not read\n"},
      {"clean.fix", "midpoint P Q\nstore P\n", "ERROR: This fix name is already in use\n", ""},
      {"full.fix", "midpoint F1 F2\nstore NEW\n", "ERROR: Not enough room in the fix database\n",
       "navorix-batch: Fix file: 1 fix beyond 65535 not loaded\n"},
      {"clean.fix", "load late.fix\n", "ERROR: Fix file: 1 line after the empty line not read\n", ""},
      {"clean.fix", "save no-such-dir/x.fix\n",
       "ERROR: Cannot write no-such-dir/x.fix: No such file or directory\n", ""},
  };
  for (const Case& c : cases) {
    const ProgramRun run = Run(c.args, c.script);
    EXPECT_EQ(run.status, 1) << c.args << " / " << c.script;
    EXPECT_EQ(run.err, c.err) << c.args << " / " << c.script;
    // The result lines of a midpoint come first.
    EXPECT_TRUE(run.out.size() >= c.out.size() &&
                run.out.compare(run.out.size() - c.out.size(), c.out.size(), c.out) == 0)
        << c.args << " / " << c.script << ": " << run.out;
  }
  // The same work done: 0.
  EXPECT_EQ(Run("clean.fix", "midpoint P Q\nstore MID\nsave out.fix\n").status, 0);
  // The rule is in the help.
  const string help = Run("--help").out;
  EXPECT_NE(help.find("1  something meant to be kept was not"), string::npos) << help;
  EXPECT_NE(help.find("a store refused"), string::npos) << help;
}

TEST_F(BatchTest, ImportReportsOnTheErrorOutputAndARefusedEntryEndsWithStatus1) {
  WriteFile(dir_ / "in.csv", "Name;Lat;Lon\r\nnew york;40,7128;-74,006\r\nP;1;2\r\nBad;91;0\r\n");
  const ProgramRun run = Run("clean.fix", "import in.csv\nexport out.gpx\nexport out.geojson\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "navorix-batch: CSV: 2 fixes imported, 2 renamed, 1 refused\n"
            "navorix-batch: line 2: \"new york\" renamed NEW-YORK\n"
            "navorix-batch: line 3: \"P\" renamed P-2, the name was in use\n"
            "navorix-batch: line 4: refused, latitude \"91\" is beyond 90 degrees\n");
  // What was exported comes back whole: status 0, names as they were.
  const ProgramRun back = Run("clean.fix", "clearlog\nimport out.gpx\nimport out.geojson\n");
  EXPECT_EQ(back.status, 0) << back.err;
  EXPECT_NE(back.err.find("GPX: "), string::npos);
  EXPECT_NE(back.err.find("NEW-YORK-2, the name was in use"), string::npos) << back.err;
  // A file that cannot be read, and an export to no known format.
  const ProgramRun missing = Run("clean.fix", "import none.gpx\nexport out.txt\n");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "ERROR: Cannot write out.txt: the name must end in .gpx, .csv, .geojson or .fix\n");
  EXPECT_NE(missing.err.find("none.gpx"), string::npos) << missing.err;
  EXPECT_NE(missing.err.find("No fixes imported"), string::npos) << missing.err;
}

// A fix file of 10 GB (sparse: nothing on the disk) is refused at once.
TEST_F(BatchTest, AHugeFixFileIsRefusedWithinASecond) {
  WriteFile(dir_ / "huge.fix", "");
  ASSERT_EQ(::truncate((dir_ / "huge.fix").c_str(), off_t{10} << 30), 0);
  const auto start = std::chrono::steady_clock::now();
  const ProgramRun run = Run("huge.fix", "list\n", "timeout -s KILL 5 ");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "navorix-batch: Cannot open huge.fix: larger than 64 MiB\n");
}

TEST_F(BatchTest, Utf8ConvertsScriptAndOutput) {
  const ProgramRun run = Run("--utf8 clean.fix",
                             "fixatda P 1000 90\xC2\xB0"
                             "00'\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "Fix at distance 1000 km\nand azimuth 90.00\xC2\xB0 from P\n"
            "9.88\xC2\xB0N 9.13\xC2\xB0"
            "E\n");
  // Without the option the bytes are Windows-1252.
  EXPECT_NE(Run("world.fix", "fixatda P 1000 90\n").out.find("90.00\xB0 from P"), string::npos);
}

TEST(BatchEncoding, TheLocaleDecidesByItsFirstSetVariable) {
  struct Case {
    const char* lcAll;
    const char* lcCtype;
    const char* lang;
    bool utf8;
  };
  const Case cases[] = {
      {nullptr, nullptr, "C.UTF-8", true},
      {nullptr, nullptr, "de_DE.utf8", true},
      {nullptr, nullptr, "sr_RS.UTF-8@latin", true},
      {nullptr, nullptr, "en_US.ISO-8859-1", false},
      {nullptr, nullptr, "C", false},
      {nullptr, nullptr, nullptr, false},
      {"", "", "en_GB.UTF-8", true},         // empty values do not count
      {"C", nullptr, "en_GB.UTF-8", false},  // LC_ALL before LANG
      {nullptr, "en_GB.UTF-8", "C", true},   // LC_CTYPE before LANG
      {nullptr, nullptr, "UTF-8", false},    // no codeset part
  };
  for (const Case& c : cases) {
    EXPECT_EQ(navorix::LocaleIsUtf8(c.lcAll, c.lcCtype, c.lang), c.utf8)
        << (c.lcAll ? c.lcAll : "-") << " " << (c.lcCtype ? c.lcCtype : "-") << " "
        << (c.lang ? c.lang : "-");
  }
}

TEST(BatchEncoding, OptionsWinOverTheTerminal) {
  using navorix::EncodingOption;
  using navorix::StreamIsUtf8;
  for (const bool terminal : {false, true}) {
    for (const bool utf8Locale : {false, true}) {
      EXPECT_TRUE(StreamIsUtf8(EncodingOption::Utf8, terminal, utf8Locale));
      EXPECT_FALSE(StreamIsUtf8(EncodingOption::Cp1252, terminal, utf8Locale));
      EXPECT_EQ(StreamIsUtf8(EncodingOption::Automatic, terminal, utf8Locale), terminal && utf8Locale);
    }
  }
}

// A person at a UTF-8 terminal sees the degree sign and types it; files and
// pipes keep Windows-1252 (the golden tests above), and so does --cp1252.
TEST_F(BatchTest, AUtf8TerminalGetsUtf8) {
  const string script =
      "fixatda P 1000 90\xC2\xB0"
      "00'\n";
  const string utf8Out =
      "Fix at distance 1000 km\nand azimuth 90.00\xC2\xB0 from P\n9.88\xC2\xB0N 9.13\xC2\xB0"
      "E\n";
  int status = -1;
  EXPECT_EQ(RunOnTerminal(dir_, {}, "C.UTF-8", true, script, status), utf8Out);
  EXPECT_EQ(status, 0);
  // A script file stays Windows-1252 when the output goes to the terminal.
  EXPECT_EQ(RunOnTerminal(dir_, {}, "C.UTF-8", false,
                          "fixatda P 1000 90\xB0"
                          "00'\n",
                          status),
            utf8Out);
  const string cp1252Out =
      "Fix at distance 1000 km\nand azimuth 90.00\xB0 from P\n9.88\xB0N 9.13\xB0"
      "E\n";
  EXPECT_EQ(RunOnTerminal(dir_, {"--cp1252"}, "C.UTF-8", false,
                          "fixatda P 1000 90\xB0"
                          "00'\n",
                          status),
            cp1252Out);
  EXPECT_EQ(RunOnTerminal(dir_, {}, "C", false,
                          "fixatda P 1000 90\xB0"
                          "00'\n",
                          status),
            cp1252Out);
  EXPECT_EQ(RunOnTerminal(dir_, {"--utf8"}, "C", false, script, status), utf8Out);
}

TEST_F(BatchTest, Utf8AndCp1252ExcludeEachOther) {
  const ProgramRun run = Run("--utf8 --cp1252 world.fix");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.rfind("navorix-batch: --utf8 and --cp1252 exclude each other\n", 0), 0u);
  EXPECT_EQ(Run("--cp1252 --cp1252 clean.fix", "").status, 0);
}

}  // namespace
