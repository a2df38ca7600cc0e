// The main menu: structure, captions, check marks and groups, and the
// measures and colours of its painting.
#include "stores/settings.h"
#include "window/look/navorix_style.h"
#include "window/look/pictures.h"
#include "window/main/main_window.h"
#include "window/main/menu_metrics.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QTest>

using navorix::Accuracy;
using navorix::AngleFormat;
using navorix::AzimRange;
using navorix::DisplayOption;
using navorix::DistUnits;
using navorix::MainWindow;
using navorix::PlusDir;
using navorix::ProgramSettings;

namespace {

// The items of menu as "name" or "-" for a separator, in order.
QStringList items(const QMenu* menu) {
  QStringList out;
  for (const QAction* action : menu->actions())
    out << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
  return out;
}

QStringList captions(const QMenu* menu) {
  QStringList out;
  for (const QAction* action : menu->actions()) {
    if (!action->isSeparator()) out << action->text();
  }
  return out;
}

QList<int> tags(const QMenu* menu) {
  QList<int> out;
  for (const QAction* action : menu->actions()) out << action->data().toInt();
  return out;
}

}  // namespace

class MenuTest : public QObject {
  Q_OBJECT

  MainWindow* w_ = nullptr;

 private slots:
  void initTestCase() { QApplication::setStyle(new navorix::NavorixStyle); }

  void init() {
    w_ = new MainWindow;
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
  }

  void cleanup() {
    delete w_;
    w_ = nullptr;
  }

  void barHoldsTheSixMenus() {
    QStringList titles;
    for (const QAction* action : w_->menuBar()->actions()) titles << action->text();
    QCOMPARE(titles, (QStringList{"&File", "&Data", "&Sort", "&View", "&Options", "&Help"}));
  }

  void fileDataSortAndHelp() {
    const auto& m = w_->menu();
    QCOMPARE(items(m.fileMenu),
             (QStringList{"reloadStatusAction", "saveStatusAction", "-", "loadFixFileAction",
                          "saveFixFileAction", "importFixesAction", "exportFixesAction", "-", "exitAction"}));
    QCOMPARE(captions(m.fileMenu),
             (QStringList{"&Reload Status", "&Save Status", "&Load Fix File...", "S&ave Fix File...",
                          "&Import Fixes...", "Ex&port Fixes...", "E&xit"}));
    QCOMPARE(items(m.dataMenu),
             (QStringList{"deleteLogLineAction", "clearLogAction", "clearFixesAction", "clearAllAction"}));
    QCOMPARE(captions(m.dataMenu),
             (QStringList{"&Delete Log Line", "Clear &Log", "Clear &Fixes", "&Clear All"}));
    QCOMPARE(captions(m.sortMenu), (QStringList{"By &Name", "By &Suffix", "By &Distance"}));
    QCOMPARE(tags(m.sortMenu), (QList<int>{0, 1, 2}));
    QCOMPARE(items(m.helpMenu),
             (QStringList{"helpAction", "webPageAction", "sampleFixesAction", "aboutAction"}));
    QCOMPARE(captions(m.helpMenu),
             (QStringList{"&Help", "Navorix &Web Page", "&Sample Fixes", "&About Navorix"}));
  }

  void optionsInOrderWithTheirSeparators() {
    const auto& m = w_->menu();
    QCOMPARE(items(m.optionsMenu),
             (QStringList{"latLonFormatMenu", "distanceUnitsMenu", "plusCoordinatesMenu", "accuracyMenu",
                          "azimuthRangeMenu", "azimuthFormatMenu", "-", "ellipticDistancesMenu",
                          "ellipticLatitudeAction", "-", "hintsAction", "soundAction"}));
    QCOMPARE(m.optionMenu(DisplayOption::LatLonFormat)->title(), QStringLiteral("Lat/Lon &Format: Deg/Frac"));
    QCOMPARE(m.optionMenu(DisplayOption::DistUnits)->title(), QStringLiteral("Distance &Units: Kilometers"));
    QCOMPARE(m.optionMenu(DisplayOption::PlusDir)->title(), QStringLiteral("&Plus coordinates: North-East"));
    QCOMPARE(m.optionMenu(DisplayOption::Precision)->title(), QStringLiteral("&Display Accuracy: Low"));
    QCOMPARE(m.optionMenu(DisplayOption::AzimRange)->title(),
             QString::fromUtf8("Azimuth Range: -180\u00B0..+180\u00B0"));
    QCOMPARE(m.optionMenu(DisplayOption::AzimFormat)->title(), QStringLiteral("&Azimuth Format: Deg/Frac"));
    QCOMPARE(m.ellipticDistancesMenu->title(), QStringLiteral("Elliptic D&istances"));
    QCOMPARE(m.ellipticLatitudeAction->text(), QStringLiteral("&Elliptic Latitude"));
    QCOMPARE(m.hintsAction->text(), QStringLiteral("&Balloon Hints"));
    QCOMPARE(m.soundAction->text(), QStringLiteral("&Sound"));
  }

  void plusCoordinatesIsPresentButHidden() {
    const auto& m = w_->menu();
    QVERIFY(!m.optionMenu(DisplayOption::PlusDir)->menuAction()->isVisible());
    QCOMPARE(captions(m.optionMenu(DisplayOption::PlusDir)),
             (QStringList{"&North-East", "North-&West", "South-&East", "&South-West"}));
    QCOMPARE(tags(m.optionMenu(DisplayOption::PlusDir)), (QList<int>{0, 1, 2, 3}));
  }

  void submenuItemsTagsAndExclusiveGroups() {
    const auto& m = w_->menu();
    QCOMPARE(captions(m.optionMenu(DisplayOption::LatLonFormat)),
             (QStringList{"&Deg/Frac", "Deg/&Min/Frac", "Deg/Min/&Sec", "&Infix DMS"}));
    QCOMPARE(tags(m.optionMenu(DisplayOption::LatLonFormat)), (QList<int>{0, 1, 2, 3}));
    QCOMPARE(captions(m.optionMenu(DisplayOption::DistUnits)),
             (QStringList{"&Kilometers", "&Miles", "&Naut. Miles", "&Degrees"}));
    QCOMPARE(tags(m.optionMenu(DisplayOption::DistUnits)), (QList<int>{0, 1, 2, 3}));
    QCOMPARE(captions(m.optionMenu(DisplayOption::Precision)), (QStringList{"&Low", "&Medium", "&High"}));
    QCOMPARE(captions(m.optionMenu(DisplayOption::AzimRange)),
             (QStringList{QString::fromUtf8(" 0\u00B0..+&360\u00B0"),
                          QString::fromUtf8("-&180\u00B0..+180\u00B0")}));
    QCOMPARE(tags(m.optionMenu(DisplayOption::AzimRange)), (QList<int>{1, 0}));
    QCOMPARE(captions(m.optionMenu(DisplayOption::AzimFormat)),
             (QStringList{"&Deg/Frac", "Deg/&Min/Frac", "Deg/Min/&Sec"}));
    QCOMPARE(captions(m.ellipticDistancesMenu), (QStringList{"&Elliptic Great Arc", "&Geodesic Line"}));

    for (const auto& submenu : m.optionMenus) {
      QVERIFY(submenu.group->isExclusive());
      QVERIFY(submenu.group->checkedAction() != nullptr);
    }
    QVERIFY(m.optionItem(DisplayOption::LatLonFormat, 0)->isChecked());
    m.optionItem(DisplayOption::LatLonFormat, 2)->setChecked(true);
    QVERIFY(!m.optionItem(DisplayOption::LatLonFormat, 0)->isChecked());
    QCOMPARE(m.optionMenus[Index(DisplayOption::LatLonFormat)].group->checkedAction(),
             m.optionItem(DisplayOption::LatLonFormat, 2));
    QVERIFY(m.optionItem(DisplayOption::AzimRange, 0)->isChecked());
    QVERIFY(m.optionItem(DisplayOption::DistUnits, 0)->isChecked());
    QVERIFY(m.optionItem(DisplayOption::Precision, 0)->isChecked());
  }

  void togglesStartAsWithoutSettings() {
    const auto& m = w_->menu();
    for (QAction* a : {m.ellipticLatitudeAction, m.hintsAction, m.soundAction}) {
      QVERIFY(a->isCheckable());
      QVERIFY(a->isChecked());
    }
    for (QAction* a : {m.ellipticArcAction, m.geodesicAction, m.ellipticDistancesMenu->menuAction()}) {
      QVERIFY(a->isCheckable());
      QVERIFY(!a->isChecked());
    }
  }

  void optionsShowTheSettings() {
    auto& m = w_->menu();
    ProgramSettings settings;
    settings.display.latLonFormat = AngleFormat::InfixDMS;
    settings.display.distUnits = DistUnits::Degrees;
    settings.display.plusDir = PlusDir::SouthWest;
    settings.display.precision = Accuracy::High;
    settings.display.azimRange = AzimRange::Zero360;
    settings.display.azimFormat = AngleFormat::DegMinFrac;
    settings.earth.geoDistance = true;
    settings.earth.ellipticLat = false;
    settings.interface.sound = false;
    m.showSettings(settings);
    for (QAction* checked :
         {m.optionItem(DisplayOption::LatLonFormat, 3), m.optionItem(DisplayOption::DistUnits, 3),
          m.optionItem(DisplayOption::PlusDir, 3), m.optionItem(DisplayOption::Precision, 2),
          m.optionItem(DisplayOption::AzimRange, 1), m.optionItem(DisplayOption::AzimFormat, 1),
          m.geodesicAction, m.ellipticDistancesMenu->menuAction(), m.hintsAction}) {
      QVERIFY2(checked->isChecked(), qPrintable(checked->objectName()));
    }
    for (QAction* clear :
         {m.optionItem(DisplayOption::LatLonFormat, 0), m.optionItem(DisplayOption::DistUnits, 0),
          m.optionItem(DisplayOption::PlusDir, 0), m.optionItem(DisplayOption::Precision, 0),
          m.optionItem(DisplayOption::AzimRange, 0), m.optionItem(DisplayOption::AzimFormat, 0),
          m.ellipticArcAction, m.ellipticLatitudeAction, m.soundAction}) {
      QVERIFY2(!clear->isChecked(), qPrintable(clear->objectName()));
    }
    QCOMPARE(m.optionMenu(DisplayOption::LatLonFormat)->title(),
             QStringLiteral("Lat/Lon &Format: Infix DMS"));
    QCOMPARE(m.optionMenu(DisplayOption::DistUnits)->title(), QStringLiteral("Distance &Units: Degrees"));
    QCOMPARE(m.optionMenu(DisplayOption::PlusDir)->title(), QStringLiteral("&Plus coordinates: South-West"));
    QCOMPARE(m.optionMenu(DisplayOption::Precision)->title(), QStringLiteral("&Display Accuracy: High"));
    QCOMPARE(m.optionMenu(DisplayOption::AzimRange)->title(),
             QString::fromUtf8("Azimuth Range: 0\u00B0..+360\u00B0"));
    QCOMPARE(m.optionMenu(DisplayOption::AzimFormat)->title(),
             QStringLiteral("&Azimuth Format: Deg/Min/Frac"));
    // Either elliptic distance checks the parent item.
    settings.earth.geoDistance = false;
    settings.earth.ellipticArc = true;
    m.showSettings(settings);
    QVERIFY(m.ellipticDistancesMenu->menuAction()->isChecked());
    settings.earth.ellipticArc = false;
    m.showSettings(settings);
    QVERIFY(!m.ellipticDistancesMenu->menuAction()->isChecked());
  }

  void itemSizesFollowTheCaption() {
    const QFontMetrics fm(w_->menuBar()->font());
    const auto text = [&fm](const QString& caption) {
      return fm.size(Qt::TextShowMnemonic | Qt::TextSingleLine, caption);
    };
    // Bar: text + 8 (and the check-mark column), text height + 6.
    const QRect file = w_->menuBar()->actionGeometry(w_->menu().fileMenu->menuAction());
    const QSize fileText = text(QStringLiteral("&File"));
    QCOMPARE(file.width(), fileText.width() + 8 + navorix::CheckColumnWidth);
    QCOMPARE(file.height(), fileText.height() + 6);
    const QRect data = w_->menuBar()->actionGeometry(w_->menu().dataMenu->menuAction());
    QCOMPARE(data.left(), file.right() + 1);

    // Drop-down: every item as wide as the widest measure; a submenu item
    // counts 16 more.
    QMenu* options = w_->menu().optionsMenu;
    options->popup(QPoint(10, 10));
    QTRY_VERIFY(options->isVisible());
    int widest = 0;
    for (QAction* action : options->actions()) {
      if (action->isSeparator() || !action->isVisible()) continue;
      const QSize t = text(action->text());
      widest =
          std::max(widest, t.width() + 8 + (action->menu() != nullptr ? 16 : 0) + navorix::CheckColumnWidth);
      QCOMPARE(options->actionGeometry(action).height(), t.height() + 6);
    }
    QCOMPARE(options->actionGeometry(w_->menu().ellipticLatitudeAction).width(), widest);
    QCOMPARE(options->actionGeometry(options->actions().at(6)).height(), navorix::MenuSeparatorHeight);
    options->hide();
  }

  void menuFontIsVerdana9UntilMenuFontSizeChangesIt() {
    QCOMPARE(w_->menuBar()->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(w_->menuBar()->font().pointSize(), 9);
    QVERIFY(!w_->menuBar()->font().bold());
    const int height = w_->height();
    w_->setMenuFontSize(12);
    for (QMenu* menu : w_->menu().allMenus()) QCOMPARE(menu->font().pointSize(), 12);
    QCOMPARE(w_->menuBar()->font().pointSize(), 12);
    QTRY_VERIFY(w_->height() > height);
    QCOMPARE(w_->controls().client->size(), QSize(632, 406));
    w_->setMenuFontSize(13);
    QCOMPARE(w_->menuBar()->font().pointSize(), 12);
    w_->setMenuFontSize(7);
    QCOMPARE(w_->menuBar()->font().pointSize(), 7);
  }

  void paintingOfAnItem() {
    auto* style = qobject_cast<navorix::NavorixStyle*>(QApplication::style());
    QVERIFY(style != nullptr);
    QMenu* menu = w_->menu().optionMenu(DisplayOption::LatLonFormat);
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
    const auto paint = [&](const QStyleOptionMenuItem& option, QStyle::ControlElement element) {
      QImage image(120, 20, QImage::Format_RGB32);
      image.fill(Qt::magenta);
      QPainter painter(&image);
      style->drawControl(element, &option, &painter, nullptr);
      return image;
    };
    const auto isInk = [](QRgb P) { return qGray(P) < 100; };
    const QImage normal = paint(item, QStyle::CE_MenuItem);
    QCOMPARE(normal.pixel(119, 0), QColor(Qt::white).rgb());
    // The check mark: 7 x 7, 2 pixels from the left, centred: rows 6..12.
    int markLeft = 120, markTop = 20, markBottom = -1, textLeft = 120;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 120; ++x) {
        if (!isInk(normal.pixel(x, y))) continue;
        if (x < navorix::CaptionLeft) {
          markLeft = std::min(markLeft, x);
          markTop = std::min(markTop, y);
          markBottom = std::max(markBottom, y);
        } else {
          textLeft = std::min(textLeft, x);
        }
      }
    }
    QCOMPARE(markLeft, navorix::CheckMarkLeft);
    QCOMPARE(markTop, (20 - 7) / 2);
    QCOMPARE(markBottom, (20 - 7) / 2 + 6);
    QVERIFY(textLeft >= navorix::CaptionLeft && textLeft <= navorix::CaptionLeft + 2);

    item.checked = false;
    const QImage unchecked = paint(item, QStyle::CE_MenuItem);
    for (int x = 0; x < navorix::CaptionLeft; ++x) QVERIFY(!isInk(unchecked.pixel(x, 10)));

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
        if (isInk(marked.pixel(x, y)) && !isInk(plain.pixel(x, y))) underline = true;
      }
    }
    QVERIFY(underline);
  }

  void disabledCaptionsAreGrey() {
    auto* style = QApplication::style();
    QStyleOptionMenuItem item;
    item.initFrom(w_->menu().fileMenu);
    item.font = w_->menu().fileMenu->font();
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
