// The settings file: sections in square brackets, each followed by lines of
// the form key=value.
//
// Notation:
//   section line  "[Name]" (blanks around the name are ignored)
//   key line      "Key=Value" inside a section; blanks around the key and
//                 around the value are ignored, and one pair of matching
//                 quotes around the value is removed
//   comment       a line whose first non-blank character is ";"
//
// Section and key names match without regard to case (A..Z = a..z); the
// first section and the first key of a name count. Reading never fails: a
// missing key, or a value that does not convert, gives the caller's
// default. Writing a key replaces its line where it stands and leaves every
// other line of the file (keys, comments, blank lines, unknown sections) as
// it was; a new key goes after the last line of its section, a new section
// at the end of the file. Lines are written with CR LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "stores/atomic_file.h"
#include "stores/file_calls.h"

namespace navorix {

class ProfileFile {
 public:
  // Largest settings file accepted, in bytes: the whole file is held so that
  // saving can keep all of it. Real ones hold a few hundred bytes.
  static constexpr std::size_t MaxFileSize = std::size_t{1} << 20;

  // An empty profile that saves to fileName.
  // Reads and writes through calls, which must outlive the profile.
  explicit ProfileFile(std::string fileName, const FileSystemCalls& calls = SystemCalls());

  // Reads the file. A missing file leaves the profile empty (not an error).
  // Throws Error ("Cannot open NAME: reason", "Cannot read NAME: reason")
  // when the file exists but cannot be read, or is larger than MaxFileSize;
  // the profile is left empty then.
  void Load();

  // True when section holds key (with any value).
  bool HasKey(std::string_view section, std::string_view key) const;
  // The value of key in section as text, or Default when the key is missing.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // A decimal integer ("-12", "+7"); Default when missing or not a number
  // of the int range.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  // The integer of the key is not 0; Default when it is missing or not a
  // number.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
  // A decimal number with "." as separator (a "," written under a locale
  // that uses it is read too); Default when missing or not a number.
  long double ReadFloat(std::string_view section, std::string_view key, long double fallback) const;

  // Sets Key in Section to Value (cut before any line break, so that a value
  // can never add lines).
  void WriteString(std::string_view sectionName, std::string_view keyName, std::string_view newValue);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  // Written as 1 or 0.
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Writes every line to the file, replacing it only when complete and
  // keeping of the old file what keep says (AtomicFile). Throws Error on
  // failure; the old file stays as it was.
  CommitResult Save(const KeepOld& keep = {}) const;

  const std::vector<std::string>& Lines() const { return lines_; }
  const std::string& FileName() const { return fileName_; }

 private:
  static constexpr std::size_t None = static_cast<std::size_t>(-1);

  // Index of the line of section name, or None.
  std::size_t FindSection(std::string_view name) const;
  // Index of the first line after the section that starts at line section.
  std::size_t SectionEnd(std::size_t section) const;
  // Index of the line of Key in the section at line section, or None.
  std::size_t FindKey(std::size_t section, std::string_view keyName) const;
  // Points value at the text of Key; false when the key is missing.
  bool Find(std::string_view sectionName, std::string_view keyName, std::string_view& value) const;

  std::string fileName_;
  const FileSystemCalls& calls_;
  std::vector<std::string> lines_;
};

}  // namespace navorix
