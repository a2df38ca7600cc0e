// Fix-file lines brought in by the import (pasted text, the sample fixes):
// each line is read as the fix file reads it (the coordinate text, a
// blank, the name; anything after the name is ignored; a line beginning
// with ":" is a comment), but the name goes through the import's rule, and
// empty lines are passed over instead of ending the data.
#include <string>
#include <string_view>

#include "stores/exchange_formats.h"
#include "text/text_helpers.h"

namespace navorix::exchange {
namespace {

constexpr char CommentMark = ':';

// The next blank-separated word of text from at on (advanced past it);
// empty when none is left.
std::string_view NextWord(std::string_view text, std::size_t& at) {
  while (at < text.size() && text[at] == ' ') ++at;
  const std::size_t start = at;
  while (at < text.size() && text[at] != ' ') ++at;
  return text.substr(start, at - start);
}

}  // namespace

ImportResult ImportFixLines(std::string_view text, ImportCollector& collector) {
  const bool utf8 = IsUtf8(text);
  const ImportSettings& settings = collector.Settings();
  std::uint64_t number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view raw = text.substr(pos, end - pos);
    const bool crlf = text.substr(end, 2) == "\r\n";
    pos = end + (crlf ? 2 : 1);
    ++number;
    if (!raw.empty() && raw.front() == CommentMark) continue;
    const std::string_view line = TrimmedView(raw);
    if (line.empty()) continue;
    const EntryPlace place{number, nullptr};
    std::size_t at = 0;
    const std::string lat = AsCp1252(NextWord(line, at), utf8);
    const std::string lon = AsCp1252(NextWord(line, at), utf8);
    const std::string_view name = NextWord(line, at);
    long double latRadians = 0.0L;
    long double lonRadians = 0.0L;
    std::string reason;
    if (!ReadCoordinateText(lat, Axis::Latitude, settings.plusDir, latRadians, reason) ||
        !ReadCoordinateText(lon, Axis::Longitude, settings.plusDir, lonRadians, reason)) {
      collector.Refuse(place, reason);
      continue;
    }
    collector.Take(place, AsUtf8(name, utf8), PosFromLatLon(settings.earth, latRadians, lonRadians));
  }
  return collector.Finish([](const EntryPlace& place) { return LineText(place.at); });
}

}  // namespace navorix::exchange
