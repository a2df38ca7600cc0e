// The main window's look: every control at its place with its colours,
// fonts, captions and hints; Tab and the Alt accelerators.
#include "window/main/main_window.h"
#include "operations/catalogue.h"
#include "window/look/navorix_style.h"
#include "window/look/qt_text.h"
#include "window/main/fix_row_delegate.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>

using navorix::MainWindow;

namespace {

const QColor Lime(0, 255, 0);
const QColor Aqua(0, 255, 255);
const QColor Yellow(255, 255, 0);
const QColor Black(0, 0, 0);

}  // namespace

class MainWindowTest : public QObject {
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

  void windowIsFixedWithAClientAreaOf632x406() {
    QCOMPARE(w_->windowTitle(), QStringLiteral("Navorix"));
    const QWidget* client = w_->controls().client;
    QCOMPARE(client->size(), QSize(632, 406));
    QCOMPARE(client->y(), w_->menuBar()->height());
    QCOMPARE(w_->minimumSize(), w_->maximumSize());
    QCOMPARE(w_->height(), w_->menuBar()->height() + 406);
    QVERIFY(!(w_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w_->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!w_->windowIcon().isNull());
  }

  void windowIsCentredAtFirstShow() {
    const QRect screen = w_->screen()->geometry();
    QTRY_COMPARE(w_->frameGeometry().center().x() - screen.center().x(), 0);
    QVERIFY(qAbs(w_->frameGeometry().center().y() - screen.center().y()) <= 1);
  }

  void controlsStandAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("place");
    const auto row = [](const char* N, const char* P, QRect R) {
      QTest::newRow(N) << QString::fromLatin1(N) << QString::fromLatin1(P) << R;
    };
    row("logPanel", "Client", {4, 5, 589, 60});
    row("previousRecordButton", "Client", {596, 5, 32, 19});
    row("recordNumberLabel", "Client", {596, 24, 32, 22});
    row("nextRecordButton", "Client", {596, 46, 32, 19});
    row("fixListFrame", "Client", {4, 70, 488, 296});
    row("searchLabel", "fixListFrame", {149, 113, 185, 29});
    row("fixPanel", "Client", {4, 370, 488, 33});
    row("fixCountLabel", "fixPanel", {3, 4, 103, 25});
    row("addButton", "fixPanel", {111, 4, 75, 25});
    row("editButton", "fixPanel", {188, 4, 75, 25});
    row("deleteButton", "fixPanel", {267, 4, 75, 25});
    row("undeleteButton", "fixPanel", {346, 4, 75, 25});
    row("moveUpButton", "fixPanel", {425, 4, 28, 25});
    row("moveDownButton", "fixPanel", {456, 4, 28, 25});
    row("operationPanel", "Client", {498, 70, 130, 333});
  }

  void controlsStandAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, place);
    QWidget* control = w_->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), place);
  }

  void logDisplay() {
    const auto& c = w_->controls();
    const QColor inks[3] = {Aqua, Aqua, Yellow};
    for (int i = 0; i < 3; ++i) {
      QLabel* out = c.logLines[static_cast<std::size_t>(i)];
      QCOMPARE(out->objectName(), QStringLiteral("logLine%1").arg(i + 1));
      QCOMPARE(out->parentWidget(), c.logPanel);
      QCOMPARE(out->size(), QSize(580, 17));
      QCOMPARE(out->palette().color(QPalette::WindowText), inks[i]);
      QCOMPARE(out->palette().color(QPalette::Window), Black);
      QVERIFY(out->font().bold());
      QVERIFY(QFontMetrics(out->font()).height() <= 16);
      QVERIFY(QRect(QPoint(0, 0), c.logPanel->size()).contains(out->geometry()));
    }
    QVERIFY(c.logLines[0]->alignment() & Qt::AlignLeft);
    QVERIFY(c.logLines[2]->alignment() & Qt::AlignRight);
    QCOMPARE(c.logPanel->palette().color(QPalette::Window), Black);
    QCOMPARE(c.logPanel->frameShadow(), QFrame::Sunken);
    QCOMPARE(c.recordNumberLabel->palette().color(QPalette::WindowText), Lime);
    QCOMPARE(c.recordNumberLabel->palette().color(QPalette::Window), Black);
    QVERIFY(!c.previousRecordButton->icon().isNull());
    QVERIFY(!c.nextRecordButton->icon().isNull());
  }

  void fixList() {
    const auto& c = w_->controls();
    QCOMPARE(c.fixList->parentWidget(), c.fixListFrame);
    QCOMPARE(c.fixList->size(), QSize(480, 290));
    QVERIFY(QRect(QPoint(0, 0), c.fixListFrame->size()).contains(c.fixList->geometry()));
    QCOMPARE(c.fixList->palette().color(QPalette::Base), Black);
    QCOMPARE(c.fixList->palette().color(QPalette::Text), Lime);
    QVERIFY(c.fixList->font().bold());
    QCOMPARE(QFontMetrics(c.fixList->font()).height(), 18);
    QCOMPARE(c.fixList->sizeHintForRow(0), navorix::FixRowDelegate::RowHeight);
    QCOMPARE(c.fixList->sizeHintForRow(0), 16);
    QVERIFY(!(c.fixList->focusPolicy() & Qt::TabFocus));
    // The blank row after the last fix.
    QCOMPARE(c.fixList->model()->rowCount(), 1);
    QCOMPARE(c.fixListFrame->palette().color(QPalette::Window), Black);
    QCOMPARE(c.fixListFrame->frameShadow(), QFrame::Sunken);
    QVERIFY(!c.searchLabel->isVisible());
    QCOMPARE(c.searchLabel->palette().color(QPalette::Window), Yellow);
    QCOMPARE(c.searchLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(c.searchLabel->font().bold());
    QCOMPARE(c.searchTimer->isSingleShot(), true);
    QVERIFY(!c.searchTimer->isActive());
  }

  void listGetsTheFocusAtFirstShow() {
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w_->controls().fixList));
  }

  void statusPanel() {
    const auto& c = w_->controls();
    QCOMPARE(c.fixCountLabel->text(), QStringLiteral("N = 0"));
    QCOMPARE(c.fixCountLabel->palette().color(QPalette::WindowText), Lime);
    QCOMPARE(c.fixCountLabel->palette().color(QPalette::Window), Black);
    QCOMPARE(c.addButton->text(), QStringLiteral("Add"));
    QCOMPARE(c.addButton->property("tag").toInt(), 1);
    QCOMPARE(c.editButton->text(), QStringLiteral("Edit"));
    QCOMPARE(c.deleteButton->text(), QStringLiteral("Delete"));
    QCOMPARE(c.undeleteButton->text(), QStringLiteral("Undelete"));
    QVERIFY(!c.undeleteButton->isEnabled());
    QVERIFY(!c.moveUpButton->icon().isNull());
    QVERIFY(!c.moveDownButton->icon().isNull());
  }

  void hints_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    const auto row = [](const char* N, const char* H) {
      QTest::newRow(N) << QString::fromLatin1(N) << QString::fromLatin1(H);
    };
    row("logPanel", "Operation log display");
    row("previousRecordButton", "Show previous log line");
    row("recordNumberLabel", "Log line displayed");
    row("nextRecordButton", "Show next log line");
    row("fixList", "Fix database");
    row("fixCountLabel", "No. of fixes in the database");
    row("addButton", "[Ins] Insert new fix into DB\n(above the current one)");
    row("editButton", "[Enter] Edit current fix ");
    row("deleteButton", "[Del] Delete current fix");
    row("undeleteButton", "[Shft-Ins] Undelete last deleted fix");
    row("moveUpButton", "[Shift-Up] Move fix up");
    row("moveDownButton", "[Shft-Down] Move fix down");
    row("proximityButton", "Two fixes on a great circle at a given\ndistance from a given fix");
    row("fixAtDistButton", "Fix at a given distance along a great arc");
  }

  void hints() {
    QFETCH(QString, name);
    QFETCH(QString, hint);
    QWidget* control = w_->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->toolTip(), hint);
  }

  void hintsAreYellowAndFollowEachOtherAfter200Ms() {
    QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), Yellow);
    QStyle* style = QApplication::style();
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    const int first = style->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, w_->controls().addButton);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), w_->controls().addButton->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w_->controls().addButton, &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), w_->controls().addButton->toolTip());
    QCOMPARE(style->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, w_->controls().editButton), 200);
    QVERIFY(first > 200);
    QToolTip::hideText();
  }

  void hintsCanBeSwitchedOff() {
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    QCOMPARE(w_->setHintsShown(false), false);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), w_->controls().editButton->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w_->controls().editButton, &help);
    QTest::qWait(50);
    QVERIFY(!QToolTip::isVisible());
    QCOMPARE(w_->setHintsShown(true), true);
    QApplication::sendEvent(w_->controls().editButton, &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QToolTip::hideText();
  }

  void operationPanelHoldsTheElevenButtonsInPanelOrder() {
    const auto& c = w_->controls();
    QCOMPARE(c.distanceGroup->title(), QStringLiteral("  Distance  "));
    int lastTop = -100;
    for (std::size_t i = 0; i < navorix::PanelOrder.size(); ++i) {
      const auto tag = static_cast<std::uint8_t>(navorix::PanelOrder[i]);
      const navorix::OperationInfo* info = navorix::FindOperation(tag);
      QPushButton* button = w_->operationButton(tag);
      QVERIFY(button != nullptr);
      static const char* const names[] = {"fixFixButton",     "arcFixButton",       "arcArcButton",
                                          "midpointButton",   "azimuthButton",      "fixAtDistAzimButton",
                                          "projectionButton", "intersectionButton", "nextFixButton",
                                          "proximityButton",  "fixAtDistButton"};
      QCOMPARE(button->objectName(), QString::fromLatin1(names[tag - 1]));
      QCOMPARE(button->text(), navorix::toQString(info->caption));
      QCOMPARE(button->toolTip(), navorix::toQString(info->hint));
      QCOMPARE(button->property("tag").toInt(), int(tag));
      QCOMPARE(button->size(), QSize(114, 24));
      QCOMPARE(button->parentWidget() == c.distanceGroup, i < 4);
      const QRect inPanel(button->mapTo(c.operationPanel, QPoint(0, 0)), button->size());
      QVERIFY2(QRect(QPoint(0, 0), c.operationPanel->size()).contains(inPanel),
               qPrintable(button->objectName()));
      QVERIFY2(inPanel.top() > lastTop + 24, qPrintable(button->objectName()));
      lastTop = inPanel.top();
    }
    QVERIFY(!w_->operationButton(9)->isEnabled());
    QCOMPARE(w_->operationButton(0), nullptr);
    QCOMPARE(w_->operationButton(12), nullptr);
  }

  void tabSkipsTheOperationButtonsAndTheList() {
    const auto& c = w_->controls();
    c.addButton->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(c.addButton));
    QList<QWidget*> visited;
    for (int i = 0; i < 12; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget();
    }
    for (QWidget* widget : visited) {
      QVERIFY(widget != nullptr);
      QVERIFY2(widget->parentWidget() != c.operationPanel && widget->parentWidget() != c.distanceGroup,
               qPrintable(widget->objectName()));
      QVERIFY(widget != c.fixList);
    }
    // The fix buttons take turns: Add, Edit, Delete, (Undelete disabled),
    // Up, Down and round again.
    QCOMPARE(visited.at(0), static_cast<QWidget*>(c.editButton));
    QCOMPARE(visited.at(1), static_cast<QWidget*>(c.deleteButton));
    QCOMPARE(visited.at(2), static_cast<QWidget*>(c.moveUpButton));
    QCOMPARE(visited.at(3), static_cast<QWidget*>(c.moveDownButton));
    QCOMPARE(visited.at(4), static_cast<QWidget*>(c.addButton));
  }

  void altAcceleratorsReachTheOperationButtons() {
    w_->operationButton(9)->setEnabled(true);
    w_->controls().fixList->setFocus();
    for (const auto& info : navorix::OperationCatalogue) {
      const QString caption = navorix::toQString(info.caption);
      const QChar letter = caption.at(caption.indexOf(QLatin1Char('&')) + 1).toUpper();
      QPushButton* button = w_->operationButton(static_cast<std::uint8_t>(info.tag));
      QSignalSpy clicked(button, &QPushButton::clicked);
      QTest::keyClick(w_->controls().fixList, static_cast<Qt::Key>(letter.unicode()), Qt::AltModifier);
      QTRY_COMPARE_WITH_TIMEOUT(clicked.count(), 1, 1000);
      QVERIFY2(!w_->menu().dataMenu->isVisible(), qPrintable(caption));
      QVERIFY(QApplication::activePopupWidget() == nullptr);
    }
  }

  void altDReachesFixAtDAndNotTheDataMenu() {
    QPushButton* fixAtD = w_->operationButton(11);
    QCOMPARE(fixAtD->text(), QStringLiteral("Fix at &D"));
    QCOMPARE(w_->menu().dataMenu->title(), QStringLiteral("&Data"));
    QSignalSpy clicked(fixAtD, &QPushButton::clicked);
    // From the list and from a fix button alike.
    for (QWidget* from :
         {static_cast<QWidget*>(w_->controls().fixList), static_cast<QWidget*>(w_->controls().editButton)}) {
      from->setFocus();
      QTest::keyClick(from, Qt::Key_D, Qt::AltModifier);
      QTest::qWait(300);
      QVERIFY(!w_->menu().dataMenu->isVisible());
      QVERIFY(QApplication::activePopupWidget() == nullptr);
      QCOMPARE(w_->menuBar()->activeAction(), nullptr);
    }
    QCOMPARE(clicked.count(), 2);
  }

  void altOpensTheOtherMenus() {
    w_->controls().fixList->setFocus();
    QTest::keyClick(w_->controls().fixList, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(w_->menu().fileMenu->isVisible());
    QTest::keyClick(w_->menu().fileMenu, Qt::Key_Escape);
    QTRY_VERIFY(!w_->menu().fileMenu->isVisible());
  }

  void f10AndArrowsReachTheDataMenu() {
    w_->controls().fixList->setFocus();
    QTest::keyClick(w_->controls().fixList, Qt::Key_F10);
    QTRY_COMPARE(w_->menuBar()->activeAction(), w_->menu().fileMenu->menuAction());
    QVERIFY(!w_->menu().fileMenu->isVisible());
    QTest::keyClick(w_->menuBar(), Qt::Key_Right);
    QCOMPARE(w_->menuBar()->activeAction(), w_->menu().dataMenu->menuAction());
    QTest::keyClick(w_->menuBar(), Qt::Key_Down);
    QTRY_VERIFY(w_->menu().dataMenu->isVisible());
    QTest::keyClick(w_->menu().dataMenu, Qt::Key_Escape);
    QTest::keyClick(w_->menuBar(), Qt::Key_Escape);
  }

  void fixedPitchControlsResolveToFixedPitchFonts() {
    const auto& c = w_->controls();
    for (QWidget* control : {static_cast<QWidget*>(c.fixList), static_cast<QWidget*>(c.logLines[0]),
                             static_cast<QWidget*>(c.logLines[1]), static_cast<QWidget*>(c.logLines[2]),
                             static_cast<QWidget*>(c.searchLabel), static_cast<QWidget*>(c.fixCountLabel),
                             static_cast<QWidget*>(c.recordNumberLabel)}) {
      const QFontInfo info(control->font());
      QVERIFY2(info.fixedPitch(), qPrintable(control->objectName() + QLatin1Char(' ') + info.family()));
      QCOMPARE(control->font().family(), QStringLiteral("Courier New"));
    }
    QCOMPARE(w_->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(w_->font().pointSize(), 9);
  }

  void propFontSizeChangesTheWindowFontOnly() {
    w_->setPropFontSize(11);
    QCOMPARE(w_->font().pointSize(), 11);
    QCOMPARE(w_->controls().addButton->font().pointSize(), 11);
    QCOMPARE(QFontMetrics(w_->controls().fixList->font()).height(), 18);
    w_->setPropFontSize(13);
    QCOMPARE(w_->font().pointSize(), 11);
    QCOMPARE(w_->controls().client->size(), QSize(632, 406));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
