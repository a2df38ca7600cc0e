// The program's sounds: wave files read into memory once, at start, and
// played from there. Slots are numbered from 1 in the order of loading.
#pragma once

#include "window/sound/wave.h"
#include "workbench/observers.h"

#include <QAudio>
#include <QAudioFormat>
#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>
#include <vector>

class QAudioSink;
class QBuffer;

namespace navorix {

// The slot of sound once LoadStandardSounds has loaded the four sounds into
// an empty table (slots count from 1).
constexpr int soundSlot(Sound sound) { return static_cast<int>(sound) + 1; }

class SoundTable : public QObject {
  Q_OBJECT

 public:
  static constexpr int MaxSlots = 255;
  // LastStatus values; 0 until a load has failed.
  static constexpr int StatusUnreadable = 1;  // the file exists, reading it failed
  static constexpr int StatusMissing = 2;     // the file does not exist

  explicit SoundTable(QObject* parent = nullptr);
  ~SoundTable() override;

  // Reads fileName into the next slot and returns its number, also when the
  // slot stays empty (a missing or unreadable file; LastStatus tells which).
  // Returns 0 and loads nothing when all MaxSlots slots are in use.
  int loadSound(const QString& fileName);
  int count() const { return static_cast<int>(slots_.size()); }
  int lastStatus() const { return lastStatus_; }
  // True when slot N holds the bytes of a wave file that can be played.
  bool isPlayable(int N) const;
  // Playing time of slot N in milliseconds, 0 for an empty or unusable slot.
  std::int64_t durationMs(int N) const;

  // The Sound option; the owner of the option keeps it in step.
  void setSoundOn(bool on) { soundOn_ = on; }
  bool soundOn() const { return soundOn_; }

  // Plays slot N when sound is on and 1 <= N <= Count: pending events are
  // processed, a sound still playing is cut off, and the slot is played;
  // with wait the call returns when the sound has been heard, at the latest
  // its playing time plus WaitMarginMs later, processing events meanwhile.
  // An empty slot, an unusable image, a machine without an audio output or
  // a sound server that has gone play nothing and never wait.
  void playSound(int N, bool wait);
  // True from the start of a sound until it has been heard.
  bool isPlaying() const;
  // Cuts off the sound that is playing, if any.
  void stop();

  static constexpr int WaitMarginMs = 250;

 private:
  // True when the sink has been handed the whole of the sound and its
  // trailing silence.
  bool handedOver() const;
  void sinkStateChanged(QAudio::State state);

  struct Slot {
    QByteArray bytes;  // the whole file, empty when it could not be read
    std::optional<WaveFormat> format;
  };

  std::vector<Slot> slots_;
  int lastStatus_ = 0;
  bool soundOn_ = true;
  // One sink, kept while the sample format stays the same: creating and
  // destroying sinks in quick succession is what audio back ends like
  // least.
  QAudioSink* sink_ = nullptr;
  QAudioFormat sinkFormat_;
  // The sound playing: its samples and the silence after them.
  QBuffer* buffer_ = nullptr;
  // Counts the sounds started; a wait ends when another sound starts.
  unsigned serial_ = 0;
};

// Loads the four sound files, "wav/nvx_err.wav", "wav/nvx_inp.wav",
// "wav/nvx_que.wav" and "wav/nvx_don.wav" under directory (ending in "/",
// or empty for the current directory), in Sound's order (see SoundSlot).
void loadStandardSounds(SoundTable& sounds, const QString& directory);

}  // namespace navorix
