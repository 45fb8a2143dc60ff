#pragma once
// A laid-out client seated at a table on the sim backend, fed round-flow packets
// straight through the receive path, with the packets of a hand to build from.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "../kind_check.h"
#include "app/client_context.h"
#include "platform/names.h"
#include "platform/sim/sim_platform.h"
#include "round/table_model.h"
#include "session/packet_io.h"
#include "session/transport.h"
#include "view/pictures.h"

namespace tavrel::testing {

struct RoundFixture : ::testing::Test {
  platform::sim::SimPlatform platform;
  std::unique_ptr<ClientContext> owned;
  ClientContext* c = nullptr;
  int own = 2;  // the local player's seat index

  RoundFixture() { Build(1280, 1024); }
  // A fresh client on a screen of this size.
  void Build(int width, int height) {
    platform.screen = {width, height};
    platform.simLobby().windows.insert("Virel山庄");
    owned = std::make_unique<ClientContext>(platform);
    c = owned.get();
    InstallParts(*c);
    c->hooks.prepareLayout();
    c->hooks.finishLayout();
    c->hooks.setUpSound();
    platform.simAudio().played.clear();
    Seat(own);
  }
  void TearDown() override { ExpectNoKindMismatches(c->ui); }
  ClientContext& ctx() { return *c; }
  round::Table& table() { return c->table; }
  round::PlayerEntry& seat(int r) { return c->table.custom[r]; }

  // The local player at seat index `index`; the others around it.
  void Seat(int index) {
    own = index;
    for (int r = 0; r < 4; ++r) {
      c->table.custom[r].seat = round::MaskAt(index, r);
      c->table.custom[r].name = "p" + std::to_string(r);
      c->players.Detail[r].username = "p" + std::to_string(r);
    }
  }
  // Mask of relative seat r.
  int Mask(int r) const { return round::MaskAt(own, r); }

  // Decoded and dispatched as the receive task does it.
  void Receive(const Packet& p) {
    c->session.RecvRing.PushAll(p.data(), static_cast<int>(kPacketSize));
    session::ReceiveNextPacket(*c);
  }
  static Packet Make(int command, int seat, std::array<int, 4> values = {0, 0, 0, 0}) {
    Info info;
    info.Cmd = static_cast<std::int16_t>(command);
    info.Seat = static_cast<std::uint8_t>(seat);
    for (int i = 0; i < 4; ++i) info.value[i] = static_cast<std::int16_t>(values[i]);
    return EncodeRecord(info, {1, 2});
  }

  static Packet NewHand(int dealerMask, std::array<int, 4> dice, int doubling = 0) {
    Packet p = Make(4, dealerMask, dice);
    wire::PutU8(p, off::kNewHandDiceDoubling, static_cast<std::uint8_t>(doubling));
    return p;
  }
  static Packet Deal(int seatMask, const std::vector<int>& tiles, int count = 12) {
    Packet p = Make(1, seatMask, {0, count, 0, 0});
    for (std::size_t i = 0; i < tiles.size() && i < 12; ++i)
      wire::PutU16BE(p, off::kDealtTiles + 2 * i, static_cast<std::uint16_t>(tiles[i]));
    return p;
  }
  static Packet Draw(int seatMask, int tile = 0, int v1 = 0) { return Make(5, seatMask, {0, v1, 0, tile}); }
  static Packet Discard(int seatMask, int tile, int v0 = 0) { return Make(2, seatMask, {v0, 0, 0, tile}); }
  static Packet Params(int wild, int indicator) { return Make(14, 0, {0, 0, wild, indicator}); }
  static Packet Reset(int dealerMask, int x, int y, int wild, int indicator) {
    return Make(41, dealerMask, {x, y, wild, indicator});
  }
  static Packet SeatTiles(int seatMask, int discards, int frontSteps, int backNumber, const std::vector<int>& open,
                          const std::vector<int>& concealed) {
    Info info;
    info.Cmd = 40;
    info.Seat = static_cast<std::uint8_t>(seatMask);
    info.Reserved7 = static_cast<std::uint8_t>(discards);
    info.value = {0, static_cast<std::int16_t>(frontSteps), 0, static_cast<std::int16_t>(backNumber)};
    Packet p = EncodeRecord(info, {1, 2});
    std::size_t pair = 0;
    for (int code : open)
      if (pair < 24) {
        wire::PutU8(p, off::kSeatTilesPairs + 2 * pair, 0x20);
        wire::PutU8(p, off::kSeatTilesPairs + 2 * pair++ + 1, static_cast<std::uint8_t>(code));
      }
    for (int code : concealed)
      if (pair < 24) {
        wire::PutU8(p, off::kSeatTilesPairs + 2 * pair, 0x10);
        wire::PutU8(p, off::kSeatTilesPairs + 2 * pair++ + 1, static_cast<std::uint8_t>(code));
      }
    return p;
  }

  // Twelve own tiles of a deal.
  static std::vector<int> OwnTwelve() {
    return {0x11, 0x23, 0x41, 0x89, 0x21, 0x15, 0x47, 0x82, 0x29, 0x23, 0x44, 0x17};
  }

  // A hand up to the start of play: NewHand (dealer at relative seat `dealerRel`),
  // the deal, the thirteenth tiles, the dealer's fourteenth and the wild tile.
  void StartHand(int dealerRel = 0, std::array<int, 4> dice = {1, 2, 3, 4}) {
    Receive(NewHand(Mask(dealerRel), dice));
    Receive(Deal(Mask(0), OwnTwelve()));
    for (int k = 0; k < 4; ++k) {
      const int r = (4 - k) % 4;  // 0, 3, 2, 1
      Receive(Draw(Mask(r), r == 0 ? 0x25 : 0));
    }
    Receive(Draw(Mask(dealerRel), dealerRel == 0 ? 0x26 : 0));
    Receive(Params(0x27, 0x26));
  }

  // How often effect `effect` has been played.
  long Played(int effect) {
    const auto& played = platform.simAudio().played;
    return std::count_if(played.begin(), played.end(),
                         [&](const auto& p) { return p.path == c->sound.SoundFiles[effect]; });
  }

  platform::Control& Tile(int image) { return view::TileImage(*c, image); }
  platform::Control* Find(const platform::ControlName& name, int index = -1) { return c->main().Find(name, index); }

  // Images of every tile in a row, a set-aside spot or a meld, all seats.
  std::vector<int> RowImages() {
    std::vector<int> out;
    for (const auto& s : c->table.custom)
      for (int k = 0; k < round::kSlotCount; ++k) {
        const bool concealed = k >= s.firstConcealed && k < s.firstConcealed + s.concealedCount;
        if (concealed && s.tiles[k].imageIndex >= 0) out.push_back(s.tiles[k].imageIndex);
      }
    return out;
  }

  // What every table must satisfy, whatever it was sent: counts within the row,
  // each picture in one place, and every tile on the felt.
  void ExpectSoundTable(const char* when) {
    SCOPED_TRACE(when);
    for (int r = 0; r < 4; ++r) {
      const auto& s = c->table.custom[r];
      EXPECT_GE(s.concealedCount, 0) << r;
      EXPECT_LE(s.firstConcealed + s.concealedCount, round::kSlotCount) << r;
    }
    std::set<int> seen;
    for (int image : RowImages()) {
      EXPECT_GE(image, 0);
      EXPECT_LT(image, 84);
      EXPECT_TRUE(seen.insert(image).second) << "picture " << image << " in two row slots";
    }
    const double s = c->view.LayoutScale;
    std::set<std::pair<long, long>> places;
    for (int i = 0; i < 84; ++i) {
      const auto& t = Tile(i);
      if (!t.Visible()) continue;
      EXPECT_GE(t.Left(), -0.01) << i;
      EXPECT_GE(t.Top(), -0.01) << i;
      EXPECT_LE(t.Left() + t.Width(), 1024 * s + 0.01) << i;
      EXPECT_LE(t.Top() + t.Height(), 768 * s + 0.01) << i;
      EXPECT_TRUE(places.insert({std::lround(t.Left() * 10), std::lround(t.Top() * 10)}).second)
          << "two tiles on one place, one is picture " << i;
    }
  }
};

}  // namespace tavrel::testing
