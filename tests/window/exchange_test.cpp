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
ModalAnswers::Step readReport(QString* shown, bool* scrolls = nullptr) {
  return [shown, scrolls](QWidget* modal) {
    auto* box = qobject_cast<EntryReportBox*>(modal);
    if (box == nullptr) return;
    *shown = box->text();
    if (scrolls != nullptr) {
      auto* text = box->findChild<QPlainTextEdit*>(QStringLiteral("reportText"));
      *scrolls = text != nullptr && text->verticalScrollBar()->maximum() > 0;
    }
    box->accept();
  };
}

}  // namespace

class ExchangeWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Session> s_;

  bool start(const char* fixes) {
    s_ = std::make_unique<Session>();
    return s_->start(fixes);
  }

 private slots:
  void initTestCase() { QApplication::setStyle(new NavorixStyle); }

  void cleanup() {
    if (s_) s_->verifyAllAnswered();
    s_.reset();
  }

  void importAsksLikeLoadingAndShowsEveryRenamedAndRefusedEntry() {
    QVERIFY(start(Fixes));
    std::string csv = "name,lat,lon\r\nalpha,1,2\r\n";
    // More lines than the box shows at once: it scrolls.
    for (int i = 0; i < 40; ++i) csv += "Bad " + std::to_string(i) + ",95,0\r\n";
    QVERIFY(writeBytes(s_->dataPath("in.csv"), csv));
    QString shown;
    bool scrolls = false;
    s_->answers().then(chooseFile(s_->dataPath("in.csv")));
    s_->answers().then(answerWith(Answer::No));
    s_->answers().then(readReport(&shown, &scrolls));
    s_->menu().importFixesAction->trigger();
    const QStringList seen = s_->answers().seen();
    QCOMPARE(seen.size(), 3);
    QCOMPARE(seen[1],
             QStringLiteral("ask: Do you wish to clear the fix database|before importing the fixes?"));
    QCOMPARE(s_->fixNames(), (QStringList{"ALPHA", "CHARLIE", "BRAVO", "ALPHA-2"}));
    QCOMPARE(s_->listRow(), 3);
    const QStringList lines = shown.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 42);
    QCOMPARE(lines[0], QStringLiteral("CSV: 1 fix imported, 1 renamed, 40 refused"));
    QCOMPARE(lines[1], QStringLiteral("line 2: \"alpha\" renamed ALPHA-2, the name was in use"));
    QCOMPARE(lines[41], QStringLiteral("line 42: refused, latitude \"95\" is beyond 90 degrees"));
    QVERIFY(scrolls);
  }

  void exportWritesTheFormatOfTheChosenExtension() {
    QVERIFY(start(Fixes));
    s_->answers().then(chooseFile(s_->dataPath("out.geojson")));
    s_->menu().exportFixesAction->trigger();
    const std::string json = readBytes(s_->dataPath("out.geojson"));
    QVERIFY(json.find("\"coordinates\": [120.25, -20.5]") != std::string::npos);
    QVERIFY(json.find("\"name\": \"CHARLIE\"") != std::string::npos);
  }

  void sampleFixesAreAppended() {
    QVERIFY(start(Fixes));
    QString shown;
    s_->answers().then(readReport(&shown));
    s_->menu().sampleFixesAction->trigger();
    QVERIFY(s_->bench().Fixes().Count() > 200);
    QVERIFY(shown.startsWith(QStringLiteral("fix lines: ")));
    QVERIFY(!shown.contains(QStringLiteral("refused")));
    QVERIFY(s_->fixNames().contains(QStringLiteral("PARIS")));
    QCOMPARE(s_->fixNames().mid(0, 3), (QStringList{"ALPHA", "CHARLIE", "BRAVO"}));
  }

  void clipboardKeysCopyTheRecordAndTheFixAndPasteAfterTheCurrentRow() {
    QVERIFY(start(Fixes));
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText(QStringLiteral("untouched"));
    // No record shown: Ctrl+C copies nothing.
    QTest::keyClick(s_->list(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("untouched"));
    s_->bench().SelectRow(1);
    QTest::keyClick(s_->list(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QString line = clipboard->text();
    QVERIFY(line.endsWith(QStringLiteral(" CHARLIE")));
    // Pasted back after the current row, under a free name.
    QString shown;
    s_->answers().then(readReport(&shown));
    QTest::keyClick(s_->list(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(s_->fixNames(), (QStringList{"ALPHA", "CHARLIE", "CHARLIE-2", "BRAVO"}));
    QCOMPARE(s_->listRow(), 2);
    QCOMPARE(s_->rows()[2].mid(16), s_->rows()[1].mid(16));
    QVERIFY(shown.startsWith(QStringLiteral("fix lines: 1 fix imported, 1 renamed")));
    // A shown record: its three lines, as the log shows them.
    s_->answers().then(fillOperands({"ALPHA", "BRAVO"}));
    QTest::mouseClick(s_->opButton(OperationTag::FixFix), Qt::LeftButton);
    QCOMPARE(s_->bench().Log().Count(), 1);
    QTest::keyClick(s_->list(), Qt::Key_C, Qt::ControlModifier);
    const LogDisplayState record = s_->bench().LogDisplay();
    QCOMPARE(clipboard->text(), toQString(record.line1 + "\n" + record.line2 + "\n" + record.line3 + "\n"));
    QVERIFY(!record.line1.empty());
    // Ctrl with another letter is still nobody's key: the rows stay.
    const QStringList rows = s_->rows();
    QTest::keyClick(s_->list(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(s_->rows(), rows);
  }
};

QTEST_MAIN(ExchangeWindowTest)
#include "exchange_test.moc"
