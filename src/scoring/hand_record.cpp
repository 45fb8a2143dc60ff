#include "scoring/hand_record.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "app/client_context.h"
#include "platform/names.h"
#include "platform/writable_folder.h"
#include "session/ini_file.h"
#include "view/pictures.h"

namespace tavrel::scoring {
namespace {

constexpr int kColumns = 4;
constexpr int kLists = 8;
constexpr int kAvatarCount = 20;
// A line count beyond this is no sheet of ours: the list is left as it is.
constexpr double kMostLines = 10000;

// A number at the start of a value ("12", "-3.5"), as the record's readers take it;
// false when the value does not start with one.
bool LeadingNumber(const std::string& text, double& out) {
  if (text.empty()) return false;
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(begin, &end);
  if (end == begin || errno == ERANGE || !std::isfinite(v)) return false;
  out = v;
  return true;
}

}  // namespace

std::string RecordFilePath(const ClientContext& ctx) {
  return platform::WritableFilePath(ctx.platform.ProgramFolder(), kRecordFileName);
}

void DeleteRecordFile(ClientContext& ctx) {
  if (!ctx.players.RecordFileMayExist) return;
  const std::string path = RecordFilePath(ctx);
  if (!path.empty()) ::unlink(path.c_str());
  ctx.players.RecordFileMayExist = false;
}

std::string RecordSection(int handNo) { return "juNum:" + std::to_string(handNo); }
std::string NameKey(int i) { return "name( " + std::to_string(i) + " )"; }
std::string AvatarKey(int i) { return "PicIndex( " + std::to_string(i) + " )"; }
std::string CountKey(int i) { return "count( " + std::to_string(i) + " )"; }
std::string LineKey(int i, int j) { return CountKey(i) + "( " + std::to_string(j) + " )"; }
std::string ColourKey(int i) { return CountKey(i) + " ForeColor"; }

void WriteHandRecord(ClientContext& ctx, int handNo) {
  const std::string path = RecordFilePath(ctx);
  if (path.empty()) return;
  ctx.players.RecordFileMayExist = true;
  classIniFile ini(path);
  classIniFile::Batch batch(ini);
  const std::string section = RecordSection(handNo);
  platform::Form& sheet = ctx.ui.form(frm::Score);
  for (int i = 0; i < kColumns; ++i) {
    const SheetFace& face = ctx.players.SheetFace[i];
    ini.WriteIniKey(section, NameKey(i), face.name);
    // The avatar index the sheet keeps for the seat (empty while it has none).
    const platform::Control* avatar = sheet.Find(ctl::Score::Tou, i);
    ini.WriteIniKey(section, AvatarKey(i), avatar ? avatar->tag : std::string());
  }
  for (int i = 0; i < kLists; ++i) {
    const platform::Control& list = sheet.Get(ctl::Score::State, i);
    const auto& lines = list.Items();
    ini.WriteIniKey(section, CountKey(i), std::to_string(lines.size()));
    for (std::size_t j = 0; j < lines.size(); ++j) ini.WriteIniKey(section, LineKey(i, static_cast<int>(j)), lines[j]);
  }
  for (int i = 0; i < kColumns; ++i)
    ini.WriteIniKey(section, ColourKey(i), std::to_string(sheet.Get(ctl::Score::State, i).ForeColor()));
}

void ShowHandRecord(ClientContext& ctx, int handNo) {
  if (handNo == 0) return;
  const std::string path = RecordFilePath(ctx);
  classIniFile ini(path);
  const std::string section = RecordSection(handNo);
  platform::Form& sheet = ctx.ui.form(frm::Score);
  auto read = [&](const std::string& key) { return path.empty() ? std::string() : ini.GetIniKey(section, key); };
  for (int i = 0; i < kColumns; ++i) {
    sheet.Get(ctl::Score::ID, i).SetCaption(read(NameKey(i)));
    double k = 0;
    if (LeadingNumber(read(AvatarKey(i)), k)) {
      const double index = std::nearbyint(k);
      if (index >= 0 && index < kAvatarCount) {
        platform::Control& avatar = sheet.Get(ctl::Score::Tou, i);
        view::LoadResourcePicture(ctx, ctx.view.AvatarPictures[static_cast<int>(index)], avatar);
      }
    }
  }
  for (int i = 0; i < kColumns; ++i) {
    sheet.Get(ctl::Score::State, i).SetForeColor(platform::kBlack);
    sheet.Get(ctl::Score::ID, i).SetForeColor(platform::kRed);
  }
  for (int i = 0; i < kLists; ++i) {
    const std::string countText = read(CountKey(i));
    if (countText.empty()) return;
    double count = 0;
    if (!LeadingNumber(countText, count)) count = 0;
    count = std::max(0.0, std::trunc(count));
    if (count > kMostLines) continue;  // edited into nonsense: this list stays as it is
    const int c = static_cast<int>(count);
    platform::Control& list = sheet.Get(ctl::Score::State, i);
    while (list.ListCount() < c) list.AddItem(" ");
    while (list.ListCount() > c) list.RemoveItem(list.ListCount() - 1);
    for (int j = 0; j < c; ++j) {
      const std::string line = read(LineKey(i, j));
      list.SetItem(j, line.empty() ? std::string(" ") : line);
    }
  }
  for (int i = 0; i < kColumns; ++i) {
    double colour = 0;
    if (!LeadingNumber(read(ColourKey(i)), colour)) continue;
    colour = std::nearbyint(colour);
    // A colour outside the 24 bits of a colour value is no colour: the column keeps black.
    if (colour >= 0 && colour <= 0xFFFFFF) sheet.Get(ctl::Score::State, i).SetForeColor(static_cast<std::uint32_t>(colour));
  }
}

}  // namespace tavrel::scoring
