// The file dialogs of "&Load Fix File..." and "S&ave Fix File...": Qt's own
// dialog (the same on every desktop), starting in a folder with the
// pattern "*.fix", wide enough to show every column of its file list and
// centred on the window the user works in.
#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace navorix {

enum class FileDialogMode { Open, Save };

// The file chosen, or an empty text when the dialog was cancelled. Saving
// onto an existing file is not questioned here: the caller asks.
QString askFixFileName(QWidget* parent, const QString& dir, FileDialogMode mode);

// Sizes the columns of dialog's file list to the texts they show (a long
// name, a size, a type, a date) and the dialog to hold them, within its
// screen.
void fitFileColumns(QFileDialog& dialog);

}  // namespace navorix
