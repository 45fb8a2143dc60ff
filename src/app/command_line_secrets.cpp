#include "app/command_line_secrets.h"

#include <cstring>
#include <string>

namespace tavrel::app {
namespace {

constexpr int kKeyField = 1;       // field 2, counted from 0
constexpr int kPasswordField = 9;  // field 10
constexpr std::size_t kMaskLength = 3;

}  // namespace

void WipeSecretFields(int argc, char** argv) {
  int field = 0;
  for (int i = 1; i < argc; ++i) {
    char* arg = argv[i];
    if (!arg) continue;
    const std::size_t length = std::strlen(arg);
    std::string masked;
    std::size_t run = 0;  // secret characters of the current run
    auto endRun = [&] {
      masked.append(std::min(run, kMaskLength), '*');
      run = 0;
    };
    for (std::size_t k = 0; k < length; ++k) {
      const char c = arg[k];
      if (c != '$' && (field == kKeyField || field == kPasswordField)) {
        ++run;
        continue;
      }
      endRun();
      masked.push_back(c);
      if (c == '$') ++field;
    }
    endRun();
    // The masked text is never longer than the original.
    std::memcpy(arg, masked.data(), masked.size());
    std::memset(arg + masked.size(), 0, length - masked.size());
  }
}

}  // namespace tavrel::app
