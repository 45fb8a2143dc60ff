// tavrelmj under a real X server: started with a valid command line against a
// listener that only accepts, it maps its window and draws the table; the
// screenshot it takes of the screen must not be blank.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <set>

namespace {

const QString kClient = QStringLiteral(TAVREL_PROGRAM_DIR "/tavrelmj");
constexpr int kLimitMs = 30000;

// Runs the event loop until done() or the limit.
bool PumpUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  return done();
}

void Stop(QProcess& p) {
  if (p.state() == QProcess::NotRunning) return;
  p.terminate();
  if (!p.waitForFinished(3000)) {
    p.kill();
    p.waitForFinished(3000);
  }
}

TEST(XvfbWindow, ClientMapsItsTableWindow) {
  int argc = 1;
  char name[] = "xvfb_window_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) GTEST_SKIP() << "Xvfb is not installed";
  if (!QFile::exists(kClient)) GTEST_SKIP() << "tavrelmj not built in " TAVREL_PROGRAM_DIR;

  // An X server on a display of its own choosing.
  QProcess xvfb;
  xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                      QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                                      QStringLiteral("tcp")});
  ASSERT_TRUE(xvfb.waitForStarted(5000));
  QByteArray displayNumber;
  ASSERT_TRUE(PumpUntil([&] {
    displayNumber += xvfb.readAllStandardOutput();
    return displayNumber.contains('\n');
  }, 10000)) << "Xvfb did not report its display";
  const QString display = QStringLiteral(":") + QString::fromLatin1(displayNumber.trimmed());

  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  std::vector<QTcpSocket*> accepted;
  QObject::connect(&server, &QTcpServer::newConnection, [&] {
    while (QTcpSocket* s = server.nextPendingConnection()) accepted.push_back(s);
  });

  QTemporaryDir runtime;
  const QString shot = runtime.filePath(QStringLiteral("window.png"));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), display);
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
  // The table loop stays off a player's speakers: no sound server at this address.
  env.insert(QStringLiteral("PULSE_SERVER"), "unix:" + runtime.filePath(QStringLiteral("no-sound-server")));
  env.insert(QStringLiteral("TAVREL_SCREENSHOT"), shot);
  env.insert(QStringLiteral("TAVREL_SCREENSHOT_DELAY_MS"), QStringLiteral("2000"));
  env.insert(QStringLiteral("TAVREL_BOX_TIMEOUT_MS"), QStringLiteral("200"));
  env.remove(QStringLiteral("TAVREL_SCREEN"));
  QProcess client;
  client.setProcessEnvironment(env);
  client.setProcessChannelMode(QProcess::MergedChannels);
  const QString commandLine = QStringLiteral("tester$key$127.0.0.1$%1$%2$0$$$$$$$$$$")
                                  .arg(server.serverPort())
                                  .arg(QString::fromUtf8("北京"));
  client.start(kClient, {commandLine});
  ASSERT_TRUE(client.waitForStarted(5000));

  const bool saved = PumpUntil([&] { return QFile::exists(shot) || client.state() == QProcess::NotRunning; }, kLimitMs) &&
                     QFile::exists(shot);
  PumpUntil([] { return false; }, 300);  // let the file be written out
  const QByteArray output = client.readAll();
  Stop(client);
  Stop(xvfb);
  ASSERT_TRUE(saved) << "no screenshot; client said:\n" << output.toStdString();
  EXPECT_FALSE(accepted.empty()) << "the client never connected";

  const QImage image(shot);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(1280, 1024));
  // The window covers 1040 x 796 from the top left: many colours there, the felt among them.
  std::set<QRgb> colours;
  int green = 0;
  for (int y = 0; y < 796; y += 7)
    for (int x = 0; x < 1040; x += 7) {
      const QRgb c = image.pixel(x, y);
      colours.insert(c);
      if (qGreen(c) > qRed(c) + 20 && qGreen(c) > qBlue(c) + 10) ++green;
    }
  EXPECT_GT(colours.size(), 200u);
  EXPECT_GT(green, (1040 / 7) * (796 / 7) / 3) << "the felt should cover much of the window";
  // Outside the window the screen stays as Xvfb left it.
  EXPECT_EQ(image.pixel(1200, 1000), image.pixel(1270, 1020));
  QFile::copy(shot, QStringLiteral(TAVREL_PROGRAM_DIR "/../xvfb_window.png"));
}

}  // namespace
