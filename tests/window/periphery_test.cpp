// The about box, the pictures, and the help window with its file.
#include "window/dialogs/about_box.h"
#include "window/dialogs/help_window.h"
#include "window/look/pictures.h"
#include "window_test_support.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

using navorix::AboutBox;
using navorix::HelpWindow;
using navorix::test::whenModal;

namespace {

const QString HelpFile = QStringLiteral(NAVORIX_SOURCE_DIR "/help/navorix.hlp");

}  // namespace

class PeripheryTest : public QObject {
  Q_OBJECT

 private slots:
  void aboutBoxShowsNameAndVersion() {
    AboutBox about(QStringLiteral("1.20"));
    QCOMPARE(about.titleLabel()->text(), QStringLiteral("Navorix"));
    QCOMPARE(about.versionLabel()->text(), QStringLiteral("Version 1.20"));
    QVERIFY(!about.testAttribute(Qt::WA_QuitOnClose));
  }

  void splashShowsAtOnceAndClosesOnItsTimer() {
    AboutBox about(QStringLiteral("1.20"));
    about.showSplash();
    QVERIFY(about.isVisible());
    QVERIFY(!about.isModal());
    about.closeAfter(1000);
    QTest::qWait(600);
    QVERIFY(about.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!about.isVisible(), 2000);
  }

  void splashClosesOnAKeyOrAClick() {
    AboutBox about(QStringLiteral("1.20"));
    about.showSplash();
    about.closeAfter(10000);
    QTest::keyClick(&about, Qt::Key_Space);
    QVERIFY(!about.isVisible());
    about.showSplash();
    QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!about.isVisible());
  }

  void aboutFromTheMenuIsModalAndClosesOnAKey() {
    AboutBox about(QStringLiteral("1.20"));
    whenModal([](QWidget* modal, QWidget*) { QTest::keyClick(modal, Qt::Key_Escape); });
    about.showModal();
    QVERIFY(!about.isVisible());
  }

  void iconsAreDrawnInEverySize() {
    const QIcon icon = navorix::appIcon();
    for (const int size : navorix::AppIconSizes) QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    const QImage rose = navorix::compassRose(64).toImage();
    // The north point is red, the centre dark, the corners clear.
    const QColor north = rose.pixelColor(30, 16);
    QVERIFY2(north.red() > 150 && north.green() < 120, qPrintable(north.name()));
    QCOMPARE(rose.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(navorix::errorIcon().size(), QSize(32, 32));
    QVERIFY(navorix::errorIcon().toImage().pixelColor(16, 3).red() > 150);
  }

  void helpFileHoldsEveryTopic() {
    QFile file(HelpFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    for (const char* topic :
         {"Welcome", "Main_Panel", "Fix_Input", "Operation_Input", "Operations", "Fix_Fix",   "Next_Fix",
          "Arc_Fix", "Arc_Arc",    "Midpoint",  "Azimuth",         "Fix_at_D",   "Fix_at_DA", "Fixes_at_D",
          "Project", "Intersect",  "Formats",   "Earth_Model",     "Menus",      "Files"}) {
      QVERIFY2(html.contains(QStringLiteral("<a name=\"%1\">").arg(QLatin1String(topic))), topic);
    }
    // Every link inside the file leads to one of its topics.
    qsizetype from = 0;
    while ((from = html.indexOf(QStringLiteral("href=\"#"), from)) >= 0) {
      from += 7;
      const QString anchor = html.mid(from, html.indexOf(QLatin1Char('"'), from) - from);
      QVERIFY2(html.contains(QStringLiteral("<a name=\"%1\">").arg(anchor)), qPrintable(anchor));
    }
  }

  void helpWindowOpensAtATopic() {
    HelpWindow help(HelpFile);
    QVERIFY(!help.testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(help.showTopic(QStringLiteral("Welcome")));
    QVERIFY(help.isVisible());
    // The first topic starts the document: at most the page margin above it.
    QVERIFY(help.verticalScrollBar()->value() < 10);
    QVERIFY(help.showTopic(QStringLiteral("Files")));
    QTRY_VERIFY(help.verticalScrollBar()->value() > 0);
    const int files = help.verticalScrollBar()->value();
    QVERIFY(help.showTopic(QStringLiteral("Main_Panel")));
    QTRY_VERIFY(help.verticalScrollBar()->value() > 0);
    QVERIFY(help.verticalScrollBar()->value() < files);
    help.close();
    QVERIFY(!help.isVisible());
  }

  // The window stands on the screen, centred, and Esc or Ctrl+W close it.
  void helpWindowIsCentredAndClosesOnEscOrCtrlW_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Esc") << int(Qt::Key_Escape) << int(Qt::NoModifier);
    QTest::newRow("Ctrl+W") << int(Qt::Key_W) << int(Qt::ControlModifier);
  }
  void helpWindowIsCentredAndClosesOnEscOrCtrlW() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    HelpWindow help(HelpFile);
    QVERIFY(help.showTopic(QStringLiteral("Welcome")));
    QVERIFY(QTest::qWaitForWindowActive(&help));
    const QRect screen = help.screen()->geometry();
    const QRect outer = help.frameGeometry();
    QVERIFY(help.screen()->availableGeometry().contains(outer));
    QVERIFY(qAbs(outer.center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(outer.center().y() - screen.center().y()) <= 1);
    QTest::keyClick(&help, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(!help.isVisible());
  }

  void missingHelpFileShowsNothing() {
    HelpWindow help(QStringLiteral("/nonexistent/navorix.hlp"));
    QVERIFY(!help.showTopic(QStringLiteral("Welcome")));
    QVERIFY(!help.isVisible());
  }
};

QTEST_MAIN(PeripheryTest)
#include "periphery_test.moc"
