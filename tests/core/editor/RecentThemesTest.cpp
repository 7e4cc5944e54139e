// u8"Последние темы": each theme once, newest first, however settings.ini lists it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/IniDocument.h"
#include "editor/RecentThemes.h"
#include "platform/PathText.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;

IniDocument Settings(const std::string& entries) { return IniDocument::Parse("[RecentThemes]\n" + entries); }

TEST(RecentThemes, EachThemeOnceInTheOrderOfItsFirstEntry) {
  struct Case {
    const char* name;
    std::string entries;
    Paths shown;
  };
  const Case cases[] = {
      {"a duplicate further down", "File1=/t/a.ssf\nFile2=/t/b.ssf\nFile3=/t/a.ssf\n", {"/t/a.ssf", "/t/b.ssf"}},
      {"duplicates side by side, gaps between",
       "File1=/t/b.ssf\nFile2=/t/b.ssf\nFile3=\nFile4=/t/a.ssf\nFile6=/t/b.ssf\nFile8=/t/a.ssf\n",
       {"/t/b.ssf", "/t/a.ssf"}},
      {"the same file spelled with . and ..", "File1=/t/x/../a.ssf\nFile2=/t/./a.ssf\nFile3=/t/a.ssf\n", {"/t/a.ssf"}},
      {"no duplicates", "File1=/t/a.ssf\nFile2=/t/b.ssf\n", {"/t/a.ssf", "/t/b.ssf"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IniDocument settings = Settings(c.entries);
    EXPECT_EQ(ReadRecentThemes(settings), c.shown);
  }
}

TEST(RecentThemes, RememberingPutsTheThemeFirstOnceAndDropsItsDuplicates) {
  // Remembered themes are made absolute: /t with the current drive on Windows.
  const fs::path t = fs::absolute("/t");
  const std::string a = Utf8FromPath(t / "a.ssf"), b = Utf8FromPath(t / "b.ssf");
  IniDocument settings = Settings("File1=" + a + "\nFile2=" + b + "\nFile3=" + a + "\nFile4=" + b + "\n");
  RememberRecentTheme(settings, t / "b.ssf");
  EXPECT_EQ(ReadRecentThemes(settings), (Paths{t / "b.ssf", t / "a.ssf"}));
  RememberRecentTheme(settings, t / "c" / ".." / "a.ssf");
  EXPECT_EQ(ReadRecentThemes(settings), (Paths{t / "a.ssf", t / "b.ssf"}));
  // What is written is the list shown: no stale duplicate waits behind it.
  EXPECT_EQ(settings.ReadString(kRecentSection, "File3"), "");
  ForgetRecentTheme(settings, t / "a.ssf");
  EXPECT_EQ(ReadRecentThemes(settings), (Paths{t / "b.ssf"}));
}

}  // namespace
}  // namespace ssf
