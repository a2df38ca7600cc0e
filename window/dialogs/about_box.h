// The about box: the program's name, version and picture. At start it is
// shown as a splash without waiting and closes itself on a timer; from the
// Help menu it is shown modally. A key or a mouse click closes it.
#pragma once

#include "window/dialogs/dialog_parts.h"

class QLabel;
class QTimer;

namespace navorix {

class AboutBox : public ModalDialog {
  Q_OBJECT

 public:
  // version: the version text, e.g. "1.20".
  explicit AboutBox(const QString& version, QWidget* parent = nullptr);

  // Shows the box without waiting and paints it at once.
  void showSplash();
  // Closes the box ms milliseconds from now (a key or click may close it
  // earlier).
  void closeAfter(int ms);
  // Shows the box modally, centred on the active window.
  void showModal();

  QLabel* titleLabel() const { return title_; }
  QLabel* versionLabel() const { return version_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void finish();

  QLabel* title_ = nullptr;
  QLabel* version_ = nullptr;
  QTimer* timer_ = nullptr;
};

}  // namespace navorix
