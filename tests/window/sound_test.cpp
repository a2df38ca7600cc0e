// Sounds: wave headers, the slot table and its numbering, and playing
// without ever waiting longer than a sound lasts.
#include "window/sound/sound_table.h"
#include "window/sound/wave.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <vector>

using navorix::TSoundTable;

namespace {

const QString Source = QStringLiteral(NAVORIX_SOURCE_DIR "/");

void Put16(std::vector<unsigned char>& B, unsigned V) {
  B.push_back(static_cast<unsigned char>(V & 0xFF));
  B.push_back(static_cast<unsigned char>((V >> 8) & 0xFF));
}

void Put32(std::vector<unsigned char>& B, unsigned V) {
  Put16(B, V & 0xFFFF);
  Put16(B, V >> 16);
}

void PutId(std::vector<unsigned char>& B, const char* Id) {
  for (int i = 0; i < 4; ++i) B.push_back(static_cast<unsigned char>(Id[i]));
}

// A wave image: the format chunk (tag, channels, rate, bits), an optional
// chunk before it, and a data chunk that claims Claimed bytes but holds
// Actual.
std::vector<unsigned char> Wave(unsigned Tag, unsigned Channels, unsigned Rate, unsigned Bits,
                                unsigned Claimed, unsigned Actual, unsigned ExtraChunk = 0) {
  std::vector<unsigned char> b;
  PutId(b, "RIFF");
  Put32(b, 0);
  PutId(b, "WAVE");
  if (ExtraChunk > 0) {
    PutId(b, "LIST");
    Put32(b, ExtraChunk);
    b.insert(b.end(), ExtraChunk + (ExtraChunk & 1U), 'x');
  }
  PutId(b, "fmt ");
  Put32(b, 16);
  Put16(b, Tag);
  Put16(b, Channels);
  Put32(b, Rate);
  Put32(b, Rate * Channels * Bits / 8);
  Put16(b, Channels * Bits / 8);
  Put16(b, Bits);
  PutId(b, "data");
  Put32(b, Claimed);
  b.insert(b.end(), Actual, 0);
  return b;
}

std::optional<navorix::TWaveFormat> Parse(const std::vector<unsigned char>& B) {
  return navorix::ParseWave(B.data(), B.size());
}

}  // namespace

class SoundTest : public QObject {
  Q_OBJECT

 private slots:
  void ParsesPcmHeaders() {
    const auto f = Parse(Wave(1, 1, 22050, 16, 44100, 44100));
    QVERIFY(f.has_value());
    QCOMPARE(f->Channels, std::uint16_t{1});
    QCOMPARE(f->SampleRate, std::uint32_t{22050});
    QCOMPARE(f->BitsPerSample, std::uint16_t{16});
    QCOMPARE(f->DataOffset, std::size_t{44});
    QCOMPARE(f->DataSize, std::size_t{44100});
    QCOMPARE(navorix::WaveDurationMs(*f), std::int64_t{1000});
  }

  void SkipsOddChunksWithTheirPadByte() {
    const auto f = Parse(Wave(1, 2, 8000, 8, 16, 16, 3));
    QVERIFY(f.has_value());
    QCOMPARE(f->DataOffset, std::size_t{12 + 8 + 4 + 24 + 8});
    QCOMPARE(f->DataSize, std::size_t{16});
  }

  void CutsAnOverlongDataChunkToWholeFrames() {
    // Claims 1000 bytes, holds 101: 50 frames of 2 bytes.
    const auto f = Parse(Wave(1, 1, 8000, 16, 1000, 101));
    QVERIFY(f.has_value());
    QCOMPARE(f->DataSize, std::size_t{100});
    // 50 frames at 8000 Hz: 6.25 ms, rounded up.
    QCOMPARE(navorix::WaveDurationMs(*f), std::int64_t{7});
  }

  void RefusesWhatCannotBePlayedAsItIs() {
    QVERIFY(!Parse(Wave(2, 1, 8000, 4, 10, 10)).has_value());   // ADPCM
    QVERIFY(!Parse(Wave(1, 1, 8000, 24, 30, 30)).has_value());  // 24-bit
    QVERIFY(!Parse(Wave(1, 6, 8000, 16, 30, 30)).has_value());  // 6 channels
    QVERIFY(!Parse(Wave(1, 1, 0, 16, 30, 30)).has_value());     // no rate
    QVERIFY(Parse(Wave(3, 1, 8000, 32, 32, 32)).has_value());   // float
    auto truncated = Wave(1, 1, 8000, 16, 10, 10);
    truncated.resize(30);
    QVERIFY(!Parse(truncated).has_value());
    auto not_wave = Wave(1, 1, 8000, 16, 10, 10);
    std::memcpy(not_wave.data() + 8, "AVI ", 4);
    QVERIFY(!Parse(not_wave).has_value());
    QVERIFY(!navorix::ParseWave(nullptr, 0).has_value());
  }

  void ShippedSoundsAreShortMonoPcm() {
    for (const char* name : {"nvx_err.wav", "nvx_inp.wav", "nvx_que.wav", "nvx_don.wav"}) {
      QFile file(Source + QStringLiteral("wav/") + QLatin1String(name));
      QVERIFY2(file.open(QIODevice::ReadOnly), name);
      const QByteArray bytes = file.readAll();
      const auto f = navorix::ParseWave(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                        static_cast<std::size_t>(bytes.size()));
      QVERIFY2(f.has_value(), name);
      QCOMPARE(f->Channels, std::uint16_t{1});
      QCOMPARE(f->BitsPerSample, std::uint16_t{16});
      QVERIFY2(navorix::WaveDurationMs(*f) > 30, name);
      QVERIFY2(navorix::WaveDurationMs(*f) < 1000, name);
    }
  }

  void SlotsAreNumberedInLoadingOrderAndCountMissingFiles() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("unreadable.wav")));
    TSoundTable sounds;
    QCOMPARE(sounds.LastStatus(), 0);
    QCOMPARE(sounds.LoadSnd(Source + QStringLiteral("wav/nvx_err.wav")), 1);
    QCOMPARE(sounds.LastStatus(), 0);
    QCOMPARE(sounds.LoadSnd(dir.path() + QStringLiteral("/missing.wav")), 2);
    QCOMPARE(sounds.LastStatus(), TSoundTable::StatusMissing);
    // A directory of that name exists but cannot be read as a file.
    QCOMPARE(sounds.LoadSnd(dir.path() + QStringLiteral("/unreadable.wav")), 3);
    QCOMPARE(sounds.LastStatus(), TSoundTable::StatusUnreadable);
    // A good file does not clear the status of an earlier failure.
    QCOMPARE(sounds.LoadSnd(Source + QStringLiteral("wav/nvx_don.wav")), 4);
    QCOMPARE(sounds.LastStatus(), TSoundTable::StatusUnreadable);
    QCOMPARE(sounds.Count(), 4);
    QVERIFY(sounds.IsPlayable(1));
    QVERIFY(!sounds.IsPlayable(2));
    QVERIFY(!sounds.IsPlayable(3));
    QVERIFY(sounds.IsPlayable(4));
    QVERIFY(!sounds.IsPlayable(0));
    QVERIFY(!sounds.IsPlayable(5));
  }

  void TableHoldsAtMost255Slots() {
    TSoundTable sounds;
    for (int i = 1; i <= TSoundTable::MaxSlots; ++i) QCOMPARE(sounds.LoadSnd(QStringLiteral("/nonexistent/x.wav")), i);
    QCOMPARE(sounds.LoadSnd(QStringLiteral("/nonexistent/x.wav")), 0);
    QCOMPARE(sounds.Count(), TSoundTable::MaxSlots);
  }

  void MissingFileStaysSilent() {
    TSoundTable sounds;
    const int n = sounds.LoadSnd(QStringLiteral("/nonexistent/nvx_err.wav"));
    QElapsedTimer clock;
    clock.start();
    sounds.PlaySnd(n, true);
    QVERIFY(!sounds.IsPlaying());
    QVERIFY(clock.elapsed() < 100);
  }

  void NumbersOutsideTheTablePlayNothing() {
    TSoundTable sounds;
    navorix::LoadStandardSounds(sounds, Source);
    QCOMPARE(sounds.Count(), 4);
    sounds.PlaySnd(0, true);
    QVERIFY(!sounds.IsPlaying());
    sounds.PlaySnd(5, true);
    QVERIFY(!sounds.IsPlaying());
  }

  void SoundOffNeverWaits() {
    TSoundTable sounds;
    navorix::LoadStandardSounds(sounds, Source);
    sounds.SetSoundOn(false);
    QElapsedTimer clock;
    clock.start();
    sounds.PlaySnd(navorix::SoundSlot(navorix::TSound::Error), true);
    QVERIFY(!sounds.IsPlaying());
    QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));
  }

  void WaitIsBoundedByTheSoundItself() {
    TSoundTable sounds;
    navorix::LoadStandardSounds(sounds, Source);
    QVERIFY(sounds.SoundOn());
    const std::int64_t duration = sounds.DurationMs(navorix::SoundSlot(navorix::TSound::Error));
    QVERIFY(duration > 0);
    QElapsedTimer clock;
    clock.start();
    sounds.PlaySnd(navorix::SoundSlot(navorix::TSound::Error), true);
    const qint64 waited = clock.elapsed();
    // A machine without an audio output (a build server) plays nothing and
    // does not wait; one with an output waits at most for the sound.
    if (QMediaDevices::defaultAudioOutput().isNull()) {
      QVERIFY2(waited < 100, qPrintable(QString::number(waited)));
    } else {
      QVERIFY2(waited <= duration + TSoundTable::WaitMarginMs + 200, qPrintable(QString::number(waited)));
    }
    QVERIFY(!sounds.IsPlaying());
  }

  void NotWaitingReturnsAtOnce() {
    TSoundTable sounds;
    navorix::LoadStandardSounds(sounds, Source);
    QElapsedTimer clock;
    clock.start();
    sounds.PlaySnd(navorix::SoundSlot(navorix::TSound::Done), false);
    QVERIFY(clock.elapsed() < 200);
    sounds.PlaySnd(navorix::SoundSlot(navorix::TSound::Input), false);  // replaces the one playing
    sounds.Stop();
    QVERIFY(!sounds.IsPlaying());
  }
};

QTEST_MAIN(SoundTest)
#include "sound_test.moc"
