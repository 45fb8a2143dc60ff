#include "platform/writable_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace tavrel::platform {
namespace {

bool WritableDir(const std::string& dir) {
  struct stat st {};
  return !dir.empty() && ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         ::access(dir.c_str(), W_OK | X_OK) == 0;
}

// Creates the folder and the ones above it that are missing.
bool MakeDirs(const std::string& dir) {
  if (WritableDir(dir)) return true;
  const std::size_t slash = dir.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeDirs(dir.substr(0, slash))) return false;
  ::mkdir(dir.c_str(), 0700);
  return WritableDir(dir);
}

std::string TrimSlashes(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

}  // namespace

std::string WritableFolderFor(const std::string& programFolder, const char* xdgStateHome, const char* home) {
  if (WritableDir(programFolder)) return TrimSlashes(programFolder);
  // Only an absolute XDG_STATE_HOME counts; a relative one is to be ignored.
  if (xdgStateHome && xdgStateHome[0] == '/') {
    const std::string dir = TrimSlashes(xdgStateHome) + "/tavrel";
    if (MakeDirs(dir)) return dir;
  }
  if (home && home[0] == '/') {
    const std::string dir = TrimSlashes(home) + "/.local/state/tavrel";
    if (MakeDirs(dir)) return dir;
  }
  return {};
}

std::string WritableFolder(const std::string& programFolder) {
  return WritableFolderFor(programFolder, std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

std::string WritableFilePath(const std::string& programFolder, const std::string& fileName) {
  const std::string dir = WritableFolder(programFolder);
  if (dir.empty()) return {};
  return (dir == "/" ? std::string() : dir) + "/" + fileName;
}

}  // namespace tavrel::platform
