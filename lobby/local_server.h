#pragma once
// A game without the platform: tavrel-server started beside the lobby on a free
// loopback port, three bots at the table, stopped when the lobby ends.
#include <QProcess>
#include <QString>

namespace tavrel::lobby {

class LocalServer {
 public:
  explicit LocalServer(QString program);
  ~LocalServer();  // stops the server
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  // Starts the server and waits until it listens: its port, or 0 with `error` saying why.
  int Start(QString& error, int timeoutMs = 10000);
  void Stop();

 private:
  QString program_;
  QProcess process_;
};

}  // namespace tavrel::lobby
