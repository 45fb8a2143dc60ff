#pragma once
// DispatchCommand: the single entry through which every received command reaches
// its handler. Handlers read the record (ctx.session.info) and the packet copy
// (ctx.session.RecvPacket).
#include <array>
#include <cstdint>
#include <functional>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

using CommandHandler = std::function<void(ClientContext&)>;

struct Dispatcher {
  std::array<CommandHandler, 256> handlers{};
  // Commands of the catalogue; a number outside it goes to the prop plug-in.
  std::array<bool, 256> known{};
  // Handlers registered so far (RegisterHandler is the one way in): a saved
  // context restores the table only when this moved.
  std::uint64_t registrations = 0;
  Dispatcher();
};

// Fills the handler slot of a catalogue command.
void RegisterHandler(ClientContext& ctx, int command, CommandHandler handler);
void DispatchCommand(ClientContext& ctx);

}  // namespace tavrel::session
