// Linked into every integration test: before main runs, the test process and
// every program it starts are cut off from the desktop of whoever runs the
// suite, so the suite passes with or without a display and while a player has
// the client open.
// - Qt draws offscreen, at the design's density (whatever the desktop's scale); tests that need an X server start their own Xvfb and
//   hand its display to the program they start.
// - A runtime folder of the process's own (lobby-link sockets, the
//   single-instance lock), removed when the process ends.
// - Message boxes close by themselves.
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

struct IsolatedEnvironment {
  std::string runtimeDir;

  IsolatedEnvironment() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "TAVREL_SCREEN", "TAVREL_SCREENSHOT",
                             "TAVREL_DEBUG_LOG", "TAVREL_PROGRAM_FOLDER", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"})
      ::unsetenv(name);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("TAVREL_BOX_TIMEOUT_MS", "200", 1);
    std::error_code ec;
    std::string tmpl = (std::filesystem::temp_directory_path(ec) / "tavrel_test_runtime.XXXXXX").string();
    if (ec) tmpl = "/tmp/tavrel_test_runtime.XXXXXX";
    if (::mkdtemp(tmpl.data())) {
      runtimeDir = tmpl;
      ::setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
    }
  }
  ~IsolatedEnvironment() {
    std::error_code ec;
    if (!runtimeDir.empty()) std::filesystem::remove_all(runtimeDir, ec);
  }
};

const IsolatedEnvironment isolated;

}  // namespace
