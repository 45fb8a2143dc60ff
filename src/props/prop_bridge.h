#pragma once
// The bridge to the prop plug-in. Until a plug-in is loaded nothing is active and
// every call is skipped.
#include <memory>
#include <string>

#include "session/wire.h"

namespace tavrel::props {

// One seated player as the plug-in is told of it.
struct PropUser {
  std::string username, tableName;
  int seatMask = 0;
  int position = 0;
  bool hasCredit = false;
  int gender = 0;
  std::string tag, face;
};

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
  // A player's details; false: the plug-in cannot go on at this table.
  virtual bool SetUserinfo(const PropUser&) { return true; }
};

struct PropBridge {
  // Shared so that a saved copy of the state refers to the same plug-in.
  std::shared_ptr<PropPlugin> plugin;
  bool active = false;
  bool Active() const { return active && plugin != nullptr; }
};

}  // namespace tavrel::props
