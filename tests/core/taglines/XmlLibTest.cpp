#include <gtest/gtest.h>

#include <chrono>
#include <random>

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

// The splitter as it was first written: cut at the next quote, copy the rest, again.
// Quadratic, but the meaning of every odd line (NULs, lost quotes) is defined by it.
TagParams ReferenceTagParams(std::string_view line, TagParams params) {
  int n = GetParamCount(line);
  if (n <= 0) return params;
  std::string rest(line);
  for (int i = 0; i < n; ++i) {
    rest = CutAtChar(rest, '"', 2);
    std::string value = rest;
    rest = CutAtChar(rest, '"', 2);
    if (i < 6) params[static_cast<size_t>(i)] = CutAtChar(value, '"', 4);
  }
  return params;
}

TEST(XmlLib, ReadTagParamsInOnePassMeansWhatCuttingAgainMeant) {
  using namespace std::string_literals;
  const std::string cases[] = {
      "<FILE \"a\" \"1\" \"JPG\">", "<A \"x\"\0\"y\">"s, "<A \"x\0\" \"y\">"s,
      "\"\"\"\"", "<A \"1\"\"2\"\"3\"\"4\"\"5\"\"6\"\"7\"\"8\">", "\0\"\""s,
  };
  for (const std::string& line : cases) {
    TagParams p{"k", "k", "k", "k", "k", "k"};
    const TagParams want = ReferenceTagParams(line, p);
    ReadTagParams(line, p);
    EXPECT_EQ(p, want) << line;
  }
  // Random lines of quotes, NULs and letters.
  std::mt19937 rng(27);
  const char alphabet[] = {'"', '"', '"', 'a', ' ', '\0', '<'};
  for (int round = 0; round < 2000; ++round) {
    std::string line;
    const size_t length = rng() % 24;
    for (size_t i = 0; i < length; ++i) line += alphabet[rng() % sizeof alphabet];
    TagParams p{"k", "k", "k", "k", "k", "k"};
    const TagParams want = ReferenceTagParams(line, p);
    ReadTagParams(line, p);
    ASSERT_EQ(p, want) << round;
  }
}

TEST(XmlLib, ALineFullOfQuotesIsSplitInLinearTime) {
  // 1.6 MB of quotes took a minute when every quote copied the rest of the line.
  const std::string line = "<FILE " + std::string(1600000, '"') + ">";
  TagParams p;
  const auto start = std::chrono::steady_clock::now();
  ReadTagParams(line, p);
  EXPECT_EQ(GetParamCount(line), 800000);
  EXPECT_FALSE(IsSkippedTagLine(line));
  EXPECT_EQ(GetTagKeyword(line), "FILE");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(p, (TagParams{"", "", "", "", "", ""}));
}

TEST(XmlLib, ListLines) {
  EXPECT_FALSE(IsSkippedListLine("  ; text"));
  EXPECT_TRUE(IsSkippedListLine(";text"));
  EXPECT_TRUE(IsSkippedListLine("abcd"));
  EXPECT_FALSE(IsSkippedListLine("abcde"));
}

}  // namespace
}  // namespace ssf
