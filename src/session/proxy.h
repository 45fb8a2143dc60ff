#pragma once
// The SOCKS5 handshake (no authentication or user name and password, connect
// with an IPv4 address) on Winsock1, before the login.
#include <optional>
#include <string>

#include "platform/platform.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

inline constexpr const char* kMsgProxyRefused = "请求代理失败！";
inline constexpr const char* kMsgProxyAuthFailed = "代理服务器用户验证失败！";
inline constexpr const char* kMsgProxyConnectFailed = "通过代理连接主站失败！";
inline constexpr const char* kMsgProxyUnreachable = "连接代理服务器失败！";
inline constexpr const char* kMsgProxyConnected = "连接代理服务器成功！";
// How long the handshake waits for the proxy: the connection and each reply.
inline constexpr int kProxyWaitLimitMs = 30000;

platform::ByteVec ProxyGreeting();
// 01, user length, user, password length, password; each cut at 255 bytes.
platform::ByteVec ProxyAuthentication(const std::string& user, const std::string& password);
// 05 01 00 01, the four numbers of the IPv4 address, port high, port low; none for other hosts.
std::optional<platform::ByteVec> ProxyConnectRequest(const std::string& host, int port);

// Connects to the proxy and sends the greeting. A fresh start empties the rings;
// a reconnection keeps what is queued.
void StartProxy(ClientContext& ctx, bool resetRings);
void ProxySend(ClientContext& ctx);
void ProxyReceive(ClientContext& ctx);

}  // namespace tavrel::session
