#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "EditorTestSupport.h"
#include "cli/CliUi.h"

namespace ssf {
namespace {

using test::RunCli;

TEST(CliCheck, ForColumnKeepsATextInItsColumn) {
  const struct {
    std::string text, shown;
  } cases[] = {
      {"Обои/Фон", "Обои/Фон"},
      {"a\tb", "a\\tb"},
      {"a\r\nb", "a\\r\\nb"},
      {"\x1B[2J\x7F", "\\x1B[2J\\x7F"},
      {"C:\\t", "C:\\\\t"},
      {"\xC2\x9B" "1m", "\\u009B1m"},
      {std::string("\0z", 2), "\\x00z"},
  };
  for (const auto& c : cases) EXPECT_EQ(cli::ForColumn(c.text), c.shown) << c.shown;
}

struct CliCheckColumns : ::testing::Test {
  test::EditorFixture fx;
  std::filesystem::path theme;
  CliCheckColumns() {
    // A caption of a shared map with a TAB, a carriage return and a terminal escape in it.
    fx.AddMap("example.rxt", test::ExampleMapWith("\"Обои\"", "\"Об\tои\r\x1B[2J\""));
    fx.Create("EXAMPLE-100");
    fx.Fill({10, 0, 5});
    theme = fx.Save("t.ssf");
  }
  test::CliResult Check(const std::vector<std::string>& extra) {
    std::vector<std::string> args{"--maps", (fx.dir / "ThemeMaps").string(), "check", theme.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCli(args);
  }
};

TEST_F(CliCheckColumns, ControlCharactersAddNoColumnOrLine) {
  auto r = Check({});
  EXPECT_EQ(r.code, 1) << r.err;
  ASSERT_NE(r.out.find("0\tРабочий стол/Об\\tои\\r\\x1B[2J\t"), std::string::npos) << r.out;
  size_t start = 0;
  while (start < r.out.size()) {
    const size_t end = r.out.find('\n', start);
    const std::string line = r.out.substr(start, end - start);
    if (!line.starts_with("Файлов:")) {
      EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 2) << line;
    }
    EXPECT_EQ(line.find('\x1B'), std::string::npos);
    start = end + 1;
  }
  // JSON keeps the caption as it is, escaped by JSON's own rules.
  r = Check({"--json"});
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["problems"][0]["path"], "Рабочий стол/Об\tои\r\x1B[2J");
}

TEST_F(CliCheckColumns, JsonTellsWhyAThemeCannotBeOpened) {
  const Bytes good = test::ReadFile(theme);
  struct Case {
    const char* what;
    Bytes bytes;
    std::string error;
  };
  Bytes bad_sign = good, no_map = good, short_table = good;
  bad_sign[0] = 'X';
  no_map[14] = 'Y';
  short_table.resize(0xFD2);
  const Case cases[] = {
      {"signature", bad_sign, "Некорректный файл темы!\nЗагрузка невозможна."},
      {"no map", no_map, "Нет карты темы для модели"},
      {"cut short", short_table, "таблица размеров"},
  };
  for (const Case& c : cases) {
    test::WriteFile(theme, c.bytes);
    auto r = Check({"--json"});
    EXPECT_EQ(r.code, 1) << c.what;
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["theme"], theme.string()) << c.what;
    EXPECT_NE(j["error"].get<std::string>().find(c.error), std::string::npos) << c.what << ": " << r.out;
    EXPECT_NE(r.err, "") << c.what;
  }
  std::filesystem::remove(theme);
  auto r = Check({"--json"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(nlohmann::json::parse(r.out)["error"].get<std::string>().find(theme.string()), std::string::npos);
}

}  // namespace
}  // namespace ssf
