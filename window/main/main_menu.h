// The main menu: every menu, submenu and item with its caption, accelerator
// letter ("&"), separators, check marks and exclusive groups. Every action
// carries the control name as its objectName and, where an item has a tag,
// the tag as its data(). Nothing is connected here.
#pragma once

#include "text/display_options.h"

#include <QList>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;

namespace navorix {

struct ProgramSettings;

struct MainMenu {
  // "&File"
  QMenu* fileMenu = nullptr;
  QAction* reloadStatusAction = nullptr;  // "&Reload Status"
  QAction* saveStatusAction = nullptr;    // "&Save Status"
  QAction* loadFixFileAction = nullptr;   // "&Load Fix File..."
  QAction* saveFixFileAction = nullptr;   // "S&ave Fix File..."
  QAction* importFixesAction = nullptr;   // "&Import Fixes..."
  QAction* exportFixesAction = nullptr;   // "Ex&port Fixes..."
  QAction* exitAction = nullptr;          // "E&xit"
  // "&Data"
  QMenu* dataMenu = nullptr;
  QAction* deleteLogLineAction = nullptr;  // "&Delete Log Line"
  QAction* clearLogAction = nullptr;       // "Clear &Log"
  QAction* clearFixesAction = nullptr;     // "Clear &Fixes"
  QAction* clearAllAction = nullptr;       // "&Clear All"
  // "&Sort": tags 0, 1, 2
  QMenu* sortMenu = nullptr;
  QAction* sortByNameAction = nullptr;
  QAction* sortBySuffixAction = nullptr;
  QAction* sortByDistanceAction = nullptr;
  // "&View"
  QMenu* viewMenu = nullptr;
  QAction* chartAction = nullptr;  // "&Chart", F2
  // "&Options"
  QMenu* optionsMenu = nullptr;
  // The submenus of the display options, indexed by DisplayOption; each
  // item's tag is the value it sets.
  struct OptionSubmenu {
    QMenu* menu = nullptr;
    QActionGroup* group = nullptr;
  };
  OptionSubmenu optionMenus[DisplayOptionCount]{};
  QMenu* ellipticDistancesMenu = nullptr;  // its menuAction() is checkable
  QAction* ellipticArcAction = nullptr;
  QAction* geodesicAction = nullptr;
  QAction* ellipticLatitudeAction = nullptr;
  QAction* hintsAction = nullptr;
  QAction* soundAction = nullptr;
  // "&Help"
  QMenu* helpMenu = nullptr;
  QAction* helpAction = nullptr;         // "&Help"
  QAction* webPageAction = nullptr;      // "Navorix &Web Page"
  QAction* sampleFixesAction = nullptr;  // "&Sample Fixes"
  QAction* aboutAction = nullptr;        // "&About Navorix"

  QMenu* optionMenu(DisplayOption option) const { return optionMenus[Index(option)].menu; }
  // The item of option's submenu that sets value.
  QAction* optionItem(DisplayOption option, int value) const;

  // Shows settings in the Options menu: the checked item of every group and
  // switch, the captions of the submenus that name the value chosen, and
  // "Elliptic D&istances" checked when either of its items is.
  void showSettings(const ProgramSettings& settings) const;
  // Every drop-down and submenu, for font changes.
  QList<QMenu*> allMenus() const;
};

// Fills bar with the main menu and menu with its parts. The Options items
// start as they are without a settings file: Deg/Frac, Kilometers,
// North-East, Low, -180..+180, Deg/Frac, elliptic latitude on, the two
// elliptic distances off, hints and sound on.
void buildMainMenu(QMenuBar& bar, MainMenu& menu);

}  // namespace navorix
