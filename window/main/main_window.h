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

struct TMainControls {
  QWidget* Client = nullptr;  // the 632 x 406 client area below the menu
  QFrame* xDisPanel = nullptr;
  std::array<QLabel*, 3> xOut{};  // xOut1, xOut2, xOut3
  QPushButton* xLineUp = nullptr;
  QLabel* xLinePan = nullptr;
  QPushButton* xLineDown = nullptr;
  QFrame* xListPan = nullptr;
  QListView* xList = nullptr;
  QLabel* xSearch = nullptr;
  QFrame* xStatPan = nullptr;
  QLabel* xNoFix = nullptr;
  QPushButton* xAdd = nullptr;  // property "tag" = 1
  QPushButton* xEdit = nullptr;
  QPushButton* xDelete = nullptr;
  QPushButton* xUndel = nullptr;
  QPushButton* xUp = nullptr;
  QPushButton* xDown = nullptr;
  QFrame* xOpPanel = nullptr;
  QGroupBox* xDistGroup = nullptr;  // "  Distance  "
  // Indexed by tag - 1; each button's property "tag" holds its tag.
  std::array<QPushButton*, OperationCount> OpButtons{};
  QPushButton* xDummy = nullptr;  // hidden; carries the menu check mark
  QTimer* xTimer = nullptr;       // single shot; hides xSearch (not connected)
};

class TMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainWindow(QWidget* Parent = nullptr);

  const TMainControls& Controls() const { return c_; }
  const TMainMenu& Menu() const { return menu_; }
  // The operation button of Tag (1..OperationCount), or nullptr.
  QPushButton* OperationButton(std::uint8_t Tag) const;
  QPushButton* OperationButton(TOpTag Tag) const {
    return OperationButton(static_cast<std::uint8_t>(Tag));
  }

  // The menu font's point size (7..12; other values are ignored).
  void SetMenuFontSize(int PointSize);
  // The proportional font of the window (7..12; other values are ignored).
  void SetPropFontSize(int PointSize);
  // Balloon hints of the window's controls; returns the new state.
  bool SetHintsShown(bool Shown);
  bool HintsShown() const { return hints_shown_; }

  // Enters the menu bar's keyboard mode, as F10 does: the first menu is
  // highlighted and the arrow keys move along the bar.
  void ActivateMenuBar();

  // The first showing centres the window on the screen, frame included.
  void setVisible(bool Visible) override;

 protected:
  bool event(QEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;
  void showEvent(QShowEvent* Event) override;

 private:
  void BuildLogDisplay();
  void BuildFixList();
  void BuildStatusPanel();
  void BuildOperationPanel();
  void FixWindowSize();

  TMainControls c_;
  TMainMenu menu_;
  bool hints_shown_ = true;
  bool shown_before_ = false;
};

}  // namespace navorix
