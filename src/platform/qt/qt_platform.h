#pragma once
// The real backend: Qt's event loop, QTcpSocket, QTimer, QMessageBox.
#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <memory>
#include <vector>

#include "platform/platform.h"

class QEventLoop;
class QMessageBox;

namespace tavrel::platform::qt {

class QtTimer final : public QObject, public Timer {
  Q_OBJECT
 public:
  QtTimer();
  void SetInterval(int ms) override { timer_.setInterval(ms); }
  int Interval() const override { return timer_.interval(); }
  void SetEnabled(bool on) override;
  bool Enabled() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
};

class QtSocket final : public QObject, public StreamSocket {
  Q_OBJECT
 public:
  QtSocket();
  ~QtSocket() override;
  void Connect() override;
  int State() const override;
  void SendData(const std::uint8_t* data, std::size_t size) override;
  ByteVec GetData() override;
  void Close() override;

 private:
  QTcpSocket socket_;
  bool failed_ = false;
  bool closing_ = false;
};

class QtClock final : public Clock {
 public:
  QtClock();
  std::int64_t NowMs() const override;
  double SecondsOfDay() const override;
  LocalTime Now() const override;

 private:
  QElapsedTimer sinceStart_;  // monotonic: a change of the wall clock does not move it
};

// A lobby link that finds no window; the real one replaces it.
class NoLobby final : public LobbyLink {
 public:
  bool RegisterWindow(const std::string&) override { return true; }
  bool FindWindow(const std::string&) override { return false; }
  bool PostMessage(const std::string&, int, long, long) override { return false; }
  bool SendSysCommand(const std::string&, int) override { return false; }
};

class NoPictures final : public PictureSource {
 public:
  bool Load(int) override { return false; }
};

// No sound device until the audio backend is set; the table goes on silently.
class NoAudio final : public AudioDevice {
 public:
  bool Open() override { return false; }
  bool Play(int, const std::string&, bool) override { return false; }
  bool Stop(int) override { return false; }
  bool SetVolume(int, int) override { return false; }
};

class QtPlatform final : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;

  Clock& clock() override { return clock_; }
  std::unique_ptr<Timer> CreateTimer() override;
  std::unique_ptr<StreamSocket> CreateSocket() override { return std::make_unique<QtSocket>(); }
  LobbyLink& lobby() override { return *lobby_; }
  PictureSource& pictures() override { return *pictures_; }
  AudioDevice& audio() override { return *audio_; }
  void PumpFor(int ms) override;
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs) override;
  void Sleep(int ms) override;
  ScreenSize Screen() const override;
  BoxResult MessageBox(const std::string& text, const std::string& title, BoxButtons buttons) override;
  void OpenUrl(const std::string& url) override;
  std::string ProgramFolder() const override;
  void EndProgram(int exitCode) override;
  bool Ending() const override { return ending_; }
  bool AcquireInstanceLock(const std::string& name) override;

  void SetLobby(std::unique_ptr<LobbyLink> lobby) { lobby_ = std::move(lobby); }
  void SetPictures(std::unique_ptr<PictureSource> pictures) { pictures_ = std::move(pictures); }
  void SetAudio(std::unique_ptr<AudioDevice> audio) { audio_ = std::move(audio); }
  int ExitCode() const { return exitCode_; }

 private:
  // Dialog-button pictures of the pack: 确定 130/131, 取消 132/133 (normal/hover).
  static constexpr int kDialogOk = 130;
  static constexpr int kDialogCancel = 132;
  void StyleBox(QMessageBox& box);
  // Connects onAboutToWait to the event loop, once there is one.
  void HookEventLoop();
  QMetaObject::Connection loopHook_;

  QtClock clock_;
  std::unique_ptr<LobbyLink> lobby_;
  std::unique_ptr<PictureSource> pictures_;
  std::unique_ptr<AudioDevice> audio_ = std::make_unique<NoAudio>();
  std::vector<QEventLoop*> loops_;  // nested waits, quit together when the program ends
  std::vector<QMessageBox*> boxes_;  // open message boxes, closed when the program ends
  // The client's pauses (the draw pause, the dice, the turn-over...) in percent of
  // their length: TAVREL_PAUSE_PERCENT, for unattended runs of many hands; 100 otherwise.
  int Paused(int ms) const;
  int pausePercent_ = 100;
  bool ending_ = false;
  int exitCode_ = 0;
};

}  // namespace tavrel::platform::qt
