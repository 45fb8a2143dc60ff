// The input is an INI file. It is read, one key is written, keys and a
// section are removed, and the results are checked against what a fresh
// reader of the file sees: no value may smuggle a line break into the file.
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
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(input.data(), 1, input.size(), f);
    std::fclose(f);
  }
  // Names to probe come from the input, so they can match what is in it.
  const std::size_t n = size > 0 ? data[0] % 16 : 0;
  const std::string_view rest = input.substr(std::min<std::size_t>(1, size));
  const std::string section = tavrel::text::Cp936ToUtf8(rest.substr(0, n));
  const std::string key = tavrel::text::Cp936ToUtf8(rest.substr(std::min(n, rest.size()), n));
  const std::string value = TextValue(input.substr(size > 64 ? size - 64 : 0));

  classIniFile ini(path);
  ini.GetIniKey("juNum:1", "name( 0 )");
  const std::string before = ini.GetIniKey(section, key);
  Check(before.find_first_of("\r\n") == std::string::npos, "line break in a value read");

  ini.WriteIniKey("juNum:1", "count( 0 )( 0 )", value);
  Check(ini.GetIniKey("juNum:1", "count( 0 )( 0 )") == ExpectedRead(value), "value read back");
  Check(classIniFile(path).GetIniKey("juNum:1", "count( 0 )( 0 )") == ExpectedRead(value), "value re-read");

  ini.WriteIniKey(section, key, value);
  Check(ini.GetIniKey(section, key) == classIniFile(path).GetIniKey(section, key), "kept copy differs from file");

  ini.DelIniKey(section, key);
  Check(ini.GetIniKey(section, key).empty(), "key still there");
  ini.DelIniSec("juNum:1");
  Check(classIniFile(path).GetIniKey("juNum:1", "count( 0 )( 0 )").empty(), "section still there");
  return 0;
}
