#pragma once
// The replay of a recorded table: the received packets of a debug log
// (TAVREL_DEBUG_LOG) fed at their recorded times, through a socket that sends
// nowhere, into the same receive path and handlers as a live table. The log is read
// a line at a time, so a log of any size plays in little memory; lines that cannot
// be replayed are skipped with a message naming them.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "session/wire.h"

namespace tavrel {
struct ClientContext;
namespace platform {
struct UiEvent;
class ScaledPlatform;
class Timer;
}  // namespace platform
}  // namespace tavrel

namespace tavrel::app {

class ReplaySocket;

struct ReplayPacket {
  std::int64_t ms = 0;          // when to play it: the recorded time less the long pauses taken out
  std::int64_t recordedMs = 0;  // recorded time, milliseconds from the first recorded day's start
  long line = 0;
  Packet bytes{};
};

// The log, read forwards.
class ReplayLog {
 public:
  // Lines longer than this are not lines of the log (a binary file, say): skipped.
  static constexpr std::size_t kMaxLine = 64 * 1024;
  // Messages for skipped lines stop after this many; the rest are only counted.
  static constexpr int kMaxMessages = 10;
  // A pause longer than this between two packets (a second run appended to the log, a
  // table left standing) is shortened to kGapReplayMs.
  static constexpr std::int64_t kLongGapMs = 60000, kGapReplayMs = 1000;

  explicit ReplayLog(std::string path) : path_(std::move(path)) {}
  ~ReplayLog();
  ReplayLog(const ReplayLog&) = delete;
  ReplayLog& operator=(const ReplayLog&) = delete;

  // False when the file cannot be read; `onMessage` has said why.
  bool Open();
  // The next received packet; none at the end of the file.
  std::optional<ReplayPacket> Next();

  // The recorded player, from the start-up line or the login sent (empty: not found).
  const std::string& UserName() const { return userName_; }
  bool Spectator() const { return spectator_; }
  double SpectatorId() const { return spectatorId_; }
  long SkippedLines() const { return skipped_; }
  long Lines() const { return line_; }

  std::function<void(const std::string&)> onMessage;

 private:
  enum class Read { Line, TooLong, End };
  Read ReadLine(std::string& line);
  void Skip(const std::string& why);
  std::int64_t Monotonic(long long msOfDay);

  std::string path_;
  std::FILE* file_ = nullptr;
  long line_ = 0;
  long skipped_ = 0;
  int messages_ = 0;
  bool oldReported_ = false;
  std::string userName_;
  bool spectator_ = false;
  double spectatorId_ = 0;
  std::int64_t dayOffset_ = 0;
  std::int64_t lastMs_ = -1;     // recorded, monotonic
  std::int64_t shortened_ = 0;   // taken out of long gaps
};

struct ReplayOptions {
  std::string path;
  double speed = 1;
  bool exitAtEnd = false;
};

// Plays a log into a client context built on a ScaledPlatform: the platform's clock
// is the recorded time, and its speed the replay's.
class Replay {
 public:
  Replay(ClientContext& ctx, platform::ScaledPlatform& time, ReplayOptions options);
  ~Replay();

  // Opens the log and starts the offline table. False when there is nothing to play:
  // the file cannot be read or holds no packet (the program has been ended with 1
  // under --exit-at-end).
  bool Start();

  void TogglePause();
  // While paused: the next packet at once, handled before this returns.
  void Step();
  void Faster();  // doubles the speed, up to 16x
  void Slower();  // halves it, down to 1/4x
  bool Ended() const { return ended_; }
  long PacketsFed() const { return fed_; }

  // Messages for the person watching (stderr in the program).
  std::function<void(const std::string&)> onMessage;

 private:
  void Tick();
  void Feed(const ReplayPacket& p);
  bool RingHasRoom() const;
  void CheckEnd();
  void Say(const std::string& text);
  void ShowTitle();

  ClientContext& ctx_;
  platform::ScaledPlatform& time_;
  ReplayOptions options_;
  ReplayLog log_;
  ReplaySocket* socket_ = nullptr;
  std::unique_ptr<platform::Timer> feeder_;
  std::optional<ReplayPacket> next_;
  std::optional<ReplayPacket> lastFed_;
  bool started_ = false;
  long fed_ = 0;
  bool logDone_ = false;
  bool ended_ = false;
};

// Input during a replay: the table is watched, not played. Looking around stays
// (pointer moves, the title buttons, chat window, settings, results, history, rules,
// the exit dialog, the player card); whatever would be a move or a message at the
// table (tiles, offers, start/continue, chat and phrases, the sheet's buttons, the
// bank) is dropped.
bool ReplayAcceptsInput(const std::string& form, const platform::UiEvent& e);

// "--replay FILE [--speed N] [--exit-at-end]" among the arguments; none without --replay.
// `error` is set for a usage fault (a missing file name, a speed that is not a number).
std::optional<ReplayOptions> ReplayArguments(int argc, const char* const* argv, std::string& error);

}  // namespace tavrel::app
