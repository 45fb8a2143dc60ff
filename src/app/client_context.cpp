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
  platform.onAboutToWait = nullptr;
  if (TimerBong) TimerBong->SetEnabled(false);
  if (TimerKeepAlive) TimerKeepAlive->SetEnabled(false);
  if (Winsock1) {
    Winsock1->onDataArrival = nullptr;
    Winsock1->onClose = nullptr;
  }
}

void ClientContext::Randomize() {
  rng.seed(static_cast<std::uint32_t>(platform.clock().SecondsOfDay() * 1000.0));
}

double ClientContext::Rnd() { return std::uniform_real_distribution<double>(0.0, 1.0)(rng); }

int ClientContext::RandomBelow(int n) {
  if (n <= 1) return 0;
  const int k = static_cast<int>(Rnd() * n);
  return k < n ? k : n - 1;
}

bool ClientContext::Connected() const { return Winsock1 && Winsock1->State() == platform::kSocketConnected; }

void InstallParts(ClientContext& ctx) {
  session::RegisterSession(ctx);
  round::RegisterRound(ctx);
  scoring::RegisterScoring(ctx);
  view::RegisterView(ctx);
  sound::RegisterSound(ctx);
  chat::RegisterChat(ctx);
  props::RegisterProps(ctx);
}

}  // namespace tavrel
