// The menu commands and the exit question: loading and saving fix files
// with their questions and dialogs, clearing, sorting, the options that
// switch Next Fix, Elliptic Latitude, help and the web page, and leaving the
// program.
#include "session_support.h"
#include "window/dialogs/help_window.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTreeView>

#include "tests/stores/stores_test_support.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

using namespace navorix;
using namespace navorix::test;

namespace {

constexpr const char* Fixes =
    "10 10 ALPHA\r\n"
    "-20.5 120.25 CHARLIE\r\n"
    "30 -30 BRAVO\r\n";

constexpr const char* OtherFile =
    "1 1 XRAY\r\n"
    "2 2 YANKEE\r\n";

constexpr const char* ExitQuestion =
    "ask: You are about to leave Navorix.|Would you like to save the status?";

}  // namespace

class CommandsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Session> s_;
  QStringList dialogDirs_;                    // where the file dialogs started
  navorix::testing::FailingWrites fullDisk_;  // a disk that takes no more bytes

  bool start(const char* fixes) {
    s_ = std::make_unique<Session>();
    return s_->start(fixes);
  }

  // Chooses file in the file dialog, noting where the dialog started and
  // what it offered.
  ModalAnswers::Step choose(const QString& file) {
    return [this, file](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      dialogDirs_ << dialog->directory().absolutePath() + QLatin1Char('|') +
                         dialog->nameFilters().join(QLatin1Char(';'));
      chooseFile(file)(modal);
    };
  }

 private slots:
  void initTestCase() { QApplication::setStyle(new NavorixStyle); }

  void init() { dialogDirs_.clear(); }

  void cleanup() {
    if (s_) s_->verifyAllAnswered();
    s_.reset();
  }

  // ------------------------------------------------------------------ exit

  void exitCancelStaysAndSavesNothing() {
    QVERIFY(start(Fixes));
    s_->answers().then(answerWith(Answer::Cancel));
    s_->menu().exitAction->trigger();
    QCOMPARE(s_->answers().seen(), QStringList{ExitQuestion});
    QVERIFY(s_->window().isVisible());
    QVERIFY(!QFile::exists(s_->path("navorix.ini")));
    QVERIFY(!QFile::exists(s_->dataPath("navorix.his")));
  }

  void exitNoLeavesWithoutSaving() {
    QVERIFY(start(Fixes));
    s_->answers().then(answerWith(Answer::No));
    // The window's close box asks the same.
    s_->window().close();
    QCOMPARE(s_->answers().seen(), QStringList{ExitQuestion});
    QVERIFY(!s_->window().isVisible());
    QVERIFY(!QFile::exists(s_->path("navorix.ini")));
  }

  void exitYesSavesTheStatusAndLeaves() {
    QVERIFY(start(Fixes));
    s_->bench().SelectRow(0);
    s_->bench().DeleteFix();
    s_->answers().then(answerWith(Answer::Yes));
    s_->menu().exitAction->trigger();
    QCOMPARE(s_->answers().seen(), QStringList{ExitQuestion});
    QVERIFY(!s_->window().isVisible());
    const std::string saved = readBytes(s_->dataPath("navorix.fix"));
    QVERIFY2(saved.find("CHARLIE\r\n") != std::string::npos, saved.c_str());
    QVERIFY(saved.find("ALPHA") == std::string::npos);
    QVERIFY(QFile::exists(s_->path("navorix.ini")));
    QVERIFY(QFile::exists(s_->dataPath("navorix.his")));
  }

  void aFailingSaveIsShownAndTheWindowStays() {
    s_ = std::make_unique<Session>();
    QVERIFY(s_->start(Fixes, "one\r\ntwo\r\nthree\r\n", fullDisk_.calls));
    s_->answers().then(answerWith(Answer::Yes));
    for (int i = 0; i < 3; ++i) s_->answers().then(closeErrorBox());
    s_->menu().exitAction->trigger();
    QVERIFY(s_->window().isVisible());
    QVERIFY2(s_->answers().seen().size() == 4, qPrintable(s_->answers().seen().join("\n")));
    QCOMPARE(s_->answers().seen().at(0), QString::fromLatin1(ExitQuestion));
    for (int i = 1; i < 4; ++i) {
      QVERIFY2(s_->answers().seen().at(i).startsWith(QStringLiteral("error: Cannot write navorix.")),
               qPrintable(s_->answers().seen().at(i)));
    }
    QVERIFY(!QFile::exists(s_->path("navorix.ini")));
    QCOMPARE(readBytes(s_->dataPath("navorix.fix")), std::string(Fixes));
    QCOMPARE(readBytes(s_->dataPath("navorix.his")), std::string("one\r\ntwo\r\nthree\r\n"));
    // The user can still leave without saving.
    s_->answers().then(answerWith(Answer::No));
    s_->menu().exitAction->trigger();
    QVERIFY(!s_->window().isVisible());
  }

  // Yes to the exit question, then No to replacing a status file that
  // changed on the disk: what this copy holds is saved nowhere, so the
  // window stays, and says why.
  void exitYesThenNoToReplacingSaysWhyTheWindowStays() {
    QVERIFY(start(Fixes));
    QVERIFY(writeBytes(s_->dataPath("navorix.fix"), OtherFile));
    s_->answers().then(answerWith(Answer::Yes));
    s_->answers().then(answerWith(Answer::No));
    s_->answers().then(closeErrorBox());
    s_->menu().exitAction->trigger();
    QCOMPARE(s_->answers().seen().size(), 3);
    QVERIFY2(s_->answers().seen().at(1).startsWith(QStringLiteral("ask: navorix.fix was changed")),
             qPrintable(s_->answers().seen().at(1)));
    QCOMPARE(s_->answers().seen().at(2),
             QStringLiteral("error: Status not saved in full, so Navorix stays open"));
    QVERIFY(s_->window().isVisible());
    QCOMPARE(readBytes(s_->dataPath("navorix.fix")), std::string(OtherFile));
    QVERIFY(QFile::exists(s_->dataPath("navorix.his")));  // the rest was saved
  }

  // ------------------------------------------------------- reload status

  void reloadStatusAsksOnlyWhenSomethingWouldBeLost() {
    QVERIFY(start(Fixes));
    s_->menu().reloadStatusAction->trigger();  // nothing changed: nothing asked
    QCOMPARE(s_->answers().seen(), QStringList{});
    s_->bench().SelectRow(0);
    s_->bench().DeleteFix();
    s_->answers().then(answerWith(Answer::No));
    s_->menu().reloadStatusAction->trigger();
    QCOMPARE(s_->answers().seen(),
             QStringList{"ask: This will discard the changes made since|the status was last loaded or saved.|"
                         "Do you wish to proceed?"});
    QCOMPARE(s_->fixNames(), (QStringList{"CHARLIE", "BRAVO"}));
    s_->answers().then(answerWith(Answer::Yes));
    s_->menu().reloadStatusAction->trigger();
    QCOMPARE(s_->fixNames(), (QStringList{"ALPHA", "CHARLIE", "BRAVO"}));
    // After a save there is nothing to lose again.
    s_->bench().SelectRow(0);
    s_->bench().DeleteFix();
    s_->menu().saveStatusAction->trigger();
    s_->answers().forget();
    s_->menu().reloadStatusAction->trigger();
    QCOMPARE(s_->answers().seen(), QStringList{});
    QCOMPARE(s_->fixNames(), (QStringList{"CHARLIE", "BRAVO"}));
  }

  // ----------------------------------------------------------- fix files

  // Every kind of loss of one load in one box, each line as it happened.
  void aLoadReportShowsEveryLossInOneBox() {
    QVERIFY(start(nullptr));
    QVERIFY(writeBytes(s_->dataPath("other.fix"), "PARIS 48.8567 2.3522\r\n1 1 XRAY\r\n\r\n2 2 LATE\r\n"));
    s_->answers().then(choose(s_->dataPath("other.fix")));
    s_->answers().then(closeErrorBox());
    s_->menu().loadFixFileAction->trigger();
    QCOMPARE(s_->answers().seen(), (QStringList{"file",
                                                "error: Fix file: 1 unreadable line shown as an empty row\n"
                                                "Fix file: 1 line after the empty line not read"}));
    QCOMPARE(s_->rows(), (QStringList{"", s_->rows().at(1), ""}));
    QCOMPARE(s_->controls().fixCountLabel->text(), QStringLiteral("N = 2"));
  }

  void loadFixFileAsksAboutTheFixesThereAre_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("Yes clears first") << int(Answer::Yes) << QStringList{"XRAY", "YANKEE"};
    QTest::newRow("No appends") << int(Answer::No)
                                << QStringList{"ALPHA", "CHARLIE", "BRAVO", "XRAY", "YANKEE"};
    QTest::newRow("Cancel keeps") << int(Answer::Cancel) << QStringList{"ALPHA", "CHARLIE", "BRAVO"};
  }

  void loadFixFileAsksAboutTheFixesThereAre() {
    QFETCH(int, answer);
    QFETCH(QStringList, names);
    QVERIFY(start(Fixes));
    QVERIFY(writeBytes(s_->dataPath("other.fix"), OtherFile));
    s_->bench().SelectRow(2);
    s_->answers().then(choose(s_->dataPath("other.fix")));
    s_->answers().then(answerWith(static_cast<Answer>(answer)));
    s_->menu().loadFixFileAction->trigger();
    QCOMPARE(
        s_->answers().seen(),
        (QStringList{"file", "ask: Do you wish to clear the fix database|before loading the new file?"}));
    QCOMPARE(dialogDirs_, QStringList{QDir(s_->dataPath("")).absolutePath() + "|Fix files (*.fix)"});
    QCOMPARE(s_->fixNames(), names);
    QCOMPARE(s_->rows().size(), names.size() + 1);
    QCOMPARE(s_->controls().fixCountLabel->text(), QStringLiteral("N = %1").arg(names.size()));
    // After loading the first row is current.
    QCOMPARE(s_->listRow(), static_cast<Answer>(answer) == Answer::Cancel ? 2 : 0);
  }

  // Help and, without a web address given at build time, the web page
  // command show the help file at its first topic.
  void helpAndWebPageShowTheHelpsHomePage() {
    if (*navorix::WebPageAddress != '\0') QSKIP("this build opens a web address");
    QVERIFY(start(Fixes));
    for (QAction* command : {s_->menu().helpAction, s_->menu().webPageAction}) {
      if (HelpWindow* help = s_->controller().help()) help->close();
      command->trigger();
      HelpWindow* help = s_->controller().help();
      QVERIFY(help != nullptr);
      QVERIFY(help->isVisible());
      // The first topic starts the document: at most the page margin above.
      QVERIFY(help->verticalScrollBar()->value() < 10);
    }
    QVERIFY(s_->answers().seen().isEmpty());
  }

  // Every column of the file list shows its whole text, without scrolling
  // sideways, in both dialogs.
  void fixFileDialogsShowEveryColumn() {
    QVERIFY(start(Fixes));
    QVERIFY(writeBytes(s_->dataPath("a-rather-long-fix-file-name.fix"), OtherFile));
    QStringList narrow;
    const auto look = [&narrow](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
      QVERIFY(list != nullptr);
      QTRY_VERIFY(list->model()->rowCount(list->rootIndex()) > 0);
      QTRY_VERIFY(!list->model()->index(0, 3, list->rootIndex()).data().toString().isEmpty());
      // Each text with the margins of its cell, and the icon before a name.
      const QFontMetrics fm(list->font());
      for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
        for (int column = 0; column < 4; ++column) {
          const QModelIndex cell = list->model()->index(row, column, list->rootIndex());
          const int needed = fm.horizontalAdvance(cell.data().toString()) +
                             (column == 0 ? list->iconSize().width() + 12 : 8);
          if (list->header()->sectionSize(column) < needed) narrow << cell.data().toString();
        }
      }
      if (list->horizontalScrollBar()->maximum() > 0) narrow << QStringLiteral("scrolls sideways");
      QVERIFY(dialog->frameGeometry().width() <= dialog->screen()->availableGeometry().width());
      dialog->reject();
    };
    s_->answers().then(look);
    s_->menu().loadFixFileAction->trigger();
    s_->answers().then(look);
    s_->menu().saveFixFileAction->trigger();
    QCOMPARE(narrow, QStringList{});
  }

  void loadIntoAnEmptyDatabaseAsksNothing() {
    QVERIFY(start(nullptr));
    QVERIFY(writeBytes(s_->dataPath("other.fix"), OtherFile));
    s_->answers().then(choose(s_->dataPath("other.fix")));
    s_->menu().loadFixFileAction->trigger();
    QCOMPARE(s_->answers().seen(), QStringList{"file"});
    QCOMPARE(s_->fixNames(), (QStringList{"XRAY", "YANKEE"}));
    // A cancelled dialog loads nothing.
    s_->answers().then(choose(QString()));
    s_->menu().loadFixFileAction->trigger();
    QCOMPARE(s_->fixNames(), (QStringList{"XRAY", "YANKEE"}));
  }

  void savingOverAFileAsksAndNoShowsTheDialogAgain() {
    QVERIFY(start(Fixes));
    const QString oldFile = s_->dataPath("old.fix");
    const QString newFile = s_->dataPath("new.fix");
    QVERIFY(writeBytes(oldFile, "1 1 OLD\r\n"));
    s_->answers().then(choose(oldFile));
    s_->answers().then(answerWith(Answer::No));
    s_->answers().then(choose(newFile));
    s_->menu().saveFixFileAction->trigger();
    QCOMPARE(s_->answers().seen(),
             (QStringList{"file", "ask: This file already exists.|Do you wish to overwrite it?", "file"}));
    QCOMPARE(dialogDirs_.size(), 2);
    QCOMPARE(dialogDirs_.at(0), QDir(s_->dataPath("")).absolutePath() + "|Fix files (*.fix)");
    QCOMPARE(readBytes(oldFile), std::string("1 1 OLD\r\n"));
    const std::string saved = readBytes(newFile);
    QVERIFY2(saved.find("ALPHA\r\n") != std::string::npos && saved.find("BRAVO\r\n") != std::string::npos,
             saved.c_str());

    // Cancel stops; Yes overwrites.
    s_->answers().forget();
    s_->answers().then(choose(oldFile));
    s_->answers().then(answerWith(Answer::Cancel));
    s_->menu().saveFixFileAction->trigger();
    QCOMPARE(s_->answers().seen().size(), 2);
    QCOMPARE(readBytes(oldFile), std::string("1 1 OLD\r\n"));
    s_->answers().then(choose(oldFile));
    s_->answers().then(answerWith(Answer::Yes));
    s_->menu().saveFixFileAction->trigger();
    QCOMPARE(readBytes(oldFile), saved);
  }

  // ------------------------------------------------------------- clearing

  void clearFixesOnAnEmptyDatabaseAsksNothing() {
    QVERIFY(start(nullptr));
    s_->menu().clearFixesAction->trigger();
    QVERIFY(s_->answers().seen().isEmpty());
    QCOMPARE(s_->controls().fixCountLabel->text(), QStringLiteral("N = 0"));
  }

  void clearFixesAsksFirst() {
    QVERIFY(start(Fixes));
    s_->answers().then(answerWith(Answer::No));
    s_->menu().clearFixesAction->trigger();
    QCOMPARE(s_->answers().seen(),
             QStringList{"ask: This will clear the fix database.|Do you wish to proceed?"});
    QCOMPARE(s_->bench().Fixes().Count(), 3);
    s_->answers().then(answerWith(Answer::Yes));
    s_->menu().clearFixesAction->trigger();
    QCOMPARE(s_->bench().Fixes().Count(), 0);
    QCOMPARE(s_->rows(), QStringList{QString()});
  }

  // -------------------------------------------------------------- sorting

  void sortNeedsTwoFixes() {
    QVERIFY(start("1 1 ONLY\r\n"));
    s_->select(1);
    for (QAction* sort :
         {s_->menu().sortByNameAction, s_->menu().sortBySuffixAction, s_->menu().sortByDistanceAction}) {
      sort->trigger();
      QCOMPARE(s_->listRow(), 1);
      QCOMPARE(s_->bench().CurrentRow(), 1);
    }
    QVERIFY(s_->answers().seen().isEmpty());
  }

  void sortLeavesTheFirstRowCurrent() {
    QVERIFY(start(Fixes));
    s_->select(2);
    s_->menu().sortByNameAction->trigger();
    QCOMPARE(s_->fixNames(), (QStringList{"ALPHA", "BRAVO", "CHARLIE"}));
    QCOMPARE(s_->listRow(), 0);
    QCOMPARE(s_->rows().at(1).left(5), QStringLiteral("BRAVO"));
    // By distance from the current fix: the fix itself first.
    s_->select(2);
    s_->menu().sortByDistanceAction->trigger();
    QCOMPARE(s_->fixNames().at(0), QStringLiteral("CHARLIE"));
    QCOMPARE(s_->listRow(), 0);
  }

  // ------------------------------------------------------------ keyboard

  void f10AndTheArrowKeysReachTheMenus() {
    QVERIFY(start(Fixes));
    // The window's own keys (Left, Right, Enter) must not take the menu
    // bar's keys away from it.
    key(Qt::Key_F10);
    QCOMPARE(s_->window().menuBar()->activeAction(), s_->menu().fileMenu->menuAction());
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    QCOMPARE(s_->window().menuBar()->activeAction(), s_->menu().viewMenu->menuAction());
    key(Qt::Key_Right);
    QCOMPARE(s_->window().menuBar()->activeAction(), s_->menu().optionsMenu->menuAction());
    key(Qt::Key_Down);
    QTRY_VERIFY(s_->menu().optionsMenu->isVisible());
    key(Qt::Key_Right);
    QTRY_VERIFY(s_->menu().optionMenu(DisplayOption::LatLonFormat)->isVisible());
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    QTRY_VERIFY(!s_->menu().optionsMenu->isVisible());
    QCOMPARE(s_->bench().Settings().display.latLonFormat, AngleFormat::DegMinSec);
    QCOMPARE(s_->menu().optionMenu(DisplayOption::LatLonFormat)->title(),
             QStringLiteral("Lat/Lon &Format: Deg/Min/Sec"));
    // Nothing else happened on the way.
    QCOMPARE(s_->controls().recordNumberLabel->text(), QStringLiteral("0"));
    QCOMPARE(s_->bench().CurrentRow(), 0);
    QVERIFY(s_->answers().seen().isEmpty());

    // Enter opens the menu the bar is on, and the Data menu is reached so.
    QTRY_COMPARE(QApplication::focusWidget(), s_->list());
    key(Qt::Key_F10);
    key(Qt::Key_Right);
    key(Qt::Key_Return);
    QTRY_VERIFY(s_->menu().dataMenu->isVisible());
    QVERIFY(s_->answers().seen().isEmpty());
    key(Qt::Key_Escape);
    key(Qt::Key_Escape);
    // A letter is the bar's accelerator, not a type-ahead search.
    QTRY_COMPARE(QApplication::focusWidget(), s_->list());
    key(Qt::Key_F10);
    QTest::keyClick(keyTarget(), 's');
    QTRY_VERIFY(s_->menu().sortMenu->isVisible());
    QVERIFY(!s_->controls().searchLabel->isVisible());
    key(Qt::Key_Escape);
    key(Qt::Key_Escape);
  }

  // -------------------------------------------------------------- options

  void degreesDisableNextFixOtherUnitsEnableIt() {
    QVERIFY(start(Fixes));
    QPushButton* next = s_->opButton(OperationTag::NextFix);
    QVERIFY(next->isEnabled());  // km from the defaults
    s_->menu().optionItem(DisplayOption::DistUnits, 3)->trigger();
    QVERIFY(!next->isEnabled());
    QCOMPARE(s_->menu().optionMenu(DisplayOption::DistUnits)->title(),
             QStringLiteral("Distance &Units: Degrees"));
    QVERIFY(s_->menu().optionItem(DisplayOption::DistUnits, 3)->isChecked());
    s_->menu().optionItem(DisplayOption::DistUnits, 2)->trigger();
    QVERIFY(next->isEnabled());
    QCOMPARE(s_->menu().optionMenu(DisplayOption::DistUnits)->title(),
             QStringLiteral("Distance &Units: Naut.Miles"));
    // The ellipsoid switches disable it too.
    s_->menu().ellipticArcAction->trigger();
    QVERIFY(!next->isEnabled());
    QVERIFY(s_->menu().ellipticArcAction->isChecked());
    QVERIFY(s_->menu().ellipticDistancesMenu->menuAction()->isChecked());
  }

  // Every item of every display option's submenu sets the value of its tag
  // in the workbench, checks itself and shows the value in the caption;
  // together the items offer each value once.
  void everyOptionItemSetsItsValue() {
    QVERIFY(start(Fixes));
    for (const DisplayOptionInfo& option : DisplayOptionTable) {
      QMenu* menu = s_->menu().optionMenu(option.option);
      QList<int> tags;
      for (QAction* item : menu->actions()) tags << item->data().toInt();
      std::sort(tags.begin(), tags.end());
      QList<int> values;
      for (int value = 0; value < option.count; ++value) values << value;
      QCOMPARE(tags, values);
      // From the last value down, so that every trigger is a change.
      for (int value = option.count - 1; value >= 0; --value) {
        QAction* item = s_->menu().optionItem(option.option, value);
        item->trigger();
        QCOMPARE(option.get(s_->bench().Settings().display), value);
        QVERIFY(item->isChecked());
        QCOMPARE(menu->title(), toQString(OptionCaption(option.option, s_->bench().Settings().display)));
        QVERIFY(menu->title().startsWith(QString::fromLatin1(option.captionPrefix)));
      }
    }
  }

  void ellipticLatitudeLeavesEveryRowAsItWas_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("accuracy");
    const char* formats[] = {"Deg/Frac", "Deg/Min/Frac", "Deg/Min/Sec", "Infix DMS"};
    const char* accuracies[] = {"Low", "Medium", "High"};
    for (int f = 0; f < 4; ++f) {
      for (int a = 0; a < 3; ++a) {
        QTest::addRow("%s %s", formats[f], accuracies[a]) << f << a;
      }
    }
  }

  void ellipticLatitudeLeavesEveryRowAsItWas() {
    QFETCH(int, format);
    QFETCH(int, accuracy);
    QVERIFY(
        start("89.99999 179.99999 NEARPOLE\r\n"
              "-45.123456 -0.000001 SOUTH\r\n"
              "0.5 0.5 HALF\r\n"
              "33 55.494 CAPE/T\r\n"
              "-89.5 -179.5 FARSOUTH\r\n"
              "12.3456789 98.7654321 ODD\r\n"));
    s_->menu().optionMenu(DisplayOption::LatLonFormat)->actions().at(format)->trigger();
    s_->menu().optionMenu(DisplayOption::Precision)->actions().at(accuracy)->trigger();
    s_->bench().SelectRow(2);
    const QStringList rows = s_->rows();
    const Vector3 before = s_->bench().Fixes().Get(2).position;
    QVERIFY(s_->opButton(OperationTag::NextFix)->isEnabled());
    for (int flip = 0; flip < 2; ++flip) {
      s_->menu().ellipticLatitudeAction->trigger();
      QCOMPARE(s_->menu().ellipticLatitudeAction->isChecked(), flip == 1);
      QCOMPARE(s_->bench().Settings().earth.ellipticLat, flip == 1);
      QCOMPARE(s_->rows(), rows);
      QCOMPARE(s_->listRow(), 2);
      QVERIFY(!s_->opButton(OperationTag::NextFix)->isEnabled());
      // What moves is the place on the Earth.
      const Vector3 now = s_->bench().Fixes().Get(2).position;
      QCOMPARE(now.z != before.z, flip == 0);
    }
  }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
