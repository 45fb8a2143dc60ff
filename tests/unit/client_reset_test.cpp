// One client reused for many runs (the fuzz targets do so): after
// RestoreState and Rewind, a run gives exactly what it gives on a fresh client,
// whatever ran before.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "session/lobby_protocol.h"
#include "session/packet_io.h"
#include "session_fixture.h"

namespace tavrel::testing {
namespace {

using Step = std::function<void(SessionFixture&)>;

struct RunCase {
  const char* name;
  std::vector<Step> steps;
};

Packet Named(int command, int seat, const std::string& name, std::array<int, 4> values = {0, 0, 0, 0}) {
  Packet p = ClientFixture::Make(command, seat, values, {0x12, 0x34});
  wire::PutSingleByteText(p, 16, name, 16);
  return p;
}

Step Receive(Packet p) {
  return [p](SessionFixture& f) {
    f.Feed(p);
    f.Ticks(2);
  };
}
Step Ticks(int n) {
  return [n](SessionFixture& f) { f.Ticks(n); };
}
// A recorded stream of the fuzz seeds (its first byte picks the fuzzer's chunk
// size): it arrives in pieces of 300 bytes, two ticks apart, then time runs on.
Step Recorded(const char* seed) {
  return [seed](SessionFixture& f) {
    std::ifstream in(std::string(TAVREL_SOURCE_DIR "/fuzz/corpus/fuzz_stream/") + seed, std::ios::binary);
    const platform::ByteVec bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1u) << seed;
    for (std::size_t at = 1; at < bytes.size(); at += 300) {
      f.Feed(platform::ByteVec(bytes.begin() + static_cast<long>(at),
                               bytes.begin() + static_cast<long>(std::min(bytes.size(), at + 300))));
      f.Ticks(2);
    }
    f.Ticks(400);
  };
}

Step SeatNames() {
  return [](SessionFixture& f) {
    const char* names[] = {"bob", "alice", "carol", "dave"};
    for (int i = 0; i < 4; ++i) {
      f.Feed(Named(3, 1 << i, names[i]));
      f.Ticks(2);
    }
  };
}

const std::vector<RunCase>& Cases() {
  static const std::vector<RunCase> cases = {
      {"login accepted, seats, details, ready marks and gold",
       {Receive(ClientFixture::Make(18, 0, {0, 0x1C, 0, 1}, {0x12, 0x34})), SeatNames(),
        Receive(Named(20, 2, "alice", {1, 2, 3, 4})), Receive(Named(23, 4, "carol")),
        Receive(ClientFixture::Make(92, 8, {0, 100, 0, 0}, {0x12, 0x34})), Ticks(120)}},
      {"login refused", {Receive(ClientFixture::Make(18, 0, {0, 0x1C, 0, 3})), Ticks(40)}},
      {"connection lost after the login: the reconnection starts",
       {Receive(ClientFixture::Make(18, 0, {0, 0x1C, 0, 1}, {0x12, 0x34})),
        [](SessionFixture& f) { f.sock().DropConnection(); }, Ticks(200)}},
      {"the lobby sends the player away", {[](SessionFixture& f) { session::OnLobbyMessage(f.ctx, 1024, 0, 0); }, Ticks(60)}},
      {"chat line and a burst of junk",
       {Receive(Named(19, 2, "hello")),
        [](SessionFixture& f) {
          platform::ByteVec junk;
          for (int i = 0; i < 2000; ++i) junk.push_back(static_cast<std::uint8_t>(i * 37 + 11));
          f.Feed(junk);
        },
        Ticks(100)}},
      {"received chat: lines, phrases, bubbles fading", {Recorded("chat.bin")}},
      {"two Enters in the chat line: one sent, the rate limit armed",
       {[](SessionFixture& f) {
          for (const char* text : {"hi", "again"}) {
            f.ctx.main().Get(ctl::Chat).SetText(text);
            f.ctx.main().Dispatch({platform::UiEventType::KeyPress, ctl::Chat.name, -1, 0, 0, 0, 0, 13});
          }
        },
        Ticks(4)}},
      {"a recorded hand", {Recorded("hand_end.bin")}},
      {"a rejoin", {Recorded("rejoin.bin")}},
      {"nothing at all", {Ticks(300)}},
  };
  return cases;
}

// Everything a run leaves that can be seen from outside the client.
std::string Observe(SessionFixture& f) {
  std::ostringstream o;
  auto& p = f.platform;
  o << "now " << p.Now() << " ended " << p.ended << " exit " << p.exitCode << "\n";
  for (const auto& b : p.boxes) o << "box " << b.title << ": " << b.text << "\n";
  for (const auto& m : p.simLobby().posted) o << "post " << m.caption << " " << m.message << " " << m.wParam << "\n";
  for (const auto& m : p.simLobby().sysCommands) o << "sys " << m.caption << " " << m.message << "\n";
  for (const auto& s : p.simAudio().played) o << "sound " << s.channel << " " << s.path << " " << s.loop << "\n";
  o << "socket " << f.sock().State() << " attempts " << f.sock().connectAttempts.size() << " sent";
  for (auto byte : f.sock().sent) o << ' ' << int(byte);
  o << "\ntimers " << f.ctx.TimerBong->Enabled() << f.ctx.TimerKeepAlive->Enabled() << "\n";
  const auto& sc = f.ctx.sched;
  o << "tasks " << sc.SendPending << sc.RecvPending << sc.LoginPending << sc.BlinkOn << sc.ConnWatch
    << sc.TurnClockOn << sc.ContinueClockOn << sc.BubblesShown << " lost " << sc.LostCount << "\n";
  for (const auto& [name, form] : f.ctx.ui.Forms()) {
    const auto& r = form->Bounds();
    o << "form " << name << " " << form->Visible() << form->Loaded() << " " << form->Caption() << " " << r.left << ","
      << r.top << "," << r.width << "," << r.height << " a" << form->Alpha() << " s" << int(form->State()) << " f"
      << form->FocusControl() << " rev " << form->Revision() << "\n";
    for (const auto& c : form->Controls()) {
      o << "  " << c->Name() << "(" << c->Index() << ") " << c->Visible() << c->Enabled() << " " << c->Left() << ","
        << c->Top() << "," << c->Width() << "," << c->Height() << " p" << c->Picture() << " z" << c->Z() << " '"
        << c->Caption() << "' " << c->ForeColor() << " " << c->tag << " [";
      for (const auto& item : c->Items()) o << item << "|";
      o << "] " << c->ListIndex() << "\n";
    }
  }
  return o.str();
}

// A client that has sent its login and waits for the answer: where every run starts.
struct ReusedClient {
  FreshClient f;
  std::shared_ptr<const ClientContext::SavedState> state;
  std::shared_ptr<const platform::sim::SimPlatform::Checkpoint> platform;

  ReusedClient() {
    f.StartAndLogIn();
    state = f.ctx.SaveState();
    platform = f.platform.Save();
  }
  std::string Run(const RunCase& c) {
    f.ctx.RestoreState(*state);
    f.platform.Rewind(*platform);
    for (const auto& step : c.steps) step(f);
    return Observe(f);
  }
};

std::string RunFresh(const RunCase& c) {
  FreshClient f;
  f.StartAndLogIn();
  for (const auto& step : c.steps) step(f);
  return Observe(f);
}

TEST(ClientReset, ARunGivesWhatItGivesOnAFreshClientWhateverRanBefore) {
  std::vector<std::string> fresh;
  for (const auto& c : Cases()) fresh.push_back(RunFresh(c));

  ReusedClient reused;
  // Every case after every other case (and after itself).
  for (std::size_t before = 0; before < Cases().size(); ++before)
    for (std::size_t i = 0; i < Cases().size(); ++i) {
      reused.Run(Cases()[before]);
      EXPECT_EQ(reused.Run(Cases()[i]), fresh[i]) << Cases()[i].name << " after " << Cases()[before].name;
    }
}

TEST(ClientReset, FormsControlsAndTimersMadeSinceTheSaveAreGone) {
  ReusedClient reused;
  const std::size_t forms = reused.f.ctx.ui.Forms().size();
  auto& main = reused.f.ctx.main();
  const std::size_t controls = main.Controls().size();
  int clicks = 0;
  main.Get("Extra", 3, platform::ControlKind::Label).SetCaption("x");
  main.On("Extra", platform::UiEventType::Click, [&clicks](const platform::UiEvent&) { ++clicks; });
  reused.f.ctx.ui.form("LateForm").Show();
  reused.Run(Cases()[2]);  // the reconnection makes its form
  reused.Run(Cases()[3]);  // the leave makes the idle lobby watch
  ASSERT_NE(reused.f.ctx.startup.idleLobbyWatch, nullptr);

  reused.Run(Cases().back());
  EXPECT_EQ(reused.f.ctx.ui.Forms().size(), forms);
  EXPECT_EQ(main.Controls().size(), controls);
  EXPECT_EQ(main.Find("Extra", 3), nullptr);
  main.Dispatch({platform::UiEventType::Click, "Extra"});
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(reused.f.ctx.startup.idleLobbyWatch, nullptr);
}

}  // namespace
}  // namespace tavrel::testing
