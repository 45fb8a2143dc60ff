// The input is an INI file. It is read, and then either two keys are written
// or a key and a section are removed; the results are checked against what a
// fresh reader of the file sees: no value may smuggle a line break into the file.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "session/cp936.h"
#include "session/ini_file.h"

namespace {

using tavrel::classIniFile;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_ini: %s\n", what);
    std::abort();
  }
}

// One folder for the whole run, removed when the fuzzer exits.
struct WorkFolder {
  std::filesystem::path dir;
  WorkFolder() {
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string tmpl = std::string(base) + "/fuzz_ini.XXXXXX";
    Check(::mkdtemp(tmpl.data()) != nullptr, "mkdtemp");
    dir = tmpl;
  }
  ~WorkFolder() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

// Printable ASCII with CR and LF: what it must read back as is known exactly.
std::string TextValue(std::string_view bytes) {
  std::string out;
  for (unsigned char b : bytes) out.push_back(b % 8 == 0 ? '\n' : b % 8 == 1 ? '\r' : static_cast<char>(0x20 + b % 95));
  return out;
}

std::string ExpectedRead(std::string_view written) {
  std::string out;
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (written[i] == '\r' && i + 1 < written.size() && written[i + 1] == '\n') ++i;
    out.push_back(written[i] == '\r' || written[i] == '\n' ? ' ' : written[i]);
  }
  return tavrel::text::TrimSpaces(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const WorkFolder folder;
  static const std::string path = (folder.dir / "info.vl").string();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600); fd >= 0) {
    Check(::write(fd, input.data(), input.size()) == static_cast<ssize_t>(input.size()), "input written");
    ::close(fd);
  }
  // Names to probe come from the input, so they can match what is in it; the
  // first byte also picks what is done to the file.
  const std::size_t n = size > 0 ? data[0] % 16 : 0;
  const bool removing = size > 0 && (data[0] & 16) != 0;
  const std::string_view rest = input.substr(std::min<std::size_t>(1, size));
  const std::string section = tavrel::text::Cp936ToUtf8(rest.substr(0, n));
  const std::string key = tavrel::text::Cp936ToUtf8(rest.substr(std::min(n, rest.size()), n));
  const std::string value = TextValue(input.substr(size > 64 ? size - 64 : 0));

  // One batch: the file is read once and replaced once; then a fresh reader
  // of the file must see what the kept copy shows.
  classIniFile ini(path);
  std::string kept, keptCount;
  {
    classIniFile::Batch batch(ini);
    ini.GetIniKey("juNum:1", "name( 0 )");
    const std::string before = ini.GetIniKey(section, key);
    Check(before.find_first_of("\r\n") == std::string::npos, "line break in a value read");
    if (removing) {
      ini.DelIniKey(section, key);
      Check(ini.GetIniKey(section, key).empty(), "key still there");
      ini.DelIniSec("juNum:1");
      Check(ini.GetIniKey("juNum:1", "name( 0 )").empty(), "section still there");
    } else {
      ini.WriteIniKey("juNum:1", "count( 0 )( 0 )", value);
      Check(ini.GetIniKey("juNum:1", "count( 0 )( 0 )") == ExpectedRead(value), "value read back");
      ini.WriteIniKey(section, key, value);
    }
    kept = ini.GetIniKey(section, key);
    keptCount = ini.GetIniKey("juNum:1", "count( 0 )( 0 )");
  }
  classIniFile fresh(path);
  classIniFile::Batch batch(fresh);  // one read of the file for both checks
  Check(fresh.GetIniKey(section, key) == kept, "kept copy differs from file");
  Check(fresh.GetIniKey("juNum:1", "count( 0 )( 0 )") == keptCount, "kept copy differs from file");
  // The second write may have replaced the first (same names): then both read the same.
  if (!removing) Check(keptCount == ExpectedRead(value), "value re-read");
  return 0;
}
