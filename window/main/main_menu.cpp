#include "window/main/main_menu.h"

#include "stores/settings.h"
#include "text/display_options.h"
#include "window/look/qt_text.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <initializer_list>
#include <string>

namespace navorix {

namespace {

QAction* Item(QMenu* Menu, const char* Name, const char* Caption) {
  QAction* action = Menu->addAction(ToQString(Caption));
  action->setObjectName(QLatin1String(Name));
  return action;
}

QMenu* Submenu(QWidget* Parent, const char* Name, const std::string& Caption) {
  auto* menu = new QMenu(ToQString(Caption), Parent);
  menu->setObjectName(QLatin1String(Name));
  menu->menuAction()->setObjectName(QLatin1String(Name));
  return menu;
}

QAction* Toggle(QMenu* Menu, const char* Name, const char* Caption, bool Checked) {
  QAction* action = Item(Menu, Name, Caption);
  action->setCheckable(true);
  action->setChecked(Checked);
  return action;
}

// The items of a display option's submenu, in the order shown.
struct TOptionItem {
  const char* Name;     // objectName
  const char* Caption;  // with its accelerator
  int Value;            // the option value it sets
};
struct TOptionItems {
  TDisplayOption Option;
  const char* Name;  // the submenu's objectName
  std::initializer_list<TOptionItem> Items;
  bool Hidden = false;
};

// The display options' submenus in the order of the Options menu.
const TOptionItems OptionItemTable[] = {
    {TDisplayOption::LatLonFormat,
     "mLatLon",
     {{"maDeg", "&Deg/Frac", 0},
      {"maDMF", "Deg/&Min/Frac", 1},
      {"maDMS", "Deg/Min/&Sec", 2},
      {"maInf", "&Infix DMS", 3}}},
    {TDisplayOption::DistUnits,
     "mDist",
     {{"muKm", "&Kilometers", 0},
      {"muMi", "&Miles", 1},
      {"muNmi", "&Naut. Miles", 2},
      {"muDeg", "&Degrees", 3}}},
    // Hidden: the sign convention is chosen in the settings file only.
    {TDisplayOption::PlusDir,
     "moPlus",
     {{"mopNE", "&North-East", 0},
      {"mopNW", "North-&West", 1},
      {"mopSE", "South-&East", 2},
      {"mopSW", "&South-West", 3}},
     true},
    {TDisplayOption::Precision,
     "moAccu",
     {{"moAccuL", "&Low", 0}, {"moAccuM", "&Medium", 1}, {"moAccuH", "&High", 2}}},
    {TDisplayOption::AzimRange,
     "moAzim",
     {{"mAz360", " 0\xB0..+&360\xB0", 1}, {"mAz180", "-&180\xB0..+180\xB0", 0}}},
    {TDisplayOption::AzimFormat,
     "mAzAngle",
     {{"mzDeg", "&Deg/Frac", 0}, {"mzDMF", "Deg/&Min/Frac", 1}, {"mzDMS", "Deg/Min/&Sec", 2}}},
};

}  // namespace

void BuildMainMenu(QMenuBar& Bar, TMainMenu& M) {
  M.mFile = Submenu(&Bar, "mFile", "&File");
  M.mReload = Item(M.mFile, "mReload", "&Reload Status");
  M.mSaveStat = Item(M.mFile, "mSaveStat", "&Save Status");
  M.mFile->addSeparator();
  M.mLoad = Item(M.mFile, "mLoad", "&Load Fix File...");
  M.mSave = Item(M.mFile, "mSave", "S&ave Fix File...");
  M.mImport = Item(M.mFile, "mImport", "&Import Fixes...");
  M.mExport = Item(M.mFile, "mExport", "Ex&port Fixes...");
  M.mFile->addSeparator();
  M.mExit = Item(M.mFile, "mExit", "E&xit");
  Bar.addMenu(M.mFile);

  M.mData = Submenu(&Bar, "mData", "&Data");
  M.mDelRec = Item(M.mData, "mDelRec", "&Delete Log Line");
  M.mClrLog = Item(M.mData, "mClrLog", "Clear &Log");
  M.mClrFix = Item(M.mData, "mClrFix", "Clear &Fixes");
  M.mClear = Item(M.mData, "mClear", "&Clear All");
  Bar.addMenu(M.mData);

  M.mSort = Submenu(&Bar, "mSort", "&Sort");
  M.mSortName = Item(M.mSort, "mSortName", "By &Name");
  M.mSortSuffix = Item(M.mSort, "mSortSuffix", "By &Suffix");
  M.mSortDist = Item(M.mSort, "mSortDist", "By &Distance");
  M.mSortName->setData(0);
  M.mSortSuffix->setData(1);
  M.mSortDist->setData(2);
  Bar.addMenu(M.mSort);

  M.mView = Submenu(&Bar, "mView", "&View");
  M.mChart = Item(M.mView, "mChart", "&Chart");
  Bar.addMenu(M.mView);

  M.mOptions = Submenu(&Bar, "mOptions", "&Options");
  for (const TOptionItems& items : OptionItemTable) {
    const TDisplayOptionInfo& info = OptionInfo(items.Option);
    TMainMenu::TOptionSubmenu& submenu = M.OptionMenus[Index(items.Option)];
    // Every option starts at its first value, as without a settings file.
    submenu.Menu = Submenu(M.mOptions, items.Name, std::string(info.CaptionPrefix) + info.Names[0]);
    submenu.Group = new QActionGroup(submenu.Menu);
    submenu.Group->setExclusive(true);
    for (const TOptionItem& entry : items.Items) {
      QAction* action = Item(submenu.Menu, entry.Name, entry.Caption);
      action->setCheckable(true);
      action->setData(entry.Value);
      action->setChecked(entry.Value == 0);
      submenu.Group->addAction(action);
    }
    M.mOptions->addMenu(submenu.Menu);
    if (items.Hidden) submenu.Menu->menuAction()->setVisible(false);
  }

  M.mOptions->addSeparator();
  M.mEllDist = Submenu(M.mOptions, "mEllDist", "Elliptic D&istances");
  M.mEllArc = Toggle(M.mEllDist, "mEllArc", "&Elliptic Great Arc", false);
  M.mGeodesic = Toggle(M.mEllDist, "mGeodesic", "&Geodesic Line", false);
  M.mOptions->addMenu(M.mEllDist);
  M.mEllDist->menuAction()->setCheckable(true);
  M.mEllDist->menuAction()->setChecked(false);
  M.mEllip = Toggle(M.mOptions, "mEllip", "&Elliptic Latitude", true);
  M.mOptions->addSeparator();
  M.moHints = Toggle(M.mOptions, "moHints", "&Balloon Hints", true);
  M.moSound = Toggle(M.mOptions, "moSound", "&Sound", true);
  Bar.addMenu(M.mOptions);

  M.mHelpMenu = Submenu(&Bar, "mHelpMenu", "&Help");
  M.mHelp = Item(M.mHelpMenu, "mHelp", "&Help");
  M.xWeb = Item(M.mHelpMenu, "xWeb", "Navorix &Web Page");
  M.mSamples = Item(M.mHelpMenu, "mSamples", "&Sample Fixes");
  M.mAbout = Item(M.mHelpMenu, "mAbout", "&About Navorix");
  Bar.addMenu(M.mHelpMenu);
}

namespace {

// Checks the action of Group whose tag is Value.
void CheckTagged(QActionGroup* Group, int Value) {
  for (QAction* action : Group->actions()) action->setChecked(action->data().toInt() == Value);
}

}  // namespace

void TMainMenu::ShowSettings(const TSettings& Settings) const {
  for (const TDisplayOptionInfo& info : DisplayOptionTable) {
    const TOptionSubmenu& submenu = OptionMenus[Index(info.Option)];
    CheckTagged(submenu.Group, info.Get(Settings.Display));
    submenu.Menu->setTitle(ToQString(OptionCaption(info.Option, Settings.Display)));
  }
  const TEarthModel& e = Settings.Earth;
  mEllArc->setChecked(e.EllipticArc);
  mGeodesic->setChecked(e.GeoDistance);
  mEllDist->menuAction()->setChecked(e.EllipticArc || e.GeoDistance);
  mEllip->setChecked(e.EllipticLat);
  moHints->setChecked(Settings.Interface.Hints);
  moSound->setChecked(Settings.Interface.Sound);
}

QAction* TMainMenu::OptionItem(TDisplayOption Option, int Value) const {
  for (QAction* action : OptionMenus[Index(Option)].Group->actions()) {
    if (action->data().toInt() == Value) return action;
  }
  return nullptr;
}

QList<QMenu*> TMainMenu::AllMenus() const {
  QList<QMenu*> menus = {mFile, mData, mSort, mOptions};
  for (const TOptionItems& items : OptionItemTable) menus.append(OptionMenu(items.Option));
  menus.append({mEllDist, mHelpMenu});
  return menus;
}

}  // namespace navorix
