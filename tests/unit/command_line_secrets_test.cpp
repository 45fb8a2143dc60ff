// The login key and the proxy password leave the program's own argument memory.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/command_line_secrets.h"

namespace tavrel::testing {
namespace {

// Wipes a copy of the arguments and returns each argument's bytes as the process
// list would show them (trailing zeros included).
std::vector<std::string> Wiped(const std::vector<std::string>& args) {
  std::vector<std::vector<char>> memory;
  for (const auto& a : args) memory.emplace_back(a.begin(), a.end()), memory.back().push_back('\0');
  std::vector<char*> argv;
  static char program[] = "tavrelmj";
  argv.push_back(program);
  for (auto& m : memory) argv.push_back(m.data());
  app::WipeSecretFields(static_cast<int>(argv.size()), argv.data());
  std::vector<std::string> out;
  for (auto& m : memory) out.emplace_back(m.data(), m.size() - 1);
  return out;
}

TEST(CommandLineSecrets, KeyAndProxyPasswordAreOverwritten) {
  using std::string;
  const string z(1, '\0');
  struct Case {
    const char* what;
    std::vector<string> args;
    std::vector<string> shown;
  };
  const Case cases[] = {
      {"one argument",
       {"alice$k3y-0001$10.0.0.5$4100$北京$5$proxy$1080$bob$hunter2$$$$0$0$"},
       {"alice$***$10.0.0.5$4100$北京$5$proxy$1080$bob$***$$$$0$0$" + string(9, '\0')}},
      {"short secrets keep their length",
       {"alice$k$h$1$l$5$p$1$u$pw$"},
       {"alice$*$h$1$l$5$p$1$u$**$"}},
      {"empty secrets",
       {"alice$$h$1$l$0$$$$$$$$0$0$"},
       {"alice$$h$1$l$0$$$$$$$$0$0$"}},
      {"a key the shell split into two arguments",
       {"alice$my", "long key$host$4000$"},
       {"alice$**", "***$host$4000$" + string(5, '\0')}},
      {"a line of fewer fields",
       {"alice$secret"},
       {"alice$***" + string(3, '\0')}},
      {"a spectator's ID after the last field stays",
       {"alice$key$h$1$l$0$$$$pass$$$$0$0$12345"},
       {"alice$***$h$1$l$0$$$$***$$$$0$0$12345" + z}},
  };
  for (const Case& c : cases) EXPECT_EQ(Wiped(c.args), c.shown) << c.what;
}

}  // namespace
}  // namespace tavrel::testing
