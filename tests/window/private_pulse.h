// A sound server of the test's own: PulseAudio with a null sink (no sound
// device, no display, no network; also as root), its socket in a temporary
// folder, and a recording of what the sink plays, taken from its monitor
// with parec.
#pragma once

#include "tests/window/heard_sound.h"

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

namespace navorix::test {

using Clock = std::chrono::steady_clock;

class PrivatePulse {
 public:
  PrivatePulse() = default;
  PrivatePulse(const PrivatePulse&) = delete;
  PrivatePulse& operator=(const PrivatePulse&) = delete;
  ~PrivatePulse();

  // Starts the server and waits until it takes connections; false, with
  // the reason in why, when it cannot start here.
  bool start(QString& why);
  // The address for PULSE_SERVER and --server.
  QString address() const { return QStringLiteral("unix:") + socket_; }
  // Ends the server at once (SIGKILL), as a crash would.
  void kill();

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QProcess server_;
  QString socket_;
};

// Records the default sink's monitor from Start on, as 16-bit mono at Rate.
class MonitorRecording : public QObject {
  Q_OBJECT

 public:
  ~MonitorRecording() override;

  // Starts parec and waits for its first samples; false, with the reason
  // in why, when none come.
  bool start(const QString& server, int rate, QString& why);
  void stop();
  // The recording so far.
  Samples samples() const;
  // Writes the raw samples so far to file.
  void save(const QString& file) const;
  // The sample that was being recorded at time (steady clock). Known to a
  // few milliseconds: the earliest that any delivered sample allows.
  std::size_t sampleAt(Clock::time_point time) const;

 private:
  void read();

  QProcess parec_;
  QByteArray bytes_;
  int rate_ = 0;
  bool haveOrigin_ = false;
  Clock::time_point origin_;  // when sample 0 was recorded
};

}  // namespace navorix::test
