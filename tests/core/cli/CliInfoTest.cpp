#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "EditorTestSupport.h"

namespace ssf {
namespace {

using test::RunCli;

struct CliInfoTest : ::testing::Test {
  test::EditorFixture fx;
  std::filesystem::path theme;
  CliInfoTest() {
    fx.AddMap("example.rxt", test::kExampleMap);
    fx.Create("EXAMPLE-100");
    fx.Fill({10, 0, 5});  // the middle file absent, the count still full
    theme = fx.Save("t.ssf");
  }
  test::CliResult Info(const std::vector<std::string>& extra) {
    std::vector<std::string> args{"--maps", (fx.dir / "ThemeMaps").string(), "info", theme.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCli(args);
  }
};

TEST_F(CliInfoTest, DescribesTheThemeAsText) {
  auto r = Info({});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "Модель: EXAMPLE-100\n"
            "Карта темы: example.rxt\n"
            "Автор темы: Автор темы\n"
            "Название темы: Название темы\n"
            "Версия темы: 1.0\n"
            "Тип темы: Черная тема\n"
            "Иконка: есть\n"
            "Файлы темы: 3/3\n"
            "0\tРабочий стол/Обои\tJPG\t240x320\t10\n"
            "1\tРабочий стол/Фон меню\tRAW\t240x320\t0\n"
            "2\tЦвета\tCOLORTAB\t1024\t5\n");
}

TEST_F(CliInfoTest, DescribesTheThemeAsJson) {
  Bytes b = test::ReadFile(theme);
  b[165] = 1;
  test::WriteFile(theme, b);
  auto r = Info({"--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["model"], "EXAMPLE-100");
  EXPECT_EQ(j["map"], "example.rxt");
  EXPECT_EQ(j["type"], 1);
  EXPECT_EQ(j["icon"], true);
  EXPECT_EQ(j["stored"], 3);
  EXPECT_EQ(j["count"], 3);
  ASSERT_EQ(j["files"].size(), 3u);
  EXPECT_EQ(j["files"][2], nlohmann::json::parse(R"({"index":2,"path":"Цвета","kind":"COLORTAB","width":0,
            "height":0,"size":1024,"stored":5})"));
  EXPECT_EQ(j["files"][0]["width"], 240);
}

TEST_F(CliInfoTest, FailuresExitOneWithTheEditorsMessage) {
  Bytes good = test::ReadFile(theme);
  Bytes b = good;
  b[0] = 'X';
  test::WriteFile(theme, b);
  auto r = Info({});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Некорректный файл темы!\nЗагрузка невозможна.\n");

  b = good;
  b[14] = 'Y';
  test::WriteFile(theme, b);
  r = Info({});
  EXPECT_EQ(r.code, 1);
  const std::string maps = (fx.dir / "ThemeMaps").string();
  EXPECT_EQ(r.err, "Нет карты темы для модели 'YXAMPLE-100' в папке " + maps + "\n");

  b = good;
  b.resize(0xFD2);
  test::WriteFile(theme, b);
  r = Info({});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("таблица размеров"), std::string::npos) << r.err;

  EXPECT_EQ(RunCli({"info"}).code, 2);
  EXPECT_EQ(Info({"--xml"}).code, 2);
}

TEST_F(CliInfoTest, NoMapSaysWhetherTheFileIsNoThemeOrWhichMapIsMissing) {
  // A picture is no theme at all: no map could ever open it.
  Bytes jpeg(8192, 0xA5);
  const Bytes start{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00, 0x01, 0x01, 0x00};
  std::copy(start.begin(), start.end(), jpeg.begin());
  test::WriteFile(theme, jpeg);
  auto r = Info({});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Файл " + theme.string() + " не является темой: в его заголовке нет подписи темы и модели телефона\n");

  // A theme, but the maps folder named is not there: both the folder and the model are named.
  test::WriteFile(theme, test::ReadFile(fx.Save("t2.ssf")));
  const std::string absent = (fx.dir / "NoMaps").string();
  r = RunCli({"--maps", absent, "info", theme.string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Нет папки карт тем " + absent + ", а в ней карты для модели 'EXAMPLE-100' этой темы\n");
}

}  // namespace
}  // namespace ssf
