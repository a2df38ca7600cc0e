// navorix-batch: the calculator driven by a script.
//
//   navorix-batch [--ini FILE] [--utf8] FIXFILE [SCRIPT]
//
// Loads the settings (the built-in defaults without --ini) and the fix file,
// then runs the script (standard input without SCRIPT) line by line; see
// app/batch_workbench.h for the script lines. Exit status 0 when the script
// ran to its end, 2 with a message on standard error when an argument is
// unusable or a file cannot be read.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "app/batch_output.h"
#include "app/batch_workbench.h"
#include "text/cp1252.h"

namespace {

constexpr int ExitUsage = 2;

constexpr const char* Usage =
    "usage: navorix-batch [--ini FILE] [--utf8] FIXFILE [SCRIPT]\n"
    "  FIXFILE  fix file to start from\n"
    "  SCRIPT   script file (standard input when absent)\n"
    "  --ini    settings file whose \"Settings\" section is used\n"
    "  --utf8   script and output in UTF-8 instead of Windows-1252\n";

int Fail(const std::string& Message, bool WithUsage = false) {
  std::fprintf(stderr, "navorix-batch: %s\n", Message.c_str());
  if (WithUsage) std::fputs(Usage, stderr);
  return ExitUsage;
}

struct TArguments {
  std::string IniFile;
  bool Utf8 = false;
  std::string FixFile;
  std::string Script;
  bool HasScript = false;
};

// False with a message when the arguments cannot be used.
bool ParseArguments(int argc, char** argv, TArguments& Args, std::string& Problem) {
  int files = 0;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && arg == "--ini") {
      if (i + 1 >= argc) {
        Problem = "--ini needs a file name";
        return false;
      }
      Args.IniFile = argv[++i];
      if (Args.IniFile.empty()) {
        Problem = "--ini needs a file name";
        return false;
      }
    } else if (options && arg == "--utf8") {
      Args.Utf8 = true;
    } else if (options && arg.size() > 1 && arg.front() == '-') {
      Problem = "unknown option " + std::string(arg);
      return false;
    } else if (files == 0) {
      Args.FixFile = arg;
      ++files;
    } else if (files == 1) {
      Args.Script = arg;
      Args.HasScript = true;
      ++files;
    } else {
      Problem = "too many arguments";
      return false;
    }
  }
  if (files == 0) {
    Problem = "the fix file is missing";
    return false;
  }
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
  }
  TArguments args;
  std::string problem;
  if (!ParseArguments(argc, argv, args, problem)) return Fail(problem, true);

  std::ifstream scriptFile;
  if (args.HasScript) {
    scriptFile.open(args.Script, std::ios::binary);
    if (!scriptFile) return Fail("Cannot open " + args.Script);
  }
  std::ios::sync_with_stdio(false);
  std::istream& script = args.HasScript ? static_cast<std::istream&>(scriptFile) : std::cin;

  TBatchOutput out(stdout, args.Utf8);
  TBatchWorkbench bench(out);
  if (!bench.LoadSettings(args.IniFile)) return Fail(bench.Failure());
  if (!bench.LoadFixes(args.FixFile)) return Fail(bench.Failure());

  std::string line;
  std::string converted;
  unsigned lineNo = 0;
  while (std::getline(script, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (args.Utf8) {
      Utf8ToCp1252(line, converted);
      bench.RunLine(converted, lineNo);
    } else {
      bench.RunLine(line, lineNo);
    }
  }
  if (script.bad()) {
    out.Flush();
    return Fail("Cannot read " + (args.HasScript ? args.Script : std::string("standard input")));
  }
  if (!out.Flush()) return Fail("Cannot write the output");
  return 0;
}
