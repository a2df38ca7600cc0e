// Sounds are played with a QAudioSink reading the sample bytes of the slot
// through a QBuffer, so no file is touched after start-up and no decoder is
// involved. The samples are handed on as they are; the sink's format is
// taken from the wave header.
#include "window/sound_table.h"

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

constexpr qint64 OutputBufferUs = 100000;

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
  return sink_ != nullptr && sink_->state() == QAudio::ActiveState;
}

void TSoundTable::Stop() {
  if (sink_ != nullptr) sink_->stop();
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

  Stop();
  if (sink_ != nullptr && (sink_format_ != format || sink_->error() != QAudio::NoError)) {
    sink_->deleteLater();
    sink_ = nullptr;
  }
  if (sink_ == nullptr) {
    sink_ = new QAudioSink(device, format, this);
    sink_format_ = format;
    // A short output buffer: the end of a sound is seen soon after it is
    // heard, and a new sound cuts in at once.
    sink_->setBufferSize(format.bytesForDuration(OutputBufferUs));
    // The sink stops by itself once the buffer is drained.
    QAudioSink* sink = sink_;
    connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State State) {
      if (State == QAudio::IdleState) sink->stop();
    });
  }
  if (buffer_ != nullptr) buffer_->deleteLater();
  buffer_ = new QBuffer(this);
  // The buffer reads the slot's own bytes; they stay until the table goes.
  buffer_->setData(QByteArray::fromRawData(slot.Bytes.constData() + static_cast<qsizetype>(wave.DataOffset),
                                           static_cast<qsizetype>(wave.DataSize)));
  buffer_->open(QIODevice::ReadOnly);
  const unsigned serial = ++serial_;
  sink_->start(buffer_);
  if (sink_->state() != QAudio::ActiveState && sink_->state() != QAudio::IdleState) return;

  if (Wait) {
    // A sound cannot end before its own playing time: an output that takes
    // the whole image at once reports the end too early. From then on the
    // sink's own end counts, until the margin runs out; another sound
    // started meanwhile ends the wait.
    const int duration = static_cast<int>(WaveDurationMs(wave));
    QAudioSink* sink = sink_;
    QEventLoop loop;
    bool long_enough = false;
    auto ended = [this, sink, serial] { return serial_ != serial || sink->state() != QAudio::ActiveState; };
    QTimer least;
    least.setSingleShot(true);
    connect(&least, &QTimer::timeout, &loop, [&loop, &long_enough, ended] {
      long_enough = true;
      if (ended()) loop.quit();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(sink, &QAudioSink::stateChanged, &loop, [&loop, &long_enough, ended](QAudio::State) {
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
