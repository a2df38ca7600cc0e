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

QAction* item(QMenu* menu, const char* name, const char* caption) {
  QAction* action = menu->addAction(toQString(caption));
  action->setObjectName(QLatin1String(name));
  return action;
}

QMenu* makeSubmenu(QWidget* parent, const char* name, const std::string& caption) {
  auto* menu = new QMenu(toQString(caption), parent);
  menu->setObjectName(QLatin1String(name));
  menu->menuAction()->setObjectName(QLatin1String(name));
  return menu;
}

QAction* toggle(QMenu* menu, const char* name, const char* caption, bool checked) {
  QAction* action = item(menu, name, caption);
  action->setCheckable(true);
  action->setChecked(checked);
  return action;
}

// The items of a display option's submenu, in the order shown.
struct OptionItem {
  const char* name;     // objectName
  const char* caption;  // with its accelerator
  int value;            // the option value it sets
};
struct OptionItems {
  DisplayOption option;
  const char* name;  // the submenu's objectName
  std::initializer_list<OptionItem> items;
  bool hidden = false;
};

// The display options' submenus in the order of the Options menu.
const OptionItems OptionItemTable[] = {
    {DisplayOption::LatLonFormat,
     "latLonFormatMenu",
     {{"latLonDegFracAction", "&Deg/Frac", 0},
      {"latLonDegMinFracAction", "Deg/&Min/Frac", 1},
      {"latLonDegMinSecAction", "Deg/Min/&Sec", 2},
      {"latLonInfixAction", "&Infix DMS", 3}}},
    {DisplayOption::DistUnits,
     "distanceUnitsMenu",
     {{"kilometersAction", "&Kilometers", 0},
      {"milesAction", "&Miles", 1},
      {"nauticalMilesAction", "&Naut. Miles", 2},
      {"degreesAction", "&Degrees", 3}}},
    // Hidden: the sign convention is chosen in the settings file only.
    {DisplayOption::PlusDir,
     "plusCoordinatesMenu",
     {{"plusNorthEastAction", "&North-East", 0},
      {"plusNorthWestAction", "North-&West", 1},
      {"plusSouthEastAction", "South-&East", 2},
      {"plusSouthWestAction", "&South-West", 3}},
     true},
    {DisplayOption::Precision,
     "accuracyMenu",
     {{"accuracyLowAction", "&Low", 0},
      {"accuracyMediumAction", "&Medium", 1},
      {"accuracyHighAction", "&High", 2}}},
    {DisplayOption::AzimRange,
     "azimuthRangeMenu",
     {{"azimuth360Action", " 0\xB0..+&360\xB0", 1}, {"azimuth180Action", "-&180\xB0..+180\xB0", 0}}},
    {DisplayOption::AzimFormat,
     "azimuthFormatMenu",
     {{"azimuthDegFracAction", "&Deg/Frac", 0},
      {"azimuthDegMinFracAction", "Deg/&Min/Frac", 1},
      {"azimuthDegMinSecAction", "Deg/Min/&Sec", 2}}},
};

}  // namespace

void buildMainMenu(QMenuBar& bar, MainMenu& M) {
  M.fileMenu = makeSubmenu(&bar, "fileMenu", "&File");
  M.reloadStatusAction = item(M.fileMenu, "reloadStatusAction", "&Reload Status");
  M.saveStatusAction = item(M.fileMenu, "saveStatusAction", "&Save Status");
  M.fileMenu->addSeparator();
  M.loadFixFileAction = item(M.fileMenu, "loadFixFileAction", "&Load Fix File...");
  M.saveFixFileAction = item(M.fileMenu, "saveFixFileAction", "S&ave Fix File...");
  M.importFixesAction = item(M.fileMenu, "importFixesAction", "&Import Fixes...");
  M.exportFixesAction = item(M.fileMenu, "exportFixesAction", "Ex&port Fixes...");
  M.fileMenu->addSeparator();
  M.exitAction = item(M.fileMenu, "exitAction", "E&xit");
  bar.addMenu(M.fileMenu);

  M.dataMenu = makeSubmenu(&bar, "dataMenu", "&Data");
  M.deleteLogLineAction = item(M.dataMenu, "deleteLogLineAction", "&Delete Log Line");
  M.clearLogAction = item(M.dataMenu, "clearLogAction", "Clear &Log");
  M.clearFixesAction = item(M.dataMenu, "clearFixesAction", "Clear &Fixes");
  M.clearAllAction = item(M.dataMenu, "clearAllAction", "&Clear All");
  bar.addMenu(M.dataMenu);

  M.sortMenu = makeSubmenu(&bar, "sortMenu", "&Sort");
  M.sortByNameAction = item(M.sortMenu, "sortByNameAction", "By &Name");
  M.sortBySuffixAction = item(M.sortMenu, "sortBySuffixAction", "By &Suffix");
  M.sortByDistanceAction = item(M.sortMenu, "sortByDistanceAction", "By &Distance");
  M.sortByNameAction->setData(0);
  M.sortBySuffixAction->setData(1);
  M.sortByDistanceAction->setData(2);
  bar.addMenu(M.sortMenu);

  M.viewMenu = makeSubmenu(&bar, "viewMenu", "&View");
  M.chartAction = item(M.viewMenu, "chartAction", "&Chart");
  bar.addMenu(M.viewMenu);

  M.optionsMenu = makeSubmenu(&bar, "optionsMenu", "&Options");
  for (const OptionItems& items : OptionItemTable) {
    const DisplayOptionInfo& info = OptionInfo(items.option);
    MainMenu::OptionSubmenu& submenu = M.optionMenus[Index(items.option)];
    // Every option starts at its first value, as without a settings file.
    submenu.menu = makeSubmenu(M.optionsMenu, items.name, std::string(info.captionPrefix) + info.names[0]);
    submenu.group = new QActionGroup(submenu.menu);
    submenu.group->setExclusive(true);
    for (const OptionItem& entry : items.items) {
      QAction* action = item(submenu.menu, entry.name, entry.caption);
      action->setCheckable(true);
      action->setData(entry.value);
      action->setChecked(entry.value == 0);
      submenu.group->addAction(action);
    }
    M.optionsMenu->addMenu(submenu.menu);
    if (items.hidden) submenu.menu->menuAction()->setVisible(false);
  }

  M.optionsMenu->addSeparator();
  M.ellipticDistancesMenu = makeSubmenu(M.optionsMenu, "ellipticDistancesMenu", "Elliptic D&istances");
  M.ellipticArcAction = toggle(M.ellipticDistancesMenu, "ellipticArcAction", "&Elliptic Great Arc", false);
  M.geodesicAction = toggle(M.ellipticDistancesMenu, "geodesicAction", "&Geodesic Line", false);
  M.optionsMenu->addMenu(M.ellipticDistancesMenu);
  M.ellipticDistancesMenu->menuAction()->setCheckable(true);
  M.ellipticDistancesMenu->menuAction()->setChecked(false);
  M.ellipticLatitudeAction = toggle(M.optionsMenu, "ellipticLatitudeAction", "&Elliptic Latitude", true);
  M.optionsMenu->addSeparator();
  M.hintsAction = toggle(M.optionsMenu, "hintsAction", "&Balloon Hints", true);
  M.soundAction = toggle(M.optionsMenu, "soundAction", "&Sound", true);
  bar.addMenu(M.optionsMenu);

  M.helpMenu = makeSubmenu(&bar, "helpMenu", "&Help");
  M.helpAction = item(M.helpMenu, "helpAction", "&Help");
  M.webPageAction = item(M.helpMenu, "webPageAction", "Navorix &Web Page");
  M.sampleFixesAction = item(M.helpMenu, "sampleFixesAction", "&Sample Fixes");
  M.aboutAction = item(M.helpMenu, "aboutAction", "&About Navorix");
  bar.addMenu(M.helpMenu);
}

namespace {

// Checks the action of group whose tag is value.
void checkTagged(QActionGroup* group, int value) {
  for (QAction* action : group->actions()) action->setChecked(action->data().toInt() == value);
}

}  // namespace

void MainMenu::showSettings(const ProgramSettings& settings) const {
  for (const DisplayOptionInfo& info : DisplayOptionTable) {
    const OptionSubmenu& submenu = optionMenus[Index(info.option)];
    checkTagged(submenu.group, info.get(settings.display));
    submenu.menu->setTitle(toQString(OptionCaption(info.option, settings.display)));
  }
  const EarthModel& e = settings.earth;
  ellipticArcAction->setChecked(e.ellipticArc);
  geodesicAction->setChecked(e.geoDistance);
  ellipticDistancesMenu->menuAction()->setChecked(e.ellipticArc || e.geoDistance);
  ellipticLatitudeAction->setChecked(e.ellipticLat);
  hintsAction->setChecked(settings.interface.hints);
  soundAction->setChecked(settings.interface.sound);
}

QAction* MainMenu::optionItem(DisplayOption option, int value) const {
  for (QAction* action : optionMenus[Index(option)].group->actions()) {
    if (action->data().toInt() == value) return action;
  }
  return nullptr;
}

QList<QMenu*> MainMenu::allMenus() const {
  QList<QMenu*> menus = {fileMenu, dataMenu, sortMenu, optionsMenu};
  for (const OptionItems& items : OptionItemTable) menus.append(optionMenu(items.option));
  menus.append({ellipticDistancesMenu, helpMenu});
  return menus;
}

}  // namespace navorix
