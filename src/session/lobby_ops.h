#pragma once
// Operations on the lobby window, found again by its caption at every use.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

inline constexpr int kWmSysCommand = 0x112;
inline constexpr int kScRestore = 61728;
inline constexpr int kScMinimize = 61472;

bool LobbyExists(ClientContext& ctx);
// Restores the lobby window; ends the program when the lobby is gone.
void RestoreLobby(ClientContext& ctx);
// Minimises the lobby window; ends the program when the lobby is gone.
void MinimizeLobby(ClientContext& ctx);
void PostToLobby(ClientContext& ctx, int message);
// Restores the lobby window and ends the program (unrecoverable conditions).
void GiveUp(ClientContext& ctx);
// Restores the lobby window when it is there, then ends the program with that code.
void EndWithLobbyRestored(ClientContext& ctx, int exitCode);
// After a table: the table window minimised and the lobby restored when the lobby
// is there, else the end of the program.
void ReturnToLobby(ClientContext& ctx);

}  // namespace tavrel::session
