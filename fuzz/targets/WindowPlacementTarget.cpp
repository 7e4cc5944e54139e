#include <string>

#include "FuzzTargets.h"
#include "base/IniDocument.h"
#include "editor/WindowPlacement.h"

namespace ssf::fuzz {

// settings.ini from anywhere: whatever its "MainForm Sizes" say, the window comes out on a
// screen, no larger than it (above the minimum size) and no smaller than the minimum.
void FuzzWindowPlacement(std::span<const uint8_t> data) {
  const IniDocument settings = IniDocument::Parse(std::string(data.begin(), data.end()));
  const std::vector<ScreenArea> screens = {{0, 0, 1280, 1000}, {-1920, -200, 1920, 1050}, {1280, 0, 640, 400}};
  const WindowPlacement p = FitToScreens(ReadWindowPlacement(settings), screens, 744, 500);
  bool inside = false;
  for (const ScreenArea& s : screens) {
    const int64_t right = int64_t{p.left} + p.width, bottom = int64_t{p.top} + p.height;
    const bool fits = p.left >= s.left && p.top >= s.top && right <= int64_t{s.left} + s.width &&
                      bottom <= int64_t{s.top} + s.height;
    const bool least = p.width >= std::min(744, s.width) && p.height >= std::min(500, s.height);
    inside = inside || (fits && least);
  }
  if (!inside) __builtin_trap();
}

}  // namespace ssf::fuzz
