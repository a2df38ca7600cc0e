// One fix-file line, in every Lat/Lon format, plus direction and latitude
// kind (chosen by the input's first byte).
//
// Property: a fix that reads is written by the program as a line that reads
// back to the same fix: the same name, a position within the accuracy of the
// text, and the same line when written again.
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "text/fix_names.h"
#include "text/format.h"
#include "text/parse.h"

using namespace navorix;
using navorix::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const fuzz::TChosen chosen = fuzz::ChooseOptions(Data, Size);
  const std::string_view line = chosen.Text;
  const TPlusDir plus = chosen.Options.PlusDir;
  FixRecord fix;
  ParseFixLine(plus, chosen.Earth, fix, line);
  (void)FixText(chosen.Options, chosen.Earth, fix);
  if (!fix.Valid) return 0;
  std::string name = fix.Name.Str();
  Check(IsValidFixName(name) && name == fix.Name.View(), "a name read obeys the name rule", line);

  const std::string written = FixFileLine(chosen.Options, chosen.Earth, fix);
  FixRecord back;
  ParseFixLine(plus, chosen.Earth, back, written);
  Check(back.Valid, "a written line reads", line);
  Check(back.Name == fix.Name, "the name reads back the same", line);
  const TTriV d = TriSub(back.Position, fix.Position);
  // 0.01 second or 1e-6 degree at High accuracy: about 5e-8 rad of chord.
  Check(TriDot(d, d) < 2.5e-15L, "the position reads back within the text's accuracy", line);
  Check(FixFileLine(chosen.Options, chosen.Earth, back) == written,
        "the line is the same when written again", line);
  return 0;
}
