#pragma once
// A prop plug-in for the unit tests, behind the same C interface as a real one: the
// test says what it answers and reads what it was told. One is current at a time.
#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/client_context.h"
#include "props/plugin_library.h"
#include "session/cp936.h"

namespace tavrel::testing {

struct FakePropPlugin {
  // ---- What it answers ----
  bool initOk = true;
  bool chests = false;
  int positionCount = 2 * props::kChestPlaces;  // what GetBaoInfo reports writing
  int animationTicks = 10;
  int closedPicture = 20001, openPicture = 20002;
  int userInfoAnswer = 1;
  // CheckSendBuff: the items' count unless waitingOverride is set.
  int waitingOverride = -1;
  struct Item {
    int type = 0;
    std::string text;  // UTF-8; sent as code page 936
    std::vector<std::uint8_t> packet;
    std::vector<int> layout, style;
    int textLength = -2;  // -2: the text's own length; otherwise this (garbage) length
  };
  std::deque<Item> items;
  // GetScoreInfo: the answer and, when 1, the results.
  int scoreAnswer = 0;
  std::array<std::string, 8> scoreEntries;  // UTF-8
  std::array<double, 4> scoreGold{};
  std::array<std::string, 4> scoreNames;

  // ---- What it was told ----
  std::vector<std::string> calls;
  std::vector<Packet> received;
  std::vector<int> keys, bankStates, showNext, gifs, clearedUsers;
  std::vector<std::vector<int>> states;  // rec_state: code, value, data
  std::vector<std::string> users;        // SetUserinfo: user names, UTF-8
  std::string initUser;

  FakePropPlugin() { Current() = this; }
  ~FakePropPlugin() {
    if (Current() == this) Current() = nullptr;
  }
  FakePropPlugin(const FakePropPlugin&) = delete;

  int Count(const std::string& call) const { return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }

  static FakePropPlugin*& Current() {
    static FakePropPlugin* current = nullptr;
    return current;
  }

  // The plug-in as a loaded library would give it.
  static std::shared_ptr<const props::PluginApi> Api() {
    auto api = std::make_shared<props::PluginApi>();
    api->abi_version = [] { return int32_t{TAVREL_PROP_ABI_VERSION}; };
    api->Initdll = [](TavrelPropText* user, TavrelPropText*, const char*, int32_t, uint64_t, const char*, int32_t,
                      int16_t*, int16_t*) -> int32_t {
      Log("Initdll");
      F().initUser = text::Cp936ToUtf8(std::string(user->bytes, static_cast<std::size_t>(user->length)));
      return F().initOk;
    };
    api->GetBaoInfo = [](int32_t* positions, int32_t* count, int32_t* size, int32_t* closed, int32_t* open,
                         int32_t* label, int32_t* openAt, int32_t* ticks) -> int32_t {
      Log("GetBaoInfo");
      for (int m = 0; m < props::kChestPlaces; ++m) {
        positions[m] = 300 + 80 * (m % 5);
        positions[m + props::kChestPlaces] = 360 - 110 * (m / 5);
      }
      *count = F().positionCount;
      size[0] = 64;
      size[1] = 56;
      *closed = F().closedPicture;
      *open = F().openPicture;
      label[0] = 512;
      label[1] = 180;
      openAt[0] = 480;
      openAt[1] = 290;
      *ticks = F().animationTicks;
      return F().chests;
    };
    api->Rec_MSG = [](uint8_t* p, int32_t n) {
      Log("Rec_MSG");
      Packet copy{};
      std::copy_n(p, std::min<int32_t>(n, static_cast<int32_t>(copy.size())), copy.begin());
      F().received.push_back(copy);
    };
    api->SetUserinfo = [](const char* name, int32_t n, const char*, int32_t, int32_t, int32_t, int32_t, int32_t,
                          const char*, int32_t, const char*, int32_t) -> int32_t {
      Log("SetUserinfo");
      F().users.push_back(text::Cp936ToUtf8(std::string(name, static_cast<std::size_t>(n))));
      return F().userInfoAnswer;
    };
    api->Ainit = [](const char*, int32_t) -> int32_t {
      Log("Ainit");
      return 1;
    };
    api->rec_state = [](int32_t code, int32_t* value, int32_t data) {
      Log("rec_state");
      F().states.push_back({code, *value, data});
    };
    api->ClearUser = [](int16_t p) {
      Log("ClearUser");
      F().clearedUsers.push_back(p);
    };
    api->CheckSendBuff = []() -> int32_t {
      Log("CheckSendBuff");
      return F().waitingOverride >= 0 ? F().waitingOverride : static_cast<int32_t>(F().items.size());
    };
    api->GetSendBuff = [](int32_t* picture, TavrelPropText* text, uint8_t* packet, int32_t* packetLength,
                          int16_t* type, int32_t* layout, int32_t* layoutCount, int32_t* style, int32_t* styleCount) {
      Log("GetSendBuff");
      if (F().items.empty()) return;
      const Item item = F().items.front();
      F().items.pop_front();
      *picture = 0;
      *type = static_cast<int16_t>(item.type);
      const std::string gbk = text::Utf8ToCp936(item.text);
      std::memcpy(text->bytes, gbk.data(), std::min<std::size_t>(gbk.size(), text->capacity));
      text->length = item.textLength == -2 ? static_cast<int32_t>(gbk.size()) : item.textLength;
      std::copy(item.packet.begin(), item.packet.end(), packet);
      *packetLength = static_cast<int32_t>(item.packet.size());
      std::copy(item.layout.begin(), item.layout.end(), layout);
      *layoutCount = static_cast<int32_t>(item.layout.size());
      std::copy(item.style.begin(), item.style.end(), style);
      *styleCount = static_cast<int32_t>(item.style.size());
    };
    api->GetScoreInfo = [](TavrelPropText* entries, double* gold, TavrelPropText* names) -> int32_t {
      Log("GetScoreInfo");
      if (F().scoreAnswer != 1) return F().scoreAnswer;
      auto put = [](TavrelPropText& t, const std::string& utf8) {
        const std::string gbk = text::Utf8ToCp936(utf8);
        std::memcpy(t.bytes, gbk.data(), gbk.size());
        t.length = static_cast<int32_t>(gbk.size());
      };
      for (int i = 0; i < 8; ++i) put(entries[i], F().scoreEntries[i]);
      for (int p = 0; p < 4; ++p) {
        put(names[p], F().scoreNames[p]);
        gold[p] = F().scoreGold[p];
      }
      return 1;
    };
    api->InitShowEnd = [] { Log("InitShowEnd"); };
    api->InitShowNext = [](int32_t b) {
      Log("InitShowNext");
      F().showNext.push_back(b);
    };
    api->ShowGif = [](int32_t, int32_t on) {
      Log("ShowGif");
      F().gifs.push_back(on);
    };
    api->SetKeyDown = [](int16_t* k) {
      Log("SetKeyDown");
      F().keys.push_back(*k);
    };
    api->FixBuffPos = [] { Log("FixBuffPos"); };
    api->setbankstate = [](int32_t s) {
      Log("setbankstate");
      F().bankStates.push_back(s);
    };
    api->UpdataMyProp = [](int32_t) { Log("UpdataMyProp"); };
    api->InitExit = [](int16_t*) { Log("InitExit"); };
    return api;
  }

  // The client loads this plug-in instead of the file.
  static void UseFor(ClientContext& ctx) {
    ctx.props.loadLibrary = [](const std::string&) { return props::LoadedPlugin{Api(), {}}; };
  }

  // Active at once, as after a successful load.
  void Activate(ClientContext& ctx, int state = props::kActive) {
    ctx.props.PropPlugin = std::make_shared<props::PluginObject>(Api());
    ctx.props.PropState = state;
    ctx.props.PropPolling = true;
  }

 private:
  static FakePropPlugin& F() { return *Current(); }
  static void Log(const char* call) { F().calls.push_back(call); }
};

}  // namespace tavrel::testing
