#include "stores/load_report.h"

#include <string_view>
#include <utility>

namespace navorix {

namespace {

// Count followed by singular or plural.
std::string Counted(std::uint32_t count, const char* singular, const char* plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

}  // namespace

std::string FitMessage(std::string text) {
  static constexpr std::string_view Ellipsis = "...";
  if (text.size() > MaxMessageLength) {
    text.resize(MaxMessageLength - Ellipsis.size());
    text += Ellipsis;
  }
  return text;
}

std::vector<std::string> ReportShown(std::vector<std::string> lines) {
  if (lines.size() <= MaxReportLines) return lines;
  const std::size_t more = lines.size() - (MaxReportLines - 1);
  lines.resize(MaxReportLines - 1);
  lines.push_back("and " + std::to_string(more) + " more");
  return lines;
}

std::vector<std::string> LoadReportLines(const LoadReport& report) {
  const bool fixes = report.source == LoadSource::FixFile;
  const std::string file = fixes ? "Fix file: " : "History file: ";
  std::vector<std::string> lines;
  if (!report.failure.empty()) lines.push_back(FitMessage(report.failure));
  if (report.beyondCapacity > 0) {
    lines.push_back(
        FitMessage(file + (fixes ? Counted(report.beyondCapacity, "fix", "fixes") + " beyond " +
                                       std::to_string(report.capacity) + " not loaded"
                                 : Counted(report.beyondCapacity, "oldest record", "oldest records") +
                                       " beyond " + std::to_string(report.capacity) + " dropped")));
  }
  if (report.unreadable > 0) {
    lines.push_back(FitMessage(
        file + (report.unreadable == 1 ? std::string("1 unreadable line shown as an empty row")
                                       : Counted(report.unreadable, "unreadable line", "unreadable lines") +
                                             " shown as empty rows")));
  }
  if (report.afterEndOfData > 0) {
    lines.push_back(FitMessage(file + Counted(report.afterEndOfData, "line", "lines") +
                               " after the empty line not read"));
  }
  if (report.longLines > 0) {
    lines.push_back(FitMessage(file + Counted(report.longLines, "long line", "long lines") + " cut short"));
  }
  return lines;
}

std::string LoadReportMessage(const LoadReport& report) {
  std::vector<std::string> lines = LoadReportLines(report);
  return lines.empty() ? std::string() : std::move(lines.front());
}

}  // namespace navorix
