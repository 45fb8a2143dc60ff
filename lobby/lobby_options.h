#pragma once
// Options of the lobby stand-in and the client command line built from them.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tavrel::lobby {

struct TimedSend {
  int message = 0;
  int afterMs = 0;
};

struct LobbyOptions {
  QString user = "alice";
  QString key = "key-0001";
  QString serverHost = "127.0.0.1";
  int serverPort = 4000;
  QString location = "测试区";
  int connectionType = 0;  // 5 when a proxy is given
  QString proxyHost;
  int proxyPort = 0;
  QString proxyUser, proxyPassword;
  int modeSwitch = 0;
  QString lobbyCaption = "Virel山庄";
  QString tableCaption;
  int props = 0;
  int plugin = 0;
  std::optional<QString> spectatorId;
  QString client;  // path of tavrelmj
  bool headless = false;
  bool startClient = true;
  bool localServer = false;  // start tavrel-server beside this program and play there
  std::vector<TimedSend> sends;
  int exitAfterMs = -1;
};

// The 15 "$"-terminated fields; a spectator's ID follows the last "$".
QString BuildCommandLine(const LobbyOptions& o);
// The caption the client registers under: field 13 with the mode switch, else its own title.
QString ClientCaption(const LobbyOptions& o);
// Parses the program arguments; on --help or an error prints and returns nothing
// (exitCode tells 0 for help, 2 for an error).
std::optional<LobbyOptions> ParseOptions(const QStringList& arguments, int& exitCode);

}  // namespace tavrel::lobby
