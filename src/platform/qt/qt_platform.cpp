#include "platform/qt/qt_platform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QEventLoop>
#include <QGuiApplication>
#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/qt_pictures.h"
#include "platform/runtime_dir.h"

namespace tavrel::platform::qt {

QtTimer::QtTimer() {
  QObject::connect(&timer_, &QTimer::timeout, this, [this] {
    if (onTick) onTick();
  });
}

void QtTimer::SetEnabled(bool on) {
  if (on && !timer_.isActive()) timer_.start();
  if (!on) timer_.stop();
}

QtSocket::QtSocket() {
  socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  QObject::connect(&socket_, &QTcpSocket::readyRead, this, [this] {
    if (onDataArrival) onDataArrival(static_cast<std::size_t>(socket_.bytesAvailable()));
  });
  QObject::connect(&socket_, &QTcpSocket::connected, this, [this] {
    failed_ = false;
    if (onConnect) onConnect();
  });
  QObject::connect(&socket_, &QTcpSocket::disconnected, this, [this] {
    if (!closing_ && onClose) onClose();
  });
  QObject::connect(&socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
    if (socket_.state() != QAbstractSocket::ConnectedState) failed_ = true;
    if (onError) onError(socket_.errorString().toStdString());
  });
}

QtSocket::~QtSocket() {
  closing_ = true;
  socket_.abort();
}

void QtSocket::Connect() {
  closing_ = true;
  socket_.abort();
  closing_ = false;
  failed_ = false;
  socket_.connectToHost(QString::fromStdString(RemoteHost), static_cast<quint16>(RemotePort));
}

int QtSocket::State() const {
  switch (socket_.state()) {
    case QAbstractSocket::ConnectedState: return kSocketConnected;
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState: return kSocketConnecting;
    case QAbstractSocket::ClosingState: return 8;
    default: return failed_ ? kSocketError : kSocketClosed;
  }
}

void QtSocket::SendData(const std::uint8_t* data, std::size_t size) {
  if (socket_.state() != QAbstractSocket::ConnectedState) return;
  socket_.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

ByteVec QtSocket::GetData() {
  QByteArray all = socket_.readAll();
  return ByteVec(all.begin(), all.end());
}

void QtSocket::Close() {
  closing_ = true;
  socket_.abort();
  closing_ = false;
  failed_ = false;
}

QtClock::QtClock() { sinceStart_.start(); }

std::int64_t QtClock::NowMs() const {
  static_assert(sizeof(qint64) == sizeof(std::int64_t));
  return sinceStart_.elapsed();
}

double QtClock::SecondsOfDay() const { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

LocalTime QtClock::Now() const {
  QTime t = QTime::currentTime();
  return {t.hour(), t.minute(), t.second()};
}

QtPlatform::QtPlatform() : lobby_(std::make_unique<NoLobby>()), pictures_(std::make_unique<NoPictures>()) {
  HookEventLoop();
  if (const char* p = std::getenv("TAVREL_PAUSE_PERCENT"); p && *p) pausePercent_ = std::clamp(std::atoi(p), 0, 100);
}

int QtPlatform::Paused(int ms) const { return std::max(0, ms) * pausePercent_ / 100; }
QtPlatform::~QtPlatform() { QObject::disconnect(loopHook_); }

void QtPlatform::HookEventLoop() {
  if (loopHook_ || !QCoreApplication::instance()) return;
  auto* dispatcher = QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread());
  if (!dispatcher) return;
  // Emitted on every turn of every loop of the thread, nested waits included,
  // when the loop may block: the scheduler plans its next tick there.
  loopHook_ = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, [this] {
    if (onAboutToWait && !ending_) onAboutToWait();
  });
}

std::unique_ptr<Timer> QtPlatform::CreateTimer() {
  HookEventLoop();
  return std::make_unique<QtTimer>();
}

void QtPlatform::PumpFor(int ms) {
  if (ending_) return;
  QEventLoop loop;
  loops_.push_back(&loop);
  QTimer::singleShot(Paused(ms), &loop, &QEventLoop::quit);
  loop.exec();
  loops_.pop_back();
}

bool QtPlatform::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  if (ending_ || done()) return !ending_ && done();
  // The condition is checked after every batch of events; the single-shot timer only
  // wakes the wait when the time is up, so waiting costs no polling.
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.start(std::max(0, timeoutMs));
  while (!ending_ && deadline.isActive() && !done())
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return !ending_ && done();
}

void QtPlatform::Sleep(int ms) { QThread::msleep(static_cast<unsigned long>(Paused(ms))); }

ScreenSize QtPlatform::Screen() const {
  // TAVREL_SCREEN=WxH stands in for the screen size (tests, small-screen layout).
  if (const char* s = std::getenv("TAVREL_SCREEN")) {
    int w = 0, h = 0;
    if (std::sscanf(s, "%dx%d", &w, &h) == 2 && w > 0 && h > 0) return {w, h};
  }
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    if (QScreen* screen = app->primaryScreen()) return {screen->size().width(), screen->size().height()};
  return {1280, 1024};
}

void QtPlatform::StyleBox(QMessageBox& box) {
  auto* pack = dynamic_cast<QtPictures*>(pictures_.get());
  if (!pack) return;
  // The table's look: a wood-brown box whose 确定 and 取消 are the dialog-button pictures.
  box.setStyleSheet("QMessageBox { background: #5a3a1e; } QLabel { color: #fff4d6; font-size: 14px; }");
  const struct {
    QMessageBox::StandardButton which;
    int normal, hover;
  } pictured[] = {{QMessageBox::Ok, kDialogOk, kDialogOk + 1}, {QMessageBox::Cancel, kDialogCancel, kDialogCancel + 1}};
  for (const auto& p : pictured) {
    QAbstractButton* button = box.button(p.which);
    if (!button || !pack->Pixmap(p.normal) || !pack->Pixmap(p.hover)) continue;
    const QString normal = pack->Folder() + QString("/%1.png").arg(p.normal);
    const QString hover = pack->Folder() + QString("/%1.png").arg(p.hover);
    button->setText(QString());
    button->setIcon(QIcon());
    button->setFixedSize(pack->Pixmap(p.normal)->size());
    button->setStyleSheet(QString("QPushButton { border: none; outline: none; border-image: url(%1); }"
                                  "QPushButton:hover { border-image: url(%2); }")
                              .arg(normal, hover));
  }
}

BoxResult QtPlatform::MessageBox(const std::string& text, const std::string& title, BoxButtons buttons) {
  std::fprintf(stderr, "[box] %s: %s\n", title.c_str(), text.c_str());
  std::fflush(stderr);
  if (ending_) return BoxResult::Ok;
  QMessageBox box;
  box.setWindowTitle(QString::fromStdString(title));
  box.setText(QString::fromStdString(text));
  box.setIcon(QMessageBox::NoIcon);
  switch (buttons) {
    case BoxButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case BoxButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case BoxButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
  }
  StyleBox(box);
  // Unattended runs: TAVREL_BOX_TIMEOUT_MS closes every box by itself with its default answer.
  if (const char* t = std::getenv("TAVREL_BOX_TIMEOUT_MS")) {
    int ms = std::atoi(t);
    if (ms >= 0) QTimer::singleShot(ms, &box, [&box] { box.done(QMessageBox::Ok); });
  }
  boxes_.push_back(&box);
  int r = box.exec();
  boxes_.pop_back();
  if (r == QMessageBox::Cancel) return BoxResult::Cancel;
  if (r == QMessageBox::No) return BoxResult::No;
  if (r == QMessageBox::Yes) return BoxResult::Yes;
  return BoxResult::Ok;
}

void QtPlatform::OpenUrl(const std::string& url) { QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }

std::string QtPlatform::ProgramFolder() const {
  if (const char* dir = std::getenv("TAVREL_PROGRAM_FOLDER"); dir && *dir) return dir;
  return QCoreApplication::applicationDirPath().toStdString();
}

void QtPlatform::EndProgram(int exitCode) {
  if (ending_) return;
  ending_ = true;
  exitCode_ = exitCode;
  for (QEventLoop* loop : loops_) loop->quit();
  for (QMessageBox* box : boxes_) box->done(QMessageBox::Ok);
  QCoreApplication::exit(exitCode);
}

bool QtPlatform::AcquireInstanceLock(const std::string& name) { return AcquireProcessLock(name); }

}  // namespace tavrel::platform::qt
