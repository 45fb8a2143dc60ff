#include "props/prop_plugin.h"

#include <algorithm>
#include <cmath>

#include "session/cp936.h"

namespace tavrel::props {
namespace {

// A by-ref text with its own buffer.
struct TextBuffer {
  std::string storage = std::string(TAVREL_PROP_TEXT_BYTES, '\0');
  TavrelPropText text{storage.data(), 0, TAVREL_PROP_TEXT_BYTES};

  TextBuffer() = default;
  explicit TextBuffer(const std::string& utf8) {
    const std::string gbk = text::Utf8ToCp936(utf8);
    const std::size_t n = std::min(gbk.size(), storage.size());
    std::copy_n(gbk.begin(), n, storage.begin());
    text.length = static_cast<int32_t>(n);
  }
  TextBuffer(const TextBuffer&) = delete;
  bool Ok() const { return text.length >= 0 && text.length <= text.capacity && text.bytes == storage.data(); }
  std::string Utf8() const {
    return Ok() ? text::Cp936ToUtf8(std::string_view(storage.data(), static_cast<std::size_t>(text.length)))
                : std::string();
  }
};

std::string Gbk(const std::string& utf8) { return text::Utf8ToCp936(utf8); }

std::vector<int> Entries(const std::array<int32_t, TAVREL_PROP_LAYOUT_ENTRIES>& a, int32_t count) {
  if (count < 0 || count > TAVREL_PROP_LAYOUT_ENTRIES) return {};
  return std::vector<int>(a.begin(), a.begin() + count);
}

}  // namespace

bool PluginObject::Initdll(const std::string& userName, int displayScale, int pluginNumber) {
  TextBuffer user(userName), second;
  int16_t scale = static_cast<int16_t>(displayScale);
  int16_t number = static_cast<int16_t>(std::clamp(pluginNumber, -32768, 32767));
  static constexpr char kKind[] = "DLL", kConfig[] = "newvlp";
  return api_->Initdll(&user.text, &second.text, kKind, 3, 0, kConfig, 6, &scale, &number) != 0;
}

bool PluginObject::GetBaoInfo(ChestLayout& out) {
  std::array<int32_t, 2 * kChestPlaces> positions{};
  int32_t count = static_cast<int32_t>(positions.size());
  int32_t size[2] = {0, 0}, label[2] = {0, 0}, open[2] = {0, 0};
  int32_t closed = 0, opened = 0, ticks = 0;
  if (api_->GetBaoInfo(positions.data(), &count, size, &closed, &opened, label, open, &ticks) == 0) return false;
  // A layout of another length or a chest of no size cannot be shown: no chests.
  if (count != static_cast<int32_t>(positions.size()) || size[0] <= 0 || size[1] <= 0) return false;
  std::copy(positions.begin(), positions.end(), out.positions.begin());
  out.width = size[0];
  out.height = size[1];
  out.closedPicture = closed;
  out.openPicture = opened;
  out.labelX = label[0];
  out.labelY = label[1];
  out.openX = open[0];
  out.openY = open[1];
  out.animationTicks = ticks;
  return true;
}

void PluginObject::Rec_MSG(const Packet& packet) {
  // The plug-in may write into its copy; the client's packet stays as it came.
  Packet copy = packet;
  api_->Rec_MSG(copy.data(), static_cast<int32_t>(copy.size()));
}

bool PluginObject::SetUserinfo(const PropUser& u) {
  const std::string name = Gbk(u.username), table = Gbk(u.tableName), tag = Gbk(u.tag), face = Gbk(u.face);
  auto length = [](const std::string& s) { return static_cast<int32_t>(s.size()); };
  return api_->SetUserinfo(name.data(), length(name), table.data(), length(table), u.seatMask, u.position,
                           u.hasCredit ? 1 : 0, u.gender, tag.data(), length(tag), face.data(), length(face)) != 0;
}

bool PluginObject::Ainit(const std::string& text) {
  const std::string gbk = Gbk(text);
  return api_->Ainit(gbk.data(), static_cast<int32_t>(gbk.size())) != 0;
}

void PluginObject::rec_state(int code, int value, int data) {
  int32_t v = value;
  api_->rec_state(code, &v, data);
}

void PluginObject::ClearUser(int position) { api_->ClearUser(static_cast<int16_t>(position)); }

int PluginObject::CheckSendBuff() { return api_->CheckSendBuff(); }

SendItem PluginObject::GetSendBuff() {
  SendItem item;
  TextBuffer text;
  int32_t picture = 0, packetLength = TAVREL_PROP_PACKET_BYTES;
  int16_t type = -1;
  std::array<int32_t, TAVREL_PROP_LAYOUT_ENTRIES> layout{}, style{};
  int32_t layoutCount = TAVREL_PROP_LAYOUT_ENTRIES, styleCount = TAVREL_PROP_LAYOUT_ENTRIES;
  api_->GetSendBuff(&picture, &text.text, item.packet.data(), &packetLength, &type, layout.data(), &layoutCount,
                    style.data(), &styleCount);
  item.picture = picture;
  item.type = type;
  item.textOk = text.Ok();
  item.text = text.Utf8();
  item.packetLength = packetLength >= 0 && packetLength <= TAVREL_PROP_PACKET_BYTES ? packetLength : 0;
  item.layout = Entries(layout, layoutCount);
  item.style = Entries(style, styleCount);
  return item;
}

struct PluginObject::ScoreTexts {
  std::array<TextBuffer, 8> entries;
  std::array<TextBuffer, 4> names;
  // Every text empty again. The bytes past a text's length are never read, so
  // they stay as the plug-in left them.
  void Blank() {
    for (auto& b : entries) b.text.length = 0;
    for (auto& b : names) b.text.length = 0;
  }
};

int PluginObject::GetScoreInfo(ScoreInfo& out) {
  if (!scoreTexts_) scoreTexts_ = std::make_shared<ScoreTexts>();
  scoreTexts_->Blank();
  auto& entries = scoreTexts_->entries;
  auto& names = scoreTexts_->names;
  std::array<TavrelPropText, 8> entryTexts{};
  std::array<TavrelPropText, 4> nameTexts{};
  for (int i = 0; i < 8; ++i) entryTexts[i] = entries[i].text;
  for (int i = 0; i < 4; ++i) nameTexts[i] = names[i].text;
  std::array<double, 4> gold{};
  const int ready = api_->GetScoreInfo(entryTexts.data(), gold.data(), nameTexts.data());
  if (ready != 1) return ready;
  for (int i = 0; i < 8; ++i) entries[i].text.length = entryTexts[i].length;
  for (int i = 0; i < 4; ++i) names[i].text.length = nameTexts[i].length;
  for (int p = 0; p < 4; ++p) {
    out.title[p] = entries[2 * p].Utf8();
    out.lines[p] = entries[2 * p + 1].Utf8();
    out.names[p] = names[p].Utf8();
    // A figure that is no number counts as nothing won.
    out.gold[p] = std::isfinite(gold[p]) ? gold[p] : 0;
  }
  return 1;
}

void PluginObject::InitShowEnd() { api_->InitShowEnd(); }
void PluginObject::InitShowNext(bool newHand) { api_->InitShowNext(newHand ? 1 : 0); }
void PluginObject::ShowGif(int which, bool on) { api_->ShowGif(which, on ? 1 : 0); }
void PluginObject::SetKeyDown(int key) {
  int16_t k = static_cast<int16_t>(key);
  api_->SetKeyDown(&k);
}
void PluginObject::FixBuffPos() { api_->FixBuffPos(); }
void PluginObject::setbankstate(int state) { api_->setbankstate(state); }
void PluginObject::UpdataMyProp(bool update) { api_->UpdataMyProp(update ? 1 : 0); }
void PluginObject::InitExit() {
  int16_t code = 0;
  api_->InitExit(&code);
}

}  // namespace tavrel::props
