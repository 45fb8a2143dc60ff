// A prop plug-in that answers with the fuzzer's bytes: item counts and types, text,
// packet and array lengths, chest layouts, score results and their figures. Whatever
// it says, the client never reads or writes outside its buffers, the tick ends, and
// the hand's sheet comes once. The client is built once per process and put back
// after each input, so the props' state must be part of what is put back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/client_context.h"
#include "reused_client.h"
#include "platform/sim/sim_platform.h"
#include "props/props.h"

namespace {

using namespace tavrel;

struct Bytes {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0, at = 0;
  std::uint8_t U8() { return at < size ? data[at++] : 0; }
  std::int32_t I32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | U8();
    return static_cast<std::int32_t>(v);
  }
  double Double() {
    std::uint64_t bits = static_cast<std::uint64_t>(static_cast<std::uint32_t>(I32())) << 32 |
                         static_cast<std::uint32_t>(I32());
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  // Fills at most `room` bytes and answers a length that may be anything.
  std::int32_t Text(char* to, std::int32_t room) {
    const std::int32_t n = std::min<std::int32_t>(U8(), room);
    for (std::int32_t i = 0; i < n; ++i) to[i] = static_cast<char>(U8());
    return (U8() & 7) == 0 ? I32() : n;
  }
};
Bytes in;

void FillText(TavrelPropText* t) { t->length = in.Text(t->bytes, t->capacity); }

std::shared_ptr<const props::PluginApi> FuzzApi() {
  auto api = std::make_shared<props::PluginApi>();
  api->abi_version = [] { return std::int32_t{TAVREL_PROP_ABI_VERSION}; };
  api->Initdll = [](TavrelPropText* a, TavrelPropText* b, const char*, std::int32_t, std::uint64_t, const char*,
                    std::int32_t, std::int16_t*, std::int16_t*) -> std::int32_t {
    FillText(a);
    FillText(b);
    return in.U8() != 0 ? 1 : 0;
  };
  api->GetBaoInfo = [](std::int32_t* positions, std::int32_t* count, std::int32_t* size, std::int32_t* closed,
                       std::int32_t* open, std::int32_t* label, std::int32_t* openAt, std::int32_t* ticks) -> std::int32_t {
    const std::int32_t room = *count;
    for (std::int32_t i = 0; i < room; ++i) positions[i] = static_cast<std::int16_t>(in.I32());
    *count = (in.U8() & 3) == 0 ? in.I32() : room;
    for (std::int32_t* v : {size, size + 1, closed, open, label, label + 1, openAt, openAt + 1, ticks}) *v = in.I32();
    return in.U8() != 0;
  };
  api->Rec_MSG = [](std::uint8_t*, std::int32_t) {};
  api->SetUserinfo = [](const char*, std::int32_t, const char*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                        std::int32_t, const char*, std::int32_t, const char*, std::int32_t) -> std::int32_t {
    return in.U8() != 0;
  };
  api->Ainit = [](const char*, std::int32_t) -> std::int32_t { return 1; };
  api->rec_state = [](std::int32_t, std::int32_t*, std::int32_t) {};
  api->ClearUser = [](std::int16_t) {};
  api->CheckSendBuff = []() -> std::int32_t { return (in.U8() & 1) ? in.I32() : in.U8() & 3; };
  api->GetSendBuff = [](std::int32_t* picture, TavrelPropText* text, std::uint8_t* packet, std::int32_t* packetLength,
                        std::int16_t* type, std::int32_t* layout, std::int32_t* layoutCount, std::int32_t* style,
                        std::int32_t* styleCount) {
    *picture = in.I32();
    *type = static_cast<std::int16_t>(static_cast<int>(in.U8() % 8) - 1);
    FillText(text);
    const std::int32_t room = *packetLength;
    if (in.U8() & 1) std::memset(packet, in.U8(), static_cast<std::size_t>(room));
    *packetLength = (in.U8() & 1) ? room : in.I32();
    const std::int32_t layoutRoom = *layoutCount, styleRoom = *styleCount;
    for (std::int32_t i = 0; i < layoutRoom; ++i) layout[i] = in.I32();
    for (std::int32_t i = 0; i < styleRoom; ++i) style[i] = (in.U8() & 1) ? in.I32() : in.U8();
    *layoutCount = (in.U8() & 1) ? in.U8() % (layoutRoom + 1) : in.I32();
    *styleCount = (in.U8() & 1) ? in.U8() % (styleRoom + 1) : in.I32();
  };
  api->GetScoreInfo = [](TavrelPropText* entries, double* gold, TavrelPropText* names) -> std::int32_t {
    const int answer = in.U8() % 3;
    for (int i = 0; i < 8; ++i) FillText(&entries[i]);
    for (int p = 0; p < 4; ++p) {
      FillText(&names[p]);
      gold[p] = (in.U8() & 1) ? in.Double() : in.U8() * 50.0;
    }
    return answer;
  };
  api->InitShowEnd = [] {};
  api->InitShowNext = [](std::int32_t) {};
  api->ShowGif = [](std::int32_t, std::int32_t) {};
  api->SetKeyDown = [](std::int16_t*) {};
  api->FixBuffPos = [] {};
  api->setbankstate = [](std::int32_t) {};
  api->UpdataMyProp = [](std::int32_t) {};
  api->InitExit = [](std::int16_t*) {};
  return api;
}

// The client with its windows laid out, built once per process and put back after
// each input (its state, its windows and the sim platform). Its program folder is
// not there and no other folder may be written, as on a machine where none can
// be: every sheet is built, but no run spends its time on the record file, whose
// writing fuzz_stream covers.
struct TableClient {
  fuzzing::ScratchFolder folder{"fuzz_props"};
  platform::sim::SimPlatform p;
  ClientContext ctx{p};
  std::shared_ptr<const ClientContext::SavedState> state;
  std::shared_ptr<const platform::sim::SimPlatform::Checkpoint> platform;

  TableClient() {
    p.programFolder = (folder.path / "absent").string();
    ::setenv("XDG_STATE_HOME", "", 1);
    ::setenv("HOME", "", 1);
    InstallParts(ctx);
    if (ctx.hooks.prepareLayout) ctx.hooks.prepareLayout();
    if (ctx.hooks.finishLayout) ctx.hooks.finishLayout();
    ctx.session.TableActive = true;
    ctx.startup.PropsSwitch = true;
    ctx.props.loadLibrary = [](const std::string&) { return props::LoadedPlugin{FuzzApi(), {}}; };
    fuzzing::PrepareForSave(ctx);
    state = ctx.SaveState();
    platform = p.Save();
  }
  void Reset() {
    ctx.RestoreState(*state);
    p.Rewind(*platform);
  }
};

// The hand end with the plug-in's show; what it left that can be seen, folded into one number.
std::uint64_t Run(TableClient& client, const std::uint8_t* data, std::size_t size) {
  in = Bytes{data, size, 0};
  auto& p = client.p;
  ClientContext& ctx = client.ctx;
  props::LoadPropPlugin(ctx, false);
  ctx.props.ScoreInfoPending = in.U8() & 1;
  props::StartHandEndShow(ctx, in.U8() & 1);
  // The input picks when, in the show's first two seconds, a chest is clicked (and
  // which). Once the click is made, the sheet is there and the show is over, one
  // more second of polling (twenty rounds of the plug-in's items), and the run ends.
  const int clickTick = in.U8() % 40;
  const auto& b = ctx.props;
  const platform::Control& sheetRows = ctx.ui.form(frm::Hero).Get(ctl::Hero::Num);
  int after = 0;
  for (int tick = 0; tick < 600 && !p.ended && (after < 20 || tick <= clickTick); ++tick) {
    p.Advance(50);
    if (tick == clickTick) ctx.main().Dispatch({platform::UiEventType::Click, ctl::ImgProp.name, in.U8() % 16 - 1});
    const bool over = !b.SettlementPending && !b.ChestCountdown && !b.ChestAnimating;
    if (over && sheetRows.ListCount() > 0) ++after;
  }
  // The sheet came once, within the plug-in's ten seconds, the chests' five and the opening's ten.
  if (sheetRows.ListCount() != 1) __builtin_trap();
  fuzzing::Digest d;
  d.Add(static_cast<std::uint64_t>(p.Now()));
  for (const auto& [name, form] : ctx.ui.Forms()) {
    d.Add(form->Revision());
    d.Add(form->Controls().size());
  }
  d.Add(static_cast<std::uint64_t>(b.PropState) + 8 * b.PropPolling + 16 * b.SettlementPending + 32 * b.ChestCountdown +
      64 * b.ChestAnimating);
  for (auto choice : b.Prop_BaoChs) d.Add(static_cast<std::uint64_t>(choice));
  client.Reset();  // at the end: see fuzzing::RunIndependently
  return d.h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TableClient client;
  fuzzing::RunIndependently("fuzz_props", client, Run, data, size);
  return 0;
}
