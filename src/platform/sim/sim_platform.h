#pragma once
// Deterministic backend for tests: a virtual clock that only moves when the test
// (or a pumped wait) moves it, timers driven by that clock, a socket whose far end
// the test plays, and in-memory lobby windows, pictures and message boxes.
#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tavrel::platform::sim {

class SimPlatform;

class SimTimer final : public Timer {
 public:
  explicit SimTimer(SimPlatform& p);
  ~SimTimer() override;
  void SetInterval(int ms) override;
  int Interval() const override { return interval_; }
  void SetEnabled(bool on) override;
  bool Enabled() const override { return enabled_; }

 private:
  friend class SimPlatform;
  SimPlatform& platform_;
  int interval_ = 1000;
  bool enabled_ = false;
  std::int64_t due_ = 0;
};

class SimSocket final : public StreamSocket {
 public:
  explicit SimSocket(SimPlatform& p);
  ~SimSocket() override;
  void Connect() override;
  int State() const override { return state_; }
  void SendData(const std::uint8_t* data, std::size_t size) override;
  ByteVec GetData() override;
  void Close() override;

  // The far end, played by the test.
  bool acceptConnections = true;  // false: connection attempts fail
  int connectDelayMs = 0;
  std::vector<std::pair<std::string, int>> connectAttempts;
  ByteVec sent;                   // everything the client wrote, in order
  std::vector<ByteVec> sendCalls; // the same, one entry per SendData call
  void PeerSend(const ByteVec& bytes);  // delivered on the next pump, as one arrival
  void PeerSendNow(const ByteVec& bytes);  // delivered at once
  void PeerSendNow(const std::uint8_t* data, std::size_t size);
  void PeerClose();                // the far end closes; noticed on the next pump
  void DropConnection();           // the link dies: closed without a close event

 private:
  friend class SimPlatform;
  SimPlatform& platform_;
  int state_ = kSocketClosed;
  ByteVec incoming_;
  int generation_ = 0;
};

class SimClock final : public Clock {
 public:
  std::int64_t NowMs() const override { return now; }
  double SecondsOfDay() const override { return std::fmod(startSecondsOfDay + now / 1000.0, 86400.0); }
  LocalTime Now() const override;
  std::int64_t now = 0;
  double startSecondsOfDay = 12 * 3600;
};

class SimLobby final : public LobbyLink {
 public:
  bool RegisterWindow(const std::string& caption) override;
  bool FindWindow(const std::string& caption) override { return windows.count(caption) > 0; }
  bool PostMessage(const std::string& caption, int message, long wParam, long lParam) override;
  bool SendSysCommand(const std::string& caption, int command) override;

  struct Posted {
    std::string caption;
    int message;
    long wParam, lParam;
  };
  std::set<std::string> windows;  // captions of windows that exist
  std::vector<Posted> posted;     // messages posted to other windows
  std::vector<Posted> sysCommands;
  std::string ownCaption;
  std::vector<int> MessagesTo(const std::string& caption) const;
};

class SimPictures final : public PictureSource {
 public:
  bool Load(int id) override { return !missing.count(id) && id > 0; }
  // Only pictures the test has drawn into `drawn` have pixels.
  bool ReadPixels(int id, PixelMap& out) override;
  std::set<int> missing;
  std::map<int, PixelMap> drawn;
};

// Records what the client asks of the sound device.
class SimAudio final : public AudioDevice {
 public:
  bool Open() override { return available; }
  bool Play(int channel, const std::string& path, bool loop) override;
  bool Stop(int channel) override;
  bool SetVolume(int channel, int hundredthsOfDb) override;

  struct Played {
    int channel;
    std::string path;
    bool loop;
  };
  bool available = true;           // false: no device
  bool failOperations = false;     // Stop and SetVolume report a device error
  std::set<std::string> missing;   // files that cannot be played
  std::vector<Played> played;      // every sound started, in order
  std::vector<int> stops;          // channels stopped, in order
  std::map<int, int> volume;       // last volume per channel
  std::map<int, std::string> playing;  // what each channel plays now ("" after a stop)
  // Paths played on a channel, in order.
  std::vector<std::string> PathsOn(int channel) const;
};

class SimPlatform final : public Platform {
 public:
  SimPlatform();
  ~SimPlatform() override;

  Clock& clock() override { return clock_; }
  std::unique_ptr<Timer> CreateTimer() override;
  std::unique_ptr<StreamSocket> CreateSocket() override;
  LobbyLink& lobby() override { return lobby_; }
  PictureSource& pictures() override { return pictures_; }
  AudioDevice& audio() override { return audio_; }
  void PumpFor(int ms) override { Advance(ms); }
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs) override;
  void Sleep(int ms) override { clock_.now += ms; }
  ScreenSize Screen() const override { return screen; }
  BoxResult MessageBox(const std::string& text, const std::string& title, BoxButtons buttons) override;
  void OpenUrl(const std::string& url) override { openedUrls.push_back(url); }
  std::string ProgramFolder() const override { return programFolder; }
  void EndProgram(int exitCode) override;
  bool Ending() const override { return ended; }
  bool AcquireInstanceLock(const std::string& name) override;

  // Test controls.
  void Advance(std::int64_t ms);      // moves the clock, firing timers and posted events in time order
  void RunPending() { Advance(0); }   // delivers what is due now
  void Post(std::int64_t delayMs, std::function<void()> fn);
  std::int64_t Now() const { return clock_.now; }
  SimSocket* socket(std::size_t i = 0) { return i < sockets_.size() ? sockets_[i] : nullptr; }
  SimLobby& simLobby() { return lobby_; }
  SimPictures& simPictures() { return pictures_; }
  SimAudio& simAudio() { return audio_; }
  SimClock& simClock() { return clock_; }

  // Everything this platform holds (clock, posted events, the timers' and
  // sockets' state, lobby, sound device, boxes, test controls), to be put back by Rewind.
  // Timers and sockets made after the checkpoint are switched off and closed
  // by Rewind; their owners are expected to be gone by then (see
  // ClientContext::RestoreState, which is restored first).
  struct Checkpoint;
  std::shared_ptr<const Checkpoint> Save() const;
  void Rewind(const Checkpoint& saved);

  struct Box {
    std::string text, title;
    BoxButtons buttons;
  };
  std::vector<Box> boxes;
  std::deque<BoxResult> boxAnswers;  // answers for the next boxes; Ok when empty
  std::function<void(const Box&)> onBox;  // runs while the box is "open"
  std::vector<std::string> openedUrls;
  ScreenSize screen;
  std::string programFolder = "/tmp";
  bool ended = false;
  int exitCode = 0;
  std::set<std::string> heldInstanceLocks;  // locks held by "other" processes
  std::set<std::string> ownInstanceLocks;

 private:
  friend class SimTimer;
  friend class SimSocket;
  struct Event {
    std::int64_t at;
    std::uint64_t seq;
    std::function<void()> fn;
  };
  bool RunNextBefore(std::int64_t deadline);  // runs the earliest event due by deadline
  SimClock clock_;
  SimLobby lobby_;
  SimPictures pictures_;
  SimAudio audio_;
  std::vector<SimTimer*> timers_;
  std::vector<SimSocket*> sockets_;
  std::vector<Event> events_;
  std::uint64_t seq_ = 0;
};

}  // namespace tavrel::platform::sim
