// Buffered line output of the batch program.
#include "app/batch_output.h"

#include "text/cp1252.h"

#include <cctype>
#include <string_view>

namespace navorix {

namespace {

bool SameLetters(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(A[i])) != std::tolower(static_cast<unsigned char>(B[i])))
      return false;
  }
  return true;
}

}  // namespace

bool LocaleIsUtf8(const char* lcAll, const char* lcCtype, const char* lang) {
  std::string_view name;
  for (const char* value : {lcAll, lcCtype, lang}) {
    if (value != nullptr && *value != '\0') {
      name = value;
      break;
    }
  }
  // language_TERRITORY.CODESET@modifier
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return false;
  std::string_view codeset = name.substr(dot + 1);
  codeset = codeset.substr(0, codeset.find('@'));
  return SameLetters(codeset, "UTF-8") || SameLetters(codeset, "UTF8");
}

bool StreamIsUtf8(EncodingOption option, bool terminal, bool utf8Locale) {
  switch (option) {
    case EncodingOption::Utf8:
      return true;
    case EncodingOption::Cp1252:
      return false;
    case EncodingOption::Automatic:
      break;
  }
  return terminal && utf8Locale;
}

BatchOutput::BatchOutput(std::FILE* file, bool utf8) : file_(file), utf8_(utf8) {
  buffer_.reserve(2 * BlockSize);
}

BatchOutput::~BatchOutput() { Flush(); }

void BatchOutput::Append(std::string_view text) {
  if (utf8_) {
    AppendUtf8(buffer_, text);
  } else {
    buffer_.append(text);
  }
}

void BatchOutput::Line(std::string_view text) {
  Append(text);
  buffer_ += '\n';
  if (buffer_.size() >= BlockSize) WriteBuffer();
}

void BatchOutput::Line(std::string_view head, std::string_view tail) {
  Append(head);
  Line(tail);
}

void BatchOutput::WriteBuffer() {
  if (buffer_.empty()) return;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
  buffer_.clear();
}

bool BatchOutput::Flush() {
  WriteBuffer();
  if (std::fflush(file_) != 0) failed_ = true;
  return !failed_;
}

}  // namespace navorix
