#include "workbench/status_files.h"

#include <ctime>
#include <exception>

#include "stores/line_reader.h"
#include "stores/settings.h"
#include "workbench/texts.h"

namespace navorix {

std::string TStatusFiles::FileName(int Index) const {
  switch (Index) {
    case SettingsFile: return paths_.SettingsDir + SettingsFileName;
    case FixFile: return paths_.DataDir + StatusFixFileName;
    default: return paths_.DataDir + HistoryFileName;
  }
}

void TStatusFiles::StartReading(int Index) { files_[Index] = {StampOf(FileName(Index)), false, false}; }

void TStatusFiles::FinishLoading() {
  for (TStatusFile& file : files_) file.Unsaved = false;
  loaded_ = true;
}

bool TStatusFiles::AnyUnsaved() const {
  for (const TStatusFile& file : files_) {
    if (file.Unsaved) return true;
  }
  return false;
}

bool TStatusFiles::TakeLock() {
  if (lock_ && lock_->Taken()) return false;
  lock_ = std::make_unique<TInstanceLock>(paths_.DataDir);
  if (lock_->State() != TInstanceLockState::HeldElsewhere || toldShared_) return false;
  toldShared_ = true;
  return true;
}

void TStatusFiles::MakeDirectories() const {
  if (paths_.Portable) return;
  navorix::MakeDirectories(paths_.SettingsDir);
  navorix::MakeDirectories(paths_.DataDir);
}

bool TStatusFiles::MayReplace(int Index, TKeepOld& Keep, const TAsk& Ask) const {
  const TStatusFile& file = files_[Index];
  const std::string name = FileName(Index);
  const TFileStamp now = StampOf(name);
  // Nothing there: nothing to lose.
  if (now.Absent()) return true;
  const std::string shown = FileBaseName(name);
  // The present version is kept under a name no save replaces; the
  // question tells it. A file that cannot even be looked at (a loop of
  // links) has no version to keep, and its save will fail.
  const std::string kept =
      now.Exists ? FileBaseName(UnreadName(ReplacedFile(name), std::time(nullptr))) : std::string();
  std::string question;
  if (Index != SettingsFile && lock_ && lock_->State() == TInstanceLockState::HeldElsewhere) {
    question = SharedFileQuestion(shown, kept);
  } else if (file.Incomplete) {
    question = IncompleteFileQuestion(shown, kept);
  } else if (Index != SettingsFile && !(now == file.Stamp)) {
    // The settings file is merged, not replaced: lines the program does not
    // write stay as another program left them.
    question = ChangedFileQuestion(shown, kept);
  } else {
    return true;
  }
  if (!Ask(question)) return false;
  Keep.Lasting = kept;
  return true;
}

TStatusFiles::TSaveResult TStatusFiles::Save(int Index, const TWrite& Write, const TAsk& Ask,
                                             std::string& Failure) {
  const std::string name = FileName(Index);
  TKeepOld keep;
  keep.Backup = true;
  if (!MayReplace(Index, keep, Ask)) return TSaveResult::Declined;
  try {
    Write(name, keep);
  } catch (const std::exception& failure) {
    Failure = failure.what();
    return TSaveResult::Failed;
  }
  files_[Index] = {StampOf(name), false, false};
  return TSaveResult::Saved;
}

bool TStatusFiles::IsStatusFixFile(const std::string& FileName) const {
  return loaded_ && SameFile(StampOf(FileName), StampOf(this->FileName(FixFile)));
}

void TStatusFiles::FixFileSaved() { files_[FixFile] = {StampOf(FileName(FixFile)), false, false}; }

}  // namespace navorix
