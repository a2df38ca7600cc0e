#include "stores/log_list.h"

#include <exception>

#include "geometry/error.h"
#include "stores/atomic_file.h"
#include "stores/line_reader.h"

namespace navorix {

std::string LogList::GetLine(std::uint16_t N, int line) const {
  if (N < 1 || N > Count()) return {};
  const LogRecord& record = records_[N - 1u];
  switch (line) {
    case 1:
      return record.line1;
    case 2:
      return record.line2;
    case 3:
      return record.line3;
    default:
      return {};
  }
}

void LogList::Add(std::string_view line1, std::string_view line2, std::string_view line3) {
  if (records_.size() >= MaxLogRecords) records_.pop_front();
  records_.push_back({std::string(line1), std::string(line2), std::string(line3)});
}

void LogList::Delete(std::uint16_t N) {
  if (N < 1 || N > Count()) return;
  records_.erase(records_.begin() + (N - 1));
}

void LogList::Clear() { records_.clear(); }

CommitResult LogList::SaveToFile(const std::string& fileName, const FileSystemCalls& calls,
                                 const KeepOld& keep) const {
  AtomicFile file(fileName, calls, keep);
  for (const LogRecord& record : records_) {
    file.WriteLine(record.line1);
    file.WriteLine(record.line2);
    file.WriteLine(record.line3);
  }
  return file.Commit();
}

void LogList::LoadFromFile(const std::string& fileName, const FileSystemCalls& calls) {
  LoadReport report;
  LoadFromFile(fileName, report, calls);
  if (!report.failure.empty()) throw Error(report.failure);
}

void LogList::LoadFromFile(const std::string& fileName, LoadReport& report, const FileSystemCalls& calls) {
  report = LoadReport{};
  report.source = LoadSource::HistoryFile;
  report.capacity = MaxLogRecords;
  LineReader reader(fileName, LineReader::DefaultMaxLength, calls, MaxDataFileSize);
  std::string lines[3];
  try {
    while (!reader.AtEnd()) {
      // A read at the end of the file gives an empty line.
      for (std::string& line : lines) {
        reader.ReadLine(line);
        if (reader.Truncated()) ++report.longLines;
      }
      if (Count() == MaxLogRecords) ++report.beyondCapacity;
      LogList::Add(lines[0], lines[1], lines[2]);
      ++report.taken;
    }
  } catch (const std::exception& failure) {
    report.failure = failure.what();
  }
}

}  // namespace navorix
