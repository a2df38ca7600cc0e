// The error box: a borderless black box that stays on top and shows the
// one-line message of a failure in red beside an error icon. Any key or a
// mouse press on it closes it. Created once and reused. A report (what a
// loading did not take) shows its few lines in the one box, each line as a
// message would show, the box taller by a line for each line more.
#pragma once

#include "window/dialogs/dialog_parts.h"

#include <string>
#include <string_view>
#include <vector>

class QFrame;
class QLabel;

namespace navorix {

class SoundTable;

inline constexpr std::size_t ErrTextMaxChars = 64;

// What the box shows for text: a fixed plea when text reports an access
// violation, otherwise its first 64 characters.
std::string errBoxText(std::string_view text);

class ErrorBox : public ModalDialog {
  Q_OBJECT

 public:
  static constexpr int Height = 57;
  static constexpr int TextLeft = 61;
  static constexpr int TextTop = 20;
  static constexpr int RightMargin = 18;
  static constexpr int IconSize = 32;

  explicit ErrorBox(QWidget* parent = nullptr);

  // Shows text (Windows-1252) modally.
  void showText(const std::string& text);
  // Shows lines (Windows-1252), one under the other, modally.
  void showLines(const std::vector<std::string>& lines);
  // Lays the box out for text, or for Lines, without showing it.
  void prepare(const std::string& text);
  void prepare(const std::vector<std::string>& lines);

  // The box's font family, e.g. "Lucida Console", in its regular style.
  void setFontFamily(const QString& family);
  // The sound played when the box is shown; the box waits for its end.
  void setSound(SoundTable* sounds, int number);

  QLabel* textLabel() const { return txt_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QFrame* panel_ = nullptr;
  QLabel* icon_ = nullptr;
  QLabel* txt_ = nullptr;
  SoundTable* sounds_ = nullptr;
  int sound_ = 0;
};

}  // namespace navorix
