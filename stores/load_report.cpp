#include "stores/load_report.h"

#include <string_view>
#include <utility>

namespace navorix {

namespace {

// Count followed by Singular or Plural.
std::string Counted(std::uint32_t Count, const char* Singular, const char* Plural) {
  return std::to_string(Count) + " " + (Count == 1 ? Singular : Plural);
}

// Text cut to the error box's width, with "..." where it was cut.
std::string Fitted(std::string Text) {
  static constexpr std::string_view Ellipsis = "...";
  if (Text.size() > MaxMessageLength) {
    Text.resize(MaxMessageLength - Ellipsis.size());
    Text += Ellipsis;
  }
  return Text;
}

}  // namespace

std::vector<std::string> LoadReportLines(const TLoadReport& Report) {
  const bool fixes = Report.Source == TLoadSource::FixFile;
  const std::string file = fixes ? "Fix file: " : "History file: ";
  std::vector<std::string> lines;
  if (!Report.Failure.empty()) lines.push_back(Fitted(Report.Failure));
  if (Report.BeyondCapacity > 0) {
    lines.push_back(Fitted(
        file +
        (fixes ? Counted(Report.BeyondCapacity, "fix", "fixes") + " beyond " +
                     std::to_string(Report.Capacity) + " not loaded"
               : Counted(Report.BeyondCapacity, "oldest record", "oldest records") + " beyond " +
                     std::to_string(Report.Capacity) + " dropped")));
  }
  if (Report.Unreadable > 0) {
    lines.push_back(
        Fitted(file + Counted(Report.Unreadable, "unreadable line", "unreadable lines") + " skipped"));
  }
  if (Report.AfterEndOfData > 0) {
    lines.push_back(Fitted(file + Counted(Report.AfterEndOfData, "line", "lines") +
                           " after the empty line not read"));
  }
  if (Report.LongLines > 0) {
    lines.push_back(Fitted(file + Counted(Report.LongLines, "long line", "long lines") + " cut short"));
  }
  return lines;
}

std::string LoadReportMessage(const TLoadReport& Report) {
  std::vector<std::string> lines = LoadReportLines(Report);
  return lines.empty() ? std::string() : std::move(lines.front());
}

}  // namespace navorix
