// The installed program: `cmake --install` into a folder of the test's own
// (DESTDIR) lays out the program folder as the client looks for it, the
// launchers, the desktop entry, the icon and the AppStream data; a hand is played
// from the installed files alone, with the installed tree read-only and the build
// and source folders hidden (a mount namespace of its own, where the machine
// allows one); the desktop entry's command starts a table.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QImageReader>
#include <QRegularExpression>
#include <QStandardPaths>
#include <unistd.h>

#include <filesystem>

#include "session_harness.h"

namespace tavrel::itest {
namespace {

const QString kBuildDir = QDir::cleanPath(kProgramDir + "/..");
const QString kSourceDir = QStringLiteral(TAVREL_SOURCE_DIR);
const QString kProgramFolder = "/usr/lib/tavrel/bin";
const QString kDesktopFile = "/usr/share/applications/org.tavrel.Lobby.desktop";
constexpr int kHandLimitMs = 180000;

// Runs a program to its end; its exit code, or -1 when it did not end in time.
int RunProgram(const QString& program, const QStringList& args, QString* output = nullptr,
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), int limitMs = 120000) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  const bool done = p.waitForStarted(5000) && p.waitForFinished(limitMs);
  if (!done) p.kill(), p.waitForFinished(2000);
  if (output) *output = QString::fromLocal8Bit(p.readAll());
  return done && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Whether programs can be run in a mount and process namespace of their own here.
bool NamespacesWork() {
  static const bool work = ::geteuid() == 0 &&
                           RunProgram("unshare", {"--mount", "--pid", "--fork", "--kill-child", "true"}, nullptr,
                               QProcessEnvironment::systemEnvironment(), 10000) == 0;
  return work;
}

QString Quoted(const QString& s) { return "'" + QString(s).replace("'", "'\\''") + "'"; }

struct InstallTest : ::testing::Test {
  static void SetUpTestSuite() {
    EnsureApp();
    tree_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(tree_->isValid());
    root_ = tree_->filePath("root");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DESTDIR", root_);
    QString said;
    installed_ = RunProgram(TAVREL_CMAKE, {"--install", kBuildDir, "--prefix", "/usr"}, &said, env) == 0;
    if (!installed_) std::fprintf(stderr, "cmake --install failed:\n%s\n", qPrintable(said));
  }
  static void TearDownTestSuite() { tree_.reset(); }
  void SetUp() override {
    ASSERT_TRUE(installed_) << "cmake --install into " << root_.toStdString();
  }
  static QString Installed(const QString& path) { return root_ + path; }

  // `command` under sh, cut off from the build: in a namespace of its own the
  // installed tree is read-only and the build and source folders are empty;
  // elsewhere (no namespaces) it runs as it is.
  void StartIsolated(Child& child, const QString& command, const QProcessEnvironment& env) {
    if (!NamespacesWork()) {
      child.Start("sh", {"-c", "exec " + command}, env);
      return;
    }
    QString script = "set -e; mount --bind " + Quoted(root_) + " " + Quoted(root_) + "; mount -o remount,bind,ro " +
                     Quoted(root_) + "; ";
    // The build folder first: it may lie inside the sources.
    for (const QString& hidden : {kBuildDir, kSourceDir}) script += "mount -t tmpfs tmpfs " + Quoted(hidden) + "; ";
    script += "exec " + command;
    child.Start("unshare", {"--mount", "--pid", "--fork", "--kill-child", "sh", "-c", script}, env);
  }

  static std::unique_ptr<QTemporaryDir> tree_;
  static QString root_;
  static bool installed_;
};
std::unique_ptr<QTemporaryDir> InstallTest::tree_;
QString InstallTest::root_;
bool InstallTest::installed_ = false;

TEST_F(InstallTest, LaysOutTheProgramFolderLaunchersAndDesktopFiles) {
  for (const char* name : {"tavrelmj", "tavrel-lobby", "tavrel-server"}) {
    SCOPED_TRACE(name);
    const QString program = QString::fromLatin1(name);
    const QFileInfo installed(Installed(kProgramFolder + "/" + program));
    EXPECT_TRUE(installed.isExecutable());
    // The launcher: a relative link that finds the program under any root.
    const QFileInfo launcher(Installed("/usr/games/" + program));
    EXPECT_TRUE(launcher.isSymLink());
    std::error_code ec;
    EXPECT_TRUE(std::filesystem::read_symlink(launcher.filePath().toStdString(), ec).is_relative());
    EXPECT_EQ(launcher.canonicalFilePath(), installed.canonicalFilePath());
  }
  const struct {
    const char* path;
    bool folder;
  } expected[] = {
      {"/usr/lib/tavrel/bin/pictures/201.png", false},
      {"/usr/lib/tavrel/bin/pictures/201@2x.png", false},
      {"/usr/lib/tavrel/bin/pictures/345@48x78@2x.png", false},
      {"/usr/lib/tavrel/bin/chat.ini", false},
      {"/usr/lib/tavrel/bin/plugin/tools", true},
      {"/usr/lib/tavrel/bin/plugin/tools/PropDll.so", false},
      {"/usr/share/applications/org.tavrel.Lobby.desktop", false},
      {"/usr/share/metainfo/org.tavrel.Lobby.metainfo.xml", false},
      {"/usr/share/icons/hicolor/48x48/apps/org.tavrel.Lobby.png", false},
      {"/usr/share/icons/hicolor/256x256/apps/org.tavrel.Lobby.png", false},
      {"/usr/share/doc/tavrel/copyright", false},
  };
  for (const auto& e : expected) {
    const QFileInfo f(Installed(e.path));
    EXPECT_TRUE(f.exists() && f.isDir() == e.folder) << e.path;
  }
  // Every picture of the build's pack, at both densities.
  int pictures = 0;
  for (QDirIterator it(kProgramDir + "/pictures", {"*.png"}); it.hasNext(); ++pictures)
    EXPECT_TRUE(QFile::exists(Installed(kProgramFolder + "/pictures/" + QFileInfo(it.next()).fileName())));
  EXPECT_GT(pictures, 1000);
  // The sounds beside the program folder, where the build made them.
  if (QFile::exists(kBuildDir + "/common/music/majiang.wav")) {
    EXPECT_TRUE(QFile::exists(Installed("/usr/lib/tavrel/common/music/majiang.wav")));
    EXPECT_TRUE(QDir(Installed("/usr/lib/tavrel/common/tavrelmj")).exists());
    EXPECT_TRUE(QDir(Installed("/usr/lib/tavrel/common/mj")).exists());
  }
  // The icon at its size.
  EXPECT_EQ(QImageReader(Installed("/usr/share/icons/hicolor/256x256/apps/org.tavrel.Lobby.png")).size(), QSize(256, 256));

  QString said;
  if (!QStandardPaths::findExecutable("desktop-file-validate").isEmpty()) {
    EXPECT_EQ(RunProgram("desktop-file-validate", {Installed(kDesktopFile)}, &said), 0) << said.toStdString();
  }
  if (!QStandardPaths::findExecutable("appstreamcli").isEmpty()) {
    const QString metainfo = Installed("/usr/share/metainfo/org.tavrel.Lobby.metainfo.xml");
    EXPECT_EQ(RunProgram("appstreamcli", {"validate", "--no-net", metainfo}, &said), 0) << said.toStdString();
  }
}

TEST_F(InstallTest, AHandFromTheInstalledFilesAlone) {
  if (!NamespacesWork()) std::printf("no mount namespace here: the build folder stays visible\n");
  SessionEnv env;
  Child server, lobby;
  const QString state = env.dir.filePath("state"), dump = env.dir.filePath("dump");
  QDir().mkpath(dump);
  StartIsolated(server,
                Quoted(Installed("/usr/games/tavrel-server")) +
                    " --port 0 --bots 3 --bot-delay 20 --autoplay 60 --seed 4 --ready-first-hand",
                QProcessEnvironment::systemEnvironment());
  ASSERT_TRUE(server.WaitOutput("listening on")) << server.Output();
  const int port = QString::fromUtf8(server.output).section(':', -1).section('\n', 0, 0).trimmed().toInt();
  ASSERT_GT(port, 0) << server.Output();

  QProcessEnvironment e = env.Env();
  e.remove("TAVREL_PROGRAM_FOLDER");  // the installed client finds its own folder
  e.insert("XDG_STATE_HOME", state);
  e.insert("TAVREL_SCREEN", "1280x1024");
  e.insert("TAVREL_TABLE_DUMP", dump);
  StartIsolated(lobby,
                Quoted(Installed("/usr/games/tavrel-lobby")) + " --headless --user player --server-port " +
                    QString::number(port),
                e);
  // The lobby starts the installed client, beside itself.
  ASSERT_TRUE(lobby.WaitOutput("start " + Installed(kProgramFolder + "/tavrelmj"))) << lobby.Output();

  auto dumped = [&] {
    QFile f(dump + "/table.txt");
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  };
  EXPECT_TRUE(WaitFor([&] { return dumped().contains("sheet visible=1"); }, kHandLimitMs))
      << "no hand ended\n" << dumped().left(3000).toStdString() << "\nlobby:\n" << lobby.Output();
  // The client's pictures were found: the table shows tiles (a missing pack says so).
  EXPECT_FALSE(lobby.output.contains("picture pack not found")) << lobby.Output();
  // The record file goes to the user's state folder; the program folder stays as installed.
  EXPECT_TRUE(WaitFor([&] { return QFile::exists(state + "/tavrel/info.vl"); }, 10000));
  EXPECT_FALSE(QFile::exists(Installed(kProgramFolder + "/info.vl")));
}

TEST_F(InstallTest, TheDesktopEntryStartsATableOfOnesOwn) {
  QFile desktop(Installed(kDesktopFile));
  ASSERT_TRUE(desktop.open(QIODevice::ReadOnly | QIODevice::Text));
  const QRegularExpression execLine("^Exec=(.*)$", QRegularExpression::MultilineOption);
  const QString exec = execLine.match(QString::fromUtf8(desktop.readAll())).captured(1).trimmed();
  ASSERT_FALSE(exec.isEmpty());
  ASSERT_FALSE(exec.contains('%')) << "no field codes expected: " << exec.toStdString();

  SessionEnv env;
  Child lobby;
  const QString dump = env.dir.filePath("dump");
  QDir().mkpath(dump);
  QProcessEnvironment e = env.Env();
  e.remove("TAVREL_PROGRAM_FOLDER");
  e.insert("PATH", Installed("/usr/games") + ":" + e.value("PATH"));
  e.insert("XDG_STATE_HOME", env.dir.filePath("state"));
  e.insert("TAVREL_SCREEN", "1280x1024");
  e.insert("TAVREL_TABLE_DUMP", dump);
  StartIsolated(lobby, exec, e);
  // Its own server with three bots: the four players at the table.
  auto seated = [&] {
    QFile f(dump + "/table.txt");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    return int(QString::fromUtf8(f.readAll()).count(QRegularExpression("^player \\d .* account=\\S", QRegularExpression::MultilineOption)));
  };
  EXPECT_TRUE(WaitFor([&] { return seated() == 4; }, 30000)) << "players seated: " << seated() << "\n" << lobby.Output();
}

}  // namespace
}  // namespace tavrel::itest
