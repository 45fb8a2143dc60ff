#pragma once
// The lobby's window: every message with its time, and buttons for the lobby's messages.
#include <QListWidget>
#include <QWidget>

#include "lobby_core.h"

namespace tavrel::lobby {

class LobbyWindow : public QWidget {
  Q_OBJECT
 public:
  explicit LobbyWindow(LobbyCore& core);
  void AddLine(const QString& line);

 private:
  LobbyCore& core_;
  QListWidget* log_;
};

}  // namespace tavrel::lobby
