#include "tests/window/private_pulse.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

namespace navorix::test {

namespace {

// A slow machine may need a few seconds to start a server or a recorder.
constexpr int StartPatienceMs = 15000;

bool canConnect(const QString& socket) {
  QLocalSocket probe;
  probe.connectToServer(socket);
  const bool ok = probe.waitForConnected(500);
  probe.abort();
  return ok;
}

}  // namespace

PrivatePulse::~PrivatePulse() {
  if (server_.state() == QProcess::NotRunning) return;
  server_.terminate();
  if (!server_.waitForFinished(5000)) {
    server_.kill();
    server_.waitForFinished(5000);
  }
}

bool PrivatePulse::start(QString& why) {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
  if (program.isEmpty()) {
    why = QStringLiteral("pulseaudio is not installed");
    return false;
  }
  // A short path: a socket's path may hold at most 107 bytes.
  dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/nvx-pulse-XXXXXX"));
  if (!dir_->isValid()) {
    why = QStringLiteral("no temporary folder");
    return false;
  }
  const QString base = dir_->path();
  for (const char* sub : {"run", "home", "config", "state"}) QDir(base).mkdir(QLatin1String(sub));
  socket_ = base + QStringLiteral("/run/native");
  // A 48 kHz stereo sink, as on most desktops: the player's 22050 Hz mono
  // is resampled on the way in, as it would be there. The sink does not
  // rewind: a sink that does lets its monitor lose the first 3 to 7 ms of
  // every new stream (pacat's too), which a listener at a real device
  // hears, and that would eat most of the 10 % of the shortest sound. What
  // a stopped stream had not yet played is lost all the same; only the one
  // block already mixed (about 10 ms at the recorder's latency) is not.
  // Nothing else is loaded: no device, no suspend on idle (the monitor
  // records silence between the sounds, so its samples keep time), no
  // D-Bus, no X11.
  QFile script(base + QStringLiteral("/default.pa"));
  if (!script.open(QIODevice::WriteOnly)) {
    why = QStringLiteral("cannot write the server's start script");
    return false;
  }
  script.write(
      QStringLiteral("load-module module-null-sink sink_name=nvx_test rate=48000 channels=2 norewinds=1\n"
                     "load-module module-native-protocol-unix auth-anonymous=1 socket=%1\n"
                     "set-default-sink nvx_test\n")
          .arg(socket_)
          .toUtf8());
  script.close();

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "PULSE_SERVER"})
    env.remove(QLatin1String(name));
  env.insert(QStringLiteral("HOME"), base + QStringLiteral("/home"));
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), base + QStringLiteral("/run"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), base + QStringLiteral("/config"));
  env.insert(QStringLiteral("XDG_STATE_HOME"), base + QStringLiteral("/state"));
  env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), base + QStringLiteral("/run"));
  env.insert(QStringLiteral("PULSE_STATE_PATH"), base + QStringLiteral("/state"));
  server_.setProcessEnvironment(env);
  server_.setProcessChannelMode(QProcess::MergedChannels);
  server_.setStandardOutputFile(base + QStringLiteral("/server.log"));
  // Not --system: a user server runs as root as well (with a warning),
  // keeps to the folders above and needs no "pulse" user.
  server_.start(program, {QStringLiteral("-n"), QStringLiteral("-F"), script.fileName(),
                          QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"),
                          QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                          QStringLiteral("--log-target=stderr")});
  if (!server_.waitForStarted(StartPatienceMs)) {
    why = QStringLiteral("pulseaudio did not start: ") + server_.errorString();
    return false;
  }
  QElapsedTimer clock;
  clock.start();
  while (!canConnect(socket_)) {
    if (server_.state() == QProcess::NotRunning || clock.elapsed() > StartPatienceMs) {
      QFile log(base + QStringLiteral("/server.log"));
      why = QStringLiteral("pulseaudio did not take connections");
      if (log.open(QIODevice::ReadOnly))
        why += QStringLiteral(":\n") + QString::fromUtf8(log.readAll().right(2000));
      return false;
    }
    QTest::qWait(50);
  }
  return true;
}

void PrivatePulse::kill() {
  if (server_.state() == QProcess::NotRunning) return;
  ::kill(static_cast<pid_t>(server_.processId()), SIGKILL);
  server_.waitForFinished(5000);
}

MonitorRecording::~MonitorRecording() { stop(); }

bool MonitorRecording::start(const QString& server, int rate, QString& why) {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("parec"));
  if (program.isEmpty()) {
    why = QStringLiteral("parec is not installed");
    return false;
  }
  rate_ = rate;
  connect(&parec_, &QProcess::readyReadStandardOutput, this, &MonitorRecording::read);
  // Small fragments: each delivery tells the time of its samples closely.
  parec_.start(program,
               {QStringLiteral("--server=") + server, QStringLiteral("--device=@DEFAULT_MONITOR@"),
                QStringLiteral("--raw"), QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                QStringLiteral("--rate=%1").arg(rate), QStringLiteral("--latency-msec=10")});
  if (!parec_.waitForStarted(StartPatienceMs)) {
    why = QStringLiteral("parec did not start: ") + parec_.errorString();
    return false;
  }
  QElapsedTimer clock;
  clock.start();
  // Half a second of recording: the origin has settled by then.
  while (bytes_.size() < rate && clock.elapsed() < StartPatienceMs && parec_.state() == QProcess::Running)
    QTest::qWait(20);
  if (bytes_.size() < rate) {
    why = QStringLiteral("parec recorded nothing: ") + QString::fromUtf8(parec_.readAllStandardError());
    return false;
  }
  return true;
}

void MonitorRecording::stop() {
  if (parec_.state() == QProcess::NotRunning) return;
  read();
  parec_.terminate();
  if (!parec_.waitForFinished(5000)) {
    parec_.kill();
    parec_.waitForFinished(5000);
  }
}

void MonitorRecording::read() {
  const Clock::time_point now = Clock::now();
  bytes_ += parec_.readAllStandardOutput();
  // Samples arrive late, never early: the earliest origin that the samples
  // delivered so far allow is the closest.
  const auto recorded =
      std::chrono::nanoseconds(static_cast<std::int64_t>(bytes_.size() / 2) * 1000000000 / rate_);
  const Clock::time_point origin = now - std::chrono::duration_cast<Clock::duration>(recorded);
  if (!haveOrigin_ || origin < origin_) origin_ = origin;
  haveOrigin_ = true;
}

Samples MonitorRecording::samples() const {
  return samplesOfRaw(bytes_.constData(), static_cast<std::size_t>(bytes_.size()), rate_);
}

void MonitorRecording::save(const QString& file) const {
  QFile out(file);
  if (out.open(QIODevice::WriteOnly)) out.write(bytes_);
}

std::size_t MonitorRecording::sampleAt(Clock::time_point time) const {
  if (!haveOrigin_ || time <= origin_) return 0;
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(time - origin_).count();
  return static_cast<std::size_t>(ns * rate_ / 1000000000);
}

}  // namespace navorix::test
