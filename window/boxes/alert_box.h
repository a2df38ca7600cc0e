// The question box: a message of up to eight lines and the buttons Yes and
// No, or Yes, No and Cancel. Yes is the default; Enter answers with the
// button that has the focus, Tab moves between the buttons, Esc answers
// Cancel when Cancel is shown and No otherwise; Y, N and C answer as the
// buttons' Alt accelerators do. Created once and reused.
#pragma once

#include "window/boxes/alert_layout.h"
#include "window/dialogs/dialog_parts.h"
#include "workbench/observers.h"

#include <QFont>

#include <array>
#include <string>

class QLabel;
class QPushButton;

namespace navorix {

class SoundTable;

class AlertBox : public ModalDialog {
  Q_OBJECT

 public:
  static constexpr int ButtonWidth = 75;
  static constexpr int ButtonHeight = 25;
  // The border the layout arithmetic counts into the window width: a
  // classic dialog frame of 3 pixels on each side.
  static constexpr int FrameWidth = 6;

  explicit AlertBox(QWidget* parent = nullptr);

  // Shows message (Windows-1252; "|" or codes 1..8 end a line) modally with
  // buttons buttons (2: Yes, No; 3: Yes, No, Cancel) and returns the answer.
  Answer ask(const std::string& message, int buttons);

  // Lays the box out for message and Buttons without showing it (Ask does
  // this first); for tests and for a caller that shows the box itself.
  void prepare(const std::string& message, int buttonSet);

  // The proportional font's point size ("PropFontSize"); 7..12.
  void setPropFontSize(int pointSize);
  // The sound played, without waiting, when the box is shown.
  void setSound(SoundTable* sounds, int number);

  QLabel* line(int index) const { return lines_[static_cast<std::size_t>(index)]; }  // 0..7
  QPushButton* yesButton() const { return yes_; }
  QPushButton* noButton() const { return no_; }
  QPushButton* cancelButton() const { return cancel_; }

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void answer(Answer A);

  std::array<QLabel*, AlertMaxLines> lines_{};
  QPushButton* yes_ = nullptr;
  QPushButton* no_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QFont font_;
  int buttons_ = 2;
  SoundTable* sounds_ = nullptr;
  int sound_ = 0;
};

}  // namespace navorix
