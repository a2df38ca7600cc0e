// Script lines of navorix-batch: keywords, operands and settings in any
// form, run on a few fixes.
//
// Properties: no line makes the program fail or loop; every line ends as a
// result, an error of its line or nothing. Lines that name files (load,
// save, import, export) are passed over: a fuzzed path could name any file
// of the machine.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "app/batch_output.h"
#include "app/batch_workbench.h"
#include "fuzz_support.h"

using namespace navorix;

namespace {

constexpr const char* StartFixes =
    "48.8567 2.3522 PARIS\r\n40.7128 -74.0060 NEWYORK\r\n35.6762 139.6503 TOKYO\r\n"
    "-33.9249 18.4241 CAPETOWN\r\n0 0 NULL/ISLAND\r\n90 0 NORTHPOLE\r\n";

bool NamesAFile(std::string_view line) {
  std::size_t at = 0;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  std::string word;
  while (at < line.size() && line[at] != ' ' && line[at] != '\t' && word.size() < 8) {
    const char c = line[at++];
    word += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return word == "load" || word == "save" || word == "import" || word == "export";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::FILE* const sink = std::fopen("/dev/null", "wb");
  if (sink == nullptr) fuzz::Violated("/dev/null opens");
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fuzz::MemoryFile fixes(StartFixes);
  BatchOutput out(sink, false);
  BatchWorkbench bench(out);
  fuzz::Check(bench.LoadSettings("") && bench.LoadFixes(fixes.Name()), "the start works");
  std::size_t start = 0;
  unsigned lineNo = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNo;
    if (line.size() > BatchWorkbench::MaxLineLength) {
      bench.LineTooLong(lineNo);
    } else if (!NamesAFile(line)) {
      bench.RunLine(line, lineNo);
    }
    start = end + 1;
  }
  fuzz::Check(out.Flush(), "the output is written");
  fuzz::Check(bench.Bench().Fixes().Count() <= MaxFixes, "the database stays within its capacity");
  return 0;
}
