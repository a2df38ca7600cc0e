// History files as the log loads them.
//
// Properties: the log keeps at most its capacity and the report's message
// fits the error box; the log saves and loads back to the same records,
// completely.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "stores/load_report.h"
#include "stores/log_list.h"

using namespace navorix;
using navorix::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fuzz::MemoryFile input(text);
  LogList log;
  LoadReport report;
  log.LoadFromFile(input.Name(), report);
  Check(report.failure.empty(), "a memory file reads without failure", text);
  Check(log.Count() <= MaxLogRecords, "the log stays within its capacity", text);
  Check(log.Count() == report.taken - report.beyondCapacity, "dropped records are counted", text);
  for (const std::string& line : LoadReportLines(report)) {
    Check(line.size() <= MaxMessageLength, "a report line fits the error box", text);
  }

  // A first line that begins with a second byte-order mark loses it when
  // read again (the first was skipped): no program-made log line starts so.
  if (log.Count() > 0 && log.GetLine(1, 1).starts_with("\xEF\xBB\xBF")) return 0;
  const std::string file = fuzz::ScratchDir() + "/round.his";
  log.SaveToFile(file, fuzz::ScratchCalls());
  LogList back;
  LoadReport again;
  back.LoadFromFile(file, again);
  Check(again.Complete(), "the saved file loads back completely", text);
  Check(back.Count() == log.Count(), "the same number of records loads back", text);
  for (std::uint16_t n = 1; n <= log.Count(); ++n) {
    for (int line = 1; line <= 3; ++line) {
      Check(back.GetLine(n, line) == log.GetLine(n, line), "each line loads back the same", text);
    }
  }
  return 0;
}
