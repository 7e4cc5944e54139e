// Maps made to cost the reader: lines of megabytes, millions of lines, millions of errors.
#include <gtest/gtest.h>

#include <chrono>

#include "MapTestSupport.h"
#include "base/Limits.h"
#include "base/SsfError.h"
#include "base/TextLineReader.h"
#include "theme/ThemeMap.h"

namespace ssf {
namespace {

using test::ExampleMapWith;
using test::RunCli;

std::string ReadError(const std::filesystem::path& map) {
  TagParams params;
  try {
    ReadThemeMap(map, ThemeMap{}, params);
  } catch (const SsfError& e) {
    return e.what();
  }
  return "";
}

TEST(MapBomb, ALineOverTheLimitIsRefusedNamingFileAndLine) {
  test::TempDir dir;
  const std::string quotes = "<FILE " + std::string(900000, '"') + ">\n";
  test::WriteMap(dir / "quotes.rxt", "; shared\n" + quotes + test::kExampleMap);
  const std::string want = "Не удалось прочитать файл: " + (dir / "quotes.rxt").string() + " (строка 2 длиннее " +
                           std::to_string(kMaxTextLineLength) + " байт)";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ReadError(dir / "quotes.rxt"), want);
  // Looking for a theme's map and checking one stop at the same line, at once.
  TagParams params;
  try {
    FindMapForMobile(dir.path(), "EXAMPLE-100", params);
    ADD_FAILURE() << "no error";
  } catch (const SsfError& e) {
    EXPECT_EQ(e.what(), want);
  }
  auto r = RunCli({"check-map", (dir / "quotes.rxt").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, want + "\n");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

  // A line of just the limit is read (and reported as any bad line is); a map whose
  // THEMESIGN comes first is found without reading on to its long line.
  test::TempDir late;
  const std::string near = "<FILE \"" + std::string(kMaxTextLineLength - 9, 'a') + "\">\n";
  ASSERT_EQ(near.size() - 1, kMaxTextLineLength);
  test::WriteMap(late / "near.rxt", std::string(test::kExampleMap) + near);
  EXPECT_EQ(ReadError(late / "near.rxt"), "");
  test::WriteMap(late / "quotes.rxt", std::string(test::kExampleMap) + quotes);
  EXPECT_EQ(FindMapForMobile(late.path(), "EXAMPLE-100", params), late / "near.rxt");
  std::filesystem::remove(late / "near.rxt");
  EXPECT_EQ(FindMapForMobile(late.path(), "EXAMPLE-100", params), late / "quotes.rxt");
}

TEST(MapBomb, EmptyLinesCostNothingAndABiggerMapIsRefusedUnread) {
  test::TempDir dir;
  test::WriteText(dir / "e.rxt", Utf8ToCp1251(test::kExampleMap) + std::string(kMaxMapFileSize - 1000, '\n'));
  TagParams params;
  const auto start = std::chrono::steady_clock::now();
  const ParsedThemeMap parsed = ReadThemeMap(dir / "e.rxt", ThemeMap{}, params);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_TRUE(parsed.errors.empty());
  EXPECT_EQ(parsed.map.ThemeFiles.size(), 3u);

  test::WriteText(dir / "big.rxt", Utf8ToCp1251(test::kExampleMap) + std::string(kMaxTextFileSize, '\n'));
  try {
    ReadThemeMap(dir / "big.rxt", ThemeMap{}, params);
    ADD_FAILURE() << "no error";
  } catch (const SsfError& e) {
    EXPECT_EQ(std::string(e.what()).find("Не удалось прочитать файл: " + (dir / "big.rxt").string() + " (файл длиной"), 0u)
        << e.what();
  }
}

TEST(MapBomb, TheReportListsAHundredErrorsThenCountsTheRest) {
  test::TempDir dir;
  std::string bad;
  for (int i = 1; i <= 250; ++i) bad += "<BAD" + std::to_string(i) + ">\n";
  test::WriteMap(dir / "bad.rxt", std::string(test::kExampleMap) + bad);
  TagParams params;
  const ParsedThemeMap parsed = ReadThemeMap(dir / "bad.rxt", ThemeMap{}, params);
  ASSERT_EQ(parsed.errors.size(), kMaxListedMapErrors);
  EXPECT_EQ(parsed.errors.front(), "<BAD1> - неизвестный программе блок.");
  EXPECT_EQ(parsed.errors.back(), "<BAD100> - неизвестный программе блок.");
  EXPECT_EQ(parsed.more_errors, 150u);
  const std::string report = MapErrorReport("bad.rxt", parsed.errors, parsed.more_errors);
  EXPECT_TRUE(report.ends_with("100. <BAD100> - неизвестный программе блок.\r\n\r\n… и ещё 150 ошибок.\r\n")) << report;
  EXPECT_TRUE(MapErrorReport("x", {"e"}, 1).ends_with("… и ещё 1 ошибка.\r\n"));
  EXPECT_TRUE(MapErrorReport("x", {"e"}, 22).ends_with("… и ещё 22 ошибки.\r\n"));

  auto r = RunCli({"check-map", (dir / "bad.rxt").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(r.out.ends_with("100. <BAD100> - неизвестный программе блок.\n\n… и ещё 150 ошибок.\n")) << r.out;

  // The map's own checks at the end count too: a wrong file count is the 251st entry.
  test::WriteMap(dir / "count.rxt", ExampleMapWith("\"3\" \"YES\"", "\"4\" \"YES\"") + bad);
  EXPECT_EQ(ReadThemeMap(dir / "count.rxt", ThemeMap{}, params).more_errors, 151u);
}

TEST(MapBomb, AFullMapOfBadLinesIsReadInAShortTime) {
  test::TempDir dir;
  std::string text = Utf8ToCp1251(test::kExampleMap);
  while (text.size() + 7 < static_cast<size_t>(kMaxMapFileSize)) text += "<BADX>\n";
  test::WriteText(dir / "bad.rxt", text);
  TagParams params;
  const auto start = std::chrono::steady_clock::now();
  const ParsedThemeMap parsed = ReadThemeMap(dir / "bad.rxt", ThemeMap{}, params);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(parsed.errors.size(), kMaxListedMapErrors);
  EXPECT_GT(parsed.more_errors, 140000u);
}

}  // namespace
}  // namespace ssf
