#include "window/dialogs/fix_file_dialog.h"

#include "window/look/qt_placement.h"

#include <QDateTime>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QScreen>
#include <QTreeView>

#include <algorithm>

namespace navorix {

namespace {

constexpr const char* FixFileFilter = "Fix files (*.fix)";

// Texts as wide as the widest a column shows: a long file name, a size, a
// file type and a date in the user's short format.
constexpr const char* LongName = "MEDITERRANEAN_2024.fix";
constexpr const char* LongSize = "1023.9 KiB";
constexpr const char* LongType = "plain text document";

// Room around a column's text (its margins and the sort arrow), and beside
// the list (the side bar, the frames, the scroll bar).
constexpr int ColumnRoom = 28;
constexpr int SideRoom = 200;
// What stays free of the screen beside the dialog.
constexpr int ScreenRoom = 60;

}  // namespace

void fitFileColumns(QFileDialog& dialog) {
  auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  if (list == nullptr) return;
  const QFontMetrics fm(list->font());
  const QString date =
      QLocale().toString(QDateTime(QDate(2024, 12, 28), QTime(23, 58)), QLocale::ShortFormat);
  const int widths[] = {fm.horizontalAdvance(QLatin1String(LongName)),
                        fm.horizontalAdvance(QLatin1String(LongSize)),
                        fm.horizontalAdvance(QLatin1String(LongType)), fm.horizontalAdvance(date)};
  QHeaderView* header = list->header();
  header->setStretchLastSection(false);
  int total = 0;
  for (int column = 0; column < 4 && column < header->count(); ++column) {
    const int width = widths[column] + ColumnRoom;
    header->resizeSection(column, width);
    total += width;
  }
  int width = total + SideRoom;
  if (const QScreen* screen = dialog.screen())
    width = std::min(width, screen->availableGeometry().width() - ScreenRoom);
  dialog.resize(std::max(width, dialog.width()), dialog.height());
}

QString askFixFileName(QWidget* parent, const QString& dir, FileDialogMode mode) {
  QFileDialog dialog(parent, QString(), dir, QLatin1String(FixFileFilter));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setViewMode(QFileDialog::Detail);
  if (mode == FileDialogMode::Save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  fitFileColumns(dialog);
  centreOnActiveForm(dialog);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.front();
}

}  // namespace navorix
