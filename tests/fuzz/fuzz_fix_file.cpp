// Fix files as the database loads them, with a limit of data lines chosen by
// the input.
//
// Properties: the report accounts for every entry added and its message
// fits the error box; the database saves and loads back to the same valid
// fixes, completely, as the same file.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "stores/fix_db.h"
#include "stores/line_reader.h"
#include "stores/load_report.h"
#include "text/format.h"

using namespace navorix;
using navorix::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Chosen chosen = fuzz::ChooseOptions(data, size);
  const std::string_view text = chosen.text;
  const std::uint32_t maxLines = size > 0 && (data[0] & 0x80) != 0 ? data[0] % 8 : MaxFixes;
  fuzz::MemoryFile input(text);
  FixDatabase db;
  LoadReport report;
  {
    LineReader reader(input.Name());
    db.ReadText(reader, maxLines, chosen.options.plusDir, chosen.earth, report);
  }
  Check(report.failure.empty(), "a memory file reads without failure", text);
  Check(db.Count() == report.taken + report.unreadable, "every entry is taken or unreadable", text);
  for (const std::string& line : LoadReportLines(report)) {
    Check(line.size() <= MaxMessageLength, "a report line fits the error box", text);
  }

  const std::string file = fuzz::ScratchDir() + "/round.fix";
  db.SaveToFile(file, chosen.options, chosen.earth, fuzz::ScratchCalls());
  FixDatabase back;
  LoadReport again;
  back.LoadFromFile(file, chosen.options.plusDir, chosen.earth, again);
  Check(again.Complete() && again.taken == report.taken && back.Count() == report.taken,
        "the saved file loads back completely", text);
  std::uint16_t pos = 0;
  for (std::uint16_t i = 1; i <= db.Count(); ++i) {
    const FixRecord fix = db.Get(i);
    if (!fix.valid) continue;
    const FixRecord read = back.Get(++pos);
    Check(read.name == fix.name && FixFileLine(chosen.options, chosen.earth, read) ==
                                       FixFileLine(chosen.options, chosen.earth, fix),
          "each fix loads back as it was saved", text);
  }
  return 0;
}
