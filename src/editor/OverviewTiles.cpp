#include "editor/OverviewTiles.h"

#include <algorithm>
#include <map>

#include "theme/FileKind.h"

namespace ssf {

std::vector<std::string> OverviewCaptions(const GroupTree& tree) {
  const int count = tree.FileNodeCount();
  std::vector<std::string> captions(static_cast<size_t>(count));
  std::map<std::string, int> uses;
  for (int k = 0; k < count; ++k) {
    captions[static_cast<size_t>(k)] = tree.Node(tree.FileNode(k)).caption;
    ++uses[captions[static_cast<size_t>(k)]];
  }
  std::map<std::string, int> second_uses;
  for (int k = 0; k < count; ++k) {
    std::string& caption = captions[static_cast<size_t>(k)];
    if (uses[caption] < 2) continue;
    const int parent = tree.Node(tree.FileNode(k)).parent;
    caption += "\n" + (parent < 0 ? std::string("—") : tree.Node(parent).caption);
    ++second_uses[caption];
  }
  for (int k = 0; k < count; ++k) {
    std::string& caption = captions[static_cast<size_t>(k)];
    if (second_uses.count(caption) != 0 && second_uses[caption] > 1) caption += " (№ " + std::to_string(k + 1) + ")";
  }
  return captions;
}

int SharedThumbnailZoom(const ThemeMap& map, int side) {
  int largest = 0;
  for (const TTHemeFiles& e : map.ThemeFiles) {
    if (!IsPictureKind(KindOf(e.f_type)) || e.f_width <= 0 || e.f_height <= 0) continue;
    if (e.f_width > side || e.f_height > side) continue;
    largest = std::max({largest, static_cast<int>(e.f_width), static_cast<int>(e.f_height)});
  }
  return largest == 0 ? 1 : std::max(1, side / largest);
}

}  // namespace ssf
