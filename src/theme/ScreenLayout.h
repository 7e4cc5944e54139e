#pragma once
// Screen layouts (MAP.screens beside MAP.rxt): where a model's phone draws its theme files.
// UTF-8 text; "[Name]" opens a screen, "size = WxH" gives its pixel size, and every other
// "tree/path = x,y" line places one theme file with its top-left corner at x,y. Layers are
// drawn in line order. A bad line is reported with its number and skipped.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "theme/ThemeMap.h"

namespace ssf {

struct ScreenLayer {
  int file = -1;     // theme file index in the map
  std::string path;  // its tree path, as written in the layout
  int32_t x = 0;
  int32_t y = 0;
};

struct ScreenLayout {
  std::string name;  // UTF-8, as shown to the user
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<ScreenLayer> layers;  // in drawing order
};

// A model's screens and what was wrong in their file. Only the first kMaxReportedLayoutErrors
// problems are kept as text; `more_errors` counts the rest, so a file of bad lines cannot
// fill memory with its report.
struct ScreenLayouts {
  std::vector<ScreenLayout> screens;
  std::vector<std::string> errors;  // "Строка N: ... - reason."
  int64_t more_errors = 0;
};

inline constexpr size_t kMaxReportedLayoutErrors = 100;
inline constexpr size_t kMaxLayoutLine = 4096;   // bytes; a longer line is refused
inline constexpr size_t kMaxLayoutScreens = 64;
inline constexpr size_t kMaxScreenLayers = 512;

// Reads layout text against the map whose theme files it places.
ScreenLayouts ParseScreenLayouts(std::string_view text, const ThemeMap& map);

// MAP.screens for MAP.rxt.
std::filesystem::path ScreenLayoutPath(const std::filesystem::path& map_path);

// The layouts beside a map; none when the model has no layout file. Throws SsfError naming
// the file when it exists but cannot be read (a link, a folder, too large).
ScreenLayouts ReadScreenLayouts(const std::filesystem::path& map_path, const ThemeMap& map);

// The problems of a layout file as one text: the kept entries, numbered, then the count of the rest.
std::string ScreenLayoutReport(const std::string& file_name, const ScreenLayouts& layouts);

}  // namespace ssf
