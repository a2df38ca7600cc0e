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

QAudioFormat::SampleFormat SampleFormatOf(const TWaveFormat& F) {
  if (F.Float) return QAudioFormat::Float;
  switch (F.BitsPerSample) {
    case 8: return QAudioFormat::UInt8;
    case 16: return QAudioFormat::Int16;
    case 32: return QAudioFormat::Int32;
    default: return QAudioFormat::Unknown;
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

// The bytes of Duration of silence in Format.
QByteArray Silence(const QAudioFormat& Format, int DurationMs) {
  const auto size = static_cast<qsizetype>(Format.bytesForDuration(qint64{DurationMs} * 1000));
  // Unsigned 8-bit samples are silent at their middle value.
  return QByteArray(size, Format.sampleFormat() == QAudioFormat::UInt8 ? '\x80' : '\0');
}

}  // namespace

TSoundTable::TSoundTable(QObject* Parent) : QObject(Parent) {}

TSoundTable::~TSoundTable() {
  Stop();
  delete sink_;
}

int TSoundTable::LoadSnd(const QString& FileName) {
  if (Count() >= MaxSlots) return 0;
  slots_.emplace_back();
  TSlot& slot = slots_.back();
  const QFileInfo info(FileName);
  if (!info.exists()) {
    last_status_ = StatusMissing;
    return Count();
  }
  QFile file(FileName);
  if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
    last_status_ = StatusUnreadable;
    return Count();
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    last_status_ = StatusUnreadable;
    return Count();
  }
  slot.Bytes = std::move(bytes);
  slot.Format = ParseWave(reinterpret_cast<const unsigned char*>(slot.Bytes.constData()),
                          static_cast<std::size_t>(slot.Bytes.size()));
  return Count();
}

bool TSoundTable::IsPlayable(int N) const {
  if (N < 1 || N > Count()) return false;
  const TSlot& slot = slots_[static_cast<std::size_t>(N - 1)];
  return slot.Format.has_value() && slot.Format->DataSize > 0;
}

std::int64_t TSoundTable::DurationMs(int N) const {
  if (!IsPlayable(N)) return 0;
  return WaveDurationMs(*slots_[static_cast<std::size_t>(N - 1)].Format);
}

bool TSoundTable::IsPlaying() const {
  if (sink_ == nullptr) return false;
  const QAudio::State state = sink_->state();
  return state == QAudio::ActiveState || (state == QAudio::IdleState && !HandedOver());
}

bool TSoundTable::HandedOver() const { return buffer_ != nullptr && buffer_->atEnd(); }

void TSoundTable::Stop() {
  if (sink_ != nullptr) sink_->stop();
}

void TSoundTable::SinkStateChanged(QAudio::State State) {
  // An underrun also makes the sink idle, with data still to come.
  if (State != QAudio::IdleState || !HandedOver()) return;
  // The sound has been heard; the stream goes once the silence after it
  // has played too, unless another sound takes its place first.
  const unsigned serial = serial_;
  QTimer::singleShot(TrailingSilenceMs, this, [this, serial] {
    if (serial_ == serial) Stop();
  });
}

void TSoundTable::PlaySnd(int N, bool Wait) {
  if (!sound_on_ || N < 1 || N > Count()) return;
  QCoreApplication::processEvents();
  if (!IsPlayable(N)) return;
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return;

  const TSlot& slot = slots_[static_cast<std::size_t>(N - 1)];
  const TWaveFormat& wave = *slot.Format;
  QAudioFormat format;
  format.setSampleRate(static_cast<int>(wave.SampleRate));
  format.setChannelCount(wave.Channels);
  format.setSampleFormat(SampleFormatOf(wave));

  // A sound still playing is cut off: the new one replaces it.
  Stop();
  if (sink_ != nullptr && (sink_format_ != format || sink_->error() != QAudio::NoError)) {
    sink_->deleteLater();
    sink_ = nullptr;
  }
  if (sink_ == nullptr) {
    sink_ = new QAudioSink(device, format, this);
    sink_format_ = format;
    connect(sink_, &QAudioSink::stateChanged, this, &TSoundTable::SinkStateChanged);
  }
  sink_->setBufferSize(format.bytesForDuration(qint64{OutputBufferMs} * 1000));
  if (buffer_ != nullptr) buffer_->deleteLater();
  buffer_ = new QBuffer(this);
  buffer_->setData(slot.Bytes.mid(static_cast<qsizetype>(wave.DataOffset), static_cast<qsizetype>(wave.DataSize)) +
                   Silence(format, TrailingSilenceMs));
  buffer_->open(QIODevice::ReadOnly);
  const unsigned serial = ++serial_;
  sink_->start(buffer_);
  if (sink_->state() != QAudio::ActiveState && sink_->state() != QAudio::IdleState) return;

  if (Wait) {
    // A sound cannot end before its own playing time, whatever the output
    // reports; from then on the end of the handing over counts, until the
    // margin runs out. Another sound started meanwhile, or an output that
    // stops (its server gone), ends the wait.
    const int duration = static_cast<int>(WaveDurationMs(wave));
    QEventLoop loop;
    bool long_enough = false;
    auto ended = [this, serial] { return serial_ != serial || !IsPlaying(); };
    QTimer least;
    least.setSingleShot(true);
    connect(&least, &QTimer::timeout, &loop, [&loop, &long_enough, ended] {
      long_enough = true;
      if (ended()) loop.quit();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(sink_, &QAudioSink::stateChanged, &loop, [&loop, &long_enough, ended](QAudio::State) {
      if (long_enough && ended()) loop.quit();
    });
    least.start(duration);
    deadline.start(duration + WaitMarginMs);
    loop.exec();
  }
  QCoreApplication::processEvents();
}

void LoadStandardSounds(TSoundTable& Sounds, const QString& Directory) {
  static constexpr const char* Files[] = {"wav/nvx_err.wav", "wav/nvx_inp.wav",
                                          "wav/nvx_que.wav", "wav/nvx_don.wav"};
  for (const char* file : Files) Sounds.LoadSnd(Directory + QLatin1String(file));
}

}  // namespace navorix
