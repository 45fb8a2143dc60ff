#include "local_server.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

#include <sys/prctl.h>

#include <csignal>

namespace tavrel::lobby {

LocalServer::LocalServer(QString program) : program_(std::move(program)) {}

LocalServer::~LocalServer() { Stop(); }

int LocalServer::Start(QString& error, int timeoutMs) {
  process_.setProgram(program_);
  process_.setArguments({"--port", "0", "--bots", "3"});
  process_.setProcessChannelMode(QProcess::SeparateChannels);
  // A lobby that is killed takes its server with it.
  process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
  process_.start();
  if (!process_.waitForStarted(timeoutMs)) {
    error = "无法启动游戏服务器 " + program_ + ": " + process_.errorString();
    return 0;
  }
  static const QRegularExpression listening(R"(^listening on .*:(\d+)\s*$)");
  QByteArray seen;
  const QDeadlineTimer deadline(timeoutMs);
  while (!deadline.hasExpired()) {
    while (process_.canReadLine()) {
      const QString line = QString::fromLocal8Bit(process_.readLine());
      seen += line.toLocal8Bit();
      const auto m = listening.match(line);
      if (m.hasMatch()) return m.captured(1).toInt();
    }
    if (process_.state() == QProcess::NotRunning) break;
    process_.waitForReadyRead(int(qMax<qint64>(1, qMin<qint64>(200, deadline.remainingTime()))));
  }
  const QString said = QString::fromLocal8Bit(process_.readAllStandardError()).trimmed();
  error = "游戏服务器未能开始监听" + (said.isEmpty() ? QString() : ": " + said);
  Stop();
  return 0;
}

void LocalServer::Stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(3000)) {
    process_.kill();
    process_.waitForFinished(1000);
  }
}

}  // namespace tavrel::lobby
