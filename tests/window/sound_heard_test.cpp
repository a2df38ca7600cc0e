// Every sound is heard whole, every time: the sound table plays through a
// real sound server (a private PulseAudio with a null sink), the sink's
// output is recorded, and each play is found in the recording and compared
// with its file, in length and in shape.
//
// The line between sound and silence: a sample above 1 % of full scale
// (-40 dBFS) sounds. The four sounds peak at -5 to -11 dBFS and stay above
// -28 dBFS up to their 5 ms fade-out, and a null sink outputs exact zeros
// between them, so the line sits 12 dB below the quietest part of any
// sound and far above anything a silent sink produces; resampling moves no
// sound across it. Two plays are apart when 30 ms pass without a sounding
// sample. The longest quiet run inside a file is under 1 ms (checked
// below), and the plays here are at least 120 ms apart. A server short of
// processor time may drop a block of 10 to 20 ms in place (seen once with
// PipeWire beside a sanitizer build): the rest of the sound keeps its
// time, so that is the server's doing, and it costs the correlation little
// (0.976). The player cannot drop in place: when it fails to deliver in
// time, the rest comes late, which the length or the correlation shows.
//
// NAVORIX_TEST_PULSE_SERVER=ADDRESS records the default sink of a running
// server instead of starting one (to try another server by hand, such as
// PipeWire's).
#include "tests/window/heard_sound.h"
#include "tests/window/private_pulse.h"
#include "window/sound/sound_table.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>

using navorix::SoundTable;
using navorix::test::Clock;
using navorix::test::Samples;

namespace {

const QString Source = QStringLiteral(NAVORIX_SOURCE_DIR "/");
constexpr int RecordingRate = 22050;
constexpr navorix::test::SilenceRule Rule{0.01F, 30.0};
// Heard length within 10 % of the file's; shape: normalised correlation.
// Whole plays reach 0.98 or more here; two of the sounds heard together
// stay below 0.90.
constexpr double LengthTolerance = 0.10;
constexpr double LeastCorrelation = 0.95;
// The recording's clock is known to a few milliseconds, late rather than
// early: a wait seen to end up to this much before its sound may not.
constexpr double ClockSlackMs = 20;
// The pause after a sound that plays without waiting before the next one
// starts: the sound's own time plus enough for the output's latency.
constexpr int PaceAfterSoundMs = 300;

constexpr std::array<int, 4> AllSounds = {
    navorix::soundSlot(navorix::Sound::Error), navorix::soundSlot(navorix::Sound::Input),
    navorix::soundSlot(navorix::Sound::Question), navorix::soundSlot(navorix::Sound::Done)};

struct Play {
  int sound = 0;
  bool wait = false;
  Clock::time_point start;
  Clock::time_point end;  // when playSound returned
};

double msBetween(Clock::time_point A, Clock::time_point B) {
  return std::chrono::duration<double, std::milli>(B - A).count();
}

}  // namespace

class SoundHeardTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<navorix::test::PrivatePulse> server_;
  std::unique_ptr<navorix::test::MonitorRecording> recording_;
  std::unique_ptr<SoundTable> sounds_;
  std::array<Samples, 5> files_;  // by sound number
  std::vector<Play> plays_;

  void play(int sound, bool wait) {
    Play play;
    play.sound = sound;
    play.wait = wait;
    play.start = Clock::now();
    sounds_->playSound(sound, wait);
    play.end = Clock::now();
    plays_.push_back(play);
  }

  double fileLengthMs(int sound) const {
    const auto stretches =
        navorix::test::soundingStretches(files_[static_cast<std::size_t>(sound)], Rule, 0,
                                         files_[static_cast<std::size_t>(sound)].data.size());
    return files_[static_cast<std::size_t>(sound)].ms(stretches.front().length());
  }

  // Finds each play of plays_ in the recording and checks that it was
  // heard once, whole, and as its file; prints what was heard.
  void checkHeard() {
    QTest::qWait(PaceAfterSoundMs);
    const Samples heard = recording_->samples();
    const QString keep = qEnvironmentVariable("NAVORIX_TEST_SOUND_RECORDING");
    if (!keep.isEmpty())
      recording_->save(keep + QLatin1Char('-') + QLatin1String(QTest::currentTestFunction()) +
                       QStringLiteral(".raw"));
    std::vector<std::size_t> starts;
    for (const Play& play : plays_) starts.push_back(recording_->sampleAt(play.start));
    starts.push_back(heard.data.size());
    int faults = 0;
    QString table;
    for (std::size_t i = 0; i < plays_.size(); ++i) {
      const Play& play = plays_[i];
      const auto stretches = navorix::test::soundingStretches(heard, Rule, starts[i], starts[i + 1]);
      const double fileMs = fileLengthMs(play.sound);
      double heardMs = 0;
      double correlation = 0;
      double onsetMs = 0;
      double tailMs = 0;  // from the end of the sound to the end of the wait
      for (const auto& s : stretches) heardMs += heard.ms(s.length());
      if (!stretches.empty()) {
        const auto& s = stretches.front();
        correlation = navorix::test::correlation(heard, s.first, files_[static_cast<std::size_t>(play.sound)],
                                                 Rule.level, heard.count(5));
        onsetMs = heard.ms(s.first - starts[i]);
        tailMs = heard.ms(recording_->sampleAt(play.end)) - heard.ms(stretches.back().last);
      }
      // A wait ends once its sound has been heard.
      const bool whole = stretches.size() == 1 && std::fabs(heardMs - fileMs) <= LengthTolerance * fileMs &&
                         correlation >= LeastCorrelation && (!play.wait || tailMs >= -ClockSlackMs);
      if (!whole) ++faults;
      table += QStringLiteral("%1 sound %2%3: heard %4 of %5 ms in %6 piece(s), correlation %7, onset %8 ms")
                   .arg(i + 1, 3)
                   .arg(play.sound)
                   .arg(play.wait ? QStringLiteral(" (wait)") : QString())
                   .arg(heardMs, 0, 'f', 0)
                   .arg(fileMs, 0, 'f', 0)
                   .arg(stretches.size())
                   .arg(correlation, 0, 'f', 3)
                   .arg(onsetMs, 0, 'f', 0);
      if (play.wait) {
        table += QStringLiteral(", waited %1 ms, ended %2 ms after the sound")
                     .arg(msBetween(play.start, play.end), 0, 'f', 0)
                     .arg(tailMs, 0, 'f', 0);
      }
      table += whole ? QStringLiteral("\n") : QStringLiteral("  <- not whole\n");
    }
    qInfo().noquote() << "\n" << table;
    QVERIFY2(faults == 0,
             qPrintable(QStringLiteral("%1 of %2 plays not heard whole").arg(faults).arg(plays_.size())));
  }

 private slots:
  void initTestCase() {
    QString server = qEnvironmentVariable("NAVORIX_TEST_PULSE_SERVER");
    if (server.isEmpty()) {
      server_ = std::make_unique<navorix::test::PrivatePulse>();
      QString why;
      if (!server_->start(why)) QSKIP(qPrintable(QStringLiteral("no PulseAudio can start here: ") + why));
      server = server_->address();
    }
    // Before the first use of Qt Multimedia, which connects once.
    qputenv("PULSE_SERVER", server.toUtf8());
    recording_ = std::make_unique<navorix::test::MonitorRecording>();
    QString why;
    QVERIFY2(recording_->start(server, RecordingRate, why), qPrintable(why));
    QVERIFY2(!QMediaDevices::defaultAudioOutput().isNull(), "Qt Multimedia sees no output on the server");

    sounds_ = std::make_unique<SoundTable>();
    navorix::loadStandardSounds(*sounds_, Source);
    for (const int n : AllSounds) {
      QFile file(Source + QStringLiteral("wav/") +
                 QLatin1String(std::array{"", "nvx_err.wav", "nvx_inp.wav", "nvx_que.wav",
                                          "nvx_don.wav"}[static_cast<std::size_t>(n)]));
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QByteArray bytes = file.readAll();
      Samples& samples = files_[static_cast<std::size_t>(n)];
      samples = navorix::test::samplesOfWave(bytes.toStdString());
      QCOMPARE(samples.rate, RecordingRate);
      // The rule must not split a file in two.
      QVERIFY(navorix::test::longestQuietInside(samples, Rule.level) < 1.0);
    }
  }

  void init() { plays_.clear(); }

  void eachSoundTenTimesInARow() {
    for (const int n : AllSounds) {
      for (int k = 0; k < 10; ++k) {
        play(n, false);
        QTest::qWait(static_cast<int>(sounds_->durationMs(n)) + PaceAfterSoundMs);
      }
    }
    checkHeard();
  }

  void interleavedWithoutWaiting() {
    for (int k = 0; k < 10; ++k) {
      for (const int n : AllSounds) {
        play(n, false);
        QTest::qWait(static_cast<int>(sounds_->durationMs(n)) + PaceAfterSoundMs);
      }
    }
    checkHeard();
  }

  // Each waiting play returns when its sound has been heard, and the next
  // starts at once: the tightest pace at which every sound is whole.
  void interleavedWaitingBackToBack() {
    for (int k = 0; k < 10; ++k) {
      for (const int n : AllSounds) play(n, true);
    }
    checkHeard();
    for (const Play& play : plays_) {
      QVERIFY2(msBetween(play.start, play.end) <=
                   static_cast<double>(sounds_->durationMs(play.sound)) + SoundTable::WaitMarginMs + 100,
               "a wait outlasted its sound and the margin");
    }
  }

  // A sound started while another plays cuts it off: the second is heard
  // whole, alone (with the first sound going on beneath it the correlation
  // falls to 0.57 to 0.89), and nothing sounds after it.
  void aNewSoundCutsOffThePlayingOne() {
    constexpr int CutAfterMs = 150;
    constexpr std::array<std::pair<int, int>, 4> Pairs = {
        {{navorix::soundSlot(navorix::Sound::Done), navorix::soundSlot(navorix::Sound::Input)},
         {navorix::soundSlot(navorix::Sound::Error), navorix::soundSlot(navorix::Sound::Question)},
         {navorix::soundSlot(navorix::Sound::Question), navorix::soundSlot(navorix::Sound::Done)},
         {navorix::soundSlot(navorix::Sound::Done), navorix::soundSlot(navorix::Sound::Error)}}};
    for (int round = 0; round < 2; ++round) {
      for (const auto& [first, second] : Pairs) {
        play(first, false);
        QTest::qWait(CutAfterMs);
        play(second, false);
        QTest::qWait(static_cast<int>(sounds_->durationMs(second)) + PaceAfterSoundMs);
      }
    }
    QTest::qWait(PaceAfterSoundMs);
    const Samples heard = recording_->samples();
    int faults = 0;
    QString table;
    for (std::size_t i = 0; i < plays_.size(); i += 2) {
      const Samples& file = files_[static_cast<std::size_t>(plays_[i + 1].sound)];
      const std::size_t start = recording_->sampleAt(plays_[i].start);
      const std::size_t cut = recording_->sampleAt(plays_[i + 1].start);
      const std::size_t end =
          i + 2 < plays_.size() ? recording_->sampleAt(plays_[i + 2].start) : heard.data.size();
      const auto placement = navorix::test::bestPlacement(heard, cut, cut + heard.count(200), file);
      const auto own = navorix::test::soundingStretches(file, Rule, 0, file.data.size());
      const auto stretches = navorix::test::soundingStretches(heard, Rule, start, end);
      const double firstMs =
          stretches.empty() || stretches.front().first >= cut ? 0 : heard.ms(cut - stretches.front().first);
      // The last sound heard against where the second sound's end lies.
      const double lateMs =
          stretches.empty() ? 0 : heard.ms(stretches.back().last) - heard.ms(placement.at + own.back().last);
      const bool good = firstMs > 0 && placement.correlation >= LeastCorrelation &&
                        std::fabs(lateMs) <= LengthTolerance * fileLengthMs(plays_[i + 1].sound);
      if (!good) ++faults;
      table += QStringLiteral(
                   "sound %1 heard %2 ms until sound %3 started; that one: correlation %4, "
                   "last sound heard %5 ms after its end%6\n")
                   .arg(plays_[i].sound)
                   .arg(firstMs, 0, 'f', 0)
                   .arg(plays_[i + 1].sound)
                   .arg(placement.correlation, 0, 'f', 3)
                   .arg(lateMs, 0, 'f', 0)
                   .arg(good ? QString() : QStringLiteral("  <- wrong"));
    }
    qInfo().noquote() << "\n" << table;
    QCOMPARE(faults, 0);
  }

  // The server dies while a waiting sound plays: the wait ends, and every
  // later sound returns at once, silent. A new server takes its place, and
  // once the player's back end has found it (it tries every 3 s) the
  // sounds are heard whole again.
  void serverGoneAndBack() {
    if (!server_) QSKIP("the server was not started by this test");
    QTimer::singleShot(200, [this] { server_->kill(); });
    play(navorix::soundSlot(navorix::Sound::Done), true);
    QVERIFY2(msBetween(plays_.back().start, plays_.back().end) <=
                 static_cast<double>(sounds_->durationMs(navorix::soundSlot(navorix::Sound::Done))) +
                     SoundTable::WaitMarginMs + 100,
             "a wait outlasted its sound after the server had gone");
    for (const int n : AllSounds) {
      for (const bool wait : {true, false}) {
        play(n, wait);
        QVERIFY2(msBetween(plays_.back().start, plays_.back().end) < 100,
                 qPrintable(QStringLiteral("sound %1 took %2 ms without a server")
                                .arg(n)
                                .arg(msBetween(plays_.back().start, plays_.back().end))));
        QVERIFY(!sounds_->isPlaying());
      }
    }

    recording_.reset();
    server_ = std::make_unique<navorix::test::PrivatePulse>();
    QString why;
    QVERIFY2(server_->start(why), qPrintable(why));
    qputenv("PULSE_SERVER", server_->address().toUtf8());
    recording_ = std::make_unique<navorix::test::MonitorRecording>();
    QVERIFY2(recording_->start(server_->address(), RecordingRate, why), qPrintable(why));
    // Found again once a waiting sound waits.
    const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(20);
    for (;;) {
      plays_.clear();
      play(navorix::soundSlot(navorix::Sound::Input), true);
      if (msBetween(plays_.back().start, plays_.back().end) >=
          static_cast<double>(sounds_->durationMs(navorix::soundSlot(navorix::Sound::Input))))
        break;
      QVERIFY2(Clock::now() < giveUp, "the sounds did not come back with the new server");
      QTest::qWait(500);
    }
    for (const int n : AllSounds) play(n, true);
    checkHeard();
  }

  void cleanupTestCase() {
    sounds_.reset();
    recording_.reset();
    server_.reset();
  }
};

QTEST_MAIN(SoundHeardTest)
#include "sound_heard_test.moc"
