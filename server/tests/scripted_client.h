#pragma once
// A scripted table client on the shared codec: it answers the server the way the
// real client's player would (win when it may, take gangs, otherwise pass and throw
// a tile), and checks what it is told against the rules it can see.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "session/wire.h"
#include "tiles.h"

namespace tavrel::server::testing {

class ScriptedClient {
 public:
  explicit ScriptedClient(std::string name, std::string key = "");

  Packet LoginPacket() const;
  Packet ReconnectPacket() const;
  // Takes one packet from the server; returns the replies to send.
  std::vector<Packet> Handle(const Packet& p);

  // Rule breaks seen so far (empty when all was well).
  const std::vector<std::string>& Problems() const { return problems_; }
  int HandsSeen() const { return handsSeen_; }
  int WonHands() const { return wonHands_; }
  int DrawnHands() const { return drawnHands_; }
  int GoldOutNotices() const { return goldOuts_; }
  int OwnSeat() const { return ownSeat_; }
  int LoginResult() const { return loginResult_; }
  int ReconnectResult() const { return reconnectResult_; }
  bool TableClosed() const { return tableClosed_; }
  std::int64_t GoldSeenTotal() const { return totalsSum_; }
  std::uint32_t ReconnectNumber() const { return reconnectNumber_; }
  const std::vector<int>& Commands() const { return commands_; }  // every command received, in order
  // Stop answering (to let the server's time-out act).
  void SetSilent(bool silent) { silent_ = silent; }
  void SetContinueAfterHand(bool on) { continueAfterHand_ = on; }

 private:
  Packet Reply(int command, std::array<int, 4> values) const;
  void Problem(const std::string& what);
  void NewHand();
  void CountSeen(Tile t);
  void EndOfHandChecks();
  Tile ChooseDiscard() const;

  std::string name_;
  std::string key_;
  std::array<std::uint8_t, 2> token_{};
  std::array<std::string, 4> seatNames_;
  int seatNamesSeen_ = 0;
  int ownSeat_ = -1;
  int loginResult_ = -1;
  int reconnectResult_ = -1;
  bool tableClosed_ = false;
  std::uint32_t reconnectNumber_ = 0;
  bool silent_ = false;
  bool continueAfterHand_ = true;

  // the running hand as this seat sees it
  bool inHand_ = false;
  std::vector<Tile> own_;
  Tile lastDrawn_ = kNoTile;
  Tile wild_ = kNoTile;
  std::array<int, 4> concealedCount_{};
  std::array<int, kKinds> seen_{};  // tiles whose faces this seat has seen
  int positions_ = 0;                // wall positions handed out
  int handOvers_ = 0;
  int settlements_ = 0;
  std::array<std::int64_t, 4> handTotals_{};
  std::array<std::int64_t, 4> settled_{};
  bool won_ = false;
  std::int64_t totalsSum_ = 0;

  int handsSeen_ = 0;
  int wonHands_ = 0;
  int drawnHands_ = 0;
  int goldOuts_ = 0;
  std::vector<std::string> problems_;
  std::vector<int> commands_;
};

}  // namespace tavrel::server::testing
