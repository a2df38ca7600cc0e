// Sounds are played with a QAudioSink reading the sample bytes of the slot
// through a QBuffer, so no file is touched after start-up and no decoder is
// involved. The samples are handed on as they are; the sink's format is
// taken from the wave header.
//
// A sink says when it has been handed the last byte, not when that byte
// has been heard: the output still holds up to its whole latency. So every
// sound is followed by silence at least as long as that latency, and the
// end of the handing over, which then falls within the silence, counts as
// the end of the sound. Stopping the sink there loses silence only.
#include "window/sound/sound_table.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QTimer>

namespace navorix {

namespace {

QAudioFormat::SampleFormat sampleFormatOf(const WaveFormat& F) {
  if (F.real) return QAudioFormat::Float;
  switch (F.bitsPerSample) {
    case 8:
      return QAudioFormat::UInt8;
    case 16:
      return QAudioFormat::Int16;
    case 32:
      return QAudioFormat::Int32;
    default:
      return QAudioFormat::Unknown;
  }
}

// The output buffer asked for at every start: a server that adjusts its
// latency to the stream (PulseAudio and PipeWire do) keeps the stream's
// buffer and the device's together within it. A sink reused with its own
// last buffer size gets less each time (the server grants three quarters
// of it) until nothing plays. 250 ms hold the shortest sounds whole and
// leave the user-interface thread that much time between refills.
constexpr int OutputBufferMs = 250;
// The silence after each sound: the whole latency, and a reserve for the
// device's own few milliseconds. The handing over ends when no more than
// the latency is left to play, so a wait ends about this reserve after the
// sound, and later where the latency is shorter than the buffer (130 to
// 210 ms after it on test servers whose recorder holds the device's
// latency at 10 ms).
constexpr int ReserveMs = 40;
constexpr int TrailingSilenceMs = OutputBufferMs + ReserveMs;

// The bytes of Duration of silence in format.
QByteArray silence(const QAudioFormat& format, int durationMs) {
  const auto size = static_cast<qsizetype>(format.bytesForDuration(qint64{durationMs} * 1000));
  // Unsigned 8-bit samples are silent at their middle value.
  return QByteArray(size, format.sampleFormat() == QAudioFormat::UInt8 ? '\x80' : '\0');
}

}  // namespace

SoundTable::SoundTable(QObject* parent) : QObject(parent) {}

SoundTable::~SoundTable() {
  stop();
  delete sink_;
}

int SoundTable::loadSound(const QString& fileName) {
  if (count() >= MaxSlots) return 0;
  slots_.emplace_back();
  Slot& slot = slots_.back();
  const QFileInfo info(fileName);
  if (!info.exists()) {
    lastStatus_ = StatusMissing;
    return count();
  }
  QFile file(fileName);
  if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
    lastStatus_ = StatusUnreadable;
    return count();
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    lastStatus_ = StatusUnreadable;
    return count();
  }
  slot.bytes = std::move(bytes);
  slot.format = parseWave(reinterpret_cast<const unsigned char*>(slot.bytes.constData()),
                          static_cast<std::size_t>(slot.bytes.size()));
  return count();
}

bool SoundTable::isPlayable(int N) const {
  if (N < 1 || N > count()) return false;
  const Slot& slot = slots_[static_cast<std::size_t>(N - 1)];
  return slot.format.has_value() && slot.format->dataSize > 0;
}

std::int64_t SoundTable::durationMs(int N) const {
  if (!isPlayable(N)) return 0;
  return waveDurationMs(*slots_[static_cast<std::size_t>(N - 1)].format);
}

bool SoundTable::isPlaying() const {
  if (sink_ == nullptr) return false;
  const QAudio::State state = sink_->state();
  return state == QAudio::ActiveState || (state == QAudio::IdleState && !handedOver());
}

bool SoundTable::handedOver() const { return buffer_ != nullptr && buffer_->atEnd(); }

void SoundTable::stop() {
  if (sink_ != nullptr) sink_->stop();
}

void SoundTable::sinkStateChanged(QAudio::State state) {
  // An underrun also makes the sink idle, with data still to come.
  if (state != QAudio::IdleState || !handedOver()) return;
  // The sound has been heard; the stream goes once the silence after it
  // has played too, unless another sound takes its place first.
  const unsigned serial = serial_;
  QTimer::singleShot(TrailingSilenceMs, this, [this, serial] {
    if (serial_ == serial) stop();
  });
}

void SoundTable::playSound(int N, bool wait) {
  if (!soundOn_ || N < 1 || N > count()) return;
  QCoreApplication::processEvents();
  if (!isPlayable(N)) return;
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return;

  const Slot& slot = slots_[static_cast<std::size_t>(N - 1)];
  const WaveFormat& wave = *slot.format;
  QAudioFormat format;
  format.setSampleRate(static_cast<int>(wave.sampleRate));
  format.setChannelCount(wave.channels);
  format.setSampleFormat(sampleFormatOf(wave));

  // A sound still playing is cut off: the new one replaces it.
  stop();
  if (sink_ != nullptr && (sinkFormat_ != format || sink_->error() != QAudio::NoError)) {
    sink_->deleteLater();
    sink_ = nullptr;
  }
  if (sink_ == nullptr) {
    sink_ = new QAudioSink(device, format, this);
    sinkFormat_ = format;
    connect(sink_, &QAudioSink::stateChanged, this, &SoundTable::sinkStateChanged);
  }
  sink_->setBufferSize(format.bytesForDuration(qint64{OutputBufferMs} * 1000));
  if (buffer_ != nullptr) buffer_->deleteLater();
  buffer_ = new QBuffer(this);
  buffer_->setData(
      slot.bytes.mid(static_cast<qsizetype>(wave.dataOffset), static_cast<qsizetype>(wave.dataSize)) +
      silence(format, TrailingSilenceMs));
  buffer_->open(QIODevice::ReadOnly);
  const unsigned serial = ++serial_;
  sink_->start(buffer_);
  if (sink_->state() != QAudio::ActiveState && sink_->state() != QAudio::IdleState) return;

  if (wait) {
    // A sound cannot end before its own playing time, whatever the output
    // reports; from then on the end of the handing over counts, until the
    // margin runs out. Another sound started meanwhile, or an output that
    // stops (its server gone), ends the wait.
    const int duration = static_cast<int>(waveDurationMs(wave));
    QEventLoop loop;
    bool longEnough = false;
    auto ended = [this, serial] { return serial_ != serial || !isPlaying(); };
    QTimer least;
    least.setSingleShot(true);
    connect(&least, &QTimer::timeout, &loop, [&loop, &longEnough, ended] {
      longEnough = true;
      if (ended()) loop.quit();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(sink_, &QAudioSink::stateChanged, &loop, [&loop, &longEnough, ended](QAudio::State) {
      if (longEnough && ended()) loop.quit();
    });
    least.start(duration);
    deadline.start(duration + WaitMarginMs);
    loop.exec();
  }
  QCoreApplication::processEvents();
}

void loadStandardSounds(SoundTable& sounds, const QString& directory) {
  static constexpr const char* Files[] = {"wav/nvx_err.wav", "wav/nvx_inp.wav", "wav/nvx_que.wav",
                                          "wav/nvx_don.wav"};
  for (const char* file : Files) sounds.loadSound(directory + QLatin1String(file));
}

}  // namespace navorix
