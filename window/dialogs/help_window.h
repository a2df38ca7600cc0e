// The help window: the program's help file (HTML) in a browser window,
// opened at a topic (an anchor of the file). The first showing centres it
// on the screen, no taller than the screen's free area; Esc and Ctrl+W
// close it. It never keeps the program running by itself; the owner
// closes it at the end.
#pragma once

#include <QTextBrowser>

namespace navorix {

class HelpWindow : public QTextBrowser {
  Q_OBJECT

 public:
  // helpFile: the help file's full name.
  explicit HelpWindow(const QString& helpFile, QWidget* parent = nullptr);

  // Shows the window at topic ("Welcome", "Main_Panel", ...); the file is
  // read on first use. False, and nothing shown, when the file cannot be
  // read.
  bool showTopic(const QString& topic);
  const QString& helpFile() const { return file_; }

 private:
  QString file_;
  bool loaded_ = false;
  bool placed_ = false;
};

}  // namespace navorix
