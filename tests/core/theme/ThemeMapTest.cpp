#include <gtest/gtest.h>

#include <cstring>

#include "MapTestSupport.h"
#include "ScriptedUi.h"
#include "base/SsfError.h"
#include "editor/ThemeMapLoader.h"

namespace ssf {
namespace {

using test::ExampleMapWith;
using test::kExampleMap;

struct Loaded {
  EditorState state;
  ViewState view;
  test::ScriptedUi ui;
};

// Loads map text (UTF-8, written as Windows-1251) from a file "m.rxt".
void Load(Loaded& l, const std::string& text) {
  test::TempDir dir;
  test::WriteMap(dir / "m.rxt", text);
  LoadThemeMap(l.state, l.view, l.ui, dir / "m.rxt");
}

TEST(ThemeMap, ExampleMapGivesValuesEntriesAndTree) {
  Loaded l;
  Load(l, kExampleMap);
  const ThemeMap& s = l.state.Map;
  EXPECT_TRUE(l.state.MapValid);
  EXPECT_TRUE(l.ui.messages.empty());
  EXPECT_EQ(s.SignMain, "SAMSUNG THEME");
  EXPECT_EQ(s.SignMobile, "EXAMPLE-100");
  EXPECT_EQ(s.FilesTable, 0xFD0);
  EXPECT_EQ(s.FilesStart, 0xFE0);
  EXPECT_EQ(s.FilesCount, 3);
  EXPECT_TRUE(s.HasIcon);
  EXPECT_FALSE(s.IsColorTheme);
  EXPECT_EQ(s.MapFileCounter, 3);
  ASSERT_EQ(s.ThemeFiles.size(), 3u);
  EXPECT_EQ(s.ThemeFiles[0].f_type, "JPG");
  EXPECT_EQ(s.ThemeFiles[0].f_width, 240);
  EXPECT_EQ(s.ThemeFiles[0].f_height, 320);
  EXPECT_EQ(s.ThemeFiles[1].f_type, "RAW");
  EXPECT_EQ(s.ThemeFiles[2].f_type, "COLORTAB");
  EXPECT_EQ(s.ThemeFiles[2].f_size, 1024);
  EXPECT_EQ(s.ThemeFiles[2].f_width, 0);
  ASSERT_EQ(s.Tree.Size(), 4);
  EXPECT_EQ(s.Tree.Node(0).caption, "Рабочий стол");
  EXPECT_EQ(s.Tree.Node(0).children, (std::vector<int>{1, 2}));
  EXPECT_EQ(s.Tree.Node(3).caption, "Цвета");
  EXPECT_EQ(s.Tree.Node(3).parent, -1);
  EXPECT_EQ(s.Tree.FileNode(2), 3);
}

TEST(ThemeMap, KeywordsAreReadInAnyCase) {
  std::string text = kExampleMap;
  for (auto [from, to] : {std::pair{"<THEMESIGN", "<themesign"}, {"<THEMESETTINGS", "<ThemeSettings"},
                          {"<COLORTHEMESSETTINGS", "<colorThemesSettings"}, {"<GROUP", "<group"},
                          {"</GROUP", "</Group"}, {"<FILE", "<file"}}) {
    for (size_t p = text.find(from); p != std::string::npos; p = text.find(from, p)) text.replace(p, strlen(from), to);
  }
  Loaded upper, lower;
  Load(upper, kExampleMap);
  Load(lower, text);
  EXPECT_TRUE(lower.ui.messages.empty());
  const ThemeMap& a = upper.state.Map;
  const ThemeMap& b = lower.state.Map;
  EXPECT_TRUE(lower.state.MapValid);
  EXPECT_EQ(b.SignMobile, a.SignMobile);
  EXPECT_EQ(b.FilesStart, a.FilesStart);
  EXPECT_EQ(b.FilesCount, a.FilesCount);
  EXPECT_EQ(b.HasIcon, a.HasIcon);
  ASSERT_EQ(b.ThemeFiles.size(), a.ThemeFiles.size());
  for (size_t k = 0; k < a.ThemeFiles.size(); ++k) {
    EXPECT_EQ(b.ThemeFiles[k].f_type, a.ThemeFiles[k].f_type) << k;
    EXPECT_EQ(b.ThemeFiles[k].f_width, a.ThemeFiles[k].f_width) << k;
    EXPECT_EQ(b.ThemeFiles[k].f_size, a.ThemeFiles[k].f_size) << k;
  }
  ASSERT_EQ(b.Tree.Size(), a.Tree.Size());
  for (int i = 0; i < a.Tree.Size(); ++i) EXPECT_EQ(b.Tree.Node(i).parent, a.Tree.Node(i).parent) << i;
}

// Each row changes the example map and lists the error entries the load must report, in order.
struct MapCase {
  const char* name;
  std::string text;
  std::vector<std::string> errors;
};

const std::string kCountError =
    "Количество файлов в теме не совпадает с количеством описанных файлов в карте темы!";

std::vector<MapCase> MapCases() {
  return {
      {"icon flag NO still fits", ExampleMapWith("\"3\" \"YES\"", "\"3\" \"NO\""), {}},
      {"file count 4", ExampleMapWith("\"3\" \"YES\"", "\"4\" \"YES\""), {kCountError}},
      {"FilesTable not a multiple of 4", ExampleMapWith("0xFD0", "0xFD2"),
       {"Адрес в теге \"FilesTable\" должен быть кратен 4!"}},
      {"FilesStart too close", ExampleMapWith("0xFE0", "0xFDB"),
       {"Адрес в теге \"FilesStart\" должен быть больше адреса \"FilesTable\" на минимум "
        "(4*Количество файлов)! Желательное начало адреса \"FilesTable\": 0x0FDC"}},
      {"FilesStart just fits", ExampleMapWith("0xFE0", "0xFDC"), {}},
      {"icon needs FilesTable 0xFD0", ExampleMapWith("0xFD0", "0xFC0"),
       {"Если в теме хранится иконка, то адрес в теге \"FilesTable\" должен быть минимум 0xFD0!"}},
      {"no icon needs FilesTable 0xB0",
       ExampleMapWith("FilesTable=\"0xFD0\" FilesStart=\"0xFE0\" \"3\" \"YES\"",
                      "FilesTable=\"0xA0\" FilesStart=\"0xFE0\" \"3\" \"NO\""),
       {"Если тема не хранит в себе иконку, то адрес в теге \"FilesTable\" должен быть минимум 0xB0!"}},
      {"bad number counted once, file still counted",
       ExampleMapWith("<FILE \"Обои\" \"1\"", "<FILE \"a\" \"x\""),
       {"  <FILE \"a\" \"x\" \"JPG\" \"240\" \"320\"> - некорректное числовое значение одного из параметров."}},
      {"two bad numbers on one line",
       ExampleMapWith("\"RAW\" \"240\" \"320\"", "\"RAW\" \"w\" \"\""),
       {"  <FILE \"Фон меню\" \"2\" \"RAW\" \"w\" \"\"> - некорректное числовое значение одного из параметров.",
        "  <FILE \"Фон меню\" \"2\" \"RAW\" \"w\" \"\"> - некорректное числовое значение одного из параметров."}},
      {"picture kind with four parameters", ExampleMapWith("\"JPG\" \"240\" \"320\"", "\"JPG\" \"240\""),
       {"  <FILE \"Обои\" \"1\" \"JPG\" \"240\"> - некорректное число параметров в строке."}},
      {"COLORTAB with five parameters", ExampleMapWith("\"1024\">", "\"1024\" \"1\">"),
       {"<FILE \"Цвета\" \"3\" \"COLORTAB\" \"1024\" \"1\"> - некорректное число параметров в строке."}},
      {"odd quotes drop the line and its file",
       ExampleMapWith("<FILE \"Цвета\" \"3\"", "<FILE \"Цвета\" \"3"),
       {"<FILE \"Цвета\" \"3 \"COLORTAB\" \"1024\"> - некорректное число параметров в строке.", kCountError}},
      {"unknown block keeps blanks and comment", ExampleMapWith("</GROUP>", "</GROUP>\n  <FOO \"x\">  ; note"),
       {"  <FOO \"x\">  ; note - неизвестный программе блок."}},
      {"THEMESIGN with three parameters",
       ExampleMapWith("Mobile=\"EXAMPLE-100\">", "Mobile=\"EXAMPLE-100\" \"x\">"),
       {"<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"EXAMPLE-100\" \"x\"> - некорректное число параметров в строке.",
        "Тег \"Main\" в блоке ThemeSign должен быть равен `SAMSUNG THEME`!",
        "Тег \"Mobile\" в блоке ThemeSign не должен быть пустым!"}},
      {"wrong Main, empty Mobile",
       ExampleMapWith("Main=\"SAMSUNG THEME\" Mobile=\"EXAMPLE-100\"", "Main=\"SAMSUNG THEMES\" Mobile=\"\""),
       {"Тег \"Main\" в блоке ThemeSign должен быть равен `SAMSUNG THEME`!",
        "Тег \"Mobile\" в блоке ThemeSign не должен быть пустым!"}},
      {"COLORTHEMESSETTINGS with two parameters", ExampleMapWith("<COLORTHEMESSETTINGS \"NO\">",
                                                                 "<COLORTHEMESSETTINGS \"NO\" \"NO\">"),
       {"<COLORTHEMESSETTINGS \"NO\" \"NO\"> - некорректное число параметров в строке."}},
      {"line errors first, then the final checks in order",
       ExampleMapWith("0xFD0\" FilesStart=\"0xFE0\" \"3\"", "0xFD1\" FilesStart=\"0xFD0\" \"5\"") + "<BAR>\n",
       {"<BAR> - неизвестный программе блок.",
        "Адрес в теге \"FilesStart\" должен быть больше адреса \"FilesTable\" на минимум "
        "(4*Количество файлов)! Желательное начало адреса \"FilesTable\": 0x0FE5",
        "Адрес в теге \"FilesTable\" должен быть кратен 4!", kCountError}},
      // Limits: a few bytes of map must not ask for a huge theme or picture.
      {"FilesStart past the theme size limit", ExampleMapWith("0xFE0", "0x4000001"),
       {"Адреса в тегах \"FilesTable\" и \"FilesStart\" не должны превышать 0x4000000 (предельный размер темы)!"}},
      {"FilesStart at the limit", ExampleMapWith("0xFE0", "0x4000000"), {}},
      {"picture side past 16384", ExampleMapWith("\"240\" \"320\"", "\"16385\" \"320\""),
       {"  <FILE \"Обои\" \"1\" \"JPG\" \"16385\" \"320\"> - ширина и высота изображения не должны превышать 16384."}},
      {"picture side 16384", ExampleMapWith("\"240\" \"320\"", "\"16384\" \"16384\""), {}},
      {"COLORTAB past the theme size", ExampleMapWith("\"1024\">", "\"67108865\">"),
       {"<FILE \"Цвета\" \"3\" \"COLORTAB\" \"67108865\"> - размер файла не должен превышать 67108864 байт."}},
      {"groups nested 33 deep, reported once",
       ExampleMapWith("<GROUP \"Рабочий стол\">\n", [] {
         std::string deep;
         for (int i = 0; i < 34; ++i) deep += "<GROUP \"g\">\n";
         for (int i = 0; i < 33; ++i) deep += "</GROUP>\n";
         return deep;
       }()),
       {"<GROUP \"g\"> - группы вложены глубже 32 уровней."}},
  };
}

TEST(ThemeMap, TableOfMapCases) {
  for (const MapCase& c : MapCases()) {
    SCOPED_TRACE(c.name);
    Loaded l;
    // A fresh state has empty Main/Mobile, so a map whose THEMESIGN fails reports both.
    Load(l, c.text);
    EXPECT_EQ(l.state.MapValid, c.errors.empty());
    if (c.errors.empty()) {
      EXPECT_TRUE(l.ui.messages.empty());
      continue;
    }
    ASSERT_EQ(l.ui.messages.size(), 1u);
    EXPECT_EQ(l.ui.messages[0].kind, kMsgError);
    EXPECT_EQ(l.ui.messages[0].text, MapErrorReport("m.rxt", c.errors));
  }
}

TEST(ThemeMap, ErrorReportTextAndNoThemeView) {
  Loaded l;
  l.view.PCtrl_enabled = true;
  l.view.MM_Child_SaveTheme_enabled = true;
  l.view.Pnl_ItemInfo_visible = true;
  l.view.TV_selected = 2;
  Load(l, ExampleMapWith("\"3\" \"YES\"", "\"4\" \"YES\"") + "<FOO \"x\">\n");
  EXPECT_EQ(l.ui.OnlyMessage().text,
            "В карте темы [m.rxt] допущены ошибки!\r\n"
            "Не были обработаны следующие строки или допущены следующие ошибки:\r\n\r\n"
            "1. <FOO \"x\"> - неизвестный программе блок.\r\n"
            "2. Количество файлов в теме не совпадает с количеством описанных файлов в карте темы!\r\n");
  EXPECT_FALSE(l.state.MapValid);
  EXPECT_TRUE(l.state.Map.Tree.Empty());
  EXPECT_EQ(l.view.TV_selected, -1);
  EXPECT_FALSE(l.view.PCtrl_enabled);
  EXPECT_FALSE(l.view.MM_Child_SaveTheme_enabled);
  EXPECT_FALSE(l.view.Pnl_ItemInfo_visible);
  EXPECT_EQ(l.view.status[0], "Ошибка #2#");
  EXPECT_EQ(l.view.status[1], "Некорректная карта темы!");
  EXPECT_EQ(l.view.status[2], "");
}

TEST(ThemeMap, LowerCaseKindIsStoredUpperWithoutSize) {
  Loaded l;
  Load(l, ExampleMapWith("\"JPG\"", "\"jpg\""));
  EXPECT_TRUE(l.state.MapValid);
  EXPECT_EQ(l.state.Map.ThemeFiles[0].f_type, "JPG");
  EXPECT_EQ(l.state.Map.ThemeFiles[0].f_width, 0);
  EXPECT_EQ(l.state.Map.ThemeFiles[0].f_height, 0);
}

TEST(ThemeMap, SettingsWithDollarHexAndLowerYes) {
  Loaded l;
  Load(l, ExampleMapWith("FilesTable=\"0xFD0\" FilesStart=\"0xFE0\" \"3\" \"YES\"",
                         "\"0xFD0\" \"$FE0\" \"3\" \"yes\""));
  EXPECT_TRUE(l.state.MapValid);
  EXPECT_EQ(l.state.Map.FilesStart, 4064);
  EXPECT_TRUE(l.state.Map.HasIcon);
}

TEST(ThemeMap, ValuesOfMissingBlocksCarryOverFromThePreviousLoad) {
  std::string no_sign = ExampleMapWith("<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"EXAMPLE-100\">\n", "");
  std::string no_colour = ExampleMapWith("<COLORTHEMESSETTINGS \"NO\">\n", "");
  Loaded first;
  Load(first, no_sign);
  EXPECT_FALSE(first.state.MapValid);
  EXPECT_EQ(first.ui.OnlyMessage().text,
            MapErrorReport("m.rxt", {"Тег \"Main\" в блоке ThemeSign должен быть равен `SAMSUNG THEME`!",
                                     "Тег \"Mobile\" в блоке ThemeSign не должен быть пустым!"}));

  Loaded l;
  std::string colour_other = ExampleMapWith("Mobile=\"EXAMPLE-100\"", "Mobile=\"OTHER\"");
  colour_other.replace(colour_other.find("<COLORTHEMESSETTINGS \"NO\">"), 26, "<COLORTHEMESSETTINGS \"YES\">");
  Load(l, colour_other);
  ASSERT_TRUE(l.state.MapValid);
  ASSERT_TRUE(l.state.Map.IsColorTheme);
  Load(l, no_colour);
  EXPECT_TRUE(l.state.Map.IsColorTheme);
  EXPECT_EQ(l.state.Map.SignMobile, "EXAMPLE-100");
  Load(l, colour_other);
  Load(l, no_sign);
  EXPECT_TRUE(l.state.MapValid);
  EXPECT_EQ(l.state.Map.SignMobile, "OTHER");
  EXPECT_FALSE(l.state.Map.IsColorTheme);
}

TEST(ThemeMap, GroupShapes) {
  Loaded l;
  // A GROUP without parameters takes whatever slot 0 last held; an empty group is a leaf;
  // a group left open at the end is closed silently.
  Load(l,
       "<THEMESIGN \"SAMSUNG THEME\" \"M\">\n"
       "<THEMESETTINGS \"0xB0\" \"0xC0\" \"2\" \"NO\">\n"
       "<GROUP \"Пустая\">\n"
       "</GROUP>\n"
       "<GROUP>\n"
       "<GROUP \"Вложенная\">\n"
       "<FILE \"Ф1\" \"1\" \"IFG\" \"16\" \"16\">\n"
       "</GROUP>\n"
       "<FILE \"Ф2\" \"2\" \"OTHER\">\n");
  ASSERT_TRUE(l.state.MapValid);
  const GroupTree& t = l.state.Map.Tree;
  ASSERT_EQ(t.Size(), 5);
  EXPECT_EQ(t.Node(1).caption, "Пустая");  // slot 0 still held it
  EXPECT_EQ(t.PathOf(3), "Пустая/Вложенная/Ф1");
  EXPECT_EQ(t.PathOf(4), "Пустая/Ф2");
  EXPECT_EQ(t.Node(4).parent, 1);
  // The empty group is no theme file: Ф1 stays file 0 and Ф2 file 1, as the map lists them.
  EXPECT_FALSE(t.IsFileNode(0));
  EXPECT_EQ(t.FileNode(0), 3);
  EXPECT_EQ(t.FileIndexOf(3), 0);
  EXPECT_EQ(t.FileIndexOf(4), 1);
  EXPECT_EQ(t.FileNodeCount(), 2);
  EXPECT_EQ(l.state.Map.ThemeFiles[1].f_type, "OTHER");
}

TEST(ThemeMap, StrayCloseGroupAndUnreadableMapThrowNamingTheMap) {
  test::TempDir dir;
  test::WriteMap(dir / "stray.rxt", std::string(kExampleMap) + "\n</GROUP>\n");
  Loaded l;
  try {
    LoadThemeMap(l.state, l.view, l.ui, dir / "stray.rxt");
    ADD_FAILURE() << "no error";
  } catch (const SsfError& e) {
    std::string m = e.what();
    EXPECT_NE(m.find("stray.rxt"), std::string::npos) << m;
    EXPECT_NE(m.find("строка 11"), std::string::npos) << m;
  }
  EXPECT_FALSE(l.state.MapValid);
  EXPECT_TRUE(l.ui.messages.empty());
  try {
    LoadThemeMap(l.state, l.view, l.ui, dir / "missing.rxt");
    ADD_FAILURE() << "no error";
  } catch (const SsfError& e) {
    EXPECT_NE(std::string(e.what()).find("missing.rxt"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(l.state.MapValid);
}

TEST(ThemeMap, Utf8BomMapAndWindows1251MapGiveTheSameCaptions) {
  test::TempDir dir;
  test::WriteText(dir / "utf8.rxt", "\xEF\xBB\xBF" + std::string(kExampleMap));
  test::WriteMap(dir / "cp.rxt", kExampleMap);
  for (const char* name : {"utf8.rxt", "cp.rxt"}) {
    Loaded l;
    LoadThemeMap(l.state, l.view, l.ui, dir / name);
    EXPECT_TRUE(l.state.MapValid) << name;
    EXPECT_EQ(l.state.Map.Tree.Node(2).caption, "Фон меню") << name;
  }
}

TEST(ThemeMap, NumberConversion) {
  struct {
    const char* text;
    std::optional<int32_t> value;
  } cases[] = {
      {"0", 0}, {"12", 12}, {"  12", 12}, {"-5", -5}, {"+7", 7}, {"0x10", 16}, {"0XfD0", 0xFD0},
      {"$fe0", 0xFE0}, {"x1F", 31}, {"X1f", 31}, {" 0x10", 16}, {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN}, {"0xFFFFFFFF", -1}, {"$80000000", INT32_MIN},
      {"2147483648", std::nullopt}, {"0x100000000", std::nullopt}, {"", std::nullopt},
      {"   ", std::nullopt}, {"12 ", std::nullopt}, {"1a", std::nullopt}, {"$", std::nullopt},
      {"0x", std::nullopt}, {"0xG", std::nullopt}, {"1.5", std::nullopt}, {"--1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ConvertMapNumber(c.text), c.value) << '"' << c.text << '"';
  std::vector<std::string> errors;
  EXPECT_EQ(ParseMapNumber("q", "<L>", errors), 0);
  EXPECT_EQ(errors, std::vector<std::string>{"<L> - некорректное числовое значение одного из параметров."});
}

}  // namespace
}  // namespace ssf
