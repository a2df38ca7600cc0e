#include "stores/profile_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>

#include "stores/atomic_file.h"
#include "stores/line_reader.h"
#include "text/decimal.h"

namespace navorix {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// The name of a section line, or false when Line is no section line.
bool SectionName(std::string_view Line, std::string_view& Name) {
  Line = Trim(Line);
  if (Line.empty() || Line.front() != '[') return false;
  const std::size_t close = Line.find(']');
  if (close == std::string_view::npos) return false;
  Name = Trim(Line.substr(1, close - 1));
  return true;
}

// The key and the raw value of a key line, or false for a comment, a blank
// line or a line without "=".
bool KeyLine(std::string_view Line, std::string_view& Key, std::string_view& Value) {
  const std::string_view trimmed = Trim(Line);
  if (trimmed.empty() || trimmed.front() == ';') return false;
  const std::size_t equals = Line.find('=');
  if (equals == std::string_view::npos) return false;
  Key = Trim(Line.substr(0, equals));
  Value = Line.substr(equals + 1);
  return true;
}

std::string_view Unquoted(std::string_view Value) {
  Value = Trim(Value);
  if (Value.size() >= 2 && (Value.front() == '"' || Value.front() == '\'') &&
      Value.back() == Value.front()) {
    Value = Value.substr(1, Value.size() - 2);
  }
  return Value;
}

bool ParseInteger(std::string_view Text, int& Value) {
  Text = Trim(Text);
  bool negative = false;
  if (!Text.empty() && (Text.front() == '+' || Text.front() == '-')) {
    negative = Text.front() == '-';
    Text.remove_prefix(1);
  }
  if (Text.empty()) return false;
  long long magnitude = 0;
  for (const char c : Text) {
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value > INT_MAX || value < INT_MIN) return false;
  Value = static_cast<int>(value);
  return true;
}

}  // namespace

TProfileFile::TProfileFile(std::string FileName, const TFileSystemCalls& Calls)
    : file_name_(std::move(FileName)), calls_(Calls) {}

void TProfileFile::Load() {
  lines_.clear();
  struct stat info {};
  if (::stat(file_name_.c_str(), &info) != 0 && errno == ENOENT) return;
  TLineReader reader(file_name_, MaxFileSize, calls_, MaxFileSize);
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  lines_ = std::move(lines);
}

std::size_t TProfileFile::FindSection(std::string_view Name) const {
  std::string_view found;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (SectionName(lines_[i], found) && SameName(found, Name)) return i;
  }
  return None;
}

std::size_t TProfileFile::SectionEnd(std::size_t Section) const {
  std::string_view found;
  std::size_t i = Section + 1;
  while (i < lines_.size() && !SectionName(lines_[i], found)) ++i;
  return i;
}

std::size_t TProfileFile::FindKey(std::size_t Section, std::string_view Key) const {
  const std::size_t end = SectionEnd(Section);
  std::string_view key, value;
  for (std::size_t i = Section + 1; i < end; ++i) {
    if (KeyLine(lines_[i], key, value) && SameName(key, Key)) return i;
  }
  return None;
}

bool TProfileFile::Find(std::string_view Section, std::string_view Key,
                        std::string_view& Value) const {
  const std::size_t section = FindSection(Section);
  if (section == None) return false;
  const std::size_t line = FindKey(section, Key);
  if (line == None) return false;
  std::string_view key;
  KeyLine(lines_[line], key, Value);
  Value = Unquoted(Value);
  return true;
}

bool TProfileFile::HasKey(std::string_view Section, std::string_view Key) const {
  std::string_view value;
  return Find(Section, Key, value);
}

std::string TProfileFile::ReadString(std::string_view Section, std::string_view Key,
                                     std::string_view Default) const {
  std::string_view value;
  return std::string(Find(Section, Key, value) ? value : Default);
}

int TProfileFile::ReadInteger(std::string_view Section, std::string_view Key, int Default) const {
  std::string_view text;
  int value = 0;
  return Find(Section, Key, text) && ParseInteger(text, value) ? value : Default;
}

bool TProfileFile::ReadBool(std::string_view Section, std::string_view Key, bool Default) const {
  return ReadInteger(Section, Key, Default ? 1 : 0) != 0;
}

long double TProfileFile::ReadFloat(std::string_view Section, std::string_view Key,
                                    long double Default) const {
  std::string_view text;
  if (!Find(Section, Key, text)) return Default;
  long double value = 0.0L;
  if (ReadDecimal(text, value)) return value;
  // A file written where the decimal separator is a comma.
  std::string comma(text);
  const std::size_t at = comma.find(',');
  if (at == std::string::npos || comma.find_first_of(",.", at + 1) != std::string::npos ||
      comma.find('.') != std::string::npos) {
    return Default;
  }
  comma[at] = '.';
  return ReadDecimal(comma, value) ? value : Default;
}

void TProfileFile::WriteString(std::string_view Section, std::string_view Key,
                               std::string_view Value) {
  Value = Value.substr(0, Value.find_first_of("\r\n"));
  const std::size_t section = FindSection(Section);
  if (section == None) {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(Section) + "]");
    lines_.push_back(std::string(Key) + "=" + std::string(Value));
    return;
  }
  const std::size_t line = FindKey(section, Key);
  if (line != None) {
    std::string_view key, value;
    KeyLine(lines_[line], key, value);
    lines_[line] = std::string(key) + "=" + std::string(Value);
    return;
  }
  // After the section's last non-blank line, so that the blank lines that
  // separate it from the next section stay where they are.
  std::size_t at = SectionEnd(section);
  while (at > section + 1 && Trim(lines_[at - 1]).empty()) --at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                std::string(Key) + "=" + std::string(Value));
}

void TProfileFile::WriteInteger(std::string_view Section, std::string_view Key, int Value) {
  WriteString(Section, Key, std::to_string(Value));
}

void TProfileFile::WriteBool(std::string_view Section, std::string_view Key, bool Value) {
  WriteString(Section, Key, Value ? "1" : "0");
}

TCommitResult TProfileFile::Save(const TKeepOld& Keep) const {
  TAtomicFile file(file_name_, calls_, Keep);
  for (const std::string& line : lines_) file.WriteLine(line);
  return file.Commit();
}

}  // namespace navorix
