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

#include "app/client_context.h"
#include "scoring/hand_record.h"

// Defined, not only declared: only the one harness file of a fuzz target includes this.
// A client reused run after run frees memory all the time; the default 256 MB of
// freed memory held back for use-after-free checks would be filled and zeroed
// again and again. 64 MB still holds many runs' worth.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=64"; }

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

// The client as it is saved: its random engine has drawn once, as a freshly seeded
// engine fills its whole table on the first draw and every run would pay for that;
// and the record file of the empty scratch folder is known to be absent, so a run's
// seat names need not look for it.
inline void PrepareForSave(ClientContext& ctx) {
  ctx.RandomBelow(2);
  scoring::DeleteRecordFile(ctx);
}

// Runs an input; now and then it runs again after the previous input, and must leave
// the same: the client put back between inputs keeps nothing of one for the next.
// The run puts the client back at its end rather than at the next start: it then
// frees about as much as it took, and the fuzzer finds no growth to search for leaks.
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
