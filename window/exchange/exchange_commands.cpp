// The main window's commands for fixes of other programs: "&Import
// Fixes...", "Ex&port Fixes...", "&Sample Fixes", the clipboard keys, and
// the box that shows an import's report. The workbench does the work; here
// are the file dialogs, the questions and the clipboard.
#include "window/exchange/exchange_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "window/dialogs/fix_file_dialog.h"
#include "window/look/qt_placement.h"
#include "window/look/qt_text.h"
#include "window/main/main_controller.h"
#include "window/main/main_window.h"
#include "workbench/texts.h"
#include "workbench/workbench.h"

namespace navorix {

namespace {

constexpr const char* ImportFilter =
    "Fixes (*.gpx *.csv *.geojson *.json *.fix *.txt);;GPX files (*.gpx);;CSV files (*.csv);;"
    "GeoJSON files (*.geojson *.json);;Fix files (*.fix);;All files (*)";
constexpr const char* ExportFilter = "GPX files (*.gpx);;CSV files (*.csv);;GeoJSON files (*.geojson)";
// The extension a name without one gets, by the filter chosen.
constexpr const char* ExportSuffixes[] = {"gpx", "csv", "geojson"};

// The report box: as wide as the longest line needs up to this many
// characters, and this many lines high before it scrolls.
constexpr int ReportColumns = 72;
constexpr int ReportRows = 16;

QString askExchangeFileName(QWidget* parent, const QString& dir, FileDialogMode mode) {
  QFileDialog dialog(parent, QString(), dir);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setViewMode(QFileDialog::Detail);
  if (mode == FileDialogMode::Save) {
    dialog.setNameFilters(QString::fromLatin1(ExportFilter).split(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QLatin1String(ExportSuffixes[0]));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
      const int index = static_cast<int>(dialog.nameFilters().indexOf(filter));
      if (index >= 0 && index < 3) dialog.setDefaultSuffix(QLatin1String(ExportSuffixes[index]));
    });
  } else {
    dialog.setNameFilters(QString::fromLatin1(ImportFilter).split(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  fitFileColumns(dialog);
  centreOnActiveForm(dialog);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.front();
}

}  // namespace

EntryReportBox::EntryReportBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("EntryReport"));
  setWindowTitle(QStringLiteral("Import"));
  auto* layout = new QVBoxLayout(this);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("reportText"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  const QFontMetrics fm(text_->font());
  text_->setMinimumSize(fm.horizontalAdvance(QLatin1Char('M')) * ReportColumns,
                        fm.lineSpacing() * ReportRows);
  layout->addWidget(text_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

void EntryReportBox::show(const std::vector<std::string>& reportLines) {
  QStringList lines;
  for (const std::string& line : reportLines) lines << toQString(line);
  text_->setPlainText(lines.join(QLatin1Char('\n')));
  // Centred by its real size, which the layout gives only when asked.
  adjustSize();
  centreOnActiveForm(*this);
  exec();
}

QString EntryReportBox::text() const { return text_->toPlainText(); }

// ------------------------------------------------------ the controller's part

void MainController::ShowEntryReport(const std::vector<std::string>& lines) {
  if (!reportBox_) reportBox_ = std::make_unique<EntryReportBox>(window_.get());
  reportBox_->show(lines);
}

void MainController::importFixes() {
  const QString dir = toQString(bench_.Paths().dataDir);
  const QString name = askExchangeFileName(window_.get(), dir, FileDialogMode::Open);
  if (name.isEmpty()) return;
  bool clearFirst = false;
  if (bench_.Fixes().Count() != 0) {
    const Answer answer = Ask(question::ClearBeforeImporting, Buttons::YesNoCancel);
    if (answer == Answer::Cancel) return;
    clearFirst = answer == Answer::Yes;
  }
  ImportResult result;
  bench_.ImportFixes(fromQString(name), clearFirst, result);
  focusFixList();
}

void MainController::exportFixes() {
  const QString dir = toQString(bench_.Paths().dataDir);
  // The dialog comes back after a No to the overwrite question.
  for (;;) {
    const QString name = askExchangeFileName(window_.get(), dir, FileDialogMode::Save);
    if (name.isEmpty()) return;
    if (QFileInfo::exists(name)) {
      const Answer answer = Ask(question::Overwrite, Buttons::YesNoCancel);
      if (answer == Answer::Cancel) return;
      if (answer == Answer::No) continue;
    }
    bench_.ExportFixes(fromQString(name));
    return;
  }
}

void MainController::appendSampleFixes() {
  ImportResult result;
  bench_.ImportFixes(fromQString(sampleFixes_), false, result);
  focusFixList();
}

bool MainController::clipboardKey(int key, Qt::KeyboardModifiers modifiers) {
  QClipboard* clipboard = QApplication::clipboard();
  if (key == Qt::Key_C && modifiers == Qt::ControlModifier) {
    const std::string text = bench_.ShownRecordText();
    if (!text.empty()) clipboard->setText(toQString(text));
    return true;
  }
  if (key == Qt::Key_C && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
    const std::string line = bench_.CurrentFixLine();
    if (!line.empty()) clipboard->setText(toQString(line));
    return true;
  }
  if (key == Qt::Key_V && modifiers == Qt::ControlModifier) {
    const QString text = clipboard->text();
    if (text.isEmpty()) return true;
    // The import reads UTF-8 as it comes from other programs.
    const QByteArray utf8 = text.toUtf8();
    ImportResult result;
    bench_.PasteFixes(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), result);
    focusFixList();
    return true;
  }
  return false;
}

}  // namespace navorix
