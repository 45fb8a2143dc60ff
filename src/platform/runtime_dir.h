#pragma once
// The per-user folder for the lobby link's sockets and the single-instance lock:
// $XDG_RUNTIME_DIR/tavrel, else /tmp/tavrel-<uid>; created with mode 0700.
#include <string>

namespace tavrel::platform {

// Empty when the folder cannot be created or is not ours (owned by another user or too open).
std::string RuntimeDir();
// Holds an exclusive flock on <RuntimeDir>/<name>.lock for the life of the process.
// Returns false when another live process holds it. The lock goes when the process dies.
bool AcquireProcessLock(const std::string& name);
// A file name made of any caption: letters and digits stay, every other byte becomes %XX.
std::string SafeFileName(const std::string& caption);

}  // namespace tavrel::platform
