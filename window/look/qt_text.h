// Text at the edge of the window toolkit: the program's strings are
// Windows-1252 bytes, Qt's are UTF-16.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace navorix {

// The Windows-1252 text as a QString; every byte maps to one character.
QString toQString(std::string_view text);

// The Windows-1252 form of text; a character the code page cannot hold
// becomes "?".
std::string fromQString(const QString& text);

}  // namespace navorix
