#pragma once
// classIniFile: Windows-style INI files ("[section]" lines, "key=value" lines),
// stored in code page 936, used by the hand record file and the quick phrases.
//
// Behaviour callers can rely on:
// - A file that starts with the UTF-8 byte-order mark (a text editor's
//   "UTF-8 with BOM") is read as UTF-8 and written back as UTF-8 with its
//   mark. Every other file, and every new one, is code page 936.
// - Section and key names compare case-insensitively (ASCII letters) and
//   without surrounding spaces or tabs. Values read back trimmed of spaces
//   and tabs, cut at 1023 characters, with zero characters dropped. A missing file,
//   section or key reads as "".
// - A value in one pair of matching quotes ("..." or '...') reads without
//   them, as the private-profile functions read it. A value written that is
//   itself in matching quotes is stored in one more pair of double quotes,
//   so it reads back as written.
// - The first section of a name is the section: reads, writes and key
//   removal use it, later sections of the same name are left as text.
//   DelIniSec removes every section of the name, so nothing stale reappears.
//   Within a section the first line of a key wins; DelIniKey removes them all.
// - Line breaks can never be injected: CR, LF and CRLF inside a section name,
//   key or value are written as one space each, so a multi-line value reads
//   back as one line with spaces where the breaks were. A key that is empty,
//   contains "=" or starts with "[" cannot be stored faithfully; writing it
//   does nothing.
// - A write replaces the file atomically: a temporary file in the same folder
//   ("<file>.<pid>.<n>.tmp"), fsync, then rename over the file. A missing
//   folder, a read-only file or any other failure is ignored silently; the
//   file then keeps its previous content.
// - Lines end in CR, LF or CRLF; a rewrite keeps the file's first line end
//   (CRLF for a new file). Lines that are neither sections nor keys are kept.
// - The parsed file is kept while the file's inode, size and modification
//   time (nanoseconds) are unchanged, so a run of writes parses once.
//
// Without a batch every write reaches the disk before it returns. Inside a
// Batch writes change only the kept copy and the file is replaced once when
// the outermost Batch ends; reads during the batch see the pending writes and
// ignore changes made to the file by others.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tavrel {

class classIniFile {
 public:
  classIniFile();
  explicit classIniFile(std::string path);
  ~classIniFile();
  classIniFile(const classIniFile&) = delete;
  classIniFile& operator=(const classIniFile&) = delete;

  // Binds the instance to a file (full path); the kept copy is dropped.
  void SetINIFileName(std::string path);
  const std::string& INIFileName() const { return path_; }

  // All texts are UTF-8, whatever the file holds.
  std::string GetIniKey(std::string_view section, std::string_view key);
  void WriteIniKey(std::string_view section, std::string_view key, std::string_view value);
  void DelIniKey(std::string_view section, std::string_view key);
  void DelIniSec(std::string_view section);

  // Defers the replace of the file to the end of the outermost batch.
  void BeginBatch();
  void EndBatch();
  class Batch {
   public:
    explicit Batch(classIniFile& ini) : ini_(ini) { ini_.BeginBatch(); }
    ~Batch() { ini_.EndBatch(); }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    classIniFile& ini_;
  };

  // Folder and file name joined with exactly one separator: every trailing
  // "\" or "/" of the folder and every leading one of the name are dropped.
  static std::string JoinPath(std::string_view folder, std::string_view name);

  // Longest value GetIniKey returns, in characters.
  static constexpr std::size_t kMaxValueChars = 1023;

  struct Document;  // the parsed file

 private:
  struct FileStamp {
    bool exists = false;
    std::uint64_t dev = 0, ino = 0, size = 0;
    std::int64_t mtimeSec = 0, mtimeNsec = 0;
    bool operator==(const FileStamp&) const = default;
  };

  Document& Current();  // the kept copy, re-read when the file changed
  void Changed();       // after a modification: write now or at the batch end
  void Flush();

  std::string path_;
  std::unique_ptr<Document> doc_;
  FileStamp stamp_;
  int batchDepth_ = 0;
  bool dirty_ = false;
  unsigned tempCounter_ = 0;
};

}  // namespace tavrel
