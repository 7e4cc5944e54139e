#include <gtest/gtest.h>

#include <set>

#include "MapTestSupport.h"
#include "ScriptedUi.h"
#include "base/SsfError.h"
#include "editor/ThemeMapLoader.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;
using test::ExampleMapWith;

std::string MapFor(const std::string& mobile) {
  return ExampleMapWith("Mobile=\"EXAMPLE-100\"", "Mobile=\"" + mobile + "\"");
}

TEST(MapFolder, ListingIsByNameAndSkipsMapsWithoutThemeSign) {
  test::TempDir dir;
  test::WriteMap(dir / "bb.rxt", MapFor("Бета"));
  test::WriteMap(dir / "a.RXT", MapFor("ALPHA"));
  test::WriteMap(dir / "B.rxt", MapFor("UPPER"));  // 'B' sorts before 'a' byte-wise
  test::WriteMap(dir / "c.rxt", "; no sign here\n<FILE \"x\" \"1\" \"JPG\" \"1\" \"1\">\n");
  test::WriteMap(dir / "d.txt", MapFor("NOT A MAP"));
  fs::create_directory(dir / "e.rxt");
  EditorState s;
  ListThemeMaps(s, dir.path());
  EXPECT_EQ(s.MapModels, (std::vector<std::string>{"UPPER", "ALPHA", "Бета"}));
  ASSERT_EQ(s.MapPaths.size(), 4u);
  EXPECT_TRUE(s.MapPaths[0].empty());
  EXPECT_EQ(s.MapPaths[1], dir / "B.rxt");
  EXPECT_EQ(s.MapPaths[3], dir / "bb.rxt");

  EditorState none;
  none.MapPaths = {"stale"};
  ListThemeMaps(none, dir / "missing");
  EXPECT_TRUE(none.MapPaths.empty());
  EXPECT_TRUE(none.MapModels.empty());
}

TEST(MapFolder, ReadMapMobileTakesFirstThemeSignWithoutCheckingIt) {
  test::TempDir dir;
  test::WriteMap(dir / "m.rxt", "<THEMESIGN \"X\" \"FIRST\" \"extra\">\n<THEMESIGN \"SAMSUNG THEME\" \"SECOND\">\n");
  test::WriteMap(dir / "n.rxt", "<GROUP \"a\">\n");
  TagParams p;
  EXPECT_EQ(ReadMapMobile(dir / "m.rxt", p), "FIRST");
  EXPECT_EQ(ReadMapMobile(dir / "n.rxt", p), "ERROR");
  EXPECT_THROW(ReadMapMobile(dir / "none.rxt", p), SsfError);
}

TEST(MapFolder, FindMapForMobileTakesFirstExactMatch) {
  test::TempDir dir;
  test::WriteMap(dir / "one.rxt", MapFor("QB-1"));
  test::WriteMap(dir / "two.rxt", MapFor("QB-1"));
  test::WriteMap(dir / "zed.rxt", MapFor("Модель"));
  TagParams p;
  EXPECT_EQ(FindMapForMobile(dir.path(), "QB-1", p), dir / "one.rxt");
  EXPECT_EQ(FindMapForMobile(dir.path(), "Модель", p), dir / "zed.rxt");
  EXPECT_EQ(FindMapForMobile(dir.path(), "qb-1", p), std::nullopt);
  EXPECT_EQ(FindMapForMobile(dir / "missing", "QB-1", p), std::nullopt);
}

// Every map we ship loads cleanly, and the full-size model uses every kind in nested groups.
TEST(MapFolder, ShippedMapsLoadWithoutErrors) {
  fs::path maps = fs::path(SSF_SOURCE_DIR) / "ThemeMaps";
  EditorState listed;
  ListThemeMaps(listed, maps);
  EXPECT_EQ(listed.MapModels, (std::vector<std::string>{"EXAMPLE-100", "QB-C176", "QB-X240"}));
  for (const fs::path& map : ListMapFiles(maps)) {
    EditorState s;
    ViewState v;
    test::ScriptedUi ui;
    LoadThemeMap(s, v, ui, map);
    EXPECT_TRUE(s.MapValid) << map;
    EXPECT_TRUE(ui.messages.empty()) << map << ": " << (ui.messages.empty() ? "" : ui.messages[0].text);
    const ThemeMap& m = s.Map;
    EXPECT_EQ(m.Tree.FileNodeCount(), m.FilesCount) << map;  // no empty group shifts the files
    if (map.filename() == "QB-X240.rxt") {
      std::set<std::string> kinds;
      for (const auto& f : m.ThemeFiles) kinds.insert(f.f_type);
      EXPECT_EQ(kinds, (std::set<std::string>{"ANI2", "COLORTAB", "IFG", "JPG", "RAW"}));
      EXPECT_EQ(m.FilesCount, 40);
      EXPECT_TRUE(m.HasIcon);
    }
    if (map.filename() == "QB-C176.rxt") {
      EXPECT_TRUE(m.IsColorTheme);
      EXPECT_FALSE(m.HasIcon);
      EXPECT_EQ(m.FilesTable, 0xB0);
    }
  }
}

}  // namespace
}  // namespace ssf
