#pragma once
// Reconnection after a lost connection: the hidden window frmReconnect with its
// two timers, up to 21 attempts every 3 s, the reconnect request (command 28) and
// the server's answer (command 29).
#include <cstdint>

#include "session/command_record.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

inline constexpr int kReconnectAttemptLimit = 21;
inline constexpr int kTimerReconnectMs = 1000;
inline constexpr int kTimerCountMs = 3000;
inline constexpr const char* kMsgReconnecting = "正在重新连接服务器...";
inline constexpr const char* kMsgReconnectAccepted = "正在重连服务器，请等待...！";
inline constexpr const char* kMsgReconnectGaveUp = "重连失败，请检查您的网络！";
inline constexpr const char* kMsgReconnectRefused = "重连服务器失败，退出后请重新入座！";

// Creates the two timers (off); the registration calls it.
void InstallReconnectTimers(ClientContext& ctx);
// The watchdog found the connection lost: load the timer window.
void StartReconnection(ClientContext& ctx);
// Stops the timers and unloads the timer window.
void StopReconnection(ClientContext& ctx);
void TimerReconnectTick(ClientContext& ctx);
void TimerCountTick(ClientContext& ctx);
// One attempt.
void Reconnect(ClientContext& ctx);
// Turns the login packet into the reconnect request: command 28, the token, the number.
void MakeReconnectRequest(Packet& loginPacket, SessionToken token, std::uint32_t reconnectNumber);
// Keeps the number at 268..271 of the packet being handled (the dealer announcement calls this).
void KeepReconnectNumber(ClientContext& ctx);
// ReconnectResult (command 29).
void OnReconnectResult(ClientContext& ctx);

}  // namespace tavrel::session
