#pragma once
// A private PulseAudio server with one null sink, for tests that play for real:
// its own runtime folder and socket, killed with the test. PULSE_SERVER points this
// process (and its children) at it, so a player's own sound server is never touched.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <optional>

namespace tavrel::itest {

class NullSinkServer {
 public:
  static constexpr const char* kSink = "tavrel_test";

  // Starts the server; Error() says why it could not.
  NullSinkServer() {
    const QString pulse = QStandardPaths::findExecutable("pulseaudio");
    if (pulse.isEmpty()) {
      error_ = "pulseaudio is not installed";
      return;
    }
    if (!dir_.isValid()) {
      error_ = "no temporary folder";
      return;
    }
    socket_ = dir_.filePath("native");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dir_.path());
    env.insert("XDG_RUNTIME_DIR", dir_.path());
    env.insert("XDG_CONFIG_HOME", dir_.path());
    env.remove("PULSE_SERVER");
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    server_.setProcessEnvironment(env);
    server_.setProcessChannelMode(QProcess::MergedChannels);
    server_.setStandardOutputFile(dir_.filePath("pulse.log"));
    server_.start(pulse, {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--disable-shm=yes",
                          "--log-target=stderr", "-L", QString("module-null-sink sink_name=%1 rate=44100").arg(kSink),
                          "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket_});
    if (!server_.waitForStarted(5000)) {
      error_ = "pulseaudio did not start";
      return;
    }
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(socket_) && server_.state() == QProcess::Running && t.elapsed() < 10000) QThread::msleep(20);
    if (!QFile::exists(socket_)) {
      QFile log(dir_.filePath("pulse.log"));
      log.open(QIODevice::ReadOnly);
      error_ = "pulseaudio did not open its socket: " + QString::fromUtf8(log.readAll()).right(400);
      return;
    }
    qputenv("PULSE_SERVER", Address().toUtf8());
  }
  ~NullSinkServer() {
    if (server_.state() != QProcess::NotRunning) {
      server_.terminate();
      if (!server_.waitForFinished(3000)) {
        server_.kill();
        server_.waitForFinished(3000);
      }
    }
  }

  bool Ok() const { return error_.isEmpty(); }
  const QString& Error() const { return error_; }
  QString Address() const { return "unix:" + socket_; }
  QString Folder() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QString socket_;
  QProcess server_;
  QString error_;
};

// Records what the null sink plays (its monitor), as raw 16-bit mono at 22050 Hz.
class SinkRecorder {
 public:
  explicit SinkRecorder(const QString& file) : file_(file) {}
  ~SinkRecorder() { Stop(); }
  bool Start() {
    const QString parec = QStandardPaths::findExecutable("parec");
    if (parec.isEmpty()) return false;
    rec_.setStandardOutputFile(file_);
    rec_.start(parec, {QString("--device=%1.monitor").arg(NullSinkServer::kSink), "--format=s16le", "--rate=22050",
                       "--channels=1", "--raw", "--latency-msec=20"});
    return rec_.waitForStarted(5000);
  }
  void Stop() {
    if (rec_.state() == QProcess::NotRunning) return;
    rec_.terminate();
    if (!rec_.waitForFinished(3000)) {
      rec_.kill();
      rec_.waitForFinished(3000);
    }
  }

 private:
  QString file_;
  QProcess rec_;
};

// sox's figures of a raw recording: RMS and maximum amplitude (0..1); nullopt without sox.
struct Loudness {
  double rms = 0, maximum = 0;
};
inline std::optional<Loudness> MeasureRaw(const QString& file) {
  const QString sox = QStandardPaths::findExecutable("sox");
  if (sox.isEmpty()) return std::nullopt;
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(sox, {"-t", "raw", "-r", "22050", "-e", "signed", "-b", "16", "-c", "1", file, "-n", "stat"});
  if (!p.waitForFinished(10000)) return std::nullopt;
  Loudness l;
  for (const QString& line : QString::fromUtf8(p.readAll()).split('\n')) {
    const QString value = line.section(':', 1).trimmed();
    if (line.startsWith("RMS     amplitude")) l.rms = value.toDouble();
    if (line.startsWith("Maximum amplitude")) l.maximum = value.toDouble();
  }
  return l;
}

}  // namespace tavrel::itest
