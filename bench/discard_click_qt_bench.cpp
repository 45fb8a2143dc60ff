// From a click on an own tile to the discard: the mouse press through the Qt
// window, the first frame drawn after it, and the DiscardTile packet at a loopback
// peer, with the real 50 ms scheduler timer and socket.
// Targets: the packet within one scheduler tick (50 ms) of the click, when no pass
// goes before it; the tile at the table centre in the first frame after the click.
// With an offer still open the pass leaves first and the discard on the next tick.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

#include "qt_table_setup.h"
#include "round/table_model.h"
#include "view/hand_view.h"
#include "view/row_layout.h"

namespace {

using namespace tavrel;

// One turn of an event loop that may block, as the program's own loop turns: the
// scheduler plans its next tick when the loop is about to wait (a loop that only
// polls never tells it, and the click's packet would wait for the idle timer).
void WaitOnce() {
  QEventLoop loop;
  QTimer::singleShot(1, &loop, &QEventLoop::quit);
  loop.exec();
}

constexpr int kOwnMask = 2;

struct ClickRig {
  bench::QtTable table;
  QTcpServer peer;
  QTcpSocket* far = nullptr;
  QByteArray received;
  round::PlayerEntry dealt;

  ClickRig() {
    ClientContext& ctx = *table.ctx;
    peer.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&peer, &QTcpServer::newConnection, [this] {
      far = peer.nextPendingConnection();
      QObject::connect(far, &QTcpSocket::readyRead, [this] { received.append(far->readAll()); });
    });
    ctx.Winsock1->RemoteHost = "127.0.0.1";
    ctx.Winsock1->RemotePort = peer.serverPort();
    ctx.Winsock1->Connect();
    QElapsedTimer t;
    t.start();
    while ((!ctx.Connected() || !far) && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ctx.session.TableActive = true;
    ctx.view.HandStarted[2] = true;
    for (int r = 0; r < 4; ++r) ctx.table.custom[r].seat = round::MaskAt(1, r);
    // Fourteen own tiles standing in their row, face up.
    auto& own = ctx.table.custom[0];
    own.firstConcealed = 4;
    own.concealedCount = 14;
    const int codes[14] = {0x81, 0x82, 0x83, 0x45, 0x45, 0x47, 0x22, 0x23, 0x24, 0x29, 0x11, 0x11, 0x13, 0x17};
    for (int k = 0; k < 14; ++k) own.tiles[4 + k] = {1, static_cast<std::int16_t>(codes[k]), static_cast<std::int16_t>(20 + k)};
    dealt = own;
  }

  // The hand back as dealt, a discard due; `offerOpen`: an offer not answered yet.
  void Deal(bool offerOpen) {
    ClientContext& ctx = *table.ctx;
    ctx.table.custom[0] = dealt;
    view::SetRowTileSize(ctx, 0);
    view::LayOutConcealedRow(ctx, 0);
    for (int k = 4; k < 18; ++k)
      view::LoadTilePicture(ctx, dealt.tiles[k].imageIndex, view::TilePictureIndex(dealt.tiles[k].code, 4));
    ctx.table.DiscardAllowed = round::kTrue;
    ctx.view.input.DecisionState = offerOpen ? view::kOfferOpen : view::kAnswered;
    ctx.view.input.ReplySent = !offerOpen;
    table.ui->SyncNow();
    QCoreApplication::processEvents();
    received.clear();
  }

  // Window coordinates of the middle of own tile n.
  QPointF TileCentre(int n) {
    ClientContext& ctx = *table.ctx;
    const auto& surface = *ctx.main().Find(ctl::Pic1);
    const auto& tile = view::TileImage(ctx, dealt.tiles[4 + n].imageIndex);
    return {surface.Left() + tile.Left() + tile.Width() / 2, surface.Top() + tile.Top() + tile.Height() / 2};
  }

  void Press(QPointF at) {
    auto* window = table.ui->Window(kMainForm);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent e(type, at, window->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QCoreApplication::sendEvent(window, &e);
    }
  }

  // The frame drawn now shows a tile face (light) in the middle of the table centre.
  bool TileAtCentreInFrame() {
    ClientContext& ctx = *table.ctx;
    const QImage frame = table.ui->Window(kMainForm)->Render();
    const auto& surface = *ctx.main().Find(ctl::Pic1);
    const auto box = view::CentreBox(ctx, 0);
    const QColor c = frame.pixelColor(static_cast<int>(surface.Left() + box.left + box.width / 2),
                                      static_cast<int>(surface.Top() + box.top + 6));
    return c.lightness() > 180;
  }

  // Packets that reached the peer, by command number at offset 3.
  int Arrived(int command) const {
    int n = 0;
    for (int i = 0; i + 272 <= received.size(); i += 272)
      if (static_cast<unsigned char>(received[i + 3]) == command) ++n;
    return n;
  }
};

void ClickToDiscard(benchmark::State& state, bool offerOpen) {
  ClickRig rig;
  double worstMs = 0, sumMs = 0, sumHandlerUs = 0, worstFrameUs = 0;
  int runs = 0, framesWithTile = 0, framesBefore = 0;
  for (auto _ : state) {
    state.PauseTiming();
    rig.Deal(offerOpen);
    framesBefore += rig.TileAtCentreInFrame();  // the check sees the bare felt before the click
    state.ResumeTiming();
    // The click comes at any moment of the scheduler's tick.
    QElapsedTimer t;
    t.start();
    rig.Press(rig.TileCentre(5));
    const double handlerUs = t.nsecsElapsed() / 1000.0;
    framesWithTile += rig.TileAtCentreInFrame();
    const double frameUs = t.nsecsElapsed() / 1000.0;
    while (rig.Arrived(2) == 0 && t.elapsed() < 2000) WaitOnce();
    const double ms = t.nsecsElapsed() / 1e6;
    state.SetIterationTime(ms / 1000.0);
    worstMs = std::max(worstMs, ms);
    worstFrameUs = std::max(worstFrameUs, frameUs);
    sumMs += ms;
    sumHandlerUs += handlerUs;
    ++runs;
    // The next click comes some way into the next tick.
    QElapsedTimer gap;
    gap.start();
    while (gap.elapsed() < 7 * runs % 50) WaitOnce();
  }
  state.counters["to_packet_mean_ms"] = sumMs / runs;
  state.counters["to_packet_max_ms"] = worstMs;
  state.counters["handler_mean_us"] = sumHandlerUs / runs;
  state.counters["click_and_frame_max_us"] = worstFrameUs;
  state.counters["tile_in_next_frame"] = static_cast<double>(framesWithTile) / runs;
  state.counters["tile_before_click"] = static_cast<double>(framesBefore) / runs;
  state.counters["pass_sent_first"] = rig.Arrived(7);
}

void BM_ClickToDiscardPacket(benchmark::State& state) { ClickToDiscard(state, false); }
void BM_ClickToDiscardPacketPassFirst(benchmark::State& state) { ClickToDiscard(state, true); }
BENCHMARK(BM_ClickToDiscardPacket)->UseManualTime()->Iterations(60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickToDiscardPacketPassFirst)->UseManualTime()->Iterations(60)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return tavrel::bench::RunWithQt(argc, argv); }
