#pragma once
// The lobby side of the link: registers the lobby window, starts the client,
// reports every message it receives and sends the lobby's messages to the client.
// It answers nothing by itself.
#include <QObject>
#include <QProcess>
#include <functional>
#include <memory>

#include "lobby_options.h"
#include "platform/qt/lobby_link_qt.h"

namespace tavrel::lobby {

class LobbyCore : public QObject {
  Q_OBJECT
 public:
  explicit LobbyCore(LobbyOptions options);

  bool Register();  // false when the caption is taken by a live window
  void StartClient();
  bool Send(int message);
  const LobbyOptions& options() const { return options_; }

  // Every event as a line (time, what); the window and the headless log show them.
  std::function<void(const QString& line)> onLog;
  // The client asked for the lobby window to be restored (true) or minimised (false).
  std::function<void(bool restore)> onSysCommand;

 private:
  void Log(const QString& what);
  void OnMessage(int message, long wParam, long lParam);

  LobbyOptions options_;
  platform::qt::LobbyLinkQt link_;
  QProcess* client_ = nullptr;  // deliberately never deleted: a lobby that goes away leaves its client running
};

// The meaning of a message number, for the log.
QString MessageName(int message);

}  // namespace tavrel::lobby
