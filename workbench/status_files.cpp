#include "workbench/status_files.h"

#include <ctime>
#include <exception>

#include "stores/line_reader.h"
#include "stores/settings.h"
#include "workbench/texts.h"

namespace navorix {

std::string StatusFiles::FileName(int index) const {
  switch (index) {
    case SettingsFile:
      return paths_.settingsDir + SettingsFileName;
    case FixFile:
      return paths_.dataDir + StatusFixFileName;
    default:
      return paths_.dataDir + HistoryFileName;
  }
}

void StatusFiles::StartReading(int index) { files_[index] = {StampOf(FileName(index)), false, false}; }

void StatusFiles::FinishLoading() {
  for (StatusFile& file : files_) file.unsaved = false;
  loaded_ = true;
}

bool StatusFiles::AnyUnsaved() const {
  for (const StatusFile& file : files_) {
    if (file.unsaved) return true;
  }
  return false;
}

bool StatusFiles::TakeLock() {
  if (lock_ && lock_->Taken()) return false;
  lock_ = std::make_unique<InstanceLock>(paths_.dataDir);
  if (lock_->State() != InstanceLockState::HeldElsewhere || toldShared_) return false;
  toldShared_ = true;
  return true;
}

void StatusFiles::MakeDirectories() const {
  if (paths_.portable) return;
  navorix::MakeDirectories(paths_.settingsDir);
  navorix::MakeDirectories(paths_.dataDir);
}

bool StatusFiles::MayReplace(int index, KeepOld& keep, const AskFunction& ask) const {
  const StatusFile& file = files_[index];
  const std::string name = FileName(index);
  const FileStamp now = StampOf(name);
  // Nothing there: nothing to lose.
  if (now.Absent()) return true;
  const std::string shown = FileBaseName(name);
  // The present version is kept under a name no save replaces; the
  // question tells it. A file that cannot even be looked at (a loop of
  // links) has no version to keep, and its save will fail.
  const std::string kept =
      now.exists ? FileBaseName(UnreadName(ReplacedFile(name), std::time(nullptr))) : std::string();
  std::string question;
  if (index != SettingsFile && lock_ && lock_->State() == InstanceLockState::HeldElsewhere) {
    question = SharedFileQuestion(shown, kept);
  } else if (file.incomplete) {
    question = IncompleteFileQuestion(shown, kept);
  } else if (index != SettingsFile && !(now == file.stamp)) {
    // The settings file is merged, not replaced: lines the program does not
    // write stay as another program left them.
    question = ChangedFileQuestion(shown, kept);
  } else {
    return true;
  }
  if (!ask(question)) return false;
  keep.lasting = kept;
  return true;
}

StatusFiles::SaveResult StatusFiles::Save(int index, const WriteFunction& write, const AskFunction& ask,
                                          std::string& Failure) {
  const std::string name = FileName(index);
  KeepOld keep;
  keep.backup = true;
  if (!MayReplace(index, keep, ask)) return SaveResult::Declined;
  try {
    write(name, keep);
  } catch (const std::exception& failure) {
    Failure = failure.what();
    return SaveResult::Failed;
  }
  files_[index] = {StampOf(name), false, false};
  return SaveResult::Saved;
}

bool StatusFiles::IsStatusFixFile(const std::string& fileName) const {
  return loaded_ && SameFile(StampOf(fileName), StampOf(this->FileName(FixFile)));
}

void StatusFiles::FixFileSaved() { files_[FixFile] = {StampOf(FileName(FixFile)), false, false}; }

}  // namespace navorix
