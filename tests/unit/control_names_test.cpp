// The names of the windows: a control asked for under the wrong kind is caught,
// and the code keeps to the names header and to its module boundaries.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "../kind_check.h"
#include "platform/names.h"

namespace tavrel::testing {
namespace {

namespace fs = std::filesystem;
using platform::ControlKind;

TEST(ControlKinds, AWrongKindIsRecordedReportedAndFailsTheTest) {
  platform::Ui ui;
  std::vector<std::string> reported;
  ui.onKindMismatch = [&](const std::string& form, const platform::KindMismatch& m) {
    reported.push_back(platform::DescribeMismatch(form, m));
  };
  platform::Form& main = ui.form(frm::Main);
  main.Get(ctl::Cash, 2).SetCaption("100金币");
  EXPECT_EQ(main.Get(ctl::Cash, 2).Kind(), ControlKind::Label);
  EXPECT_NE(main.Find(ctl::Cash, 2), nullptr);
  EXPECT_EQ(main.Find(ctl::Cash, 3), nullptr) << "another index is another control";
  EXPECT_TRUE(main.KindMismatches().empty());

  // Asked for as a picture: still found (the program goes on), but recorded.
  platform::Control& c = main.Get("Cash", 2, ControlKind::Picture);
  EXPECT_EQ(c.Caption(), "100金币");
  EXPECT_NONFATAL_FAILURE(ExpectNoKindMismatches(ui), "Main.Cash(2) looked up as a picture but is a label");
  main.Find(platform::ControlName{"Cash", ControlKind::List}, 2);
  ASSERT_EQ(main.KindMismatches().size(), 2u);
  const platform::KindMismatch& m = main.KindMismatches()[0];
  EXPECT_EQ(m.name, "Cash");
  EXPECT_EQ(m.index, 2);
  EXPECT_EQ(m.wanted, ControlKind::Picture);
  EXPECT_EQ(m.actual, ControlKind::Label);
  ASSERT_EQ(reported.size(), 2u);
  EXPECT_EQ(reported[0], "Main.Cash(2) looked up as a picture but is a label");
  EXPECT_EQ(reported[1], "Main.Cash(2) looked up as a list but is a label");
}

TEST(ControlKinds, SameNameInTwoWindowsKeepsEachWindowsKind) {
  platform::Ui ui;
  ui.form(frm::frmExit).Get(ctl::frmExit::Label1);
  ui.form(frm::Hero).Get(ctl::Hero::Image1);
  ui.form(frm::Main).Get(ctl::Image1, 0);
  EXPECT_EQ(ui.form(frm::Main).Find(ctl::Image1, 0)->Kind(), ControlKind::Picture);
  EXPECT_EQ(ui.form(frm::frmExit).Find(ctl::frmExit::Label1)->Kind(), ControlKind::Label);
  ExpectNoKindMismatches(ui);
}

// ---- Source rules ------------------------------------------------------------

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::vector<fs::path> SourcesUnder(const fs::path& dir) {
  std::vector<fs::path> out;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file() && (e.path().extension() == ".cpp" || e.path().extension() == ".h")) out.push_back(e.path());
  return out;
}

const fs::path kSrc = fs::path(TAVREL_SOURCE_DIR) / "src";

TEST(SourceRules, SessionIncludesNoHeaderOfTheViewOrTheHandEnd) {
  const std::regex upward(R"(#include\s+"(view|scoring)/)");
  for (const auto& file : SourcesUnder(kSrc / "session")) {
    std::istringstream lines(ReadFile(file));
    int n = 0;
    for (std::string line; std::getline(lines, line);) {
      ++n;
      EXPECT_FALSE(std::regex_search(line, upward)) << file.filename() << ":" << n << ": " << line;
    }
  }
}

TEST(SourceRules, WindowAndControlNamesComeOnlyFromTheNamesHeader) {
  const fs::path header = kSrc / "platform" / "names.h";
  std::set<std::string> names;
  const std::string text = ReadFile(header);
  const std::regex literal(R"re("([A-Za-z_][A-Za-z0-9_]*)")re");
  for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it) names.insert((*it)[1]);
  ASSERT_GT(names.size(), 60u);
  // The command catalogue's names for the log; "Chat" is a command as well as a control.
  const fs::path commandNames = kSrc / "session" / "command_record.cpp";
  for (const auto& file : SourcesUnder(kSrc)) {
    if (file == header || file.string().find("/platform/qt/") != std::string::npos) continue;
    const std::string body = ReadFile(file);
    for (std::sregex_iterator it(body.begin(), body.end(), literal), end; it != end; ++it) {
      const std::string name = (*it)[1];
      if (!names.count(name) || (file == commandNames && name == "Chat")) continue;
      ADD_FAILURE() << file.lexically_relative(kSrc) << ": bare name \"" << name << "\"";
    }
  }
}

}  // namespace
}  // namespace tavrel::testing
