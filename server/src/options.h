#pragma once
// Command line of tavrel-server.
#include <cstdint>
#include <optional>
#include <string>

#include "table.h"

namespace tavrel::server {

struct ServerOptions {
  std::string host = "127.0.0.1";
  int port = 7700;  // 0: pick a free port
  std::string logPath;
  TableConfig table;
};

// Parses argv; on error or --help fills `message` and returns nothing (`helpOnly` tells
// the two apart).
std::optional<ServerOptions> ParseOptions(int argc, char** argv, std::string& message, bool& helpOnly);
std::string Usage();

}  // namespace tavrel::server
