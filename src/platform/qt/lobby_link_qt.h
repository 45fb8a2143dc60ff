#pragma once
// The lobby link between programs of one user: every window that takes part owns
// a datagram Unix socket named after its caption in the per-user runtime folder.
// A window is found while its owner lives (connecting to a dead owner's socket is
// refused), messages are 28-byte datagrams, and only the same user may post
// (folder 0700, sockets 0600, and the sender's uid checked on arrival).
// docs/lobby-link.md describes the protocol for other programs.
#include <QSocketNotifier>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace tavrel::platform::qt {

inline constexpr int kLinkDatagramSize = 28;
inline constexpr std::uint32_t kLinkKindPosted = 1;
inline constexpr std::uint32_t kLinkKindSysCommand = 2;
inline constexpr int kLinkSysCommandMessage = 0x112;  // delivered as (0x112, command, 0)

class LobbyLinkQt final : public LobbyLink {
 public:
  // dir: the folder of the sockets; RuntimeDir() by default.
  LobbyLinkQt();
  explicit LobbyLinkQt(std::string dir);
  ~LobbyLinkQt() override;

  bool RegisterWindow(const std::string& caption) override;
  bool FindWindow(const std::string& caption) override;
  bool PostMessage(const std::string& caption, int message, long wParam, long lParam) override;
  bool SendSysCommand(const std::string& caption, int command) override;

  // The socket path of a caption: SafeFileName(caption).win, or h<FNV-1a 64 hex>.win
  // when that would not fit a socket address. Empty when not even that fits.
  static std::string SocketPath(const std::string& dir, const std::string& caption);
  // The sender uid of the last rejected datagram, for tests (-1: none rejected).
  long lastRejectedUid = -1;

 private:
  bool Send(const std::string& caption, std::uint32_t kind, int message, long wParam, long lParam);
  void ReadPending();
  void Unregister();

  std::string dir_;
  std::string path_;
  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tavrel::platform::qt
