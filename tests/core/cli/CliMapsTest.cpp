#include <gtest/gtest.h>

#include "MapTestSupport.h"

namespace ssf {
namespace {

using test::ExampleMapWith;
using test::RunCli;

TEST(CliMaps, ListsModelTabFileName) {
  test::TempDir dir;
  test::WriteMap(dir / "x.rxt", ExampleMapWith("EXAMPLE-100", "Модель X"));
  test::WriteMap(dir / "e.rxt", test::kExampleMap);
  auto r = RunCli({"--maps", dir.path().string(), "maps"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "EXAMPLE-100\te.rxt\nМодель X\tx.rxt\n");

  test::TempDir empty;
  r = RunCli({"--maps", empty.path().string(), "maps"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("нет карт тем в папке"), std::string::npos);
  EXPECT_EQ(RunCli({"maps", "extra"}).code, 2);
}

TEST(CliMaps, CheckMapCleanMapPrintsOneLine) {
  test::TempDir dir;
  test::WriteMap(dir / "e.rxt", test::kExampleMap);
  auto r = RunCli({"check-map", (dir / "e.rxt").string()});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "e.rxt: ошибок нет, модель EXAMPLE-100, файлов темы: 3, FilesTable 0x0FD0, FilesStart 0x0FE0, "
            "иконка: есть, цветовая тема: нет\n");
}

TEST(CliMaps, CheckMapPrintsTheWholeErrorReport) {
  test::TempDir dir;
  test::WriteMap(dir / "count4.rxt", ExampleMapWith("\"3\" \"YES\"", "\"4\" \"YES\""));
  auto r = RunCli({"check-map", (dir / "count4.rxt").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out,
            "В карте темы [count4.rxt] допущены ошибки!\n"
            "Не были обработаны следующие строки или допущены следующие ошибки:\n\n"
            "1. Количество файлов в теме не совпадает с количеством описанных файлов в карте темы!\n");

  std::string lines = ExampleMapWith("<FILE \"Цвета\" \"3\" \"COLORTAB\" \"1024\">\n",
                                     "<FILE \"a\" \"x\" \"JPG\" \"240\" \"320\">\n"
                                     "<FILE \"a\" \"1\" \"JPG\" \"240\">\n"
                                     "  <FOO \"x\">  ; note\n");
  test::WriteMap(dir / "lines.rxt", lines);
  r = RunCli({"check-map", (dir / "lines.rxt").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out,
            "В карте темы [lines.rxt] допущены ошибки!\n"
            "Не были обработаны следующие строки или допущены следующие ошибки:\n\n"
            "1. <FILE \"a\" \"x\" \"JPG\" \"240\" \"320\"> - некорректное числовое значение одного из параметров.\n"
            "2. <FILE \"a\" \"1\" \"JPG\" \"240\"> - некорректное число параметров в строке.\n"
            "3.   <FOO \"x\">  ; note - неизвестный программе блок.\n"
            "4. Количество файлов в теме не совпадает с количеством описанных файлов в карте темы!\n");
}

TEST(CliMaps, CheckMapStoppedLoadGoesToStderr) {
  test::TempDir dir;
  test::WriteMap(dir / "stray.rxt", "</GROUP>\n");
  auto r = RunCli({"check-map", (dir / "stray.rxt").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("stray.rxt"), std::string::npos) << r.err;
  r = RunCli({"check-map", (dir / "missing.rxt").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("missing.rxt"), std::string::npos) << r.err;
  EXPECT_EQ(RunCli({"check-map"}).code, 2);

  // A picture is refused whole instead of being reported line by line as binary noise.
  test::WriteFile(dir / "wall.jpg", std::vector<uint8_t>{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', '\n'});
  r = RunCli({"check-map", (dir / "wall.jpg").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("wall.jpg не является текстовой картой темы (двоичные данные в строке 1)"), std::string::npos)
      << r.err;
}

}  // namespace
}  // namespace ssf
