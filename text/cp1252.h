// Windows-1252, the program's character set, to and from UTF-8: for a
// terminal that expects it, and at the edge of the window toolkit.
#pragma once

#include <string>
#include <string_view>

namespace navorix {

// Appends the UTF-8 form of the Windows-1252 text to out. The five bytes the
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1
// controls of the same value, so every byte survives a round trip.
void AppendUtf8(std::string& out, std::string_view text);

// Replaces out by the Windows-1252 form of the UTF-8 text. A character the
// code page cannot hold, and a malformed sequence, become "?"; false then.
bool Utf8ToCp1252(std::string_view text, std::string& out);

}  // namespace navorix
