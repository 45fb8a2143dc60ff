#pragma once
// A round at play with the claim results, showdowns and spectator packets to feed it.
#include <string>

#include "round/claim_result.h"
#include "round_fixture.h"
#include "view/claim_words.h"
#include "view/meld_view.h"

namespace tavrel::testing {

struct ClaimsFixture : RoundFixture {
  static Packet Claim(int seatMask, int type, int a, int b, int c) { return Make(7, seatMask, {type, a, b, c}); }
  static Packet Gang(int seatMask, int type, int tile) { return Claim(seatMask, type, tile, tile, tile); }
  static Packet ShowdownPacket(int seatMask, std::array<int, 4> values, std::array<int, 5> peek = {}) {
    Packet p = Make(15, seatMask, values);
    for (int i = 0; i < 5; ++i) wire::PutU8(p, off::kShowdownPeek + i, static_cast<std::uint8_t>(peek[i]));
    return p;
  }

  // Whether a sound whose path ends with `suffix` was started.
  bool Heard(const std::string& suffix) {
    for (const auto& p : platform.simAudio().played)
      if (p.path.size() >= suffix.size() && p.path.compare(p.path.size() - suffix.size(), suffix.size(), suffix) == 0)
        return true;
    return false;
  }
  bool Shown(const platform::ControlName& name, int index = -1) {
    const platform::Control* c = Find(name, index);
    return c && c->Visible();
  }
  int PictureOf(const platform::ControlName& name, int index = -1) {
    const platform::Control* c = Find(name, index);
    return c ? c->Picture() : 0;
  }
  int WordPicture(int word) { return ctx().view.ClaimWordPictures[word]; }
  int TilePicture(int index) { return ctx().view.TilePictures[index]; }
  // The face of a tile code in a set, as a resource id.
  int Face(int code, int set) { return TilePicture(view::TilePictureIndex(code, set)); }

  // The concealed codes of relative seat r, in slot order.
  std::vector<int> Hand(int r) {
    std::vector<int> out;
    const auto& s = seat(r);
    for (int k = s.firstConcealed; k < s.firstConcealed + s.concealedCount && k < round::kSlotCount; ++k)
      out.push_back(s.tiles[k].code);
    return out;
  }
  long HeldOf(int r, int code) {
    const auto hand = Hand(r);
    return std::count(hand.begin(), hand.end(), code);
  }
  // A fresh hand whose own deal is `own` (twelve codes), dealt by relative seat `dealer`.
  void StartWith(int dealerRel, const std::vector<int>& own, int thirteenth = 0x25, int fourteenth = 0x26) {
    Receive(NewHand(Mask(dealerRel), {1, 2, 3, 4}));
    Receive(Deal(Mask(0), own));
    for (int k = 0; k < 4; ++k) {
      const int r = (4 - k) % 4;
      Receive(Draw(Mask(r), r == 0 ? thirteenth : 0));
    }
    Receive(Draw(Mask(dealerRel), dealerRel == 0 ? fourteenth : 0));
    Receive(Params(0x27, 0x26));
  }
};

}  // namespace tavrel::testing
