// The captions under the overview's tiles and the one zoom of its small pictures.
#include <gtest/gtest.h>

#include "editor/OverviewTiles.h"

namespace ssf {
namespace {

TEST(OverviewTiles, RepeatedCaptionsShowTheirGroup) {
  GroupTree tree;
  const int icons = tree.Add("Пиктограммы", -1, true);
  tree.Add("Сообщения", icons);
  tree.Add("Игры", icons);
  const int selected = tree.Add("Выделенные пиктограммы", -1, true);
  tree.Add("Сообщения", selected);
  const int other = tree.Add("Пиктограммы", -1, true);  // a second group of the same name
  tree.Add("Сообщения", other);
  tree.Add("Обои", -1);
  EXPECT_EQ(OverviewCaptions(tree), (std::vector<std::string>{"Сообщения\nПиктограммы (№ 1)", "Игры",
                                                              "Сообщения\nВыделенные пиктограммы",
                                                              "Сообщения\nПиктограммы (№ 4)", "Обои"}));
}

TEST(OverviewTiles, SmallPicturesShareTheZoomOfTheLargestThatFits) {
  const struct {
    const char* name;
    std::vector<TTHemeFiles> files;
    int zoom;
  } cases[] = {
      {"44 and 60 drawn at one scale", {{"ANI2", 44, 44, 0}, {"IFG", 60, 60, 0}, {"JPG", 240, 320, 0}}, 1},
      {"16 and 24 grow together", {{"IFG", 16, 16, 0}, {"ANI2", 24, 16, 0}}, 4},
      {"tall strip counts by its longer side", {{"RAW", 6, 40, 0}, {"RAW", 6, 200, 0}}, 2},
      {"no small picture", {{"JPG", 240, 320, 0}, {"COLORTAB", 0, 0, 512}}, 1},
  };
  for (const auto& c : cases) {
    ThemeMap map;
    map.ThemeFiles = c.files;
    EXPECT_EQ(SharedThumbnailZoom(map, 96), c.zoom) << c.name;
  }
}

}  // namespace
}  // namespace ssf
