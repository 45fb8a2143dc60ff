#pragma once
// A client context on the sim backend with the start-up layout done for a screen.
#include <memory>

#include "../kind_check.h"
#include "app/client_context.h"
#include "platform/sim/sim_platform.h"

namespace tavrel::testing_support {

struct LaidOutTable {
  platform::sim::SimPlatform platform;
  std::unique_ptr<ClientContext> ctx;

  explicit LaidOutTable(int screenWidth = 1280, int screenHeight = 1024) {
    platform.screen = {screenWidth, screenHeight};
    ctx = std::make_unique<ClientContext>(platform);
    InstallParts(*ctx);
    ctx->hooks.prepareLayout();
    ctx->hooks.finishLayout();
  }
  // A test that looked up a control under the wrong kind fails.
  ~LaidOutTable() { testing::ExpectNoKindMismatches(ctx->ui); }
  platform::Form& main() { return ctx->main(); }
  platform::Control& control(const char* name, int index = -1) { return *ctx->main().Find(name, index); }
};

}  // namespace tavrel::testing_support
