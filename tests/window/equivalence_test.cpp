// The window and navorix-batch are two faces of one calculator: the eleven
// operations run through the real operation dialog (keys sent to its
// fields, names completed with the blank, numbers typed) must log the same
// records, byte for byte, as navorix-batch writes for the same fixes,
// settings and inputs, in every Lat/Lon format and every distance unit.
#include "session_support.h"

#include <QAction>
#include <QMenu>
#include <QProcess>

using namespace navorix;
using namespace navorix::test;

namespace {

constexpr const char* Fixes =
    " 48.8566  2.3522 PARIS\r\n"
    " 40.7128 -74.0060 NEWYORK\r\n"
    " 35.6762 139.6503 TOKYO\r\n"
    "-33.8688 151.2093 SYDNEY\r\n"
    "-33.9249 18.4241 CAPETOWN\r\n"
    " 64.1466 -21.9426 REYKJAVIK\r\n"
    " -0.1807 -78.4678 QUITO\r\n"
    "10 0 P\r\n"
    "10 90 Q\r\n"
    "0 45 M0\r\n"
    "40 45 M40\r\n"
    "30 45 R\r\n"
    "60 0 N\r\n"
    "-45 -170 PACIFIC/S\r\n";

const char* const RunFormatNames[] = {"Deg/Frac", "Deg/Min/Frac", "Deg/Min/Sec", "Infix DMS"};
const char* const RunUnitNames[] = {"km", "mi", "nm", "Degrees"};

// Distances typed in each unit: a plain one, a short one for the
// proximity, one along an arc, and one beyond half the circumference.
const char* const Distances[4][4] = {{"1234.5", "2223", "11113", "20004"},
                                     {"800", "1381.3", "6905.5", "12430"},
                                     {"700.25", "1200.4", "6000.6", "10802"},
                                     {"12.5", "20", "99.9", "180"}};
// Azimuths; "\xB0" is typed with Ctrl+D.
const char* const Azimuths[] = {"45",
                                "-123.25",
                                "45\xB0"
                                "30'15\"",
                                "+270",
                                "359.99",
                                "90\xB0"
                                "3015"};

const char* const Cities[] = {"PARIS", "NEWYORK", "TOKYO", "SYDNEY", "CAPETOWN", "REYKJAVIK", "QUITO"};

// One operation or workbench step of a run: the script line for
// navorix-batch and what the window does for it.
struct Step {
  std::string line;   // the script line, Windows-1252
  OperationTag op{};  // for an operation
  bool isOperation = false;
  std::vector<std::string> operands;  // in the layout's order
};

std::string join(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& word : words) out += (out.empty() ? "" : " ") + word;
  return out;
}

Step operation(const char* keyword, OperationTag op, std::vector<std::string> operands) {
  Step step;
  step.line = keyword + std::string(" ") + join(operands);
  step.op = op;
  step.isOperation = true;
  step.operands = std::move(operands);
  return step;
}

}  // namespace

class EquivalenceTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Session> s_;
  std::vector<std::string> names_;  // the fix names in database order

  // What is typed to get Name with completion: its first letters in small
  // letters and one blank for each fix before it whose name begins so too.
  QString completion(const std::string& fixName) const {
    const std::string prefix = fixName.substr(0, std::min<std::size_t>(2, fixName.size()));
    int blanks = 0;
    for (const std::string& name : names_) {
      if (name.compare(0, prefix.size(), prefix) == 0) ++blanks;
      if (name == fixName) break;
    }
    return toQString(prefix).toLower() + QString(blanks, QLatin1Char(' '));
  }

  // Runs step in the window; the lines it adds to the transcript: the
  // record shown after an operation, or "ERROR: " and the error box's text.
  std::vector<std::string> runInWindow(const Step& step) {
    std::vector<std::string> out;
    if (!step.isOperation) return out;
    QStringList typed;
    for (std::size_t i = 0; i < step.operands.size(); ++i) {
      const std::string& operand = step.operands[i];
      const bool isName = !operand.empty() && operand[0] >= 'A' && operand[0] <= 'Z';
      typed << (isName ? completion(operand) : toQString(operand));
    }
    QStringList shown;
    s_->answers().then(fillOperands(typed, &shown));
    const int records = s_->bench().Log().Count();
    int errorBoxes = 0;
    QString error;
    s_->answers().then([&error, &errorBoxes](QWidget* modal) {
      if (auto* box = qobject_cast<ErrorBox*>(modal)) {
        error = box->textLabel()->text();
        ++errorBoxes;
      }
      closeErrorBox()(modal);
    });
    QTest::mouseClick(s_->opButton(step.op), Qt::LeftButton);
    // The names the blanks completed are the names meant.
    for (std::size_t i = 0; i < step.operands.size() && i < static_cast<std::size_t>(shown.size()); ++i) {
      if (fromQString(shown.at(static_cast<qsizetype>(i))) != step.operands[i]) {
        out.push_back("TYPED " + fromQString(shown.at(static_cast<qsizetype>(i))) + " FOR " +
                      step.operands[i]);
      }
    }
    s_->answers().dropSteps();  // the error box's, when none showed
    if (errorBoxes == 1) {
      out.push_back("ERROR: " + fromQString(error));
    } else if (s_->bench().Log().Count() == records + 1) {
      for (const QString& line : s_->logLines()) out.push_back(fromQString(line));
    } else {
      out.push_back("NOTHING LOGGED");
    }
    return out;
  }

  // The store step of the window: the blank row, Ins, the new name, Enter.
  void storeInWindow(const std::string& name) {
    s_->press(Qt::Key_End);
    s_->answers().then([name](QWidget*) {
      type(toQString(name));
      key(Qt::Key_Return);
    });
    s_->press(Qt::Key_Insert);
    names_.push_back(name);
  }

  void choose(QMenu* menu, int tag) {
    for (QAction* action : menu->actions()) {
      if (action->data().toInt() == tag) action->trigger();
    }
  }
  void setChecked(QAction* action, bool current, bool wanted) {
    if (current != wanted) action->trigger();
  }

 private slots:
  void initTestCase() { QApplication::setStyle(new NavorixStyle); }

  void everyOperationInEveryFormatAndUnit() {
    s_ = std::make_unique<Session>();
    QVERIFY(writeBytes(s_->path("world.fix"), Fixes));
    QVERIFY(s_->start(Fixes));
    for (std::uint16_t pos = 1; pos <= s_->bench().Fixes().Count(); ++pos) {
      names_.emplace_back(s_->bench().Fixes().Get(pos).name.View());
    }
    QCOMPARE(names_.size(), std::size_t(14));

    std::string script;
    std::vector<std::string> window;
    std::vector<std::string> labels;  // which run and step each window line came from
    int run = 0;
    for (int format = 0; format < 4; ++format) {
      for (int unit = 0; unit < 4; ++unit, ++run) {
        const std::string label = std::string(RunFormatNames[format]) + ", " + RunUnitNames[unit];
        // The other options change from run to run as well.
        const int accuracy = run % 3;
        const int azimFormat = (run / 3) % 3;
        const int azimRange = run % 2;
        const bool arc = run % 4 == 1 || run % 4 == 3;
        const bool geodesic = run % 4 >= 2;
        const bool ellipticLat = run % 5 != 4;
        script += "set LatLonFormat " + std::to_string(format) + "\n";
        script += "set DistUnits " + std::to_string(unit) + "\n";
        script += "set Precision " + std::to_string(accuracy) + "\n";
        script += "set AzimFormat " + std::to_string(azimFormat) + "\n";
        script += "set AzimRange " + std::to_string(azimRange) + "\n";
        script += "set EllipticArc " + std::to_string(arc ? 1 : 0) + "\n";
        script += "set GeoDistance " + std::to_string(geodesic ? 1 : 0) + "\n";
        script += "set EllipticLat " + std::to_string(ellipticLat ? 1 : 0) + "\n";
        const EarthModel& earth = s_->bench().Settings().earth;
        choose(s_->menu().optionMenu(DisplayOption::LatLonFormat), format);
        choose(s_->menu().optionMenu(DisplayOption::DistUnits), unit);
        choose(s_->menu().optionMenu(DisplayOption::Precision), accuracy);
        choose(s_->menu().optionMenu(DisplayOption::AzimFormat), azimFormat);
        choose(s_->menu().optionMenu(DisplayOption::AzimRange), azimRange);
        setChecked(s_->menu().ellipticArcAction, earth.ellipticArc, arc);
        setChecked(s_->menu().geodesicAction, earth.geoDistance, geodesic);
        setChecked(s_->menu().ellipticLatitudeAction, earth.ellipticLat, ellipticLat);

        const char* const* d = Distances[unit];
        const std::string a = Cities[run % 7];
        const std::string b = Cities[(run + 3) % 7];
        const std::string c = Cities[(run + 5) % 7];
        const std::string stored = "MID" + std::to_string(run);
        const std::vector<Step> steps = {
            operation("fixfix", OperationTag::FixFix, {a, b}),
            operation("next", OperationTag::NextFix, {c}),
            operation("arcfix", OperationTag::ArcFix, {"P", "Q", run % 2 == 0 ? "R" : "N"}),
            operation("arcarc", OperationTag::ArcArc, {"P", "Q", "M0", "M40"}),
            operation("midpoint", OperationTag::Midpoint, {a, c}),
            Step{"store " + stored, OperationTag::FixFix, false, {}},
            operation("azimuth", OperationTag::Azimuth, {stored, b}),
            operation("fixatda", OperationTag::FixAtDistAz,
                      {c, run % 3 == 0 ? "-" + std::string(d[0]) : d[0], Azimuths[run % 6]}),
            operation("project", OperationTag::Projection, {"P", "Q", run % 2 == 0 ? "R" : "PACIFIC/S"}),
            operation("intersect", OperationTag::Intersection, {"P", "Q", "M0", "M40"}),
            operation("proximity", OperationTag::FixesAtDistance, {"P", "Q", "R", d[1]}),
            operation("fixatd", OperationTag::FixAtDistance, {"P", "Q", d[2]}),
            // Refused by the dispatcher: half the circumference or more.
            operation("fixatd", OperationTag::FixAtDistance, {"M0", "M40", d[3]}),
            operation("next", OperationTag::NextFix, {stored}),
        };
        for (const Step& step : steps) {
          script += step.line + "\n";
          std::vector<std::string> lines;
          if (step.isOperation) {
            lines = runInWindow(step);
          } else {
            storeInWindow(step.line.substr(6));
          }
          for (const std::string& line : lines) {
            window.push_back(line);
            labels.push_back(label + ": " + step.line);
          }
          QVERIFY2(s_->answers().unexpected().isEmpty(),
                   qPrintable(QString::fromStdString(label + ": " + step.line + ": ") +
                              s_->answers().unexpected().join(QLatin1Char('\n'))));
        }
      }
    }

    // navorix-batch on the same fixes and the same script.
    QVERIFY(writeBytes(s_->path("script.txt"), script));
    QProcess batch;
    batch.setWorkingDirectory(s_->path(QString()));
    batch.start(QStringLiteral(NAVORIX_BATCH), {s_->path("world.fix"), s_->path("script.txt")});
    QVERIFY(batch.waitForFinished(120000));
    QCOMPARE(batch.exitStatus(), QProcess::NormalExit);
    QCOMPARE(batch.readAllStandardError(), QByteArray());
    const std::string out = batch.readAllStandardOutput().toStdString();
    std::vector<std::string> batchLines;
    for (std::size_t start = 0; start < out.size();) {
      const std::size_t end = out.find('\n', start);
      batchLines.push_back(out.substr(start, end - start));
      start = end == std::string::npos ? out.size() : end + 1;
    }

    // Twelve records and one refusal in each of the sixteen runs.
    QCOMPARE(window.size(), std::size_t(16 * (12 * 3 + 1)));
    for (std::size_t i = 0; i < std::min(window.size(), batchLines.size()); ++i) {
      if (window[i] != batchLines[i]) {
        QFAIL(qPrintable(QString::fromStdString(labels[i] + "\n   window: " + window[i] +
                                                "\n   batch:  " + batchLines[i])));
      }
    }
    QCOMPARE(batchLines.size(), window.size());
    QCOMPARE(static_cast<std::size_t>(s_->bench().Fixes().Count()), names_.size());
  }
};

QTEST_MAIN(EquivalenceTest)
#include "equivalence_test.moc"
