#include "options.h"

#include <charconv>
#include <chrono>
#include <string_view>

namespace tavrel::server {

namespace {

bool ToNumber(std::string_view text, std::int64_t lo, std::int64_t hi, std::int64_t& out) {
  std::int64_t v = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || ptr != text.data() + text.size() || v < lo || v > hi) return false;
  out = v;
  return true;
}

}  // namespace

std::string Usage() {
  return "usage: tavrel-server [options]\n"
         "  --port N              port on 127.0.0.1 (default 7700; 0 picks a free one)\n"
         "  --host ADDR           listening address (default 127.0.0.1)\n"
         "  --seed S              seed of shuffles, dice and tokens (default: from the clock)\n"
         "  --bots K              seats filled by bots, 0..4 (default 3)\n"
         "  --decision-seconds N  decision time sent with every offer (default 8)\n"
         "  --turn-clock N        turn clock of the login answer, 0..15 (default 8)\n"
         "  --timeout-limit N     time-outs in a row before a client hides itself (default 0: never)\n"
         "  --hands N             stop after N hands (default 0: never)\n"
         "  --key K               login key every player must give\n"
         "  --log FILE            packet and event log\n"
         "  --bot-delay MS        pause before a bot moves (default 700)\n"
         "  --grace MS            wait beyond a client's own countdown before moving for it (default 10000)\n"
         "  --gold N              starting gold of every player (default 10000)\n"
         "  --base N              coins per point, the room's base stake (default 10)\n"
         "  --ready-first-hand    start the first hand without waiting for the humans' Continue (tests)\n"
         "  --bot-leaves-after N  after hand N a bot leaves and another takes its seat (tests; default 0: never)\n"
         "  --bot-melds           bots claim 吃 and 碰 on each other's discards and gang whenever they can\n"
         "  --dice-doubling       the second throw's dice multiply the stakes\n"
         "  --wealth-rate N       every player's wealth-doubling rate (default 0: none)\n"
         "  --autoplay MS         tests: the human seats are played as bots, MS after each offer\n"
         "  --caption TEXT        tests: the winners' caption on the sheet (at most 20 bytes of GBK)\n"
         "  --props               answer the sample prop plug-in (bank, props); the winner of a hand gets a chest\n"
         "Prints 'listening on HOST:PORT' once it accepts connections.\n";
}

std::optional<ServerOptions> ParseOptions(int argc, char** argv, std::string& message, bool& helpOnly) {
  ServerOptions o;
  helpOnly = false;
  o.table.seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      helpOnly = true;
      message = Usage();
      return std::nullopt;
    }
    if (arg == "--ready-first-hand") {
      o.table.readyFirstHand = true;
      continue;
    }
    if (arg == "--bot-melds") {
      o.table.botMelds = true;
      continue;
    }
    if (arg == "--dice-doubling") {
      o.table.diceDoubling = true;
      continue;
    }
    if (arg == "--props") {
      o.table.props = true;
      continue;
    }
    if (i + 1 >= argc) {
      message = "missing value for " + std::string(arg);
      return std::nullopt;
    }
    const std::string_view value = argv[++i];
    std::int64_t n = 0;
    auto number = [&](std::int64_t lo, std::int64_t hi) {
      if (ToNumber(value, lo, hi, n)) return true;
      message = "bad value for " + std::string(arg) + ": " + std::string(value);
      return false;
    };
    if (arg == "--port") {
      if (!number(0, 65535)) return std::nullopt;
      o.port = static_cast<int>(n);
    } else if (arg == "--host") {
      o.host = std::string(value);
    } else if (arg == "--seed") {
      if (!number(0, INT64_MAX)) return std::nullopt;
      o.table.seed = static_cast<std::uint64_t>(n);
    } else if (arg == "--bots") {
      if (!number(0, 4)) return std::nullopt;
      o.table.bots = static_cast<int>(n);
    } else if (arg == "--decision-seconds") {
      if (!number(1, 255)) return std::nullopt;
      o.table.decisionSeconds = static_cast<int>(n);
    } else if (arg == "--turn-clock") {
      if (!number(0, 15)) return std::nullopt;
      o.table.turnClock = static_cast<int>(n);
    } else if (arg == "--timeout-limit") {
      if (!number(0, 255)) return std::nullopt;
      o.table.timeoutLimit = static_cast<int>(n);
    } else if (arg == "--hands") {
      if (!number(0, 1000000)) return std::nullopt;
      o.table.hands = static_cast<int>(n);
    } else if (arg == "--key") {
      o.table.key = std::string(value);
    } else if (arg == "--log") {
      o.logPath = std::string(value);
    } else if (arg == "--bot-delay") {
      if (!number(0, 60000)) return std::nullopt;
      o.table.botDelayMs = static_cast<int>(n);
    } else if (arg == "--grace") {
      if (!number(0, 600000)) return std::nullopt;
      o.table.graceMs = static_cast<int>(n);
    } else if (arg == "--gold") {
      if (!number(1, INT64_MAX / 4)) return std::nullopt;
      o.table.startGold = n;
    } else if (arg == "--bot-leaves-after") {
      if (!number(0, 1000000)) return std::nullopt;
      o.table.botLeavesAfter = static_cast<int>(n);
    } else if (arg == "--wealth-rate") {
      if (!number(0, 1000)) return std::nullopt;
      o.table.wealthRate = static_cast<int>(n);
    } else if (arg == "--caption") {
      o.table.winnerCaption = std::string(value);
    } else if (arg == "--autoplay") {
      if (!number(0, 60000)) return std::nullopt;
      o.table.autoplayMs = static_cast<int>(n);
    } else if (arg == "--base") {
      if (!number(1, 10000)) return std::nullopt;
      o.table.coinsPerPoint = static_cast<int>(n);
    } else {
      message = "unknown option " + std::string(arg) + "\n" + Usage();
      return std::nullopt;
    }
  }
  return o;
}

}  // namespace tavrel::server
