// Fixes of other programs in the window: the File commands with their
// dialogs and question, the report box that scrolls, the sample fixes, and
// the clipboard keys, which must reach the workbench whatever has the
// focus in the main window and leave the key table's keys alone.
#include "session_support.h"
#include "window/exchange/exchange_commands.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>

using namespace navorix;
using namespace navorix::test;

namespace {

constexpr const char* Fixes =
    "10 10 ALPHA\r\n"
    "-20.5 120.25 CHARLIE\r\n"
    "30 -30 BRAVO\r\n";

// Notes what the report box shows and closes it with OK.
TModalAnswers::TStep ReadReport(QString* Shown, bool* Scrolls = nullptr) {
  return [Shown, Scrolls](QWidget* Modal) {
    auto* box = qobject_cast<TEntryReportBox*>(Modal);
    if (box == nullptr) return;
    *Shown = box->Text();
    if (Scrolls != nullptr) {
      auto* text = box->findChild<QPlainTextEdit*>(QStringLiteral("xReport"));
      *Scrolls = text != nullptr && text->verticalScrollBar()->maximum() > 0;
    }
    box->accept();
  };
}

}  // namespace

class ExchangeWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TSession> s_;

  bool Start(const char* Fixes) {
    s_ = std::make_unique<TSession>();
    return s_->Start(Fixes);
  }

 private slots:
  void initTestCase() { QApplication::setStyle(new TNavorixStyle); }

  void cleanup() {
    if (s_) s_->VerifyAllAnswered();
    s_.reset();
  }

  void ImportAsksLikeLoadingAndShowsEveryRenamedAndRefusedEntry() {
    QVERIFY(Start(Fixes));
    std::string csv = "name,lat,lon\r\nalpha,1,2\r\n";
    // More lines than the box shows at once: it scrolls.
    for (int i = 0; i < 40; ++i) csv += "Bad " + std::to_string(i) + ",95,0\r\n";
    QVERIFY(WriteBytes(s_->DataPath("in.csv"), csv));
    QString shown;
    bool scrolls = false;
    s_->Answers().Then(ChooseFile(s_->DataPath("in.csv")));
    s_->Answers().Then(Answer(TAnswer::No));
    s_->Answers().Then(ReadReport(&shown, &scrolls));
    s_->Menu().mImport->trigger();
    const QStringList seen = s_->Answers().Seen();
    QCOMPARE(seen.size(), 3);
    QCOMPARE(seen[1], QStringLiteral("ask: Do you wish to clear the fix database|before importing the fixes?"));
    QCOMPARE(s_->FixNames(), (QStringList{"ALPHA", "CHARLIE", "BRAVO", "ALPHA-2"}));
    QCOMPARE(s_->ListRow(), 3);
    const QStringList lines = shown.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 42);
    QCOMPARE(lines[0], QStringLiteral("CSV: 1 fix imported, 1 renamed, 40 refused"));
    QCOMPARE(lines[1], QStringLiteral("line 2: \"alpha\" renamed ALPHA-2, the name was in use"));
    QCOMPARE(lines[41], QStringLiteral("line 42: refused, latitude \"95\" is beyond 90 degrees"));
    QVERIFY(scrolls);
  }

  void ExportWritesTheFormatOfTheChosenExtension() {
    QVERIFY(Start(Fixes));
    s_->Answers().Then(ChooseFile(s_->DataPath("out.geojson")));
    s_->Menu().mExport->trigger();
    const std::string json = ReadBytes(s_->DataPath("out.geojson"));
    QVERIFY(json.find("\"coordinates\": [120.25, -20.5]") != std::string::npos);
    QVERIFY(json.find("\"name\": \"CHARLIE\"") != std::string::npos);
  }

  void SampleFixesAreAppended() {
    QVERIFY(Start(Fixes));
    QString shown;
    s_->Answers().Then(ReadReport(&shown));
    s_->Menu().mSamples->trigger();
    QVERIFY(s_->Bench().Fixes().Count() > 200);
    QVERIFY(shown.startsWith(QStringLiteral("fix lines: ")));
    QVERIFY(!shown.contains(QStringLiteral("refused")));
    QVERIFY(s_->FixNames().contains(QStringLiteral("PARIS")));
    QCOMPARE(s_->FixNames().mid(0, 3), (QStringList{"ALPHA", "CHARLIE", "BRAVO"}));
  }

  void ClipboardKeysCopyTheRecordAndTheFixAndPasteAfterTheCurrentRow() {
    QVERIFY(Start(Fixes));
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText(QStringLiteral("untouched"));
    // No record shown: Ctrl+C copies nothing.
    QTest::keyClick(s_->List(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("untouched"));
    s_->Bench().SelectRow(1);
    QTest::keyClick(s_->List(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QString line = clipboard->text();
    QVERIFY(line.endsWith(QStringLiteral(" CHARLIE")));
    // Pasted back after the current row, under a free name.
    QString shown;
    s_->Answers().Then(ReadReport(&shown));
    QTest::keyClick(s_->List(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(s_->FixNames(), (QStringList{"ALPHA", "CHARLIE", "CHARLIE-2", "BRAVO"}));
    QCOMPARE(s_->ListRow(), 2);
    QCOMPARE(s_->Rows()[2].mid(16), s_->Rows()[1].mid(16));
    QVERIFY(shown.startsWith(QStringLiteral("fix lines: 1 fix imported, 1 renamed")));
    // A shown record: its three lines, as the log shows them.
    s_->Answers().Then(FillOperands({"ALPHA", "BRAVO"}));
    QTest::mouseClick(s_->OpButton(TOpTag::FixFix), Qt::LeftButton);
    QCOMPARE(s_->Bench().Log().Count(), 1);
    QTest::keyClick(s_->List(), Qt::Key_C, Qt::ControlModifier);
    const TLogDisplay record = s_->Bench().LogDisplay();
    QCOMPARE(clipboard->text(),
             ToQString(record.Line1 + "\n" + record.Line2 + "\n" + record.Line3 + "\n"));
    QVERIFY(!record.Line1.empty());
    // Ctrl with another letter is still nobody's key: the rows stay.
    const QStringList rows = s_->Rows();
    QTest::keyClick(s_->List(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(s_->Rows(), rows);
  }
};

QTEST_MAIN(ExchangeWindowTest)
#include "exchange_test.moc"
