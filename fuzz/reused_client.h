#pragma once
// What the fuzz targets that build one client per process share: a program folder of
// their own, the digest of what a run left, and the check that runs stay independent.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace tavrel::fuzzing {

// A folder made for the process (in memory when it can be), removed at its end.
struct ScratchFolder {
  std::filesystem::path path;
  explicit ScratchFolder(const char* name) {
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string tmpl = std::string(base) + "/" + name + ".XXXXXX";
    if (::mkdtemp(tmpl.data())) path = tmpl;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
};

// What a run left that can be seen from outside, folded into one number.
struct Digest {
  std::uint64_t h = 1469598103934665603ull;
  void Add(std::uint64_t v) {
    for (int i = 0; i < 8; ++i, v >>= 8) h = (h ^ (v & 0xFF)) * 1099511628211ull;
  }
  void Add(const std::string& s) {
    for (unsigned char c : s) Add(c);
  }
};

// Runs an input; now and then it runs again after the previous input, and must leave
// the same: the client put back between inputs keeps nothing of one for the next.
template <class Client, class RunOne>
void RunIndependently(const char* target, Client& client, RunOne run, const std::uint8_t* data, std::size_t size) {
  static std::vector<std::uint8_t> previous;
  static unsigned count = 0;
  const std::uint64_t result = run(client, data, size);
  if (++count % 64 == 0 && !previous.empty()) {
    run(client, previous.data(), previous.size());
    if (run(client, data, size) != result) {
      std::fprintf(stderr, "%s: the same input gave another result after another input ran\n", target);
      std::abort();
    }
  }
  previous.assign(data, data + size);
}

}  // namespace tavrel::fuzzing
