#include "stores/log_list.h"

#include <exception>

#include "geometry/error.h"
#include "stores/atomic_file.h"
#include "stores/line_reader.h"

namespace navorix {

std::string TLogList::GetLine(std::uint16_t N, int Line) const {
  if (N < 1 || N > Count()) return {};
  const LogRecord& record = records_[N - 1u];
  switch (Line) {
    case 1: return record.Line1;
    case 2: return record.Line2;
    case 3: return record.Line3;
    default: return {};
  }
}

void TLogList::Add(std::string_view Line1, std::string_view Line2, std::string_view Line3) {
  if (records_.size() >= MaxLogRecords) records_.pop_front();
  records_.push_back({std::string(Line1), std::string(Line2), std::string(Line3)});
}

void TLogList::Delete(std::uint16_t N) {
  if (N < 1 || N > Count()) return;
  records_.erase(records_.begin() + (N - 1));
}

void TLogList::Clear() { records_.clear(); }

TCommitResult TLogList::SaveToFile(const std::string& FileName, const TFileSystemCalls& Calls,
                                   const TKeepOld& Keep) const {
  TAtomicFile file(FileName, Calls, Keep);
  for (const LogRecord& record : records_) {
    file.WriteLine(record.Line1);
    file.WriteLine(record.Line2);
    file.WriteLine(record.Line3);
  }
  return file.Commit();
}

void TLogList::LoadFromFile(const std::string& FileName, const TFileSystemCalls& Calls) {
  TLoadReport report;
  LoadFromFile(FileName, report, Calls);
  if (!report.Failure.empty()) throw Error(report.Failure);
}

void TLogList::LoadFromFile(const std::string& FileName, TLoadReport& Report, const TFileSystemCalls& Calls) {
  Report = TLoadReport{};
  Report.Source = TLoadSource::HistoryFile;
  Report.Capacity = MaxLogRecords;
  TLineReader reader(FileName, TLineReader::DefaultMaxLength, Calls, MaxDataFileSize);
  std::string lines[3];
  try {
    while (!reader.AtEnd()) {
      // A read at the end of the file gives an empty line.
      for (std::string& line : lines) {
        reader.ReadLine(line);
        if (reader.Truncated()) ++Report.LongLines;
      }
      if (Count() == MaxLogRecords) ++Report.BeyondCapacity;
      TLogList::Add(lines[0], lines[1], lines[2]);
      ++Report.Taken;
    }
  } catch (const std::exception& failure) {
    Report.Failure = failure.what();
  }
}

}  // namespace navorix
