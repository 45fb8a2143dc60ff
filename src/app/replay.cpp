#include "app/replay.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "app/client_context.h"
#include "platform/names.h"
#include "platform/scaled_platform.h"
#include "session/commands.h"
#include "session/debug_log.h"
#include "session/scheduler.h"
#include "session/startup.h"
#include "session/system_messages.h"
#include "session/transport.h"

namespace tavrel::app {

// The server's end of a replayed table: what the client sends goes nowhere, what the
// log recorded arrives.
class ReplaySocket final : public platform::StreamSocket {
 public:
  void Connect() override {
    state_ = platform::kSocketConnected;
    if (onConnect) onConnect();
  }
  int State() const override { return state_; }
  void SendData(const std::uint8_t*, std::size_t) override {}
  platform::ByteVec GetData() override { return std::exchange(incoming_, {}); }
  void Close() override { state_ = platform::kSocketClosed; }
  void Arrive(const Packet& p) {
    incoming_.insert(incoming_.end(), p.begin(), p.end());
    if (onDataArrival) onDataArrival(incoming_.size());
  }

 private:
  int state_ = platform::kSocketConnected;
  platform::ByteVec incoming_;
};

namespace {

constexpr std::int64_t kDayMs = session::kDayMs;
constexpr std::int64_t kHalfDayMs = kDayMs / 2;
// The feeder looks for due packets as often as the scheduler ticks.
constexpr int kFeedMs = session::kTickMs;
// Packets waiting in the receive ring at most: far below its size, so that no speed
// can overflow it.
constexpr int kQueuedPacketsMax = 16;
// Room for "Tavrel麻将 回放 12:00:00 ×16 暂停" in the title strip.
constexpr double kDrawnTitleWidth = 320;

std::string SpeedText(double speed) {
  if (speed == 0.25) return "¼";
  if (speed == 0.5) return "½";
  return std::to_string(static_cast<int>(std::lround(speed)));
}

}  // namespace

ReplayLog::~ReplayLog() {
  if (file_) std::fclose(file_);
}

bool ReplayLog::Open() {
  file_ = std::fopen(path_.c_str(), "rb");
  if (!file_) {
    if (onMessage) onMessage("cannot read the replay file " + path_ + ": " + std::strerror(errno));
    return false;
  }
  return true;
}

ReplayLog::Read ReplayLog::ReadLine(std::string& line) {
  line.clear();
  if (!file_) return Read::End;
  bool tooLong = false;
  int c;
  while ((c = getc_unlocked(file_)) != EOF) {
    if (c == '\n') return tooLong ? Read::TooLong : Read::Line;
    if (line.size() < kMaxLine)
      line.push_back(static_cast<char>(c));
    else
      tooLong = true;  // read through to its end, keeping nothing more
  }
  if (std::ferror(file_) && onMessage) onMessage("reading the replay file " + path_ + " failed: " + std::strerror(errno));
  // A last line without its line end still counts.
  if (tooLong) return Read::TooLong;
  return line.empty() ? Read::End : Read::Line;
}

void ReplayLog::Skip(const std::string& why) {
  ++skipped_;
  if (!onMessage) return;
  if (messages_ < kMaxMessages)
    onMessage("replay file " + path_ + " line " + std::to_string(line_) + ": " + why + "; skipped");
  else if (messages_ == kMaxMessages)
    onMessage("replay file " + path_ + ": more lines skipped, without further messages");
  ++messages_;
}

std::int64_t ReplayLog::Monotonic(long long msOfDay) {
  std::int64_t t = msOfDay + dayOffset_;
  // Past midnight the time of day starts again.
  if (lastMs_ >= 0 && t < lastMs_ - kHalfDayMs) {
    dayOffset_ += kDayMs;
    t += kDayMs;
  }
  if (lastMs_ >= 0 && t < lastMs_) t = lastMs_;
  return t;
}

std::optional<ReplayPacket> ReplayLog::Next() {
  std::string text;
  for (;;) {
    const Read r = ReadLine(text);
    if (r == Read::End) return std::nullopt;
    ++line_;
    if (r == Read::TooLong) {
      Skip("not a line of a debug log (longer than 64 KiB)");
      continue;
    }
    if (text.empty() || text == "\r") continue;
    const session::LogLine l = session::ParseLogLine(text);
    using Kind = session::LogLine::Kind;
    switch (l.kind) {
      case Kind::Other:
        continue;
      case Kind::StartUp: {
        const session::CommandLine cl = session::ParseCommandLine(l.text);
        if (cl.fieldCount >= 4 && !cl.fields[0].empty()) {
          userName_ = cl.fields[0];
          spectator_ = cl.spectator;
          spectatorId_ = cl.spectator ? std::strtod(cl.spectatorId.c_str(), nullptr) : 0;
        }
        continue;
      }
      case Kind::Old:
        // Every line of an older client's log is old: one message for them all.
        ++skipped_;
        if (!oldReported_ && onMessage)
          onMessage("replay file " + path_ + " line " + std::to_string(line_) + ": written by an older client (" +
                    l.text + "); its lines are skipped");
        oldReported_ = true;
        continue;
      case Kind::Damaged:
        Skip(l.text);
        continue;
      case Kind::Packet:
        break;
    }
    if (l.sent) {
      // The login names the player when the start-up line is missing.
      if (userName_.empty() && wire::U8(l.packet, off::kCmd) == cmd::kLogin)
        userName_ = wire::SingleByteText(l.packet, off::kLoginUser, off::kLoginUserBytes);
      continue;
    }
    ReplayPacket p;
    p.line = line_;
    p.bytes = l.packet;
    const std::int64_t t = Monotonic(l.ms);
    if (lastMs_ >= 0 && t - lastMs_ > kLongGapMs) shortened_ += t - lastMs_ - kGapReplayMs;
    lastMs_ = t;
    p.recordedMs = t;
    p.ms = t - shortened_;
    return p;
  }
}

Replay::Replay(ClientContext& ctx, platform::ScaledPlatform& time, ReplayOptions options)
    : ctx_(ctx), time_(time), options_(std::move(options)), log_(options_.path) {}

Replay::~Replay() {
  if (feeder_) feeder_->onTick = nullptr;
}

void Replay::Say(const std::string& text) {
  if (onMessage) onMessage(text);
}

bool ReplayAcceptsInput(const std::string& form, const platform::UiEvent& e) {
  using platform::UiEventType;
  switch (e.type) {
    case UiEventType::Click:
    case UiEventType::DblClick:
    case UiEventType::MouseDown:
    case UiEventType::MouseUp:
    case UiEventType::KeyDown:
    case UiEventType::KeyPress:
    case UiEventType::KeyUp:
      break;
    default:
      return true;  // moves, focus, resizes, closes: nothing played
  }
  if (form == frm::frmExit || form == frm::Hero || form == frm::VosSet || form == frm::Information ||
      form == frm::frmOtherExit)
    return true;
  if (form != frm::Main) return false;
  if (e.control == ctl::ImgClose.name || e.control == ctl::ImgMin.name || e.control == ctl::LbMove.name) return true;
  if (e.control == ctl::AnNiu.name) return e.index != 0 && e.index != 2;  // 0 sends chat, 2 is start/continue
  // F1 hides the window: still the viewer's.
  return e.key == 112;
}

bool Replay::Start() {
  ctx_.ui.acceptsInput = ReplayAcceptsInput;
  log_.onMessage = [this](const std::string& m) {
    Say(m);
    if (started_) session::ShowLine(ctx_, 0, "回放：" + m);
  };
  time_.SetSpeed(options_.speed);
  if (!log_.Open()) {
    ended_ = true;
    ctx_.platform.EndProgram(1);
    return false;
  }
  next_ = log_.Next();
  if (!next_) {
    Say("nothing to replay: " + options_.path + " holds no received packet (" + std::to_string(log_.Lines()) +
        " lines read)");
    ended_ = true;
    if (options_.exitAtEnd) {
      ctx_.platform.EndProgram(1);
      return false;
    }
  }
  if (next_) time_.SetTimeMs(next_->ms);

  auto socket = std::make_unique<ReplaySocket>();
  socket_ = socket.get();
  ClientContext* c = &ctx_;
  socket->onDataArrival = [c](std::size_t) { session::OnDataArrival(*c); };
  socket->onClose = [c] { c->Winsock1->Close(); };
  ctx_.Winsock1 = std::move(socket);
  session::StartOffline(ctx_, log_.UserName(), log_.Spectator(), log_.SpectatorId());
  started_ = true;
  if (log_.UserName().empty()) Say("the log does not name the recorded player; the seats cannot be placed around them");
  if (!next_) {
    session::ShowLine(ctx_, 0, "回放：文件中没有可回放的内容");
    ShowTitle();
    return false;
  }
  feeder_ = time_.CreateTimer();
  feeder_->SetInterval(kFeedMs);
  feeder_->onTick = [this] { Tick(); };
  feeder_->SetEnabled(true);
  ShowTitle();
  return true;
}

bool Replay::RingHasRoom() const {
  return ctx_.session.RecvRing.Queued() < kQueuedPacketsMax * static_cast<int>(kPacketSize);
}

void Replay::Feed(const ReplayPacket& p) {
  lastFed_ = p;
  ++fed_;
  // A login answer after the table was left: the lobby had asked for a fresh login,
  // which starts the scheduler again.
  if (wire::U8(p.bytes, off::kCmd) == cmd::kLoginResult && !ctx_.sched.bongWanted) session::SetTimerBong(ctx_, true);
  socket_->Arrive(p.bytes);
}

void Replay::Tick() {
  if (ended_) return;
  // The replay is the connection, and it is never lost: a long pause in the log is no silence of a server.
  ctx_.sched.LostCount = 0;
  while (next_ && next_->ms <= time_.NowMs() && RingHasRoom()) {
    Feed(*next_);
    next_ = log_.Next();
  }
  if (!next_) logDone_ = true;
  CheckEnd();
  ShowTitle();
}

void Replay::CheckEnd() {
  if (ended_ || ctx_.sched.inTick) return;
  // Done when every packet is handled; or when the table was left and the packets
  // behind it wait for a client that handles nothing more.
  const bool drained = ctx_.session.RecvRing.Queued() < static_cast<int>(kPacketSize);
  const bool stuck = !ctx_.sched.bongWanted && !drained && (logDone_ || !RingHasRoom());
  if (!(logDone_ && drained) && !stuck) return;
  ended_ = true;
  if (feeder_) feeder_->SetEnabled(false);
  if (stuck && next_)
    Say("the recorded table was left before line " + std::to_string(next_->line) + "; the rest of the log is not played");
  Say("replay ended: " + std::to_string(fed_) + " packets" +
      (log_.SkippedLines() ? ", " + std::to_string(log_.SkippedLines()) + " lines skipped" : std::string()));
  session::ShowLine(ctx_, 0, "回放结束");
  ShowTitle();
  if (options_.exitAtEnd) ctx_.platform.EndProgram(0);
}

void Replay::TogglePause() {
  if (ended_) return;
  time_.SetPaused(!time_.Paused());
  ShowTitle();
}

void Replay::Step() {
  if (ended_) return;
  time_.SetPaused(true);
  if (next_ && RingHasRoom()) {
    if (next_->ms > time_.NowMs()) time_.SetTimeMs(next_->ms);
    Feed(*next_);
    next_ = log_.Next();
    if (!next_) logDone_ = true;
  }
  if (!ctx_.sched.inTick) session::ReceiveNextPacket(ctx_);
  CheckEnd();
  ShowTitle();
}

void Replay::Faster() {
  time_.SetSpeed(time_.Speed() * 2);
  ShowTitle();
}

void Replay::Slower() {
  time_.SetSpeed(time_.Speed() / 2);
  ShowTitle();
}

void Replay::ShowTitle() {
  // The recorded time: that of the last packet, running on with the replay's clock.
  std::int64_t shown = lastFed_ ? lastFed_->recordedMs + std::max<std::int64_t>(0, time_.NowMs() - lastFed_->ms)
                                : (next_ ? next_->recordedMs : 0);
  shown %= kDayMs;
  std::string title = std::string(session::kAppTitle) + " 回放 " +
                      session::LogTime(static_cast<double>(shown) / 1000.0).substr(0, 8) + " ×" +
                      SpeedText(time_.Speed());
  if (ended_)
    title += " 结束";
  else if (time_.Paused())
    title += " 暂停";
  if (ctx_.main().Caption() != title) ctx_.main().SetCaption(title);
  // The table window is frameless: the title the viewer sees is the one drawn in its
  // strip, which the table's own layout may set back.
  platform::Control& drawn = ctx_.main().Get(ctl::lcaption);
  if (drawn.Caption() != title) drawn.SetCaption(title);
  if (drawn.Width() < kDrawnTitleWidth) drawn.Move(drawn.Left(), drawn.Top(), kDrawnTitleWidth, drawn.Height());
}

std::optional<ReplayOptions> ReplayArguments(int argc, const char* const* argv, std::string& error) {
  std::optional<ReplayOptions> options;
  bool wanted = false;
  ReplayOptions o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--replay") {
      wanted = true;
      if (i + 1 >= argc) {
        error = "--replay needs the file of a debug log";
        return std::nullopt;
      }
      o.path = argv[++i];
    } else if (a == "--speed") {
      if (i + 1 >= argc) {
        error = "--speed needs a number from 0.25 to 16";
        return std::nullopt;
      }
      const std::string n = argv[++i];
      char* end = nullptr;
      const double v = std::strtod(n.c_str(), &end);
      if (n.empty() || *end != '\0' || !(v >= platform::ScaledPlatform::kMinSpeed && v <= platform::ScaledPlatform::kMaxSpeed)) {
        error = "--speed " + n + ": a number from 0.25 to 16 is wanted";
        return std::nullopt;
      }
      o.speed = v;
    } else if (a == "--exit-at-end") {
      o.exitAtEnd = true;
    }
  }
  if (wanted) options = o;
  return options;
}

}  // namespace tavrel::app
