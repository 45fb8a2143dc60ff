#pragma once
// A private X server and the tools that act on it as a player would (xdotool):
// shared by the tests that click and type through the window system.
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>

#include "session_harness.h"

namespace tavrel::itest {

inline QString Tool(const char* name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

// Runs a tool to its end (at most 15 s) and gives its standard output.
inline QString RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(program, args);
  if (!p.waitForFinished(15000)) {
    p.kill();
    p.waitForFinished(2000);
  }
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Starts Xvfb on a free display (1280 × 1024) and gives ":N", or an empty text when
// it reports none within 10 s. Only Xvfb's own number line counts: its complaints
// about a display another test's server took first come on the same channel.
inline QString StartXvfb(Child& xvfb) {
  xvfb.Start(Tool("Xvfb"), {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
             QProcessEnvironment::systemEnvironment());
  static const QRegularExpression number("^(\\d+)$", QRegularExpression::MultilineOption);
  if (!WaitFor([&] { return number.match(QString::fromLatin1(xvfb.output)).hasMatch(); }, 10000)) return {};
  return ":" + number.match(QString::fromLatin1(xvfb.output)).captured(1);
}

// The first visible window whose title holds `name`, waited for by xdotool.
inline QString FindWindow(const QString& name, const QProcessEnvironment& x) {
  return RunTool(Tool("xdotool"), {"search", "--sync", "--onlyvisible", "--name", name}, x)
      .section('\n', 0, 0)
      .trimmed();
}

}  // namespace tavrel::itest
