// The main window's look: every control at its place with its colours,
// fonts, captions and hints; Tab and the Alt accelerators.
#include "operations/catalogue.h"
#include "window/main/fix_row_delegate.h"
#include "window/main/main_window.h"
#include "window/look/navorix_style.h"
#include "window/look/qt_text.h"

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

using navorix::TMainWindow;

namespace {

const QColor Lime(0, 255, 0);
const QColor Aqua(0, 255, 255);
const QColor Yellow(255, 255, 0);
const QColor Black(0, 0, 0);

}  // namespace

class MainWindowTest : public QObject {
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

  void WindowIsFixedWithAClientAreaOf632x406() {
    QCOMPARE(w_->windowTitle(), QStringLiteral("Navorix"));
    const QWidget* client = w_->Controls().Client;
    QCOMPARE(client->size(), QSize(632, 406));
    QCOMPARE(client->y(), w_->menuBar()->height());
    QCOMPARE(w_->minimumSize(), w_->maximumSize());
    QCOMPARE(w_->height(), w_->menuBar()->height() + 406);
    QVERIFY(!(w_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w_->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!w_->windowIcon().isNull());
  }

  void WindowIsCentredAtFirstShow() {
    const QRect screen = w_->screen()->geometry();
    QTRY_COMPARE(w_->frameGeometry().center().x() - screen.center().x(), 0);
    QVERIFY(qAbs(w_->frameGeometry().center().y() - screen.center().y()) <= 1);
  }

  void ControlsStandAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("place");
    const auto row = [](const char* N, const char* P, QRect R) {
      QTest::newRow(N) << QString::fromLatin1(N) << QString::fromLatin1(P) << R;
    };
    row("xDisPanel", "Client", {4, 5, 589, 60});
    row("xLineUp", "Client", {596, 5, 32, 19});
    row("xLinePan", "Client", {596, 24, 32, 22});
    row("xLineDown", "Client", {596, 46, 32, 19});
    row("xListPan", "Client", {4, 70, 488, 296});
    row("xSearch", "xListPan", {149, 113, 185, 29});
    row("xStatPan", "Client", {4, 370, 488, 33});
    row("xNoFix", "xStatPan", {3, 4, 103, 25});
    row("xAdd", "xStatPan", {111, 4, 75, 25});
    row("xEdit", "xStatPan", {188, 4, 75, 25});
    row("xDelete", "xStatPan", {267, 4, 75, 25});
    row("xUndel", "xStatPan", {346, 4, 75, 25});
    row("xUp", "xStatPan", {425, 4, 28, 25});
    row("xDown", "xStatPan", {456, 4, 28, 25});
    row("xOpPanel", "Client", {498, 70, 130, 333});
  }

  void ControlsStandAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, place);
    QWidget* control = w_->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), place);
  }

  void LogDisplay() {
    const auto& c = w_->Controls();
    const QColor inks[3] = {Aqua, Aqua, Yellow};
    for (int i = 0; i < 3; ++i) {
      QLabel* out = c.xOut[static_cast<std::size_t>(i)];
      QCOMPARE(out->objectName(), QStringLiteral("xOut%1").arg(i + 1));
      QCOMPARE(out->parentWidget(), c.xDisPanel);
      QCOMPARE(out->size(), QSize(580, 17));
      QCOMPARE(out->palette().color(QPalette::WindowText), inks[i]);
      QCOMPARE(out->palette().color(QPalette::Window), Black);
      QVERIFY(out->font().bold());
      QVERIFY(QFontMetrics(out->font()).height() <= 16);
      QVERIFY(QRect(QPoint(0, 0), c.xDisPanel->size()).contains(out->geometry()));
    }
    QVERIFY(c.xOut[0]->alignment() & Qt::AlignLeft);
    QVERIFY(c.xOut[2]->alignment() & Qt::AlignRight);
    QCOMPARE(c.xDisPanel->palette().color(QPalette::Window), Black);
    QCOMPARE(c.xDisPanel->frameShadow(), QFrame::Sunken);
    QCOMPARE(c.xLinePan->palette().color(QPalette::WindowText), Lime);
    QCOMPARE(c.xLinePan->palette().color(QPalette::Window), Black);
    QVERIFY(!c.xLineUp->icon().isNull());
    QVERIFY(!c.xLineDown->icon().isNull());
  }

  void FixList() {
    const auto& c = w_->Controls();
    QCOMPARE(c.xList->parentWidget(), c.xListPan);
    QCOMPARE(c.xList->size(), QSize(480, 290));
    QVERIFY(QRect(QPoint(0, 0), c.xListPan->size()).contains(c.xList->geometry()));
    QCOMPARE(c.xList->palette().color(QPalette::Base), Black);
    QCOMPARE(c.xList->palette().color(QPalette::Text), Lime);
    QVERIFY(c.xList->font().bold());
    QCOMPARE(QFontMetrics(c.xList->font()).height(), 18);
    QCOMPARE(c.xList->sizeHintForRow(0), navorix::TFixRowDelegate::RowHeight);
    QCOMPARE(c.xList->sizeHintForRow(0), 16);
    QVERIFY(!(c.xList->focusPolicy() & Qt::TabFocus));
    // The blank row after the last fix.
    QCOMPARE(c.xList->model()->rowCount(), 1);
    QCOMPARE(c.xListPan->palette().color(QPalette::Window), Black);
    QCOMPARE(c.xListPan->frameShadow(), QFrame::Sunken);
    QVERIFY(!c.xSearch->isVisible());
    QCOMPARE(c.xSearch->palette().color(QPalette::Window), Yellow);
    QCOMPARE(c.xSearch->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(c.xSearch->font().bold());
    QCOMPARE(c.xTimer->isSingleShot(), true);
    QVERIFY(!c.xTimer->isActive());
  }

  void ListGetsTheFocusAtFirstShow() {
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w_->Controls().xList));
  }

  void StatusPanel() {
    const auto& c = w_->Controls();
    QCOMPARE(c.xNoFix->text(), QStringLiteral("N = 0"));
    QCOMPARE(c.xNoFix->palette().color(QPalette::WindowText), Lime);
    QCOMPARE(c.xNoFix->palette().color(QPalette::Window), Black);
    QCOMPARE(c.xAdd->text(), QStringLiteral("Add"));
    QCOMPARE(c.xAdd->property("tag").toInt(), 1);
    QCOMPARE(c.xEdit->text(), QStringLiteral("Edit"));
    QCOMPARE(c.xDelete->text(), QStringLiteral("Delete"));
    QCOMPARE(c.xUndel->text(), QStringLiteral("Undelete"));
    QVERIFY(!c.xUndel->isEnabled());
    QVERIFY(!c.xUp->icon().isNull());
    QVERIFY(!c.xDown->icon().isNull());
  }

  void Hints_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    const auto row = [](const char* N, const char* H) {
      QTest::newRow(N) << QString::fromLatin1(N) << QString::fromLatin1(H);
    };
    row("xDisPanel", "Operation log display");
    row("xLineUp", "Show previous log line");
    row("xLinePan", "Log line displayed");
    row("xLineDown", "Show next log line");
    row("xList", "Fix database");
    row("xNoFix", "No. of fixes in the database");
    row("xAdd", "[Ins] Insert new fix into DB\n(above the current one)");
    row("xEdit", "[Enter] Edit current fix ");
    row("xDelete", "[Del] Delete current fix");
    row("xUndel", "[Shft-Ins] Undelete last deleted fix");
    row("xUp", "[Shift-Up] Move fix up");
    row("xDown", "[Shft-Down] Move fix down");
    row("xProx", "Two fixes on a great circle at a given\ndistance from a given fix");
    row("xFixAtD", "Fix at a given distance along a great arc");
  }

  void Hints() {
    QFETCH(QString, name);
    QFETCH(QString, hint);
    QWidget* control = w_->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->toolTip(), hint);
  }

  void HintsAreYellowAndFollowEachOtherAfter200Ms() {
    QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), Yellow);
    QStyle* style = QApplication::style();
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    const int first = style->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, w_->Controls().xAdd);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), w_->Controls().xAdd->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w_->Controls().xAdd, &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), w_->Controls().xAdd->toolTip());
    QCOMPARE(style->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, w_->Controls().xEdit), 200);
    QVERIFY(first > 200);
    QToolTip::hideText();
  }

  void HintsCanBeSwitchedOff() {
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    QCOMPARE(w_->SetHintsShown(false), false);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), w_->Controls().xEdit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w_->Controls().xEdit, &help);
    QTest::qWait(50);
    QVERIFY(!QToolTip::isVisible());
    QCOMPARE(w_->SetHintsShown(true), true);
    QApplication::sendEvent(w_->Controls().xEdit, &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QToolTip::hideText();
  }

  void OperationPanelHoldsTheElevenButtonsInPanelOrder() {
    const auto& c = w_->Controls();
    QCOMPARE(c.xDistGroup->title(), QStringLiteral("  Distance  "));
    int last_top = -100;
    for (std::size_t i = 0; i < navorix::PanelOrder.size(); ++i) {
      const auto tag = static_cast<std::uint8_t>(navorix::PanelOrder[i]);
      const navorix::TOperationInfo* info = navorix::FindOperation(tag);
      QPushButton* button = w_->OperationButton(tag);
      QVERIFY(button != nullptr);
      static const char* const names[] = {"xFFDist", "xAFDist", "xAADist", "xMidp",
                                          "xAzim",   "xFixAtDA", "xProj",  "xInters",
                                          "xNext",   "xProx",    "xFixAtD"};
      QCOMPARE(button->objectName(), QString::fromLatin1(names[tag - 1]));
      QCOMPARE(button->text(), navorix::ToQString(info->Caption));
      QCOMPARE(button->toolTip(), navorix::ToQString(info->Hint));
      QCOMPARE(button->property("tag").toInt(), int(tag));
      QCOMPARE(button->size(), QSize(114, 24));
      QCOMPARE(button->parentWidget() == c.xDistGroup, i < 4);
      const QRect in_panel(button->mapTo(c.xOpPanel, QPoint(0, 0)), button->size());
      QVERIFY2(QRect(QPoint(0, 0), c.xOpPanel->size()).contains(in_panel), qPrintable(button->objectName()));
      QVERIFY2(in_panel.top() > last_top + 24, qPrintable(button->objectName()));
      last_top = in_panel.top();
    }
    QVERIFY(!w_->OperationButton(9)->isEnabled());
    QCOMPARE(w_->OperationButton(0), nullptr);
    QCOMPARE(w_->OperationButton(12), nullptr);
  }

  void TabSkipsTheOperationButtonsAndTheList() {
    const auto& c = w_->Controls();
    c.xAdd->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(c.xAdd));
    QList<QWidget*> visited;
    for (int i = 0; i < 12; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget();
    }
    for (QWidget* widget : visited) {
      QVERIFY(widget != nullptr);
      QVERIFY2(widget->parentWidget() != c.xOpPanel && widget->parentWidget() != c.xDistGroup,
               qPrintable(widget->objectName()));
      QVERIFY(widget != c.xList);
    }
    // The fix buttons take turns: Add, Edit, Delete, (Undelete disabled),
    // Up, Down and round again.
    QCOMPARE(visited.at(0), static_cast<QWidget*>(c.xEdit));
    QCOMPARE(visited.at(1), static_cast<QWidget*>(c.xDelete));
    QCOMPARE(visited.at(2), static_cast<QWidget*>(c.xUp));
    QCOMPARE(visited.at(3), static_cast<QWidget*>(c.xDown));
    QCOMPARE(visited.at(4), static_cast<QWidget*>(c.xAdd));
  }

  void AltAcceleratorsReachTheOperationButtons() {
    w_->OperationButton(9)->setEnabled(true);
    w_->Controls().xList->setFocus();
    for (const auto& info : navorix::OperationCatalogue) {
      const QString caption = navorix::ToQString(info.Caption);
      const QChar letter = caption.at(caption.indexOf(QLatin1Char('&')) + 1).toUpper();
      QPushButton* button = w_->OperationButton(static_cast<std::uint8_t>(info.Tag));
      QSignalSpy clicked(button, &QPushButton::clicked);
      QTest::keyClick(w_->Controls().xList, static_cast<Qt::Key>(letter.unicode()), Qt::AltModifier);
      QTRY_COMPARE_WITH_TIMEOUT(clicked.count(), 1, 1000);
      QVERIFY2(!w_->Menu().mData->isVisible(), qPrintable(caption));
      QVERIFY(QApplication::activePopupWidget() == nullptr);
    }
  }

  void AltDReachesFixAtDAndNotTheDataMenu() {
    QPushButton* fix_at_d = w_->OperationButton(11);
    QCOMPARE(fix_at_d->text(), QStringLiteral("Fix at &D"));
    QCOMPARE(w_->Menu().mData->title(), QStringLiteral("&Data"));
    QSignalSpy clicked(fix_at_d, &QPushButton::clicked);
    // From the list and from a fix button alike.
    for (QWidget* from : {static_cast<QWidget*>(w_->Controls().xList), static_cast<QWidget*>(w_->Controls().xEdit)}) {
      from->setFocus();
      QTest::keyClick(from, Qt::Key_D, Qt::AltModifier);
      QTest::qWait(300);
      QVERIFY(!w_->Menu().mData->isVisible());
      QVERIFY(QApplication::activePopupWidget() == nullptr);
      QCOMPARE(w_->menuBar()->activeAction(), nullptr);
    }
    QCOMPARE(clicked.count(), 2);
  }

  void AltOpensTheOtherMenus() {
    w_->Controls().xList->setFocus();
    QTest::keyClick(w_->Controls().xList, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(w_->Menu().mFile->isVisible());
    QTest::keyClick(w_->Menu().mFile, Qt::Key_Escape);
    QTRY_VERIFY(!w_->Menu().mFile->isVisible());
  }

  void F10AndArrowsReachTheDataMenu() {
    w_->Controls().xList->setFocus();
    QTest::keyClick(w_->Controls().xList, Qt::Key_F10);
    QTRY_COMPARE(w_->menuBar()->activeAction(), w_->Menu().mFile->menuAction());
    QVERIFY(!w_->Menu().mFile->isVisible());
    QTest::keyClick(w_->menuBar(), Qt::Key_Right);
    QCOMPARE(w_->menuBar()->activeAction(), w_->Menu().mData->menuAction());
    QTest::keyClick(w_->menuBar(), Qt::Key_Down);
    QTRY_VERIFY(w_->Menu().mData->isVisible());
    QTest::keyClick(w_->Menu().mData, Qt::Key_Escape);
    QTest::keyClick(w_->menuBar(), Qt::Key_Escape);
  }

  void FixedPitchControlsResolveToFixedPitchFonts() {
    const auto& c = w_->Controls();
    for (QWidget* control : {static_cast<QWidget*>(c.xList), static_cast<QWidget*>(c.xOut[0]),
                             static_cast<QWidget*>(c.xOut[1]), static_cast<QWidget*>(c.xOut[2]),
                             static_cast<QWidget*>(c.xSearch), static_cast<QWidget*>(c.xNoFix),
                             static_cast<QWidget*>(c.xLinePan)}) {
      const QFontInfo info(control->font());
      QVERIFY2(info.fixedPitch(), qPrintable(control->objectName() + QLatin1Char(' ') + info.family()));
      QCOMPARE(control->font().family(), QStringLiteral("Courier New"));
    }
    QCOMPARE(w_->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(w_->font().pointSize(), 9);
  }

  void PropFontSizeChangesTheWindowFontOnly() {
    w_->SetPropFontSize(11);
    QCOMPARE(w_->font().pointSize(), 11);
    QCOMPARE(w_->Controls().xAdd->font().pointSize(), 11);
    QCOMPARE(QFontMetrics(w_->Controls().xList->font()).height(), 18);
    w_->SetPropFontSize(13);
    QCOMPARE(w_->font().pointSize(), 11);
    QCOMPARE(w_->Controls().Client->size(), QSize(632, 406));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
