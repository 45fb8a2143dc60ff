#include "platform/scaled_platform.h"

#include <algorithm>
#include <cmath>

namespace tavrel::platform {

namespace {
constexpr std::int64_t kDayMs = 86400000;
}

// A timer of the inner platform whose interval is the scaled one, stopped while paused.
class ScaledTimer final : public Timer {
 public:
  explicit ScaledTimer(ScaledPlatform& p) : platform_(p), inner_(p.inner_.CreateTimer()) {
    inner_->onTick = [this] {
      if (onTick) onTick();
    };
    platform_.timers_.push_back(this);
    Apply();
  }
  ~ScaledTimer() override {
    auto& list = platform_.timers_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  void SetInterval(int ms) override {
    interval_ = ms;
    Apply();
  }
  int Interval() const override { return interval_; }
  void SetEnabled(bool on) override {
    enabled_ = on;
    Apply();
  }
  bool Enabled() const override { return enabled_; }

  void Apply() {
    const int scaled = std::max(1, platform_.Scaled(interval_));
    if (inner_->Interval() != scaled) inner_->SetInterval(scaled);
    const bool run = enabled_ && !platform_.paused_;
    if (inner_->Enabled() != run) inner_->SetEnabled(run);
  }

 private:
  ScaledPlatform& platform_;
  std::unique_ptr<Timer> inner_;
  int interval_ = 1000;
  bool enabled_ = false;
};

void ScaledAudio::SetSpeed(double speed) {
  const bool audible = speed <= kAudibleSpeed;
  if (audible == audible_) return;
  audible_ = audible;
  if (!audible)
    for (int channel = 0; channel < kChannels; ++channel) inner_.Stop(channel);
}

bool ScaledAudio::Play(int channel, const std::string& path, bool loop) {
  // Quiet, not failed: the sound module keeps its idea of what plays.
  if (!audible_) return true;
  return inner_.Play(channel, path, loop);
}

ScaledPlatform::ScaledPlatform(Platform& inner) : inner_(inner), audio_(inner.audio()) {
  baseMs_ = static_cast<std::int64_t>(std::llround(inner_.clock().SecondsOfDay() * 1000.0)) % kDayMs;
  innerAtBase_ = inner_.clock().NowMs();
  // The inner loop's turns are this platform's: the scheduler sets its timer there.
  inner_.onAboutToWait = [this] {
    if (onAboutToWait) onAboutToWait();
  };
}

ScaledPlatform::~ScaledPlatform() { inner_.onAboutToWait = nullptr; }

int ScaledPlatform::Scaled(int ms) const {
  if (ms <= 0) return ms;
  return static_cast<int>(std::max<long long>(1, std::llround(ms / speed_)));
}

void ScaledPlatform::Rebase() {
  baseMs_ = NowMs();
  innerAtBase_ = inner_.clock().NowMs();
}

void ScaledPlatform::ApplyToTimers() {
  for (ScaledTimer* t : timers_) t->Apply();
}

void ScaledPlatform::SetSpeed(double speed) {
  speed = std::clamp(speed, kMinSpeed, kMaxSpeed);
  if (speed == speed_) return;
  Rebase();
  speed_ = speed;
  audio_.SetSpeed(speed);
  ApplyToTimers();
}

void ScaledPlatform::SetPaused(bool paused) {
  if (paused == paused_) return;
  Rebase();
  paused_ = paused;
  ApplyToTimers();
}

void ScaledPlatform::SetTimeMs(std::int64_t ms) {
  baseMs_ = ms;
  innerAtBase_ = inner_.clock().NowMs();
}

std::unique_ptr<Timer> ScaledPlatform::CreateTimer() { return std::make_unique<ScaledTimer>(*this); }

std::int64_t ScaledPlatform::NowMs() const {
  if (paused_) return baseMs_;
  return baseMs_ + std::llround(static_cast<double>(inner_.clock().NowMs() - innerAtBase_) * speed_);
}

double ScaledPlatform::SecondsOfDay() const {
  const std::int64_t ms = NowMs() % kDayMs;
  return static_cast<double>(ms < 0 ? ms + kDayMs : ms) / 1000.0;
}

LocalTime ScaledPlatform::Now() const {
  const auto s = static_cast<int>(SecondsOfDay());
  return {s / 3600, s / 60 % 60, s % 60};
}

}  // namespace tavrel::platform
