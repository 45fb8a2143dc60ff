// tavrel-server: a reference table server with bots for the Tavrel table client.
#include <cstdio>

#include "log.h"
#include "net_server.h"
#include "options.h"
#include "table.h"

int main(int argc, char** argv) {
  using namespace tavrel::server;
  std::string message;
  bool helpOnly = false;
  auto options = ParseOptions(argc, argv, message, helpOnly);
  if (!options) {
    std::fputs(message.c_str(), helpOnly ? stdout : stderr);
    if (!helpOnly) std::fputc('\n', stderr);
    return helpOnly ? 0 : 2;
  }
  Log log;
  if (!options->logPath.empty() && !log.Open(options->logPath)) {
    std::fprintf(stderr, "tavrel-server: cannot open log file %s\n", options->logPath.c_str());
    return 1;
  }
  Table table(options->table, log);
  NetServer server(table, log);
  std::string error;
  if (!server.Listen(options->host, options->port, error)) {
    std::fprintf(stderr, "tavrel-server: %s\n", error.c_str());
    return 1;
  }
  log.Event("listening on " + options->host + ":" + std::to_string(server.Port()) + ", seed " +
            std::to_string(options->table.seed) + ", bots " + std::to_string(options->table.bots));
  std::printf("listening on %s:%d\n", options->host.c_str(), server.Port());
  std::fflush(stdout);
  server.Run();
  return 0;
}
