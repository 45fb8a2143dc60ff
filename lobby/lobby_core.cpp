#include "lobby_core.h"

#include <QDateTime>

namespace tavrel::lobby {

QString MessageName(int message) {
  switch (message) {
    case 22: return "登录";
    case 771: return "已连接/关闭请求";
    case 1024: return "已离开/强制离开";
    case 1125: return "游戏中/查询";
    case 1126: return "等待登录结果";
    default: return "";
  }
}

LobbyCore::LobbyCore(LobbyOptions options) : options_(std::move(options)) {
  link_.onMessage = [this](int message, long w, long l) { OnMessage(message, w, l); };
}

void LobbyCore::Log(const QString& what) {
  const QString line = QDateTime::currentDateTime().toString("HH:mm:ss.zzz") + " " + what;
  if (onLog) onLog(line);
}

bool LobbyCore::Register() {
  const bool ok = link_.RegisterWindow(options_.lobbyCaption.toStdString());
  Log(ok ? "lobby window " + options_.lobbyCaption : "caption taken: " + options_.lobbyCaption);
  return ok;
}

void LobbyCore::StartClient() {
  if (client_ && client_->state() != QProcess::NotRunning) {
    Log("client already running");
    return;
  }
  client_ = new QProcess;
  client_->setProcessChannelMode(QProcess::ForwardedChannels);
  // Without a display a headless run still starts a working client.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (options_.headless && !env.contains("QT_QPA_PLATFORM") && !env.contains("DISPLAY") &&
      !env.contains("WAYLAND_DISPLAY"))
    env.insert("QT_QPA_PLATFORM", "offscreen");
  client_->setProcessEnvironment(env);
  connect(client_, &QProcess::started, this, [this] { Log("client started pid " + QString::number(client_->processId())); });
  connect(client_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
    Log(QString("client exited code %1%2").arg(code).arg(status == QProcess::CrashExit ? " (crashed)" : ""));
  });
  connect(client_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
    if (e == QProcess::FailedToStart) Log("client failed to start: " + options_.client);
  });
  const QString line = BuildCommandLine(options_);
  LobbyOptions masked = options_;
  masked.key = "***";
  if (!masked.proxyPassword.isEmpty()) masked.proxyPassword = "***";
  Log("start " + options_.client + " " + BuildCommandLine(masked));
  client_->start(options_.client, {line});
}

bool LobbyCore::Send(int message) {
  const bool ok = link_.PostMessage(ClientCaption(options_).toStdString(), message, 0, 0);
  Log(QString("%1 %2 %3").arg(ok ? "sent" : "not-sent").arg(message).arg(MessageName(message)));
  return ok;
}

void LobbyCore::OnMessage(int message, long wParam, long lParam) {
  if (message == platform::qt::kLinkSysCommandMessage) {
    const bool restore = wParam == 61728;
    Log(restore ? "sys restore" : wParam == 61472 ? "sys minimize" : "sys " + QString::number(wParam));
    if ((wParam == 61728 || wParam == 61472) && onSysCommand) onSysCommand(restore);
    return;
  }
  Log(QString("recv %1 %2 %3 %4").arg(message).arg(wParam).arg(lParam).arg(MessageName(message)));
}

}  // namespace tavrel::lobby
