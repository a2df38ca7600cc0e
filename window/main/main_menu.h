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

struct TSettings;

struct TMainMenu {
  // "&File"
  QMenu* mFile = nullptr;
  QAction* mReload = nullptr;    // "&Reload Status"
  QAction* mSaveStat = nullptr;  // "&Save Status"
  QAction* mLoad = nullptr;      // "&Load Fix File..."
  QAction* mSave = nullptr;      // "S&ave Fix File..."
  QAction* mImport = nullptr;    // "&Import Fixes..."
  QAction* mExport = nullptr;    // "Ex&port Fixes..."
  QAction* mExit = nullptr;      // "E&xit"
  // "&Data"
  QMenu* mData = nullptr;
  QAction* mDelRec = nullptr;  // "&Delete Log Line"
  QAction* mClrLog = nullptr;  // "Clear &Log"
  QAction* mClrFix = nullptr;  // "Clear &Fixes"
  QAction* mClear = nullptr;   // "&Clear All"
  // "&Sort": tags 0, 1, 2
  QMenu* mSort = nullptr;
  QAction* mSortName = nullptr;
  QAction* mSortSuffix = nullptr;
  QAction* mSortDist = nullptr;
  // "&View"
  QMenu* mView = nullptr;
  QAction* mChart = nullptr;  // "&Chart", F2
  // "&Options"
  QMenu* mOptions = nullptr;
  // The submenus of the display options, indexed by TDisplayOption; each
  // item's tag is the value it sets.
  struct TOptionSubmenu {
    QMenu* Menu = nullptr;
    QActionGroup* Group = nullptr;
  };
  TOptionSubmenu OptionMenus[DisplayOptionCount]{};
  QMenu* mEllDist = nullptr;  // its menuAction() is checkable
  QAction* mEllArc = nullptr;
  QAction* mGeodesic = nullptr;
  QAction* mEllip = nullptr;
  QAction* moHints = nullptr;
  QAction* moSound = nullptr;
  // "&Help"
  QMenu* mHelpMenu = nullptr;
  QAction* mHelp = nullptr;   // "&Help"
  QAction* xWeb = nullptr;    // "Navorix &Web Page"
  QAction* mSamples = nullptr;  // "&Sample Fixes"
  QAction* mAbout = nullptr;  // "&About Navorix"

  QMenu* OptionMenu(TDisplayOption Option) const { return OptionMenus[Index(Option)].Menu; }
  // The item of Option's submenu that sets Value.
  QAction* OptionItem(TDisplayOption Option, int Value) const;

  // Shows Settings in the Options menu: the checked item of every group and
  // switch, the captions of the submenus that name the value chosen, and
  // "Elliptic D&istances" checked when either of its items is.
  void ShowSettings(const TSettings& Settings) const;
  // Every drop-down and submenu, for font changes.
  QList<QMenu*> AllMenus() const;
};

// Fills Bar with the main menu and Menu with its parts. The Options items
// start as they are without a settings file: Deg/Frac, Kilometers,
// North-East, Low, -180..+180, Deg/Frac, elliptic latitude on, the two
// elliptic distances off, hints and sound on.
void BuildMainMenu(QMenuBar& Bar, TMainMenu& Menu);

}  // namespace navorix
