#include "app/client_context.h"

#include "app/registrations.h"
#include "session/transport.h"

namespace tavrel {

ClientContext::ClientContext(platform::Platform& p) : platform(p) {
  Winsock1 = platform.CreateSocket();
  Winsock1->onDataArrival = [this](std::size_t) { session::OnDataArrival(*this); };
  // The peer closed: close our side too; noticing the loss is the watchdog's job.
  Winsock1->onClose = [this] { Winsock1->Close(); };
  session::InstallTimers(*this);
}

ClientContext::~ClientContext() {
  if (TimerBong) TimerBong->SetEnabled(false);
  if (TimerKeepAlive) TimerKeepAlive->SetEnabled(false);
  if (Winsock1) {
    Winsock1->onDataArrival = nullptr;
    Winsock1->onClose = nullptr;
  }
}

bool ClientContext::Connected() const { return Winsock1 && Winsock1->State() == platform::kSocketConnected; }

void InstallParts(ClientContext& ctx) {
  session::RegisterSession(ctx);
  session::RegisterStartup(ctx);
  view::RegisterView(ctx);
}

}  // namespace tavrel
