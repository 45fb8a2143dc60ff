#include "session/ini_file.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "session/cp936.h"

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A fresh folder per test, removed afterwards.
class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "ini_test.XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    path_ = (dir_ / "info.vl").string();
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }
  void Put(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string Bytes() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    return names;
  }

  fs::path dir_;
  std::string path_;
};

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

struct RoundTripCase {
  const char* name;
  std::string written;
  std::string read;
};

TEST_F(IniFileTest, ValuesRoundTripTrimmedAndCutAt1023Characters) {
  const std::vector<RoundTripCase> cases = {
      {"ascii", "14", "14"},
      {"chinese", "最终分：0金币", "最终分：0金币"},
      {"inner spaces kept, outer trimmed", "      黄  庄  ", "黄  庄"},
      {"empty", "", ""},
      {"equals sign in value", "a=b=c", "a=b=c"},
      {"bracket in value", "[juNum:9]", "[juNum:9]"},
      {"exactly 1023 characters", Repeat("胡", 1023), Repeat("胡", 1023)},
      {"cut at 1023 characters, not bytes", Repeat("胡", 1100), Repeat("胡", 1023)},
      {"spaces exposed by the cut are trimmed", Repeat("a", 1020) + "    bbb", Repeat("a", 1020)},
      {"not in code page 936", "x\u0e01\U0001F600y", "x??y"},
      {"in double quotes", "\"庄家\"", "\"庄家\""},
      {"in single quotes, spaces inside", "' a '", "' a '"},
      {"quotes that do not match", "\"a'", "\"a'"},
      {"one quote only", "\"", "\""},
  };
  classIniFile ini(path_);
  for (const auto& c : cases) {
    ini.WriteIniKey("juNum:1", c.name, c.written);
    EXPECT_EQ(ini.GetIniKey("juNum:1", c.name), c.read) << c.name;
    EXPECT_EQ(classIniFile(path_).GetIniKey("juNum:1", c.name), c.read) << c.name << " (fresh instance)";
  }
}

TEST_F(IniFileTest, FileIsCodePage936WithOneLinePerKey) {
  classIniFile ini(path_);
  ini.WriteIniKey("juNum:1", "name( 0 )", "黄庄");
  ini.WriteIniKey("juNum:1", "count( 0 )", "1");
  ini.WriteIniKey("juNum:2", "name( 0 )", "x");
  EXPECT_EQ(Bytes(), "[juNum:1]\r\nname( 0 )=\xbb\xc6\xd7\xaf\r\ncount( 0 )=1\r\n[juNum:2]\r\nname( 0 )=x\r\n");
  EXPECT_EQ(ini.INIFileName(), path_);
}

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsEmptyAndCreatesNothing) {
  classIniFile ini(path_);
  EXPECT_EQ(ini.GetIniKey("juNum:1", "name( 0 )"), "");
  ini.DelIniKey("juNum:1", "name( 0 )");
  ini.DelIniSec("juNum:1");
  EXPECT_FALSE(fs::exists(path_));

  ini.WriteIniKey("juNum:1", "name( 0 )", "a");
  EXPECT_EQ(ini.GetIniKey("juNum:2", "name( 0 )"), "");
  EXPECT_EQ(ini.GetIniKey("juNum:1", "name( 1 )"), "");

  classIniFile unbound;  // no file name at all
  unbound.WriteIniKey("juNum:1", "name( 0 )", "a");
  EXPECT_EQ(unbound.GetIniKey("juNum:1", "name( 0 )"), "");
}

TEST_F(IniFileTest, NamesAreCaseInsensitiveAndLastWriteWins) {
  classIniFile ini(path_);
  ini.WriteIniKey("juNum:1", "PicIndex( 0 )", "3");
  ini.WriteIniKey("JUNUM:1", "picindex( 0 )", "7");
  ini.WriteIniKey(" juNum:1 ", " PICINDEX( 0 ) ", "9");
  EXPECT_EQ(ini.GetIniKey("junum:1", "PicIndex( 0 )"), "9");
  // One section, one key line, spelt as first written.
  EXPECT_EQ(Bytes(), "[juNum:1]\r\nPicIndex( 0 )=9\r\n");
}

TEST_F(IniFileTest, CaseFoldingLeavesGbkTrailBytesAlone) {
  // 0x81 0x41 and 0x81 0x61 are two different characters; their trail bytes
  // look like "A" and "a".
  Put("[s]\r\n\x81\x41=one\r\n");
  classIniFile ini(path_);
  EXPECT_EQ(ini.GetIniKey("s", text::Cp936ToUtf8("\x81\x41")), "one");
  EXPECT_EQ(ini.GetIniKey("s", text::Cp936ToUtf8("\x81\x61")), "");
}

TEST_F(IniFileTest, DelIniKeyAndDelIniSecRemoveOnlyTheirTarget) {
  classIniFile ini(path_);
  for (const char* sec : {"juNum:1", "juNum:2"})
    for (const char* key : {"name( 0 )", "name( 1 )"}) ini.WriteIniKey(sec, key, sec);

  ini.DelIniKey("JUNUM:1", "NAME( 0 )");
  EXPECT_EQ(ini.GetIniKey("juNum:1", "name( 0 )"), "");
  EXPECT_EQ(ini.GetIniKey("juNum:1", "name( 1 )"), "juNum:1");

  ini.DelIniSec("junum:1");
  EXPECT_EQ(ini.GetIniKey("juNum:1", "name( 1 )"), "");
  EXPECT_EQ(ini.GetIniKey("juNum:2", "name( 0 )"), "juNum:2");
  EXPECT_EQ(Bytes(), "[juNum:2]\r\nname( 0 )=juNum:2\r\nname( 1 )=juNum:2\r\n");

  ini.WriteIniKey("juNum:1", "name( 0 )", "back");  // the section comes back empty but for this key
  EXPECT_EQ(ini.GetIniKey("juNum:1", "name( 1 )"), "");
  EXPECT_EQ(ini.GetIniKey("juNum:1", "name( 0 )"), "back");
}

struct InjectionCase {
  const char* name;
  std::string section, key, value;
  std::string readSection, readKey, readValue;
};

TEST_F(IniFileTest, LineBreaksCannotInjectSectionsOrKeys) {
  const std::vector<InjectionCase> cases = {
      {"CRLF in value", "juNum:1", "count( 0 )( 0 )", "x\r\n[evil]\r\nk=v", "juNum:1", "count( 0 )( 0 )", "x [evil] k=v"},
      {"lone LF and CR in value", "juNum:1", "a", "p\nq\rr", "juNum:1", "a", "p q r"},
      {"break in key", "juNum:1", "b\r\n[evil]", "1", "juNum:1", "b [evil]", "1"},
      {"break in section", "s\n[evil]", "c", "2", "s [evil]", "c", "2"},
  };
  classIniFile ini(path_);
  for (const auto& c : cases) {
    ini.WriteIniKey(c.section, c.key, c.value);
    EXPECT_EQ(ini.GetIniKey(c.readSection, c.readKey), c.readValue) << c.name;
    classIniFile fresh(path_);
    EXPECT_EQ(fresh.GetIniKey(c.readSection, c.readKey), c.readValue) << c.name;
    EXPECT_EQ(fresh.GetIniKey("evil", "k"), "") << c.name;
  }
  // Every line of the file is a header or a key line of our own.
  std::istringstream lines(Bytes());
  int count = 0;
  for (std::string line; std::getline(lines, line);) ++count;
  EXPECT_EQ(count, 6);  // [juNum:1], 3 keys, [s [evil]], c
}

TEST_F(IniFileTest, KeysThatCannotBeStoredAreNotWritten) {
  classIniFile ini(path_);
  for (const char* key : {"", "  ", "a=b", "[juNum:2]"}) ini.WriteIniKey("juNum:1", key, "v");
  EXPECT_FALSE(fs::exists(path_));
}

struct ReadCase {
  const char* name;
  std::string file;
  std::string section, key, value;
};

TEST_F(IniFileTest, ReadsFilesOfAnyShape) {
  const std::string longLine(70 * 1024, 'x');
  const std::vector<ReadCase> cases = {
      {"LF line ends", "[a]\nk=1\n[b]\nk=2\n", "b", "k", "2"},
      {"CRLF line ends", "[a]\r\nk=1\r\n[b]\r\nk=2\r\n", "b", "k", "2"},
      {"lone CR line ends", "[a]\rk=1\r[b]\rk=2\r", "b", "k", "2"},
      {"no trailing line end", "[a]\r\nk=last", "a", "k", "last"},
      {"spaces around names and equals", "  [ a ]  \r\n\t k \t=\t v w \t\r\n", "a", "k", "v w"},
      {"duplicate section: first wins", "[a]\r\nk=1\r\n[A]\r\nk=2\r\nj=3\r\n", "a", "k", "1"},
      {"duplicate section: later keys unseen", "[a]\r\nk=1\r\n[a]\r\nj=3\r\n", "a", "j", ""},
      {"duplicate key: first wins", "[a]\r\nk=1\r\nk=2\r\n", "a", "k", "1"},
      {"key before any section", "k=0\r\n[a]\r\n", "a", "k", ""},
      {"line without equals", "[a]\r\nk\r\n", "a", "k", ""},
      {"unclosed header is no section", "[a\r\nk=1\r\n", "a", "k", ""},
      {"text after the header", "[a] ; note\r\nk=1\r\n", "a", "k", "1"},
      {"trail byte ] inside the section name", "[\xb1\x5d]\r\nk=1\r\n", "盷", "k", "1"},
      {"GBK key and value", "[a]\r\n\xbb\xc6=\xd7\xaf\r\n", "a", "黄", "庄"},
      {"UTF-8 bytes in a GBK file", "[a]\r\nu=\xe9\xbb\x84\r\ng=\xbb\xc6\r\n", "a", "g", "黄"},
      {"zero bytes dropped", "[a]\r\nk=1\0" "2\r\n"s, "a", "k", "12"},
      {"line longer than 64 KiB", "[a]\r\nk=" + longLine + "\r\nj=after\r\n", "a", "j", "after"},
      {"long value cut", "[a]\r\nk=" + longLine + "\r\n", "a", "k", std::string(1023, 'x')},
      {"binary junk around", "\xff\xfe\x00\x01[\x80\x81]\xff\r\n[a]\r\nk=1\r\n\x01\x02=\xfe"s, "a", "k", "1"},
  };
  for (const auto& c : cases) {
    Put(c.file);
    EXPECT_EQ(classIniFile(path_).GetIniKey(c.section, c.key), c.value) << c.name;
  }
}

TEST_F(IniFileTest, OnePairOfMatchingQuotesIsNotPartOfTheValue) {
  const std::vector<ReadCase> cases = {
      {"double quotes", "[a]\r\nk=\"hello there\"\r\n", "a", "k", "hello there"},
      {"single quotes", "[a]\r\nk='hello'\r\n", "a", "k", "hello"},
      {"spaces outside the quotes", "[a]\r\nk = \t\"x\"  \r\n", "a", "k", "x"},
      {"spaces inside the quotes trimmed as any value", "[a]\r\nk=\"  x y  \"\r\n", "a", "k", "x y"},
      {"empty quotes", "[a]\r\nk=\"\"\r\n", "a", "k", ""},
      {"only one pair goes", "[a]\r\nk=\"\"x\"\"\r\n", "a", "k", "\"x\""},
      {"quotes inside stay", "[a]\r\nk=\"a\"b\"\r\n", "a", "k", "a\"b"},
      {"mixed quotes stay", "[a]\r\nk=\"x'\r\n", "a", "k", "\"x'"},
      {"a lone quote stays", "[a]\r\nk=\"\r\n", "a", "k", "\""},
      {"quote at one end only", "[a]\r\nk=x\"\r\n", "a", "k", "x\""},
      {"GBK phrase in quotes", "[Phrase1]\r\n1=\"\xbb\xc6\xd7\xaf\"\r\n", "Phrase1", "1", "黄庄"},
  };
  for (const auto& c : cases) {
    Put(c.file);
    EXPECT_EQ(classIniFile(path_).GetIniKey(c.section, c.key), c.value) << c.name;
  }
}

// Text editors save "UTF-8 with BOM": such a file is UTF-8 from its second line to its last.
TEST_F(IniFileTest, FileWithUtf8MarkReadsAsUtf8) {
  const std::string mark = "\xEF\xBB\xBF";
  const std::vector<ReadCase> cases = {
      {"first section", mark + "[Phrase1]\r\n1=你好\r\n[Phrase2]\r\n1=再见\r\n", "Phrase1", "1", "你好"},
      {"later section", mark + "[Phrase1]\r\n1=你好\r\n[Phrase2]\r\n1=再见\r\n", "Phrase2", "1", "再见"},
      {"LF line ends", mark + "[a]\nk=1\n", "a", "k", "1"},
      {"Chinese section and key", mark + "[牌局]\n名字=甲\n", "牌局", "名字", "甲"},
      {"ASCII after a UTF-8 character folds", mark + "[中A]\nk=1\n", "中a", "k", "1"},
      {"quoted phrase", mark + "[Phrase1]\n1=\"快点吧，我等到花儿都谢了\"\n", "Phrase1", "1", "快点吧，我等到花儿都谢了"},
      {"broken UTF-8 mended", mark + "[a]\nk=x\xff\xe4y\n", "a", "k", "x\uFFFD\uFFFDy"},
      {"the mark in the middle is text", "[a]\r\n" + mark + "k=1\r\n", "a", "k", ""},
      {"no mark: code page 936", "[a]\r\nk=\xbb\xc6\r\n", "a", "k", "黄"},
  };
  for (const auto& c : cases) {
    Put(c.file);
    EXPECT_EQ(classIniFile(path_).GetIniKey(c.section, c.key), c.value) << c.name;
  }
}

TEST_F(IniFileTest, OurQuickPhrasesReadAsTheirEditorSavedThem) {
  classIniFile ini(TAVREL_SOURCE_DIR "/assets/chat/chat.ini");
  EXPECT_EQ(ini.GetIniKey("Phrase1", "num"), "10");
  EXPECT_EQ(ini.GetIniKey("Phrase1", "2"), "快点吧，等得花都谢了！");
  EXPECT_EQ(ini.GetIniKey("phrase2", "10"), "先走一步，各位玩好！");
}

TEST_F(IniFileTest, FileWithUtf8MarkIsWrittenBackAsUtf8WithItsMark) {
  const std::string mark = "\xEF\xBB\xBF";
  Put(mark + "[Phrase1]\r\n1=你好\r\n");
  classIniFile ini(path_);
  ini.WriteIniKey("Phrase1", "1", "大家好");  // replaced in place: no second [Phrase1]
  ini.WriteIniKey("Phrase1", "2", "\"引号\"");
  ini.WriteIniKey("牌局", "名字", "甲");
  EXPECT_EQ(Bytes(), mark + "[Phrase1]\r\n1=大家好\r\n2=\"\"引号\"\"\r\n[牌局]\r\n名字=甲\r\n");
  EXPECT_EQ(classIniFile(path_).GetIniKey("Phrase1", "2"), "\"引号\"");
  ini.DelIniSec("PHRASE1");
  EXPECT_EQ(Bytes(), mark + "[牌局]\r\n名字=甲\r\n");

  Put(mark);  // a mark and nothing else stays a UTF-8 file
  ini.WriteIniKey("a", "k", "黄");
  EXPECT_EQ(Bytes(), mark + "[a]\r\nk=黄\r\n");
}

TEST_F(IniFileTest, JunkSurvivesAndReadsAfterARewrite) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 131 + 7) % 256));
  Put(junk);
  classIniFile ini(path_);
  ini.GetIniKey("a", "b");
  ini.WriteIniKey("juNum:1", "name( 0 )", "甲");
  EXPECT_EQ(classIniFile(path_).GetIniKey("juNum:1", "name( 0 )"), "甲");
}

TEST_F(IniFileTest, RewriteKeepsUntouchedLinesAndTheLineEndStyle) {
  Put("; comment\n[a]\nk = old\n\n[b]\nj=1\n[A]\nk=dup\n");
  classIniFile ini(path_);
  ini.WriteIniKey("a", "k", "new");
  ini.WriteIniKey("a", "n", "added");
  EXPECT_EQ(Bytes(), "; comment\n[a]\nk=new\nn=added\n\n[b]\nj=1\n[A]\nk=dup\n");
  ini.DelIniSec("a");  // every section of the name goes, so no stale key reappears
  EXPECT_EQ(Bytes(), "; comment\n[b]\nj=1\n");
  EXPECT_EQ(ini.GetIniKey("a", "k"), "");
}

TEST_F(IniFileTest, KeysStayFindableWhileASectionChanges) {
  Put("[s]\nk=1\nK=dup\n\n[t]\nk=t\n");
  classIniFile ini(path_);
  std::string grown;
  {
    classIniFile::Batch batch(ini);
    EXPECT_EQ(ini.GetIniKey("s", "k"), "1");  // the first of two spellings
    ini.WriteIniKey("s", "a", "2");           // before the blank line
    ini.WriteIniKey("s", "b", "3");
    ini.WriteIniKey("s", "K", "4");           // replaces the first, keeps its spelling
    ini.DelIniKey("s", "a");
    ini.WriteIniKey("s", "c", "5");
    EXPECT_EQ(ini.GetIniKey("s", "a"), "");
    EXPECT_EQ(ini.GetIniKey("s", "b"), "3");
    EXPECT_EQ(ini.GetIniKey("s", "c"), "5");
    EXPECT_EQ(ini.GetIniKey("t", "k"), "t");
    // A section that grows at its end, as a hand's record does.
    for (int i = 0; i < 50; ++i) {
      ini.WriteIniKey("u", "n" + std::to_string(i), std::to_string(i));
      grown += "n" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    }
    for (int i = 0; i < 50; i += 7) EXPECT_EQ(ini.GetIniKey("u", "N" + std::to_string(i)), std::to_string(i));
  }
  EXPECT_EQ(Bytes(), "[s]\nk=4\nK=dup\nb=3\nc=5\n\n[t]\nk=t\n[u]\n" + grown);
}

TEST_F(IniFileTest, DoubleBackslashJoinGivesOneSeparator) {
  struct JoinCase {
    const char* folder;
    const char* name;
    const char* joined;
  };
  const JoinCase cases[] = {
      {"C:\\game\\\\", "\\info.vl", "C:\\game/info.vl"},
      {"/opt/tavrel//", "//info.vl", "/opt/tavrel/info.vl"},
      {"/opt/tavrel\\/", "\\/chat.ini", "/opt/tavrel/chat.ini"},
      {"/opt/tavrel", "info.vl", "/opt/tavrel/info.vl"},
  };
  for (const auto& c : cases) EXPECT_EQ(classIniFile::JoinPath(c.folder, c.name), c.joined) << c.folder;
}

TEST_F(IniFileTest, WriteReplacesTheFileAndLeavesNoTemporaryFile) {
  classIniFile ini(path_);
  ini.WriteIniKey("juNum:1", "name( 0 )", "old");
  const std::string before = Bytes();
  ::chmod(path_.c_str(), 0640);

  // A reader that opened the file before the write still sees all of the old
  // file: the write made a new file, it did not rewrite this one.
  std::ifstream early(path_, std::ios::binary);
  ini.WriteIniKey("juNum:1", "name( 0 )", "new");
  std::stringstream ss;
  ss << early.rdbuf();
  EXPECT_EQ(ss.str(), before);

  EXPECT_EQ(Entries(), std::vector<std::string>{"info.vl"});
  struct stat st {};
  ASSERT_EQ(::stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(IniFileTest, UnwritableTargetsAreIgnored) {
  Put("x");
  const std::vector<std::string> targets = {
      (dir_ / "missing" / "info.vl").string(),  // missing folder
      path_ + "/info.vl",                      // a file where a folder should be
      dir_.string(),                           // a folder where the file should be
  };
  for (const auto& target : targets) {
    classIniFile ini(target);
    ini.WriteIniKey("juNum:1", "name( 0 )", "a");
    ini.DelIniKey("juNum:1", "name( 0 )");
    ini.DelIniSec("juNum:1");
    // The failed write is not remembered: reads show the file as it is.
    ini.WriteIniKey("juNum:1", "name( 0 )", "a");
    EXPECT_EQ(ini.GetIniKey("juNum:1", "name( 0 )"), "") << target;
  }
  EXPECT_EQ(Entries(), std::vector<std::string>{"info.vl"});
}

TEST_F(IniFileTest, APipeAtThePathReadsAsEmptyWithoutWaiting) {
  // Opening a pipe that nobody writes to would wait for ever.
  ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
  classIniFile ini(path_);
  EXPECT_EQ(ini.GetIniKey("juNum:1", "name( 0 )"), "");
  ini.WriteIniKey("juNum:1", "name( 0 )", "a");  // not a file: left alone
  struct stat st {};
  ASSERT_EQ(::stat(path_.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(IniFileTest, ReadOnlyFileKeepsItsContent) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes any file";
  Put("[a]\r\nk=1\r\n");
  ::chmod(path_.c_str(), 0444);
  classIniFile ini(path_);
  ini.WriteIniKey("a", "k", "2");
  EXPECT_EQ(ini.GetIniKey("a", "k"), "1");
  ::chmod(dir_.c_str(), 0555);
  ini.WriteIniKey("b", "k", "2");
  EXPECT_EQ(ini.GetIniKey("b", "k"), "");
}

TEST_F(IniFileTest, ChangesByOthersAreSeen) {
  classIniFile ini(path_);
  ini.WriteIniKey("a", "k", "1");
  EXPECT_EQ(ini.GetIniKey("a", "k"), "1");

  classIniFile(path_).WriteIniKey("a", "k", "2");  // replaced by another instance
  EXPECT_EQ(ini.GetIniKey("a", "k"), "2");

  // Rewritten in place, same size, only the modification time tells.
  struct stat st {};
  ASSERT_EQ(::stat(path_.c_str(), &st), 0);
  { std::fstream(path_, std::ios::in | std::ios::out | std::ios::binary).seekp(-3, std::ios::end) << "3"; }
  timespec times[2] = {st.st_atim, st.st_mtim};
  times[1].tv_nsec = (times[1].tv_nsec + 1) % 1000000000;
  ASSERT_EQ(::utimensat(AT_FDCWD, path_.c_str(), times, 0), 0);
  EXPECT_EQ(ini.GetIniKey("a", "k"), "3");

  fs::remove(path_);
  EXPECT_EQ(ini.GetIniKey("a", "k"), "");
}

TEST_F(IniFileTest, BatchWritesOnceAtTheOutermostEnd) {
  classIniFile ini(path_);
  {
    classIniFile::Batch outer(ini);
    ini.WriteIniKey("juNum:1", "count( 0 )", "2");
    {
      classIniFile::Batch inner(ini);
      ini.WriteIniKey("juNum:1", "count( 0 )( 0 )", "甲");
    }
    EXPECT_FALSE(fs::exists(path_));  // nothing on disk yet
    EXPECT_EQ(ini.GetIniKey("juNum:1", "count( 0 )( 0 )"), "甲");
    ini.DelIniKey("juNum:1", "count( 0 )");
  }
  EXPECT_EQ(Bytes(), "[juNum:1]\r\ncount( 0 )( 0 )=\xbc\xd7\r\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"info.vl"});
}

TEST_F(IniFileTest, RebindingWritesPendingBatchToTheOldFile) {
  classIniFile ini(path_);
  ini.BeginBatch();
  ini.WriteIniKey("a", "k", "1");
  ini.SetINIFileName((dir_ / "chat.ini").string());
  ini.WriteIniKey("Phrase1", "k", "2");
  ini.EndBatch();
  EXPECT_EQ(classIniFile(path_).GetIniKey("a", "k"), "1");
  EXPECT_EQ(classIniFile((dir_ / "chat.ini").string()).GetIniKey("Phrase1", "k"), "2");
}

}  // namespace
}  // namespace tavrel
