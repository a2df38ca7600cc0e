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
    if (std::tolower(static_cast<unsigned char>(A[i])) != std::tolower(static_cast<unsigned char>(B[i]))) return false;
  }
  return true;
}

}  // namespace

bool LocaleIsUtf8(const char* LcAll, const char* LcCtype, const char* Lang) {
  std::string_view name;
  for (const char* value : {LcAll, LcCtype, Lang}) {
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

bool StreamIsUtf8(TEncodingOption Option, bool Terminal, bool Utf8Locale) {
  switch (Option) {
    case TEncodingOption::Utf8:
      return true;
    case TEncodingOption::Cp1252:
      return false;
    case TEncodingOption::Automatic:
      break;
  }
  return Terminal && Utf8Locale;
}

TBatchOutput::TBatchOutput(std::FILE* File, bool Utf8) : file_(File), utf8_(Utf8) {
  buffer_.reserve(2 * BlockSize);
}

TBatchOutput::~TBatchOutput() { Flush(); }

void TBatchOutput::Append(std::string_view Text) {
  if (utf8_) {
    AppendUtf8(buffer_, Text);
  } else {
    buffer_.append(Text);
  }
}

void TBatchOutput::Line(std::string_view Text) {
  Append(Text);
  buffer_ += '\n';
  if (buffer_.size() >= BlockSize) WriteBuffer();
}

void TBatchOutput::Line(std::string_view Head, std::string_view Tail) {
  Append(Head);
  Line(Tail);
}

void TBatchOutput::WriteBuffer() {
  if (buffer_.empty()) return;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
  buffer_.clear();
}

bool TBatchOutput::Flush() {
  WriteBuffer();
  if (std::fflush(file_) != 0) failed_ = true;
  return !failed_;
}

}  // namespace navorix
