#pragma once
// A seated player in a hand on the sim backend, connected, with the table live:
// offers come in as ClaimOptions packets, the player acts through the window
// model's events (as the Qt backend reports them), and the packets the client
// writes to its socket are read back.
#include <gtest/gtest.h>

#include <vector>

#include "platform/names.h"
#include "round_fixture.h"
#include "session/commands.h"
#include "view/input_state.h"
#include "view/table_keys.h"

namespace tavrel::testing {

struct InputFixture : RoundFixture {
  InputFixture() { Ready(); }

  // A new client of this screen size, seated and live.
  void Rebuild(int width = 1280, int height = 1024) {
    Build(width, height);
    Ready();
  }
  void Ready() {
    c->Winsock1->RemoteHost = "127.0.0.1";
    c->Winsock1->RemotePort = 4000;
    c->Winsock1->Connect();
    platform.RunPending();
    c->session.TableActive = true;
    c->view.HandStarted[2] = true;
  }

  view::InputState& input() { return c->view.input; }

  // ClaimOptions for the own seat (or another seat's mask).
  static Packet OfferPacket(int seatMask, int options, int seconds) {
    Packet p = Make(cmd::kClaimOptions, seatMask, {options, 0, 0, 0});
    wire::PutU8(p, off::kOfferSeconds, static_cast<std::uint8_t>(seconds));
    return p;
  }
  void Offer(int options, int seconds = 8) { Receive(OfferPacket(Mask(0), options, seconds)); }

  // The own hand replaced by these codes (slot for slot from firstConcealed), the
  // pictures following; the count becomes the number of codes.
  void SetHand(const std::vector<int>& codes) {
    auto& own = seat(0);
    ASSERT_LE(codes.size(), static_cast<std::size_t>(own.concealedCount));
    for (std::size_t i = 0; i < codes.size(); ++i) own.tiles[own.firstConcealed + i].code = static_cast<std::int16_t>(codes[i]);
    for (int k = own.firstConcealed + static_cast<int>(codes.size()); k < own.firstConcealed + own.concealedCount; ++k) {
      Tile(own.tiles[k].imageIndex).SetVisible(false);
      own.tiles[k] = round::TileSlot{};
    }
    own.concealedCount = static_cast<std::int16_t>(codes.size());
  }

  int OwnImage(int n) { return seat(0).tiles[seat(0).firstConcealed + n].imageIndex; }
  int OwnCode(int n) { return seat(0).tiles[seat(0).firstConcealed + n].code; }
  int LastOwn() { return seat(0).concealedCount - 1; }

  // ---- Input, as the window reports it ----
  void Send(platform::UiEventType type, const platform::ControlName& control, int index = -1, int button = 0,
            double x = 0, double y = 0, int key = 0) {
    platform::UiEvent e;
    e.type = type;
    e.control = control.name;
    e.index = index;
    e.button = button;
    e.x = x;
    e.y = y;
    e.key = key;
    c->main().Dispatch(e);
  }
  void PressTile(int image, int button = platform::kLeftButton) {
    Send(platform::UiEventType::MouseDown, ctl::MJ_Image, image, button);
  }
  void PressOwn(int n, int button = platform::kLeftButton) { PressTile(OwnImage(n), button); }
  void ClickButton(int i) { Send(platform::UiEventType::Click, ctl::Operation, i, platform::kLeftButton); }
  void ClickGang(int n) { Send(platform::UiEventType::Click, ctl::Gang, n, platform::kLeftButton); }
  void RightClickTable() { Send(platform::UiEventType::MouseUp, ctl::Pic1, -1, platform::kRightButton, 500, 300); }
  void Key(int key) { Send(platform::UiEventType::KeyDown, ctl::Pic1, -1, 0, 0, 0, key); }
  void PointAtTile(int image) { Send(platform::UiEventType::MouseMove, ctl::MJ_Image, image); }
  void PointAtTable(double x, double y) { Send(platform::UiEventType::MouseMove, ctl::Pic1, -1, 0, x, y); }

  // ---- What went out ----
  // Runs n ticks of the 50 ms scheduler.
  void Ticks(int n) { platform.Advance(50LL * n); }
  // Lets the send task write everything queued (one packet a tick).
  void Flush() { Ticks(8); }
  std::vector<Packet> Sent(int command) {
    std::vector<Packet> out;
    const auto& s = sock().sent;
    for (std::size_t i = 0; i + kPacketSize <= s.size(); i += kPacketSize) {
      Packet p;
      std::copy(s.begin() + static_cast<long>(i), s.begin() + static_cast<long>(i + kPacketSize), p.begin());
      if (p[off::kCmd] == command) out.push_back(p);
    }
    return out;
  }
  static int Value(const Packet& p, int i) { return wire::I16BE(p, off::kValues + 2 * static_cast<std::size_t>(i)); }
  // value(0) of every ClaimReply, in order.
  std::vector<int> Replies() {
    std::vector<int> out;
    for (const Packet& p : Sent(cmd::kClaimReply)) out.push_back(Value(p, 0));
    return out;
  }
  // value(3) of every DiscardTile sent.
  std::vector<int> Discards() {
    std::vector<int> out;
    for (const Packet& p : Sent(cmd::kDiscardTile)) out.push_back(Value(p, 3));
    return out;
  }
  // The commands sent, in order, keep-alives left out.
  std::vector<int> Commands() {
    std::vector<int> out;
    const auto& s = sock().sent;
    for (std::size_t i = 0; i + kPacketSize <= s.size(); i += kPacketSize)
      if (s[i + off::kCmd] != cmd::kKeepAlive) out.push_back(s[i + off::kCmd]);
    return out;
  }
  platform::sim::SimSocket& sock() { return *platform.socket(0); }

  platform::Control& Button(int i) { return *Find(ctl::Operation, i); }
  bool ButtonsShown() {
    for (int i = 0; i < 5; ++i)
      if (Button(i).Visible()) return true;
    return false;
  }
  std::string Figure() { return Find(ctl::Number)->Caption(); }
  bool ClockShown() { return Find(ctl::Number)->Visible() && Find(ctl::Time_Img)->Visible(); }
};

}  // namespace tavrel::testing
