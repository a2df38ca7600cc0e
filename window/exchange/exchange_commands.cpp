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
#include "window/main/main_controller.h"
#include "window/main/main_window.h"
#include "window/look/qt_placement.h"
#include "window/look/qt_text.h"
#include "workbench/texts.h"
#include "workbench/workbench.h"

namespace navorix {

namespace {

constexpr const char* ImportFilter =
    "Fixes (*.gpx *.csv *.geojson *.json *.fix *.txt);;GPX files (*.gpx);;CSV files (*.csv);;"
    "GeoJSON files (*.geojson *.json);;Fix files (*.fix);;All files (*)";
constexpr const char* ExportFilter =
    "GPX files (*.gpx);;CSV files (*.csv);;GeoJSON files (*.geojson)";
// The extension a name without one gets, by the filter chosen.
constexpr const char* ExportSuffixes[] = {"gpx", "csv", "geojson"};

// The report box: as wide as the longest line needs up to this many
// characters, and this many lines high before it scrolls.
constexpr int ReportColumns = 72;
constexpr int ReportRows = 16;

QString AskExchangeFileName(QWidget* Parent, const QString& Dir, TFileDialogMode Mode) {
  QFileDialog dialog(Parent, QString(), Dir);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setViewMode(QFileDialog::Detail);
  if (Mode == TFileDialogMode::Save) {
    dialog.setNameFilters(QString::fromLatin1(ExportFilter).split(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QLatin1String(ExportSuffixes[0]));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& Filter) {
      const int index = static_cast<int>(dialog.nameFilters().indexOf(Filter));
      if (index >= 0 && index < 3) dialog.setDefaultSuffix(QLatin1String(ExportSuffixes[index]));
    });
  } else {
    dialog.setNameFilters(QString::fromLatin1(ImportFilter).split(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  FitFileColumns(dialog);
  CentreOnActiveForm(dialog);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.front();
}

}  // namespace

TEntryReportBox::TEntryReportBox(QWidget* Parent) : QDialog(Parent) {
  setObjectName(QStringLiteral("EntryReport"));
  setWindowTitle(QStringLiteral("Import"));
  auto* layout = new QVBoxLayout(this);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("xReport"));
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

void TEntryReportBox::Show(const std::vector<std::string>& Lines) {
  QStringList lines;
  for (const std::string& line : Lines) lines << ToQString(line);
  text_->setPlainText(lines.join(QLatin1Char('\n')));
  // Centred by its real size, which the layout gives only when asked.
  adjustSize();
  CentreOnActiveForm(*this);
  exec();
}

QString TEntryReportBox::Text() const { return text_->toPlainText(); }

// ------------------------------------------------------ the controller's part

void TMainController::ShowEntryReport(const std::vector<std::string>& Lines) {
  if (!reportBox_) reportBox_ = std::make_unique<TEntryReportBox>(window_.get());
  reportBox_->Show(Lines);
}

void TMainController::ImportFixes() {
  const QString dir = ToQString(bench_.Paths().DataDir);
  const QString name = AskExchangeFileName(window_.get(), dir, TFileDialogMode::Open);
  if (name.isEmpty()) return;
  bool clearFirst = false;
  if (bench_.Fixes().Count() != 0) {
    const TAnswer answer = Ask(question::ClearBeforeImporting, TButtons::YesNoCancel);
    if (answer == TAnswer::Cancel) return;
    clearFirst = answer == TAnswer::Yes;
  }
  ImportResult result;
  bench_.ImportFixes(FromQString(name), clearFirst, result);
  FocusFixList();
}

void TMainController::ExportFixes() {
  const QString dir = ToQString(bench_.Paths().DataDir);
  // The dialog comes back after a No to the overwrite question.
  for (;;) {
    const QString name = AskExchangeFileName(window_.get(), dir, TFileDialogMode::Save);
    if (name.isEmpty()) return;
    if (QFileInfo::exists(name)) {
      const TAnswer answer = Ask(question::Overwrite, TButtons::YesNoCancel);
      if (answer == TAnswer::Cancel) return;
      if (answer == TAnswer::No) continue;
    }
    bench_.ExportFixes(FromQString(name));
    return;
  }
}

void TMainController::AppendSampleFixes() {
  ImportResult result;
  bench_.ImportFixes(FromQString(sampleFixes_), false, result);
  FocusFixList();
}

bool TMainController::ClipboardKey(int Key, Qt::KeyboardModifiers Modifiers) {
  QClipboard* clipboard = QApplication::clipboard();
  if (Key == Qt::Key_C && Modifiers == Qt::ControlModifier) {
    const std::string text = bench_.ShownRecordText();
    if (!text.empty()) clipboard->setText(ToQString(text));
    return true;
  }
  if (Key == Qt::Key_C && Modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
    const std::string line = bench_.CurrentFixLine();
    if (!line.empty()) clipboard->setText(ToQString(line));
    return true;
  }
  if (Key == Qt::Key_V && Modifiers == Qt::ControlModifier) {
    const QString text = clipboard->text();
    if (text.isEmpty()) return true;
    // The import reads UTF-8 as it comes from other programs.
    const QByteArray utf8 = text.toUtf8();
    ImportResult result;
    bench_.PasteFixes(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                      result);
    FocusFixList();
    return true;
  }
  return false;
}

}  // namespace navorix
