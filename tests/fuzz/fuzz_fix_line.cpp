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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Chosen chosen = fuzz::ChooseOptions(data, size);
  const std::string_view line = chosen.text;
  const PlusDir plus = chosen.options.plusDir;
  FixRecord fix;
  ParseFixLine(plus, chosen.earth, fix, line);
  (void)FixText(chosen.options, chosen.earth, fix);
  if (!fix.valid) return 0;
  std::string name = fix.name.Str();
  Check(IsValidFixName(name) && name == fix.name.View(), "a name read obeys the name rule", line);

  const std::string written = FixFileLine(chosen.options, chosen.earth, fix);
  FixRecord back;
  ParseFixLine(plus, chosen.earth, back, written);
  Check(back.valid, "a written line reads", line);
  Check(back.name == fix.name, "the name reads back the same", line);
  const Vector3 d = TriSub(back.position, fix.position);
  // 0.01 second or 1e-6 degree at High accuracy: about 5e-8 rad of chord.
  Check(TriDot(d, d) < 2.5e-15L, "the position reads back within the text's accuracy", line);
  Check(FixFileLine(chosen.options, chosen.earth, back) == written, "the line is the same when written again",
        line);
  return 0;
}
