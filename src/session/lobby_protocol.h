#pragma once
// The window messages the lobby sends to the table client, and the fresh login
// for a new seat (message 22).
namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

inline constexpr int kMsgLogin = 22;          // lobby: fresh login; client: a login is about to go out
inline constexpr int kMsgCloseRequest = 771;  // lobby: may the client close?; client: logged in
inline constexpr int kMsgFree = 1024;         // lobby: leave now; client: left, free
inline constexpr int kMsgPlaying = 1125;      // lobby: query; client: playing a hand
inline constexpr int kMsgLoginPending = 1126; // client: a login answer is still awaited

// Registers the main window under its caption and takes the lobby's messages.
void InstallLobbyMessages(ClientContext& ctx);
void OnLobbyMessage(ClientContext& ctx, int message, long wParam, long lParam);
void FreshLogin(ClientContext& ctx);

}  // namespace tavrel::session
