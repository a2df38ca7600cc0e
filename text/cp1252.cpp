// Windows-1252 <-> UTF-8.
//
// Bytes 0x00..0x7F are ASCII and 0xA0..0xFF are the Latin-1 code points of
// the same value; only 0x80..0x9F need the table below.
#include "text/cp1252.h"

#include <cstdint>

namespace navorix {

namespace {

// Code points of the bytes 0x80..0x9F.
constexpr char32_t HighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char32_t CodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return HighTable[byte - 0x80];
  return byte;
}

void AppendCodePoint(std::string& out, char32_t C) {
  if (C < 0x80) {
    out += static_cast<char>(C);
  } else if (C < 0x800) {
    out += static_cast<char>(0xC0 | (C >> 6));
    out += static_cast<char>(0x80 | (C & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (C >> 12));
    out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (C & 0x3F));
  }
}

// The byte of code point C, or 0 when the code page has none.
unsigned char ByteOf(char32_t C) {
  if (C < 0x80 || (C >= 0xA0 && C <= 0xFF)) return static_cast<unsigned char>(C);
  for (unsigned i = 0; i < 32; ++i) {
    if (HighTable[i] == C) return static_cast<unsigned char>(0x80 + i);
  }
  return 0;
}

}  // namespace

void AppendUtf8(std::string& out, std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      AppendCodePoint(out, CodePoint(byte));
    }
  }
}

bool Utf8ToCp1252(std::string_view text, std::string& out) {
  out.clear();
  bool exact = true;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += text[i++];
      continue;
    }
    std::size_t length = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0) {
      length = 2;
      c = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      c = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      c = lead & 0x07u;
    }
    bool ok = length != 0 && i + length <= text.size();
    for (std::size_t k = 1; ok && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      ok = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3Fu);
    }
    const unsigned char byte = ok ? ByteOf(c) : 0;
    if (byte == 0) {
      out += '?';
      exact = false;
      i += ok ? length : 1;
    } else {
      out += static_cast<char>(byte);
      i += length;
    }
  }
  return exact;
}

}  // namespace navorix
