#pragma once
// A platform whose time runs at a chosen speed, over another platform: the clock,
// the timers, the sleeps and the pumped waits all go `speed` times as fast, and
// stand still while paused. The replay of a recorded table runs the client on it,
// so that a table recorded in minutes is watched in seconds, its animations and
// countdowns keeping their proportions. The clock can be set (the replay shows the
// recorded time); everything else is the inner platform's.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/platform.h"

namespace tavrel::platform {

class ScaledTimer;

// The inner sound output, silent above kAudibleSpeed: at 4x and more one packet's
// voice would still be speaking over the next ones'.
class ScaledAudio final : public AudioDevice {
 public:
  static constexpr double kAudibleSpeed = 2;
  static constexpr int kChannels = 5;
  explicit ScaledAudio(AudioDevice& inner) : inner_(inner) {}
  // Above kAudibleSpeed every channel is stopped and new sounds are not started.
  void SetSpeed(double speed);
  bool Audible() const { return audible_; }

  bool Open() override { return inner_.Open(); }
  bool Play(int channel, const std::string& path, bool loop) override;
  bool Stop(int channel) override { return inner_.Stop(channel); }
  bool SetVolume(int channel, int hundredthsOfDb) override { return inner_.SetVolume(channel, hundredthsOfDb); }

 private:
  AudioDevice& inner_;
  bool audible_ = true;
};

class ScaledPlatform final : public Platform, private Clock {
 public:
  explicit ScaledPlatform(Platform& inner);
  ~ScaledPlatform() override;

  static constexpr double kMinSpeed = 0.25, kMaxSpeed = 16;
  // Clamped to kMinSpeed..kMaxSpeed.
  void SetSpeed(double speed);
  double Speed() const { return speed_; }
  void SetPaused(bool paused);
  bool Paused() const { return paused_; }
  // Sets the clock to `ms` milliseconds of the day; it runs on from there.
  void SetTimeMs(std::int64_t ms);

  Clock& clock() override { return *this; }
  std::unique_ptr<Timer> CreateTimer() override;
  std::unique_ptr<StreamSocket> CreateSocket() override { return inner_.CreateSocket(); }
  LobbyLink& lobby() override { return inner_.lobby(); }
  PictureSource& pictures() override { return inner_.pictures(); }
  AudioDevice& audio() override { return audio_; }
  void PumpFor(int ms) override { inner_.PumpFor(Scaled(ms)); }
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs) override {
    return inner_.PumpUntil(done, Scaled(timeoutMs));
  }
  void Sleep(int ms) override { inner_.Sleep(Scaled(ms)); }
  ScreenSize Screen() const override { return inner_.Screen(); }
  BoxResult MessageBox(const std::string& text, const std::string& title, BoxButtons buttons) override {
    return inner_.MessageBox(text, title, buttons);
  }
  void OpenUrl(const std::string& url) override { inner_.OpenUrl(url); }
  std::string ProgramFolder() const override { return inner_.ProgramFolder(); }
  void EndProgram(int exitCode) override { inner_.EndProgram(exitCode); }
  bool Ending() const override { return inner_.Ending(); }
  bool AcquireInstanceLock(const std::string& name) override { return inner_.AcquireInstanceLock(name); }

  // The clock: milliseconds of the scaled time (from the day's start, so NowMs and
  // the time of day agree).
  std::int64_t NowMs() const override;
  double SecondsOfDay() const override;
  LocalTime Now() const override;

 private:
  friend class ScaledTimer;
  int Scaled(int ms) const;
  void Rebase();
  void ApplyToTimers();

  Platform& inner_;
  ScaledAudio audio_;
  double speed_ = 1;
  bool paused_ = false;
  std::int64_t baseMs_ = 0;       // scaled time at the last change
  std::int64_t innerAtBase_ = 0;  // the inner clock then
  std::vector<ScaledTimer*> timers_;
};

}  // namespace tavrel::platform
