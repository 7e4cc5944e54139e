// ssftool screens and render: the screens of the theme's model and their pictures.
#include <gtest/gtest.h>

#include <sstream>

#include "MapTestSupport.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "PictureSupport.h"
#include "theme/ScreenRender.h"

namespace ssf::test {
namespace {

const char kMap[] =
    "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"SCR-2\">\n"
    "<THEMESETTINGS FilesTable=\"0xB0\" FilesStart=\"0xB8\" \"2\" \"NO\">\n"
    "<COLORTHEMESSETTINGS \"NO\">\n"
    "<FILE \"Фон\" \"1\" \"RAW\" \"4\" \"3\">\n"
    "<FILE \"Полоса\" \"2\" \"RAW\" \"4\" \"1\">\n";

struct CliScreensTest : ::testing::Test {
  TempDir dir;
  std::filesystem::path maps = dir / "maps";
  std::filesystem::path theme = dir / "t.ssf";
  CliScreensTest() {
    std::filesystem::create_directory(maps);
    WriteMap(maps / "SCR-2.rxt", kMap);
    WriteText(maps / "SCR-2.screens", "[Главный: экран]\nsize = 4x4\nФон = 0,0\nПолоса = 0,3\n[Меню]\nsize = 2x2\nФон = -1,-1\n");
    std::vector<std::string> lines;
    std::istringstream in(kMap);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    TagParams params;
    map = ParseThemeMap(lines, ThemeMap{}, params, "SCR-2.rxt").map;
    Theme t = NewTheme(map);
    t.NewFiles[0].f_file = ImageToRaw(Gradient(4, 3));
    t.NewFiles[1].f_file = ImageToRaw(Gradient(4, 1));
    WriteFile(theme, SerializeTheme(t));
    value = ParseTheme(ReadFile(theme), map);
  }
  CliResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--maps", maps.string()});
    return RunCli(args);
  }
  Bytes Expected(size_t screen) {
    const ScreenLayouts layouts = ReadScreenLayouts(maps / "SCR-2.rxt", map);
    return EncodePng(RenderScreen(layouts.screens.at(screen), value, map).image);
  }
  ThemeMap map;
  Theme value;
};

TEST_F(CliScreensTest, ListsAndRendersTheScreensOfTheModel) {
  const CliResult list = Run({"screens", theme.string()});
  EXPECT_EQ(list.code, 0) << list.err;
  EXPECT_EQ(list.out, "Главный: экран\nМеню\n");

  const CliResult one = Run({"render", theme.string(), "--screen", "Меню", "-o", (dir / "menu.png").string()});
  EXPECT_EQ(one.code, 0) << one.err;
  EXPECT_EQ(ReadFile(dir / "menu.png"), Expected(1));

  // Every screen into a folder, names made safe for a file system.
  const CliResult all = Run({"render", theme.string(), "-o", (dir / "out").string()});
  EXPECT_EQ(all.code, 0) << all.err;
  EXPECT_EQ(ReadFile(dir / "out" / u8"Главный экран.png"), Expected(0));
  EXPECT_EQ(ReadFile(dir / "out" / u8"Меню.png"), Expected(1));
}

TEST_F(CliScreensTest, ScreensNamedAlikeButForCaseGetAFileEach) {
  // One file on FAT and NTFS: the second would overwrite the first there.
  WriteText(maps / "SCR-2.screens", "[Меню]\nsize = 4x4\nФон = 0,0\n[МЕНЮ]\nsize = 2x2\nФон = -1,-1\n");
  const CliResult all = Run({"render", theme.string(), "-o", (dir / "out").string()});
  EXPECT_EQ(all.code, 0) << all.err;
  EXPECT_EQ(ReadFile(dir / "out" / u8"Меню.png"), Expected(0));
  EXPECT_EQ(ReadFile(dir / "out" / u8"МЕНЮ (2).png"), Expected(1));
}

TEST_F(CliScreensTest, AnUnknownScreenOrAModelWithoutLayoutWritesNothing) {
  const CliResult unknown = Run({"render", theme.string(), "--screen", "Нет", "-o", (dir / "x.png").string()});
  EXPECT_EQ(unknown.code, 1);
  EXPECT_NE(unknown.err.find("\"Меню\""), std::string::npos) << unknown.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));

  std::filesystem::remove(maps / "SCR-2.screens");
  const CliResult list = Run({"screens", theme.string()});
  EXPECT_EQ(list.code, 0);
  EXPECT_EQ(list.out, "");
  EXPECT_NE(list.err.find("нет раскладки экранов"), std::string::npos) << list.err;
  const CliResult render = Run({"render", theme.string(), "-o", (dir / "out").string()});
  EXPECT_EQ(render.code, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));

  EXPECT_EQ(Run({"render", theme.string()}).code, 2);  // no -o
}

}  // namespace
}  // namespace ssf::test
