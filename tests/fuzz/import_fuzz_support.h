// The properties every importer of fixes keeps, whatever its input: it
// never throws nor crashes; a failure imports nothing; every fix has a
// valid name, none taken by the database or by another fix of the import,
// and a position on the unit sphere; and what it imported, exported in the
// same format and imported again into an empty database, comes back under
// the same names without a word.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "fuzz_support.h"
#include "stores/exchange_formats.h"
#include "stores/fix_exchange.h"
#include "text/fix_names.h"

namespace navorix::fuzz {

using ImportFunction = ImportResult (*)(std::string_view, exchange::ImportCollector&);

inline void CheckImport(std::string_view text, ExchangeFormat format, ImportFunction importer) {
  FixDatabase into;
  FixRecord taken;
  taken.valid = true;
  taken.position = Vector3{1.0L, 0.0L, 0.0L};
  for (const char* name : {"PARIS", "WP1", "A-2"}) {
    taken.name = name;
    into.Add(taken);
  }
  const ImportSettings settings;
  exchange::ImportCollector collector(format, settings, into);
  const ImportResult result = importer(text, collector);
  Check(result.format == format, "the format is the importer's", text);
  if (!result.failure.empty()) Check(result.fixes.empty(), "a failure imports nothing", text);
  std::unordered_set<std::string> names;
  for (const FixRecord& fix : result.fixes) {
    std::string name = fix.name.Str();
    Check(fix.valid && IsValidFixName(name) && IsFittedFixName(name), "every name is valid", text);
    Check(into.FindName(name) == 0, "no name is the database's", text);
    Check(names.insert(name).second, "no two fixes share a name", text);
    const long double length = std::sqrt(TriDot(fix.position, fix.position));
    Check(std::fabs(length - 1.0L) < 1e-12L, "every position is on the unit sphere", text);
  }
  (void)ImportReportLines(result);
  if (result.fixes.empty() || format == ExchangeFormat::FixLines) return;
  FixDatabase imported;
  for (const FixRecord& fix : result.fixes) imported.Add(fix);
  const std::string written = ExportFixText(imported, format, settings.earth);
  const ImportResult back = ImportFixText(written, settings, FixDatabase{});
  Check(back.Complete() && back.renamed.empty(), "an export imports whole and unchanged", text);
  Check(back.fixes.size() == result.fixes.size(), "an export imports every fix", text);
  for (std::size_t i = 0; i < back.fixes.size(); ++i) {
    Check(back.fixes[i].name == result.fixes[i].name, "an export keeps the names", text);
  }
}

}  // namespace navorix::fuzz
