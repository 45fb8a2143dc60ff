// The sample prop plug-in: a bank, two props thrown at other players (F2 鲜花, F3 鸡蛋,
// each press at the next player round the table), and a treasure chest for the winner
// of a hand. It talks to tavrel-server through the client (sample_protocol.h) and
// to the client only through the C interface (props/plugin_abi.h).
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "props/plugin_abi.h"
#include "sample_protocol.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

namespace sp = tavrel::sample_props;

constexpr int kKeyF2 = 113, kKeyF3 = 114;
constexpr int kBankButton = 0;
constexpr std::uint32_t kMessageColour = 0x00D7FF;  // gold, red in the low byte
constexpr char kLineColour[] = "00032768";          // dark green for the sheet's lines

// UTF-8 text of this file to code page 936, as the client expects.
std::string Gbk(const std::string& utf8) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return utf8;
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size(), outLeft = out.size();
  char* to = out.data();
  iconv(cd, &in, &inLeft, &to, &outLeft);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

struct Seat {
  std::string name;  // GBK
  int mask = 0;
};

struct Item {
  int type = 0;
  std::string text;  // GBK
  std::vector<std::uint8_t> packet;
  std::vector<int> layout, style;
};

struct Plugin {
  bool ready = false;
  int displayScale = 1;
  std::array<Seat, 4> seats;
  std::deque<Item> out;
  int nextTarget = 1;
  bool scoreReady = false;
  std::array<double, 4> chestGold{};
};
Plugin g;

void Put(TavrelPropText* t, const std::string& bytes) {
  if (!t || !t->bytes) return;
  const int n = std::min<int>(static_cast<int>(bytes.size()), t->capacity);
  std::memcpy(t->bytes, bytes.data(), static_cast<std::size_t>(std::max(n, 0)));
  t->length = std::max(n, 0);
}

std::string Text(const char* bytes, int32_t length) {
  return bytes && length > 0 ? std::string(bytes, static_cast<std::size_t>(length)) : std::string();
}

void SystemLine(const std::string& gbk) { g.out.push_back({TAVREL_PROP_ITEM_SYSTEM_LINE, gbk, {}, {}, {}}); }

// A message over the table for `seconds`.
void Floating(const std::string& gbk, double seconds) {
  Item item;
  item.type = TAVREL_PROP_ITEM_FLOATING;
  item.text = gbk;
  item.layout = {420, 40, 302, 250};  // width, height, left, top in design units
  item.style = {100, static_cast<int>(seconds * 10), 14, static_cast<int>(kMessageColour), 2};
  g.out.push_back(item);
}

void SendToServer(int number, std::uint8_t a = 0, std::uint8_t b = 0) {
  Item item;
  item.type = TAVREL_PROP_ITEM_PACKET;
  item.packet.assign(sp::kPacketBytes, 0);
  item.packet[sp::kCommand] = sp::kToServer;
  item.packet[sp::kSeatMask] = static_cast<std::uint8_t>(g.seats[0].mask);
  item.packet[sp::kNumberHigh] = static_cast<std::uint8_t>(number >> 8);
  item.packet[sp::kNumberLow] = static_cast<std::uint8_t>(number & 0xFF);
  item.packet[sp::kPayload] = a;
  item.packet[sp::kPayload + 1] = b;
  g.out.push_back(item);
}

std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::string NameOfMask(int mask) {
  for (const Seat& s : g.seats)
    if (s.mask == mask && mask != 0) return s.name;
  return Gbk("某玩家");
}

int PositionOfMask(int mask) {
  for (int p = 0; p < 4; ++p)
    if (g.seats[p].mask == mask && mask != 0) return p;
  return -1;
}

void ThrowProp(int prop) {
  if (g.seats[0].mask == 0) return;
  for (int tries = 0; tries < 3; ++tries) {
    const int target = g.nextTarget;
    g.nextTarget = g.nextTarget % 3 + 1;
    if (g.seats[target].mask != 0) {
      SendToServer(sp::kUseProp, static_cast<std::uint8_t>(prop), static_cast<std::uint8_t>(g.seats[target].mask));
      return;
    }
  }
  SystemLine(Gbk("系统提示：桌上没有别的玩家"));
}

void PropUsed(const std::uint8_t* p) {
  const std::string user = PositionOfMask(p[sp::kSeatMask]) == 0 ? Gbk("你") : NameOfMask(p[sp::kSeatMask]);
  const std::string target = PositionOfMask(p[sp::kTargetMask]) == 0 ? Gbk("你") : NameOfMask(p[sp::kTargetMask]);
  const std::string what = p[sp::kPropId] == sp::kEgg ? Gbk("扔了一个鸡蛋") : Gbk("送了一朵鲜花");
  const std::string line = user + Gbk(" 向 ") + target + " " + what;
  SystemLine(Gbk("系统提示：") + line);
  Floating(line, 2.5);
}

}  // namespace

EXPORT int32_t tavrel_prop_abi_version(void) { return TAVREL_PROP_ABI_VERSION; }

EXPORT int32_t tavrel_prop_Initdll(TavrelPropText* userName, TavrelPropText*, const char*, int32_t, uint64_t,
                                   const char*, int32_t, int16_t* displayScale, int16_t*) {
  g = Plugin{};
  if (userName && userName->bytes && userName->length > 0) g.seats[0].name = Text(userName->bytes, userName->length);
  g.displayScale = displayScale ? *displayScale : 1;
  g.ready = true;
  return 1;
}

EXPORT int32_t tavrel_prop_GetBaoInfo(int32_t* positions, int32_t* positionCount, int32_t* size,
                                      int32_t* closedPicture, int32_t* openPicture, int32_t* labelPosition,
                                      int32_t* openPosition, int32_t* animationTicks) {
  constexpr int kRowTop[3] = {360, 250, 470};
  constexpr int kFirstLeft = 318, kStep = 80;
  if (!positions || !positionCount || *positionCount < 2 * TAVREL_PROP_CHESTS) return 0;
  for (int m = 0; m < TAVREL_PROP_CHESTS; ++m) {
    positions[m] = kFirstLeft + kStep * (m % 5);
    positions[m + TAVREL_PROP_CHESTS] = kRowTop[m / 5];
  }
  *positionCount = 2 * TAVREL_PROP_CHESTS;
  size[0] = sp::kChestWidth;
  size[1] = sp::kChestHeight;
  *closedPicture = sp::kPicChestClosed;
  *openPicture = sp::kPicChestOpen;
  labelPosition[0] = 512;
  labelPosition[1] = 180;
  openPosition[0] = 480;
  openPosition[1] = 290;
  *animationTicks = 30;
  return 1;
}

EXPORT void tavrel_prop_Rec_MSG(uint8_t* packet, int32_t length) {
  if (!g.ready || !packet || length < static_cast<int32_t>(sp::kPacketBytes)) return;
  const int number = packet[sp::kNumberHigh] << 8 | packet[sp::kNumberLow];
  if (packet[sp::kCommand] == sp::kPropScore) {
    for (int p = 0; p < 4; ++p) {
      g.chestGold[p] = 0;
      for (int s = 0; s < 4; ++s)
        if (g.seats[p].mask == (1 << s)) g.chestGold[p] = U32(packet + sp::kChestGold + 4 * s);
    }
    g.scoreReady = true;
    return;
  }
  if (packet[sp::kCommand] != sp::kFromServer) return;
  if (number == sp::kBankQuery) {
    const std::string line = Gbk("银行存款：") + std::to_string(U32(packet + sp::kBankBalance)) + Gbk(" 金币");
    SystemLine(Gbk("系统提示：") + line);
    Floating(line, 3);
  } else if (number == sp::kUseProp) {
    PropUsed(packet);
  }
}

EXPORT int32_t tavrel_prop_SetUserinfo(const char* userName, int32_t userNameLength, const char*, int32_t,
                                       int32_t seatMask, int32_t position, int32_t, int32_t, const char*, int32_t,
                                       const char*, int32_t) {
  if (position < 0 || position > 3) return 1;
  g.seats[position].name = Text(userName, userNameLength);
  g.seats[position].mask = seatMask;
  return 1;
}

EXPORT int32_t tavrel_prop_Ainit(const char*, int32_t) { return 1; }
EXPORT void tavrel_prop_rec_state(int32_t, int32_t*, int32_t) {}

EXPORT void tavrel_prop_ClearUser(int16_t position) {
  if (position >= 1 && position <= 3) g.seats[position] = Seat{};
}

EXPORT int32_t tavrel_prop_CheckSendBuff(void) { return static_cast<int32_t>(g.out.size()); }

EXPORT void tavrel_prop_GetSendBuff(int32_t* picture, TavrelPropText* text, uint8_t* packet, int32_t* packetLength,
                                    int16_t* type, int32_t* layout, int32_t* layoutCount, int32_t* style,
                                    int32_t* styleCount) {
  if (g.out.empty()) {
    *type = -1;
    return;
  }
  const Item item = g.out.front();
  g.out.pop_front();
  *picture = 0;
  *type = static_cast<int16_t>(item.type);
  Put(text, item.text);
  const int32_t n = std::min<int32_t>(static_cast<int32_t>(item.packet.size()), *packetLength);
  std::copy_n(item.packet.begin(), n, packet);
  *packetLength = n;
  *layoutCount = std::min<int32_t>(static_cast<int32_t>(item.layout.size()), *layoutCount);
  std::copy_n(item.layout.begin(), *layoutCount, layout);
  *styleCount = std::min<int32_t>(static_cast<int32_t>(item.style.size()), *styleCount);
  std::copy_n(item.style.begin(), *styleCount, style);
}

EXPORT int32_t tavrel_prop_GetScoreInfo(TavrelPropText* entries, double* gold, TavrelPropText* names) {
  if (!g.scoreReady) return 0;
  g.scoreReady = false;
  for (int p = 0; p < 4; ++p) {
    gold[p] = g.chestGold[p];
    Put(&names[p], g.seats[p].name);
    if (g.chestGold[p] <= 0) continue;
    const std::string amount = std::to_string(static_cast<long long>(g.chestGold[p]));
    Put(&entries[2 * p], Gbk("宝箱"));
    Put(&entries[2 * p + 1], Gbk("宝箱奖励") + kLineColour + "|" + Gbk("开出 ") + amount + Gbk(" 金币") + kLineColour);
  }
  return 1;
}

EXPORT void tavrel_prop_InitShowEnd(void) {}
EXPORT void tavrel_prop_InitShowNext(int32_t newHand) {
  if (newHand) g.scoreReady = false;
}
EXPORT void tavrel_prop_ShowGif(int32_t, int32_t) {}

EXPORT void tavrel_prop_SetKeyDown(int16_t* key) {
  if (!g.ready || !key) return;
  if (*key == kKeyF2) ThrowProp(sp::kFlower);
  if (*key == kKeyF3) ThrowProp(sp::kEgg);
}

EXPORT void tavrel_prop_FixBuffPos(void) {}

EXPORT void tavrel_prop_setbankstate(int32_t state) {
  if (g.ready && state == kBankButton) SendToServer(sp::kBankQuery);
}

EXPORT void tavrel_prop_UpdataMyProp(int32_t) {}

EXPORT void tavrel_prop_InitExit(int16_t*) {
  g.ready = false;
  g.out.clear();
}
