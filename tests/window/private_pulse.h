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

using TClock = std::chrono::steady_clock;

class TPrivatePulse {
 public:
  TPrivatePulse() = default;
  TPrivatePulse(const TPrivatePulse&) = delete;
  TPrivatePulse& operator=(const TPrivatePulse&) = delete;
  ~TPrivatePulse();

  // Starts the server and waits until it takes connections; false, with
  // the reason in Why, when it cannot start here.
  bool Start(QString& Why);
  // The address for PULSE_SERVER and --server.
  QString Address() const { return QStringLiteral("unix:") + socket_; }
  // Ends the server at once (SIGKILL), as a crash would.
  void Kill();

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QProcess server_;
  QString socket_;
};

// Records the default sink's monitor from Start on, as 16-bit mono at Rate.
class TMonitorRecording : public QObject {
  Q_OBJECT

 public:
  ~TMonitorRecording() override;

  // Starts parec and waits for its first samples; false, with the reason
  // in Why, when none come.
  bool Start(const QString& Server, int Rate, QString& Why);
  void Stop();
  // The recording so far.
  TSamples Samples() const;
  // Writes the raw samples so far to File.
  void Save(const QString& File) const;
  // The sample that was being recorded at Time (steady clock). Known to a
  // few milliseconds: the earliest that any delivered sample allows.
  std::size_t SampleAt(TClock::time_point Time) const;

 private:
  void Read();

  QProcess parec_;
  QByteArray bytes_;
  int rate_ = 0;
  bool have_origin_ = false;
  TClock::time_point origin_;  // when sample 0 was recorded
};

}  // namespace navorix::test
