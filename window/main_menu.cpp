#include "window/main_menu.h"

#include "stores/settings.h"
#include "text/display_options.h"
#include "workbench/texts.h"
#include "window/qt_text.h"

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

// Makes Actions checkable, exclusive among themselves, tagged 0, 1, ... in
// the given order unless Tags says otherwise, with Checked checked.
QActionGroup* Exclusive(QObject* Parent, std::initializer_list<QAction*> Actions,
                        std::initializer_list<int> Tags, QAction* Checked) {
  auto* group = new QActionGroup(Parent);
  group->setExclusive(true);
  auto tag = Tags.begin();
  int next = 0;
  for (QAction* action : Actions) {
    action->setCheckable(true);
    action->setData(tag != Tags.end() ? *tag++ : next);
    ++next;
    group->addAction(action);
  }
  Checked->setChecked(true);
  return group;
}

QAction* Toggle(QMenu* Menu, const char* Name, const char* Caption, bool Checked) {
  QAction* action = Item(Menu, Name, Caption);
  action->setCheckable(true);
  action->setChecked(Checked);
  return action;
}

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
  M.mLatLon = Submenu(M.mOptions, "mLatLon", std::string("Lat/Lon &Format: ") + FormatNames[0]);
  M.maDeg = Item(M.mLatLon, "maDeg", "&Deg/Frac");
  M.maDMF = Item(M.mLatLon, "maDMF", "Deg/&Min/Frac");
  M.maDMS = Item(M.mLatLon, "maDMS", "Deg/Min/&Sec");
  M.maInf = Item(M.mLatLon, "maInf", "&Infix DMS");
  M.gLatLon = Exclusive(M.mLatLon, {M.maDeg, M.maDMF, M.maDMS, M.maInf}, {}, M.maDeg);
  M.mOptions->addMenu(M.mLatLon);

  M.mDist = Submenu(M.mOptions, "mDist", std::string("Distance &Units: ") + DistUnitTable[0].Name);
  M.muKm = Item(M.mDist, "muKm", "&Kilometers");
  M.muMi = Item(M.mDist, "muMi", "&Miles");
  M.muNmi = Item(M.mDist, "muNmi", "&Naut. Miles");
  M.muDeg = Item(M.mDist, "muDeg", "&Degrees");
  M.gDist = Exclusive(M.mDist, {M.muKm, M.muMi, M.muNmi, M.muDeg}, {}, M.muKm);
  M.mOptions->addMenu(M.mDist);

  M.moPlus = Submenu(M.mOptions, "moPlus", std::string("&Plus coordinates: ") + PlusDirNames[0]);
  M.mopNE = Item(M.moPlus, "mopNE", "&North-East");
  M.mopNW = Item(M.moPlus, "mopNW", "North-&West");
  M.mopSE = Item(M.moPlus, "mopSE", "South-&East");
  M.mopSW = Item(M.moPlus, "mopSW", "&South-West");
  M.gPlus = Exclusive(M.moPlus, {M.mopNE, M.mopNW, M.mopSE, M.mopSW}, {}, M.mopNE);
  M.mOptions->addMenu(M.moPlus);
  M.moPlus->menuAction()->setVisible(false);

  M.moAccu = Submenu(M.mOptions, "moAccu", "&Display Accuracy: Low");
  M.moAccuL = Item(M.moAccu, "moAccuL", "&Low");
  M.moAccuM = Item(M.moAccu, "moAccuM", "&Medium");
  M.moAccuH = Item(M.moAccu, "moAccuH", "&High");
  M.gAccu = Exclusive(M.moAccu, {M.moAccuL, M.moAccuM, M.moAccuH}, {}, M.moAccuL);
  M.mOptions->addMenu(M.moAccu);

  M.moAzim = Submenu(M.mOptions, "moAzim", std::string("Azimuth Range: ") + AzimRangeNames[0]);
  M.mAz360 = Item(M.moAzim, "mAz360", " 0\xB0..+&360\xB0");
  M.mAz180 = Item(M.moAzim, "mAz180", "-&180\xB0..+180\xB0");
  M.gAzim = Exclusive(M.moAzim, {M.mAz360, M.mAz180}, {1, 0}, M.mAz180);
  M.mOptions->addMenu(M.moAzim);

  M.mAzAngle = Submenu(M.mOptions, "mAzAngle", std::string("&Azimuth Format: ") + FormatNames[0]);
  M.mzDeg = Item(M.mAzAngle, "mzDeg", "&Deg/Frac");
  M.mzDMF = Item(M.mAzAngle, "mzDMF", "Deg/&Min/Frac");
  M.mzDMS = Item(M.mAzAngle, "mzDMS", "Deg/Min/&Sec");
  M.gAzAngle = Exclusive(M.mAzAngle, {M.mzDeg, M.mzDMF, M.mzDMS}, {}, M.mzDeg);
  M.mOptions->addMenu(M.mAzAngle);

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
  const TDisplayOptions& d = Settings.Display;
  CheckTagged(gLatLon, Index(d.LatLonFormat));
  CheckTagged(gDist, Index(d.DistUnits));
  CheckTagged(gPlus, Index(d.PlusDir));
  CheckTagged(gAccu, Index(d.Precision));
  CheckTagged(gAzim, Index(d.AzimRange));
  CheckTagged(gAzAngle, Index(d.AzimFormat));
  mLatLon->setTitle(ToQString(OptionCaption(TOptionMenu::LatLonFormat, d)));
  mDist->setTitle(ToQString(OptionCaption(TOptionMenu::DistUnits, d)));
  moPlus->setTitle(ToQString(OptionCaption(TOptionMenu::PlusDir, d)));
  moAccu->setTitle(ToQString(OptionCaption(TOptionMenu::Precision, d)));
  moAzim->setTitle(ToQString(OptionCaption(TOptionMenu::AzimRange, d)));
  mAzAngle->setTitle(ToQString(OptionCaption(TOptionMenu::AzimFormat, d)));
  const TEarthModel& e = Settings.Earth;
  mEllArc->setChecked(e.EllipticArc);
  mGeodesic->setChecked(e.GeoDistance);
  mEllDist->menuAction()->setChecked(e.EllipticArc || e.GeoDistance);
  mEllip->setChecked(e.EllipticLat);
  moHints->setChecked(Settings.Interface.Hints);
  moSound->setChecked(Settings.Interface.Sound);
}

QList<QMenu*> TMainMenu::AllMenus() const {
  return {mFile, mData, mSort, mOptions, mLatLon, mDist, moPlus, moAccu, moAzim, mAzAngle,
          mEllDist, mHelpMenu};
}

}  // namespace navorix
