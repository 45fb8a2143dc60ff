#include "platform/sim/sim_platform.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tavrel::platform::sim {

SimTimer::SimTimer(SimPlatform& p) : platform_(p) { platform_.timers_.push_back(this); }
SimTimer::~SimTimer() {
  auto& v = platform_.timers_;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
}
void SimTimer::SetInterval(int ms) {
  interval_ = std::max(1, ms);
  if (enabled_) due_ = platform_.Now() + interval_;
}
void SimTimer::SetEnabled(bool on) {
  if (on && !enabled_) due_ = platform_.Now() + interval_;
  enabled_ = on;
}

bool SimPictures::ReadPixels(int id, PixelMap& out) {
  auto it = drawn.find(id);
  const bool ok = it != drawn.end() && Load(id);
  out = ok ? it->second : PixelMap{};
  return ok;
}

SimSocket::SimSocket(SimPlatform& p) : platform_(p) { platform_.sockets_.push_back(this); }
SimSocket::~SimSocket() {
  auto& v = platform_.sockets_;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

void SimSocket::Connect() {
  ++generation_;
  incoming_.clear();
  connectAttempts.emplace_back(RemoteHost, RemotePort);
  state_ = kSocketConnecting;
  const int gen = generation_;
  platform_.Post(connectDelayMs, [this, gen] {
    if (gen != generation_ || state_ != kSocketConnecting) return;
    if (acceptConnections) {
      state_ = kSocketConnected;
      if (onConnect) onConnect();
    } else {
      state_ = kSocketError;
      if (onError) onError("connection refused");
    }
  });
}

void SimSocket::SendData(const std::uint8_t* data, std::size_t size) {
  if (state_ != kSocketConnected) return;
  sent.insert(sent.end(), data, data + size);
  sendCalls.emplace_back(data, data + size);
}

ByteVec SimSocket::GetData() {
  ByteVec out(incoming_.begin(), incoming_.end());
  incoming_.clear();  // keeps its room for the next arrival
  return out;
}

void SimSocket::Close() {
  ++generation_;
  state_ = kSocketClosed;
  incoming_.clear();
}

void SimSocket::PeerSend(const ByteVec& bytes) {
  const int gen = generation_;
  platform_.Post(0, [this, gen, bytes] {
    if (gen == generation_ && state_ == kSocketConnected) PeerSendNow(bytes);
  });
}

void SimSocket::PeerSendNow(const ByteVec& bytes) { PeerSendNow(bytes.data(), bytes.size()); }

void SimSocket::PeerSendNow(const std::uint8_t* data, std::size_t size) {
  if (state_ != kSocketConnected) return;
  const std::size_t had = incoming_.size();
  incoming_.resize(had + size);
  if (size > 0) std::memcpy(incoming_.data() + had, data, size);
  if (onDataArrival) onDataArrival(incoming_.size());
}

void SimSocket::PeerClose() {
  const int gen = generation_;
  platform_.Post(0, [this, gen] {
    if (gen != generation_ || state_ != kSocketConnected) return;
    state_ = kSocketClosed;
    if (onClose) onClose();
  });
}

void SimSocket::DropConnection() {
  ++generation_;
  state_ = kSocketClosed;
}

LocalTime SimClock::Now() const {
  int s = static_cast<int>(SecondsOfDay());
  return {s / 3600, s / 60 % 60, s % 60};
}

bool SimLobby::RegisterWindow(const std::string& caption) {
  ownCaption = caption;
  return true;
}

bool SimLobby::PostMessage(const std::string& caption, int message, long wParam, long lParam) {
  if (!windows.count(caption)) return false;
  posted.push_back({caption, message, wParam, lParam});
  return true;
}

bool SimLobby::SendSysCommand(const std::string& caption, int command) {
  if (!windows.count(caption)) return false;
  sysCommands.push_back({caption, command, 0, 0});
  return true;
}

std::vector<int> SimLobby::MessagesTo(const std::string& caption) const {
  std::vector<int> out;
  for (const auto& p : posted)
    if (p.caption == caption) out.push_back(p.message);
  return out;
}

bool SimAudio::Play(int channel, const std::string& path, bool loop) {
  if (!available || missing.count(path)) {
    playing[channel].clear();
    return false;
  }
  played.push_back({channel, path, loop});
  playing[channel] = path;
  return true;
}

bool SimAudio::Stop(int channel) {
  if (failOperations) return false;
  stops.push_back(channel);
  playing[channel].clear();
  return true;
}

bool SimAudio::SetVolume(int channel, int hundredthsOfDb) {
  if (failOperations) return false;
  volume[channel] = hundredthsOfDb;
  return true;
}

std::vector<std::string> SimAudio::PathsOn(int channel) const {
  std::vector<std::string> out;
  for (const auto& p : played)
    if (p.channel == channel) out.push_back(p.path);
  return out;
}

SimPlatform::SimPlatform() = default;
SimPlatform::~SimPlatform() {
  for (SimTimer* t : timers_) t->enabled_ = false;
}

std::unique_ptr<Timer> SimPlatform::CreateTimer() { return std::make_unique<SimTimer>(*this); }
std::unique_ptr<StreamSocket> SimPlatform::CreateSocket() { return std::make_unique<SimSocket>(*this); }

void SimPlatform::Post(std::int64_t delayMs, std::function<void()> fn) {
  events_.push_back({clock_.now + std::max<std::int64_t>(0, delayMs), seq_++, std::move(fn)});
}

bool SimPlatform::RunNextBefore(std::int64_t deadline) {
  if (ended) return false;
  // Here the real event loop would wait for the next event.
  if (onAboutToWait) onAboutToWait();
  if (ended) return false;
  // Earliest of: posted events, due timers. Posted events win ties (they were queued first).
  std::int64_t best = std::numeric_limits<std::int64_t>::max();
  int eventIdx = -1;
  for (std::size_t i = 0; i < events_.size(); ++i) {
    if (events_[i].at < best || (events_[i].at == best && eventIdx >= 0 && events_[i].seq < events_[eventIdx].seq)) {
      best = events_[i].at;
      eventIdx = static_cast<int>(i);
    }
  }
  SimTimer* timer = nullptr;
  for (SimTimer* t : timers_) {
    if (t->enabled_ && t->due_ < best) {
      best = t->due_;
      timer = t;
      eventIdx = -1;
    }
  }
  if (best > deadline) return false;
  clock_.now = std::max(clock_.now, best);
  if (timer) {
    timer->due_ = std::max(timer->due_ + timer->interval_, clock_.now);
    if (timer->due_ == clock_.now) timer->due_ += timer->interval_;
    if (timer->onTick) timer->onTick();
  } else {
    auto fn = std::move(events_[eventIdx].fn);
    events_.erase(events_.begin() + eventIdx);
    if (fn) fn();
  }
  return true;
}

void SimPlatform::Advance(std::int64_t ms) {
  const std::int64_t deadline = clock_.now + std::max<std::int64_t>(0, ms);
  while (!ended && RunNextBefore(deadline)) {
  }
  if (clock_.now < deadline) clock_.now = deadline;
  // The caller goes on at the deadline as after a turn of the loop.
  if (!ended && onAboutToWait) onAboutToWait();
}

bool SimPlatform::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const std::int64_t deadline = clock_.now + std::max(0, timeoutMs);
  while (!ended) {
    if (done()) return true;
    if (!RunNextBefore(deadline)) break;
  }
  if (!ended && clock_.now < deadline) clock_.now = deadline;
  if (!ended && onAboutToWait) onAboutToWait();
  return done();
}

BoxResult SimPlatform::MessageBox(const std::string& text, const std::string& title, BoxButtons buttons) {
  boxes.push_back({text, title, buttons});
  if (onBox) onBox(boxes.back());
  if (boxAnswers.empty()) return buttons == BoxButtons::YesNo ? BoxResult::Yes : BoxResult::Ok;
  BoxResult r = boxAnswers.front();
  boxAnswers.pop_front();
  return r;
}

void SimPlatform::EndProgram(int code) {
  if (ended) return;
  ended = true;
  exitCode = code;
}

struct SimPlatform::Checkpoint {
  struct TimerState {
    SimTimer* timer;
    int interval;
    bool enabled;
    std::int64_t due;
  };
  struct SocketState {
    SimSocket* socket;
    std::string remoteHost;
    int remotePort;
    bool acceptConnections;
    int connectDelayMs;
    std::vector<std::pair<std::string, int>> connectAttempts;
    ByteVec sent;
    std::vector<ByteVec> sendCalls;
    int state;
    ByteVec incoming;
    int generation;
  };
  SimClock clock;
  SimLobby lobby;
  SimPictures pictures;
  SimAudio audio;
  std::vector<Event> events;
  std::uint64_t seq;
  std::vector<TimerState> timers;
  std::vector<SocketState> sockets;
  std::vector<Box> boxes;
  std::deque<BoxResult> boxAnswers;
  std::function<void(const Box&)> onBox;
  std::vector<std::string> openedUrls;
  ScreenSize screen;
  std::string programFolder;
  bool ended;
  int exitCode;
  std::set<std::string> heldInstanceLocks, ownInstanceLocks;
};

std::shared_ptr<const SimPlatform::Checkpoint> SimPlatform::Save() const {
  auto c = std::make_shared<Checkpoint>(Checkpoint{clock_, lobby_, pictures_, audio_, events_, seq_, {}, {}, boxes,
                                                   boxAnswers, onBox, openedUrls, screen, programFolder, ended,
                                                   exitCode, heldInstanceLocks, ownInstanceLocks});
  for (SimTimer* t : timers_) c->timers.push_back({t, t->interval_, t->enabled_, t->due_});
  for (SimSocket* k : sockets_)
    c->sockets.push_back({k, k->RemoteHost, k->RemotePort, k->acceptConnections, k->connectDelayMs,
                          k->connectAttempts, k->sent, k->sendCalls, k->state_, k->incoming_, k->generation_});
  return c;
}

void SimPlatform::Rewind(const Checkpoint& c) {
  clock_ = c.clock;
  lobby_ = c.lobby;
  pictures_ = c.pictures;
  audio_ = c.audio;
  events_ = c.events;
  seq_ = c.seq;
  for (SimTimer* t : timers_) t->enabled_ = false;
  for (const auto& s : c.timers) {
    if (std::find(timers_.begin(), timers_.end(), s.timer) == timers_.end()) continue;
    s.timer->interval_ = s.interval;
    s.timer->enabled_ = s.enabled;
    s.timer->due_ = s.due;
  }
  for (SimSocket* k : sockets_) {
    ++k->generation_;
    k->state_ = kSocketClosed;
  }
  for (const auto& s : c.sockets) {
    if (std::find(sockets_.begin(), sockets_.end(), s.socket) == sockets_.end()) continue;
    SimSocket& k = *s.socket;
    k.RemoteHost = s.remoteHost;
    k.RemotePort = s.remotePort;
    k.acceptConnections = s.acceptConnections;
    k.connectDelayMs = s.connectDelayMs;
    k.connectAttempts = s.connectAttempts;
    k.sent = s.sent;
    k.sendCalls = s.sendCalls;
    k.state_ = s.state;
    k.incoming_ = s.incoming;
    k.generation_ = s.generation;
  }
  boxes = c.boxes;
  boxAnswers = c.boxAnswers;
  onBox = c.onBox;
  openedUrls = c.openedUrls;
  screen = c.screen;
  programFolder = c.programFolder;
  ended = c.ended;
  exitCode = c.exitCode;
  heldInstanceLocks = c.heldInstanceLocks;
  ownInstanceLocks = c.ownInstanceLocks;
}

bool SimPlatform::AcquireInstanceLock(const std::string& name) {
  if (heldInstanceLocks.count(name)) return false;
  ownInstanceLocks.insert(name);
  return true;
}

}  // namespace tavrel::platform::sim
