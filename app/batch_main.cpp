// navorix-batch: the calculator driven by a script.
//
//   navorix-batch [--ini FILE] [--utf8 | --cp1252] FIXFILE [SCRIPT]
//
// Loads the settings (the built-in defaults without --ini) and the fix file,
// then runs the script (standard input without SCRIPT) line by line; see
// app/batch_workbench.h for the script lines. Exit status (the rule is in
// Usage): 0 when everything was done, 1 when something meant to be kept was
// not, 2 with a message on standard error when an argument is unusable or a
// file cannot be read.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "app/batch_output.h"
#include "app/batch_workbench.h"
#include "stores/app_data.h"
#include "text/cp1252.h"

namespace {

using navorix::EncodingOption;

constexpr int ExitFailedLines = 1;
constexpr int ExitUsage = 2;

constexpr const char* Usage =
    "usage: navorix-batch [--ini FILE] [--utf8 | --cp1252] FIXFILE [SCRIPT]\n"
    "  FIXFILE  fix file to start from\n"
    "  SCRIPT   script file (standard input when absent)\n"
    "  --ini    settings file whose \"Settings\" section is used\n"
    "  --utf8   script and output in UTF-8\n"
    "  --cp1252 script and output in Windows-1252\n"
    "           (without either: UTF-8 on a terminal whose locale is UTF-8,\n"
    "           Windows-1252 in files and pipes)\n"
    "  --version, --help\n"
    "\n"
    "script lines (keywords in any case; empty lines and lines starting with # are skipped):\n"
    "  fixfix A B              distance from fix A to fix B, starting a chain\n"
    "  next C                  the chain continued to C\n"
    "  arcfix A B R            distance between the arc A-B and the fix R\n"
    "  arcarc A B C D          distance between the arcs A-B and C-D\n"
    "  midpoint A B            midpoint of A and B\n"
    "  azimuth A B             azimuth from A to B\n"
    "  fixatda F DIST AZIM     fix at a distance and azimuth from F\n"
    "  project A B R           projection of R on the great circle of A-B\n"
    "  intersect A B C D       intersection of the arcs A-B and C-D\n"
    "  proximity A B R DIST    the two fixes of the circle of A-B at DIST from R\n"
    "  fixatd A B DIST         fix at DIST along the arc A-B\n"
    "  store NAME              stores the last computed point as a new fix at the end\n"
    "  set KEY VALUE           an option by its settings key (LatLonFormat, AzimFormat,\n"
    "                          PlusDir, Precision, DistUnits, AzimRange, EllipticArc,\n"
    "                          GeoDistance, EllipticLat)\n"
    "  clearlog                clears the operation log (and ends the Next Fix chain)\n"
    "  load FILE               appends the fixes of a fix file\n"
    "  save FILE               saves all fixes to a fix file\n"
    "  import FILE             appends the fixes of a GPX, CSV, GeoJSON or fix file;\n"
    "                          what was renamed or refused goes to the error output\n"
    "  export FILE             writes all fixes as GPX, CSV or GeoJSON (.gpx, .csv,\n"
    "                          .geojson or .json; .fix saves a fix file)\n"
    "  sort 0|1|2 [NAME]       sorts by name, suffix, or distance from the fix NAME\n"
    "  list                    prints every fix row, then N = and the count\n"
    "\n"
    "exit status:\n"
    "  0  everything was done; an operation's error (\"Same or opposing fixes\")\n"
    "     is a result\n"
    "  1  something meant to be kept was not: FIXFILE or a load not taken completely\n"
    "     (a line that does not read, fixes beyond the capacity, lines after an empty\n"
    "     line), a store refused, a save or an export failed, an import refused an\n"
    "     entry or could not be read, or a script line could not be read\n"
    "  2  an argument is unusable or a file cannot be read (nothing was run)\n";

int Fail(const std::string& message, bool withUsage = false) {
  std::fprintf(stderr, "navorix-batch: %s\n", message.c_str());
  if (withUsage) std::fputs(Usage, stderr);
  return ExitUsage;
}

struct Arguments {
  std::string iniFile;
  EncodingOption encoding = EncodingOption::Automatic;
  std::string fixFile;
  std::string script;
  bool hasScript = false;
};

// False with a message when the arguments cannot be used.
bool ParseArguments(int argc, char** argv, Arguments& args, std::string& problem) {
  int files = 0;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && arg == "--ini") {
      if (i + 1 >= argc) {
        problem = "--ini needs a file name";
        return false;
      }
      args.iniFile = argv[++i];
      if (args.iniFile.empty()) {
        problem = "--ini needs a file name";
        return false;
      }
    } else if (options && (arg == "--utf8" || arg == "--cp1252")) {
      const EncodingOption asked = arg == "--utf8" ? EncodingOption::Utf8 : EncodingOption::Cp1252;
      if (args.encoding != EncodingOption::Automatic && args.encoding != asked) {
        problem = "--utf8 and --cp1252 exclude each other";
        return false;
      }
      args.encoding = asked;
    } else if (options && arg.size() > 1 && arg.front() == '-') {
      problem = "unknown option " + std::string(arg);
      return false;
    } else if (files == 0) {
      args.fixFile = arg;
      ++files;
    } else if (files == 1) {
      args.script = arg;
      args.hasScript = true;
      ++files;
    } else {
      problem = "too many arguments";
      return false;
    }
  }
  if (files == 0) {
    problem = "the fix file is missing";
    return false;
  }
  return true;
}

// Every file named on the command line is looked at before it is opened: a
// FIFO or a device would make the open or the reading wait for ever.
bool IsReadableFile(const std::string& name, std::string& problem) {
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) {
    problem = "Cannot read " + name + ": " + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    problem = "Cannot read " + name + ": not a regular file";
    return false;
  }
  return true;
}

// Reads one line of at most maxLength bytes into line (without its line
// end). A longer line is read to its end but not kept: tooLong tells. False
// at the end of the input.
bool ReadScriptLine(std::istream& in, std::string& line, std::size_t maxLength, bool& tooLong) {
  line.clear();
  tooLong = false;
  std::streambuf* buffer = in.rdbuf();
  bool any = false;
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      return any;
    }
    any = true;
    if (c == '\n') break;
    if (line.size() < maxLength) {
      line.push_back(static_cast<char>(c));
    } else {
      tooLong = true;
    }
  }
  if (!line.empty() && line.back() == '\r' && !tooLong) line.pop_back();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace navorix;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") {
      std::fputs(Usage, stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("navorix-batch %s\n", VersionText);
      return 0;
    }
  }
  Arguments args;
  std::string problem;
  if (!ParseArguments(argc, argv, args, problem)) return Fail(problem, true);
  for (const std::string* name : {&args.iniFile, &args.fixFile, &args.script}) {
    if (!name->empty() && !IsReadableFile(*name, problem)) return Fail(problem);
  }

  std::ifstream scriptFile;
  if (args.hasScript) {
    scriptFile.open(args.script, std::ios::binary);
    if (!scriptFile) return Fail("Cannot read " + args.script + ": " + std::strerror(errno));
  }
  std::ios::sync_with_stdio(false);
  std::istream& script = args.hasScript ? static_cast<std::istream&>(scriptFile) : std::cin;

  // Text on a terminal is for a person, in the terminal's encoding; text in
  // a file or a pipe is for scripts and Navorix's files, in Windows-1252.
  const bool utf8Locale = LocaleIsUtf8(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"));
  const bool utf8Out = StreamIsUtf8(args.encoding, ::isatty(STDOUT_FILENO) == 1, utf8Locale);
  const bool utf8In = StreamIsUtf8(args.encoding, !args.hasScript && ::isatty(STDIN_FILENO) == 1, utf8Locale);
  BatchOutput out(stdout, utf8Out);
  BatchWorkbench bench(out);
  if (!bench.LoadSettings(args.iniFile)) return Fail(bench.Failure());
  if (!bench.LoadFixes(args.fixFile)) return Fail(bench.Failure());
  for (const std::string& warning : bench.Warnings()) {
    std::fprintf(stderr, "navorix-batch: %s\n", warning.c_str());
  }

  std::string line;
  std::string converted;
  unsigned lineNo = 0;
  bool tooLong = false;
  while (ReadScriptLine(script, line, BatchWorkbench::MaxLineLength, tooLong)) {
    ++lineNo;
    if (tooLong) {
      bench.LineTooLong(lineNo);
    } else if (utf8In) {
      Utf8ToCp1252(line, converted);
      bench.RunLine(converted, lineNo);
    } else {
      bench.RunLine(line, lineNo);
    }
  }
  if (script.bad()) {
    out.Flush();
    return Fail("Cannot read " + (args.hasScript ? args.script : std::string("standard input")));
  }
  if (!out.Flush()) return Fail("Cannot write the output");
  return bench.Failed() ? ExitFailedLines : 0;
}
