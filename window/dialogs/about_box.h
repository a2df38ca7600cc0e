// The about box: the program's name, version and picture. At start it is
// shown as a splash without waiting and closes itself on a timer; from the
// Help menu it is shown modally. A key or a mouse click closes it.
#pragma once

#include "window/dialogs/dialog_parts.h"

class QLabel;
class QTimer;

namespace navorix {

class TAboutBox : public TModalDialog {
  Q_OBJECT

 public:
  // Version: the version text, e.g. "1.20".
  explicit TAboutBox(const QString& Version, QWidget* Parent = nullptr);

  // Shows the box without waiting and paints it at once.
  void ShowSplash();
  // Closes the box Ms milliseconds from now (a key or click may close it
  // earlier).
  void CloseAfter(int Ms);
  // Shows the box modally, centred on the active window.
  void ShowModal();

  QLabel* TitleLabel() const { return title_; }
  QLabel* VersionLabel() const { return version_; }

 protected:
  void keyPressEvent(QKeyEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;

 private:
  void Finish();

  QLabel* title_ = nullptr;
  QLabel* version_ = nullptr;
  QTimer* timer_ = nullptr;
};

}  // namespace navorix
