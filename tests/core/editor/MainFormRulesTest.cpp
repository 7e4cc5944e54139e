// The main window's rules that need no container: header edit capping, the command line,
// the window placement in settings.ini.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "editor/CommandLine.h"
#include "theme/HeaderEdit.h"
#include "base/IniDocument.h"
#include "editor/WindowPlacement.h"

namespace ssf {
namespace {

std::string Repeat(const std::string& s, int n) {
  std::string r;
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

TEST(CapEditText, KeepsWhatFitsAndCutsOnlyTheInsertedPart) {
  const std::string a50 = Repeat("a", 50);
  const std::string a51 = Repeat("a", 51);
  struct Case {
    const char* what;
    std::string before, after;
    size_t max;
    std::string expected;
  } cases[] = {
      {"fits", "ab", "abc", 51, "abc"},
      {"51 bytes exactly", a50, a51, 51, a51},
      {"typing at the limit", a51, a51 + "x", 51, a51},
      {"typing in the middle at the limit", a51, "a" + std::string("x") + a50, 51, a51},
      {"Cyrillic after 50 bytes", a50, a50 + "ж", 51, a50},
      {"Cyrillic that fits", Repeat("a", 49), Repeat("a", 49) + "ж", 51, Repeat("a", 49) + "ж"},
      {"paste keeps its beginning", "ab", "aЖЖЖЖb", 6, "aЖЖb"},
      {"paste cut inside a character", "", "ЖЖЖ", 5, "ЖЖ"},
      {"deleting is always kept", a51, a50, 51, a50},
      {"version stops at 4 bytes", "1.0.", "1.0.1", 4, "1.0."},
      {"replacing a selection", "abcd", "aЖЖЖd", 5, "aЖd"},
      {"an overlong text from elsewhere", "", Repeat("Ж", 30), 51, Repeat("Ж", 25)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CapEditText(c.before, c.after, c.max), c.expected) << c.what;
  }
}

TEST(CommandLine, JoinsParametersAndRecognisesThemeFiles) {
  EXPECT_EQ(JoinCommandLine({"/home/u/My", "Themes/a.ssf"}), "/home/u/My Themes/a.ssf");
  EXPECT_EQ(JoinCommandLine({}), "");
  EXPECT_TRUE(IsThemeFileName("/home/u/My Themes/a.ssf"));
  EXPECT_TRUE(IsThemeFileName("A.SSF"));
  EXPECT_TRUE(IsThemeFileName("b.SsF"));
  EXPECT_FALSE(IsThemeFileName("a.txt"));
  EXPECT_FALSE(IsThemeFileName("a.ssf.bak"));
  EXPECT_FALSE(IsThemeFileName("ssf"));
  EXPECT_FALSE(IsThemeFileName(""));
}

TEST(WindowPlacement, DefaultsWriteAndMaximizedKeepsTheLastPlacement) {
  test::TempDir dir;
  IniDocument settings = IniDocument::Load(dir / "settings.ini");
  WindowPlacement p = ReadWindowPlacement(settings);
  EXPECT_FALSE(p.maximized);
  EXPECT_EQ(p.left, 0);
  EXPECT_EQ(p.top, 0);
  EXPECT_EQ(p.width, 769);
  EXPECT_EQ(p.height, 532);

  WriteWindowPlacement(settings, WindowPlacement{false, 10, 20, 800, 600});
  WriteWindowPlacement(settings, WindowPlacement{true, 1, 2, 3, 4});
  IniDocument reread = IniDocument::Load(dir / "settings.ini");
  p = ReadWindowPlacement(reread);
  EXPECT_TRUE(p.maximized);
  EXPECT_EQ(p.left, 10);
  EXPECT_EQ(p.top, 20);
  EXPECT_EQ(p.width, 800);
  EXPECT_EQ(p.height, 600);
  EXPECT_EQ(reread.ReadString("MainForm Sizes", "Maximized"), "1");

  IniDocument bad = IniDocument::Parse("[MainForm Sizes]\nWidth=wide\n");
  EXPECT_EQ(ReadWindowPlacement(bad).width, 769);
}

}  // namespace
}  // namespace ssf
