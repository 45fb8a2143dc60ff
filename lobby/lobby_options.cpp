#include "lobby_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace tavrel::lobby {

QString BuildCommandLine(const LobbyOptions& o) {
  const QStringList fields = {o.user,
                              o.key,
                              o.serverHost,
                              QString::number(o.serverPort),
                              o.location,
                              QString::number(o.connectionType),
                              o.proxyHost,
                              o.proxyPort ? QString::number(o.proxyPort) : QString(),
                              o.proxyUser,
                              o.proxyPassword,
                              o.modeSwitch ? QString::number(o.modeSwitch) : QString(),
                              o.modeSwitch ? o.lobbyCaption : QString(),
                              o.modeSwitch ? o.tableCaption : QString(),
                              QString::number(o.props),
                              QString::number(o.plugin)};
  QString line;
  for (const QString& f : fields) line += f + "$";
  if (o.spectatorId) line += *o.spectatorId;
  return line;
}

QString ClientCaption(const LobbyOptions& o) {
  return o.modeSwitch == 1 && !o.tableCaption.isEmpty() ? o.tableCaption : QStringLiteral("Tavrel麻将");
}

namespace {

bool ParseHostPort(const QString& text, QString& host, int& port) {
  const int colon = text.lastIndexOf(':');
  if (colon <= 0) return false;
  bool ok = false;
  port = text.mid(colon + 1).toInt(&ok);
  host = text.left(colon);
  return ok && port > 0 && port <= 65535;
}

bool ParseSend(const QString& text, TimedSend& send) {
  const QStringList parts = text.split('@');
  bool okMessage = false, okMs = parts.size() < 2;
  send.message = parts[0].toInt(&okMessage);
  send.afterMs = parts.size() >= 2 ? parts[1].toInt(&okMs) : 0;
  return parts.size() <= 2 && okMessage && okMs && send.afterMs >= 0;
}

}  // namespace

std::optional<LobbyOptions> ParseOptions(const QStringList& arguments, int& exitCode) {
  LobbyOptions o;
  QCommandLineParser p;
  p.setApplicationDescription(
      "Stand-in for the Virel山庄 lobby: starts tavrelmj for one seat and exchanges the lobby messages "
      "(22, 771, 1024, 1125, 1126) with it.");
  p.addHelpOption();
  const QCommandLineOption headless("headless", "No window: log to standard output, act from the options.");
  const QCommandLineOption client("client", "Path of the table client (default: tavrelmj next to this program).", "PATH");
  const QCommandLineOption localServer(
      "local-server", "Start tavrel-server with three bots beside this program on a free loopback port and play "
                      "there (fields 3 and 4).");
  const QCommandLineOption noClient("no-client", "Do not start the client (it is started by hand).");
  const QCommandLineOption host("server-host", "Game server host (field 3).", "HOST", o.serverHost);
  const QCommandLineOption port("server-port", "Game server port (field 4).", "PORT", QString::number(o.serverPort));
  const QCommandLineOption user("user", "User name (field 1).", "NAME", o.user);
  const QCommandLineOption key("key", "Login key (field 2).", "KEY", o.key);
  const QCommandLineOption location("location", "Location text (field 5).", "TEXT", o.location);
  const QCommandLineOption type("connection-type", "Connection type (field 6); 5 when --proxy is given.", "N");
  const QCommandLineOption proxy("proxy", "SOCKS5 proxy (fields 7 and 8); selects connection type 5.", "HOST:PORT");
  const QCommandLineOption proxyUser("proxy-user", "Proxy user name (field 9).", "NAME");
  const QCommandLineOption proxyPassword("proxy-password", "Proxy password (field 10).", "PASSWORD");
  const QCommandLineOption mode("mode-switch", "Mode switch (field 11): 1 = short clocks and the captions below.", "N");
  const QCommandLineOption lobbyCaption("lobby-caption", "This window's caption (field 12 with --mode-switch 1).",
                                        "TEXT", o.lobbyCaption);
  const QCommandLineOption tableCaption("table-caption", "The client's caption (field 13 with --mode-switch 1).", "TEXT");
  const QCommandLineOption props("props", "Props switch (field 14).", "N", "0");
  const QCommandLineOption plugin("plugin", "Plug-in number (field 15).", "N", "0");
  const QCommandLineOption spectator("spectator", "Watch the table as the user with this ID.", "ID");
  const QCommandLineOption send("send", "Send a message to the client, e.g. 771@3000 = 771 three seconds after start "
                                        "(repeatable).", "MSG@MS");
  const QCommandLineOption exitAfter("exit-after", "Quit after this many milliseconds (the client stays).", "MS");
  p.addOptions({headless, client, localServer, noClient, host, port, user, key, location, type, proxy, proxyUser, proxyPassword,
                mode, lobbyCaption, tableCaption, props, plugin, spectator, send, exitAfter});
  if (!p.parse(arguments)) {
    std::fprintf(stderr, "tavrel-lobby: %s\n", qPrintable(p.errorText()));
    exitCode = 2;
    return std::nullopt;
  }
  if (p.isSet("help")) {
    std::fputs(qPrintable(p.helpText()), stdout);
    exitCode = 0;
    return std::nullopt;
  }
  auto fail = [&exitCode](const QString& what) {
    std::fprintf(stderr, "tavrel-lobby: %s\n", qPrintable(what));
    exitCode = 2;
    return std::nullopt;
  };
  o.headless = p.isSet(headless);
  o.startClient = !p.isSet(noClient);
  o.localServer = p.isSet(localServer);
  o.client = p.isSet(client) ? p.value(client) : QCoreApplication::applicationDirPath() + "/tavrelmj";
  o.serverHost = p.value(host);
  bool ok = false;
  o.serverPort = p.value(port).toInt(&ok);
  if (!ok) return fail("bad --server-port " + p.value(port));
  o.user = p.value(user);
  o.key = p.value(key);
  o.location = p.value(location);
  if (p.isSet(proxy)) {
    if (!ParseHostPort(p.value(proxy), o.proxyHost, o.proxyPort)) return fail("bad --proxy " + p.value(proxy));
    o.connectionType = 5;
  }
  if (p.isSet(type)) o.connectionType = p.value(type).toInt();
  o.proxyUser = p.value(proxyUser);
  o.proxyPassword = p.value(proxyPassword);
  o.modeSwitch = p.value(mode).toInt();
  o.lobbyCaption = p.value(lobbyCaption);
  o.tableCaption = p.value(tableCaption);
  o.props = p.value(props).toInt();
  o.plugin = p.value(plugin).toInt();
  if (p.isSet(spectator)) o.spectatorId = p.value(spectator);
  for (const QString& s : p.values(send)) {
    TimedSend t;
    if (!ParseSend(s, t)) return fail("bad --send " + s);
    o.sends.push_back(t);
  }
  if (p.isSet(exitAfter)) {
    o.exitAfterMs = p.value(exitAfter).toInt(&ok);
    if (!ok || o.exitAfterMs < 0) return fail("bad --exit-after " + p.value(exitAfter));
  }
  // Without the mode switch the client looks for the lobby as "Virel山庄".
  if (o.modeSwitch != 1) o.lobbyCaption = "Virel山庄";
  return o;
}

}  // namespace tavrel::lobby
