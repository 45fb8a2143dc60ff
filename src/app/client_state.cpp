#include "app/client_context.h"

namespace tavrel {

// The modules' state, the handlers and the windows; the platform keeps the state
// of its own objects (socket, timers).
struct ClientContext::SavedState {
  ModuleState modules;
  session::Dispatcher dispatcher;
  std::shared_ptr<const platform::Ui::Saved> ui;
};

std::shared_ptr<const ClientContext::SavedState> ClientContext::SaveState() const {
  return std::make_shared<const SavedState>(SavedState{*this, dispatcher, ui.Save()});
}

void ClientContext::RestoreState(const SavedState& saved) {
  ui.Restore(*saved.ui);
  static_cast<ModuleState&>(*this) = saved.modules;
  // Copying the handlers is the dearest part: only when some were registered since.
  if (dispatcher.registrations != saved.dispatcher.registrations) dispatcher = saved.dispatcher;
}

}  // namespace tavrel
