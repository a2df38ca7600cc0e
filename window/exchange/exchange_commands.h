// The box that shows an import's report: every renamed and refused entry,
// however many, in a read-only text that scrolls. The commands that fill
// it are the main controller's (window/exchange_commands.cpp).
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QPlainTextEdit;

namespace navorix {

// The sample fixes shipped beside the sounds: world capitals.
inline constexpr const char* SampleFixesFile = "samples/sample_fixes.fix";

class EntryReportBox : public QDialog {
  Q_OBJECT

 public:
  explicit EntryReportBox(QWidget* parent);
  // Shows Lines (Windows-1252), one a line, and waits for OK.
  void show(const std::vector<std::string>& reportLines);
  // What the box shows, for the tests.
  QString text() const;

 private:
  QPlainTextEdit* text_ = nullptr;
};

}  // namespace navorix
