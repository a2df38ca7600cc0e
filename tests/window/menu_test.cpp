// The main menu: structure, captions, check marks and groups, and the
// measures and colours of its painting.
#include "stores/settings.h"
#include "window/main/main_window.h"
#include "window/main/menu_metrics.h"
#include "window/look/navorix_style.h"
#include "window/look/pictures.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QTest>

using navorix::TMainWindow;
using navorix::TSettings;
using navorix::TAngleFormat;
using navorix::TDistUnits;
using navorix::TPlusDir;
using navorix::TAccuracy;
using navorix::TAzimRange;
using navorix::TDisplayOption;

namespace {

// The items of Menu as "name" or "-" for a separator, in order.
QStringList Items(const QMenu* Menu) {
  QStringList out;
  for (const QAction* action : Menu->actions()) out << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
  return out;
}

QStringList Captions(const QMenu* Menu) {
  QStringList out;
  for (const QAction* action : Menu->actions()) {
    if (!action->isSeparator()) out << action->text();
  }
  return out;
}

QList<int> Tags(const QMenu* Menu) {
  QList<int> out;
  for (const QAction* action : Menu->actions()) out << action->data().toInt();
  return out;
}

}  // namespace

class MenuTest : public QObject {
  Q_OBJECT

  TMainWindow* w_ = nullptr;

 private slots:
  void initTestCase() { QApplication::setStyle(new navorix::TNavorixStyle); }

  void init() {
    w_ = new TMainWindow;
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
  }

  void cleanup() {
    delete w_;
    w_ = nullptr;
  }

  void BarHoldsTheSixMenus() {
    QStringList titles;
    for (const QAction* action : w_->menuBar()->actions()) titles << action->text();
    QCOMPARE(titles, (QStringList{"&File", "&Data", "&Sort", "&View", "&Options", "&Help"}));
  }

  void FileDataSortAndHelp() {
    const auto& m = w_->Menu();
    QCOMPARE(Items(m.mFile), (QStringList{"mReload", "mSaveStat", "-", "mLoad", "mSave", "mImport",
                                          "mExport", "-", "mExit"}));
    QCOMPARE(Captions(m.mFile), (QStringList{"&Reload Status", "&Save Status", "&Load Fix File...",
                                             "S&ave Fix File...", "&Import Fixes...", "Ex&port Fixes...",
                                             "E&xit"}));
    QCOMPARE(Items(m.mData), (QStringList{"mDelRec", "mClrLog", "mClrFix", "mClear"}));
    QCOMPARE(Captions(m.mData), (QStringList{"&Delete Log Line", "Clear &Log", "Clear &Fixes", "&Clear All"}));
    QCOMPARE(Captions(m.mSort), (QStringList{"By &Name", "By &Suffix", "By &Distance"}));
    QCOMPARE(Tags(m.mSort), (QList<int>{0, 1, 2}));
    QCOMPARE(Items(m.mHelpMenu), (QStringList{"mHelp", "xWeb", "mSamples", "mAbout"}));
    QCOMPARE(Captions(m.mHelpMenu),
             (QStringList{"&Help", "Navorix &Web Page", "&Sample Fixes", "&About Navorix"}));
  }

  void OptionsInOrderWithTheirSeparators() {
    const auto& m = w_->Menu();
    QCOMPARE(Items(m.mOptions), (QStringList{"mLatLon", "mDist", "moPlus", "moAccu", "moAzim", "mAzAngle", "-",
                                             "mEllDist", "mEllip", "-", "moHints", "moSound"}));
    QCOMPARE(m.OptionMenu(TDisplayOption::LatLonFormat)->title(), QStringLiteral("Lat/Lon &Format: Deg/Frac"));
    QCOMPARE(m.OptionMenu(TDisplayOption::DistUnits)->title(), QStringLiteral("Distance &Units: Kilometers"));
    QCOMPARE(m.OptionMenu(TDisplayOption::PlusDir)->title(), QStringLiteral("&Plus coordinates: North-East"));
    QCOMPARE(m.OptionMenu(TDisplayOption::Precision)->title(), QStringLiteral("&Display Accuracy: Low"));
    QCOMPARE(m.OptionMenu(TDisplayOption::AzimRange)->title(), QString::fromUtf8("Azimuth Range: -180\u00B0..+180\u00B0"));
    QCOMPARE(m.OptionMenu(TDisplayOption::AzimFormat)->title(), QStringLiteral("&Azimuth Format: Deg/Frac"));
    QCOMPARE(m.mEllDist->title(), QStringLiteral("Elliptic D&istances"));
    QCOMPARE(m.mEllip->text(), QStringLiteral("&Elliptic Latitude"));
    QCOMPARE(m.moHints->text(), QStringLiteral("&Balloon Hints"));
    QCOMPARE(m.moSound->text(), QStringLiteral("&Sound"));
  }

  void PlusCoordinatesIsPresentButHidden() {
    const auto& m = w_->Menu();
    QVERIFY(!m.OptionMenu(TDisplayOption::PlusDir)->menuAction()->isVisible());
    QCOMPARE(Captions(m.OptionMenu(TDisplayOption::PlusDir)), (QStringList{"&North-East", "North-&West", "South-&East", "&South-West"}));
    QCOMPARE(Tags(m.OptionMenu(TDisplayOption::PlusDir)), (QList<int>{0, 1, 2, 3}));
  }

  void SubmenuItemsTagsAndExclusiveGroups() {
    const auto& m = w_->Menu();
    QCOMPARE(Captions(m.OptionMenu(TDisplayOption::LatLonFormat)), (QStringList{"&Deg/Frac", "Deg/&Min/Frac", "Deg/Min/&Sec", "&Infix DMS"}));
    QCOMPARE(Tags(m.OptionMenu(TDisplayOption::LatLonFormat)), (QList<int>{0, 1, 2, 3}));
    QCOMPARE(Captions(m.OptionMenu(TDisplayOption::DistUnits)), (QStringList{"&Kilometers", "&Miles", "&Naut. Miles", "&Degrees"}));
    QCOMPARE(Tags(m.OptionMenu(TDisplayOption::DistUnits)), (QList<int>{0, 1, 2, 3}));
    QCOMPARE(Captions(m.OptionMenu(TDisplayOption::Precision)), (QStringList{"&Low", "&Medium", "&High"}));
    QCOMPARE(Captions(m.OptionMenu(TDisplayOption::AzimRange)), (QStringList{QString::fromUtf8(" 0\u00B0..+&360\u00B0"),
                                              QString::fromUtf8("-&180\u00B0..+180\u00B0")}));
    QCOMPARE(Tags(m.OptionMenu(TDisplayOption::AzimRange)), (QList<int>{1, 0}));
    QCOMPARE(Captions(m.OptionMenu(TDisplayOption::AzimFormat)), (QStringList{"&Deg/Frac", "Deg/&Min/Frac", "Deg/Min/&Sec"}));
    QCOMPARE(Captions(m.mEllDist), (QStringList{"&Elliptic Great Arc", "&Geodesic Line"}));

    for (const auto& submenu : m.OptionMenus) {
      QVERIFY(submenu.Group->isExclusive());
      QVERIFY(submenu.Group->checkedAction() != nullptr);
    }
    QVERIFY(m.OptionItem(TDisplayOption::LatLonFormat, 0)->isChecked());
    m.OptionItem(TDisplayOption::LatLonFormat, 2)->setChecked(true);
    QVERIFY(!m.OptionItem(TDisplayOption::LatLonFormat, 0)->isChecked());
    QCOMPARE(m.OptionMenus[Index(TDisplayOption::LatLonFormat)].Group->checkedAction(), m.OptionItem(TDisplayOption::LatLonFormat, 2));
    QVERIFY(m.OptionItem(TDisplayOption::AzimRange, 0)->isChecked());
    QVERIFY(m.OptionItem(TDisplayOption::DistUnits, 0)->isChecked());
    QVERIFY(m.OptionItem(TDisplayOption::Precision, 0)->isChecked());
  }

  void TogglesStartAsWithoutSettings() {
    const auto& m = w_->Menu();
    for (QAction* a : {m.mEllip, m.moHints, m.moSound}) {
      QVERIFY(a->isCheckable());
      QVERIFY(a->isChecked());
    }
    for (QAction* a : {m.mEllArc, m.mGeodesic, m.mEllDist->menuAction()}) {
      QVERIFY(a->isCheckable());
      QVERIFY(!a->isChecked());
    }
  }

  void OptionsShowTheSettings() {
    auto& m = w_->Menu();
    TSettings settings;
    settings.Display.LatLonFormat = TAngleFormat::InfixDMS;
    settings.Display.DistUnits = TDistUnits::Degrees;
    settings.Display.PlusDir = TPlusDir::SouthWest;
    settings.Display.Precision = TAccuracy::High;
    settings.Display.AzimRange = TAzimRange::Zero360;
    settings.Display.AzimFormat = TAngleFormat::DegMinFrac;
    settings.Earth.GeoDistance = true;
    settings.Earth.EllipticLat = false;
    settings.Interface.Sound = false;
    m.ShowSettings(settings);
    for (QAction* checked : {m.OptionItem(TDisplayOption::LatLonFormat, 3), m.OptionItem(TDisplayOption::DistUnits, 3), m.OptionItem(TDisplayOption::PlusDir, 3), m.OptionItem(TDisplayOption::Precision, 2), m.OptionItem(TDisplayOption::AzimRange, 1), m.OptionItem(TDisplayOption::AzimFormat, 1), m.mGeodesic,
                             m.mEllDist->menuAction(), m.moHints}) {
      QVERIFY2(checked->isChecked(), qPrintable(checked->objectName()));
    }
    for (QAction* clear : {m.OptionItem(TDisplayOption::LatLonFormat, 0), m.OptionItem(TDisplayOption::DistUnits, 0), m.OptionItem(TDisplayOption::PlusDir, 0), m.OptionItem(TDisplayOption::Precision, 0), m.OptionItem(TDisplayOption::AzimRange, 0), m.OptionItem(TDisplayOption::AzimFormat, 0), m.mEllArc,
                           m.mEllip, m.moSound}) {
      QVERIFY2(!clear->isChecked(), qPrintable(clear->objectName()));
    }
    QCOMPARE(m.OptionMenu(TDisplayOption::LatLonFormat)->title(), QStringLiteral("Lat/Lon &Format: Infix DMS"));
    QCOMPARE(m.OptionMenu(TDisplayOption::DistUnits)->title(), QStringLiteral("Distance &Units: Degrees"));
    QCOMPARE(m.OptionMenu(TDisplayOption::PlusDir)->title(), QStringLiteral("&Plus coordinates: South-West"));
    QCOMPARE(m.OptionMenu(TDisplayOption::Precision)->title(), QStringLiteral("&Display Accuracy: High"));
    QCOMPARE(m.OptionMenu(TDisplayOption::AzimRange)->title(), QString::fromUtf8("Azimuth Range: 0\u00B0..+360\u00B0"));
    QCOMPARE(m.OptionMenu(TDisplayOption::AzimFormat)->title(), QStringLiteral("&Azimuth Format: Deg/Min/Frac"));
    // Either elliptic distance checks the parent item.
    settings.Earth.GeoDistance = false;
    settings.Earth.EllipticArc = true;
    m.ShowSettings(settings);
    QVERIFY(m.mEllDist->menuAction()->isChecked());
    settings.Earth.EllipticArc = false;
    m.ShowSettings(settings);
    QVERIFY(!m.mEllDist->menuAction()->isChecked());
  }

  void ItemSizesFollowTheCaption() {
    const QFontMetrics fm(w_->menuBar()->font());
    const auto text = [&fm](const QString& Caption) {
      return fm.size(Qt::TextShowMnemonic | Qt::TextSingleLine, Caption);
    };
    // Bar: text + 8 (and the check-mark column), text height + 6.
    const QRect file = w_->menuBar()->actionGeometry(w_->Menu().mFile->menuAction());
    const QSize file_text = text(QStringLiteral("&File"));
    QCOMPARE(file.width(), file_text.width() + 8 + navorix::CheckColumnWidth);
    QCOMPARE(file.height(), file_text.height() + 6);
    const QRect data = w_->menuBar()->actionGeometry(w_->Menu().mData->menuAction());
    QCOMPARE(data.left(), file.right() + 1);

    // Drop-down: every item as wide as the widest measure; a submenu item
    // counts 16 more.
    QMenu* options = w_->Menu().mOptions;
    options->popup(QPoint(10, 10));
    QTRY_VERIFY(options->isVisible());
    int widest = 0;
    for (QAction* action : options->actions()) {
      if (action->isSeparator() || !action->isVisible()) continue;
      const QSize t = text(action->text());
      widest = std::max(widest, t.width() + 8 + (action->menu() != nullptr ? 16 : 0) + navorix::CheckColumnWidth);
      QCOMPARE(options->actionGeometry(action).height(), t.height() + 6);
    }
    QCOMPARE(options->actionGeometry(w_->Menu().mEllip).width(), widest);
    QCOMPARE(options->actionGeometry(options->actions().at(6)).height(), navorix::MenuSeparatorHeight);
    options->hide();
  }

  void MenuFontIsVerdana9UntilMenuFontSizeChangesIt() {
    QCOMPARE(w_->menuBar()->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(w_->menuBar()->font().pointSize(), 9);
    QVERIFY(!w_->menuBar()->font().bold());
    const int height = w_->height();
    w_->SetMenuFontSize(12);
    for (QMenu* menu : w_->Menu().AllMenus()) QCOMPARE(menu->font().pointSize(), 12);
    QCOMPARE(w_->menuBar()->font().pointSize(), 12);
    QTRY_VERIFY(w_->height() > height);
    QCOMPARE(w_->Controls().Client->size(), QSize(632, 406));
    w_->SetMenuFontSize(13);
    QCOMPARE(w_->menuBar()->font().pointSize(), 12);
    w_->SetMenuFontSize(7);
    QCOMPARE(w_->menuBar()->font().pointSize(), 7);
  }

  void PaintingOfAnItem() {
    auto* style = qobject_cast<navorix::TNavorixStyle*>(QApplication::style());
    QVERIFY(style != nullptr);
    QMenu* menu = w_->Menu().OptionMenu(TDisplayOption::LatLonFormat);
    QStyleOptionMenuItem item;
    item.initFrom(menu);
    item.palette.setColor(QPalette::Window, Qt::white);
    item.palette.setColor(QPalette::WindowText, Qt::black);
    item.palette.setColor(QPalette::Button, QColor(200, 200, 200));
    item.palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
    item.palette.setColor(QPalette::HighlightedText, Qt::white);
    item.font = menu->font();
    item.fontMetrics = QFontMetrics(item.font);
    item.menuItemType = QStyleOptionMenuItem::Normal;
    item.checkType = QStyleOptionMenuItem::Exclusive;
    item.checked = true;
    item.text = QStringLiteral("&Deg/Frac");
    item.state = QStyle::State_Enabled;
    item.rect = QRect(0, 0, 120, 20);
    const auto paint = [&](const QStyleOptionMenuItem& Option, QStyle::ControlElement Element) {
      QImage image(120, 20, QImage::Format_RGB32);
      image.fill(Qt::magenta);
      QPainter painter(&image);
      style->drawControl(Element, &Option, &painter, nullptr);
      return image;
    };
    const auto is_ink = [](QRgb P) { return qGray(P) < 100; };
    const QImage normal = paint(item, QStyle::CE_MenuItem);
    QCOMPARE(normal.pixel(119, 0), QColor(Qt::white).rgb());
    // The check mark: 7 x 7, 2 pixels from the left, centred: rows 6..12.
    int mark_left = 120, mark_top = 20, mark_bottom = -1, text_left = 120;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 120; ++x) {
        if (!is_ink(normal.pixel(x, y))) continue;
        if (x < navorix::CaptionLeft) {
          mark_left = std::min(mark_left, x);
          mark_top = std::min(mark_top, y);
          mark_bottom = std::max(mark_bottom, y);
        } else {
          text_left = std::min(text_left, x);
        }
      }
    }
    QCOMPARE(mark_left, navorix::CheckMarkLeft);
    QCOMPARE(mark_top, (20 - 7) / 2);
    QCOMPARE(mark_bottom, (20 - 7) / 2 + 6);
    QVERIFY(text_left >= navorix::CaptionLeft && text_left <= navorix::CaptionLeft + 2);

    item.checked = false;
    const QImage unchecked = paint(item, QStyle::CE_MenuItem);
    for (int x = 0; x < navorix::CaptionLeft; ++x) QVERIFY(!is_ink(unchecked.pixel(x, 10)));

    item.state |= QStyle::State_Selected;
    QCOMPARE(paint(item, QStyle::CE_MenuItem).pixel(119, 0), QColor(0, 0, 128).rgb());
    item.state = QStyle::State_Enabled;
    QCOMPARE(paint(item, QStyle::CE_MenuBarItem).pixel(119, 0), QColor(200, 200, 200).rgb());

    // The accelerator letter is underlined: a row of ink under "D" that
    // the same caption without "&" does not have.
    item.text = QStringLiteral("Deg/Frac");
    const QImage plain = paint(item, QStyle::CE_MenuItem);
    item.text = QStringLiteral("&Deg/Frac");
    const QImage marked = paint(item, QStyle::CE_MenuItem);
    bool underline = false;
    for (int y = 0; y < 20 && !underline; ++y) {
      for (int x = navorix::CaptionLeft; x < navorix::CaptionLeft + 6; ++x) {
        if (is_ink(marked.pixel(x, y)) && !is_ink(plain.pixel(x, y))) underline = true;
      }
    }
    QVERIFY(underline);
  }

  void DisabledCaptionsAreGrey() {
    auto* style = QApplication::style();
    QStyleOptionMenuItem item;
    item.initFrom(w_->Menu().mFile);
    item.font = w_->Menu().mFile->font();
    item.fontMetrics = QFontMetrics(item.font);
    item.text = QStringLiteral("&Reload Status");
    item.rect = QRect(0, 0, 140, 20);
    item.state = QStyle::State_None;
    const QColor grey = item.palette.color(QPalette::Disabled, QPalette::WindowText);
    QVERIFY(grey != QColor(Qt::magenta));
    QImage image(140, 20, QImage::Format_RGB32);
    image.fill(Qt::magenta);  // no grey but the caption's
    QPainter painter(&image);
    style->drawControl(QStyle::CE_MenuItem, &item, &painter, nullptr);
    bool found = false;
    for (int y = 0; y < 20 && !found; ++y) {
      for (int x = 12; x < 140 && !found; ++x) found = image.pixelColor(x, y) == grey;
    }
    QVERIFY(found);
  }
};

QTEST_MAIN(MenuTest)
#include "menu_test.moc"
