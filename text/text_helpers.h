// Small text helpers used across the system. Text is single-byte
// Windows-1252; every helper returns new text and keeps no state.
//
// "Blank" is the space character; "control characters" are the bytes below
// the space and 0x7F.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace navorix {

// Text with every occurrence of old replaced by New.
std::string ReplaceChar(char old, char fresh, std::string_view text);
// Text followed by the one character ch.
std::string AppendChar(std::string_view text, char ch);
// Text preceded by as many ch as make it at least width characters long.
std::string PadLeft(std::string_view text, std::size_t width, char ch);
// Text followed by as many ch as make it at least width characters long.
std::string PadRight(std::string_view text, std::size_t width, char ch);
// Text without its leading and trailing blanks and control characters.
std::string TrimBlanks(std::string_view text);
// The part of text that TrimBlanks keeps, without copying it.
std::string_view TrimmedView(std::string_view text);
// Trims like TrimBlanks, replaces every run of blanks inside by one blank
// and, with toUpper, turns "a".."z" and the Latin-1 small letters 0xE0..0xF6
// and 0xF8..0xFE into capitals.
std::string SquashBlanks(std::string_view text, bool toUpper);

// True for the bytes "0".."9" (never locale dependent, safe for bytes >= 0x80).
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// The capital of "a".."z" and of the Latin-1 small letters 0xE0..0xF6 and
// 0xF8..0xFE; every other byte unchanged.
constexpr char ToCapital(char c) {
  const auto byte = static_cast<unsigned char>(c);
  const bool small =
      (byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xF6) || (byte >= 0xF8 && byte <= 0xFE);
  return small ? static_cast<char>(byte - 32) : c;
}
// True for a blank or a control character.
constexpr bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20 || c == '\x7F'; }

}  // namespace navorix
