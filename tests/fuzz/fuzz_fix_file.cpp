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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const fuzz::TChosen chosen = fuzz::ChooseOptions(Data, Size);
  const std::string_view text = chosen.Text;
  const std::uint32_t max_lines = Size > 0 && (Data[0] & 0x80) != 0 ? Data[0] % 8 : MaxFixes;
  fuzz::TMemoryFile input(text);
  TFixDB db;
  TLoadReport report;
  {
    TLineReader reader(input.Name());
    db.ReadText(reader, max_lines, chosen.Options.PlusDir, chosen.Earth, report);
  }
  Check(report.Failure.empty(), "a memory file reads without failure", text);
  Check(db.Count() == report.Taken + report.Unreadable, "every entry is taken or unreadable", text);
  for (const std::string& line : LoadReportLines(report)) {
    Check(line.size() <= MaxMessageLength, "a report line fits the error box", text);
  }

  const std::string file = fuzz::ScratchDir() + "/round.fix";
  db.SaveToFile(file, chosen.Options, chosen.Earth, fuzz::ScratchCalls());
  TFixDB back;
  TLoadReport again;
  back.LoadFromFile(file, chosen.Options.PlusDir, chosen.Earth, again);
  Check(again.Complete() && again.Taken == report.Taken && back.Count() == report.Taken,
        "the saved file loads back completely", text);
  std::uint16_t pos = 0;
  for (std::uint16_t i = 1; i <= db.Count(); ++i) {
    const FixRecord fix = db.Get(i);
    if (!fix.Valid) continue;
    const FixRecord read = back.Get(++pos);
    Check(read.Name == fix.Name && FixFileLine(chosen.Options, chosen.Earth, read) ==
                                       FixFileLine(chosen.Options, chosen.Earth, fix),
          "each fix loads back as it was saved", text);
  }
  return 0;
}
