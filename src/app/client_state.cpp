#include "app/client_context.h"

namespace tavrel {

// Every member of ClientContext that changes while it runs, bar the platform's
// objects (socket, timers), whose state the platform keeps.
struct ClientContext::SavedState {
  session::SessionState session;
  session::Scheduler sched;
  session::Dispatcher dispatcher;
  session::Startup startup;
  round::Table table;
  scoring::Players players;
  scoring::HandEnd handEnd;
  view::ViewState view;
  props::PropBridge props;
  sound::SoundState sound;
  chat::ChatState chat;
  Hooks hooks;
  std::mt19937 rng;
  std::shared_ptr<const platform::Ui::Saved> ui;
};

std::shared_ptr<const ClientContext::SavedState> ClientContext::SaveState() const {
  return std::make_shared<const SavedState>(
      SavedState{session, sched, dispatcher, startup, table, players, handEnd, view, props, sound, chat, hooks, rng, ui.Save()});
}

void ClientContext::RestoreState(const SavedState& saved) {
  ui.Restore(*saved.ui);
  session = saved.session;
  sched = saved.sched;
  if (dispatcher.registrations != saved.dispatcher.registrations) dispatcher = saved.dispatcher;
  startup = saved.startup;
  table = saved.table;
  players = saved.players;
  handEnd = saved.handEnd;
  view = saved.view;
  props = saved.props;
  sound = saved.sound;
  chat = saved.chat;
  hooks = saved.hooks;
  rng = saved.rng;
}

}  // namespace tavrel
