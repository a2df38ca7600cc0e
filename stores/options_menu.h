// What the option setters and status loading need of the main window: the
// check marks and captions of the Options menu, the balloon hints, the
// "&Next Fix" button, the fonts and the error box. The main window
// implements it; tests use a fake.
#pragma once

#include <string>

namespace navorix {

// The Options menu items that the setters and status loading touch.
enum class TMenuItem {
  // "Lat/Lon &Format: " submenu and its items.
  mLatLon, maDeg, maDMF, maDMS, maInf,
  // "&Azimuth Format: ".
  mAzAngle, mzDeg, mzDMF, mzDMS,
  // "&Plus coordinates: " (hidden).
  moPlus, mopNE, mopNW, mopSE, mopSW,
  // "&Display Accuracy: ".
  moAccu, moAccuL, moAccuM, moAccuH,
  // "Distance &Units: ".
  mDist, muKm, muMi, muNmi, muDeg,
  // The azimuth range submenu.
  moAzim, mAz180, mAz360,
  // "&Sound", "&Balloon Hints".
  moSound, moHints,
  // "&Elliptic Latitude"; "Elliptic D&istances" with "&Elliptic Great Arc"
  // and "&Geodesic Line".
  mEllip, mEllDist, mEllArc, mGeodesic,
};

class TOptionsMenu {
 public:
  virtual ~TOptionsMenu() = default;
  virtual void SetMenuChecked(TMenuItem Item, bool Checked) = 0;
  // Caption text in Windows-1252, "&" before the accelerator letter.
  virtual void SetMenuCaption(TMenuItem Item, const std::string& Caption) = 0;
  // Switches the main window's balloon hints and returns whether they are
  // now shown.
  virtual bool SetHintsShown(bool Shown) = 0;
  // The "&Next Fix" button (xNext).
  virtual void SetNextFixEnabled(bool Enabled) = 0;
  // Point size of the menu font (7..12).
  virtual void SetMenuFontSize(int Size) = 0;
  // Point size of the proportional font of the main window, the fix input
  // dialog and the operation input dialog (7..12), applied to all three.
  virtual void SetPropFontSize(int Size) = 0;
  // Shows a failure of settings loading in the error box.
  virtual void ShowError(const std::string& Message) = 0;
};

}  // namespace navorix
