// The three status files of a session (settings, fix file, history) as the
// program last read or wrote them: their stamps, whether each could be read
// completely and whether what it stands for changed since, the lock of the
// data directory, and the save of one of them with its backups and the
// question before a file that might lose what the user keeps is replaced.
// The workbench decides what goes into the files; this room decides whether
// and how a file may be replaced.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "stores/app_data.h"
#include "stores/atomic_file.h"
#include "stores/file_stamp.h"
#include "stores/instance_lock.h"

namespace navorix {

class StatusFiles {
 public:
  enum FileIndex : int { SettingsFile, FixFile, HistoryFile, Count };
  // How a status file's save ended.
  enum class SaveResult { Saved, Declined, Failed };
  // Writes a status file to Name, keeping of the old one what Keep says;
  // throws on failure.
  using WriteFunction = std::function<void(const std::string& name, const KeepOld& keep)>;
  // The user's answer to a yes/no question; false for no.
  using AskFunction = std::function<bool(const std::string& question)>;

  explicit StatusFiles(AppData paths) : paths_(std::move(paths)) {}

  std::string FileName(int index) const;

  // Status loading starts reading file index: its stamp is taken now.
  void StartReading(int index);
  // Whether file index exists or cannot be looked at (a loop of links is no
  // absent file: its reading fails and it is not replaced unasked).
  bool MayBeThere(int index) const { return !files_[index].stamp.Absent(); }
  void SetIncomplete(int index, bool incomplete) { files_[index].incomplete = incomplete; }
  bool Incomplete(int index) const { return files_[index].incomplete; }
  // Status loading is over: nothing is unsaved, and later saves of the
  // status fix file under any name count as its saves.
  void FinishLoading();

  void MarkUnsaved(int index) { files_[index].unsaved = true; }
  bool AnyUnsaved() const;

  // Takes the lock of the data directory when it is free; true when another
  // copy holds it and that was not said yet.
  bool TakeLock();

  // Makes the per-user directories (a portable folder has its data folder
  // already).
  void MakeDirectories() const;

  // Saves file index through write, after asking (ask) when it might lose
  // what the user keeps; its old version is kept as NAME.bak, and under a
  // lasting name when the question named one. The failure's text in
  // failure.
  SaveResult Save(int index, const WriteFunction& write, const AskFunction& ask, std::string& failure);
  // True when fileName is the status fix file of a loaded status.
  bool IsStatusFixFile(const std::string& fileName) const;
  // The status fix file was saved by another way than Save.
  void FixFileSaved();

 private:
  // A status file as Navorix last read or wrote it.
  struct StatusFile {
    FileStamp stamp;
    bool incomplete = false;  // it could not be read completely
    bool unsaved = false;     // what it stands for changed since
  };
  // Asks before a file that might lose what the user keeps is replaced,
  // and names in keep where its present version will be kept; false when
  // the user says no.
  bool MayReplace(int index, KeepOld& keep, const AskFunction& ask) const;

  AppData paths_;
  StatusFile files_[Count];
  bool loaded_ = false;  // the status files were read (the window, not the batch)
  std::unique_ptr<InstanceLock> lock_;
  bool toldShared_ = false;
};

}  // namespace navorix
