#include "stores/load_report.h"

#include <string_view>
#include <utility>

namespace navorix {

namespace {

// Count followed by Singular or Plural.
std::string Counted(std::uint32_t Count, const char* Singular, const char* Plural) {
  return std::to_string(Count) + " " + (Count == 1 ? Singular : Plural);
}

}  // namespace

std::string FitMessage(std::string Text) {
  static constexpr std::string_view Ellipsis = "...";
  if (Text.size() > MaxMessageLength) {
    Text.resize(MaxMessageLength - Ellipsis.size());
    Text += Ellipsis;
  }
  return Text;
}

std::vector<std::string> ReportShown(std::vector<std::string> Lines) {
  if (Lines.size() <= MaxReportLines) return Lines;
  const std::size_t more = Lines.size() - (MaxReportLines - 1);
  Lines.resize(MaxReportLines - 1);
  Lines.push_back("and " + std::to_string(more) + " more");
  return Lines;
}

std::vector<std::string> LoadReportLines(const TLoadReport& Report) {
  const bool fixes = Report.Source == TLoadSource::FixFile;
  const std::string file = fixes ? "Fix file: " : "History file: ";
  std::vector<std::string> lines;
  if (!Report.Failure.empty()) lines.push_back(FitMessage(Report.Failure));
  if (Report.BeyondCapacity > 0) {
    lines.push_back(FitMessage(
        file +
        (fixes ? Counted(Report.BeyondCapacity, "fix", "fixes") + " beyond " +
                     std::to_string(Report.Capacity) + " not loaded"
               : Counted(Report.BeyondCapacity, "oldest record", "oldest records") + " beyond " +
                     std::to_string(Report.Capacity) + " dropped")));
  }
  if (Report.Unreadable > 0) {
    lines.push_back(
        FitMessage(file + (Report.Unreadable == 1
                               ? std::string("1 unreadable line shown as an empty row")
                               : Counted(Report.Unreadable, "unreadable line", "unreadable lines") +
                                     " shown as empty rows")));
  }
  if (Report.AfterEndOfData > 0) {
    lines.push_back(FitMessage(file + Counted(Report.AfterEndOfData, "line", "lines") +
                           " after the empty line not read"));
  }
  if (Report.LongLines > 0) {
    lines.push_back(FitMessage(file + Counted(Report.LongLines, "long line", "long lines") + " cut short"));
  }
  return lines;
}

std::string LoadReportMessage(const TLoadReport& Report) {
  std::vector<std::string> lines = LoadReportLines(Report);
  return lines.empty() ? std::string() : std::move(lines.front());
}

}  // namespace navorix
