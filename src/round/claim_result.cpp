#include "round/claim_result.h"

#include "app/client_context.h"
#include "round/meld_rows.h"
#include "sound/sound.h"
#include "view/claim_words.h"
#include "view/meld_view.h"
#include "view/offer_buttons.h"

namespace tavrel::round {

namespace {

// A spectator sees the claim word for this long; its own display hides it.
constexpr int kSpectatorWordMs = 2000;

struct Announcement {
  bool known = false;     // a type of the table below
  int word = -1;          // ClaimWordPictures entry, -1 for none
  bool inImage1 = false;  // the seat's own Image1 rather than Words
  const char* voice = nullptr;
};

Announcement AnnouncementOf(const Table& t, int type, int tile, bool spectator) {
  using namespace view;
  switch (type) {
    case kResultPass: return {true};
    case kResultChow: return {true, kWordChi, false, sound::kVoiceChi};
    case kResultPung: return {true, kWordPeng, false, sound::kVoicePeng};
    case kResultExposedGang:
      // The players' clients leave a gang on a discard unannounced; a watcher hears it.
      return spectator ? Announcement{true, kWordGang, false, sound::kVoiceGang} : Announcement{true};
    case kResultConcealedGang: return {true, kWordGang, true, sound::kVoiceGang};
    case kResultAddedGang:
      if (tile == kRedCode) return spectator ? Announcement{true, kWordRedGang, false, sound::kVoiceRedGang} : Announcement{true};
      if (IsSetAsideTile(t, tile))
        return spectator ? Announcement{true, kWordWildGang, false, sound::kVoiceWildGang} : Announcement{true};
      return {true, kWordOpenGang, false, sound::kVoiceGang};
    case kResultWin: return {true, kWordHu, true, sound::kVoiceHu};
    default: return {};
  }
}

void Announce(ClientContext& ctx, int d, int type, const std::array<std::uint8_t, 3>& tiles) {
  Table& t = ctx.table;
  const bool spectator = t.SpectatorMode != kFalse;
  const Announcement a = AnnouncementOf(t, type, tiles[2], spectator);
  if (d == 0) {
    // The player's own claim was voiced by the input; a watcher's player has none.
    if (spectator && a.voice) sound::PlayClaimVoice(ctx, 0, a.voice);
    return;
  }
  const int i = d - 1;
  if (a.known && type > kResultPass) view::PlaceClaimBubble(ctx, i);
  sound::PlayEffect(ctx, sound::kDiscard);
  if (!a.known) return;  // a type without a word: only the sound
  if (type == kResultWin) ++t.HuCount;
  if (a.word >= 0) view::ShowClaimWord(ctx, i, a.word, a.inImage1);
  if (a.voice && ctx.sound.SoundOn) {
    sound::PlayClaimVoice(ctx, d, a.voice);
    sound::SetSharedVolume(ctx, sound::kFullVolume);
  }
  ctx.sched.BubblesShown = true;
  ctx.sched.bubblesCounter = 0;
  t.BubbleSeat = static_cast<std::int16_t>(i);
  // One claim at a time beside the table, but every 胡 of a hand stays up.
  if (t.HuCount <= 1)
    for (int other = 0; other < 3; ++other)
      if (other != i) view::HideClaimBubble(ctx, other, false);
  if (spectator && a.word >= 0) {
    ctx.platform.PumpFor(kSpectatorWordMs);
    if (ctx.platform.Ending()) return;
    view::HideClaimBubble(ctx, i, true);
  }
}

}  // namespace

void OnClaimResult(ClientContext& ctx) {
  const Info info = ctx.session.info;
  Table& t = ctx.table;
  for (int k = 0; k < 3; ++k) t.MeldTiles[k] = static_cast<std::uint8_t>(info.value[k + 1] & 0xFF);
  t.ClaimType = info.value[0];
  ShowMeld(ctx, info.value[0], info.Seat, t.MeldTiles);
}

void ShowMeld(ClientContext& ctx, int type, int seatMask, const std::array<std::uint8_t, 3>& tiles) {
  Table& t = ctx.table;
  const int d = RelSeat(t, seatMask);
  view::SetMeldTileSizes(ctx);
  // Another seat's claim settles the discard the player may still be deciding on.
  if (d != 0 && type > kResultPass && AnnouncementOf(t, type, tiles[2], false).known) view::OfferOvertaken(ctx);
  Announce(ctx, d, type, tiles);
  if (ctx.platform.Ending()) return;
  LayMeld(ctx, d, type, tiles);
}

}  // namespace tavrel::round
