#include "platform/qt/qt_audio.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace tavrel::platform::qt {
namespace {

// What the sink still holds when its source runs dry is heard out before it is closed.
constexpr int kDrainMs = 600;

}  // namespace

double LinearVolume(int hundredthsOfDb) {
  if (hundredthsOfDb >= 0) return 1.0;
  if (hundredthsOfDb <= -10000) return 0.0;
  return std::pow(10.0, hundredthsOfDb / 2000.0);
}

PcmSource::PcmSource(std::shared_ptr<const WaveSound> sound, bool loop) : sound_(std::move(sound)), loop_(loop) {}

qint64 PcmSource::bytesAvailable() const {
  const auto size = static_cast<qint64>(sound_->Bytes());
  return (loop_ ? size : size - position_) + QIODevice::bytesAvailable();
}

bool PcmSource::atEnd() const { return !loop_ && position_ >= static_cast<qint64>(sound_->Bytes()); }

qint64 PcmSource::readData(char* data, qint64 maxSize) {
  const auto size = static_cast<qint64>(sound_->Bytes());
  const char* bytes = reinterpret_cast<const char*>(sound_->samples.data());
  qint64 written = 0;
  while (written < maxSize && size > 0) {
    if (position_ >= size) {
      if (!loop_) break;
      position_ = 0;
    }
    const qint64 n = std::min(maxSize - written, size - position_);
    std::memcpy(data + written, bytes + position_, static_cast<std::size_t>(n));
    written += n;
    position_ += n;
  }
  return written;
}

QtAudio::QtAudio() = default;

QtAudio::~QtAudio() {
  for (Channel& c : channels_) Release(c);
}

bool QtAudio::Open() {
  if (open_) return true;
  const QList<QAudioDevice> outputs = QMediaDevices::audioOutputs();
  if (outputs.isEmpty()) return false;
  device_ = QMediaDevices::defaultAudioOutput();
  if (device_.isNull()) device_ = outputs.first();
  open_ = !device_.isNull();
  return open_;
}

void QtAudio::Release(Channel& c) {
  if (c.sink) {
    c.sink->disconnect(this);
    c.sink->stop();
  }
  c.sink.reset();
  c.source.reset();
  ++c.generation;
}

bool QtAudio::Play(int channel, const std::string& path, bool loop) {
  if (!open_ || channel < 0 || channel >= kChannels) return false;
  // What the channel played ends first: a file that cannot be played leaves it silent.
  Channel& c = channels_[channel];
  Release(c);
  const WaveResult wave = cache_.Get(path);
  if (!wave.sound) return false;
  QAudioFormat format;
  format.setSampleRate(wave.sound->sampleRate);
  format.setChannelCount(wave.sound->channels);
  format.setSampleFormat(QAudioFormat::Int16);
  if (!device_.isFormatSupported(format)) return false;

  c.loop = loop;
  c.source = std::make_unique<PcmSource>(wave.sound, loop);
  c.source->open(QIODevice::ReadOnly);
  c.sink = std::make_unique<QAudioSink>(device_, format);
  c.sink->setVolume(c.volume);
  const int generation = c.generation;
  connect(c.sink.get(), &QAudioSink::stateChanged, this, [this, channel, generation](QAudio::State state) {
    // The source ran dry: close the stream once the rest has been heard, so that a
    // quiet table wakes nobody.
    if (state == QAudio::IdleState)
      QTimer::singleShot(kDrainMs, this, [this, channel, generation] { Finished(channel, generation); });
  });
  c.sink->start(c.source.get());
  const QAudio::Error error = c.sink->error();
  if (error == QAudio::OpenError || error == QAudio::FatalError) {
    Release(c);
    return false;
  }
  return true;
}

void QtAudio::Finished(int channel, int generation) {
  Channel& c = channels_[channel];
  if (c.generation != generation || !c.sink || c.loop) return;
  if (c.sink->state() != QAudio::IdleState || !c.source->atEnd()) return;
  Release(c);
}

bool QtAudio::Playing(int channel) const {
  if (channel < 0 || channel >= kChannels) return false;
  const Channel& c = channels_[channel];
  return c.sink && (c.sink->state() == QAudio::ActiveState || (c.loop && c.sink->state() != QAudio::StoppedState) ||
                    !c.source->atEnd());
}

bool QtAudio::Stop(int channel) {
  if (channel < 0 || channel >= kChannels) return false;
  Channel& c = channels_[channel];
  if (!c.sink) return true;
  const bool failed = c.sink->error() == QAudio::FatalError;
  // Stopped and rewound is as good as gone: a new Play starts from the beginning.
  Release(c);
  return !failed;
}

bool QtAudio::SetVolume(int channel, int hundredthsOfDb) {
  if (channel < 0 || channel >= kChannels) return false;
  Channel& c = channels_[channel];
  c.volume = LinearVolume(hundredthsOfDb);
  if (!c.sink) return true;
  c.sink->setVolume(c.volume);
  return c.sink->error() != QAudio::FatalError;
}

}  // namespace tavrel::platform::qt
