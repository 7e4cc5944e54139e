#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "base/SsfError.h"
#include "pictures/Ani2.h"
#include "theme/ScreenLayout.h"
#include "theme/ScreenRender.h"
#include "theme/ThemeMap.h"

namespace ssf::fuzz {

namespace {

// A map of a picture of each drawing path (opaque RAW, ANI2 with alpha, a wide strip) and a
// file that is no picture; the seeds place them.
const ThemeMap& FuzzMap() {
  static const ThemeMap map = [] {
    const std::vector<std::string> lines = {
        "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"FUZZ-1\">",
        "<THEMESETTINGS FilesTable=\"0xFD0\" FilesStart=\"0xFE0\" \"4\" \"NO\">",
        "<COLORTHEMESSETTINGS \"NO\">",
        "<GROUP \"Экран\">",
        "  <FILE \"Обои\" \"1\" \"RAW\" \"16\" \"8\">",
        "  <FILE \"Значок\" \"2\" \"ANI2\" \"4\" \"4\">",
        "  <FILE \"Полоса\" \"3\" \"RAW\" \"300\" \"2\">",
        "</GROUP>",
        "<FILE \"Цвета\" \"4\" \"COLORTAB\" \"64\">",
    };
    TagParams params;
    return ParseThemeMap(lines, ThemeMap{}, params, "fuzz.rxt").map;
  }();
  return map;
}

const Theme& FuzzTheme() {
  static const Theme theme = [] {
    Theme t;
    t.NewFiles.resize(4);
    t.NewFiles[0].f_file.assign(16 * 8 * 2, 0x5A);
    Image icon(4, 4);
    icon.AddAlpha(128);
    t.NewFiles[1].f_file = ImageToAni2(icon, true);
    t.NewFiles[2].f_file.assign(300 * 2 * 2, 0xA5);
    t.NewFiles[3].f_file.assign(64, 1);
    return t;
  }();
  return theme;
}

}  // namespace

void FuzzScreenLayout(std::span<const uint8_t> data) {
  const ThemeMap& map = FuzzMap();
  const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
  const ScreenLayouts layouts = ParseScreenLayouts(text, map);
  // The limits hold whatever the file says, and every layer names a theme file of the map.
  if (layouts.screens.size() > kMaxLayoutScreens || layouts.errors.size() > kMaxReportedLayoutErrors) __builtin_trap();
  for (const ScreenLayout& s : layouts.screens) {
    if (s.width == 0 || s.height == 0 || s.layers.size() > kMaxScreenLayers) __builtin_trap();
    for (const ScreenLayer& l : s.layers) {
      if (l.file < 0 || l.file >= static_cast<int>(map.ThemeFiles.size())) __builtin_trap();
    }
    // Drawing is bounded by the screen; large screens only cost the fuzzer time.
    if (uint64_t{s.width} * s.height > 256 * 256) continue;
    const RenderedScreen shown = RenderScreen(s, FuzzTheme(), map);
    if (shown.image.width != s.width || shown.image.height != s.height) __builtin_trap();
    for (const PlacedLayer& p : shown.placed) {
      if (LayerAt(shown, p.x, p.y) == nullptr && p.x >= 0 && p.y >= 0 && p.x < static_cast<int32_t>(s.width) &&
          p.y < static_cast<int32_t>(s.height)) {
        __builtin_trap();
      }
    }
  }
}

}  // namespace ssf::fuzz
