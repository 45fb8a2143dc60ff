#pragma once
// The bridge to the prop plug-in. Until a plug-in is loaded nothing is active and
// every call is skipped.
#include <memory>
#include <string>

#include "session/wire.h"

namespace tavrel::props {

// The plug-in's methods that the transport and table Parts call.
class PropPlugin {
 public:
  virtual ~PropPlugin() = default;
  virtual void Rec_MSG(const Packet& packet) = 0;
  virtual void ClearUser(int position) = 0;
  virtual void rec_state(int a, bool b) = 0;
  virtual void TableGone() = 0;
  // A new hand clears the chests (true); a shown settlement sheet ends them (false).
  virtual void InitShowNext(bool) {}
};

struct PropBridge {
  std::unique_ptr<PropPlugin> plugin;
  bool active = false;
  bool Active() const { return active && plugin != nullptr; }
};

}  // namespace tavrel::props
