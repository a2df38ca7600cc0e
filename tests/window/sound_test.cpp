// Sounds: wave headers, the slot table and its numbering, and playing
// without ever waiting longer than a sound lasts.
#include "window/sound/sound_table.h"
#include "window/sound/wave.h"

#include <QAudioDevice>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <vector>

using navorix::SoundTable;

namespace {

const QString Source = QStringLiteral(NAVORIX_SOURCE_DIR "/");

void put16(std::vector<unsigned char>& B, unsigned V) {
  B.push_back(static_cast<unsigned char>(V & 0xFF));
  B.push_back(static_cast<unsigned char>((V >> 8) & 0xFF));
}

void put32(std::vector<unsigned char>& B, unsigned V) {
  put16(B, V & 0xFFFF);
  put16(B, V >> 16);
}

void putId(std::vector<unsigned char>& B, const char* id) {
  for (int i = 0; i < 4; ++i) B.push_back(static_cast<unsigned char>(id[i]));
}

// A wave image: the format chunk (tag, channels, rate, bits), an optional
// chunk before it, and a data chunk that claims claimed bytes but holds
// actual.
std::vector<unsigned char> wave(unsigned tag, unsigned channels, unsigned rate, unsigned bits,
                                unsigned claimed, unsigned actual, unsigned extraChunk = 0) {
  std::vector<unsigned char> b;
  putId(b, "RIFF");
  put32(b, 0);
  putId(b, "WAVE");
  if (extraChunk > 0) {
    putId(b, "LIST");
    put32(b, extraChunk);
    b.insert(b.end(), extraChunk + (extraChunk & 1U), 'x');
  }
  putId(b, "fmt ");
  put32(b, 16);
  put16(b, tag);
  put16(b, channels);
  put32(b, rate);
  put32(b, rate * channels * bits / 8);
  put16(b, channels * bits / 8);
  put16(b, bits);
  putId(b, "data");
  put32(b, claimed);
  b.insert(b.end(), actual, 0);
  return b;
}

std::optional<navorix::WaveFormat> parse(const std::vector<unsigned char>& B) {
  return navorix::parseWave(B.data(), B.size());
}

}  // namespace

class SoundTest : public QObject {
  Q_OBJECT

 private slots:
  void parsesPcmHeaders() {
    const auto f = parse(wave(1, 1, 22050, 16, 44100, 44100));
    QVERIFY(f.has_value());
    QCOMPARE(f->channels, std::uint16_t{1});
    QCOMPARE(f->sampleRate, std::uint32_t{22050});
    QCOMPARE(f->bitsPerSample, std::uint16_t{16});
    QCOMPARE(f->dataOffset, std::size_t{44});
    QCOMPARE(f->dataSize, std::size_t{44100});
    QCOMPARE(navorix::waveDurationMs(*f), std::int64_t{1000});
  }

  void skipsOddChunksWithTheirPadByte() {
    const auto f = parse(wave(1, 2, 8000, 8, 16, 16, 3));
    QVERIFY(f.has_value());
    QCOMPARE(f->dataOffset, std::size_t{12 + 8 + 4 + 24 + 8});
    QCOMPARE(f->dataSize, std::size_t{16});
  }

  void cutsAnOverlongDataChunkToWholeFrames() {
    // Claims 1000 bytes, holds 101: 50 frames of 2 bytes.
    const auto f = parse(wave(1, 1, 8000, 16, 1000, 101));
    QVERIFY(f.has_value());
    QCOMPARE(f->dataSize, std::size_t{100});
    // 50 frames at 8000 Hz: 6.25 ms, rounded up.
    QCOMPARE(navorix::waveDurationMs(*f), std::int64_t{7});
  }

  void refusesWhatCannotBePlayedAsItIs() {
    QVERIFY(!parse(wave(2, 1, 8000, 4, 10, 10)).has_value());   // ADPCM
    QVERIFY(!parse(wave(1, 1, 8000, 24, 30, 30)).has_value());  // 24-bit
    QVERIFY(!parse(wave(1, 6, 8000, 16, 30, 30)).has_value());  // 6 channels
    QVERIFY(!parse(wave(1, 1, 0, 16, 30, 30)).has_value());     // no rate
    QVERIFY(parse(wave(3, 1, 8000, 32, 32, 32)).has_value());   // float
    auto truncated = wave(1, 1, 8000, 16, 10, 10);
    truncated.resize(30);
    QVERIFY(!parse(truncated).has_value());
    auto notWave = wave(1, 1, 8000, 16, 10, 10);
    std::memcpy(notWave.data() + 8, "AVI ", 4);
    QVERIFY(!parse(notWave).has_value());
    QVERIFY(!navorix::parseWave(nullptr, 0).has_value());
  }

  void shippedSoundsAreShortMonoPcm() {
    for (const char* name : {"nvx_err.wav", "nvx_inp.wav", "nvx_que.wav", "nvx_don.wav"}) {
      QFile file(Source + QStringLiteral("wav/") + QLatin1String(name));
      QVERIFY2(file.open(QIODevice::ReadOnly), name);
      const QByteArray bytes = file.readAll();
      const auto f = navorix::parseWave(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                        static_cast<std::size_t>(bytes.size()));
      QVERIFY2(f.has_value(), name);
      QCOMPARE(f->channels, std::uint16_t{1});
      QCOMPARE(f->bitsPerSample, std::uint16_t{16});
      QVERIFY2(navorix::waveDurationMs(*f) > 30, name);
      QVERIFY2(navorix::waveDurationMs(*f) < 1000, name);
    }
  }

  void slotsAreNumberedInLoadingOrderAndCountMissingFiles() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("unreadable.wav")));
    SoundTable sounds;
    QCOMPARE(sounds.lastStatus(), 0);
    QCOMPARE(sounds.loadSound(Source + QStringLiteral("wav/nvx_err.wav")), 1);
    QCOMPARE(sounds.lastStatus(), 0);
    QCOMPARE(sounds.loadSound(dir.path() + QStringLiteral("/missing.wav")), 2);
    QCOMPARE(sounds.lastStatus(), SoundTable::StatusMissing);
    // A directory of that name exists but cannot be read as a file.
    QCOMPARE(sounds.loadSound(dir.path() + QStringLiteral("/unreadable.wav")), 3);
    QCOMPARE(sounds.lastStatus(), SoundTable::StatusUnreadable);
    // A good file does not clear the status of an earlier failure.
    QCOMPARE(sounds.loadSound(Source + QStringLiteral("wav/nvx_don.wav")), 4);
    QCOMPARE(sounds.lastStatus(), SoundTable::StatusUnreadable);
    QCOMPARE(sounds.count(), 4);
    QVERIFY(sounds.isPlayable(1));
    QVERIFY(!sounds.isPlayable(2));
    QVERIFY(!sounds.isPlayable(3));
    QVERIFY(sounds.isPlayable(4));
    QVERIFY(!sounds.isPlayable(0));
    QVERIFY(!sounds.isPlayable(5));
  }

  void tableHoldsAtMost255Slots() {
    SoundTable sounds;
    for (int i = 1; i <= SoundTable::MaxSlots; ++i)
      QCOMPARE(sounds.loadSound(QStringLiteral("/nonexistent/x.wav")), i);
    QCOMPARE(sounds.loadSound(QStringLiteral("/nonexistent/x.wav")), 0);
    QCOMPARE(sounds.count(), SoundTable::MaxSlots);
  }

  void missingFileStaysSilent() {
    SoundTable sounds;
    const int n = sounds.loadSound(QStringLiteral("/nonexistent/nvx_err.wav"));
    QElapsedTimer clock;
    clock.start();
    sounds.playSound(n, true);
    QVERIFY(!sounds.isPlaying());
    QVERIFY(clock.elapsed() < 100);
  }

  void numbersOutsideTheTablePlayNothing() {
    SoundTable sounds;
    navorix::loadStandardSounds(sounds, Source);
    QCOMPARE(sounds.count(), 4);
    sounds.playSound(0, true);
    QVERIFY(!sounds.isPlaying());
    sounds.playSound(5, true);
    QVERIFY(!sounds.isPlaying());
  }

  void soundOffNeverWaits() {
    SoundTable sounds;
    navorix::loadStandardSounds(sounds, Source);
    sounds.setSoundOn(false);
    QElapsedTimer clock;
    clock.start();
    sounds.playSound(navorix::soundSlot(navorix::Sound::Error), true);
    QVERIFY(!sounds.isPlaying());
    QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));
  }

  void waitIsBoundedByTheSoundItself() {
    SoundTable sounds;
    navorix::loadStandardSounds(sounds, Source);
    QVERIFY(sounds.soundOn());
    const std::int64_t duration = sounds.durationMs(navorix::soundSlot(navorix::Sound::Error));
    QVERIFY(duration > 0);
    QElapsedTimer clock;
    clock.start();
    sounds.playSound(navorix::soundSlot(navorix::Sound::Error), true);
    const qint64 waited = clock.elapsed();
    // A machine without an audio output (a build server) plays nothing and
    // does not wait; one with an output waits at most for the sound.
    if (QMediaDevices::defaultAudioOutput().isNull()) {
      QVERIFY2(waited < 100, qPrintable(QString::number(waited)));
    } else {
      QVERIFY2(waited <= duration + SoundTable::WaitMarginMs + 200, qPrintable(QString::number(waited)));
    }
    QVERIFY(!sounds.isPlaying());
  }

  void notWaitingReturnsAtOnce() {
    SoundTable sounds;
    navorix::loadStandardSounds(sounds, Source);
    QElapsedTimer clock;
    clock.start();
    sounds.playSound(navorix::soundSlot(navorix::Sound::Done), false);
    QVERIFY(clock.elapsed() < 200);
    sounds.playSound(navorix::soundSlot(navorix::Sound::Input), false);  // replaces the one playing
    sounds.stop();
    QVERIFY(!sounds.isPlaying());
  }
};

QTEST_MAIN(SoundTest)
#include "sound_test.moc"
