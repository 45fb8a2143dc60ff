#include "platform/qt/lobby_link_qt.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/runtime_dir.h"

namespace tavrel::platform::qt {
namespace {

constexpr char kMagic[4] = {'T', 'V', 'L', '1'};

std::uint64_t Fnv1a64(const std::string& s) {
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (unsigned char c : s) {
    h ^= c;
    h *= 0x100000001b3ULL;
  }
  return h;
}

bool FillAddress(const std::string& path, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

void PutLE(std::uint8_t* out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint64_t GetLE(const std::uint8_t* in, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint64_t>(in[i]) << (8 * i);
  return v;
}

// A fresh unbound datagram socket connected to the caption's socket; -1 when
// nobody lives there (no file, a dead owner's file, or not ours).
int ConnectTo(const std::string& path) {
  sockaddr_un addr;
  if (!FillAddress(path, addr)) return -1;
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

LobbyLinkQt::LobbyLinkQt() : LobbyLinkQt(RuntimeDir()) {}
LobbyLinkQt::LobbyLinkQt(std::string dir) : dir_(std::move(dir)) {}
LobbyLinkQt::~LobbyLinkQt() { Unregister(); }

std::string LobbyLinkQt::SocketPath(const std::string& dir, const std::string& caption) {
  if (dir.empty()) return {};
  std::string path = dir + "/" + SafeFileName(caption) + ".win";
  if (path.size() < sizeof(sockaddr_un::sun_path)) return path;
  char hashed[24];
  std::snprintf(hashed, sizeof hashed, "h%016llx", static_cast<unsigned long long>(Fnv1a64(caption)));
  path = dir + "/" + hashed + ".win";
  return path.size() < sizeof(sockaddr_un::sun_path) ? path : std::string();
}

void LobbyLinkQt::Unregister() {
  notifier_.reset();
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
    ::unlink(path_.c_str());
  }
  path_.clear();
}

bool LobbyLinkQt::RegisterWindow(const std::string& caption) {
  const std::string path = SocketPath(dir_, caption);
  if (path.empty()) return false;
  if (path == path_) return true;
  // A live owner keeps its caption; a dead owner's file is taken over.
  if (const int other = ConnectTo(path); other >= 0) {
    ::close(other);
    return false;
  }
  Unregister();
  ::unlink(path.c_str());
  sockaddr_un addr;
  if (!FillAddress(path, addr)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  const mode_t old = ::umask(0177);
  const int bound = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  ::umask(old);
  if (bound != 0) {
    ::close(fd);
    return false;
  }
  ::chmod(path.c_str(), 0600);
  int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on);
  fd_ = fd;
  path_ = path;
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { ReadPending(); });
  return true;
}

bool LobbyLinkQt::FindWindow(const std::string& caption) {
  const int fd = ConnectTo(SocketPath(dir_, caption));
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool LobbyLinkQt::Send(const std::string& caption, std::uint32_t kind, int message, long wParam, long lParam) {
  const int fd = ConnectTo(SocketPath(dir_, caption));
  if (fd < 0) return false;
  std::uint8_t d[kLinkDatagramSize];
  std::memcpy(d, kMagic, 4);
  PutLE(d + 4, kind, 4);
  PutLE(d + 8, static_cast<std::uint32_t>(message), 4);
  PutLE(d + 12, static_cast<std::uint64_t>(static_cast<std::int64_t>(wParam)), 8);
  PutLE(d + 20, static_cast<std::uint64_t>(static_cast<std::int64_t>(lParam)), 8);
  const bool ok = ::send(fd, d, sizeof d, MSG_DONTWAIT | MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof d);
  ::close(fd);
  return ok;
}

bool LobbyLinkQt::PostMessage(const std::string& caption, int message, long wParam, long lParam) {
  return Send(caption, kLinkKindPosted, message, wParam, lParam);
}

bool LobbyLinkQt::SendSysCommand(const std::string& caption, int command) {
  return Send(caption, kLinkKindSysCommand, kLinkSysCommandMessage, command, 0);
}

void LobbyLinkQt::ReadPending() {
  // One datagram per activation: a handler may pump events, and the next one then
  // arrives through the notifier in order.
  if (fd_ < 0) return;
  std::uint8_t d[kLinkDatagramSize + 1];
  iovec iov{d, sizeof d};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
  msghdr msg{};
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
  msg.msg_control = control;
  msg.msg_controllen = sizeof control;
  const ssize_t n = ::recvmsg(fd_, &msg, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
  if (n < 0) return;
  long uid = -1;
  for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_CREDENTIALS) {
      ucred cred;
      std::memcpy(&cred, CMSG_DATA(c), sizeof cred);
      uid = static_cast<long>(cred.uid);
    }
  if (uid != static_cast<long>(::getuid())) {
    lastRejectedUid = uid;
    return;
  }
  if (n != kLinkDatagramSize || std::memcmp(d, kMagic, 4) != 0) return;
  const auto kind = static_cast<std::uint32_t>(GetLE(d + 4, 4));
  if (kind != kLinkKindPosted && kind != kLinkKindSysCommand) return;
  const int message = static_cast<int>(static_cast<std::int32_t>(GetLE(d + 8, 4)));
  const long wParam = static_cast<long>(static_cast<std::int64_t>(GetLE(d + 12, 8)));
  const long lParam = static_cast<long>(static_cast<std::int64_t>(GetLE(d + 20, 8)));
  if (onMessage) onMessage(message, wParam, lParam);
}

}  // namespace tavrel::platform::qt
