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

using navorix::TSoundTable;
using navorix::test::TClock;
using navorix::test::TSamples;

namespace {

const QString Source = QStringLiteral(NAVORIX_SOURCE_DIR "/");
constexpr int RecordingRate = 22050;
constexpr navorix::test::TSilenceRule Rule{0.01F, 30.0};
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

constexpr std::array<int, 4> AllSounds = {navorix::SoundSlot(navorix::TSound::Error), navorix::SoundSlot(navorix::TSound::Input), navorix::SoundSlot(navorix::TSound::Question),
                                          navorix::SoundSlot(navorix::TSound::Done)};

struct TPlay {
  int Sound = 0;
  bool Wait = false;
  TClock::time_point Start;
  TClock::time_point End;  // when PlaySnd returned
};

double MsBetween(TClock::time_point A, TClock::time_point B) {
  return std::chrono::duration<double, std::milli>(B - A).count();
}

}  // namespace

class SoundHeardTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<navorix::test::TPrivatePulse> server_;
  std::unique_ptr<navorix::test::TMonitorRecording> recording_;
  std::unique_ptr<TSoundTable> sounds_;
  std::array<TSamples, 5> files_;  // by sound number
  std::vector<TPlay> plays_;

  void Play(int Sound, bool Wait) {
    TPlay play;
    play.Sound = Sound;
    play.Wait = Wait;
    play.Start = TClock::now();
    sounds_->PlaySnd(Sound, Wait);
    play.End = TClock::now();
    plays_.push_back(play);
  }

  double FileMs(int Sound) const {
    const auto stretches = navorix::test::SoundingStretches(files_[static_cast<std::size_t>(Sound)], Rule, 0,
                                                            files_[static_cast<std::size_t>(Sound)].Data.size());
    return files_[static_cast<std::size_t>(Sound)].Ms(stretches.front().Length());
  }

  // Finds each play of plays_ in the recording and checks that it was
  // heard once, whole, and as its file; prints what was heard.
  void CheckHeard() {
    QTest::qWait(PaceAfterSoundMs);
    const TSamples heard = recording_->Samples();
    const QString keep = qEnvironmentVariable("NAVORIX_TEST_SOUND_RECORDING");
    if (!keep.isEmpty()) recording_->Save(keep + QLatin1Char('-') + QLatin1String(QTest::currentTestFunction()) + QStringLiteral(".raw"));
    std::vector<std::size_t> starts;
    for (const TPlay& play : plays_) starts.push_back(recording_->SampleAt(play.Start));
    starts.push_back(heard.Data.size());
    int faults = 0;
    QString table;
    for (std::size_t i = 0; i < plays_.size(); ++i) {
      const TPlay& play = plays_[i];
      const auto stretches = navorix::test::SoundingStretches(heard, Rule, starts[i], starts[i + 1]);
      const double file_ms = FileMs(play.Sound);
      double heard_ms = 0;
      double correlation = 0;
      double onset_ms = 0;
      double tail_ms = 0;  // from the end of the sound to the end of the wait
      for (const auto& s : stretches) heard_ms += heard.Ms(s.Length());
      if (!stretches.empty()) {
        const auto& s = stretches.front();
        correlation = navorix::test::Correlation(heard, s.First, files_[static_cast<std::size_t>(play.Sound)],
                                                 Rule.Level, heard.Count(5));
        onset_ms = heard.Ms(s.First - starts[i]);
        tail_ms = heard.Ms(recording_->SampleAt(play.End)) - heard.Ms(stretches.back().Last);
      }
      // A wait ends once its sound has been heard.
      const bool whole = stretches.size() == 1 && std::fabs(heard_ms - file_ms) <= LengthTolerance * file_ms &&
                         correlation >= LeastCorrelation && (!play.Wait || tail_ms >= -ClockSlackMs);
      if (!whole) ++faults;
      table += QStringLiteral("%1 sound %2%3: heard %4 of %5 ms in %6 piece(s), correlation %7, onset %8 ms")
                   .arg(i + 1, 3)
                   .arg(play.Sound)
                   .arg(play.Wait ? QStringLiteral(" (wait)") : QString())
                   .arg(heard_ms, 0, 'f', 0)
                   .arg(file_ms, 0, 'f', 0)
                   .arg(stretches.size())
                   .arg(correlation, 0, 'f', 3)
                   .arg(onset_ms, 0, 'f', 0);
      if (play.Wait) {
        table += QStringLiteral(", waited %1 ms, ended %2 ms after the sound")
                     .arg(MsBetween(play.Start, play.End), 0, 'f', 0)
                     .arg(tail_ms, 0, 'f', 0);
      }
      table += whole ? QStringLiteral("\n") : QStringLiteral("  <- not whole\n");
    }
    qInfo().noquote() << "\n" << table;
    QVERIFY2(faults == 0, qPrintable(QStringLiteral("%1 of %2 plays not heard whole").arg(faults).arg(plays_.size())));
  }

 private slots:
  void initTestCase() {
    QString server = qEnvironmentVariable("NAVORIX_TEST_PULSE_SERVER");
    if (server.isEmpty()) {
      server_ = std::make_unique<navorix::test::TPrivatePulse>();
      QString why;
      if (!server_->Start(why)) QSKIP(qPrintable(QStringLiteral("no PulseAudio can start here: ") + why));
      server = server_->Address();
    }
    // Before the first use of Qt Multimedia, which connects once.
    qputenv("PULSE_SERVER", server.toUtf8());
    recording_ = std::make_unique<navorix::test::TMonitorRecording>();
    QString why;
    QVERIFY2(recording_->Start(server, RecordingRate, why), qPrintable(why));
    QVERIFY2(!QMediaDevices::defaultAudioOutput().isNull(), "Qt Multimedia sees no output on the server");

    sounds_ = std::make_unique<TSoundTable>();
    navorix::LoadStandardSounds(*sounds_, Source);
    for (const int n : AllSounds) {
      QFile file(Source + QStringLiteral("wav/") +
                 QLatin1String(std::array{"", "nvx_err.wav", "nvx_inp.wav", "nvx_que.wav", "nvx_don.wav"}
                                   [static_cast<std::size_t>(n)]));
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QByteArray bytes = file.readAll();
      TSamples& samples = files_[static_cast<std::size_t>(n)];
      samples = navorix::test::SamplesOfWave(bytes.toStdString());
      QCOMPARE(samples.Rate, RecordingRate);
      // The rule must not split a file in two.
      QVERIFY(navorix::test::LongestQuietInside(samples, Rule.Level) < 1.0);
    }
  }

  void init() { plays_.clear(); }

  void EachSoundTenTimesInARow() {
    for (const int n : AllSounds) {
      for (int k = 0; k < 10; ++k) {
        Play(n, false);
        QTest::qWait(static_cast<int>(sounds_->DurationMs(n)) + PaceAfterSoundMs);
      }
    }
    CheckHeard();
  }

  void InterleavedWithoutWaiting() {
    for (int k = 0; k < 10; ++k) {
      for (const int n : AllSounds) {
        Play(n, false);
        QTest::qWait(static_cast<int>(sounds_->DurationMs(n)) + PaceAfterSoundMs);
      }
    }
    CheckHeard();
  }

  // Each waiting play returns when its sound has been heard, and the next
  // starts at once: the tightest pace at which every sound is whole.
  void InterleavedWaitingBackToBack() {
    for (int k = 0; k < 10; ++k) {
      for (const int n : AllSounds) Play(n, true);
    }
    CheckHeard();
    for (const TPlay& play : plays_) {
      QVERIFY2(MsBetween(play.Start, play.End) <= static_cast<double>(sounds_->DurationMs(play.Sound)) +
                                                      TSoundTable::WaitMarginMs + 100,
               "a wait outlasted its sound and the margin");
    }
  }

  // A sound started while another plays cuts it off: the second is heard
  // whole, alone (with the first sound going on beneath it the correlation
  // falls to 0.57 to 0.89), and nothing sounds after it.
  void ANewSoundCutsOffThePlayingOne() {
    constexpr int CutAfterMs = 150;
    constexpr std::array<std::pair<int, int>, 4> Pairs = {{{navorix::SoundSlot(navorix::TSound::Done), navorix::SoundSlot(navorix::TSound::Input)},
                                                          {navorix::SoundSlot(navorix::TSound::Error), navorix::SoundSlot(navorix::TSound::Question)},
                                                          {navorix::SoundSlot(navorix::TSound::Question), navorix::SoundSlot(navorix::TSound::Done)},
                                                          {navorix::SoundSlot(navorix::TSound::Done), navorix::SoundSlot(navorix::TSound::Error)}}};
    for (int round = 0; round < 2; ++round) {
      for (const auto& [first, second] : Pairs) {
        Play(first, false);
        QTest::qWait(CutAfterMs);
        Play(second, false);
        QTest::qWait(static_cast<int>(sounds_->DurationMs(second)) + PaceAfterSoundMs);
      }
    }
    QTest::qWait(PaceAfterSoundMs);
    const TSamples heard = recording_->Samples();
    int faults = 0;
    QString table;
    for (std::size_t i = 0; i < plays_.size(); i += 2) {
      const TSamples& file = files_[static_cast<std::size_t>(plays_[i + 1].Sound)];
      const std::size_t start = recording_->SampleAt(plays_[i].Start);
      const std::size_t cut = recording_->SampleAt(plays_[i + 1].Start);
      const std::size_t end = i + 2 < plays_.size() ? recording_->SampleAt(plays_[i + 2].Start) : heard.Data.size();
      const auto placement = navorix::test::BestPlacement(heard, cut, cut + heard.Count(200), file);
      const auto own = navorix::test::SoundingStretches(file, Rule, 0, file.Data.size());
      const auto stretches = navorix::test::SoundingStretches(heard, Rule, start, end);
      const double first_ms = stretches.empty() || stretches.front().First >= cut ? 0 : heard.Ms(cut - stretches.front().First);
      // The last sound heard against where the second sound's end lies.
      const double late_ms = stretches.empty() ? 0 : heard.Ms(stretches.back().Last) - heard.Ms(placement.At + own.back().Last);
      const bool good = first_ms > 0 && placement.Correlation >= LeastCorrelation &&
                        std::fabs(late_ms) <= LengthTolerance * FileMs(plays_[i + 1].Sound);
      if (!good) ++faults;
      table += QStringLiteral("sound %1 heard %2 ms until sound %3 started; that one: correlation %4, "
                              "last sound heard %5 ms after its end%6\n")
                   .arg(plays_[i].Sound)
                   .arg(first_ms, 0, 'f', 0)
                   .arg(plays_[i + 1].Sound)
                   .arg(placement.Correlation, 0, 'f', 3)
                   .arg(late_ms, 0, 'f', 0)
                   .arg(good ? QString() : QStringLiteral("  <- wrong"));
    }
    qInfo().noquote() << "\n" << table;
    QCOMPARE(faults, 0);
  }

  // The server dies while a waiting sound plays: the wait ends, and every
  // later sound returns at once, silent. A new server takes its place, and
  // once the player's back end has found it (it tries every 3 s) the
  // sounds are heard whole again.
  void ServerGoneAndBack() {
    if (!server_) QSKIP("the server was not started by this test");
    QTimer::singleShot(200, [this] { server_->Kill(); });
    Play(navorix::SoundSlot(navorix::TSound::Done), true);
    QVERIFY2(MsBetween(plays_.back().Start, plays_.back().End) <=
                 static_cast<double>(sounds_->DurationMs(navorix::SoundSlot(navorix::TSound::Done))) + TSoundTable::WaitMarginMs + 100,
             "a wait outlasted its sound after the server had gone");
    for (const int n : AllSounds) {
      for (const bool wait : {true, false}) {
        Play(n, wait);
        QVERIFY2(MsBetween(plays_.back().Start, plays_.back().End) < 100,
                 qPrintable(QStringLiteral("sound %1 took %2 ms without a server")
                                .arg(n)
                                .arg(MsBetween(plays_.back().Start, plays_.back().End))));
        QVERIFY(!sounds_->IsPlaying());
      }
    }

    recording_.reset();
    server_ = std::make_unique<navorix::test::TPrivatePulse>();
    QString why;
    QVERIFY2(server_->Start(why), qPrintable(why));
    qputenv("PULSE_SERVER", server_->Address().toUtf8());
    recording_ = std::make_unique<navorix::test::TMonitorRecording>();
    QVERIFY2(recording_->Start(server_->Address(), RecordingRate, why), qPrintable(why));
    // Found again once a waiting sound waits.
    const TClock::time_point give_up = TClock::now() + std::chrono::seconds(20);
    for (;;) {
      plays_.clear();
      Play(navorix::SoundSlot(navorix::TSound::Input), true);
      if (MsBetween(plays_.back().Start, plays_.back().End) >= static_cast<double>(sounds_->DurationMs(navorix::SoundSlot(navorix::TSound::Input))))
        break;
      QVERIFY2(TClock::now() < give_up, "the sounds did not come back with the new server");
      QTest::qWait(500);
    }
    for (const int n : AllSounds) Play(n, true);
    CheckHeard();
  }

  void cleanupTestCase() {
    sounds_.reset();
    recording_.reset();
    server_.reset();
  }
};

QTEST_MAIN(SoundHeardTest)
#include "sound_heard_test.moc"
