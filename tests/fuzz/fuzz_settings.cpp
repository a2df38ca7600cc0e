// The settings file as status loading reads it and status saving rewrites
// it.
//
// Properties: reading never fails on any content; after keys are written
// and the file saved, it loads back with the same lines, the written values
// read back, and every line that was not written stays.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "stores/profile_file.h"

using namespace navorix;
using navorix::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string file = fuzz::ScratchDir() + "/navorix.ini";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  ProfileFile ini(file, fuzz::ScratchCalls());
  ini.Load();
  for (const char* section : {"Settings", "Interface", ""}) {
    for (const char* key : {"EllipticLat", "LatLonFormat", "SpherRadius", "Sound", ""}) {
      (void)ini.ReadString(section, key, "x");
      (void)ini.ReadInteger(section, key, 0);
      (void)ini.ReadBool(section, key, true);
      (void)ini.ReadFloat(section, key, 1.0L);
    }
  }
  // A second byte-order mark at the start would be lost on reading again.
  if (!ini.Lines().empty() && ini.Lines().front().starts_with("\xEF\xBB\xBF")) return 0;

  const std::vector<std::string> before = ini.Lines();
  const int number = static_cast<int>(size) - 7;
  ini.WriteInteger("Settings", "LatLonFormat", number);
  ini.WriteBool("Interface", "Sound", size % 2 == 0);
  ini.WriteString("Fuzz", "Value", text.substr(0, 20));
  ini.Save();
  ProfileFile back(file);
  back.Load();
  Check(back.Lines() == ini.Lines(), "the saved file loads back line for line", text);
  Check(back.ReadInteger("Settings", "LatLonFormat", number + 1) == number, "a written integer reads back",
        text);
  Check(back.ReadBool("Interface", "Sound", size % 2 != 0) == (size % 2 == 0), "a written Boolean reads back",
        text);
  // Writing replaces or inserts lines; it never loses one.
  Check(back.Lines().size() >= before.size(), "no line is lost", text);
  return 0;
}
