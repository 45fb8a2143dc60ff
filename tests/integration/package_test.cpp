// The Debian package, built by CPack from the build folder into a folder of the
// test's own: it holds what the program needs where the client looks for it,
// declares the libraries it links against, and lintian finds no error in it.
// Slow (a minute or two): labelled "package", run by `./tavrel package`.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString kBuildDir = QDir::cleanPath(QStringLiteral(TAVREL_PROGRAM_DIR "/.."));

int RunProgram(const QString& program, const QStringList& args, QString& output, int limitMs = 600000) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  const bool done = p.waitForStarted(5000) && p.waitForFinished(limitMs);
  if (!done) p.kill(), p.waitForFinished(2000);
  output = QString::fromLocal8Bit(p.readAll());
  return done && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

TEST(DebianPackage, HoldsTheProgramDeclaresItsLibrariesAndPassesLintian) {
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  QString said;
  ASSERT_EQ(RunProgram(TAVREL_CPACK, {"--config", kBuildDir + "/CPackConfig.cmake", "-B", out.path()}, said), 0)
      << said.toStdString();
  const QStringList debs = QDir(out.path()).entryList({"tavrel_*.deb"}, QDir::Files);
  ASSERT_EQ(debs.size(), 1) << said.toStdString();
  const QString deb = out.filePath(debs.front());
  // Kept beside the build for a look (and an install by hand).
  QFile::remove(kBuildDir + "/" + debs.front());
  QFile::copy(deb, kBuildDir + "/" + debs.front());

  QString contents;
  ASSERT_EQ(RunProgram("dpkg", {"--contents", deb}, contents), 0) << contents.toStdString();
  for (const char* path :
       {"./usr/lib/tavrel/bin/tavrelmj", "./usr/lib/tavrel/bin/tavrel-lobby", "./usr/lib/tavrel/bin/tavrel-server",
        "./usr/lib/tavrel/bin/pictures/201.png", "./usr/lib/tavrel/bin/pictures/201@2x.png",
        "./usr/lib/tavrel/bin/chat.ini", "./usr/lib/tavrel/bin/plugin/tools/",
        "./usr/lib/tavrel/bin/plugin/tools/PropDll.so",
        "./usr/games/tavrel-lobby -> ../lib/tavrel/bin/tavrel-lobby", "./usr/games/tavrelmj -> ../lib/tavrel/bin/tavrelmj",
        "./usr/share/applications/org.tavrel.Lobby.desktop", "./usr/share/metainfo/org.tavrel.Lobby.metainfo.xml",
        "./usr/share/icons/hicolor/256x256/apps/org.tavrel.Lobby.png", "./usr/share/doc/tavrel/copyright"})
    EXPECT_TRUE(contents.contains(QString::fromUtf8(path))) << path;
  if (QFile::exists(kBuildDir + "/common/music/majiang.wav")) {
    EXPECT_TRUE(contents.contains("./usr/lib/tavrel/common/music/majiang.wav"));
  }
  // Nothing of the build folder or the tests in it.
  EXPECT_FALSE(contents.contains("unit_tests")) << contents.toStdString();
  EXPECT_FALSE(contents.contains("tavrel-artgen"));

  QString depends;
  ASSERT_EQ(RunProgram("dpkg-deb", {"--field", deb, "Depends"}, depends), 0);
  for (const char* library : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6network6", "libqt6multimedia6",
                              "libstdc++6", "libc6"})
    EXPECT_TRUE(depends.contains(library)) << library << " missing from: " << depends.toStdString();

  if (QStandardPaths::findExecutable("lintian").isEmpty()) GTEST_SKIP() << "lintian is not installed";
  QString lint;
  RunProgram("lintian", {"--allow-root", "--tag-display-limit", "0", deb}, lint);
  std::printf("lintian:\n%s\n", qPrintable(lint));
  const auto errors = QRegularExpression("^E: .*$", QRegularExpression::MultilineOption).globalMatch(lint);
  EXPECT_FALSE(errors.hasNext()) << lint.toStdString();
}

}  // namespace
