#pragma once
// The platform layer: everything the Parts need from the operating system, as
// small interfaces. Two backends implement it: sim/ (virtual clock, scripted
// socket, for tests) and qt/ (Qt event loop, QTcpSocket, QTimer, real windows).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tavrel::platform {

using ByteVec = std::vector<std::uint8_t>;

// A repeating timer. Its tick runs on the one event thread; a timer whose tick is
// still running does not tick again inside itself unless the tick pumps events.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void SetInterval(int ms) = 0;
  virtual int Interval() const = 0;
  virtual void SetEnabled(bool on) = 0;
  virtual bool Enabled() const = 0;
  std::function<void()> onTick;
};

// Socket states, numbered as the table client knows them.
enum SocketState : int {
  kSocketClosed = 0,
  kSocketConnecting = 6,
  kSocketConnected = 7,
  kSocketError = 9,
};

// One TCP stream. Events arrive on the event thread.
class StreamSocket {
 public:
  virtual ~StreamSocket() = default;
  std::string RemoteHost;
  int RemotePort = 0;
  virtual void Connect() = 0;  // to RemoteHost:RemotePort; closes a previous connection first
  virtual int State() const = 0;
  virtual void SendData(const std::uint8_t* data, std::size_t size) = 0;
  virtual ByteVec GetData() = 0;  // everything that arrived and was not read yet
  virtual void Close() = 0;
  std::function<void(std::size_t bytesTotal)> onDataArrival;
  std::function<void()> onClose;    // the peer closed the connection
  std::function<void()> onConnect;  // the connection is up
  std::function<void(const std::string& what)> onError;
};

struct LocalTime {
  int hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t NowMs() const = 0;      // monotonic milliseconds
  virtual double SecondsOfDay() const = 0;     // local time of day in seconds, with fractions
  virtual LocalTime Now() const = 0;           // local time of day for messages
};

enum class BoxButtons { Ok, OkCancel, YesNo };
enum class BoxResult { Ok, Cancel, Yes, No };

struct ScreenSize {
  int width = 1280;
  int height = 1024;
};

// Window messages to and from the lobby program, found by its caption.
class LobbyLink {
 public:
  virtual ~LobbyLink() = default;
  // Registers this program's main window under a caption, so that the lobby finds it.
  virtual bool RegisterWindow(const std::string& caption) = 0;
  virtual bool FindWindow(const std::string& caption) = 0;
  virtual bool PostMessage(const std::string& caption, int message, long wParam, long lParam) = 0;
  // System commands (restore 61728, minimise 61472) to the window of that caption.
  virtual bool SendSysCommand(const std::string& caption, int command) = 0;
  // Messages posted to our window.
  std::function<void(int message, long wParam, long lParam)> onMessage;
};

// A picture's pixels, row by row from the top left, each a 24-bit colour with red in
// the low byte (as the controls' colours).
struct PixelMap {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The picture pack: tells whether a picture id can be shown (its file exists and decodes).
class PictureSource {
 public:
  virtual ~PictureSource() = default;
  virtual bool Load(int resourceId) = 0;  // decodes once and caches; false when missing or broken
  // The picture's pixels at its own size; false when it cannot be read.
  virtual bool ReadPixels(int resourceId, PixelMap& out) {
    (void)resourceId;
    out = {};
    return false;
  }
};

// Sound output: one shared channel and four voice channels, one per seat position.
// Starting a sound on a channel stops and discards what that channel was playing,
// even when the new file cannot be played (the channel then stays silent). Wave
// files are decoded on first use.
class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // Opens the output; false when there is no usable device.
  virtual bool Open() = 0;
  // Plays a wave file once or looping; false when the file is missing or unreadable.
  virtual bool Play(int channel, const std::string& path, bool loop) = 0;
  // Stops the channel and rewinds it; false on a device error.
  virtual bool Stop(int channel) = 0;
  // Volume in hundredths of a decibel: 0 is full, -10000 silence; false on a device error.
  virtual bool SetVolume(int channel, int hundredthsOfDb) = 0;
};
inline constexpr int kSharedChannel = 0;
// The voice channel of seat position p (0..3).
constexpr int VoiceChannel(int position) { return 1 + position; }

class Platform {
 public:
  virtual ~Platform() = default;
  virtual Clock& clock() = 0;
  virtual std::unique_ptr<Timer> CreateTimer() = 0;
  virtual std::unique_ptr<StreamSocket> CreateSocket() = 0;
  virtual LobbyLink& lobby() = 0;
  virtual PictureSource& pictures() = 0;
  virtual AudioDevice& audio() = 0;

  // Waits that pump events: timers, socket events and window messages run inside.
  virtual void PumpFor(int ms) = 0;
  // Pumps until done() holds or timeoutMs passed; true when done() held.
  virtual bool PumpUntil(const std::function<bool()>& done, int timeoutMs) = 0;
  // A wait that handles no events (they are handled afterwards).
  virtual void Sleep(int ms) = 0;

  virtual ScreenSize Screen() const = 0;
  virtual BoxResult MessageBox(const std::string& text, const std::string& title, BoxButtons buttons) = 0;
  virtual void OpenUrl(const std::string& url) = 0;
  virtual std::string ProgramFolder() const = 0;
  // Ends the program: the event loop stops and waits return at once.
  virtual void EndProgram(int exitCode) = 0;
  virtual bool Ending() const = 0;
  // Single-instance lock held for the life of the process; false when another instance holds it.
  virtual bool AcquireInstanceLock(const std::string& name) = 0;

  // Called whenever the event loop is about to wait for the next event (every
  // turn, nested waits included), after the events of the turn were handled.
  // The scheduler sets its timer for the next tick that has work here.
  std::function<void()> onAboutToWait;
};

}  // namespace tavrel::platform
