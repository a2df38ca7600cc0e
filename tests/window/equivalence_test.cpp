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
const char* const Azimuths[] = {"45", "-123.25", "45\xB0" "30'15\"", "+270", "359.99", "90\xB0" "3015"};

const char* const Cities[] = {"PARIS", "NEWYORK", "TOKYO", "SYDNEY", "CAPETOWN", "REYKJAVIK", "QUITO"};

// One operation or workbench step of a run: the script line for
// navorix-batch and what the window does for it.
struct TStep {
  std::string Line;   // the script line, Windows-1252
  TOpTag Op{};        // for an operation
  bool IsOperation = false;
  std::vector<std::string> Operands;  // in the layout's order
};

std::string Join(const std::vector<std::string>& Words) {
  std::string out;
  for (const std::string& word : Words) out += (out.empty() ? "" : " ") + word;
  return out;
}

TStep Operation(const char* Keyword, TOpTag Op, std::vector<std::string> Operands) {
  TStep step;
  step.Line = Keyword + std::string(" ") + Join(Operands);
  step.Op = Op;
  step.IsOperation = true;
  step.Operands = std::move(Operands);
  return step;
}

}  // namespace

class EquivalenceTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TSession> s_;
  std::vector<std::string> names_;  // the fix names in database order

  // What is typed to get Name with completion: its first letters in small
  // letters and one blank for each fix before it whose name begins so too.
  QString Completion(const std::string& Name) const {
    const std::string prefix = Name.substr(0, std::min<std::size_t>(2, Name.size()));
    int blanks = 0;
    for (const std::string& name : names_) {
      if (name.compare(0, prefix.size(), prefix) == 0) ++blanks;
      if (name == Name) break;
    }
    return ToQString(prefix).toLower() + QString(blanks, QLatin1Char(' '));
  }

  // Runs Step in the window; the lines it adds to the transcript: the
  // record shown after an operation, or "ERROR: " and the error box's text.
  std::vector<std::string> RunInWindow(const TStep& Step) {
    std::vector<std::string> out;
    if (!Step.IsOperation) return out;
    QStringList typed;
    for (std::size_t i = 0; i < Step.Operands.size(); ++i) {
      const std::string& operand = Step.Operands[i];
      const bool is_name = !operand.empty() && operand[0] >= 'A' && operand[0] <= 'Z';
      typed << (is_name ? Completion(operand) : ToQString(operand));
    }
    QStringList shown;
    s_->Answers().Then(FillOperands(typed, &shown));
    const int records = s_->Bench().Log().Count();
    int error_boxes = 0;
    QString error;
    s_->Answers().Then([&error, &error_boxes](QWidget* Modal) {
      if (auto* box = qobject_cast<TErrBox*>(Modal)) {
        error = box->TextLabel()->text();
        ++error_boxes;
      }
      CloseErrorBox()(Modal);
    });
    QTest::mouseClick(s_->OpButton(Step.Op), Qt::LeftButton);
    // The names the blanks completed are the names meant.
    for (std::size_t i = 0; i < Step.Operands.size() && i < static_cast<std::size_t>(shown.size()); ++i) {
      if (FromQString(shown.at(static_cast<qsizetype>(i))) != Step.Operands[i]) {
        out.push_back("TYPED " + FromQString(shown.at(static_cast<qsizetype>(i))) + " FOR " + Step.Operands[i]);
      }
    }
    s_->Answers().DropSteps();  // the error box's, when none showed
    if (error_boxes == 1) {
      out.push_back("ERROR: " + FromQString(error));
    } else if (s_->Bench().Log().Count() == records + 1) {
      for (const QString& line : s_->LogLines()) out.push_back(FromQString(line));
    } else {
      out.push_back("NOTHING LOGGED");
    }
    return out;
  }

  // The store step of the window: the blank row, Ins, the new name, Enter.
  void StoreInWindow(const std::string& Name) {
    s_->Press(Qt::Key_End);
    s_->Answers().Then([Name](QWidget*) {
      Type(ToQString(Name));
      Key(Qt::Key_Return);
    });
    s_->Press(Qt::Key_Insert);
    names_.push_back(Name);
  }

  void Choose(QMenu* Menu, int Tag) {
    for (QAction* action : Menu->actions()) {
      if (action->data().toInt() == Tag) action->trigger();
    }
  }
  void Switch(QAction* Action, bool Current, bool Wanted) {
    if (Current != Wanted) Action->trigger();
  }

 private slots:
  void initTestCase() { QApplication::setStyle(new TNavorixStyle); }

  void EveryOperationInEveryFormatAndUnit() {
    s_ = std::make_unique<TSession>();
    QVERIFY(WriteBytes(s_->Path("world.fix"), Fixes));
    QVERIFY(s_->Start(Fixes));
    for (std::uint16_t pos = 1; pos <= s_->Bench().Fixes().Count(); ++pos) {
      names_.emplace_back(s_->Bench().Fixes().Get(pos).Name.View());
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
        const int azim_format = (run / 3) % 3;
        const int azim_range = run % 2;
        const bool arc = run % 4 == 1 || run % 4 == 3;
        const bool geodesic = run % 4 >= 2;
        const bool elliptic_lat = run % 5 != 4;
        script += "set LatLonFormat " + std::to_string(format) + "\n";
        script += "set DistUnits " + std::to_string(unit) + "\n";
        script += "set Precision " + std::to_string(accuracy) + "\n";
        script += "set AzimFormat " + std::to_string(azim_format) + "\n";
        script += "set AzimRange " + std::to_string(azim_range) + "\n";
        script += "set EllipticArc " + std::to_string(arc ? 1 : 0) + "\n";
        script += "set GeoDistance " + std::to_string(geodesic ? 1 : 0) + "\n";
        script += "set EllipticLat " + std::to_string(elliptic_lat ? 1 : 0) + "\n";
        const TEarthModel& earth = s_->Bench().Settings().Earth;
        Choose(s_->Menu().OptionMenu(TDisplayOption::LatLonFormat), format);
        Choose(s_->Menu().OptionMenu(TDisplayOption::DistUnits), unit);
        Choose(s_->Menu().OptionMenu(TDisplayOption::Precision), accuracy);
        Choose(s_->Menu().OptionMenu(TDisplayOption::AzimFormat), azim_format);
        Choose(s_->Menu().OptionMenu(TDisplayOption::AzimRange), azim_range);
        Switch(s_->Menu().mEllArc, earth.EllipticArc, arc);
        Switch(s_->Menu().mGeodesic, earth.GeoDistance, geodesic);
        Switch(s_->Menu().mEllip, earth.EllipticLat, elliptic_lat);

        const char* const* d = Distances[unit];
        const std::string a = Cities[run % 7];
        const std::string b = Cities[(run + 3) % 7];
        const std::string c = Cities[(run + 5) % 7];
        const std::string stored = "MID" + std::to_string(run);
        const std::vector<TStep> steps = {
            Operation("fixfix", TOpTag::FixFix, {a, b}),
            Operation("next", TOpTag::NextFix, {c}),
            Operation("arcfix", TOpTag::ArcFix, {"P", "Q", run % 2 == 0 ? "R" : "N"}),
            Operation("arcarc", TOpTag::ArcArc, {"P", "Q", "M0", "M40"}),
            Operation("midpoint", TOpTag::Midpoint, {a, c}),
            TStep{"store " + stored, TOpTag::FixFix, false, {}},
            Operation("azimuth", TOpTag::Azimuth, {stored, b}),
            Operation("fixatda", TOpTag::FixAtDistAz, {c, run % 3 == 0 ? "-" + std::string(d[0]) : d[0],
                                                       Azimuths[run % 6]}),
            Operation("project", TOpTag::Projection, {"P", "Q", run % 2 == 0 ? "R" : "PACIFIC/S"}),
            Operation("intersect", TOpTag::Intersection, {"P", "Q", "M0", "M40"}),
            Operation("proximity", TOpTag::FixesAtDistance, {"P", "Q", "R", d[1]}),
            Operation("fixatd", TOpTag::FixAtDistance, {"P", "Q", d[2]}),
            // Refused by the dispatcher: half the circumference or more.
            Operation("fixatd", TOpTag::FixAtDistance, {"M0", "M40", d[3]}),
            Operation("next", TOpTag::NextFix, {stored}),
        };
        for (const TStep& step : steps) {
          script += step.Line + "\n";
          std::vector<std::string> lines;
          if (step.IsOperation) {
            lines = RunInWindow(step);
          } else {
            StoreInWindow(step.Line.substr(6));
          }
          for (const std::string& line : lines) {
            window.push_back(line);
            labels.push_back(label + ": " + step.Line);
          }
          QVERIFY2(s_->Answers().Unexpected().isEmpty(),
                   qPrintable(QString::fromStdString(label + ": " + step.Line + ": ") +
                              s_->Answers().Unexpected().join(QLatin1Char('\n'))));
        }
      }
    }

    // navorix-batch on the same fixes and the same script.
    QVERIFY(WriteBytes(s_->Path("script.txt"), script));
    QProcess batch;
    batch.setWorkingDirectory(s_->Path(QString()));
    batch.start(QStringLiteral(NAVORIX_BATCH), {s_->Path("world.fix"), s_->Path("script.txt")});
    QVERIFY(batch.waitForFinished(120000));
    QCOMPARE(batch.exitStatus(), QProcess::NormalExit);
    QCOMPARE(batch.readAllStandardError(), QByteArray());
    const std::string out = batch.readAllStandardOutput().toStdString();
    std::vector<std::string> batch_lines;
    for (std::size_t start = 0; start < out.size();) {
      const std::size_t end = out.find('\n', start);
      batch_lines.push_back(out.substr(start, end - start));
      start = end == std::string::npos ? out.size() : end + 1;
    }

    // Twelve records and one refusal in each of the sixteen runs.
    QCOMPARE(window.size(), std::size_t(16 * (12 * 3 + 1)));
    for (std::size_t i = 0; i < std::min(window.size(), batch_lines.size()); ++i) {
      if (window[i] != batch_lines[i]) {
        QFAIL(qPrintable(QString::fromStdString(labels[i] + "\n   window: " + window[i] +
                                                "\n   batch:  " + batch_lines[i])));
      }
    }
    QCOMPARE(batch_lines.size(), window.size());
    QCOMPARE(static_cast<std::size_t>(s_->Bench().Fixes().Count()), names_.size());
  }
};

QTEST_MAIN(EquivalenceTest)
#include "equivalence_test.moc"
