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

// The name of a section line, or false when line is no section line.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = Trim(line.substr(1, close - 1));
  return true;
}

// The key and the raw value of a key line, or false for a comment, a blank
// line or a line without "=".
bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return false;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  key = Trim(line.substr(0, equals));
  value = line.substr(equals + 1);
  return true;
}

std::string_view Unquoted(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

bool ParseInteger(std::string_view text, int& result) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  long long magnitude = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value > INT_MAX || value < INT_MIN) return false;
  result = static_cast<int>(value);
  return true;
}

}  // namespace

ProfileFile::ProfileFile(std::string fileName, const FileSystemCalls& calls)
    : fileName_(std::move(fileName)), calls_(calls) {}

void ProfileFile::Load() {
  lines_.clear();
  struct stat info {};
  if (::stat(fileName_.c_str(), &info) != 0 && errno == ENOENT) return;
  LineReader reader(fileName_, MaxFileSize, calls_, MaxFileSize);
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  lines_ = std::move(lines);
}

std::size_t ProfileFile::FindSection(std::string_view name) const {
  std::string_view found;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (SectionName(lines_[i], found) && SameName(found, name)) return i;
  }
  return None;
}

std::size_t ProfileFile::SectionEnd(std::size_t section) const {
  std::string_view found;
  std::size_t i = section + 1;
  while (i < lines_.size() && !SectionName(lines_[i], found)) ++i;
  return i;
}

std::size_t ProfileFile::FindKey(std::size_t section, std::string_view keyName) const {
  const std::size_t end = SectionEnd(section);
  std::string_view key, value;
  for (std::size_t i = section + 1; i < end; ++i) {
    if (KeyLine(lines_[i], key, value) && SameName(key, keyName)) return i;
  }
  return None;
}

bool ProfileFile::Find(std::string_view sectionName, std::string_view keyName,
                       std::string_view& value) const {
  const std::size_t section = FindSection(sectionName);
  if (section == None) return false;
  const std::size_t line = FindKey(section, keyName);
  if (line == None) return false;
  std::string_view key;
  KeyLine(lines_[line], key, value);
  value = Unquoted(value);
  return true;
}

bool ProfileFile::HasKey(std::string_view section, std::string_view key) const {
  std::string_view value;
  return Find(section, key, value);
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
  std::string_view value;
  return std::string(Find(section, key, value) ? value : fallback);
}

int ProfileFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  std::string_view text;
  int value = 0;
  return Find(section, key, text) && ParseInteger(text, value) ? value : fallback;
}

bool ProfileFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

long double ProfileFile::ReadFloat(std::string_view section, std::string_view key,
                                   long double fallback) const {
  std::string_view text;
  if (!Find(section, key, text)) return fallback;
  long double value = 0.0L;
  if (ReadDecimal(text, value)) return value;
  // A file written where the decimal separator is a comma.
  std::string comma(text);
  const std::size_t at = comma.find(',');
  if (at == std::string::npos || comma.find_first_of(",.", at + 1) != std::string::npos ||
      comma.find('.') != std::string::npos) {
    return fallback;
  }
  comma[at] = '.';
  return ReadDecimal(comma, value) ? value : fallback;
}

void ProfileFile::WriteString(std::string_view sectionName, std::string_view keyName,
                              std::string_view newValue) {
  newValue = newValue.substr(0, newValue.find_first_of("\r\n"));
  const std::size_t section = FindSection(sectionName);
  if (section == None) {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(sectionName) + "]");
    lines_.push_back(std::string(keyName) + "=" + std::string(newValue));
    return;
  }
  const std::size_t line = FindKey(section, keyName);
  if (line != None) {
    std::string_view key, value;
    KeyLine(lines_[line], key, value);
    lines_[line] = std::string(key) + "=" + std::string(newValue);
    return;
  }
  // After the section's last non-blank line, so that the blank lines that
  // separate it from the next section stay where they are.
  std::size_t at = SectionEnd(section);
  while (at > section + 1 && Trim(lines_[at - 1]).empty()) --at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                std::string(keyName) + "=" + std::string(newValue));
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

CommitResult ProfileFile::Save(const KeepOld& keep) const {
  AtomicFile file(fileName_, calls_, keep);
  for (const std::string& line : lines_) file.WriteLine(line);
  return file.Commit();
}

}  // namespace navorix
