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

class TStatusFiles {
 public:
  enum TIndex : int { SettingsFile, FixFile, HistoryFile, Count };
  // How a status file's save ended.
  enum class TSaveResult { Saved, Declined, Failed };
  // Writes a status file to Name, keeping of the old one what Keep says;
  // throws on failure.
  using TWrite = std::function<void(const std::string& Name, const TKeepOld& Keep)>;
  // The user's answer to a yes/no question; false for no.
  using TAsk = std::function<bool(const std::string& Question)>;

  explicit TStatusFiles(TAppData Paths) : paths_(std::move(Paths)) {}

  std::string FileName(int Index) const;

  // Status loading starts reading file Index: its stamp is taken now.
  void StartReading(int Index);
  // Whether file Index exists or cannot be looked at (a loop of links is no
  // absent file: its reading fails and it is not replaced unasked).
  bool MayBeThere(int Index) const { return !files_[Index].Stamp.Absent(); }
  void SetIncomplete(int Index, bool Incomplete) { files_[Index].Incomplete = Incomplete; }
  bool Incomplete(int Index) const { return files_[Index].Incomplete; }
  // Status loading is over: nothing is unsaved, and later saves of the
  // status fix file under any name count as its saves.
  void FinishLoading();

  void MarkUnsaved(int Index) { files_[Index].Unsaved = true; }
  bool AnyUnsaved() const;

  // Takes the lock of the data directory when it is free; true when another
  // copy holds it and that was not said yet.
  bool TakeLock();

  // Makes the per-user directories (a portable folder has its data folder
  // already).
  void MakeDirectories() const;

  // Saves file Index through Write, after asking (Ask) when it might lose
  // what the user keeps; its old version is kept as NAME.bak, and under a
  // lasting name when the question named one. The failure's text in
  // Failure.
  TSaveResult Save(int Index, const TWrite& Write, const TAsk& Ask, std::string& Failure);
  // True when FileName is the status fix file of a loaded status.
  bool IsStatusFixFile(const std::string& FileName) const;
  // The status fix file was saved by another way than Save.
  void FixFileSaved();

 private:
  // A status file as Navorix last read or wrote it.
  struct TStatusFile {
    TFileStamp Stamp;
    bool Incomplete = false;  // it could not be read completely
    bool Unsaved = false;     // what it stands for changed since
  };
  // Asks before a file that might lose what the user keeps is replaced,
  // and names in Keep where its present version will be kept; false when
  // the user says no.
  bool MayReplace(int Index, TKeepOld& Keep, const TAsk& Ask) const;

  TAppData paths_;
  TStatusFile files_[Count];
  bool loaded_ = false;  // the status files were read (the window, not the batch)
  std::unique_ptr<TInstanceLock> lock_;
  bool toldShared_ = false;
};

}  // namespace navorix
