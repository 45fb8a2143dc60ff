#include "view/claim_replies.h"

#include <array>

#include "app/client_context.h"
#include "session/commands.h"
#include "session/packet_io.h"
#include "sound/sound.h"
#include "view/hand_view.h"

namespace tavrel::view {

namespace {

// Tiles in a reply carry this tag in their top bits.
constexpr int kReplyTileTag = 0x2000;
// kind of the slots the player chose for a gang request.
constexpr int kKindExposedGang = 4, kKindConcealedGang = 5, kKindAddedGang = 6;
// After a concealed gang its voice is not cut short by the next sounds.
constexpr int kGangVoiceHoldMs = 3000;

std::int16_t Tile(int code) { return static_cast<std::int16_t>((code & 0x0FFF) | kReplyTileTag); }

void SendReply(ClientContext& ctx, int operation, std::array<std::int16_t, 3> tiles) {
  Info info;
  info.Cmd = cmd::kClaimReply;
  info.Seat = ctx.table.custom[0].seat;
  info.value = {static_cast<std::int16_t>(operation), tiles[0], tiles[1], tiles[2]};
  session::SendCommand(ctx, info);
  ctx.view.input.ReplySent = true;
}

// `count` equal concealed tiles from `slot` on: the tiles a gang request names.
bool HoldsEqualTiles(const ClientContext& ctx, int slot, int count) {
  const SlotRange hand = OwnConcealedSlots(ctx);
  if (!hand.Contains(slot) || !hand.Contains(slot + count - 1)) return false;
  const auto& tiles = ctx.table.custom[0].tiles;
  if (!round::IsTileCode(tiles[slot].code)) return false;
  for (int k = slot + 1; k < slot + count; ++k)
    if (tiles[k].code != tiles[slot].code) return false;
  return true;
}

// The chosen tiles copied into the slots of the coming meld (meldEnd - 2 ..), marked
// with the request's kind; the claim result then lays the meld. Only slots in front
// of the concealed tiles are written, so the hand itself never changes here.
void MarkMeld(ClientContext& ctx, int slot, int count, int kind) {
  round::PlayerEntry& own = ctx.table.custom[0];
  for (int i = 0; i < count; ++i) {
    const int to = own.meldEnd - 2 + i;
    if (to < 0 || to >= own.firstConcealed || to >= round::kSlotCount) continue;
    own.tiles[to] = own.tiles[slot + i];
    own.tiles[to].kind = static_cast<std::int16_t>(kind);
  }
}

void PlayGangVoice(ClientContext& ctx) { sound::PlayClaimVoice(ctx, 0, sound::kVoiceGang); }

}  // namespace

void SendPassReply(ClientContext& ctx) {
  if (ctx.view.input.ReplySent) return;
  SendReply(ctx, cmd::kOpPass, {0, 0, 0});
}

bool SendExposedGang(ClientContext& ctx, int slot) {
  if (!HoldsEqualTiles(ctx, slot, 3)) return false;
  const int code = ctx.table.custom[0].tiles[slot].code;
  MarkMeld(ctx, slot, 3, kKindExposedGang);
  SendReply(ctx, cmd::kOpExposedGang, {Tile(code), Tile(code), Tile(code)});
  PlayGangVoice(ctx);
  return true;
}

bool SendConcealedGang(ClientContext& ctx, int slot) {
  if (!HoldsEqualTiles(ctx, slot, 4)) return false;
  const int code = ctx.table.custom[0].tiles[slot].code;
  MarkMeld(ctx, slot, 3, kKindConcealedGang);
  SendReply(ctx, cmd::kOpConcealedGang, {Tile(code), Tile(code), Tile(code)});
  PlayGangVoice(ctx);
  sound::HoldSounds(ctx, kGangVoiceHoldMs);
  return true;
}

bool SendAddedGang(ClientContext& ctx, int slot) {
  if (!HoldsEqualTiles(ctx, slot, 1)) return false;
  const int code = ctx.table.custom[0].tiles[slot].code;
  MarkMeld(ctx, slot, 1, kKindAddedGang);
  SendReply(ctx, cmd::kOpAddedGang, {0, 0, Tile(code)});
  PlayGangVoice(ctx);
  return true;
}

void SendHu(ClientContext& ctx) { SendReply(ctx, cmd::kOpWin, {0, 0, 0}); }

}  // namespace tavrel::view
