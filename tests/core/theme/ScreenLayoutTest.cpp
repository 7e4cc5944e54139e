// Screen layouts: which lines are taken, which are reported, and how a screen is drawn.
#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"
#include "base/FileIO.h"
#include "pictures/Ani2.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "theme/ScreenRender.h"
#include "theme/ThemeFilePicture.h"

namespace ssf {
namespace {

const char kScreenMap[] =
    "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"SCR-1\">\n"
    "<THEMESETTINGS FilesTable=\"0xB0\" FilesStart=\"0xC8\" \"6\" \"NO\">\n"
    "<COLORTHEMESSETTINGS \"NO\">\n"
    "<GROUP \"Экран\">\n"
    "  <FILE \"Фон\" \"1\" \"RAW\" \"4\" \"3\">\n"
    "  <FILE \"Значок\" \"2\" \"ANI2\" \"2\" \"2\">\n"
    "  <FILE \"Пусто\" \"3\" \"RAW\" \"2\" \"2\">\n"
    "  <FILE \"Цвета\" \"4\" \"COLORTAB\" \"8\">\n"
    "</GROUP>\n"
    "<GROUP \"Дубли\">\n"
    "  <FILE \"X\" \"5\" \"COLORTAB\" \"8\">\n"
    "  <FILE \"X\" \"6\" \"COLORTAB\" \"8\">\n"
    "</GROUP>\n";

ThemeMap MapOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  TagParams params;
  ParsedThemeMap parsed = ParseThemeMap(lines, ThemeMap{}, params, "map.rxt");
  EXPECT_TRUE(parsed.errors.empty());
  return parsed.map;
}

TEST(ScreenLayout, BadLinesAreReportedWithTheirNumberAndSkipped) {
  const ThemeMap map = MapOf(kScreenMap);
  const std::string text =
      "\xEF\xBB\xBF# comment\n"                  // 1
      "Экран/Фон = 0,0\n"                        // 2 outside a screen
      "[Главный]\r\n"                            // 3
      "size = 6x5\n"                             // 4
      "Экран/Фон = -1, 1\n"                      // 5
      "Экран/Нет = 0,0\n"                        // 6 not in the map
      "Дубли/X = 0,0\n"                          // 7 two files with this path
      "Экран/Значок = 2;2\n"                     // 8 bad number
      "Экран/Значок = 99999,0\n"                 // 9 out of range
      "Экран/Значок\n"                           // 10 no '='
      "  Экран/Значок  =  2 , 2  \n"             // 11
      "[Без размера]\n"                          // 12 no size: dropped
      "Экран/Фон = 0,0\n"                        // 13
      "[Главный]\n"                              // 14 same name again: its lines are skipped
      "Экран/Фон = 0,0\n"                        // 15
      "[Второй]\n"                               // 16
      "size = 0x5\n"                             // 17 zero side
      "size = 2x3\n" +                           // 18
      std::string(5000, 'a') + "\n";             // 19 too long
  const ScreenLayouts layouts = ParseScreenLayouts(text, map);

  ASSERT_EQ(layouts.screens.size(), 2u);
  const ScreenLayout& main = layouts.screens[0];
  EXPECT_EQ(main.name, "Главный");
  EXPECT_EQ(main.width, 6u);
  EXPECT_EQ(main.height, 5u);
  ASSERT_EQ(main.layers.size(), 2u);
  EXPECT_EQ(main.layers[0].file, 0);
  EXPECT_EQ(main.layers[0].x, -1);
  EXPECT_EQ(main.layers[0].y, 1);
  EXPECT_EQ(main.layers[1].file, 1);
  EXPECT_EQ(main.layers[1].path, "Экран/Значок");
  EXPECT_EQ(layouts.screens[1].name, "Второй");
  EXPECT_EQ(layouts.screens[1].width, 2u);

  const std::vector<std::pair<int, std::string>> expected = {
      {2, "вне раздела"}, {6, "нет файла темы"}, {7, "несколько файлов"}, {8, "координаты"},
      {9, "координаты"},  {10, "нет знака"},     {12, "нет строки size"}, {14, "уже есть"},
      {17, "размер экрана"}, {19, "длиннее"}};
  ASSERT_EQ(layouts.errors.size(), expected.size()) << ScreenLayoutReport("m.screens", layouts);
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(layouts.errors[i].rfind("Строка " + std::to_string(expected[i].first) + ": ", 0), 0u) << layouts.errors[i];
    EXPECT_NE(layouts.errors[i].find(expected[i].second), std::string::npos) << layouts.errors[i];
  }
}

TEST(ScreenLayout, AFileOfBadLinesKeepsAHundredEntriesAndCountsTheRest) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "x\n";
  const ScreenLayouts layouts = ParseScreenLayouts(text, MapOf(kScreenMap));
  EXPECT_EQ(layouts.errors.size(), kMaxReportedLayoutErrors);
  EXPECT_EQ(layouts.more_errors, 100000 - static_cast<int64_t>(kMaxReportedLayoutErrors));
  EXPECT_NE(ScreenLayoutReport("m.screens", layouts).find("и ещё ошибок: 99900"), std::string::npos);
}

TEST(ScreenLayout, TheSampleLayoutsFitTheirMaps) {
  const std::filesystem::path maps = std::filesystem::path(SSF_SOURCE_DIR) / "ThemeMaps";
  int with_layout = 0;
  for (const auto& entry : std::filesystem::directory_iterator(maps)) {
    if (entry.path().extension() != ".rxt") continue;
    TagParams params;
    const ThemeMap map = ReadThemeMap(entry.path(), ThemeMap{}, params).map;
    const ScreenLayouts layouts = ReadScreenLayouts(entry.path(), map);
    EXPECT_TRUE(layouts.errors.empty()) << ScreenLayoutReport(entry.path().filename().string(), layouts);
    if (layouts.screens.empty()) continue;
    ++with_layout;
    EXPECT_EQ(layouts.screens[0].name, "Главный экран") << entry.path();
  }
  EXPECT_EQ(with_layout, 3);
}

// A 4x3 RAW background placed half off the screen, a 2x2 ANI2 with four alpha levels over it
// and past the edge, an absent file and a colour table left out.
TEST(ScreenRender, LayersAreClippedDrawnInOrderAndBlendedByAlpha) {
  const ThemeMap map = MapOf(kScreenMap);
  Theme theme = NewTheme(map);
  Image background(4, 3);
  for (uint32_t i = 0; i < background.bgr.size(); ++i) background.bgr[i] = static_cast<uint8_t>(40 + i * 9);
  theme.NewFiles[0].f_file = ImageToRaw(background);
  Image icon(2, 2);
  for (uint32_t i = 0; i < icon.bgr.size(); ++i) icon.bgr[i] = static_cast<uint8_t>(250 - i * 20);
  icon.alpha = {0, 128, 255, 64};
  theme.NewFiles[1].f_file = ImageToAni2(icon, true);
  theme.NewFiles[3].f_file.assign(8, 7);

  const ScreenLayouts layouts = ParseScreenLayouts(
      "[S]\nsize = 5x4\nЭкран/Фон = -1,1\nЭкран/Пусто = 0,0\nЭкран/Значок = 2,2\nЭкран/Цвета = 0,0\n"
      "Экран/Значок = 4,3\n",
      map);
  ASSERT_TRUE(layouts.errors.empty());
  const RenderedScreen r = RenderScreen(layouts.screens[0], theme, map);

  // What the previews show, drawn by hand.
  const Image bg = MakePreviewPicture(theme.NewFiles[0].f_file, map.ThemeFiles[0]).image;
  const Image ic = MakePreviewPicture(theme.NewFiles[1].f_file, map.ThemeFiles[1]).image;
  ASSERT_TRUE(ic.HasAlpha());
  Image expected(5, 4);
  for (uint32_t y = 1; y < 4; ++y) {
    for (uint32_t x = 0; x < 3; ++x) std::copy_n(bg.Pixel(x + 1, y - 1), 3, expected.Pixel(x, y));
  }
  auto blend = [&](uint32_t sx, uint32_t sy, uint32_t dx, uint32_t dy) {
    const unsigned a = ic.alpha[sy * 2 + sx];
    for (int c = 0; c < 3; ++c) {
      uint8_t& d = expected.Pixel(dx, dy)[c];
      d = static_cast<uint8_t>((ic.Pixel(sx, sy)[c] * a + d * (255 - a) + 127) / 255);
    }
  };
  for (uint32_t y = 0; y < 2; ++y) {
    for (uint32_t x = 0; x < 2; ++x) blend(x, y, 2 + x, 2 + y);
  }
  blend(0, 0, 4, 3);
  EXPECT_EQ(r.image, expected);
  EXPECT_FALSE(r.image.HasAlpha());

  ASSERT_EQ(r.left_out.size(), 2u);
  EXPECT_EQ(r.left_out[0], "Экран/Пусто - файла нет в теме");
  EXPECT_NE(r.left_out[1].find("Экран/Цвета - это не картинка"), std::string::npos);
  ASSERT_EQ(r.placed.size(), 3u);
  EXPECT_EQ(LayerAt(r, 0, 0), nullptr);
  EXPECT_EQ(LayerAt(r, 0, 1)->file, 0);
  EXPECT_EQ(LayerAt(r, 3, 3)->file, 1);
  EXPECT_EQ(LayerAt(r, 4, 3), &r.placed[2]);  // the later layer is on top
}

}  // namespace
}  // namespace ssf
