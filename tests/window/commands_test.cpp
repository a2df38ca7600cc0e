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

constexpr const char* ExitQuestion = "ask: You are about to leave Navorix.|Would you like to save the status?";

}  // namespace

class CommandsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TSession> s_;
  QStringList dialogDirs_;  // where the file dialogs started
  navorix::testing::TFailingWrites fullDisk_;  // a disk that takes no more bytes

  bool Start(const char* Fixes) {
    s_ = std::make_unique<TSession>();
    return s_->Start(Fixes);
  }

  // Chooses File in the file dialog, noting where the dialog started and
  // what it offered.
  TModalAnswers::TStep Choose(const QString& File) {
    return [this, File](QWidget* Modal) {
      auto* dialog = qobject_cast<QFileDialog*>(Modal);
      QVERIFY(dialog != nullptr);
      dialogDirs_ << dialog->directory().absolutePath() + QLatin1Char('|') + dialog->nameFilters().join(QLatin1Char(';'));
      ChooseFile(File)(Modal);
    };
  }

 private slots:
  void initTestCase() {
    QApplication::setStyle(new TNavorixStyle);
  }

  void init() { dialogDirs_.clear(); }

  void cleanup() {
    if (s_) s_->VerifyAllAnswered();
    s_.reset();
  }

  // ------------------------------------------------------------------ exit

  void ExitCancelStaysAndSavesNothing() {
    QVERIFY(Start(Fixes));
    s_->Answers().Then(Answer(TAnswer::Cancel));
    s_->Menu().mExit->trigger();
    QCOMPARE(s_->Answers().Seen(), QStringList{ExitQuestion});
    QVERIFY(s_->Window().isVisible());
    QVERIFY(!QFile::exists(s_->Path("navorix.ini")));
    QVERIFY(!QFile::exists(s_->DataPath("navorix.his")));
  }

  void ExitNoLeavesWithoutSaving() {
    QVERIFY(Start(Fixes));
    s_->Answers().Then(Answer(TAnswer::No));
    // The window's close box asks the same.
    s_->Window().close();
    QCOMPARE(s_->Answers().Seen(), QStringList{ExitQuestion});
    QVERIFY(!s_->Window().isVisible());
    QVERIFY(!QFile::exists(s_->Path("navorix.ini")));
  }

  void ExitYesSavesTheStatusAndLeaves() {
    QVERIFY(Start(Fixes));
    s_->Bench().SelectRow(0);
    s_->Bench().DeleteFix();
    s_->Answers().Then(Answer(TAnswer::Yes));
    s_->Menu().mExit->trigger();
    QCOMPARE(s_->Answers().Seen(), QStringList{ExitQuestion});
    QVERIFY(!s_->Window().isVisible());
    const std::string saved = ReadBytes(s_->DataPath("navorix.fix"));
    QVERIFY2(saved.find("CHARLIE\r\n") != std::string::npos, saved.c_str());
    QVERIFY(saved.find("ALPHA") == std::string::npos);
    QVERIFY(QFile::exists(s_->Path("navorix.ini")));
    QVERIFY(QFile::exists(s_->DataPath("navorix.his")));
  }

  void AFailingSaveIsShownAndTheWindowStays() {
    s_ = std::make_unique<TSession>();
    QVERIFY(s_->Start(Fixes, "one\r\ntwo\r\nthree\r\n", fullDisk_.Calls));
    s_->Answers().Then(Answer(TAnswer::Yes));
    for (int i = 0; i < 3; ++i) s_->Answers().Then(CloseErrorBox());
    s_->Menu().mExit->trigger();
    QVERIFY(s_->Window().isVisible());
    QVERIFY2(s_->Answers().Seen().size() == 4, qPrintable(s_->Answers().Seen().join("\n")));
    QCOMPARE(s_->Answers().Seen().at(0), QString::fromLatin1(ExitQuestion));
    for (int i = 1; i < 4; ++i) {
      QVERIFY2(s_->Answers().Seen().at(i).startsWith(QStringLiteral("error: Cannot write navorix.")),
               qPrintable(s_->Answers().Seen().at(i)));
    }
    QVERIFY(!QFile::exists(s_->Path("navorix.ini")));
    QCOMPARE(ReadBytes(s_->DataPath("navorix.fix")), std::string(Fixes));
    QCOMPARE(ReadBytes(s_->DataPath("navorix.his")), std::string("one\r\ntwo\r\nthree\r\n"));
    // The user can still leave without saving.
    s_->Answers().Then(Answer(TAnswer::No));
    s_->Menu().mExit->trigger();
    QVERIFY(!s_->Window().isVisible());
  }

  // Yes to the exit question, then No to replacing a status file that
  // changed on the disk: what this copy holds is saved nowhere, so the
  // window stays, and says why.
  void ExitYesThenNoToReplacingSaysWhyTheWindowStays() {
    QVERIFY(Start(Fixes));
    QVERIFY(WriteBytes(s_->DataPath("navorix.fix"), OtherFile));
    s_->Answers().Then(Answer(TAnswer::Yes));
    s_->Answers().Then(Answer(TAnswer::No));
    s_->Answers().Then(CloseErrorBox());
    s_->Menu().mExit->trigger();
    QCOMPARE(s_->Answers().Seen().size(), 3);
    QVERIFY2(s_->Answers().Seen().at(1).startsWith(QStringLiteral("ask: navorix.fix was changed")),
             qPrintable(s_->Answers().Seen().at(1)));
    QCOMPARE(s_->Answers().Seen().at(2), QStringLiteral("error: Status not saved in full, so Navorix stays open"));
    QVERIFY(s_->Window().isVisible());
    QCOMPARE(ReadBytes(s_->DataPath("navorix.fix")), std::string(OtherFile));
    QVERIFY(QFile::exists(s_->DataPath("navorix.his")));  // the rest was saved
  }

  // ------------------------------------------------------- reload status

  void ReloadStatusAsksOnlyWhenSomethingWouldBeLost() {
    QVERIFY(Start(Fixes));
    s_->Menu().mReload->trigger();  // nothing changed: nothing asked
    QCOMPARE(s_->Answers().Seen(), QStringList{});
    s_->Bench().SelectRow(0);
    s_->Bench().DeleteFix();
    s_->Answers().Then(Answer(TAnswer::No));
    s_->Menu().mReload->trigger();
    QCOMPARE(s_->Answers().Seen(),
             QStringList{"ask: This will discard the changes made since|the status was last loaded or saved.|"
                         "Do you wish to proceed?"});
    QCOMPARE(s_->FixNames(), (QStringList{"CHARLIE", "BRAVO"}));
    s_->Answers().Then(Answer(TAnswer::Yes));
    s_->Menu().mReload->trigger();
    QCOMPARE(s_->FixNames(), (QStringList{"ALPHA", "CHARLIE", "BRAVO"}));
    // After a save there is nothing to lose again.
    s_->Bench().SelectRow(0);
    s_->Bench().DeleteFix();
    s_->Menu().mSaveStat->trigger();
    s_->Answers().Forget();
    s_->Menu().mReload->trigger();
    QCOMPARE(s_->Answers().Seen(), QStringList{});
    QCOMPARE(s_->FixNames(), (QStringList{"CHARLIE", "BRAVO"}));
  }

  // ----------------------------------------------------------- fix files

  // Every kind of loss of one load in one box, each line as it happened.
  void ALoadReportShowsEveryLossInOneBox() {
    QVERIFY(Start(nullptr));
    QVERIFY(WriteBytes(s_->DataPath("other.fix"), "PARIS 48.8567 2.3522\r\n1 1 XRAY\r\n\r\n2 2 LATE\r\n"));
    s_->Answers().Then(Choose(s_->DataPath("other.fix")));
    s_->Answers().Then(CloseErrorBox());
    s_->Menu().mLoad->trigger();
    QCOMPARE(s_->Answers().Seen(),
             (QStringList{"file", "error: Fix file: 1 unreadable line shown as an empty row\n"
                                  "Fix file: 1 line after the empty line not read"}));
    QCOMPARE(s_->Rows(), (QStringList{"", s_->Rows().at(1), ""}));
    QCOMPARE(s_->Controls().xNoFix->text(), QStringLiteral("N = 2"));
  }

  void LoadFixFileAsksAboutTheFixesThereAre_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("Yes clears first") << int(TAnswer::Yes) << QStringList{"XRAY", "YANKEE"};
    QTest::newRow("No appends") << int(TAnswer::No)
                                << QStringList{"ALPHA", "CHARLIE", "BRAVO", "XRAY", "YANKEE"};
    QTest::newRow("Cancel keeps") << int(TAnswer::Cancel) << QStringList{"ALPHA", "CHARLIE", "BRAVO"};
  }

  void LoadFixFileAsksAboutTheFixesThereAre() {
    QFETCH(int, answer);
    QFETCH(QStringList, names);
    QVERIFY(Start(Fixes));
    QVERIFY(WriteBytes(s_->DataPath("other.fix"), OtherFile));
    s_->Bench().SelectRow(2);
    s_->Answers().Then(Choose(s_->DataPath("other.fix")));
    s_->Answers().Then(Answer(static_cast<TAnswer>(answer)));
    s_->Menu().mLoad->trigger();
    QCOMPARE(s_->Answers().Seen(),
             (QStringList{"file", "ask: Do you wish to clear the fix database|before loading the new file?"}));
    QCOMPARE(dialogDirs_, QStringList{QDir(s_->DataPath("")).absolutePath() + "|Fix files (*.fix)"});
    QCOMPARE(s_->FixNames(), names);
    QCOMPARE(s_->Rows().size(), names.size() + 1);
    QCOMPARE(s_->Controls().xNoFix->text(), QStringLiteral("N = %1").arg(names.size()));
    // After loading the first row is current.
    QCOMPARE(s_->ListRow(), static_cast<TAnswer>(answer) == TAnswer::Cancel ? 2 : 0);
  }

  // Help and, without a web address given at build time, the web page
  // command show the help file at its first topic.
  void HelpAndWebPageShowTheHelpsHomePage() {
    if (*navorix::WebPageAddress != '\0') QSKIP("this build opens a web address");
    QVERIFY(Start(Fixes));
    for (QAction* command : {s_->Menu().mHelp, s_->Menu().xWeb}) {
      if (THelpWindow* help = s_->Controller().Help()) help->close();
      command->trigger();
      THelpWindow* help = s_->Controller().Help();
      QVERIFY(help != nullptr);
      QVERIFY(help->isVisible());
      // The first topic starts the document: at most the page margin above.
      QVERIFY(help->verticalScrollBar()->value() < 10);
    }
    QVERIFY(s_->Answers().Seen().isEmpty());
  }

  // Every column of the file list shows its whole text, without scrolling
  // sideways, in both dialogs.
  void FixFileDialogsShowEveryColumn() {
    QVERIFY(Start(Fixes));
    QVERIFY(WriteBytes(s_->DataPath("a-rather-long-fix-file-name.fix"), OtherFile));
    QStringList narrow;
    const auto look = [&narrow](QWidget* Modal) {
      auto* dialog = qobject_cast<QFileDialog*>(Modal);
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
    s_->Answers().Then(look);
    s_->Menu().mLoad->trigger();
    s_->Answers().Then(look);
    s_->Menu().mSave->trigger();
    QCOMPARE(narrow, QStringList{});
  }

  void LoadIntoAnEmptyDatabaseAsksNothing() {
    QVERIFY(Start(nullptr));
    QVERIFY(WriteBytes(s_->DataPath("other.fix"), OtherFile));
    s_->Answers().Then(Choose(s_->DataPath("other.fix")));
    s_->Menu().mLoad->trigger();
    QCOMPARE(s_->Answers().Seen(), QStringList{"file"});
    QCOMPARE(s_->FixNames(), (QStringList{"XRAY", "YANKEE"}));
    // A cancelled dialog loads nothing.
    s_->Answers().Then(Choose(QString()));
    s_->Menu().mLoad->trigger();
    QCOMPARE(s_->FixNames(), (QStringList{"XRAY", "YANKEE"}));
  }

  void SavingOverAFileAsksAndNoShowsTheDialogAgain() {
    QVERIFY(Start(Fixes));
    const QString old_file = s_->DataPath("old.fix");
    const QString new_file = s_->DataPath("new.fix");
    QVERIFY(WriteBytes(old_file, "1 1 OLD\r\n"));
    s_->Answers().Then(Choose(old_file));
    s_->Answers().Then(Answer(TAnswer::No));
    s_->Answers().Then(Choose(new_file));
    s_->Menu().mSave->trigger();
    QCOMPARE(s_->Answers().Seen(),
             (QStringList{"file", "ask: This file already exists.|Do you wish to overwrite it?", "file"}));
    QCOMPARE(dialogDirs_.size(), 2);
    QCOMPARE(dialogDirs_.at(0), QDir(s_->DataPath("")).absolutePath() + "|Fix files (*.fix)");
    QCOMPARE(ReadBytes(old_file), std::string("1 1 OLD\r\n"));
    const std::string saved = ReadBytes(new_file);
    QVERIFY2(saved.find("ALPHA\r\n") != std::string::npos && saved.find("BRAVO\r\n") != std::string::npos,
             saved.c_str());

    // Cancel stops; Yes overwrites.
    s_->Answers().Forget();
    s_->Answers().Then(Choose(old_file));
    s_->Answers().Then(Answer(TAnswer::Cancel));
    s_->Menu().mSave->trigger();
    QCOMPARE(s_->Answers().Seen().size(), 2);
    QCOMPARE(ReadBytes(old_file), std::string("1 1 OLD\r\n"));
    s_->Answers().Then(Choose(old_file));
    s_->Answers().Then(Answer(TAnswer::Yes));
    s_->Menu().mSave->trigger();
    QCOMPARE(ReadBytes(old_file), saved);
  }

  // ------------------------------------------------------------- clearing

  void ClearFixesOnAnEmptyDatabaseAsksNothing() {
    QVERIFY(Start(nullptr));
    s_->Menu().mClrFix->trigger();
    QVERIFY(s_->Answers().Seen().isEmpty());
    QCOMPARE(s_->Controls().xNoFix->text(), QStringLiteral("N = 0"));
  }

  void ClearFixesAsksFirst() {
    QVERIFY(Start(Fixes));
    s_->Answers().Then(Answer(TAnswer::No));
    s_->Menu().mClrFix->trigger();
    QCOMPARE(s_->Answers().Seen(), QStringList{"ask: This will clear the fix database.|Do you wish to proceed?"});
    QCOMPARE(s_->Bench().Fixes().Count(), 3);
    s_->Answers().Then(Answer(TAnswer::Yes));
    s_->Menu().mClrFix->trigger();
    QCOMPARE(s_->Bench().Fixes().Count(), 0);
    QCOMPARE(s_->Rows(), QStringList{QString()});
  }

  // -------------------------------------------------------------- sorting

  void SortNeedsTwoFixes() {
    QVERIFY(Start("1 1 ONLY\r\n"));
    s_->Select(1);
    for (QAction* sort : {s_->Menu().mSortName, s_->Menu().mSortSuffix, s_->Menu().mSortDist}) {
      sort->trigger();
      QCOMPARE(s_->ListRow(), 1);
      QCOMPARE(s_->Bench().CurrentRow(), 1);
    }
    QVERIFY(s_->Answers().Seen().isEmpty());
  }

  void SortLeavesTheFirstRowCurrent() {
    QVERIFY(Start(Fixes));
    s_->Select(2);
    s_->Menu().mSortName->trigger();
    QCOMPARE(s_->FixNames(), (QStringList{"ALPHA", "BRAVO", "CHARLIE"}));
    QCOMPARE(s_->ListRow(), 0);
    QCOMPARE(s_->Rows().at(1).left(5), QStringLiteral("BRAVO"));
    // By distance from the current fix: the fix itself first.
    s_->Select(2);
    s_->Menu().mSortDist->trigger();
    QCOMPARE(s_->FixNames().at(0), QStringLiteral("CHARLIE"));
    QCOMPARE(s_->ListRow(), 0);
  }

  // ------------------------------------------------------------ keyboard

  void F10AndTheArrowKeysReachTheMenus() {
    QVERIFY(Start(Fixes));
    // The window's own keys (Left, Right, Enter) must not take the menu
    // bar's keys away from it.
    Key(Qt::Key_F10);
    QCOMPARE(s_->Window().menuBar()->activeAction(), s_->Menu().mFile->menuAction());
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    QCOMPARE(s_->Window().menuBar()->activeAction(), s_->Menu().mView->menuAction());
    Key(Qt::Key_Right);
    QCOMPARE(s_->Window().menuBar()->activeAction(), s_->Menu().mOptions->menuAction());
    Key(Qt::Key_Down);
    QTRY_VERIFY(s_->Menu().mOptions->isVisible());
    Key(Qt::Key_Right);
    QTRY_VERIFY(s_->Menu().OptionMenu(TDisplayOption::LatLonFormat)->isVisible());
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    QTRY_VERIFY(!s_->Menu().mOptions->isVisible());
    QCOMPARE(s_->Bench().Settings().Display.LatLonFormat, TAngleFormat::DegMinSec);
    QCOMPARE(s_->Menu().OptionMenu(TDisplayOption::LatLonFormat)->title(), QStringLiteral("Lat/Lon &Format: Deg/Min/Sec"));
    // Nothing else happened on the way.
    QCOMPARE(s_->Controls().xLinePan->text(), QStringLiteral("0"));
    QCOMPARE(s_->Bench().CurrentRow(), 0);
    QVERIFY(s_->Answers().Seen().isEmpty());

    // Enter opens the menu the bar is on, and the Data menu is reached so.
    QTRY_COMPARE(QApplication::focusWidget(), s_->List());
    Key(Qt::Key_F10);
    Key(Qt::Key_Right);
    Key(Qt::Key_Return);
    QTRY_VERIFY(s_->Menu().mData->isVisible());
    QVERIFY(s_->Answers().Seen().isEmpty());
    Key(Qt::Key_Escape);
    Key(Qt::Key_Escape);
    // A letter is the bar's accelerator, not a type-ahead search.
    QTRY_COMPARE(QApplication::focusWidget(), s_->List());
    Key(Qt::Key_F10);
    QTest::keyClick(KeyTarget(), 's');
    QTRY_VERIFY(s_->Menu().mSort->isVisible());
    QVERIFY(!s_->Controls().xSearch->isVisible());
    Key(Qt::Key_Escape);
    Key(Qt::Key_Escape);
  }

  // -------------------------------------------------------------- options

  void DegreesDisableNextFixOtherUnitsEnableIt() {
    QVERIFY(Start(Fixes));
    QPushButton* next = s_->OpButton(TOpTag::NextFix);
    QVERIFY(next->isEnabled());  // km from the defaults
    s_->Menu().OptionItem(TDisplayOption::DistUnits, 3)->trigger();
    QVERIFY(!next->isEnabled());
    QCOMPARE(s_->Menu().OptionMenu(TDisplayOption::DistUnits)->title(), QStringLiteral("Distance &Units: Degrees"));
    QVERIFY(s_->Menu().OptionItem(TDisplayOption::DistUnits, 3)->isChecked());
    s_->Menu().OptionItem(TDisplayOption::DistUnits, 2)->trigger();
    QVERIFY(next->isEnabled());
    QCOMPARE(s_->Menu().OptionMenu(TDisplayOption::DistUnits)->title(), QStringLiteral("Distance &Units: Naut.Miles"));
    // The ellipsoid switches disable it too.
    s_->Menu().mEllArc->trigger();
    QVERIFY(!next->isEnabled());
    QVERIFY(s_->Menu().mEllArc->isChecked());
    QVERIFY(s_->Menu().mEllDist->menuAction()->isChecked());
  }

  // Every item of every display option's submenu sets the value of its tag
  // in the workbench, checks itself and shows the value in the caption;
  // together the items offer each value once.
  void EveryOptionItemSetsItsValue() {
    QVERIFY(Start(Fixes));
    for (const TDisplayOptionInfo& option : DisplayOptionTable) {
      QMenu* menu = s_->Menu().OptionMenu(option.Option);
      QList<int> tags;
      for (QAction* item : menu->actions()) tags << item->data().toInt();
      std::sort(tags.begin(), tags.end());
      QList<int> values;
      for (int value = 0; value < option.Count; ++value) values << value;
      QCOMPARE(tags, values);
      // From the last value down, so that every trigger is a change.
      for (int value = option.Count - 1; value >= 0; --value) {
        QAction* item = s_->Menu().OptionItem(option.Option, value);
        item->trigger();
        QCOMPARE(option.Get(s_->Bench().Settings().Display), value);
        QVERIFY(item->isChecked());
        QCOMPARE(menu->title(), ToQString(OptionCaption(option.Option, s_->Bench().Settings().Display)));
        QVERIFY(menu->title().startsWith(QString::fromLatin1(option.CaptionPrefix)));
      }
    }
  }

  void EllipticLatitudeLeavesEveryRowAsItWas_data() {
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

  void EllipticLatitudeLeavesEveryRowAsItWas() {
    QFETCH(int, format);
    QFETCH(int, accuracy);
    QVERIFY(Start("89.99999 179.99999 NEARPOLE\r\n"
                  "-45.123456 -0.000001 SOUTH\r\n"
                  "0.5 0.5 HALF\r\n"
                  "33 55.494 CAPE/T\r\n"
                  "-89.5 -179.5 FARSOUTH\r\n"
                  "12.3456789 98.7654321 ODD\r\n"));
    s_->Menu().OptionMenu(TDisplayOption::LatLonFormat)->actions().at(format)->trigger();
    s_->Menu().OptionMenu(TDisplayOption::Precision)->actions().at(accuracy)->trigger();
    s_->Bench().SelectRow(2);
    const QStringList rows = s_->Rows();
    const TTriV before = s_->Bench().Fixes().Get(2).Position;
    QVERIFY(s_->OpButton(TOpTag::NextFix)->isEnabled());
    for (int flip = 0; flip < 2; ++flip) {
      s_->Menu().mEllip->trigger();
      QCOMPARE(s_->Menu().mEllip->isChecked(), flip == 1);
      QCOMPARE(s_->Bench().Settings().Earth.EllipticLat, flip == 1);
      QCOMPARE(s_->Rows(), rows);
      QCOMPARE(s_->ListRow(), 2);
      QVERIFY(!s_->OpButton(TOpTag::NextFix)->isEnabled());
      // What moves is the place on the Earth.
      const TTriV now = s_->Bench().Fixes().Get(2).Position;
      QCOMPARE(now.z != before.z, flip == 0);
    }
  }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
