// The import of CSV with a header naming the name and coordinate columns, whatever the bytes: the properties
// of import_fuzz_support.h.
#include <cstdint>
#include <string_view>

#include "import_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  navorix::fuzz::CheckImport(text, navorix::ExchangeFormat::Csv, navorix::exchange::ImportCsv);
  return 0;
}
