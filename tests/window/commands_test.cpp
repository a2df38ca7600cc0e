// The menu commands and the exit question: loading and saving fix files
// with their questions and dialogs, clearing, sorting, the options that
// switch Next Fix, Elliptic Latitude, and leaving the program.
#include "session_support.h"

#include "stores/atomic_file.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <cerrno>
#include <cstring>

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

QStringList Names(TWorkbench& Bench) {
  QStringList names;
  for (std::uint16_t pos = 1; pos <= Bench.Fixes().Count(); ++pos) {
    names << ToQString(std::string(Bench.Fixes().Get(pos).Name.View()));
  }
  return names;
}

// A disk that takes no more bytes.
TFileSystemCalls FullDisk() {
  TFileSystemCalls calls = SystemCalls();
  calls.Write = [](int, const void*, std::size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  };
  return calls;
}

}  // namespace

class CommandsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TSession> s_;
  std::unique_ptr<TModalAnswers> answers_;
  QStringList dialogDirs_;  // where the file dialogs started
  const TFileSystemCalls fullDisk_ = FullDisk();

  const TMainMenu& Menu() { return s_->Window().Menu(); }

  bool Start(const char* Fixes) {
    s_ = std::make_unique<TSession>();
    if (Fixes != nullptr && !s_->WriteFixes(Fixes)) return false;
    if (!s_->Start()) return false;
    answers_ = std::make_unique<TModalAnswers>(&s_->Window());
    return true;
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
    if (answers_) {
      QVERIFY2(answers_->Unexpected().isEmpty(), qPrintable(answers_->Unexpected().join(QLatin1Char('\n'))));
      QVERIFY(answers_->AllAnswered());
    }
    answers_.reset();
    s_.reset();
  }

  // ------------------------------------------------------------------ exit

  void ExitCancelStaysAndSavesNothing() {
    QVERIFY(Start(Fixes));
    answers_->Then(Answer(TAnswer::Cancel));
    Menu().mExit->trigger();
    QCOMPARE(answers_->Seen(), QStringList{ExitQuestion});
    QVERIFY(s_->Window().isVisible());
    QVERIFY(!QFile::exists(s_->Path("navorix.ini")));
    QVERIFY(!QFile::exists(s_->DataPath("navorix.his")));
  }

  void ExitNoLeavesWithoutSaving() {
    QVERIFY(Start(Fixes));
    answers_->Then(Answer(TAnswer::No));
    // The window's close box asks the same.
    s_->Window().close();
    QCOMPARE(answers_->Seen(), QStringList{ExitQuestion});
    QVERIFY(!s_->Window().isVisible());
    QVERIFY(!QFile::exists(s_->Path("navorix.ini")));
  }

  void ExitYesSavesTheStatusAndLeaves() {
    QVERIFY(Start(Fixes));
    s_->Bench().SelectRow(0);
    s_->Bench().DeleteFix();
    answers_->Then(Answer(TAnswer::Yes));
    Menu().mExit->trigger();
    QCOMPARE(answers_->Seen(), QStringList{ExitQuestion});
    QVERIFY(!s_->Window().isVisible());
    const std::string saved = ReadBytes(s_->DataPath("navorix.fix"));
    QVERIFY2(saved.find("CHARLIE\r\n") != std::string::npos, saved.c_str());
    QVERIFY(saved.find("ALPHA") == std::string::npos);
    QVERIFY(QFile::exists(s_->Path("navorix.ini")));
    QVERIFY(QFile::exists(s_->DataPath("navorix.his")));
  }

  void AFailingSaveIsShownAndTheWindowStays() {
    s_ = std::make_unique<TSession>();
    QVERIFY(s_->WriteFixes(Fixes));
    QVERIFY(s_->WriteHistory("one\r\ntwo\r\nthree\r\n"));
    QVERIFY(s_->Start(fullDisk_));
    answers_ = std::make_unique<TModalAnswers>(&s_->Window());
    answers_->Then(Answer(TAnswer::Yes));
    for (int i = 0; i < 3; ++i) answers_->Then(CloseErrorBox());
    Menu().mExit->trigger();
    QVERIFY(s_->Window().isVisible());
    QVERIFY2(answers_->Seen().size() == 4, qPrintable(answers_->Seen().join("\n")));
    QCOMPARE(answers_->Seen().at(0), QString::fromLatin1(ExitQuestion));
    for (int i = 1; i < 4; ++i) {
      QVERIFY2(answers_->Seen().at(i).startsWith(QStringLiteral("error: Cannot write navorix.")),
               qPrintable(answers_->Seen().at(i)));
    }
    QVERIFY(!QFile::exists(s_->Path("navorix.ini")));
    QCOMPARE(ReadBytes(s_->DataPath("navorix.fix")), std::string(Fixes));
    QCOMPARE(ReadBytes(s_->DataPath("navorix.his")), std::string("one\r\ntwo\r\nthree\r\n"));
    // The user can still leave without saving.
    answers_->Then(Answer(TAnswer::No));
    Menu().mExit->trigger();
    QVERIFY(!s_->Window().isVisible());
  }

  // ----------------------------------------------------------- fix files

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
    answers_->Then(Choose(s_->DataPath("other.fix")));
    answers_->Then(Answer(static_cast<TAnswer>(answer)));
    Menu().mLoad->trigger();
    QCOMPARE(answers_->Seen(), (QStringList{"file", "ask: Do you wish to clear the fix database|before loading the new file?"}));
    QCOMPARE(dialogDirs_, QStringList{QDir(s_->DataPath("")).absolutePath() + "|Fix files (*.fix)"});
    QCOMPARE(Names(s_->Bench()), names);
    QCOMPARE(s_->Rows().size(), names.size() + 1);
    QCOMPARE(s_->Controls().xNoFix->text(), QStringLiteral("N = %1").arg(names.size()));
    // After loading the first row is current.
    QCOMPARE(s_->ListRow(), static_cast<TAnswer>(answer) == TAnswer::Cancel ? 2 : 0);
  }

  void LoadIntoAnEmptyDatabaseAsksNothing() {
    QVERIFY(Start(nullptr));
    QVERIFY(WriteBytes(s_->DataPath("other.fix"), OtherFile));
    answers_->Then(Choose(s_->DataPath("other.fix")));
    Menu().mLoad->trigger();
    QCOMPARE(answers_->Seen(), QStringList{"file"});
    QCOMPARE(Names(s_->Bench()), (QStringList{"XRAY", "YANKEE"}));
    // A cancelled dialog loads nothing.
    answers_->Then(Choose(QString()));
    Menu().mLoad->trigger();
    QCOMPARE(Names(s_->Bench()), (QStringList{"XRAY", "YANKEE"}));
  }

  void SavingOverAFileAsksAndNoShowsTheDialogAgain() {
    QVERIFY(Start(Fixes));
    const QString old_file = s_->DataPath("old.fix");
    const QString new_file = s_->DataPath("new.fix");
    QVERIFY(WriteBytes(old_file, "1 1 OLD\r\n"));
    answers_->Then(Choose(old_file));
    answers_->Then(Answer(TAnswer::No));
    answers_->Then(Choose(new_file));
    Menu().mSave->trigger();
    QCOMPARE(answers_->Seen(), (QStringList{"file", "ask: This file already exists.|Do you wish to overwrite it?", "file"}));
    QCOMPARE(dialogDirs_.size(), 2);
    QCOMPARE(dialogDirs_.at(0), QDir(s_->DataPath("")).absolutePath() + "|Fix files (*.fix)");
    QCOMPARE(ReadBytes(old_file), std::string("1 1 OLD\r\n"));
    const std::string saved = ReadBytes(new_file);
    QVERIFY2(saved.find("ALPHA\r\n") != std::string::npos && saved.find("BRAVO\r\n") != std::string::npos,
             saved.c_str());

    // Cancel stops; Yes overwrites.
    answers_->Forget();
    answers_->Then(Choose(old_file));
    answers_->Then(Answer(TAnswer::Cancel));
    Menu().mSave->trigger();
    QCOMPARE(answers_->Seen().size(), 2);
    QCOMPARE(ReadBytes(old_file), std::string("1 1 OLD\r\n"));
    answers_->Then(Choose(old_file));
    answers_->Then(Answer(TAnswer::Yes));
    Menu().mSave->trigger();
    QCOMPARE(ReadBytes(old_file), saved);
  }

  // ------------------------------------------------------------- clearing

  void ClearFixesOnAnEmptyDatabaseAsksNothing() {
    QVERIFY(Start(nullptr));
    Menu().mClrFix->trigger();
    QVERIFY(answers_->Seen().isEmpty());
    QCOMPARE(s_->Controls().xNoFix->text(), QStringLiteral("N = 0"));
  }

  void ClearFixesAsksFirst() {
    QVERIFY(Start(Fixes));
    answers_->Then(Answer(TAnswer::No));
    Menu().mClrFix->trigger();
    QCOMPARE(answers_->Seen(), QStringList{"ask: This will clear the fix database.|Do you wish to proceed?"});
    QCOMPARE(s_->Bench().Fixes().Count(), 3);
    answers_->Then(Answer(TAnswer::Yes));
    Menu().mClrFix->trigger();
    QCOMPARE(s_->Bench().Fixes().Count(), 0);
    QCOMPARE(s_->Rows(), QStringList{QString()});
  }

  // -------------------------------------------------------------- sorting

  void SortNeedsTwoFixes() {
    QVERIFY(Start("1 1 ONLY\r\n"));
    s_->List()->setCurrentIndex(s_->List()->model()->index(1, 0));
    for (QAction* sort : {Menu().mSortName, Menu().mSortSuffix, Menu().mSortDist}) {
      sort->trigger();
      QCOMPARE(s_->ListRow(), 1);
      QCOMPARE(s_->Bench().CurrentRow(), 1);
    }
    QVERIFY(answers_->Seen().isEmpty());
  }

  void SortLeavesTheFirstRowCurrent() {
    QVERIFY(Start(Fixes));
    s_->List()->setCurrentIndex(s_->List()->model()->index(2, 0));
    Menu().mSortName->trigger();
    QCOMPARE(Names(s_->Bench()), (QStringList{"ALPHA", "BRAVO", "CHARLIE"}));
    QCOMPARE(s_->ListRow(), 0);
    QCOMPARE(s_->Rows().at(1).left(5), QStringLiteral("BRAVO"));
    // By distance from the current fix: the fix itself first.
    s_->List()->setCurrentIndex(s_->List()->model()->index(2, 0));
    Menu().mSortDist->trigger();
    QCOMPARE(Names(s_->Bench()).at(0), QStringLiteral("CHARLIE"));
    QCOMPARE(s_->ListRow(), 0);
  }

  // ------------------------------------------------------------ keyboard

  void F10AndTheArrowKeysReachTheMenus() {
    QVERIFY(Start(Fixes));
    // The window's own keys (Left, Right, Enter) must not take the menu
    // bar's keys away from it.
    Key(Qt::Key_F10);
    QCOMPARE(s_->Window().menuBar()->activeAction(), Menu().mFile->menuAction());
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    QCOMPARE(s_->Window().menuBar()->activeAction(), Menu().mOptions->menuAction());
    Key(Qt::Key_Down);
    QTRY_VERIFY(Menu().mOptions->isVisible());
    Key(Qt::Key_Right);
    QTRY_VERIFY(Menu().mLatLon->isVisible());
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    QTRY_VERIFY(!Menu().mOptions->isVisible());
    QCOMPARE(s_->Bench().Settings().Display.LatLonFormat, TAngleFormat::DegMinSec);
    QCOMPARE(Menu().mLatLon->title(), QStringLiteral("Lat/Lon &Format: Deg/Min/Sec"));
    // Nothing else happened on the way.
    QCOMPARE(s_->Controls().xLinePan->text(), QStringLiteral("0"));
    QCOMPARE(s_->Bench().CurrentRow(), 0);
    QVERIFY(answers_->Seen().isEmpty());

    // Enter opens the menu the bar is on, and the Data menu is reached so.
    QTRY_COMPARE(QApplication::focusWidget(), s_->List());
    Key(Qt::Key_F10);
    Key(Qt::Key_Right);
    Key(Qt::Key_Return);
    QTRY_VERIFY(Menu().mData->isVisible());
    QVERIFY(answers_->Seen().isEmpty());
    Key(Qt::Key_Escape);
    Key(Qt::Key_Escape);
    // A letter is the bar's accelerator, not a type-ahead search.
    QTRY_COMPARE(QApplication::focusWidget(), s_->List());
    Key(Qt::Key_F10);
    QTest::keyClick(KeyTarget(), 's');
    QTRY_VERIFY(Menu().mSort->isVisible());
    QVERIFY(!s_->Controls().xSearch->isVisible());
    Key(Qt::Key_Escape);
    Key(Qt::Key_Escape);
  }

  // -------------------------------------------------------------- options

  void DegreesDisableNextFixOtherUnitsEnableIt() {
    QVERIFY(Start(Fixes));
    QPushButton* next = s_->OpButton(TOpTag::NextFix);
    QVERIFY(next->isEnabled());  // km from the defaults
    Menu().muDeg->trigger();
    QVERIFY(!next->isEnabled());
    QCOMPARE(Menu().mDist->title(), QStringLiteral("Distance &Units: Degrees"));
    QVERIFY(Menu().muDeg->isChecked());
    Menu().muNmi->trigger();
    QVERIFY(next->isEnabled());
    QCOMPARE(Menu().mDist->title(), QStringLiteral("Distance &Units: Naut.Miles"));
    // The ellipsoid switches disable it too.
    Menu().mEllArc->trigger();
    QVERIFY(!next->isEnabled());
    QVERIFY(Menu().mEllArc->isChecked());
    QVERIFY(Menu().mEllDist->menuAction()->isChecked());
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
    Menu().mLatLon->actions().at(format)->trigger();
    Menu().moAccu->actions().at(accuracy)->trigger();
    s_->Bench().SelectRow(2);
    const QStringList rows = s_->Rows();
    const TTriV before = s_->Bench().Fixes().Get(2).Position;
    QVERIFY(s_->OpButton(TOpTag::NextFix)->isEnabled());
    for (int flip = 0; flip < 2; ++flip) {
      Menu().mEllip->trigger();
      QCOMPARE(Menu().mEllip->isChecked(), flip == 1);
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
