#include <gtest/gtest.h>

#include "taglines/XmlLib.h"

namespace ssf {
namespace {

TEST(XmlLib, CutAtCharModes) {
  struct Case {
    std::string text;
    char ch;
    int mode;
    std::string expected;
  };
  const Case cases[] = {
      {"C:\\a\\b\\", '\\', 3, "C:\\"},
      {"C:\\a\\b\\", '\\', 2, "a\\b\\"},
      {"abc", 'x', 1, "ERROR"},
      {"abc", 'x', 2, "ERROR"},
      {"abc", 'x', 3, "ERROR"},
      {"abc", 'x', 4, "ERROR"},
      {"abc", 'x', 7, "ERROR"},
      {"abc", 'b', 7, "abc"},
      {"abc", 'b', 1, "bc"},
      {"abc", 'b', 4, "a"},
      {"", 'a', 2, "ERROR"},
      {std::string("ab\0c", 4), 'c', 2, "ERROR"},  // a NUL ends the search
      {"Путь: значение", ':', 2, " значение"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutAtChar(c.text, c.ch, c.mode), c.expected) << c.text << " mode " << c.mode;
  }
}

TEST(XmlLib, TagLines) {
  struct Case {
    std::string line;
    bool skipped;
    std::string keyword;
    int count;
  };
  const Case cases[] = {
      {"", true, "ERROR", 0},
      {"<AB>", true, "AB", 0},
      {"; <FILE \"x\">", true, "FILE", 1},
      {"<ABC>", false, "ABC", 0},
      {"   <GROUP Name=\"x\">", false, "GROUP", 1},
      {"text ; <FILE \"a\">", true, "FILE", 1},
      {"<FILE Name=\"a;b\">", false, "FILE", 1},
      {"<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"X\">", false, "THEMESIGN", 2},
      {"<GROUP>", false, "GROUP", 0},
      {"<FILE Name=\"a>", false, "FILE", -1},
      {"<FILE Name=\"a\" Type=\"JPG\"> ; see \"note\"", false, "FILE", 3},
      {"<GROUP Name=\"x\"", false, "GROUP", 1},
      {"<GROUP\tName=\"x\">", false, "GROUP\tName=\"x\"", 1},
      {"</GROUP> ; end", false, "/GROUP>", 0},
      {"</GROUP>", false, "/GROUP", 0},
      {"<Жж>", true, "Жж", 0},  // four characters, more bytes
      {"no tag here", true, "ERROR", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSkippedTagLine(c.line), c.skipped) << c.line;
    EXPECT_EQ(GetTagKeyword(c.line), c.keyword) << c.line;
    EXPECT_EQ(GetParamCount(c.line), c.count) << c.line;
  }
}

TEST(XmlLib, ReadTagParamsFillsSlotsAndKeepsTheRest) {
  TagParams p;
  ReadTagParams("<FILE \"a\" \"1\" \"JPG\" \"240\" \"320\">", p);
  EXPECT_EQ(p, (TagParams{"a", "1", "JPG", "240", "320", ""}));
  ReadTagParams("<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"X\">", p);
  EXPECT_EQ(p, (TagParams{"SAMSUNG THEME", "X", "JPG", "240", "320", ""}));
  ReadTagParams("<GROUP>", p);  // no parameters: nothing changes
  ReadTagParams("<FILE Name=\"a>", p);  // odd quotes: nothing changes
  EXPECT_EQ(p[0], "SAMSUNG THEME");
  ReadTagParams("<FILE Name=\"a;b\" \"\">", p);
  EXPECT_EQ(p[0], "a;b");
  EXPECT_EQ(p[1], "");
  ReadTagParams("<X \"1\" \"2\" \"3\" \"4\" \"5\" \"6\" \"7\" \"8\">", p);  // only six slots
  EXPECT_EQ(p, (TagParams{"1", "2", "3", "4", "5", "6"}));
}

TEST(XmlLib, ListLines) {
  EXPECT_FALSE(IsSkippedListLine("  ; text"));
  EXPECT_TRUE(IsSkippedListLine(";text"));
  EXPECT_TRUE(IsSkippedListLine("abcd"));
  EXPECT_FALSE(IsSkippedListLine("abcde"));
}

}  // namespace
}  // namespace ssf
