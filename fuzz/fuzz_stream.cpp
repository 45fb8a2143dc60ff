// Arbitrary bytes from the server: through the socket's data event, the receive
// task and DispatchCommand with every handler registered so far. Seeds under
// fuzz/corpus/fuzz_stream: a recorded hand (login, seats, deal, draws and
// discards, showdown, hand over), a rejoin (TableReset and four SeatTiles) and the
// claims of a hand (pung, chow, gangs, 中 set aside, an added gang, two wins, the showdown),
// and a won hand's end from a real server (the showdown, HandOver and Settlement with
// dice and wealth doubling: the sheet, the history and the record file).
//
// The client is built once per process; after each input it is put back as it
// was right after the build (its state, its windows and the sim platform), so
// every input starts from the same connected client and none sees another's.
#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/client_context.h"
#include "reused_client.h"
#include "platform/sim/sim_platform.h"
#include "session/transport.h"

namespace {

using namespace tavrel;

struct ConnectedClient {
  fuzzing::ScratchFolder folder{"fuzz_stream"};  // the program folder: a hand's end writes the record file there
  platform::sim::SimPlatform p;
  ClientContext ctx{p};
  std::shared_ptr<const ClientContext::SavedState> state;
  std::shared_ptr<const platform::sim::SimPlatform::Checkpoint> platform;

  ConnectedClient() {
    p.programFolder = folder.path.string();
    p.simLobby().windows.insert("Virel山庄");
    InstallParts(ctx);
    // The windows laid out as start-up lays them out, so that a run finds
    // every control in place (and the put-back has none to remove).
    if (ctx.hooks.prepareLayout) ctx.hooks.prepareLayout();
    ctx.main().Show();
    if (ctx.hooks.finishLayout) ctx.hooks.finishLayout();
    ctx.table.custom[0].name = "a";
    ctx.Winsock1->RemoteHost = "127.0.0.1";
    ctx.Winsock1->Connect();
    p.RunPending();
    fuzzing::PrepareForSave(ctx);
    state = ctx.SaveState();
    platform = p.Save();
    cleanFolderTime = FolderTime();
  }
  void Reset() {
    ctx.RestoreState(*state);
    p.Rewind(*platform);
    // Whatever the run wrote into the program folder goes; the folder's own
    // time tells whether anything was made there.
    if (FolderTime() == cleanFolderTime) return;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path, ec)) std::filesystem::remove_all(entry, ec);
    cleanFolderTime = FolderTime();
  }
  std::int64_t FolderTime() const {
    struct stat st {};
    if (::stat(folder.path.c_str(), &st) != 0) return -1;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  }
  std::int64_t cleanFolderTime = -1;
};

std::uint64_t Run(ConnectedClient& client, const std::uint8_t* data, std::size_t size) {
  auto& p = client.p;
  auto* sock = p.socket(0);
  // The first byte picks the chunk size (5 to 770 bytes, odd and even), so
  // arrivals split packets anywhere; a long input arrives in at most 32 pieces,
  // so that an input costs its packets, not its bytes. Time moves on by two
  // ticks whenever another packet's worth has arrived, so the receive task
  // meets whole and partial packets in the ring.
  const std::size_t chunk = size ? std::max<std::size_t>(5 + data[0] * 3, size / 32 + 1) : 1;
  std::size_t sinceTick = 0;
  for (std::size_t at = size ? 1 : 0; at < size && !p.ended; at += chunk) {
    const std::size_t n = at + chunk <= size ? chunk : size - at;
    sock->PeerSendNow(data + at, n);
    sinceTick += n;
    if (sinceTick >= 272) {
      sinceTick %= 272;
      p.Advance(100);
    }
  }
  // What is still queued is handled one packet a tick; then the timed tasks get a turn.
  auto& ring = client.ctx.session.RecvRing;
  for (int tick = 0; tick < 400 && !p.ended && ring.Queued() >= static_cast<int>(kPacketSize); ++tick) p.Advance(50);
  p.Advance(50 * 10);

  fuzzing::Digest d;
  for (auto b : sock->sent) d.Add(b);
  d.Add(static_cast<std::uint64_t>(p.Now()));
  d.Add(p.ended);
  for (const auto& box : p.boxes) d.Add(box.text);
  for (const auto& m : p.simLobby().posted) d.Add(static_cast<std::uint64_t>(m.message));
  for (const auto& [name, form] : client.ctx.ui.Forms()) {
    d.Add(name);
    d.Add(form->Revision());
    d.Add(form->Controls().size());
  }
  const auto& sc = client.ctx.sched;
  d.Add(sc.SendPending + 2 * sc.RecvPending + 4 * sc.LoginPending + 8 * sc.BlinkOn + 16 * sc.ConnWatch);
  d.Add(static_cast<std::uint64_t>(sc.LostCount));
  client.Reset();  // at the end: see fuzzing::RunIndependently
  return d.h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ConnectedClient client;
  fuzzing::RunIndependently("fuzz_stream", client, Run, data, size);
  return 0;
}
