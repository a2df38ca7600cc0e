// Buffered line output of the batch program.
#include "app/batch_output.h"

#include "text/cp1252.h"

namespace navorix {

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
