#include "lobby_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrel::lobby {

LobbyWindow::LobbyWindow(LobbyCore& core) : core_(core), log_(new QListWidget(this)) {
  setWindowTitle(core.options().lobbyCaption);
  resize(560, 420);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("座位: " + core.options().user + " @ " + core.options().serverHost + ":" +
                               QString::number(core.options().serverPort)));
  layout->addWidget(log_, 1);
  auto* buttons = new QHBoxLayout;
  for (int message : {22, 771, 1024, 1125}) {
    auto* b = new QPushButton(QString("%1 %2").arg(message).arg(MessageName(message)), this);
    connect(b, &QPushButton::clicked, this, [this, message] { core_.Send(message); });
    buttons->addWidget(b);
  }
  auto* start = new QPushButton("启动客户端", this);
  connect(start, &QPushButton::clicked, this, [this] { core_.StartClient(); });
  buttons->addWidget(start);
  layout->addLayout(buttons);
}

void LobbyWindow::AddLine(const QString& line) {
  log_->addItem(line);
  log_->scrollToBottom();
}

}  // namespace tavrel::lobby
