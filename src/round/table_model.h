#pragma once
// The client's copy of the table: seats, tile codes, the player table `custom`
// with its tile rows, and the round state shared by the round-flow handlers.
#include <array>
#include <cstdint>
#include <string>

#include "session/command_record.h"

namespace tavrel::round {

// 16-bit booleans of the table model: true = -1.
using Bool16 = std::int16_t;
inline constexpr Bool16 kTrue = -1;
inline constexpr Bool16 kFalse = 0;

inline constexpr int kWallSize = 84;
inline constexpr int kSlotCount = 21;
inline constexpr std::array<int, 4> WallSides = {0, 22, 42, 64};
// Winds of seats 0..3 (character i+1 of this text is seat i's wind).
inline constexpr const char* WindChars = "北西南东北西南";
std::string WindName(int seatIndex);

struct TileSlot {
  std::int16_t kind = 0;  // 0 empty, 1 concealed, 2 chow, 3 pung, 4..6 chosen for a gang request
  std::int16_t code = 0;
  std::int16_t imageIndex = -1;
};

struct PlayerEntry {
  std::string name;
  double HandTotal = 0;
  std::uint8_t seat = 0;  // SeatMask of the player at this relative seat
  Bool16 isDealer = kFalse;
  std::int16_t discardX = 0, discardY = 0, discardRowX = 0, discardRowY = 0;
  std::int16_t handX = 0, handY = 0;
  std::array<TileSlot, kSlotCount> tiles{};
  std::int16_t meldEnd = 3;
  std::int16_t firstConcealed = 4;
  std::int16_t concealedCount = 0;
  std::int16_t redBonusCount = 0;
  std::int16_t wildBonusCount = 0;
};

struct Table {
  std::array<PlayerEntry, 4> custom{};
  std::int16_t WallFront = 0;
  std::int16_t WallBack = 0;
  std::int16_t LastDiscardCode = 0;
  std::int16_t LastDiscardImage = -1;
  std::uint8_t LastDiscardSeat = 0;
  Bool16 DiscardAllowed = kFalse;
  Bool16 NextFromFront = kTrue;
  std::int16_t WildTile = -1;
  std::int16_t WildIndicator = 0;
  std::uint8_t DealerSeat = 0;
  std::int16_t FirstDealerSeat = 0;
  std::int16_t First4Message = 0;
  std::int16_t HandNo = 0;
  std::array<std::array<std::int16_t, 4>, 8> SeatSetAside{};  // [entry][relative seat]
  std::array<std::string, 4> SeatNames{};                     // by absolute seat index
  Bool16 SpectatorMode = kFalse;
  // A hand is being played (set by the hand start, cleared by the hand end).
  bool Playing = false;
  // Count of SeatName packets (0..3), shared with the SeatTiles series.
  int SeatPacketCount = 0;

  // ---- Drawing and discarding ----
  Bool16 SkipFlush = kFalse;     // a gang took the centre tile: the next draw does not flush
  Bool16 DrawValueOne = kFalse;  // the last DrawTile had value(1) = 1
  // Per other relative seat (1..3): 1 once its discards stay where they were shown.
  std::array<std::int16_t, 4> SeatDiscardPinned{};
  std::int16_t BlinkCount = 0;   // blinks left for the tile just laid into a discard row
  std::int16_t BlinkPrev = -1;   // MJ_Image the blink toggled last
  std::int16_t FlushX = 0, FlushY = 0;  // where the last flushed tile went
  std::int16_t BubbleSeat = 0;   // relative seat - 1 of the bubble shown last
  // The centre tile has been dealt with by a flush: a discard goes into its row once,
  // however many draws follow it.
  bool LastDiscardFlushed = true;
  // Wall positions whose tile has left the wall this hand: a position is never
  // taken twice, however many draws the server announces.
  std::array<bool, kWallSize> WallTaken{};
  // Tiles laid into each seat's discard row this hand, by relative seat.
  std::array<int, 4> RowDiscards{};

  // ---- New hand ----
  std::uint8_t DiceDoubling = 0;                // offset 18 of the last NewHand
  std::array<std::int16_t, 2> BreakDice{};      // value(0), value(1) of the last NewHand
  std::array<std::uint8_t, 2> HandStartBytes{};  // offsets 16, 17 of the last NewHand
  std::array<std::string, 4> InitialGold{};     // Cash(r) at the start of the hand
  std::array<std::int16_t, 2> TableRestoreValues{};  // value(0), value(1) of the last TableReset
  bool TableStarted = false;                    // a hand has started at this table
  // No hand has filled the seats since ResetSeats: a NewHand that finds this false
  // (its table reset was missed) clears the table itself.
  bool SeatsCleared = true;

  // ---- Dealing and restore ----
  std::array<std::int16_t, 12> OwnDealTiles{};
  std::int16_t RestoreCount = 0;       // wall positions taken by the SeatTiles series
  std::int16_t RestoreWallFront = 0;   // largest value(1) of the series
  std::int16_t RestoreWallBack = 0;    // smallest value(3) of the series
  std::array<std::uint8_t, 4> RestoredDiscards{};  // discards per relative seat
  std::int16_t IndicatorPosition = -1;
  Bool16 RestoreDone = kFalse;

  // ---- Claims (filled by the claim handling; cleared here) ----
  std::int16_t ClaimType = 0;               // value(0) of the last ClaimResult
  std::array<std::uint8_t, 3> MeldTiles{};  // its three tile codes; [2] the claimed or added tile
  std::int16_t HuCount = 0;                 // 胡 results this hand (cleared by the layout reset)
  // Relative seat of the hand's first 胡; -1 while nobody has won.
  std::int16_t WinnerSeat = -1;
  // Per relative seat, the kinds of its gangs in order: 3 concealed, 2 added.
  std::array<std::array<std::int16_t, 4>, 16> GangTops{};  // [entry][relative seat]
  std::array<int, 4> GangTopCount{};
  // Replacement tiles the other seats drew after their gangs, shown face down until
  // the player turns them over after the hand.
  struct ReplacementTile {
    std::int16_t image = -1;
    std::int16_t code = 0;
    std::uint8_t seat = 0;  // relative seat
  };
  std::array<ReplacementTile, 16> ReplacementTiles{};
  int ReplacementTileCount = 0;

  // ---- Showdown (filled by the showdown handler; cleared here) ----
  std::array<std::array<std::int16_t, 4>, kSlotCount> RevealedTiles{};  // [k][relative seat]
  // Entries of RevealedTiles filled per seat (a tile of code 0 counts as revealed too).
  std::array<int, 4> RevealedCount{};
  std::array<std::uint8_t, 5> PeekTiles{};
  std::uint8_t PeekCount = 0;
  std::array<std::int16_t, 5> PeekPositions{};
};

// A tile code of one of the four suits (honours 1..7, the others 1..9).
constexpr bool IsTileCode(int code) {
  const int suit = (code >> 4) & 0xF, rank = code & 0xF;
  if (code < 0 || code > 0xFF) return false;
  if (suit == 1) return rank >= 1 && rank <= 7;
  return (suit == 2 || suit == 4 || suit == 8) && rank >= 1 && rank <= 9;
}
inline constexpr int kRedCode = 0x15;  // 中

constexpr int SeatIndex(int mask) { return SeatIndexOfMask(mask); }
constexpr int SuitIndex(int code) { return SeatIndexOfMask((code >> 4) & 0xF); }
constexpr int Rank(int code) { return code & 0xF; }

// Relative position of a seat mask around the local player: 0 self, 1 left, 2 top, 3 right.
inline int RelSeat(const Table& t, int mask) {
  return (SeatIndex(t.custom[0].seat) - SeatIndex(mask) + 4) & 3;
}
// Seat mask of the seat at relative position r, seen from own seat index `own`.
constexpr std::uint8_t MaskAt(int own, int r) { return static_cast<std::uint8_t>(1 << ((own + 4 - r) % 4)); }

void WallStep(Table& t);
void BackStep(Table& t);

}  // namespace tavrel::round
