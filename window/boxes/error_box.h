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

class TSoundTable;

inline constexpr std::size_t ErrTextMaxChars = 64;

// What the box shows for Text: a fixed plea when Text reports an access
// violation, otherwise its first 64 characters.
std::string ErrBoxText(std::string_view Text);

class TErrBox : public TModalDialog {
  Q_OBJECT

 public:
  static constexpr int Height = 57;
  static constexpr int TextLeft = 61;
  static constexpr int TextTop = 20;
  static constexpr int RightMargin = 18;
  static constexpr int IconSize = 32;

  explicit TErrBox(QWidget* Parent = nullptr);

  // Shows Text (Windows-1252) modally.
  void Show_Text(const std::string& Text);
  // Shows Lines (Windows-1252), one under the other, modally.
  void Show_Lines(const std::vector<std::string>& Lines);
  // Lays the box out for Text, or for Lines, without showing it.
  void Prepare(const std::string& Text);
  void Prepare(const std::vector<std::string>& Lines);

  // The box's font family, e.g. "Lucida Console", in its regular style.
  void Set_Font(const QString& Family);
  // The sound played when the box is shown; the box waits for its end.
  void SetSound(TSoundTable* Sounds, int Number);

  QLabel* TextLabel() const { return txt_; }

 protected:
  void showEvent(QShowEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;

 private:
  QFrame* panel_ = nullptr;
  QLabel* icon_ = nullptr;
  QLabel* txt_ = nullptr;
  TSoundTable* sounds_ = nullptr;
  int sound_ = 0;
};

}  // namespace navorix
