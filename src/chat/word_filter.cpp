#include "chat/word_filter.h"

#include <fstream>
#include <iterator>

#include "app/client_context.h"
#include "session/cp936.h"
#include "session/ini_file.h"

namespace tavrel::chat {
namespace {

// Only the first lines count; a larger file is read no further.
constexpr std::size_t kFilterFileLimit = 64 * 1024;

bool IsUtf8(std::string_view bytes) { return text::EncodeUtf8(text::DecodeUtf8(bytes)) == bytes; }

}  // namespace

std::string RemoveWord(std::string_view text, std::string_view word) {
  if (word.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t hit; (hit = text.find(word, from)) != std::string_view::npos; from = hit + word.size())
    out.append(text.substr(from, hit - from));
  out.append(text.substr(from));
  return out;
}

std::string FilterChat(const std::array<std::string, kDeploymentEntries>& deployment, std::string_view text) {
  std::string out(text);
  for (const std::string& entry : deployment) out = RemoveWord(out, entry);
  for (const char* entry : kFixedFilterEntries) out = RemoveWord(out, entry);
  return out;
}

std::string FilterChat(const ClientContext& ctx, std::string_view text) {
  return FilterChat(ctx.chat.DeploymentFilterEntries, text);
}

std::array<std::string, kDeploymentEntries> ReadFilterFile(const std::string& path) {
  std::array<std::string, kDeploymentEntries> entries{};
  std::ifstream in(path, std::ios::binary);
  if (!in) return entries;
  std::string bytes(kFilterFileLimit, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  // A file cut at the limit ends with its last whole line.
  if (in.gcount() == static_cast<std::streamsize>(kFilterFileLimit)) bytes.resize(bytes.rfind('\n') + 1);

  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  bool utf8 = bytes.starts_with(kUtf8Mark);
  if (utf8) bytes.erase(0, kUtf8Mark.size());
  utf8 = utf8 || IsUtf8(bytes);
  const std::string content = utf8 ? text::EncodeUtf8(text::DecodeUtf8(bytes)) : text::Cp936ToUtf8(bytes);

  std::size_t count = 0, from = 0;
  while (count < entries.size() && from < content.size()) {
    std::size_t end = content.find('\n', from);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) entries[count++] = std::move(line);
    from = end + 1;
  }
  return entries;
}

void LoadFilterEntries(ClientContext& ctx) {
  ctx.chat.DeploymentFilterEntries = ReadFilterFile(classIniFile::JoinPath(ctx.platform.ProgramFolder(), kFilterFileName));
}

}  // namespace tavrel::chat
