#include "platform/runtime_dir.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace tavrel::platform {
namespace {

bool UsableDir(const std::string& dir) {
  ::mkdir(dir.c_str(), 0700);
  struct stat st {};
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  if (st.st_uid != ::getuid()) return false;
  if ((st.st_mode & 077) != 0) ::chmod(dir.c_str(), 0700);
  return true;
}

}  // namespace

std::string RuntimeDir() {
  if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg) {
    std::string dir = std::string(xdg) + "/tavrel";
    if (UsableDir(dir)) return dir;
  }
  std::string dir = "/tmp/tavrel-" + std::to_string(::getuid());
  return UsableDir(dir) ? dir : std::string();
}

bool AcquireProcessLock(const std::string& name) {
  const std::string dir = RuntimeDir();
  if (dir.empty()) return true;  // nowhere to keep a lock: do not refuse to start
  const std::string path = dir + "/" + SafeFileName(name) + ".lock";
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  // Kept open on purpose: the lock lives as long as the process.
  return true;
}

std::string SafeFileName(const std::string& caption) {
  std::string out;
  for (unsigned char c : caption) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_') {
      out.push_back(static_cast<char>(c));
    } else {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    }
  }
  return out.empty() ? std::string("%") : out;
}

}  // namespace tavrel::platform
