// Idle ticks: TimerBong sleeps through ticks with nothing to do, and every
// task still runs on the tick it would run on if every tick had run.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "session/dispatcher.h"
#include "session/packet_io.h"
#include "session/scheduler.h"
#include "session/scheduler_idle.h"
#include "session_fixture.h"

namespace tavrel::testing {
namespace {

// A logged-in client whose scheduler records when its tasks run.
struct Recorded : SessionFixture {
  std::ostringstream log;
  int ticks = 0;

  void TestBody() override {}
  explicit Recorded(bool everyTick) {
    LoggedIn();
    auto tick = ctx.TimerBong->onTick;
    ctx.TimerBong->onTick = [this, tick] {
      ++ticks;
      tick();
    };
    // A plug-in poll at the end of the tick gives every tick work: the
    // scheduler as it was before it slept.
    if (everyTick) ctx.sched.tickEnd.push_back([](ClientContext&) {});
    auto note = [this](const char* what) {
      return [this, what](ClientContext&) { log << platform.Now() << ' ' << what << '\n'; };
    };
    ctx.sched.blinkBody = note("blink");
    ctx.sched.bubblesBody = note("bubbles");
    ctx.sched.turnClockBody = note("turn clock");
    for (int c : {2, 5}) session::RegisterHandler(ctx, c, note(c == 2 ? "discard" : "draw"));
    ctx.hooks.closeTableSteps.push_back([this] { log << platform.Now() << " table shut down\n"; });
  }
  // What the run left: the record, the packets sent and when, the counters.
  std::string Outcome() {
    const auto& sc = ctx.sched;
    log << "sent " << sock().sendCalls.size() << " lost " << sc.LostCount << " counters " << sc.sendCounter
        << sc.recvCounter << sc.loginCounter << sc.blinkCounter << sc.watchCounter << sc.bubblesCounter << " flags "
        << sc.SendPending << sc.RecvPending << sc.BlinkOn << sc.BubblesShown << sc.ConnWatch << "\n";
    return log.str();
  }
};

using Script = std::function<void(Recorded&)>;

struct IdleCase {
  const char* name;
  Script script;
  const char* shows;  // what the run must show, so that it is not idle throughout
};

const std::vector<IdleCase>& Cases() {
  static const std::vector<IdleCase> cases = {
      {"flags set between events at odd times",
       [](Recorded& r) {
         r.platform.Advance(1234);
         r.ctx.sched.BlinkOn = true;
         r.platform.Advance(777);
         r.ctx.sched.BubblesShown = true;
         r.platform.Advance(3001);
         r.ctx.sched.BlinkOn = false;
         r.platform.Advance(2500);
       },
       "6000 bubbles"},
      {"packets arriving while asleep",
       [](Recorded& r) {
         r.platform.Advance(4321);
         r.Feed(r.Make(2, 1));
         r.platform.Advance(10);
         const Packet draw = r.Make(5, 1);
         r.sock().PeerSend(platform::ByteVec(draw.begin(), draw.end()));
         r.platform.Advance(2017);
         platform::ByteVec two;
         for (int c : {2, 5}) {
           const Packet p = r.Make(c, 1);
           two.insert(two.end(), p.begin(), p.end());
         }
         r.Feed(two);
         r.platform.Advance(999);
       },
       "6900 draw"},
      {"packets queued for sending while asleep",
       [](Recorded& r) {
         r.platform.Advance(3333);
         Info info;
         info.Cmd = 2;
         session::SendCommand(r.ctx, info);
         session::SendCommand(r.ctx, info);
         r.platform.Advance(1111);
       },
       "sent 3"},
      {"turn clock on a table",
       [](Recorded& r) {
         r.platform.Advance(555);
         r.ctx.session.TableActive = true;
         r.ctx.sched.TurnClockOn = true;
         r.platform.Advance(4200);
         r.ctx.sched.TurnClockOn = false;
         r.platform.Advance(1000);
       },
       "5050 turn clock"},
      {"silence while playing gives the table up",
       [](Recorded& r) {
         r.platform.Advance(1010);
         r.ctx.table.Playing = true;
         r.platform.Advance(301000);
       },
       "table shut down"},
      {"the connection drops while asleep",
       [](Recorded& r) {
         r.platform.Advance(2345);
         r.sock().PeerClose();
         r.platform.Advance(400);
       },
       "flags 01000"},
  };
  return cases;
}

TEST(SchedulerIdle, TasksRunOnTheSameTicksAsWhenEveryTickRuns) {
  for (const auto& c : Cases()) {
    Recorded every(true), sleeping(false);
    c.script(every);
    c.script(sleeping);
    const std::string outcome = every.Outcome();
    EXPECT_EQ(sleeping.Outcome(), outcome) << c.name;
    EXPECT_NE(outcome.find(c.shows), std::string::npos) << c.name << ":\n" << outcome;
    EXPECT_LT(sleeping.ticks, every.ticks) << c.name;
  }
}

// The round flow's own task bodies (blink, clocks, bubbles) through a recorded
// hand of the fuzz seeds: the same packets and the same table, asleep or not.
std::string PlayRecorded(const char* seed, bool everyTick) {
  FreshClient f;
  f.StartAndLogIn();
  if (everyTick) f.ctx.sched.tickEnd.push_back([](ClientContext&) {});
  std::ifstream in(std::string(TAVREL_SOURCE_DIR "/fuzz/corpus/fuzz_stream/") + seed, std::ios::binary);
  const platform::ByteVec bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_GT(bytes.size(), 1u) << seed;
  for (std::size_t at = 1; at < bytes.size(); at += 300) {
    f.Feed(platform::ByteVec(bytes.begin() + static_cast<long>(at),
                             bytes.begin() + static_cast<long>(std::min(bytes.size(), at + 300))));
    f.platform.Advance(137);
  }
  f.platform.Advance(30000);
  std::ostringstream o;
  for (const auto& call : f.sock().sendCalls) {
    for (auto b : call) o << ' ' << int(b);
    o << '\n';
  }
  int shown = 0;
  for (const auto& c : f.ctx.main().Controls()) shown += c->Visible() && c->Picture() != 0;
  EXPECT_GT(shown, 80) << seed << ": the hand is on the table";
  for (const auto& c : f.ctx.main().Controls())
    o << c->Name() << '(' << c->Index() << ") " << c->Visible() << ' ' << c->Left() << ',' << c->Top() << " p"
      << c->Picture() << " '" << c->Caption() << "'\n";
  return o.str();
}

TEST(SchedulerIdle, ARecordedHandPlaysTheSameAsleepOrNot) {
  for (const char* seed : {"hand_start.bin", "hand_end.bin", "rejoin.bin"})
    EXPECT_EQ(PlayRecorded(seed, false), PlayRecorded(seed, true)) << seed;
}

TEST(SchedulerIdle, AnIdleLoggedInClientWakesAtMostOncePerSecond) {
  Recorded r(false);
  r.platform.Advance(1000);  // the login's last packets go out
  r.ticks = 0;
  r.platform.Advance(60000);
  EXPECT_LE(r.ticks, 60) << "20 a second when every tick runs";
  r.ctx.TimerKeepAlive->SetEnabled(false);
  r.ctx.sched.BlinkOn = true;  // a blinking discard: one tick in eight has work
  r.ticks = 0;
  r.platform.Advance(8000);
  EXPECT_EQ(r.ticks, 20);
}

TEST(SchedulerIdle, CounterArithmeticMatchesTickByTick) {
  for (int period : {1, 2, 4, 8, 40})
    for (int start = 0; start <= period + 1; ++start)
      for (int n = 0; n <= 3 * period + 2; ++n) {
        int counter = start, reached = 0;
        for (int t = 0; t < n; ++t)
          if (++counter >= period) {
            ++reached;
            counter = 0;
          }
        EXPECT_EQ(session::CounterAfter(start, period, n), counter) << period << ' ' << start << ' ' << n;
        EXPECT_EQ(session::PeriodsReached(start, period, n), reached) << period << ' ' << start << ' ' << n;
      }
}

}  // namespace
}  // namespace tavrel::testing
