// The main window's look: the log display with its record panel, the fix
// list with the search panel, the fix counter and fix buttons, the
// operation panel and the main menu, each control at its fixed place with
// its colours, font, caption and hint. The window draws; what the controls
// do is connected by the owner of the workbench.
#pragma once

#include "operations/catalogue.h"
#include "window/main/main_menu.h"

#include <QMainWindow>

#include <array>
#include <cstdint>

class QFrame;
class QGroupBox;
class QLabel;
class QListView;
class QPushButton;
class QTimer;

namespace navorix {

// Client-area pixels of the main window.
inline constexpr int MainClientWidth = 632;
inline constexpr int MainClientHeight = 406;

struct MainControls {
  QWidget* client = nullptr;  // the 632 x 406 client area below the menu
  QFrame* logPanel = nullptr;
  std::array<QLabel*, 3> logLines{};  // logLine1, logLine2, logLine3
  QPushButton* previousRecordButton = nullptr;
  QLabel* recordNumberLabel = nullptr;
  QPushButton* nextRecordButton = nullptr;
  QFrame* fixListFrame = nullptr;
  QListView* fixList = nullptr;
  QLabel* searchLabel = nullptr;
  QFrame* fixPanel = nullptr;
  QLabel* fixCountLabel = nullptr;
  QPushButton* addButton = nullptr;  // property "tag" = 1
  QPushButton* editButton = nullptr;
  QPushButton* deleteButton = nullptr;
  QPushButton* undeleteButton = nullptr;
  QPushButton* moveUpButton = nullptr;
  QPushButton* moveDownButton = nullptr;
  QFrame* operationPanel = nullptr;
  QGroupBox* distanceGroup = nullptr;  // "  Distance  "
  // Indexed by tag - 1; each button's property "tag" holds its tag.
  std::array<QPushButton*, OperationCount> operationButtons{};
  QPushButton* checkMarkCarrier = nullptr;  // hidden; carries the menu check mark
  QTimer* searchTimer = nullptr;            // single shot; hides searchLabel (not connected)
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);

  const MainControls& controls() const { return c_; }
  const MainMenu& menu() const { return menu_; }
  // The operation button of tag (1..OperationCount), or nullptr.
  QPushButton* operationButton(std::uint8_t tag) const;
  QPushButton* operationButton(OperationTag tag) const {
    return operationButton(static_cast<std::uint8_t>(tag));
  }

  // The menu font's point size (7..12; other values are ignored).
  void setMenuFontSize(int pointSize);
  // The proportional font of the window (7..12; other values are ignored).
  void setPropFontSize(int pointSize);
  // Balloon hints of the window's controls; returns the new state.
  bool setHintsShown(bool shown);
  bool hintsShown() const { return hintsShown_; }

  // Enters the menu bar's keyboard mode, as F10 does: the first menu is
  // highlighted and the arrow keys move along the bar.
  void activateMenuBar();

  // The first showing centres the window on the screen, frame included.
  void setVisible(bool visible) override;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void buildLogDisplay();
  void buildFixList();
  void buildStatusPanel();
  void buildOperationPanel();
  void fixWindowSize();

  MainControls c_;
  MainMenu menu_;
  bool hintsShown_ = true;
  bool shownBefore_ = false;
};

}  // namespace navorix
