#pragma once
// What the local player's input keeps between events: the decision on the open
// offer, the offer buttons and the gang chooser, the decision countdown and the
// time-outs, and the Alt, C key sequence.
#include <array>
#include <cstdint>

namespace tavrel::view {

// DecisionState: what became of the last offer.
inline constexpr int kOfferOpen = 0;   // ClaimOptions came and is not answered yet
inline constexpr int kAnswered = 1;    // the player answered (or nothing is offered)
inline constexpr int kActing = 2;      // an answer is being carried out
inline constexpr int kTimedOut = 3;    // the countdown ran out; the automatic move took over

// OfferButtonState: a live button acts when clicked.
inline constexpr int kButtonLive = 2;

// Offer buttons Operation(0..4), left to right.
inline constexpr int kChiButton = 0, kPengButton = 1, kGangButton = 2, kHuButton = 3, kPassButton = 4;
inline constexpr int kOfferButtonCount = 5;
// Gang chooser pictures Gang(0..4); up to ten candidates are collected.
inline constexpr int kGangPictureCount = 5;
inline constexpr int kGangChoiceLimit = 10;

// Option bits of ClaimOptions value(0).
inline constexpr int kOptPass = 0x01;
inline constexpr int kOptExposedGang = 0x10;
inline constexpr int kOptConcealedGang = 0x20;
inline constexpr int kOptAddedGang = 0x40;
inline constexpr int kOptHu = 0x80;

struct InputState {
  int DecisionState = kAnswered;
  // Until the first offer there is nothing to answer, so nothing may send a pass.
  bool ReplySent = true;
  std::int16_t Countdown = 0;
  std::int16_t TimeoutCount = 0;
  bool AltPressed = false;
  bool CPressed = false;
  // The first offer of the session has started a countdown: only from then on does a
  // countdown that runs out move for the player.
  bool OfferCountdownSeen = false;

  std::array<int, kOfferButtonCount> OfferButtonState{};
  int OfferFlags = 0;  // the option byte of the last offer with a gang bit
  // Hand slots of the gang candidates in the order shown, and the reply code each was
  // found for (16, 32, 64).
  std::array<int, kGangChoiceLimit> GangChoices{};
  std::array<int, kGangChoiceLimit> GangChoiceKinds{};
  int GangChoiceCount = 0;
};

}  // namespace tavrel::view
