#include "session/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "session/cp936.h"

namespace tavrel {

// Lines are kept as the file's own bytes, so lines this class does not touch
// are written back unchanged. Structure characters ("[", "]", "=", CR, LF,
// space, tab) are never a trail byte of a GBK pair except "[" and "]"; a header
// is found by its first byte and its last "]", so pairs never mislead it.
struct IniLine {
  std::string text;       // without its line end
  std::string foldedKey;  // key lines: trimmed, case-folded key
  std::size_t valuePos = 0;
  bool isKey = false;
};

struct IniSection {
  std::string header;  // the "[name]" line as it stands
  std::string foldedName;
  std::vector<IniLine> lines;
  // Where each key's first line is: built at the first look-up and kept while keys
  // are only replaced or added at the end, so that writing a whole hand's record
  // looks each key up at once instead of reading the section again and again.
  std::unordered_map<std::string, std::size_t> keyAt = {};
  bool keyAtValid = false;
};

struct classIniFile::Document {
  std::vector<IniLine> preamble;  // lines before the first section
  std::vector<IniSection> sections;
  std::string eol = "\r\n";
  // A file that starts with the UTF-8 byte-order mark (as text editors save
  // it) holds UTF-8 and keeps its mark; any other file holds code page 936.
  bool utf8 = false;
};

namespace {

using Document = classIniFile::Document;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// ASCII letters folded to lower case. In code page 936, pairs are copied whole
// so that a trail byte in 'A'..'Z' is not mistaken for a letter; in UTF-8
// every byte of a longer character is 0x80 or more.
std::string Fold(std::string_view bytes, bool utf8) {
  std::string out(bytes);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (!utf8 && b >= 0x81 && b <= 0xFE && i + 1 < out.size()) {
      const auto t = static_cast<unsigned char>(out[i + 1]);
      if (t >= 0x40 && t <= 0xFE && t != 0x7F) ++i;
    } else if (b >= 'A' && b <= 'Z') {
      out[i] = static_cast<char>(b + ('a' - 'A'));
    }
  }
  return out;
}

// ASCII reads the same in code page 936 and in UTF-8: nothing to convert.
bool IsAscii(std::string_view s) {
  unsigned char any = 0;
  for (const char c : s) any |= static_cast<unsigned char>(c);
  return any < 0x80;
}

// UTF-8 text to the bytes that go into one line of the file (code page 936,
// or UTF-8 with broken sequences mended): CR, LF and CRLF become one space,
// zero bytes are dropped.
std::string ToLineBytes(std::string_view utf8, bool fileUtf8) {
  // The usual text, ASCII without line breaks or zero bytes, goes in as it is.
  const bool ascii = IsAscii(utf8);
  auto has = [&](char c) { return !utf8.empty() && std::memchr(utf8.data(), c, utf8.size()); };
  if (ascii && !has('\r') && !has('\n') && !has('\0')) return std::string(utf8);
  const std::string bytes = ascii      ? std::string(utf8)
                            : fileUtf8 ? text::EncodeUtf8(text::DecodeUtf8(utf8))
                                       : text::Utf8ToCp936(utf8);
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      out.push_back(' ');
    } else if (c != '\0') {
      out.push_back(c);
    }
  }
  return out;
}

// The file's bytes as UTF-8 text.
std::string ToUtf8(std::string_view bytes, bool fileUtf8) {
  if (IsAscii(bytes)) return std::string(bytes);
  return fileUtf8 ? text::EncodeUtf8(text::DecodeUtf8(bytes)) : text::Cp936ToUtf8(bytes);
}

std::string Name(std::string_view utf8, bool fileUtf8) { return std::string(Trim(ToLineBytes(utf8, fileUtf8))); }
std::string FoldedName(std::string_view utf8, bool fileUtf8) { return Fold(Name(utf8, fileUtf8), fileUtf8); }

bool IsQuote(char c) { return c == '"' || c == '\''; }

// One pair of matching quotes around a value is not part of it. Neither quote
// is ever a trail byte of a code page 936 pair or part of a UTF-8 character.
bool Quoted(std::string_view v) { return v.size() >= 2 && IsQuote(v.front()) && v.back() == v.front(); }

IniLine MakeLine(std::string text, bool fileUtf8) {
  IniLine line;
  line.text = std::move(text);
  const std::string_view t = line.text;
  const auto eq = t.find('=');
  if (eq != std::string_view::npos) {
    line.isKey = true;
    line.foldedKey = Fold(Trim(t.substr(0, eq)), fileUtf8);
    line.valuePos = eq + 1;
  }
  return line;
}

// "[name]" with anything after the last "]": the trimmed name, or nothing.
bool HeaderName(std::string_view line, std::string_view& name) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return false;
  const auto close = t.rfind(']');
  if (close == 0 || close == std::string_view::npos) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

Document Parse(std::string_view data) {
  Document doc;
  if (data.starts_with(kUtf8Mark)) {
    doc.utf8 = true;
    data.remove_prefix(kUtf8Mark.size());
  }
  // Where the next CR and the next LF are, each looked for again only once passed.
  auto find = [&](char c, std::size_t from) {
    const void* at = std::memchr(data.data() + from, c, data.size() - from);
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - data.data()) : data.size();
  };
  std::size_t nextCr = find('\r', 0), nextLf = find('\n', 0);
  bool eolSeen = false;
  std::size_t pos = 0;
  while (pos < data.size()) {
    if (nextCr < pos) nextCr = find('\r', pos);
    if (nextLf < pos) nextLf = find('\n', pos);
    const std::size_t end = std::min(nextCr, nextLf);
    const std::string_view line = data.substr(pos, end - pos);
    std::size_t next = end;
    if (end < data.size()) {
      const bool crlf = data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n';
      next += crlf ? 2 : 1;
      if (!eolSeen) doc.eol = data.substr(end, next - end);
      eolSeen = true;
    }
    pos = next;
    std::string_view name;
    if (HeaderName(line, name)) {
      doc.sections.push_back({std::string(line), Fold(name, doc.utf8), {}});
    } else {
      auto& lines = doc.sections.empty() ? doc.preamble : doc.sections.back().lines;
      lines.push_back(MakeLine(std::string(line), doc.utf8));
    }
  }
  return doc;
}

std::string Serialize(const Document& doc) {
  std::size_t size = doc.utf8 ? kUtf8Mark.size() : 0;
  auto count = [&](const IniLine& l) { size += l.text.size() + doc.eol.size(); };
  std::for_each(doc.preamble.begin(), doc.preamble.end(), count);
  for (const auto& s : doc.sections) {
    size += s.header.size() + doc.eol.size();
    std::for_each(s.lines.begin(), s.lines.end(), count);
  }
  std::string out;
  out.reserve(size);
  if (doc.utf8) out.append(kUtf8Mark);
  auto put = [&](const std::string& text) { out.append(text).append(doc.eol); };
  for (const auto& l : doc.preamble) put(l.text);
  for (const auto& s : doc.sections) {
    put(s.header);
    for (const auto& l : s.lines) put(l.text);
  }
  return out;
}

IniSection* FindSection(Document& doc, const std::string& folded) {
  for (auto& s : doc.sections)
    if (s.foldedName == folded) return &s;
  return nullptr;
}

IniLine* FindKey(IniSection& section, const std::string& folded) {
  if (!section.keyAtValid) {
    section.keyAt.clear();
    for (std::size_t i = 0; i < section.lines.size(); ++i)
      if (section.lines[i].isKey) section.keyAt.emplace(section.lines[i].foldedKey, i);
    section.keyAtValid = true;
  }
  const auto it = section.keyAt.find(folded);
  return it == section.keyAt.end() ? nullptr : &section.lines[it->second];
}

bool StorableKey(const std::string& key) {
  return !key.empty() && key.front() != '[' && key.find('=') == std::string::npos;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Reads the size fstat gave; a file that grows meanwhile shows a newer stamp next time.
bool ReadAll(int fd, std::size_t size, std::string& out) {
  out.resize(size);
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd, out.data() + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  out.resize(got);
  return true;
}

}  // namespace

classIniFile::classIniFile() = default;
classIniFile::classIniFile(std::string path) : path_(std::move(path)) {}

classIniFile::~classIniFile() {
  if (dirty_) Flush();
}

void classIniFile::SetINIFileName(std::string path) {
  if (dirty_) Flush();
  path_ = std::move(path);
  doc_.reset();
  stamp_ = {};
}

std::string classIniFile::JoinPath(std::string_view folder, std::string_view name) {
  auto isSep = [](char c) { return c == '\\' || c == '/'; };
  while (!folder.empty() && isSep(folder.back())) folder.remove_suffix(1);
  while (!name.empty() && isSep(name.front())) name.remove_prefix(1);
  std::string out(folder);
  out.push_back('/');
  out.append(name);
  return out;
}

classIniFile::Document& classIniFile::Current() {
  if (doc_ && batchDepth_ > 0) return *doc_;
  struct stat st {};
  if (doc_) {
    FileStamp now;
    if (::stat(path_.c_str(), &st) == 0)
      now = {true, st.st_dev, st.st_ino, static_cast<std::uint64_t>(st.st_size), st.st_mtim.tv_sec,
             st.st_mtim.tv_nsec};
    if (now == stamp_) return *doc_;
  }

  doc_ = std::make_unique<Document>();
  stamp_ = {};
  // Not blocking: whatever sits at the path (a pipe, say) must not hold the program.
  const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return *doc_;
  // The stamp of what is read comes from the open file, so a change made
  // while reading shows as a newer stamp next time.
  std::string data;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadAll(fd, static_cast<std::size_t>(st.st_size), data)) {
    stamp_ = {true, st.st_dev, st.st_ino, static_cast<std::uint64_t>(st.st_size), st.st_mtim.tv_sec,
              st.st_mtim.tv_nsec};
    *doc_ = Parse(data);
  }
  ::close(fd);
  return *doc_;
}

void classIniFile::Changed() {
  dirty_ = true;
  if (batchDepth_ == 0) Flush();
}

void classIniFile::BeginBatch() {
  if (batchDepth_++ == 0) Current();
}

void classIniFile::EndBatch() {
  if (batchDepth_ == 0) return;
  if (--batchDepth_ == 0 && dirty_) Flush();
}

void classIniFile::Flush() {
  dirty_ = false;
  if (!doc_) return;
  // On any failure the kept copy is dropped: the next call reads the file as
  // it really is, which is what a failed write leaves behind.
  auto fail = [&] {
    doc_.reset();
    stamp_ = {};
  };
  if (path_.empty()) return fail();
  struct stat old {};
  const bool exists = ::stat(path_.c_str(), &old) == 0;
  if (exists && (!S_ISREG(old.st_mode) || ::access(path_.c_str(), W_OK) != 0)) return fail();

  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = path_ + "." + std::to_string(::getpid()) + "." + std::to_string(tempCounter_++) + ".tmp";
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return fail();
  }
  if (fd < 0) return fail();

  struct stat st {};
  bool ok = (!exists || ::fchmod(fd, old.st_mode & 07777) == 0) && WriteAll(fd, Serialize(*doc_)) &&
            ::fsync(fd) == 0 && ::fstat(fd, &st) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok || ::rename(temp.c_str(), path_.c_str()) != 0) {
    ::unlink(temp.c_str());
    return fail();
  }
  stamp_ = {true, st.st_dev, st.st_ino, static_cast<std::uint64_t>(st.st_size), st.st_mtim.tv_sec,
            st.st_mtim.tv_nsec};
}

std::string classIniFile::GetIniKey(std::string_view section, std::string_view key) {
  Document& doc = Current();
  IniSection* s = FindSection(doc, FoldedName(section, doc.utf8));
  const IniLine* line = s ? FindKey(*s, FoldedName(key, doc.utf8)) : nullptr;
  if (!line) return "";
  std::string raw = line->text.substr(line->valuePos);
  std::erase(raw, '\0');
  std::string_view v = Trim(raw);
  if (Quoted(v)) v = v.substr(1, v.size() - 2);
  std::string value = ToUtf8(v, doc.utf8);
  // A text of at most 1023 bytes has at most 1023 characters.
  if (value.size() > kMaxValueChars) value = text::FirstChars(value, kMaxValueChars);
  return text::TrimSpaces(value);
}

void classIniFile::WriteIniKey(std::string_view section, std::string_view key, std::string_view value) {
  Document& doc = Current();
  const std::string sectionName = Name(section, doc.utf8);
  const std::string keyName = Name(key, doc.utf8);
  if (!StorableKey(keyName)) return;
  IniSection* s = FindSection(doc, Fold(sectionName, doc.utf8));
  if (!s) s = &doc.sections.emplace_back(IniSection{"[" + sectionName + "]", Fold(sectionName, doc.utf8), {}});

  const std::string folded = Fold(keyName, doc.utf8);
  IniLine* line = FindKey(*s, folded);
  // A replaced key keeps the spelling it has in the file.
  const std::string_view spelling = line ? Trim(std::string_view(line->text).substr(0, line->valuePos - 1)) : keyName;
  std::string stored = ToLineBytes(value, doc.utf8);
  // A value that is itself in quotes gets one more pair, so that it reads back with its own.
  if (const std::string_view t = Trim(stored); Quoted(t)) stored = "\"" + std::string(t) + "\"";
  std::string text = std::string(spelling) + "=" + stored;
  if (line) {
    if (line->text == text) return;
    *line = MakeLine(std::move(text), doc.utf8);
  } else {
    // After the section's last non-blank line, so blank lines before the
    // next section stay where they are.
    auto at = s->lines.end();
    while (at != s->lines.begin() && Trim((at - 1)->text).empty()) --at;
    const bool atEnd = at == s->lines.end();
    s->lines.insert(at, MakeLine(std::move(text), doc.utf8));
    // Added last, no other line moved; otherwise the lines after it did.
    if (atEnd && s->keyAtValid) s->keyAt.emplace(folded, s->lines.size() - 1);
    else s->keyAtValid = false;
  }
  Changed();
}

void classIniFile::DelIniKey(std::string_view section, std::string_view key) {
  Document& doc = Current();
  IniSection* s = FindSection(doc, FoldedName(section, doc.utf8));
  if (!s) return;
  const std::string folded = FoldedName(key, doc.utf8);
  if (std::erase_if(s->lines, [&](const IniLine& l) { return l.isKey && l.foldedKey == folded; }) > 0) {
    s->keyAtValid = false;
    Changed();
  }
}

void classIniFile::DelIniSec(std::string_view section) {
  Document& doc = Current();
  const std::string folded = FoldedName(section, doc.utf8);
  if (std::erase_if(doc.sections, [&](const IniSection& s) { return s.foldedName == folded; }) > 0) Changed();
}

}  // namespace tavrel
