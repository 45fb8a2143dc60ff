#pragma once
// The sound device on Qt Multimedia: one audio sink per channel (0 shared, 1..4 the
// seats' voices), fed from wave files decoded on first use and kept in a cache.
// No output device (no sound server, as on a build machine) makes Open() false.
#include <QAudioDevice>
#include <QIODevice>
#include <QObject>
#include <array>
#include <memory>

#include "platform/platform.h"
#include "platform/wave_file.h"

class QAudioSink;

namespace tavrel::platform::qt {

// Hundredths of a decibel (0 full, -10000 silence) as the sink's linear volume.
double LinearVolume(int hundredthsOfDb);

// A decoded sound read once or round and round.
class PcmSource final : public QIODevice {
 public:
  PcmSource(std::shared_ptr<const WaveSound> sound, bool loop);
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;
  bool atEnd() const override;

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  std::shared_ptr<const WaveSound> sound_;
  bool loop_;
  qint64 position_ = 0;  // bytes
};

class QtAudio final : public QObject, public AudioDevice {
  Q_OBJECT
 public:
  QtAudio();
  ~QtAudio() override;
  bool Open() override;
  bool Play(int channel, const std::string& path, bool loop) override;
  bool Stop(int channel) override;
  bool SetVolume(int channel, int hundredthsOfDb) override;

  bool IsOpen() const { return open_; }
  // Whether a channel has a sound started and not yet finished or stopped.
  bool Playing(int channel) const;
  const WaveCache& Cache() const { return cache_; }

 private:
  struct Channel {
    std::unique_ptr<QAudioSink> sink;
    std::unique_ptr<PcmSource> source;
    double volume = 1.0;
    bool loop = false;
    int generation = 0;  // tells a finished sound from the one that replaced it
  };
  static constexpr int kChannels = 5;
  void Release(Channel& c);
  void Finished(int channel, int generation);

  bool open_ = false;
  QAudioDevice device_;
  std::array<Channel, kChannels> channels_;
  WaveCache cache_;
};

}  // namespace tavrel::platform::qt
